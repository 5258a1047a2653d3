// The sound generator checked over its own output: every file of the manifest as long as it says,
// below full scale, centred, silent where an effect ends, themes that join their end to their start,
// and the same bytes from every run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sound/sound_manifest.h"
#include "tests/support/files.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Read_All(const fs::path& p) {
  const std::string bytes = test_support::Read_File(p);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// Every file of the manifest, effects first.
std::vector<SoundFile> All_Files() {
  std::vector<SoundFile> all(sound_manifest, sound_manifest + SOUND_COUNT);
  all.insert(all.end(), music_manifest, music_manifest + MUSIC_COUNT);
  return all;
}

constexpr int FULL_SCALE = 32767;
const int MINUS_1_DB = static_cast<int>(std::lround(FULL_SCALE * std::pow(10.0, -1.0 / 20)));  // 29204
const int MINUS_60_DB = static_cast<int>(FULL_SCALE * std::pow(10.0, -60.0 / 20));             // 32

TEST(SoundFiles, EveryFileIsAsLongAsTheManifestSaysCentredAndBelowFullScale) {
  for (const SoundFile& f : All_Files()) {
    SCOPED_TRACE(f.file);
    std::vector<uint8_t> bytes = Read_All(fs::path(ORVALIS_RUN_DIR) / f.file);
    PlatformWav wav;
    ASSERT_EQ(Platform_Parse_WAV(bytes.data(), bytes.size(), &wav), 1);
    EXPECT_EQ(wav.rate, SOUND_SAMPLE_RATE);
    EXPECT_EQ(wav.channels, 1);
    ASSERT_EQ(static_cast<int32_t>(wav.samples.size()), Sound_Samples(f));
    int peak = 0;
    double sum = 0;
    for (int16_t s : wav.samples) {
      peak = std::max(peak, std::abs(static_cast<int>(s)));
      sum += s;
    }
    EXPECT_LE(peak, MINUS_1_DB) << "clips or nearly does";
    EXPECT_GE(peak, FULL_SCALE / 10) << "hardly audible";
    EXPECT_LE(std::fabs(sum / wav.samples.size()), FULL_SCALE / 1000.0) << "DC offset";
    if (f.loops) continue;
    // What does not loop ends in 10 ms of silence.
    for (size_t i = wav.samples.size() - SOUND_SAMPLE_RATE / 100; i < wav.samples.size(); ++i)
      ASSERT_LE(std::abs(static_cast<int>(wav.samples[i])), MINUS_60_DB) << "still sounding at sample " << i;
  }
}

TEST(SoundFiles, ThemesJoinTheirEndToTheirStartWithoutAJump) {
  int themes = 0;
  for (const SoundFile& f : All_Files()) {
    if (!f.loops) continue;
    SCOPED_TRACE(f.file);
    ++themes;
    std::vector<uint8_t> bytes = Read_All(fs::path(ORVALIS_RUN_DIR) / f.file);
    PlatformWav wav;
    ASSERT_EQ(Platform_Parse_WAV(bytes.data(), bytes.size(), &wav), 1);
    const std::vector<int16_t>& x = wav.samples;
    // The step from the last sample back to the first is no larger than all but the largest
    // thousandth of the steps inside the theme: the music plays on across the seam.
    std::vector<int> steps;
    for (size_t i = 1; i < x.size(); ++i) steps.push_back(std::abs(x[i] - x[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 999 / 1000, steps.end());
    const int usual = steps[steps.size() * 999 / 1000];
    EXPECT_LE(std::abs(x.front() - x.back()), usual);
    // And the seam is not hidden in silence: the theme sounds on both sides of it.
    int around = 0;
    for (size_t i = 0; i < 441; ++i)
      around = std::max({around, std::abs(x[i]), std::abs(x[x.size() - 1 - i])});
    EXPECT_GE(around, FULL_SCALE / 100);
  }
  EXPECT_EQ(themes, 2);
}

// In the sanitized build the generator already ran under the sanitizers to make the run folder.
#ifndef ORVALIS_SANITIZED_BUILD

// Runs the generator into a folder; its exit code (or -1 when it did not exit).
int Run_Soundgen(const fs::path& out) {
  std::string cmd = std::string("\"") + ORVALIS_SOUNDGEN + "\" --out \"" + out.string() + "\" 2>&1";
  int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The build wrote the run folder's sounds with the same generator: a second run must write the same bytes.
TEST(SoundGenerator, ASecondRunWritesTheSameBytesAsTheBuild) {
  const test_support::TempDir dir("sound");
  ASSERT_EQ(Run_Soundgen(dir.Path()), 0);
  int files = 0;
  for (const SoundFile& f : All_Files()) {
    std::vector<uint8_t> bytes = Read_All(dir.Path() / f.file);
    ASSERT_FALSE(bytes.empty()) << f.file;
    EXPECT_TRUE(bytes == Read_All(fs::path(ORVALIS_RUN_DIR) / f.file))
        << f.file << " differs from the build's copy";
    ++files;
  }
  // Exactly the manifest's files, nothing else.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), files);
  EXPECT_NE(Run_Soundgen(dir.Path() / "no_such_folder"), 0);
}

// The browser's package: the themes at half the rate are the same music (every other sample of the
// full-rate theme within 1 % of its level: nothing shifted, scaled or lost below 10 kHz), looping as
// smoothly; the effects keep the full rate.
TEST(SoundGenerator, ThemesAtALowerRateAreTheSameMusic) {
  const test_support::TempDir dir("sound-half");
  const std::string cmd = std::string("\"") + ORVALIS_SOUNDGEN + "\" --out \"" + dir.Path().string() +
                          "\" --music-rate 22050 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const SoundFile& f : sound_manifest) {
    EXPECT_TRUE(Read_All(dir.Path() / f.file) == Read_All(fs::path(ORVALIS_RUN_DIR) / f.file)) << f.file;
  }
  for (const SoundFile& f : music_manifest) {
    SCOPED_TRACE(f.file);
    const std::vector<uint8_t> half = Read_All(dir.Path() / f.file);
    const std::vector<uint8_t> full = Read_All(fs::path(ORVALIS_RUN_DIR) / f.file);
    PlatformWav a, b;
    ASSERT_EQ(Platform_Parse_WAV(full.data(), full.size(), &a), 1);
    ASSERT_EQ(Platform_Parse_WAV(half.data(), half.size(), &b), 1);
    EXPECT_EQ(b.rate, 22050);
    ASSERT_EQ(b.samples.size(), a.samples.size() / 2);
    double level = 0, error = 0;
    for (size_t i = 0; i < b.samples.size(); ++i) {
      level += std::pow(a.samples[2 * i], 2);
      error += std::pow(a.samples[2 * i] - b.samples[i], 2);
    }
    EXPECT_LT(error, level * 1e-4);
    if (f.loops) {
      EXPECT_LE(std::abs(b.samples.front() - b.samples.back()), FULL_SCALE / 100);
    }
  }
}
#endif

}  // namespace

// Sound playback: the headless backend's record of what would be heard, the files it refuses, and the
// SDL backend with no audio device and with SDL's dummy one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sound/sound_manifest.h"
#include "tests/support/game.h"

namespace fs = std::filesystem;

namespace {

constexpr int ALL_FILES = int{SOUND_COUNT} + int{MUSIC_COUNT};

using test_support::Run_Path;

void Present_Frames(int n) {
  static const std::vector<uint16_t> frame(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT, 0);
  for (int i = 0; i < n; ++i) Platform_Present(frame.data(), SCREEN_WIDTH * 2);
}

// Loads every file of the manifest from the folder; how many loaded.
int Load_All(const fs::path& dir) {
  int loaded = 0;
  for (int i = 0; i < SOUND_COUNT; ++i)
    loaded += Platform_Load_Sound(i, (dir / sound_manifest[i].file).c_str());
  for (int i = 0; i < MUSIC_COUNT; ++i)
    loaded += Platform_Load_Music(i, (dir / music_manifest[i].file).c_str());
  return loaded;
}

using HeadlessSound = test_support::HeadlessPlatform;

TEST_F(HeadlessSound, RecordsEachEventWithItsFrameInOrder) {
  ASSERT_EQ(Platform_Open_Audio(true), 1);
  ASSERT_EQ(Load_All(ORVALIS_RUN_DIR), ALL_FILES);
  Platform_Play_Music(MUSIC_MENU, true);
  Present_Frames(3);
  Platform_Play_Sound(SOUND_BUTTON);
  Platform_Play_Music(MUSIC_MENU, true);  // already looping: goes on, no new event
  Present_Frames(2);
  Platform_Play_Sound(SOUND_STEP);
  Platform_Play_Sound(SOUND_DOOR_OPEN);
  Platform_Play_Music(MUSIC_PLAY, true);
  Platform_Pause_Audio(true);
  Platform_Play_Sound(SOUND_SHIFT);  // dropped while paused
  Present_Frames(1);
  Platform_Pause_Audio(false);
  Platform_Set_Volumes(0, 0);  // the volume is the mixer's business: still recorded
  Platform_Play_Sound(SOUND_WIN);
  Platform_Stop_Music();
  Platform_Stop_Music();  // nothing left to stop
  Platform_Play_Music(MUSIC_RESULTS, false);
  Platform_Play_Sound(-1);  // no such slots: ignored
  Platform_Play_Sound(PLATFORM_SOUND_SLOTS);
  Platform_Play_Sound(SOUND_COUNT);  // a slot never loaded
  const std::vector<PlatformAudioEvent> expected = {
      {0, AUDIO_EVENT_MUSIC_START, MUSIC_MENU, true}, {3, AUDIO_EVENT_SOUND, SOUND_BUTTON, false},
      {5, AUDIO_EVENT_SOUND, SOUND_STEP, false},      {5, AUDIO_EVENT_SOUND, SOUND_DOOR_OPEN, false},
      {5, AUDIO_EVENT_MUSIC_START, MUSIC_PLAY, true}, {6, AUDIO_EVENT_SOUND, SOUND_WIN, false},
      {6, AUDIO_EVENT_MUSIC_STOP, MUSIC_PLAY, false}, {6, AUDIO_EVENT_MUSIC_START, MUSIC_RESULTS, false},
  };
  const std::vector<PlatformAudioEvent>& got = Platform_Audio_Events();
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(got[i].frame, expected[i].frame);
    EXPECT_EQ(got[i].kind, expected[i].kind);
    EXPECT_EQ(got[i].id, expected[i].id);
    EXPECT_EQ(got[i].loop, expected[i].loop);
  }
  Platform_Clear_Audio_Events();
  EXPECT_TRUE(Platform_Audio_Events().empty());
  // Sound off: files still load, nothing is recorded.
  EXPECT_EQ(Platform_Open_Audio(false), 0);
  EXPECT_EQ(Load_All(ORVALIS_RUN_DIR), ALL_FILES);
  Platform_Play_Sound(SOUND_STEP);
  Platform_Play_Music(MUSIC_MENU, true);
  EXPECT_TRUE(Platform_Audio_Events().empty());
}

TEST_F(HeadlessSound, AMissingOrDamagedFileIsNamedOnceAndOnlyItIsSilent) {
  const test_support::TempDir temp("sound");
  const fs::path dir = temp.Path();
  for (int i = 0; i < SOUND_COUNT; ++i)
    fs::copy_file(Run_Path(sound_manifest[i].file), dir / sound_manifest[i].file);
  for (int i = 0; i < MUSIC_COUNT; ++i)
    fs::copy_file(Run_Path(music_manifest[i].file), dir / music_manifest[i].file);
  // The bump cut short in the middle of its samples, the key taken overwritten by text, the play
  // theme gone.
  const fs::path bump = dir / sound_manifest[SOUND_BUMP].file,
                 key = dir / sound_manifest[SOUND_KEY_TAKEN].file;
  fs::resize_file(bump, fs::file_size(bump) / 2);
  { std::ofstream(key, std::ios::binary | std::ios::trunc) << "not a sound"; }
  fs::remove(dir / music_manifest[MUSIC_PLAY].file);

  ASSERT_EQ(Platform_Open_Audio(true), 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Load_All(dir), ALL_FILES - 3);
  EXPECT_EQ(Platform_Load_Sound(SOUND_BUMP, bump.c_str()), 0);  // again: not named again
  const std::string said = testing::internal::GetCapturedStderr();
  for (const fs::path& p : {bump, key, dir / music_manifest[MUSIC_PLAY].file}) {
    const std::string name = p.string();
    size_t at = said.find(name);
    EXPECT_NE(at, std::string::npos) << name << " not named in: " << said;
    EXPECT_EQ(said.find(name, at + 1), std::string::npos) << name << " named twice";
  }
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3);

  Platform_Play_Sound(SOUND_BUMP);
  Platform_Play_Sound(SOUND_KEY_TAKEN);
  Platform_Play_Music(MUSIC_PLAY, true);
  Platform_Play_Sound(SOUND_STEP);
  Platform_Play_Music(MUSIC_MENU, true);
  const std::vector<PlatformAudioEvent>& got = Platform_Audio_Events();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].id, SOUND_STEP);
  EXPECT_EQ(got[1].id, MUSIC_MENU);
}

// The SDL backend on SDL's dummy video driver, with the audio driver named by the test.
class SdlSound : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    PlatformConfig config;
    config.backend = BACKEND_SDL;
    config.fullscreen = false;
    config.scale = 1;
    if (Platform_Open(config) != 1) GTEST_SKIP() << "SDL's dummy video driver does not open";
  }
  void TearDown() override {
    Platform_Close();
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("SDL_RENDER_DRIVER");
    unsetenv("SDL_AUDIODRIVER");
  }
  // Everything a game would do with its sound; none of it may fail loudly or crash.
  static void Play_Everything() {
    Platform_Set_Volumes(80, 50);
    Platform_Play_Music(MUSIC_MENU, true);
    for (int i = 0; i < SOUND_COUNT; ++i) Platform_Play_Sound(i);
    Present_Frames(2);
    Platform_Pause_Audio(true);
    Platform_Play_Sound(SOUND_STEP);
    Platform_Play_Music(MUSIC_PLAY, true);
    Platform_Pause_Audio(false);
    Platform_Set_Volumes(-5, 500);
    Platform_Stop_Music();
    Platform_Play_Music(MUSIC_RESULTS, false);
  }
};

TEST_F(SdlSound, WithoutADeviceOneLineIsSaidAndTheGameRunsSilent) {
  setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Platform_Open_Audio(true), 0);
  EXPECT_EQ(Load_All(ORVALIS_RUN_DIR), ALL_FILES);
  Play_Everything();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("runs silent"), std::string::npos) << said;
  EXPECT_TRUE(Platform_Audio_Events().empty());
}

TEST_F(SdlSound, PlaysThroughTheDummyDevice) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  testing::internal::CaptureStderr();
  const int opened = Platform_Open_Audio(true);
  const int loaded = Load_All(ORVALIS_RUN_DIR);
  Play_Everything();
  Platform_Close_Audio();
  const std::string said = testing::internal::GetCapturedStderr();
  if (!opened) GTEST_SKIP() << "SDL's dummy audio driver does not open: " << said;
  EXPECT_EQ(loaded, ALL_FILES);
  EXPECT_EQ(said, "");
  EXPECT_TRUE(Platform_Audio_Events().empty());  // played, not recorded
}

}  // namespace

namespace {

// A file of the manifest as mono samples.
std::vector<int16_t> Samples(const char* file) {
  const std::string bytes = test_support::Read_File(Run_Path(file));
  PlatformWav wav;
  EXPECT_EQ(Platform_Parse_WAV(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &wav), 1)
      << file;
  return wav.samples;
}

// Adds the samples at a frame of 60 Hz into a stereo mix, at the mixer's volume for `percent` (with or
// without the headroom), as the mixer adds channels: clamped to 16 bits at every addition.
void Add(std::vector<int16_t>* mix, const std::vector<int16_t>& sound, int frame, int percent, bool headroom,
         size_t length = SIZE_MAX) {
  const int volume =
      static_cast<int>(std::lround(percent * 128 / 100.0 * (headroom ? PLATFORM_MIX_HEADROOM : 1.f)));
  const size_t start = static_cast<size_t>(frame) * 44100 / 60;
  for (size_t i = 0; i < std::min(sound.size(), length) && 2 * (start + i) + 1 < mix->size(); ++i)
    for (int side = 0; side < 2; ++side) {
      int16_t& s = (*mix)[2 * (start + i) + side];
      s = static_cast<int16_t>(std::clamp(s + sound[i] * volume / 128, -32768, 32767));
    }
}

}  // namespace

// The loudest moment of the game at full volumes: the win, the walls closing and meeting and the play
// theme, then the results fanfare over the walls opening (as the transition into the results plays
// them). Mixed plainly, the sum clips for milliseconds; with the headroom and the limiter it never
// reaches full scale, and a sound alone comes out as loud as it was.
TEST(Mixing, TheWinsOverlapStaysUnderFullScale) {
  const std::vector<int16_t> win = Samples(sound_manifest[SOUND_WIN].file),
                             close = Samples(sound_manifest[SOUND_WALLS_CLOSE].file),
                             slam = Samples(sound_manifest[SOUND_WALLS_SLAM].file),
                             open = Samples(sound_manifest[SOUND_WALLS_OPEN].file),
                             play = Samples(music_manifest[MUSIC_PLAY].file),
                             fanfare = Samples(music_manifest[MUSIC_RESULTS].file);
  int clipped[2] = {}, loudest[2] = {};
  for (const bool headroom : {false, true}) {
    std::vector<int16_t> mix(2 * 44100 * 4, 0);
    Add(&mix, win, 0, 100, headroom);
    Add(&mix, close, 0, 100, headroom);
    Add(&mix, play, 0, 100, headroom, 47 * 44100 / 60);
    Add(&mix, slam, 32, 100, headroom);
    Add(&mix, open, 47, 100, headroom);
    Add(&mix, fanfare, 47, 100, headroom);
    PlatformLimiter limiter;
    if (headroom) Platform_Limit_Mix(mix.data(), mix.size(), &limiter);
    for (const int16_t s : mix) {
      clipped[headroom] += s == 32767 || s == -32768;
      loudest[headroom] = std::max(loudest[headroom], std::abs(int{s}));
    }
  }
  EXPECT_GT(clipped[0], 44 * 2) << "the plain mix no longer clips: the test shows nothing";
  EXPECT_EQ(clipped[1], 0);
  EXPECT_LE(loudest[1], PLATFORM_MIX_CEILING);

  std::vector<int16_t> alone(2 * win.size(), 0);
  Add(&alone, win, 0, 80, true);
  PlatformLimiter limiter;
  Platform_Limit_Mix(alone.data(), alone.size(), &limiter);
  std::vector<int16_t> plain(2 * win.size(), 0);
  Add(&plain, win, 0, 80, false);
  int most_apart = 0;
  for (size_t i = 0; i < plain.size(); ++i) most_apart = std::max(most_apart, std::abs(plain[i] - alone[i]));
  EXPECT_LE(most_apart, 300);  // the rounding of the halved volume, and nothing the limiter took
}

// orvalis_soundgen: synthesizes every sound effect and music theme of the game and writes the WAV files
// the game loads.
//   orvalis_soundgen --out DIR [--music-rate HZ]
// --music-rate writes the themes at a lower sample rate (the browser's package, which is downloaded:
// the themes hold next to nothing above 10 kHz, unlike some effects, which keep the full rate).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "sound/sound_manifest.h"
#include "tools/soundgen/effects.h"
#include "tools/soundgen/music.h"
#include "tools/soundgen/resample.h"
#include "tools/soundgen/wav.h"

namespace {

bool Write(const std::string& dir, const char* file, const Samples& s, uint32_t rate) {
  std::string path = dir.back() == '/' ? dir + file : dir + "/" + file;
  if (Write_Bytes(path, Encode_Wav(s, rate))) return true;
  std::fprintf(stderr, "orvalis_soundgen: cannot write %s\n", path.c_str());
  return false;
}

int Usage() {
  std::fprintf(stderr,
               "usage: orvalis_soundgen --out DIR [--music-rate HZ]\n"
               "  write the game's sound files into DIR; the themes at HZ (8000-%d) when given\n",
               SOUND_SAMPLE_RATE);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir;
  long music_rate = SOUND_SAMPLE_RATE;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      dir = argv[++i];
    } else if (arg == "--music-rate" && i + 1 < argc) {
      char* end = nullptr;
      music_rate = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || music_rate < 8000 || music_rate > SOUND_SAMPLE_RATE) return Usage();
    } else {
      return Usage();
    }
  }
  if (dir.empty()) return Usage();
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) {
    std::fprintf(stderr, "orvalis_soundgen: %s is not a folder\n", dir.c_str());
    return 1;
  }
  int failed = 0;
  for (int i = 0; i < SOUND_COUNT; ++i) {
    failed += !Write(dir, sound_manifest[i].file, Render_Effect(static_cast<SoundId>(i)), SOUND_SAMPLE_RATE);
  }
  for (int i = 0; i < MUSIC_COUNT; ++i) {
    std::string error;
    Samples s = Render_Music(static_cast<MusicId>(i), &error);
    if (s.empty()) {
      std::fprintf(stderr, "orvalis_soundgen: %s: %s\n", music_manifest[i].file, error.c_str());
      ++failed;
      continue;
    }
    if (music_rate != SOUND_SAMPLE_RATE)
      s = Resample(s, RATE, static_cast<double>(music_rate), music_manifest[i].loops);
    failed += !Write(dir, music_manifest[i].file, s, static_cast<uint32_t>(music_rate));
  }
  if (failed) std::fprintf(stderr, "orvalis_soundgen: %d files failed\n", failed);
  return failed ? 1 : 0;
}

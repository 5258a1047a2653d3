// orvalis_soundgen: synthesizes every sound effect and music theme of the game and writes the WAV files
// the game loads.
//   orvalis_soundgen --out DIR
#include <cstdio>
#include <filesystem>
#include <string>

#include "sound/sound_manifest.h"
#include "tools/soundgen/effects.h"
#include "tools/soundgen/music.h"
#include "tools/soundgen/wav.h"

namespace {

bool Write(const std::string& dir, const char* file, const Samples& s) {
  std::string path = dir.back() == '/' ? dir + file : dir + "/" + file;
  if (Write_Bytes(path, Encode_Wav(s))) return true;
  std::fprintf(stderr, "orvalis_soundgen: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]) != "--out" || argv[2][0] == '\0') {
    std::fprintf(stderr, "usage: orvalis_soundgen --out DIR\n  write the game's sound files into DIR\n");
    return 2;
  }
  const std::string dir = argv[2];
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) {
    std::fprintf(stderr, "orvalis_soundgen: %s is not a folder\n", dir.c_str());
    return 1;
  }
  int failed = 0;
  for (int i = 0; i < SOUND_COUNT; ++i) {
    failed += !Write(dir, sound_manifest[i].file, Render_Effect(static_cast<SoundId>(i)));
  }
  for (int i = 0; i < MUSIC_COUNT; ++i) {
    std::string error;
    Samples s = Render_Music(static_cast<MusicId>(i), &error);
    if (s.empty()) {
      std::fprintf(stderr, "orvalis_soundgen: %s: %s\n", music_manifest[i].file, error.c_str());
      ++failed;
      continue;
    }
    failed += !Write(dir, music_manifest[i].file, s);
  }
  if (failed) std::fprintf(stderr, "orvalis_soundgen: %d files failed\n", failed);
  return failed ? 1 : 0;
}

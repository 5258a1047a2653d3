// Writes the seed corpus of every fuzz target: small bitmaps of each depth the reader takes (and a
// few it must refuse), the shipped block templates with variants, palette files, scripts, edits of a
// saved game and settings files.
// Usage: orvalis_fuzz_seeds OUT_DIR TEMPLATES_DIR
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/palette_lines.h"
#include "save/saved_game.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace {

void Put(std::vector<uint8_t>& v, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) v[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// An uncompressed bottom-up .bmp with rows filled to 4 bytes; pixel bytes from a simple pattern.
std::vector<uint8_t> Make_Bmp(int width, int height, int bits) {
  const int bpp = bits / 8;
  const size_t stride = (static_cast<size_t>(width) * bpp + 3) & ~size_t{3};
  const size_t table = bits == 8 ? 1024 : 0;
  std::vector<uint8_t> v(54 + table + stride * height, 0);
  v[0] = 'B';
  v[1] = 'M';
  Put(v, 2, static_cast<uint32_t>(v.size()), 4);
  Put(v, 10, static_cast<uint32_t>(54 + table), 4);
  Put(v, 14, 40, 4);
  Put(v, 18, static_cast<uint32_t>(width), 4);
  Put(v, 22, static_cast<uint32_t>(height), 4);
  Put(v, 26, 1, 2);
  Put(v, 28, static_cast<uint32_t>(bits), 2);
  for (size_t i = 0; i < table / 4; ++i) {
    v[54 + 4 * i] = static_cast<uint8_t>(i);
    v[55 + 4 * i] = static_cast<uint8_t>(255 - i);
    v[56 + 4 * i] = static_cast<uint8_t>(i * 7);
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width * bpp; ++x)
      v[54 + table + y * stride + x] = static_cast<uint8_t>(x * 3 + y * 5);
  return v;
}

bool Write(const fs::path& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
  return static_cast<bool>(f);
}

bool Write(const fs::path& path, const std::vector<uint8_t>& bytes) {
  return Write(path, std::string(bytes.begin(), bytes.end()));
}

std::string Read(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool Bitmap_Seeds(const fs::path& dir) {
  bool ok = true;
  ok &= Write(dir / "mouse-8bit-32x32.bmp", Make_Bmp(32, 32, 8));
  ok &= Write(dir / "odd-24bit-97x65.bmp", Make_Bmp(97, 65, 24));
  ok &= Write(dir / "grid-24bit-160x96.bmp", Make_Bmp(160, 96, 24));
  ok &= Write(dir / "grid-16bit-64x64.bmp", Make_Bmp(64, 64, 16));
  ok &= Write(dir / "cells-8bit-213x145.bmp", Make_Bmp(213, 145, 8));
  ok &= Write(dir / "one-24bit-1x1.bmp", Make_Bmp(1, 1, 24));
  std::vector<uint8_t> cut = Make_Bmp(40, 40, 24);
  cut.resize(cut.size() / 2);
  ok &= Write(dir / "cut-in-half.bmp", cut);
  std::vector<uint8_t> packed = Make_Bmp(33, 9, 8);
  Put(packed, 30, 1, 4);  // run-length compressed: refused
  ok &= Write(dir / "compressed.bmp", packed);
  return ok;
}

bool Template_Seeds(const fs::path& dir, const fs::path& templates) {
  bool ok = true;
  int copied = 0;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(templates, ec)) {
    if (e.path().extension() != ".txt") continue;
    const std::string text = Read(e.path());
    ok &= Write(dir / e.path().filename(), text);
    ++copied;
    // The same cells with commas between them and CR LF line ends.
    std::string commas;
    for (char c : text) {
      if (c == '\n') {
        commas += "\r\n";
      } else {
        if (!commas.empty() && commas.back() != '\n') commas += ',';
        commas += c;
      }
    }
    ok &= Write(dir / ("commas-" + e.path().filename().string()), commas);
  }
  ok &= Write(dir / "seven-lines.txt",
              std::string("00000000\n00000000\n00000000\n00000000\n00000000\n00000000\n0z0z0z0z\n"));
  ok &= Write(dir / "separators.txt", std::string(",,\n \t,\n\n0a1b2c3z\n,"));
  return ok && copied > 0;
}

bool Palette_Seeds(const fs::path& dir) {
  PALETTEENTRY table[256];
  for (int i = 0; i < 256; ++i)
    table[i] =
        PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3), 4};
  bool ok = Save_Palette_File((dir / "full.pal").c_str(), table) == 1;
  std::string short_file;
  for (int i = 0; i < 10; ++i) short_file += "\n" + std::to_string(i) + " " + std::to_string(i * 20) + " 7 0";
  ok &= Write(dir / "ten-entries.pal", short_file);
  ok &= Write(dir / "odd-numbers.pal", std::string("\n-1 256 +3 0\t\n 99999999999 7\r\n8 9 x 10 11 12 13"));
  return ok;
}

bool Script_Seeds(const fs::path& dir) {
  bool ok = Write(dir / "start-and-win.txt",
                  std::string("seed 1234\nkey down RETURN\nframes 1\nkey up RETURN\nframes 31\n"
                              "mouse move 320 300\nframes 1\nmouse down left\nframes 1\nmouse up left\n"
                              "frames 2\nkey down A\nframes 1\nkey up A\nkey down LEFT\nframes 1\n"
                              "key up LEFT\nframes 5\nstate won.json\nkey down ESCAPE\nframes 1\n"
                              "key up ESCAPE\nclose\n"));
  ok &= Write(dir / "every-command.txt",
              std::string("# comment\nkey down UP\nkey up DOWN\nkey down RIGHT # held\r\n"
                          "mouse move 0 65535\nmouse down right\nmouse up right\nframes 0\n"
                          "screenshot shots/a b.png\nstate  s.json \t\nseed 4294967295\nclose\n"));
  ok &= Write(dir / "bad-line.txt", std::string("frames 3\nmouse move -1 5\n"));
  return ok;
}

// Small seeds: edits to the save target's sound game (its list form), and short texts of the ways a
// file goes wrong. A whole save is 110 KB, which the fuzzer would run a few dozen times a second.
bool Save_Seeds(const fs::path& dir) {
  const char* const seeds[][2] = {
      {"number-0.json", "[[\"/board/3/3/number\", 0]]"},
      {"number-twice.json", "[[\"/board/3/3/number\", 1]]"},
      {"in-wall.json", "[[\"/players/2/square_x\", 0], [\"/players/2/square_y\", 0]]"},
      {"treasure-gone.json", "[[\"/board/1/2/treasure_p1\", 0]]"},
      {"winner.json", "[[\"/players/1/winner\", 1]]"},
      {"won.json",
       "[[\"/players/2/treasures\", 5], [\"/players/2/square_x\", 3], [\"/players/2/winner\", 1]]"},
      {"keys.json", "[[\"/item_density\", 2], [\"/players/1/keys\", 5]]"},
      {"content.json", "[[\"/board/4/4/content/4/4\", 107], [\"/board/4/4/blocked/4/4\", 1]]"},
      {"level.json", "[[\"/computer_level\", \"hard\"], [\"/random/draws\", 99999]]"},
      {"extra-key.json", "[[\"/players/1/colour\", \"red\"], [\"/version\", 2]]"},
      {"cut.json", "{\"format\": \"orvalis saved game\", \"version\": 1, \"board\": [[{\"number\": "},
      {"not-an-object.json", "[1, 2, 3]"},
      {"deep.json", "{\"a\": [[[[[[[[[[[[1]]]]]]]]]]]]}"},
  };
  bool ok = true;
  for (const auto& seed : seeds) ok &= Write(dir / seed[0], std::string(seed[1]));
  return ok;
}

bool Settings_Seeds(const fs::path& dir) {
  Settings changed = Default_Settings();
  for (int id = 0; id < SETTING_COUNT; ++id)
    changed.value[id] = Next_Setting_Value(static_cast<SettingId>(id), changed.value[id], true);
  bool ok = Write(dir / "written.toml", Settings_File_Text(changed));
  ok &= Write(dir / "faults.toml", std::string("[comforts]\nwasd = \"yes\"\n[display\nscale = 12\n[sound]\n"
                                               "effects_volume = 99999999999999999999\nname = \"unclosed\n"
                                               "[computer]\nside = \"both\"\nlevel = tru\n"));
  ok &= Write(dir / "unknown.toml",
              std::string("top = 1\n[elsewhere]\nkey = [1, {a = 2}]\n[sound]\non = true\n"));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: orvalis_fuzz_seeds OUT_DIR TEMPLATES_DIR\n");
    return 64;
  }
  const fs::path out = argv[1];
  std::error_code ec;
  for (const char* target : {"bitmap", "template", "palette", "script", "save", "settings"}) {
    fs::create_directories(out / target, ec);
    if (ec) {
      std::fprintf(stderr, "orvalis_fuzz_seeds: cannot create %s\n", (out / target).c_str());
      return 1;
    }
  }
  const bool ok = Bitmap_Seeds(out / "bitmap") && Template_Seeds(out / "template", argv[2]) &&
                  Palette_Seeds(out / "palette") && Script_Seeds(out / "script") &&
                  Save_Seeds(out / "save") && Settings_Seeds(out / "settings");
  if (!ok) {
    std::fprintf(stderr, "orvalis_fuzz_seeds: cannot write the seeds under %s\n", out.c_str());
    return 1;
  }
  return 0;
}

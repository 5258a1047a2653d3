// orvalis_artgen: draws every picture of the game and writes the bitmap files the game loads.
//   orvalis_artgen --out DIR [--sheet PNG] [--icons DIR]
#include <cstdio>
#include <cstring>
#include <string>

#include "common/asset_manifest.h"
#include "tools/artgen/painters.h"
#include "tools/artgen/sheet.h"
#include "tools/artgen/text.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: orvalis_artgen --out DIR [--sheet FILE.png] [--icons DIR]\n"
               "  --out DIR        write the game's bitmap files into DIR\n"
               "  --sheet FILE     also write a contact sheet of every frame as the engine cuts it\n"
               "  --icons DIR      also write the desktop icons\n");
  return 2;
}

std::string Join(const std::string& dir, const char* name) {
  if (dir.empty() || dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

int Paint_And_Write(const char* file, const std::string& out_dir) {
  const PainterEntry* entry = Find_Painter(file);
  if (!entry) {
    std::fprintf(stderr, "orvalis_artgen: no painter draws %s\n", file);
    return 0;
  }
  int errors_before = Artgen_Error_Count();
  ArtFile art = New_Art_File(file);
  entry->paint(art);
  if (!Check_Frames(art)) return 0;
  std::vector<uint8_t> bytes = Encode_BMP(art.canvas);
  if (bytes.empty()) {
    std::fprintf(stderr, "orvalis_artgen: %s has a width that is not a multiple of 4\n", file);
    return 0;
  }
  if (entry->opaque) {
    for (size_t i = 54; i + 2 < bytes.size(); i += 3)
      if (Is_Key_Pixel(&bytes[i])) {
        std::fprintf(stderr, "orvalis_artgen: %s must be opaque but has a transparent pixel\n", file);
        return 0;
      }
  }
  if (Artgen_Error_Count() != errors_before) return 0;
  std::string path = Join(out_dir, file);
  if (!Write_File(path.c_str(), bytes)) {
    std::fprintf(stderr, "orvalis_artgen: cannot write %s\n", path.c_str());
    return 0;
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out_dir, sheet, icons;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return !into.empty();
    };
    bool ok = false;
    if (a == "--out")
      ok = value(out_dir);
    else if (a == "--sheet")
      ok = value(sheet);
    else if (a == "--icons")
      ok = value(icons);
    if (!ok) {
      std::fprintf(stderr, "orvalis_artgen: bad argument \"%s\"\n", argv[i]);
      return Usage();
    }
  }
  if (out_dir.empty()) return Usage();

  int failed = 0, files = 0;
  for (int r = 0; r < MANIFEST_ROW_COUNT; ++r) {
    if (!asset_manifest[r].file) continue;  // cut from the file of the row above
    ++files;
    if (!Paint_And_Write(asset_manifest[r].file, out_dir)) ++failed;
  }
  if (failed) {
    std::fprintf(stderr, "orvalis_artgen: %d of %d files failed\n", failed, files);
    return 1;
  }
  if (!sheet.empty() && !Write_Contact_Sheet(out_dir.c_str(), sheet.c_str())) return 1;
  if (!icons.empty() && !Write_Icons(icons.c_str())) return 1;
  return 0;
}

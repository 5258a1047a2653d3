// orvalis_artgen: draws every picture of the game and writes the bitmap files the game loads.
//   orvalis_artgen --out DIR [--sheet PNG] [--previews DIR] [--templates DIR] [--icons DIR]
#include <cstdio>
#include <cstring>
#include <string>

#include "shell/asset_manifest.h"
#include "tools/artgen/painters.h"
#include "tools/artgen/sheet.h"
#include "tools/artgen/text.h"

namespace {

const PainterEntry painter_table[] = {
    {"mouse_hand_8bit.bmp", Paint_Mouse, false},
    {"mm_main.bmp", Paint_Menu_Background, true},
    {"mm_main_menu_buttons_back.bmp", Paint_Menu_Panel, false},
    {"menu1.bmp", Paint_Menu_Buttons, false},
    {"option.bmp", Paint_Options, false},
    {"brick_wall_L1.bmp", Paint_Brick_Wall_Left, false},
    {"brick_wall_R1.bmp", Paint_Brick_Wall_Right, false},
    {"Rock_1.bmp", Paint_Rock_1, true},
    {"Rock_2.bmp", Paint_Rock_2, true},
    {"Rock_6.bmp", Paint_Results, true},
    {"vorn_block_back.bmp", Paint_Block_Back, false},
    {"vorn_block_pasigas.bmp", Paint_Pasigas, false},
    {"walls.bmp", Paint_Walls, false},
    {"player_1_pic.bmp", Paint_Player_1, false},
    {"player_2_pic.bmp", Paint_Player_2, false},
    {"main_game_buttons.bmp", Paint_Game_Buttons, false},
    {"floor_tyls_2.bmp", Paint_Floor, false},
    {"counter_pics.bmp", Paint_Counters, false},
    {"artifacts_2.bmp", Paint_Artifacts_2, false},
    {"artifacts.bmp", Paint_Artifacts, false},
    {"portrats.bmp", Paint_Portraits, true},
    {"doors.bmp", Paint_Doors, false},
    {"Treshur_tils.bmp", Paint_Treasure_Marks, false},
    {"message_back_2.bmp", Paint_Message, false},
    {"end_of_turn_bitton.bmp", Paint_End_Turn, false},
};

int Usage() {
  std::fprintf(stderr,
               "usage: orvalis_artgen --out DIR [--sheet FILE.png] [--previews DIR] [--templates DIR]"
               " [--icons DIR]\n"
               "  --out DIR        write the game's bitmap files into DIR\n"
               "  --sheet FILE     also write a contact sheet of every frame as the engine cuts it\n"
               "  --previews DIR   also write mock screens composed from the frames\n"
               "  --templates DIR  where the block templates are, for the previews (default: the --out DIR)\n"
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

const PainterEntry* Find_Painter(const char* file) {
  for (const PainterEntry& e : painter_table)
    if (std::strcmp(e.file, file) == 0) return &e;
  return nullptr;
}

int main(int argc, char** argv) {
  std::string out_dir, sheet, previews, templates, icons;
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
    else if (a == "--previews")
      ok = value(previews);
    else if (a == "--templates")
      ok = value(templates);
    else if (a == "--icons")
      ok = value(icons);
    if (!ok) {
      std::fprintf(stderr, "orvalis_artgen: bad argument \"%s\"\n", argv[i]);
      return Usage();
    }
  }
  if (out_dir.empty()) return Usage();

  int failed = 0;
  for (int r = 0; r < MANIFEST_BOB_COUNT; ++r) {
    if (!asset_manifest[r].file) continue;  // cut from the file of the row above
    if (!Paint_And_Write(asset_manifest[r].file, out_dir)) ++failed;
  }
  if (failed) {
    std::fprintf(stderr, "orvalis_artgen: %d of %d files failed\n", failed, MANIFEST_FILE_COUNT);
    return 1;
  }
  if (!sheet.empty() && !Write_Contact_Sheet(out_dir.c_str(), sheet.c_str())) return 1;
  if (!previews.empty() &&
      !Write_Previews(out_dir.c_str(), templates.empty() ? out_dir.c_str() : templates.c_str(),
                      previews.c_str()))
    return 1;
  if (!icons.empty() && !Write_Icons(icons.c_str())) return 1;
  return 0;
}

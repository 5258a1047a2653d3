#include "shell/assets.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/asset_manifest.h"
#include "game/model.h"
#include "game/random.h"
#include "graphics/bitmap.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "platform/platform.h"

int64_t start_seed = -1;

namespace {
std::vector<std::string> unreadable_art;
int art_files = 0;
}  // namespace

// The one work buffer every art file is read into before its frames are cut.
static BitmapFile bitmap;

namespace {
void Report_Template(const char* message) { Debug_Print("%s", message); }

// Reads every template and layer file once, so a missing or damaged one is named at start-up and
// not only when its block first shows. Value reads draw no random numbers.
void Check_Template_Files() {
  int32_t grid[8][8];
  char name[24];  // room for any int, so no optimisation level warns of truncation
  for (int t = 0; t < BLOCK_TYPE_COUNT; ++t) {
    std::snprintf(name, sizeof name, "%d.txt", t);
    Read_Value_Grid(name, grid);
    std::snprintf(name, sizeof name, "%db.txt", t);
    Read_Value_Grid(name, grid);
  }
  Read_Value_Grid("10c.txt", grid);
}
}  // namespace

int Game_Init() {
  // From now on a template or layer file that is missing or damaged is named on the debug output.
  template_report = Report_Template;
  Forget_Template_Reports();
  Init_Display(SCREEN_WIDTH, SCREEN_HEIGHT, 16, 1);

  RECT screen_rect = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
  // Each surface owns its clip list; the display's slot keeps the last one attached.
  display.dd_clipper = Attach_Clipper(display.back_surface, 1, &screen_rect);
  display.dd_clipper = Attach_Clipper(display.primary_surface, 1, &screen_rect);

  Set_Color_Key(display.back_surface, 38940, 38940);

  if (start_seed < 0) start_seed = Get_Clock();
  Seed_Random(static_cast<uint32_t>(start_seed));

  bool file_loaded = false;
  unreadable_art.clear();
  art_files = 0;
  for (int row = 0; row < MANIFEST_ROW_COUNT; ++row) {
    const ManifestEntry& e = asset_manifest[row];
    if (e.file) {
      ++art_files;
      file_loaded = Load_Bitmap_File(&bitmap, e.file) == 1;
      if (!file_loaded) {
        unreadable_art.push_back(e.file);
        // Frames are never cut from the previous file's pixels: this file's pictures stay empty.
        Unload_Bitmap_File(&bitmap);
        Debug_Print("orvalis: cannot load the art file \"%s\"; its pictures stay empty\n", e.file);
      }
    }
    BOB* bob = Manifest_BOB(row);
    Create_BOB(bob, 0, 0, e.width, e.height, e.frame_count, e.attributes, DDSCAPS_SYSTEMMEMORY);
    for (int f = 0; f < e.frame_count && file_loaded; ++f)
      Load_Frame_BOB(bob, &bitmap, f, e.frames[f].cx, e.frames[f].cy, e.mode);
    switch (e.after) {
      case AFTER_PANEL_POSITION:
        bob->x = 340;
        bob->y = 355;
        break;
      case AFTER_FRAME_ZERO:
        bob->current_frame = 0;
        break;
      case AFTER_HIDE_WALL:
        bob->y = -1;
        Hide_BOB(bob);
        break;
      case AFTER_UNLOAD:
        Unload_Bitmap_File(&bitmap);
        break;
      case AFTER_NONE:
        break;
    }
  }
  Check_Template_Files();
  return 1;
}

const std::vector<std::string>& Unreadable_Art_Files() { return unreadable_art; }

int Art_File_Count() { return art_files; }

int Game_Shutdown() {
  for (int row = 0; row < MANIFEST_ROW_COUNT; ++row) Destroy_BOB(Manifest_BOB(row));
  Unload_Bitmap_File(&bitmap);
  Shutdown_Display();
  return 1;
}

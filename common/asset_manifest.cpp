#include "common/asset_manifest.h"

#include <cstring>

namespace {
constexpr int32_t STILL_VISIBLE = 17;  // BOB_STILL | BOB_VISIBLE
constexpr int32_t CYCLE_VISIBLE = 18;  // BOB_CYCLE | BOB_VISIBLE
}  // namespace

const ManifestEntry asset_manifest[MANIFEST_ROW_COUNT] = {
    {"mouse_hand_8bit.bmp", "BOB_mouse", 32, 32, 1, STILL_VISIBLE, 1, {{0, 0}}, AFTER_NONE},
    {"mm_main.bmp", "BOB_menu_background", 640, 480, 1, STILL_VISIBLE, 1, {{0, 0}}, AFTER_NONE},
    {"mm_main_menu_buttons_back.bmp", "BOB_menu_panel", 340, 400, 1, STILL_VISIBLE, 1, {{0, 0}},
     AFTER_PANEL_POSITION},
    {"menu1.bmp", "BOB_button_start", 105, 47, 2, CYCLE_VISIBLE, 0, {{0, 0}, {1, 0}}, AFTER_NONE},
    {nullptr, "BOB_button_options", 105, 47, 2, CYCLE_VISIBLE, 0, {{0, 1}, {1, 1}}, AFTER_NONE},
    {nullptr, "BOB_button_quit", 105, 47, 2, CYCLE_VISIBLE, 0, {{0, 2}, {1, 2}}, AFTER_NONE},
    {"option.bmp", "BOB_option_amount", 179, 51, 3, CYCLE_VISIBLE, 1, {{0, 1}, {0, 50}, {0, 99}},
     AFTER_FRAME_ZERO},
    {nullptr, "BOB_option_switch", 179, 50, 2, CYCLE_VISIBLE, 1, {{0, 149}, {0, 200}}, AFTER_FRAME_ZERO},
    {"brick_wall_L1.bmp", "BOB_wall_left", 640, 480, 1, CYCLE_VISIBLE, 1, {{0, 0}}, AFTER_HIDE_WALL},
    {"brick_wall_R1.bmp", "BOB_wall_right", 640, 480, 1, STILL_VISIBLE, 1, {{0, 0}}, AFTER_HIDE_WALL},
    {"Rock_1.bmp", "BOB_rock1", 253, 253, 1, STILL_VISIBLE, 1, {{0, 0}}, AFTER_NONE},
    {"Rock_2.bmp", "BOB_rock2", 253, 253, 1, STILL_VISIBLE, 1, {{0, 0}}, AFTER_NONE},
    {"Rock_6.bmp", "BOB_results_background", 640, 480, 1, STILL_VISIBLE, 1, {{0, 0}}, AFTER_NONE},
    {"vorn_block_back.bmp", "BOB_block_back", 32, 32, 3, CYCLE_VISIBLE, 1, {{0, 0}, {32, 0}, {64, 0}},
     AFTER_NONE},
    {"vorn_block_pasigas.bmp", "BOB_pasigas", 31, 31, 15, CYCLE_VISIBLE, 1,
     {{0, 0}, {32, 0}, {64, 0}, {96, 0}, {0, 32}, {32, 32}, {64, 32}, {96, 32},
      {0, 64}, {32, 64}, {64, 64}, {96, 64}, {0, 96}, {32, 96}, {64, 96}},
     AFTER_FRAME_ZERO},
    {"walls.bmp", "BOB_walls", 32, 32, 13, CYCLE_VISIBLE, 1,
     {{0, 0}, {0, 32}, {32, 0}, {32, 32}, {64, 0}, {64, 32}, {96, 0}, {96, 32}, {128, 0}, {128, 32},
      {160, 0}, {192, 0}, {160, 32}},
     AFTER_NONE},
    {"player_1_pic.bmp", "BOB_player1", 32, 32, 4, CYCLE_VISIBLE, 1, {{0, 0}, {32, 0}, {0, 32}, {32, 32}},
     AFTER_NONE},
    {"player_2_pic.bmp", "BOB_player2", 32, 32, 4, CYCLE_VISIBLE, 1, {{0, 0}, {32, 0}, {0, 32}, {32, 32}},
     AFTER_NONE},
    {"main_game_buttons.bmp", "BOB_game_buttons", 32, 32, 8, CYCLE_VISIBLE, 1,
     {{32, 0}, {64, 0}, {32, 32}, {64, 32}, {96, 0}, {128, 0}, {96, 32}, {128, 32}}, AFTER_NONE},
    {"floor_tyls_2.bmp", "BOB_floor", 32, 32, 4, CYCLE_VISIBLE, 1, {{0, 0}, {32, 0}, {0, 32}, {32, 32}},
     AFTER_NONE},
    {"counter_pics.bmp", "BOB_counters", 32, 32, 6, CYCLE_VISIBLE, 1,
     {{0, 0}, {64, 0}, {0, 32}, {64, 32}, {32, 0}, {32, 32}}, AFTER_NONE},
    {"artifacts_2.bmp", "BOB_artifacts2", 32, 32, 17, CYCLE_VISIBLE, 1,
     {{0, 0}, {32, 0}, {64, 0}, {96, 0}, {128, 0}, {160, 0}, {192, 0}, {224, 0}, {256, 0},
      {288, 0}, {320, 0}, {352, 0}, {384, 0}, {416, 0}, {448, 0}, {480, 0}, {512, 0}},
     AFTER_UNLOAD},
    {"artifacts.bmp", "BOB_artifacts", 32, 32, 6, CYCLE_VISIBLE, 1,
     {{0, 0}, {32, 0}, {64, 0}, {0, 32}, {32, 32}, {64, 32}}, AFTER_NONE},
    {"portrats.bmp", "BOB_portraits", 128, 128, 2, CYCLE_VISIBLE, 1, {{0, 0}, {128, 0}}, AFTER_NONE},
    {"doors.bmp", "BOB_doors", 32, 32, 8, CYCLE_VISIBLE, 1,
     {{0, 0}, {32, 0}, {64, 0}, {0, 32}, {32, 32}, {64, 32}, {0, 64}, {32, 64}}, AFTER_NONE},
    {"Treshur_tils.bmp", "BOB_treasure", 32, 32, 2, CYCLE_VISIBLE, 1, {{0, 0}, {32, 0}}, AFTER_NONE},
    {"message_back_2.bmp", "BOB_message", 32, 32, 9, CYCLE_VISIBLE, 1,
     {{0, 0}, {32, 0}, {64, 0}, {96, 0}, {128, 0}, {160, 0}, {192, 0}, {224, 0}, {256, 0}}, AFTER_NONE},
    {"end_of_turn_bitton.bmp", "BOB_end_turn", 96, 48, 2, CYCLE_VISIBLE, 1, {{0, 0}, {96, 0}}, AFTER_UNLOAD},
    // The help overlay's page, its three tabs (active and not) and the plate of a setting's value.
    {"help_marks.bmp", "BOB_help_panel", 600, 440, 1, STILL_VISIBLE, 1, {{0, 0}}, AFTER_NONE},
    {nullptr, "BOB_help_tabs", 150, 32, 6, CYCLE_VISIBLE, 1,
     {{0, 440}, {150, 440}, {300, 440}, {450, 440}, {0, 472}, {150, 472}}, AFTER_NONE},
    {nullptr, "BOB_help_plate", 100, 22, 2, CYCLE_VISIBLE, 1, {{300, 472}, {400, 472}}, AFTER_NONE},
    // The marks of the comforts on the board, each drawn over a whole 32 x 32 overview cell or square.
    {nullptr, "BOB_marks", 32, 32, 10, CYCLE_VISIBLE, 1,
     {{0, 504}, {32, 504}, {64, 504}, {96, 504}, {128, 504}, {160, 504}, {192, 504}, {224, 504}, {256, 504},
      {288, 504}},
     AFTER_UNLOAD},
};

const char* Manifest_File(int row) {
  for (int r = row; r >= 0; --r)
    if (asset_manifest[r].file) return asset_manifest[r].file;
  return nullptr;
}

void Manifest_Frame_Pixel(int row, int frame, int32_t* px, int32_t* py) {
  const ManifestEntry& e = asset_manifest[row];
  const FrameSource& s = e.frames[frame];
  if (e.mode == 0) {
    *px = s.cx * (e.width + 1) + 1;
    *py = s.cy * (e.height + 1) + 1;
  } else {
    *px = s.cx;
    *py = s.cy;
  }
}

int Manifest_Find(const char* bob_name) {
  for (int r = 0; r < MANIFEST_ROW_COUNT; ++r)
    if (std::strcmp(asset_manifest[r].bob_name, bob_name) == 0) return r;
  return -1;
}

// The table of painters: which painter draws which file of the manifest.
#include "tools/artgen/painters.h"

#include <cstring>

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
    {"help_marks.bmp", Paint_Help_Art, false},
};

}  // namespace

const PainterEntry* Find_Painter(const char* file) {
  for (const PainterEntry& e : painter_table)
    if (std::strcmp(e.file, file) == 0) return &e;
  return nullptr;
}

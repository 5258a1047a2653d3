// The 28 global BOBs the screens draw, loaded once from the art files by Game_Init and released by
// Game_Shutdown, and the manifest row each one is cut from.
#pragma once

#include "graphics/bob.h"

extern BOB BOB_mouse, BOB_menu_background, BOB_menu_panel, BOB_button_start, BOB_button_options,
    BOB_button_quit, BOB_option_amount, BOB_option_switch, BOB_wall_left, BOB_wall_right, BOB_rock1,
    BOB_rock2, BOB_results_background, BOB_block_back, BOB_pasigas, BOB_walls, BOB_game_buttons,
    BOB_floor, BOB_counters, BOB_artifacts2, BOB_artifacts, BOB_portraits, BOB_doors, BOB_treasure,
    BOB_message, BOB_end_turn;
// The players' sprites are the sprite fields of the two PlayerStates.
extern BOB& BOB_player1;
extern BOB& BOB_player2;

// The BOB of manifest row r, or null outside 0..27.
BOB* Manifest_BOB(int row);

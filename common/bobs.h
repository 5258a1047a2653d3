// The 28 global BOBs the screens draw, and those of the help overlay and the board marks, loaded once
// from the art files by Game_Init and released by Game_Shutdown, and the manifest row each one is cut
// from.
#pragma once

#include "graphics/bob.h"

extern BOB BOB_mouse, BOB_menu_background, BOB_menu_panel, BOB_button_start, BOB_button_options,
    BOB_button_quit, BOB_option_amount, BOB_option_switch, BOB_wall_left, BOB_wall_right, BOB_rock1,
    BOB_rock2, BOB_results_background, BOB_block_back, BOB_pasigas, BOB_walls, BOB_game_buttons,
    BOB_floor, BOB_counters, BOB_artifacts2, BOB_artifacts, BOB_portraits, BOB_doors, BOB_treasure,
    BOB_message, BOB_end_turn;
extern BOB BOB_help_panel, BOB_help_tabs, BOB_help_plate, BOB_marks;

// The frames of BOB_marks.
enum MarkFrame : int32_t {
  MARK_PAWN_P1 = 0,   // player 1's pawn, bottom right of an overview cell
  MARK_PAWN_P2 = 1,   // player 2's pawn, bottom left
  MARK_KEY = 2,       // a key on the block, top left
  MARK_TOKEN = 3,     // an action token on the block, top left
  MARK_LOCKED = 4,    // a padlock, top right
  MARK_SHOWN = 5,     // the outline of the block the detail view shows
  MARK_HOVER_P1 = 6,  // the cell under the pointer, in the colour of the player to move
  MARK_HOVER_P2 = 7,
  MARK_REACH_CELL = 8,    // a block that holds squares the player to move can reach, top middle
  MARK_REACH_SQUARE = 9,  // a square of the detail view the player to move can reach
};
// The players' sprites are the sprite fields of the two PlayerStates.
extern BOB& BOB_player1;
extern BOB& BOB_player2;

// Draws frame `frame` of the BOB with its top-left at (x, y), at its own size or stretched to w x h
// (keyed), onto the back surface, and leaves the BOB's position and current frame as they were. For
// the pictures of overlays, which must not change what the game's own drawing relies on. 1 when drawn.
int Draw_BOB_Copy(BOB& bob, int x, int y, int32_t frame, int w = 0, int h = 0);

// The BOB of manifest row r, or null outside the manifest.
BOB* Manifest_BOB(int row);

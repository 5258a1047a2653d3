#include "common/bobs.h"

#include "common/asset_manifest.h"
#include "game/model.h"

BOB BOB_mouse, BOB_menu_background, BOB_menu_panel, BOB_button_start, BOB_button_options, BOB_button_quit,
    BOB_option_amount, BOB_option_switch, BOB_wall_left, BOB_wall_right, BOB_rock1, BOB_rock2,
    BOB_results_background, BOB_block_back, BOB_pasigas, BOB_walls, BOB_game_buttons, BOB_floor,
    BOB_counters, BOB_artifacts2, BOB_artifacts, BOB_portraits, BOB_doors, BOB_treasure, BOB_message,
    BOB_end_turn;
BOB& BOB_player1 = player1.sprite;
BOB& BOB_player2 = player2.sprite;

BOB* Manifest_BOB(int row) {
  static BOB* const bobs[MANIFEST_BOB_COUNT] = {
      &BOB_mouse,        &BOB_menu_background, &BOB_menu_panel,   &BOB_button_start,
      &BOB_button_options, &BOB_button_quit,   &BOB_option_amount, &BOB_option_switch,
      &BOB_wall_left,    &BOB_wall_right,      &BOB_rock1,        &BOB_rock2,
      &BOB_results_background, &BOB_block_back, &BOB_pasigas,     &BOB_walls,
      &player1.sprite,   &player2.sprite,      &BOB_game_buttons, &BOB_floor,
      &BOB_counters,     &BOB_artifacts2,      &BOB_artifacts,    &BOB_portraits,
      &BOB_doors,        &BOB_treasure,        &BOB_message,      &BOB_end_turn};
  return (row >= 0 && row < MANIFEST_BOB_COUNT) ? bobs[row] : nullptr;
}

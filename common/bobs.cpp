#include "common/bobs.h"

#include "common/asset_manifest.h"
#include "game/model.h"
#include "graphics/display.h"

BOB BOB_mouse, BOB_menu_background, BOB_menu_panel, BOB_button_start, BOB_button_options, BOB_button_quit,
    BOB_option_amount, BOB_option_switch, BOB_wall_left, BOB_wall_right, BOB_rock1, BOB_rock2,
    BOB_results_background, BOB_block_back, BOB_pasigas, BOB_walls, BOB_game_buttons, BOB_floor,
    BOB_counters, BOB_artifacts2, BOB_artifacts, BOB_portraits, BOB_doors, BOB_treasure, BOB_message,
    BOB_end_turn;
BOB BOB_help_panel, BOB_help_tabs, BOB_help_plate, BOB_marks;
BOB& BOB_player1 = player1.sprite;
BOB& BOB_player2 = player2.sprite;

BOB* Manifest_BOB(int row) {
  static BOB* const bobs[MANIFEST_ROW_COUNT] = {
      &BOB_mouse,        &BOB_menu_background, &BOB_menu_panel,   &BOB_button_start,
      &BOB_button_options, &BOB_button_quit,   &BOB_option_amount, &BOB_option_switch,
      &BOB_wall_left,    &BOB_wall_right,      &BOB_rock1,        &BOB_rock2,
      &BOB_results_background, &BOB_block_back, &BOB_pasigas,     &BOB_walls,
      &player1.sprite,   &player2.sprite,      &BOB_game_buttons, &BOB_floor,
      &BOB_counters,     &BOB_artifacts2,      &BOB_artifacts,    &BOB_portraits,
      &BOB_doors,        &BOB_treasure,        &BOB_message,      &BOB_end_turn,
      &BOB_help_panel,   &BOB_help_tabs,       &BOB_help_plate,   &BOB_marks};
  return (row >= 0 && row < MANIFEST_ROW_COUNT) ? bobs[row] : nullptr;
}

int Draw_BOB_Copy(BOB& bob, int x, int y, int32_t frame, int w, int h) {
  if (frame < 0 || frame >= bob.frame_count) return 0;
  const int32_t old_x = bob.x, old_y = bob.y, old_frame = bob.current_frame;
  bob.x = x;
  bob.y = y;
  bob.current_frame = frame;
  const int drawn = w > 0 && h > 0 ? Draw_Scaled_BOB(&bob, w, h, display.back_surface, 1)
                                   : Draw_BOB(&bob, display.back_surface);
  bob.x = old_x;
  bob.y = old_y;
  bob.current_frame = old_frame;
  return drawn;
}

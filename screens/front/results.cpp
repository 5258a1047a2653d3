// The results screen: the winner's portrait, turns, items and grade letter, until Escape.
#include <cstdio>

#include "common/bobs.h"
#include "common/shell_state.h"
#include "game/model.h"
#include "graphics/bob.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "graphics/palette_lines.h"
#include "platform/platform.h"
#include "screens/front/front.h"

namespace {

// Colour index of every text; black under black_palette.
constexpr int TEXT_COLOR = 255;
// The dark blue laid under the background: red 0, green 6, blue 8 in RGB565.
constexpr uint16_t FILL_COLOR = 200;

void Draw_Winner(const PlayerState& winner) {
  char turns_text[80];
  char items_text[80];
  std::snprintf(turns_text, sizeof turns_text, " %d ", winner.turns);
  std::snprintf(items_text, sizeof items_text, " %d ", winner.items);
  Draw_Text(turns_text, 200, 420, TEXT_COLOR, display.back_surface);
  Draw_Text(items_text, 418, 420, TEXT_COLOR, display.back_surface);
  if (const char* grade = Results_Grade(winner.turns))
    Draw_Text(grade, 308, 290, TEXT_COLOR, display.back_surface);
}

}  // namespace

const char* Results_Grade(int32_t turns) {
  if (turns >= 100) return " F ";
  if (turns >= 50) return " C ";
  if (turns >= 26) return " B ";
  return " A ";
}

void Results_Frame() {
  // Colour index 255 is black under this palette, so all text on the screen is black.
  Set_Palette(black_palette);

  if (Platform_Key_Held(VK_ESCAPE)) {
    escape_latch = 1;
  } else if (escape_latch == 1) {
    game_state = STATE_MAIN_MENU;
    escape_latch = 0;
  }

  Fill_Rect(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, FILL_COLOR, display.back_surface);
  Draw_Results();

  Wait_For_Vsync();
  Flip_Display();
  Wait_Clock(30);
}

void Draw_Results() {
  BOB_results_background.x = 0;
  BOB_results_background.y = 0;
  Draw_BOB(&BOB_results_background, display.back_surface);

  if (player1.winner == 1) {
    Draw_Winner(player1);
    BOB_portraits.current_frame = 0;
  } else if (player2.winner == 1) {
    Draw_Winner(player2);
    BOB_portraits.current_frame = 1;
  }

  BOB_portraits.x = 148;
  BOB_portraits.y = 19;
  Draw_Scaled_BOB(&BOB_portraits, 93, 93, display.back_surface, 0);
}

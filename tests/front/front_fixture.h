// The front-end screens on the headless backend, with the BOBs they draw made of solid-colour frames
// so that positions and sizes can be read back from the presented pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/shell_state.h"
#include "game/model.h"
#include "graphics/bob.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "graphics/palette_lines.h"
#include "platform/platform.h"
#include "screens/front/front.h"
#include "shell/assets.h"
#include "tests/support/game.h"

namespace front_test {

// Frame colours (RGB565); every one differs from the others and from 0, the transparent key.
constexpr uint16_t BACKGROUND = 0x1111;
constexpr uint16_t PANEL = 0x2222;
constexpr uint16_t START_UP = 0x3300, START_DOWN = 0x3301;
constexpr uint16_t OPTIONS_UP = 0x3400, OPTIONS_DOWN = 0x3401;
constexpr uint16_t QUIT_UP = 0x3500, QUIT_DOWN = 0x3501;
constexpr uint16_t AMOUNT_0 = 0x5500;  // + frame
constexpr uint16_t SWITCH_0 = 0x5600;  // + frame
constexpr uint16_t POINTER = 0x6666;
constexpr uint16_t WALL_LEFT = 0x7700, WALL_RIGHT = 0x7800;
constexpr uint16_t RESULTS_BACK = 0xE71C;  // light grey, so black text shows on it
constexpr uint16_t PORTRAIT_0 = 0x4400, PORTRAIT_1 = 0x4401;

// A hole in the menu background, where whatever the back surface held shows through.
constexpr int HOLE_LEFT = 480, HOLE_TOP = 330, HOLE_RIGHT = 540, HOLE_BOTTOM = 380;
// The band of the results background left transparent, where the dark-blue fill shows.
constexpr int RESULTS_BAND = 8;

inline void Fill_Frame(BOB& bob, int frame, uint16_t color) {
  Surface* s = bob.frames[frame];
  for (int y = 0; y < s->height; ++y)
    for (int x = 0; x < s->width; ++x) s->pixels[y * (s->pitch / 2) + x] = color;
  Touch_Surface(s);  // direct writes must tell the engine its scaled copies are out of date
}

inline void Set_Frame_Pixel(BOB& bob, int frame, int x, int y, uint16_t color) {
  Surface* s = bob.frames[frame];
  s->pixels[y * (s->pitch / 2) + x] = color;
  Touch_Surface(s);
}

inline void Make_Solid_BOB(BOB& bob, int width, int height, std::vector<uint16_t> frame_colors) {
  Create_BOB(&bob, 0, 0, width, height, static_cast<int>(frame_colors.size()), BOB_CYCLE | BOB_VISIBLE,
             DDSCAPS_SYSTEMMEMORY);
  for (size_t f = 0; f < frame_colors.size(); ++f) Fill_Frame(bob, static_cast<int>(f), frame_colors[f]);
}

// The front-end BOBs as Game_Init leaves them, with synthetic pictures of the manifest's sizes.
// The left wall is brick on its left half only and the right wall on its right half only.
inline void Make_Front_BOBs() {
  Make_Solid_BOB(BOB_mouse, 2, 2, {POINTER});
  Make_Solid_BOB(BOB_menu_background, 640, 480, {BACKGROUND});
  for (int y = HOLE_TOP; y < HOLE_BOTTOM; ++y)
    for (int x = HOLE_LEFT; x < HOLE_RIGHT; ++x) Set_Frame_Pixel(BOB_menu_background, 0, x, y, 0);
  Make_Solid_BOB(BOB_menu_panel, 340, 400, {PANEL});
  BOB_menu_panel.x = 340;
  BOB_menu_panel.y = 355;
  Make_Solid_BOB(BOB_button_start, 105, 47, {START_UP, START_DOWN});
  Make_Solid_BOB(BOB_button_options, 105, 47, {OPTIONS_UP, OPTIONS_DOWN});
  Make_Solid_BOB(BOB_button_quit, 105, 47, {QUIT_UP, QUIT_DOWN});
  Make_Solid_BOB(BOB_option_amount, 179, 51, {AMOUNT_0, AMOUNT_0 + 1, AMOUNT_0 + 2});
  Make_Solid_BOB(BOB_option_switch, 179, 50, {SWITCH_0, SWITCH_0 + 1});

  Make_Solid_BOB(BOB_wall_left, 640, 480, {WALL_LEFT});
  Make_Solid_BOB(BOB_wall_right, 640, 480, {WALL_RIGHT});
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 320; ++x) {
      Set_Frame_Pixel(BOB_wall_left, 0, 320 + x, y, 0);
      Set_Frame_Pixel(BOB_wall_right, 0, x, y, 0);
    }
  for (BOB* wall : {&BOB_wall_left, &BOB_wall_right}) {
    wall->y = -1;
    Hide_BOB(wall);
  }

  Make_Solid_BOB(BOB_results_background, 640, 480, {RESULTS_BACK});
  for (int y = 0; y < RESULTS_BAND; ++y)
    for (int x = 0; x < 640; ++x) Set_Frame_Pixel(BOB_results_background, 0, x, y, 0);
  Make_Solid_BOB(BOB_portraits, 128, 128, {PORTRAIT_0, PORTRAIT_1});
  // A transparent-coloured corner, which only an opaque draw shows as such.
  for (int f = 0; f < 2; ++f)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) Set_Frame_Pixel(BOB_portraits, f, x, y, 0);
}

inline void Destroy_Front_BOBs() {
  for (BOB* b : {&BOB_mouse, &BOB_menu_background, &BOB_menu_panel, &BOB_button_start, &BOB_button_options,
                 &BOB_button_quit, &BOB_option_amount, &BOB_option_switch, &BOB_wall_left, &BOB_wall_right,
                 &BOB_results_background, &BOB_portraits}) {
    Destroy_BOB(b);
    *b = BOB{};
  }
}

// Counts the quit messages waiting in the queue, taking every message out.
inline int Drain_Quits() {
  int quits = 0;
  PlatformMessage m;
  while (Platform_Peek_Message(&m))
    if (m.message == MSG_QUIT) ++quits;
  return quits;
}

inline uint16_t Shown(int x, int y) {
  const std::vector<uint16_t>& f = Platform_Last_Frame();
  if (f.size() != static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT) return 0xDEAD;
  return f[static_cast<size_t>(y) * SCREEN_WIDTH + x];
}

class FrontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::Open_Headless();
    new_game_pending = 0;  // so that a start shows
    player1.winner = player2.winner = 0;
    ASSERT_EQ(Init_Display(SCREEN_WIDTH, SCREEN_HEIGHT, 16, 1), 1);
    RECT screen{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    Attach_Clipper(display.back_surface, 1, &screen);
    Platform_Set_Ticks(100000);
    Start_Clock();
    Make_Front_BOBs();
    Drain_Quits();
  }
  void TearDown() override {
    Destroy_Front_BOBs();
    Shutdown_Display();
    Platform_Close();
  }

  // Points the pointer at (x, y) with this button code and runs one menu frame.
  void Menu_At(int x, int y, int buttons) {
    mouse_x = x;
    mouse_y = y;
    mouse_buttons = buttons;
    Menu_Frame();
  }
  // Calls the menu up and lets it grow the given number of steps.
  void Grow_Menu(int steps) {
    Platform_Set_Key(VK_RETURN, true);
    Menu_Frame();
    Platform_Set_Key(VK_RETURN, false);
    for (int i = 0; i < steps; ++i) Menu_Frame();
  }
};

}  // namespace front_test

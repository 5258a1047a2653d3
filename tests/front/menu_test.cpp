// The main menu: calling it up, the 30-frame growth and its clamps, the strict hit boxes, the start
// button's press-then-release, the options overlay and its cycle, Escape on release, and the pace.
#include "tests/front/front_fixture.h"

namespace front_test {
namespace {

using MenuTest = FrontTest;

TEST_F(MenuTest, BeforeReturnOnlyTheBackgroundAndPointerShowAndClicksDoNothing) {
  for (int y : {300, 350, 400}) {
    Menu_At(320, y, 1);
    Menu_At(320, y, 0);
  }
  EXPECT_EQ(menu_open, 0);
  EXPECT_EQ(options_open, 0);
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
  EXPECT_EQ(Drain_Quits(), 0);
  EXPECT_EQ(Shown(340, 355), BACKGROUND);
  EXPECT_EQ(Shown(310, 300), BACKGROUND);
  EXPECT_EQ(Shown(320, 400), POINTER);
  EXPECT_EQ(Shown(321, 401), POINTER);
  EXPECT_EQ(Shown(322, 400), BACKGROUND);

  // An Escape press and release ends the run even with the menu never called up.
  Platform_Set_Key(VK_ESCAPE, true);
  Menu_Frame();
  Platform_Set_Key(VK_ESCAPE, false);
  Menu_Frame();
  EXPECT_EQ(Drain_Quits(), 1);
}

TEST_F(MenuTest, GrowsThirtyStepsAfterTheReturnFrameThenStops) {
  Platform_Set_Key(VK_RETURN, true);
  Menu_Frame();
  EXPECT_EQ(menu_open, 1);
  EXPECT_EQ(menu_panel_w, 0) << "the growth starts in the frame after Return";
  // Holding or pressing Return again during the growth changes nothing.
  for (int k = 1; k <= 30; ++k) {
    Platform_Set_Key(VK_RETURN, k % 3 != 0);
    Menu_Frame();
    ASSERT_EQ(menu_panel_w, 8 * k);
    ASSERT_EQ(menu_panel_h, 8 * k);
    ASSERT_EQ(menu_button_w, 2 * k);
    ASSERT_EQ(menu_button_h, 2 * k);
    ASSERT_EQ(BOB_menu_panel.x, 340 - 4 * k);
    ASSERT_EQ(BOB_menu_panel.y, 355 - 4 * k);
    ASSERT_EQ(menu_origin_x, 335 - k);
    ASSERT_EQ(menu_origin_y, 250 - k);
    if (k == 5) {
      // A 40 x 40 panel at (320, 335) drawn one pixel short; 10 x 10 buttons from (330, 295).
      EXPECT_EQ(Shown(320, 335), PANEL);
      EXPECT_EQ(Shown(358, 373), PANEL);
      EXPECT_EQ(Shown(359, 350), BACKGROUND);
      EXPECT_EQ(Shown(340, 374), BACKGROUND);
      EXPECT_EQ(Shown(330, 295), START_UP);
      EXPECT_EQ(Shown(338, 303), START_UP);
      EXPECT_EQ(Shown(339, 303), BACKGROUND) << "the buttons stand above the small panel";
    }
  }
  for (int i = 0; i < 5; ++i) Menu_Frame();
  EXPECT_EQ(menu_panel_w, 240);
  EXPECT_EQ(menu_panel_h, 240);
  EXPECT_EQ(menu_button_w, 60);
  EXPECT_EQ(menu_button_h, 60);
  EXPECT_EQ(BOB_menu_panel.x, 220);
  EXPECT_EQ(BOB_menu_panel.y, 235);
  EXPECT_EQ(menu_origin_x, 305);
  EXPECT_EQ(menu_origin_y, 220);

  // The full-grown menu: panel 240 x 240 at (220, 235), buttons 60 x 35 at (305, 285/335/385).
  EXPECT_EQ(Shown(220, 235), PANEL);
  EXPECT_EQ(Shown(458, 473), PANEL);
  EXPECT_EQ(Shown(219, 300), BACKGROUND);
  EXPECT_EQ(Shown(459, 300), BACKGROUND);
  EXPECT_EQ(Shown(300, 234), BACKGROUND);
  EXPECT_EQ(Shown(300, 473), PANEL);
  EXPECT_EQ(Shown(300, 474), BACKGROUND);
  const uint16_t ups[3] = {START_UP, OPTIONS_UP, QUIT_UP};
  for (int b = 0; b < 3; ++b) {
    int top = 285 + 50 * b;
    EXPECT_EQ(Shown(305, top), ups[b]);
    EXPECT_EQ(Shown(363, top + 33), ups[b]);
    EXPECT_EQ(Shown(364, top + 10), PANEL);
    EXPECT_EQ(Shown(304, top + 10), PANEL);
    EXPECT_EQ(Shown(320, top + 34), PANEL);
    EXPECT_EQ(Shown(320, top - 1), PANEL);
  }
}

TEST_F(MenuTest, ButtonHeightIsClampedLocallyFromTheEighteenthStep) {
  Grow_Menu(17);
  EXPECT_EQ(BOB_button_start.y, 233 + 50);
  EXPECT_EQ(Shown(320, 283 + 32), START_UP);  // 34 tall, drawn 33 rows
  EXPECT_EQ(Shown(320, 283 + 33), PANEL);
  Menu_Frame();
  EXPECT_EQ(menu_button_h, 36) << "the global grows on";
  EXPECT_EQ(BOB_button_start.y, 285);
  EXPECT_EQ(BOB_button_options.y, 335);
  EXPECT_EQ(BOB_button_quit.y, 385);
  EXPECT_EQ(Shown(320, 285 + 33), START_UP);
  EXPECT_EQ(Shown(320, 285 + 34), PANEL);
}

TEST_F(MenuTest, DrawMenuClampsFrom77And36Only) {
  menu_panel_w = menu_panel_h = 240;
  BOB_menu_panel.x = BOB_menu_panel.y = 235;
  Draw_Menu(300, 200, 77, 36);
  Flip_Display();
  EXPECT_EQ(BOB_button_start.x, 295);
  EXPECT_EQ(BOB_button_start.y, 285);
  EXPECT_EQ(BOB_button_quit.y, 385);
  EXPECT_EQ(Shown(295, 285), START_UP);
  EXPECT_EQ(Shown(369, 318), START_UP);
  EXPECT_EQ(Shown(370, 300), PANEL);
  EXPECT_EQ(Shown(330, 319), PANEL);

  Draw_Menu(300, 200, 76, 35);
  EXPECT_EQ(BOB_button_start.x, 300);
  EXPECT_EQ(BOB_button_start.y, 250);
  EXPECT_EQ(BOB_button_options.y, 300);
  EXPECT_EQ(BOB_button_quit.y, 350);
}

// Hit boxes of a full-grown button at (305, top): x 306..380 and y top+1..top+34 hit.
struct Probe {
  int dx, dy;
  bool hit;
};
const Probe probes[] = {{0, 10, false}, {1, 10, true},  {75, 10, true},  {76, 10, false}, {30, 0, false},
                        {30, 1, true},  {30, 34, true}, {30, 35, false}, {60, 17, true},  {-1, 17, false}};

TEST_F(MenuTest, HitBoxesAreStrict76By35OnAllSides) {
  Grow_Menu(30);
  for (const Probe& p : probes) {
    SCOPED_TRACE(::testing::Message() << "offset " << p.dx << ", " << p.dy);
    // Start arms on a press.
    start_armed = 0;
    mouse_x = 305 + p.dx;
    mouse_y = 285 + p.dy;
    mouse_buttons = 1;
    EXPECT_EQ(Menu_Input(0), 0);
    EXPECT_EQ(start_armed, p.hit ? 1 : 0);
    // Options opens the overlay on a press.
    mouse_y = 335 + p.dy;
    EXPECT_EQ(Menu_Input(0), p.hit ? 1 : 0);
    // Quit asks for the end of the run on a press.
    mouse_y = 385 + p.dy;
    Drain_Quits();
    EXPECT_EQ(Menu_Input(0), 0);
    EXPECT_EQ(Drain_Quits(), p.hit ? 1 : 0);
  }
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
}

TEST_F(MenuTest, StartActsOnReleaseAfterAPressOverIt) {
  Grow_Menu(30);
  Menu_At(330, 300, 1);
  EXPECT_EQ(start_armed, 1);
  EXPECT_EQ(BOB_button_start.current_frame, 1);
  Menu_Frame();
  EXPECT_EQ(Shown(310, 300), START_DOWN);
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
  Menu_At(340, 310, 0);
  EXPECT_EQ(game_state, STATE_PLAYING);
  EXPECT_EQ(new_game_pending, 1);
  EXPECT_EQ(start_armed, 0);
  EXPECT_EQ(BOB_button_start.current_frame, 1)
      << "the pressed picture stays until an input step with no button";
  EXPECT_EQ(Drain_Quits(), 0);
}

TEST_F(MenuTest, MovingOffBeforeReleaseDisarmsStart) {
  Grow_Menu(30);
  Menu_At(330, 300, 1);
  Menu_At(200, 300, 1);  // dragged off, still held
  EXPECT_EQ(start_armed, 1);
  Menu_At(200, 300, 0);
  EXPECT_EQ(start_armed, 0);
  EXPECT_EQ(BOB_button_start.current_frame, 0);
  Menu_At(330, 300, 0);  // back over start with no button held
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
  EXPECT_EQ(new_game_pending, 0);
}

TEST_F(MenuTest, DraggingOntoAButtonWithTheLeftHeldActsAsAPress) {
  Grow_Menu(30);
  Menu_At(100, 100, 1);
  Menu_At(330, 300, 1);
  EXPECT_EQ(start_armed, 1);
  Menu_At(330, 300, 0);
  EXPECT_EQ(game_state, STATE_PLAYING);

  game_state = STATE_MAIN_MENU;
  Menu_At(100, 100, 1);
  Menu_At(330, 400, 1);
  EXPECT_EQ(Drain_Quits(), 1);
}

TEST_F(MenuTest, OnlyTheExactLeftButtonCodeActs) {
  Grow_Menu(30);
  // The right button, and a held left with Shift (a pointer move's key-state word 5).
  for (int buttons : {2, 5, 3}) {
    Menu_At(330, 300, buttons);
    Menu_At(330, 300, 0);
    Menu_At(330, 350, buttons);
    Menu_At(330, 400, buttons);
  }
  EXPECT_EQ(start_armed, 0);
  EXPECT_EQ(options_open, 0);
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
  EXPECT_EQ(Drain_Quits(), 0);
}

TEST_F(MenuTest, ClickingASmallButtonEarlyStartsAndLeavesTheGrowthWhereItWas) {
  Grow_Menu(1);
  // A 2 x 2 picture at (334, 299), hit 76 x 35 all the same.
  EXPECT_EQ(BOB_button_start.x, 334);
  EXPECT_EQ(BOB_button_start.y, 299);
  Menu_At(400, 320, 1);
  Menu_At(400, 320, 0);
  EXPECT_EQ(game_state, STATE_PLAYING);
  EXPECT_EQ(menu_panel_w, 24) << "each of the three frames grows one step";

  // Back in the menu, it goes on growing without Return.
  game_state = STATE_MAIN_MENU;
  Menu_At(0, 0, 0);
  EXPECT_EQ(menu_panel_w, 32);
}

TEST_F(MenuTest, OptionsOverlayShowsTheRowsFromTheOriginAndPausesTheGrowth) {
  Grow_Menu(10);
  // This frame grows the eleventh step first: origin (324, 239), options button at (324, 339).
  Menu_At(340, 350, 1);
  EXPECT_EQ(options_open, 1);
  EXPECT_EQ(BOB_button_options.current_frame, 1);
  Menu_At(340, 350, 0);
  for (int i = 0; i < 5; ++i) Menu_Frame();
  EXPECT_EQ(menu_panel_w, 88);
  EXPECT_EQ(BOB_option_amount.x, 269);
  EXPECT_EQ(BOB_option_amount.y, 319);
  EXPECT_EQ(BOB_option_switch.x, 269);
  EXPECT_EQ(BOB_option_switch.y, 399);
  // Rows 150 x 35, drawn one pixel short; the start button's place shows no button.
  EXPECT_EQ(Shown(269, 319), AMOUNT_0);
  EXPECT_EQ(Shown(417, 352), AMOUNT_0);
  EXPECT_EQ(Shown(418, 340), BACKGROUND);
  EXPECT_EQ(Shown(269, 399), SWITCH_0);
  EXPECT_EQ(Shown(330, 300), BACKGROUND);

  // Escape closes the overlay on release and the growth resumes.
  Platform_Set_Key(VK_ESCAPE, true);
  Menu_Frame();
  EXPECT_EQ(options_open, 1);
  Platform_Set_Key(VK_ESCAPE, false);
  Menu_Frame();
  EXPECT_EQ(options_open, 0);
  EXPECT_EQ(menu_panel_w, 88) << "the closing frame draws the overlay";
  Menu_Frame();
  EXPECT_EQ(menu_panel_w, 96);
  EXPECT_EQ(Drain_Quits(), 0);
}

TEST_F(MenuTest, RowOneCyclesTheAmountOncePerPressAndRowTwoOnlyItsPicture) {
  Grow_Menu(30);
  Menu_At(330, 350, 1);
  Menu_At(330, 350, 0);
  ASSERT_EQ(options_open, 1);
  // Rows at (250, 300) and (250, 380).
  const int expected[] = {1, 2, 0, 1};
  for (int density : expected) {
    for (int held = 0; held < 3; ++held) Menu_At(300, 310, 1);
    EXPECT_EQ(item_density, density);
    EXPECT_EQ(BOB_option_amount.current_frame, density);
    Menu_At(300, 310, 0);
    EXPECT_EQ(options_click_latch, 0);
  }
  Menu_Frame();
  EXPECT_EQ(Shown(305, 315), AMOUNT_0 + 1);

  // Row one's box is 150 wide and strict; the right button never steps it.
  Menu_At(400, 310, 1);
  Menu_At(400, 310, 0);
  Menu_At(250, 310, 1);
  Menu_At(250, 310, 0);
  Menu_At(300, 310, 2);
  Menu_At(300, 310, 0);
  EXPECT_EQ(item_density, 1);

  // Row two is hit 170 wide; it toggles its picture and nothing else.
  Menu_At(419, 390, 1);
  Menu_At(419, 390, 0);
  EXPECT_EQ(BOB_option_switch.current_frame, 1);
  Menu_At(420, 390, 1);
  Menu_At(420, 390, 0);
  EXPECT_EQ(BOB_option_switch.current_frame, 1);
  Menu_At(300, 390, 1);
  Menu_At(300, 390, 0);
  EXPECT_EQ(BOB_option_switch.current_frame, 0);
  EXPECT_EQ(item_density, 1);
  EXPECT_EQ(BOB_option_amount.current_frame, 1);
}

TEST_F(MenuTest, OptionsInputLatchesUntilTheButtonIsUp) {
  BOB_option_amount.x = 250;
  BOB_option_amount.y = 300;
  mouse_x = 300;
  mouse_y = 310;
  mouse_buttons = 1;
  EXPECT_EQ(Options_Input(0), 1);
  EXPECT_EQ(Options_Input(1), 1);
  EXPECT_EQ(item_density, 1);
  mouse_x = 10;  // held elsewhere: the latch stays
  EXPECT_EQ(Options_Input(1), 1);
  EXPECT_EQ(Options_Input(0), 0);
  mouse_buttons = 0;
  EXPECT_EQ(Options_Input(1), 0);
}

TEST_F(MenuTest, EscapeActsOnceOnReleaseClosingTheOverlayBeforeQuitting) {
  Grow_Menu(30);
  Menu_At(330, 350, 1);
  Menu_At(330, 350, 0);
  ASSERT_EQ(options_open, 1);

  Platform_Set_Key(VK_ESCAPE, true);
  for (int i = 0; i < 4; ++i) Menu_Frame();
  EXPECT_EQ(escape_latch, 1);
  EXPECT_EQ(options_open, 1);
  Platform_Set_Key(VK_ESCAPE, false);
  Menu_Frame();
  EXPECT_EQ(options_open, 0);
  EXPECT_EQ(escape_latch, 0);
  Menu_Frame();
  EXPECT_EQ(Drain_Quits(), 0);

  Platform_Set_Key(VK_ESCAPE, true);
  for (int i = 0; i < 4; ++i) Menu_Frame();
  EXPECT_EQ(Drain_Quits(), 0);
  Platform_Set_Key(VK_ESCAPE, false);
  Menu_Frame();
  Menu_Frame();
  EXPECT_EQ(Drain_Quits(), 1);
  EXPECT_EQ(escape_latch, 0);
}

TEST_F(MenuTest, FrameWaitsForTheBlankThenSixtyMillisecondsFromTheClockStart) {
  Platform_Set_Ticks(200000);
  Start_Clock();
  Menu_Frame();
  EXPECT_EQ(Platform_Get_Ticks(), 200060u);
  // Long after the clock start only the vertical blank paces the frame.
  uint32_t before = Platform_Get_Ticks();
  Menu_Frame();
  uint32_t after = Platform_Get_Ticks();
  EXPECT_GT(after, before);
  EXPECT_LE(after - before, 17u);
}

}  // namespace
}  // namespace front_test

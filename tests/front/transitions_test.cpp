// The brick-wall transitions: 79 flipped frames, the walls' edges frame by frame in the presented
// pixels, the black palette before the opening, the menu panel drawn first where the game is involved,
// no input taken, and the walls hidden at the end.
#include <vector>

#include "tests/front/front_fixture.h"

namespace front_test {
namespace {

constexpr int ROW = 240;  // a row that no text, portrait or button of the test screens crosses

struct Seen {
  int index;
  std::vector<uint16_t> row;
  PALETTEENTRY text_color;
  uint16_t probe;
};
std::vector<Seen> seen;
int probe_x = 0, probe_y = 0;

void Record_Frame(int index) {
  const std::vector<uint16_t>& f = Platform_Last_Frame();
  Seen s{index, {}, display.shadow_palette[255], Shown(probe_x, probe_y)};
  if (f.size() == static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT)
    s.row.assign(f.begin() + ROW * SCREEN_WIDTH, f.begin() + (ROW + 1) * SCREEN_WIDTH);
  seen.push_back(std::move(s));
}

class TransitionTest : public FrontTest {
 protected:
  void SetUp() override {
    FrontTest::SetUp();
    seen.clear();
    probe_x = probe_y = 0;
    transition_frame_hook = Record_Frame;
    PALETTEENTRY light{200, 200, 200, 0};
    Set_Palette_Entry(255, &light);
    Fill_Surface(display.back_surface, 0);
    Fill_Surface(display.primary_surface, 0);
  }
  void TearDown() override {
    seen.clear();
    FrontTest::TearDown();
  }

  // Only one wall is brick, all over, so its moving edge lies exactly where the drawn rectangle ends.
  static void Only_Wall(BOB& solid, uint16_t color, BOB& clear) {
    Fill_Frame(solid, 0, color);
    Fill_Frame(clear, 0, 0);
  }
  static void No_Walls() {
    Fill_Frame(BOB_wall_left, 0, 0);
    Fill_Frame(BOB_wall_right, 0, 0);
  }

  // Checks the count, the order and the clock: one vertical blank per frame.
  void Expect_79_Frames(void (*transition)()) {
    const uint32_t start = 500000;
    Platform_Set_Ticks(start);
    transition();
    uint32_t end = Platform_Get_Ticks();
    ASSERT_EQ(seen.size(), 79u);
    for (int i = 0; i < 79; ++i) ASSERT_EQ(seen[static_cast<size_t>(i)].index, i);
    Platform_Set_Ticks(start);
    for (int i = 0; i < 79; ++i) Platform_Wait_Vblank();
    EXPECT_EQ(end, Platform_Get_Ticks());
    EXPECT_EQ(BOB_wall_left.attributes & BOB_VISIBLE, 0);
    EXPECT_EQ(BOB_wall_right.attributes & BOB_VISIBLE, 0);
    EXPECT_EQ(BOB_wall_left.x, -320);
    EXPECT_EQ(BOB_wall_right.x, 320);
    EXPECT_EQ(BOB_wall_left.y, -1);
    EXPECT_EQ(BOB_wall_right.y, -1);
  }

  // Frame f's row, pixel x.
  static uint16_t At(int f, int x) { return seen[static_cast<size_t>(f)].row[static_cast<size_t>(x)]; }
};

TEST_F(TransitionTest, LeftWallEdgeFrameByFrame) {
  Only_Wall(BOB_wall_left, WALL_LEFT, BOB_wall_right);
  player1.winner = 1;  // the results with their texts under the closing walls
  Expect_79_Frames(Results_To_Menu);
  // Drawn 650 wide from x, one pixel short: the brick ends at x + 648.
  for (int i = 0; i < 32; ++i) {
    SCOPED_TRACE(::testing::Message() << "closing frame " << i);
    ASSERT_EQ(At(i, 0), WALL_LEFT);
    ASSERT_EQ(At(i, 328 + 10 * i), WALL_LEFT);
    ASSERT_EQ(At(i, 329 + 10 * i), RESULTS_BACK);
  }
  // Closed, the wall reaches x 648, past the screen's last column.
  for (int h = 32; h < 48; ++h) {
    ASSERT_EQ(At(h, 0), WALL_LEFT);
    ASSERT_EQ(At(h, 639), WALL_LEFT);
  }
  for (int j = 1; j < 32; ++j) {
    SCOPED_TRACE(::testing::Message() << "opening frame " << j);
    ASSERT_EQ(At(47 + j, 648 - 10 * j), WALL_LEFT);
    ASSERT_EQ(At(47 + j, 649 - 10 * j), BACKGROUND);
  }
}

TEST_F(TransitionTest, RightWallEdgeFrameByFrame) {
  Only_Wall(BOB_wall_right, WALL_RIGHT, BOB_wall_left);
  Expect_79_Frames(Results_To_Menu);
  for (int i = 0; i < 32; ++i) {
    SCOPED_TRACE(::testing::Message() << "closing frame " << i);
    ASSERT_EQ(At(i, 320 - 10 * i), WALL_RIGHT);
    ASSERT_EQ(At(i, 319 - 10 * i), RESULTS_BACK);
    ASSERT_EQ(At(i, 639), WALL_RIGHT);
  }
  for (int h = 32; h < 47; ++h) {
    for (int x = 0; x < SCREEN_WIDTH; x += 71) ASSERT_EQ(At(h, x), WALL_RIGHT);
  }
  EXPECT_EQ(At(47, 0), WALL_RIGHT) << "the first opening frame still shows the walls together";
  for (int j = 1; j < 32; ++j) {
    SCOPED_TRACE(::testing::Message() << "opening frame " << j);
    ASSERT_EQ(At(47 + j, 10 * j), WALL_RIGHT);
    ASSERT_EQ(At(47 + j, 10 * j - 1), BACKGROUND);
  }
}

TEST_F(TransitionTest, PaletteTurnsBlackBeforeTheOpening) {
  Expect_79_Frames(Game_To_Results);
  for (int f = 0; f < 79; ++f) {
    const PALETTEENTRY& c = seen[static_cast<size_t>(f)].text_color;
    ASSERT_EQ(c.peRed == 0 && c.peGreen == 0 && c.peBlue == 0, f >= 47) << "frame " << f;
  }
}

TEST_F(TransitionTest, WallsAreGoneInTheFirstFrameOfTheNewState) {
  Fill_Frame(BOB_wall_left, 0, WALL_LEFT);
  Fill_Frame(BOB_wall_right, 0, WALL_RIGHT);
  Fill_Frame(BOB_menu_background, 0, BACKGROUND);  // no hole that shows the old pixels
  Results_To_Menu();
  transition_frame_hook = nullptr;
  Menu_Frame();
  const std::vector<uint16_t>& f = Platform_Last_Frame();
  int wall_pixels = 0;
  for (uint16_t p : f) wall_pixels += p == WALL_LEFT || p == WALL_RIGHT;
  EXPECT_EQ(wall_pixels, 0);
}

TEST_F(TransitionTest, ReadsNoKeysAndTakesNoMessages) {
  No_Walls();
  game_state = STATE_MAIN_MENU;
  Platform_Post_Message(PlatformMessage{MSG_MOUSEMOVE, 1, (100u << 16) | 200u});
  Platform_Set_Key(VK_ESCAPE, true);
  Platform_Set_Key(VK_RETURN, true);
  Expect_79_Frames(Results_To_Menu);
  EXPECT_EQ(escape_latch, 0);
  EXPECT_EQ(menu_open, 0);
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
  PlatformMessage m;
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.message, static_cast<uint32_t>(MSG_MOUSEMOVE));
  EXPECT_EQ(Platform_Peek_Message(&m), 0);
}

TEST_F(TransitionTest, MenuToGameDrawsTheFullPanelFirstAndTheMenuAsItWasLeft) {
  No_Walls();
  Grow_Menu(10);  // panel 80 x 80 at (300, 315)
  Fill_Surface(display.back_surface, 0);
  Fill_Surface(display.primary_surface, 0);
  seen.clear();
  probe_x = 500;  // in the background's hole, inside the unscaled panel only
  probe_y = 350;
  Expect_79_Frames(Menu_To_Game);
  EXPECT_EQ(seen[0].probe, PANEL);
  EXPECT_EQ(menu_panel_w, 80) << "drawing the menu does not grow it";
  EXPECT_EQ(BOB_menu_panel.x, 300);
}

TEST_F(TransitionTest, GameToMenuShowsTheGrownMenuUnderTheOpeningWalls) {
  No_Walls();
  Grow_Menu(30);
  seen.clear();
  probe_x = 305;
  probe_y = 285;
  Expect_79_Frames(Game_To_Menu);
  EXPECT_EQ(seen.back().probe, START_UP);
  EXPECT_EQ(At(78, 220), PANEL);
  EXPECT_EQ(At(78, 219), BACKGROUND);
}

TEST_F(TransitionTest, ResultsAreDrawnWithoutTheFill) {
  No_Walls();
  player2.winner = 1;
  probe_x = 300;  // in the results background's transparent band
  probe_y = 2;
  Expect_79_Frames(Results_To_Menu);
  for (int i = 0; i < 32; ++i) ASSERT_EQ(seen[static_cast<size_t>(i)].probe, 0) << "closing frame " << i;

  seen.clear();
  Expect_79_Frames(Game_To_Results);
  EXPECT_EQ(At(78, 100), RESULTS_BACK);
  EXPECT_EQ(BOB_portraits.current_frame, 1);
}

}  // namespace
}  // namespace front_test

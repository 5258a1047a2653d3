// The results screen: the grade letters, the winner's numbers in black text, the portrait of the
// winner drawn opaque, the dark-blue fill, the black palette, Escape on release and the pace.
#include <cstring>

#include "tests/front/front_fixture.h"

namespace front_test {
namespace {

struct Area {
  int left, top, right, bottom;
};
constexpr Area GRADE_AREA{300, 284, 420, 320};
constexpr Area TURNS_AREA{190, 414, 410, 450};
constexpr Area ITEMS_AREA{410, 414, 600, 450};

class ResultsTest : public FrontTest {
 protected:
  void SetUp() override {
    FrontTest::SetUp();
    expected = Create_Surface(SCREEN_WIDTH, SCREEN_HEIGHT, 0);
    ASSERT_NE(expected, nullptr);
    TextMask probe;
    if (!Platform_Render_Text(" A ", 0, &probe)) GTEST_SKIP() << "no font to draw text with";
  }
  void TearDown() override {
    Release_Surface(expected);
    player1 = PlayerState{};
    player2 = PlayerState{};
    FrontTest::TearDown();
  }

  // The results background with the given texts drawn on it in black, the way the screen should look.
  void Expect_Texts(const char* grade, const char* turns, const char* items) {
    Fill_Surface(expected, RESULTS_BACK);
    if (grade) Draw_Text(grade, 308, 290, 255, expected);
    if (turns) Draw_Text(turns, 200, 420, 255, expected);
    if (items) Draw_Text(items, 418, 420, 255, expected);
  }

  // Counts the pixels of the area where the presented frame and the expected picture differ.
  int Differences(const Area& a) const {
    int n = 0;
    for (int y = a.top; y < a.bottom; ++y)
      for (int x = a.left; x < a.right; ++x)
        if (Shown(x, y) != expected->pixels[y * (expected->pitch / 2) + x]) ++n;
    return n;
  }
  int Black_Pixels(const Area& a) const {
    int n = 0;
    for (int y = a.top; y < a.bottom; ++y)
      for (int x = a.left; x < a.right; ++x) n += Shown(x, y) == 0;
    return n;
  }

  Surface* expected = nullptr;
};

TEST(ResultsGrade, LettersByTurnCount) {
  EXPECT_STREQ(Results_Grade(0), " A ");
  EXPECT_STREQ(Results_Grade(25), " A ");
  EXPECT_STREQ(Results_Grade(26), " B ");
  EXPECT_STREQ(Results_Grade(49), " B ");
  EXPECT_STREQ(Results_Grade(50), " C ");
  EXPECT_STREQ(Results_Grade(99), " C ");
  EXPECT_STREQ(Results_Grade(100), " F ");
  EXPECT_STREQ(Results_Grade(5000), " F ");
}

TEST_F(ResultsTest, DrawsTheWinnersGradeAndNumbersInBlack) {
  struct Case {
    int turns;
    const char* grade;
  };
  const Case cases[] = {{25, " A "}, {26, " B "}, {49, " B "}, {50, " C "}, {99, " C "}, {100, " F "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "turns " << c.turns);
    player1.winner = 1;
    player1.turns = c.turns;
    player1.items = 4;
    Results_Frame();
    char turns_text[16];
    std::snprintf(turns_text, sizeof turns_text, " %d ", c.turns);
    Expect_Texts(c.grade, turns_text, " 4 ");
    EXPECT_EQ(Differences(GRADE_AREA), 0);
    EXPECT_EQ(Differences(TURNS_AREA), 0);
    EXPECT_EQ(Differences(ITEMS_AREA), 0);
    EXPECT_EQ(Black_Pixels(GRADE_AREA) > 0, c.grade != nullptr);
    EXPECT_GT(Black_Pixels(TURNS_AREA), 0);
    EXPECT_EQ(BOB_portraits.current_frame, 0);
  }
}

TEST_F(ResultsTest, PlayerTwoWinningShowsTheirPortraitAndNumbers) {
  player1.turns = 80;
  player1.items = 9;
  player2.winner = 1;
  player2.turns = 7;
  player2.items = 2;
  Results_Frame();
  Expect_Texts(" A ", " 7 ", " 2 ");
  EXPECT_EQ(Differences(GRADE_AREA), 0);
  EXPECT_EQ(Differences(TURNS_AREA), 0);
  EXPECT_EQ(Differences(ITEMS_AREA), 0);
  // Portrait frame 1, 93 x 93 at (148, 19) drawn one pixel short, opaque: its 0-coloured corner shows.
  EXPECT_EQ(BOB_portraits.current_frame, 1);
  EXPECT_EQ(Shown(148, 19), 0);
  EXPECT_EQ(Shown(190, 60), PORTRAIT_1);
  EXPECT_EQ(Shown(239, 110), PORTRAIT_1);
  EXPECT_EQ(Shown(240, 60), RESULTS_BACK);
  EXPECT_EQ(Shown(190, 111), RESULTS_BACK);
  EXPECT_EQ(Shown(147, 60), RESULTS_BACK);
}

TEST_F(ResultsTest, WithoutAWinnerNoTextAndThePortraitKeepsItsFrame) {
  BOB_portraits.current_frame = 1;
  player1.turns = 30;
  Results_Frame();
  Expect_Texts(nullptr, nullptr, nullptr);
  EXPECT_EQ(Differences(GRADE_AREA), 0);
  EXPECT_EQ(Differences(TURNS_AREA), 0);
  EXPECT_EQ(Differences(ITEMS_AREA), 0);
  EXPECT_EQ(Shown(190, 60), PORTRAIT_1);
}

TEST_F(ResultsTest, FillsDarkBlueUnderTheBackgroundAndLoadsTheBlackPalette) {
  PALETTEENTRY light{200, 200, 200, 0};
  Set_Palette_Entry(255, &light);
  player1.winner = 1;
  player1.turns = 10;
  Results_Frame();
  for (const PALETTEENTRY& e : display.shadow_palette) {
    ASSERT_EQ(e.peRed | e.peGreen | e.peBlue | e.peFlags, 0);
  }
  EXPECT_EQ(Shown(10, 0), 200);
  EXPECT_EQ(Shown(600, RESULTS_BAND - 1), 200);
  EXPECT_EQ(Shown(600, RESULTS_BAND), RESULTS_BACK);
}

TEST_F(ResultsTest, EscapeReturnsToTheMenuOnRelease) {
  game_state = STATE_RESULTS;
  Platform_Set_Key(VK_ESCAPE, true);
  for (int i = 0; i < 3; ++i) Results_Frame();
  EXPECT_EQ(game_state, STATE_RESULTS);
  EXPECT_EQ(escape_latch, 1);
  Platform_Set_Key(VK_ESCAPE, false);
  uint32_t before = Platform_Get_Ticks();
  Results_Frame();
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
  EXPECT_EQ(escape_latch, 0);
  EXPECT_GT(Platform_Get_Ticks(), before) << "the frame is still drawn and flipped";

  // A latch left set by the playing screen returns at the first frame.
  game_state = STATE_RESULTS;
  escape_latch = 1;
  Results_Frame();
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
  EXPECT_EQ(Drain_Quits(), 0);
}

TEST_F(ResultsTest, FrameWaitsForTheBlankThenThirtyMillisecondsFromTheClockStart) {
  Platform_Set_Ticks(300000);
  Start_Clock();
  Results_Frame();
  EXPECT_EQ(Platform_Get_Ticks(), 300030u);
}

}  // namespace
}  // namespace front_test

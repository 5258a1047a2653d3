// The comforts of the playing screen, one aimed case each: the step delay, W A S D, the question
// before leaving, the feedback line and the scoreboard, the board marks and the reachable squares.
// With every comfort off the screen is the classic one (the golden images prove that).
#include "screens/play/comforts.h"

#include "play_fixture.h"
#include "settings/settings.h"
#include "shell/main_loop.h"

namespace {

// Each mark is painted as one small patch of its own colour at a place of its own in the 32 x 32
// frame, so a pixel tells whether that mark was drawn there whatever else was.
int Patch_X(int f) { return 2 + (f % 5) * 6; }
int Patch_Y(int f) { return 2 + (f / 5) * 6; }
uint16_t Mark_Colour(int f) { return static_cast<uint16_t>(0xF800 | (f + 1)); }

class Comforts : public PlayScreen {
 protected:
  void SetUp() override {
    PlayScreen::SetUp();
    for (int f = 0; f < BOB_marks.frame_count; ++f) {
      Fill_Surface(BOB_marks.frames[f], 0);
      Fill_Rect(Patch_X(f), Patch_Y(f), Patch_X(f) + 4, Patch_Y(f) + 4, Mark_Colour(f), BOB_marks.frames[f]);
    }
    Reset_Comforts();
  }
  void TearDown() override {
    Set_Active_Settings(Default_Settings());
    Reset_Comforts();
    PlayScreen::TearDown();
  }
  static void Turn_On(SettingId id) {
    Settings s = Active_Settings();
    s.value[id] = 1;
    Set_Active_Settings(s);
  }
  // Holds a key for this many frames, then lets it go for one.
  static void Hold(int key, int frames) {
    Platform_Set_Key(key, true);
    for (int i = 0; i < frames; ++i) Play_Frame(0);
    Platform_Set_Key(key, false);
    Play_Frame(0);
  }
  static void Tap(int key) { Hold(key, 1); }
  // How far player 2 stands from the left edge of the board, in squares.
  static int Column() { return player2.block_x * 8 + player2.square_x; }
  static bool Mark_At(int x, int y, int f) {
    return Shown_Pixel(x + Patch_X(f) + 1, y + Patch_Y(f) + 1) == Mark_Colour(f);
  }
  static int Drain_Quits() {
    int quits = 0;
    PlatformMessage m;
    while (Platform_Peek_Message(&m)) quits += m.message == MSG_QUIT;
    return quits;
  }
};

TEST_F(Comforts, StepDelayMakesAShortPressOneStepAndRepeatsOnlyWhenHeld) {
  Hold(VK_RIGHT, 3);  // about 150 ms: the classic game steps on every frame
  EXPECT_EQ(Column(), 4 + 3);

  Turn_On(SETTING_STEP_DELAY);
  Place(player2, 0, 0, 4, 4);
  Hold(VK_RIGHT, 3);
  EXPECT_EQ(Column(), 4 + 1);
  Hold(VK_RIGHT, 3);  // a second press is a second step
  EXPECT_EQ(Column(), 4 + 2);
  Hold(VK_RIGHT, 30);  // held past the delay it repeats, but not from the first frames on
  EXPECT_GT(Column(), 4 + 2 + 10);
  EXPECT_LT(Column(), 4 + 2 + 30);
}

TEST_F(Comforts, WasdWalksAndTurnsTheCheatOff) {
  Tap(VK_A);  // classic: A is the cheat
  EXPECT_EQ(player2.treasures, 5);
  Place(player2, 0, 0, 4, 4);
  Place(player1, 7, 7, 4, 4);

  Turn_On(SETTING_WASD);
  Tap(VK_D);
  Tap(VK_S);
  EXPECT_EQ(player2.square_x, 5);
  EXPECT_EQ(player2.square_y, 5);
  Tap(VK_A);
  Tap(VK_W);
  EXPECT_EQ(player2.square_x, 4);
  EXPECT_EQ(player2.square_y, 4);
  EXPECT_EQ(player2.treasures, 0);
  EXPECT_EQ(player1.treasures, 0);
}

TEST_F(Comforts, AskBeforeLeavingAsksOnEscapeAndOnClosingTheWindow) {
  Turn_On(SETTING_ASK_BEFORE_LEAVING);
  Drain_Quits();
  Tap(VK_ESCAPE);
  EXPECT_EQ(game_state, STATE_PLAYING);
  EXPECT_TRUE(Leave_Question_Open());
  Tap(VK_RIGHT);  // the game waits under the question
  EXPECT_EQ(player2.square_x, 4);
  Tap(VK_ESCAPE);  // stay
  EXPECT_FALSE(Leave_Question_Open());
  EXPECT_EQ(game_state, STATE_PLAYING);

  Window_Proc(MSG_DESTROY, 0, 0);
  EXPECT_EQ(Drain_Quits(), 0);
  EXPECT_TRUE(Leave_Question_Open());
  Tap(VK_RETURN);  // leave: the game quits
  EXPECT_EQ(Drain_Quits(), 1);
  EXPECT_FALSE(Leave_Question_Open());
  EXPECT_EQ(player2.turns, 0);  // Return answered the question and ended no turn

  Tap(VK_ESCAPE);
  Tap(VK_RETURN);
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
}

TEST_F(Comforts, FeedbackNamesRefusalsAndGainsAndTheScoreboardShowsBothPlayers) {
  player2.actions = 0;
  Click(317 + 32 + 16, 75 + 16);  // a shift without an action: nothing, in the classic game
  EXPECT_STREQ(Feedback_Line(), "");

  Turn_On(SETTING_FEEDBACK);
  Click(317 + 32 + 16, 75 + 16);
  EXPECT_STREQ(Feedback_Line(), "No actions left");
  player2.actions = 1;
  board.blocks[0][0].home = 1;
  Click(Cell_X(0) + 16, Cell_Y(0) + 16, 2);
  EXPECT_STREQ(Feedback_Line(), "Home blocks never turn");

  MazeBlock& here = board.blocks[0][0];
  here.locked = 1;
  here.squares[5][4].content = DOOR_EW_CLOSED;
  Tap(VK_RIGHT);
  EXPECT_STREQ(Feedback_Line(), "Locked: you need a key");
  player2.keys = 1;
  Tap(VK_RIGHT);
  EXPECT_STREQ(Feedback_Line(), "A key opened the locked door");

  here.treasure_p2 = 1;
  Place(player2, 0, 0, 3, 4);
  Tap(VK_UP);  // onto (3, 3): the treasure
  EXPECT_STREQ(Feedback_Line(), "Treasure 1 of 5");

  // The scoreboard: each player's treasure picture above the overview.
  EXPECT_EQ(Shown_Pixel(330 + 16, 20 + 16), Colour_Of(BOB_artifacts, 3));
  EXPECT_EQ(Shown_Pixel(422 + 16, 20 + 16), Colour_Of(BOB_artifacts, 5));
}

TEST_F(Comforts, BoardMarksShowPawnsTheShownBlockItemsLocksAndThePointersCell) {
  board.blocks[2][3].squares[1][1].content = KEY;
  board.blocks[4][1].squares[6][2].content = TOKEN;
  board.blocks[6][6].locked = 1;
  board.blocks[6][6].type = 12;  // a dead end, with its door
  Pointer(Cell_X(5) + 10, Cell_Y(5) + 10, 0);
  Play_Frame(0);
  EXPECT_FALSE(Mark_At(Cell_X(2), Cell_Y(3), MARK_KEY));
  EXPECT_TRUE(Hover_Tint_Shown());

  Turn_On(SETTING_BOARD_MARKS);
  Play_Frame(0);
  EXPECT_FALSE(Hover_Tint_Shown());
  EXPECT_TRUE(Mark_At(Cell_X(2), Cell_Y(3), MARK_KEY));
  EXPECT_TRUE(Mark_At(Cell_X(4), Cell_Y(1), MARK_TOKEN));
  EXPECT_TRUE(Mark_At(Cell_X(6), Cell_Y(6), MARK_LOCKED));
  EXPECT_TRUE(Mark_At(Cell_X(0), Cell_Y(0), MARK_PAWN_P2));
  EXPECT_TRUE(Mark_At(Cell_X(7), Cell_Y(7), MARK_PAWN_P1));
  EXPECT_TRUE(Mark_At(Cell_X(0), Cell_Y(0), MARK_SHOWN));
  EXPECT_TRUE(Mark_At(Cell_X(5), Cell_Y(5), MARK_HOVER_P2));
  EXPECT_FALSE(Mark_At(Cell_X(5), Cell_Y(5), MARK_KEY));
  EXPECT_FALSE(Mark_At(Cell_X(2), Cell_Y(3), MARK_SHOWN));
}

// Block (0,0) alone (no block has an exit), split down column 5 by a wall with a closed door at (5, 4).
class ReachLights : public Comforts {
 protected:
  void SetUp() override {
    Comforts::SetUp();
    for (auto& column : board.blocks)
      for (MazeBlock& b : column) b.exit_north = b.exit_east = b.exit_south = b.exit_west = 0;
    for (int y = 0; y < 8; ++y) board.blocks[0][0].squares[5][y].blocked = 1;
    board.blocks[0][0].squares[5][4].content = DOOR_EW_CLOSED;
  }
};

TEST_F(ReachLights, TheDetailViewLightsTheSquaresInReachAndTheOverviewMarksTheirBlocks) {
  board.blocks[0][0].locked = 1;
  current_block = board.blocks[0][0];
  Turn_On(SETTING_REACHABLE_SQUARES);
  Play_Frame(0);
  const auto square_x = [](int sx) { return DETAIL_X + SQUARE_PITCH * sx; };
  const auto square_y = [](int sy) { return DETAIL_Y + SQUARE_PITCH * sy; };
  EXPECT_TRUE(Mark_At(square_x(2), square_y(6), MARK_REACH_SQUARE));
  EXPECT_FALSE(Mark_At(square_x(6), square_y(6), MARK_REACH_SQUARE));
  EXPECT_TRUE(Mark_At(Cell_X(0), Cell_Y(0), MARK_REACH_CELL));
  EXPECT_FALSE(Mark_At(Cell_X(1), Cell_Y(0), MARK_REACH_CELL));
}

}  // namespace

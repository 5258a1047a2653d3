// The shift buttons and the overview cells, hit-tested inside the drawing pass.
#include "play_fixture.h"

using ShiftButtons = PlayScreen;
using OverviewCells = PlayScreen;

namespace {
// The middle of shift button n of a line.
int Top_X(int n) { return 317 + 32 * n + 16; }
int Side_Y(int n) { return 75 + 32 * n + 16; }
}  // namespace

TEST_F(ShiftButtons, EachLineMovesItsOwnLineAndCostsAnAction) {
  player2.actions = 4;
  const int32_t col2_bottom = board.blocks[2][7].number, row4_right = board.blocks[7][4].number;

  Pointer(Top_X(3), 75 + 16, 1);
  Play_Frame(0);
  EXPECT_EQ(Shown_Pixel(Top_X(3), 91), Colour_Of(BOB_game_buttons, 6));  // pressed face while held
  EXPECT_EQ(Shown_Pixel(Top_X(4), 91), Colour_Of(BOB_game_buttons, 2));
  Pointer(Top_X(3), 75 + 16, 0);
  Play_Frame(0);
  EXPECT_EQ(Shown_Pixel(Top_X(3), 91), Colour_Of(BOB_game_buttons, 2));
  EXPECT_EQ(board.blocks[2][0].number, col2_bottom);  // column 2 moved down, the bottom block wrapped
  EXPECT_EQ(player2.actions, 3);

  Click(Top_X(3), 363 + 16);  // bottom line: back up
  EXPECT_EQ(board.blocks[2][7].number, col2_bottom);
  Click(317 + 16, Side_Y(5));  // left line: row 4 to the right
  EXPECT_EQ(board.blocks[0][4].number, row4_right);
  EXPECT_EQ(Shown_Pixel(317 + 16, Side_Y(5)), Colour_Of(BOB_game_buttons, 1));
  Click(605 + 16, Side_Y(5));  // right line: back to the left
  EXPECT_EQ(board.blocks[7][4].number, row4_right);
  EXPECT_EQ(Shown_Pixel(605 + 16, Side_Y(5)), Colour_Of(BOB_game_buttons, 0));
  EXPECT_EQ(player2.actions, 0);

  Click(Top_X(3), 75 + 16);  // no actions left: nothing moves
  EXPECT_EQ(board.blocks[2][7].number, col2_bottom);
  EXPECT_EQ(player2.actions, 0);
}

TEST_F(ShiftButtons, TheCornersAndTheButtonEdgesAreNotButtons) {
  player2.actions = 5;
  const int32_t before = board.blocks[0][0].number;
  Click(317 + 16, 75 + 16);  // corner n = 0 of the top and left lines
  Click(349, 75 + 16);       // left edge of top button 1
  Click(349 + 16, 75);       // top edge of top button 1
  EXPECT_EQ(player2.actions, 5);
  EXPECT_EQ(board.blocks[0][0].number, before);
  Click(350, 76);  // just inside
  EXPECT_EQ(player2.actions, 4);
}

TEST_F(ShiftButtons, ThePlayerInAShiftedColumnTravelsWithIt) {
  Place(player2, 0, 7, 4, 4);
  Click(Top_X(1), 75 + 16);
  EXPECT_EQ(player2.block_y, 0);
  EXPECT_EQ(player2.block_number, board.blocks[0][0].number);
}

TEST_F(OverviewCells, LeftClickViewsAnyBlockForFree) {
  Click(Cell_X(5) + 16, Cell_Y(2) + 16);
  EXPECT_EQ(current_block.number, board.blocks[5][2].number);
  EXPECT_EQ(player2.actions, 1);
  EXPECT_EQ(player2.block_x, 0);
}

TEST_F(OverviewCells, RightClickTurnsABlockForAnActionAndHomeBlocksRefuse) {
  board.blocks[5][2].type = 1;
  player2.actions = 1;
  Click(Cell_X(5) + 16, Cell_Y(2) + 16, 2);
  EXPECT_EQ(board.blocks[5][2].type, 0);
  EXPECT_EQ(player2.actions, 0);
  EXPECT_EQ(current_block.type, 0);

  Click(Cell_X(5) + 16, Cell_Y(2) + 16, 2);  // no action left
  EXPECT_EQ(board.blocks[5][2].type, 0);

  player2.actions = 3;
  board.blocks[6][6].home = 1;
  board.blocks[6][6].type = 2;
  Click(Cell_X(6) + 16, Cell_Y(6) + 16, 2);
  EXPECT_EQ(board.blocks[6][6].type, 2);
  EXPECT_EQ(player2.actions, 3);
  EXPECT_EQ(current_block.number, board.blocks[6][6].number);  // the view switches all the same
}

TEST_F(OverviewCells, ATurnCarriesBothPlayersAndDumpsTheirSquares) {
  board.blocks[3][3].type = 1;
  Place(player1, 3, 3, 2, 5);
  Place(player2, 3, 3, 7, 0);
  Pointer(Cell_X(3) + 16, Cell_Y(3) + 16, 2);
  Play_Frame(0);
  testing::internal::CaptureStderr();
  Pointer(Cell_X(3) + 16, Cell_Y(3) + 16, 0);
  Play_Frame(0);
  const std::string dump = testing::internal::GetCapturedStderr();

  EXPECT_EQ(player1.square_x, 5);
  EXPECT_EQ(player1.square_y, 5);
  EXPECT_EQ(player2.square_x, 0);
  EXPECT_EQ(player2.square_y, 0);
  auto grid = [](int x, int y) {
    std::string s;
    for (int gy = 0; gy < 8; ++gy) {
      for (int gx = 0; gx < 8; ++gx) s += (gx == x && gy == y) ? "1" : "0";
      s += "\n";
    }
    return s + "\n";
  };
  EXPECT_EQ(dump, grid(5, 5) + grid(0, 0));
}

TEST_F(OverviewCells, BackgroundTellsWhoStandsThereAndWhoseTurnItIs) {
  Place(player1, 2, 2, 1, 1);
  Place(player2, 2, 2, 6, 6);
  Pointer(Cell_X(4) + 16, Cell_Y(4) + 16, 0);
  auto back = [this](int bx, int by) {
    return Shown_Pixel(OVERVIEW_X + 32 * bx + 31, OVERVIEW_Y + 32 * by + 10);
  };
  Play_Frame(0);
  EXPECT_EQ(back(2, 2), Colour_Of(BOB_block_back, 0));  // player 2 shows over player 1
  EXPECT_EQ(back(4, 4), Colour_Of(BOB_block_back, 0));  // the pointer, at player 2's turn
  EXPECT_EQ(back(5, 4), Colour_Of(BOB_block_back, 2));
  current_player = 1;
  Play_Frame(0);
  EXPECT_EQ(back(4, 4), Colour_Of(BOB_block_back, 1));

  board.blocks[6][1].treasure_p1 = 1;
  board.blocks[6][1].treasure_p2 = 1;
  board.blocks[6][2].treasure_p1 = 1;
  board.blocks[6][3].type = 14;
  Play_Frame(0);
  EXPECT_EQ(Shown_Pixel(Cell_X(6) + 16, Cell_Y(1) + 16), Colour_Of(BOB_treasure, 0));
  EXPECT_EQ(Shown_Pixel(Cell_X(6) + 16, Cell_Y(2) + 16), Colour_Of(BOB_treasure, 1));
  EXPECT_EQ(Shown_Pixel(Cell_X(6) + 16, Cell_Y(3) + 16), Colour_Of(BOB_pasigas, 14));
}

// Shifting rows and columns: blocks move whole and wrap around, players travel with
// their blocks, and indexes or flags out of range do nothing.
#include <gtest/gtest.h>

#include "tests/game/support.h"

using namespace orvalis_test;

namespace {
class Shifts : public testing::Test {
 protected:
  void SetUp() override {
    Fill_Open_Board(board);
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        board.blocks[x][y].type = (x + y) % 15;
        board.blocks[x][y].locked = (x * y) % 2;
        board.blocks[x][y].squares[x][y].content = 100 + x * 8 + y;  // a mark that travels
      }
    player1 = PlayerState{};
    player2 = PlayerState{};
  }
  static int Number(int x, int y) { return board.blocks[x][y].number; }
  GlobalsGuard guard_;
};
int N(int bx, int by) { return by * 8 + bx + 1; }
}  // namespace

TEST_F(Shifts, ColumnDownWrapsTheBottomBlockToTheTop) {
  Shift_Column(1, 1, board);
  EXPECT_EQ(Number(0, 0), N(0, 7));
  for (int y = 1; y < 8; ++y) {
    EXPECT_EQ(Number(0, y), N(0, y - 1));
  }
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(Number(1, y), N(1, y)) << "other columns stay";
  }
  // Whole blocks: squares, flags and type travel.
  EXPECT_EQ(board.blocks[0][0].squares[0][7].content, 100 + 7);
  EXPECT_EQ(board.blocks[0][0].type, 7);
  EXPECT_EQ(board.blocks[0][3].locked, 0);
}

TEST_F(Shifts, ColumnUpWrapsTheTopBlockToTheBottom) {
  Shift_Column(8, 0, board);
  EXPECT_EQ(Number(7, 7), N(7, 0));
  for (int y = 0; y < 7; ++y) {
    EXPECT_EQ(Number(7, y), N(7, y + 1));
  }
}

TEST_F(Shifts, RowRightAndLeft) {
  Shift_Row(3, 1, board);
  EXPECT_EQ(Number(0, 2), N(7, 2));
  for (int x = 1; x < 8; ++x) {
    EXPECT_EQ(Number(x, 2), N(x - 1, 2));
  }
  Shift_Row(3, 0, board);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(Number(x, 2), N(x, 2)) << "left undoes right";
  }
  Shift_Row(5, 0, board);
  EXPECT_EQ(Number(7, 4), N(0, 4));
  for (int x = 0; x < 7; ++x) {
    EXPECT_EQ(Number(x, 4), N(x + 1, 4));
  }
}

TEST_F(Shifts, EightShiftsComeBackAround) {
  for (int i = 0; i < 8; ++i) Shift_Column(4, 1, board);
  for (int i = 0; i < 8; ++i) Shift_Row(6, 0, board);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(Number(x, y), N(x, y));
    }
}

TEST_F(Shifts, PlayersTravelWithTheirBlocksAndWrap) {
  player1.block_x = 0;
  player1.block_y = 7;
  player1.square_x = 2;
  player1.square_y = 5;
  player2.block_x = 0;
  player2.block_y = 3;
  Shift_Column(1, 1, board);
  EXPECT_EQ(player1.block_y, 0) << "7 wraps to 0";
  EXPECT_EQ(player1.block_x, 0);
  EXPECT_EQ(player1.square_x, 2);
  EXPECT_EQ(player1.square_y, 5);
  EXPECT_EQ(player2.block_y, 4);
  Shift_Column(1, 0, board);
  EXPECT_EQ(player1.block_y, 7) << "-1 wraps to 7";
  EXPECT_EQ(player2.block_y, 3);
  // Rows: only the players in the moved row.
  player1.block_x = 7;
  player1.block_y = 2;
  Shift_Row(3, 1, board);
  EXPECT_EQ(player1.block_x, 0);
  EXPECT_EQ(player2.block_x, 0) << "a player in another row stays";
  player2.block_y = 2;
  player2.block_x = 3;
  Shift_Row(3, 0, board);
  EXPECT_EQ(player1.block_x, 7);
  EXPECT_EQ(player2.block_x, 2);
  // The player is still on the same block.
  EXPECT_EQ(board.blocks[player1.block_x][player1.block_y].number, N(7, 2));
}

TEST_F(Shifts, LinesWithHomeBlocksShiftToo) {
  board.blocks[0][0].home = 1;
  Shift_Row(1, 1, board);
  EXPECT_EQ(board.blocks[1][0].home, 1);
  EXPECT_EQ(board.blocks[1][0].number, 1);
}

TEST_F(Shifts, OutOfRangeDoesNothing) {
  player1.block_x = 0;
  for (int index : {0, 9, -1, 100}) {
    Shift_Column(index, 1, board);
    Shift_Row(index, 0, board);
  }
  Shift_Column(1, 2, board);
  Shift_Row(1, 255, board);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(Number(x, y), N(x, y));
    }
  EXPECT_EQ(player1.block_y, 0);
}

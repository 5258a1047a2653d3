// Steps and doors: the four directions, crossings into neighbours, the board edge, the
// rule of entry, doors opening in place, keys unlocking a whole block, and Move_Current_Player.
#include <gtest/gtest.h>

#include <memory>

#include "tests/game/support.h"

using namespace orvalis_test;

namespace {

class Steps : public testing::Test {
 protected:
  void SetUp() override { Fill_Open_Board(board); }
  GlobalsGuard guard_;

  static PlayerState At(int bx, int by, int sx, int sy, int facing) {
    PlayerState p;
    p.block_x = bx;
    p.block_y = by;
    p.square_x = sx;
    p.square_y = sy;
    p.sprite.current_frame = facing;
    return p;
  }
  static void Expect_At(const PlayerState& p, int bx, int by, int sx, int sy) {
    EXPECT_EQ(p.block_x, bx);
    EXPECT_EQ(p.block_y, by);
    EXPECT_EQ(p.square_x, sx);
    EXPECT_EQ(p.square_y, sy);
  }
};

}  // namespace

TEST_F(Steps, EachDirectionMovesOneSquare) {
  Expect_At(Step_Player(At(3, 3, 4, 4, DIR_UP), board), 3, 3, 4, 3);
  Expect_At(Step_Player(At(3, 3, 4, 4, DIR_RIGHT), board), 3, 3, 5, 4);
  Expect_At(Step_Player(At(3, 3, 4, 4, DIR_LEFT), board), 3, 3, 3, 4);
  Expect_At(Step_Player(At(3, 3, 4, 4, DIR_DOWN), board), 3, 3, 4, 5);
  // Any other facing changes nothing.
  for (int d : {-1, 4, 99}) Expect_At(Step_Player(At(3, 3, 4, 4, d), board), 3, 3, 4, 4);
}

TEST_F(Steps, StepChangesNothingButThePosition) {
  PlayerState p = At(3, 3, 4, 4, DIR_RIGHT);
  p.treasures = 2;
  p.items = 7;
  p.actions = 3;
  p.keys = 1;
  const PlayerState q = Step_Player(p, board);
  EXPECT_EQ(q.sprite.current_frame, DIR_RIGHT);
  EXPECT_EQ(q.treasures, 2);
  EXPECT_EQ(q.items, 7);
  EXPECT_EQ(q.actions, 3);
  EXPECT_EQ(q.keys, 1);
}

TEST_F(Steps, CrossingTestsOnlyTheNeighboursFacingExit) {
  // (7,3) of block (2,5) stepping right lands on (0,3) of block (3,5) when it has exit_west, even
  // when block (2,5) has no east exit and (0,3) of block (3,5) is blocked.
  board.blocks[2][5].exit_east = 0;
  board.blocks[3][5].squares[0][3] = Square{1, 8};
  Expect_At(Step_Player(At(2, 5, 7, 3, DIR_RIGHT), board), 3, 5, 0, 3);
  board.blocks[3][5].exit_west = 0;
  Expect_At(Step_Player(At(2, 5, 7, 3, DIR_RIGHT), board), 2, 5, 7, 3);
  // The other three directions, with the other coordinate kept.
  Expect_At(Step_Player(At(2, 5, 5, 0, DIR_UP), board), 2, 4, 5, 7);
  Expect_At(Step_Player(At(2, 5, 0, 6, DIR_LEFT), board), 1, 5, 7, 6);
  Expect_At(Step_Player(At(2, 5, 2, 7, DIR_DOWN), board), 2, 6, 2, 0);
  board.blocks[2][4].exit_south = 0;
  board.blocks[1][5].exit_east = 0;
  board.blocks[2][6].exit_north = 0;
  Expect_At(Step_Player(At(2, 5, 5, 0, DIR_UP), board), 2, 5, 5, 0);
  Expect_At(Step_Player(At(2, 5, 0, 6, DIR_LEFT), board), 2, 5, 0, 6);
  Expect_At(Step_Player(At(2, 5, 2, 7, DIR_DOWN), board), 2, 5, 2, 7);
}

TEST_F(Steps, TheBoardEdgeCannotBeLeft) {
  Expect_At(Step_Player(At(0, 4, 0, 3, DIR_LEFT), board), 0, 4, 0, 3);
  Expect_At(Step_Player(At(7, 4, 7, 3, DIR_RIGHT), board), 7, 4, 7, 3);
  Expect_At(Step_Player(At(4, 0, 3, 0, DIR_UP), board), 4, 0, 3, 0);
  Expect_At(Step_Player(At(4, 7, 3, 7, DIR_DOWN), board), 4, 7, 3, 7);
}

TEST_F(Steps, RuleOfEntry) {
  MazeBlock& b = board.blocks[3][3];
  auto right_into = [&](Square s) {
    b.squares[5][4] = s;
    return Step_Player(At(3, 3, 4, 4, DIR_RIGHT), board).square_x == 5;
  };
  EXPECT_TRUE(right_into({0, 0}));
  EXPECT_FALSE(right_into({1, 0}));  // wall or solid object
  EXPECT_TRUE(right_into({0, TOKEN}));
  EXPECT_TRUE(right_into({0, KEY}));
  EXPECT_TRUE(right_into({0, HOME_MARK}));
  EXPECT_TRUE(right_into({0, 9}));    // an open object
  EXPECT_FALSE(right_into({1, 10}));  // a blocked object
  EXPECT_FALSE(right_into({0, DOOR_EW_POST}));
  EXPECT_FALSE(right_into({0, DOOR_NS_POST}));
  EXPECT_FALSE(right_into({0, DOOR_NS_OPEN}));  // the open door of the other axis
  EXPECT_TRUE(right_into({0, DOOR_EW_OPEN}));
  EXPECT_TRUE(right_into({1, DOOR_EW_OPEN}));  // open in its axis whatever blocked says
  EXPECT_FALSE(right_into({0, 100}));
  auto up_into = [&](Square s) {
    b.squares[4][3] = s;
    return Step_Player(At(3, 3, 4, 4, DIR_UP), board).square_y == 3;
  };
  EXPECT_TRUE(up_into({1, DOOR_NS_OPEN}));
  EXPECT_FALSE(up_into({0, DOOR_EW_OPEN}));
  EXPECT_FALSE(up_into({0, DOOR_EW_CLOSED}));
  EXPECT_EQ(b.squares[4][3].content, DOOR_EW_CLOSED) << "a closed door of the other axis does not open";
}

TEST_F(Steps, DoorOpensInPlaceThenIsEntered) {
  MazeBlock& b = board.blocks[1][1];
  b.squares[4][3] = Square{0, DOOR_NS_CLOSED};
  PlayerState p = At(1, 1, 4, 4, DIR_UP);
  p = Step_Player(p, board);
  Expect_At(p, 1, 1, 4, 4);
  EXPECT_EQ(b.squares[4][3].content, DOOR_NS_OPEN);
  p = Step_Player(p, board);
  Expect_At(p, 1, 1, 4, 3);
  // The same for the east-west door, from the left.
  b.squares[2][2] = Square{1, DOOR_EW_CLOSED};
  p = At(1, 1, 1, 2, DIR_RIGHT);
  p = Step_Player(p, board);
  Expect_At(p, 1, 1, 1, 2);
  EXPECT_EQ(b.squares[2][2].content, DOOR_EW_OPEN);
  p = Step_Player(p, board);
  Expect_At(p, 1, 1, 2, 2);
}

TEST_F(Steps, LockedDoorNeedsAKeyAndTheKeyUnlocksTheBlock) {
  MazeBlock& b = board.blocks[4][4];
  b.locked = 1;
  b.squares[4][3] = Square{0, DOOR_NS_CLOSED};
  b.squares[4][6] = Square{0, DOOR_NS_CLOSED};
  PlayerState p = At(4, 4, 4, 4, DIR_UP);
  p.keys = 0;
  p = Step_Player(p, board);
  EXPECT_EQ(b.squares[4][3].content, DOOR_NS_CLOSED);
  EXPECT_EQ(b.locked, 1);
  p.keys = 2;
  p = Step_Player(p, board);
  EXPECT_EQ(p.keys, 1);
  EXPECT_EQ(b.locked, 0);
  EXPECT_EQ(b.squares[4][3].content, DOOR_NS_OPEN);
  Expect_At(p, 4, 4, 4, 4);
  // A second closed door of the same block opens without a key.
  p.sprite.current_frame = DIR_DOWN;
  p = Step_Player(p, board);
  p = Step_Player(p, board);
  EXPECT_EQ(b.squares[4][6].content, DOOR_NS_OPEN);
  EXPECT_EQ(p.keys, 1);
  // A key is never spent on a closed door of the other axis.
  b.locked = 1;
  b.squares[5][4] = Square{0, DOOR_NS_CLOSED};
  p = At(4, 4, 4, 4, DIR_RIGHT);
  p.keys = 1;
  p = Step_Player(p, board);
  EXPECT_EQ(p.keys, 1);
  EXPECT_EQ(b.locked, 1);
}

TEST_F(Steps, ShippedDeadEndIsEnteredThroughItsDoor) {
  // A dead end open to the north below a type-9 straight: walk down through the opening, open the leaf, reach
  // the centre. The post beside it never opens.
  MazeBlock& above = board.blocks[2][2];
  MazeBlock& dead = board.blocks[2][3];
  above.type = 9;
  above.Load_Template();
  dead.type = 13;  // open to the north
  dead.Load_Template();
  dead.locked = 1;
  PlayerState p = At(2, 2, 4, 4, DIR_DOWN);
  p.keys = 1;
  for (int i = 0; i < 3; ++i) p = Step_Player(p, board);  // (4,5) (4,6) (4,7)
  Expect_At(p, 2, 2, 4, 7);
  p = Step_Player(p, board);
  Expect_At(p, 2, 3, 4, 0);
  p = Step_Player(p, board);  // opens the leaf with the key
  Expect_At(p, 2, 3, 4, 0);
  EXPECT_EQ(p.keys, 0);
  EXPECT_EQ(dead.locked, 0);
  for (int i = 0; i < 3; ++i) p = Step_Player(p, board);
  Expect_At(p, 2, 3, 4, 3);
  // The post at (3,1): from (3,0) stepping down does nothing.
  p = At(2, 3, 3, 0, DIR_DOWN);
  Expect_At(Step_Player(p, board), 2, 3, 3, 0);
  EXPECT_EQ(dead.squares[3][1].content, DOOR_NS_POST);
}

TEST_F(Steps, MoveCurrentPlayerTurnsStepsAndReturnsTheBlock) {
  player2 = At(0, 0, 4, 4, DIR_DOWN);
  player1 = At(5, 5, 4, 4, DIR_DOWN);
  board.blocks[0][0].squares[4][3] = Square{1, 0};
  current_player = 0;
  MazeBlock shown = Move_Current_Player(DIR_UP, current_block, board);
  EXPECT_EQ(player2.sprite.current_frame, DIR_UP) << "the facing changes even when nothing moves";
  Expect_At(player2, 0, 0, 4, 4);
  EXPECT_EQ(shown.number, 1);
  player2.square_x = 7;
  player2.square_y = 3;
  shown = Move_Current_Player(DIR_RIGHT, current_block, board);
  Expect_At(player2, 1, 0, 0, 3);
  EXPECT_EQ(shown.number, 2);
  EXPECT_EQ(player1.sprite.current_frame, DIR_DOWN);
  current_player = 1;
  shown = Move_Current_Player(DIR_LEFT, current_block, board);
  EXPECT_EQ(player1.sprite.current_frame, DIR_LEFT);
  Expect_At(player1, 5, 5, 3, 4);
  EXPECT_EQ(shown.number, 5 * 8 + 5 + 1);
  // With any other current_player the given block comes back and nobody moves.
  current_player = 2;
  MazeBlock given = Open_Block();
  given.number = 99;
  shown = Move_Current_Player(DIR_RIGHT, given, board);
  EXPECT_EQ(shown.number, 99);
  Expect_At(player1, 5, 5, 3, 4);
  EXPECT_EQ(player1.sprite.current_frame, DIR_LEFT);
}

TEST_F(Steps, CurrentBlockIsACopy) {
  player2 = At(0, 0, 4, 4, DIR_DOWN);
  current_player = 0;
  current_block = Move_Current_Player(DIR_DOWN, current_block, board);
  board.blocks[0][0].squares[1][1].content = KEY;
  EXPECT_EQ(current_block.squares[1][1].content, 0);
}

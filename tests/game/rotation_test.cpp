// Rotations (and the players' squares turned with their block): the type cycles, home
// blocks and the crossing refusing, doors and 'z' objects drawn anew, tokens and keys put back, and
// the players' squares turned with their block (both players when both stand in it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "game/random.h"
#include "tests/game/support.h"

using namespace orvalis_test;

namespace {
MazeBlock Of_Type(int type) {
  MazeBlock b = Open_Block();
  b.type = type;
  b.Load_Template();
  return b;
}
}  // namespace

TEST(Rotation, TypeCycles) {
  const int next[15] = {2, 0, 3, 1, 5, 6, 7, 4, 9, 8, 10, 12, 13, 14, 11};
  for (int t = 0; t < 15; ++t) {
    MazeBlock b = Of_Type(t);
    const uint8_t turned = b.Rotate();
    EXPECT_EQ(b.type, next[t]) << t;
    EXPECT_EQ(turned, t == 10 ? 0 : 1) << t;
  }
  MazeBlock b = Of_Type(1);
  b.Rotate();
  EXPECT_EQ(b.type, 0);
  b = Of_Type(3);
  b.Rotate();
  EXPECT_EQ(b.type, 1);
}

TEST(Rotation, ExitsTurnCounterClockwise) {
  // North becomes west, east becomes north, south becomes east, west becomes south.
  for (int t = 0; t < 15; ++t) {
    MazeBlock b = Of_Type(t);
    const MazeBlock before = b;
    b.Rotate();
    EXPECT_EQ(b.exit_west, before.exit_north) << t;
    EXPECT_EQ(b.exit_north, before.exit_east) << t;
    EXPECT_EQ(b.exit_east, before.exit_south) << t;
    EXPECT_EQ(b.exit_south, before.exit_west) << t;
  }
}

TEST(Rotation, HomeBlockRefusesAndChangesNothing) {
  MazeBlock b = Of_Type(11);
  b.home = 1;
  b.has_token = 1;
  b.squares[4][6].content = DOOR_NS_OPEN;
  const MazeBlock before = b;
  EXPECT_EQ(b.Rotate(), 0);
  EXPECT_TRUE(Same_Block(b, before));
}

TEST(Rotation, CrossingKeepsItsTypeButPutsItsItemBack) {
  MazeBlock b = Of_Type(10);
  b.has_key = 1;
  EXPECT_EQ(b.Rotate(), 0);
  EXPECT_EQ(b.type, 10);
  EXPECT_EQ(b.squares[4][4].content, KEY);
}

TEST(Rotation, OpenedDoorComesBackClosed) {
  // A type-12 block whose door was opened is, after one rotation, a type-13 block with a closed
  // door: 106 on (3,1) and 107 on (4,1).
  MazeBlock b = Of_Type(12);
  b.squares[6][4].content = DOOR_EW_OPEN;
  EXPECT_EQ(b.Rotate(), 1);
  EXPECT_EQ(b.type, 13);
  EXPECT_EQ(b.squares[3][1].content, DOOR_NS_POST);
  EXPECT_EQ(b.squares[4][1].content, DOOR_NS_CLOSED);
  EXPECT_EQ(b.squares[6][4].content, 0);
}

TEST(Rotation, TokenOrKeyStillThereIsPutBackAndFlagsStay) {
  MazeBlock b = Of_Type(4);
  b.number = 30;
  b.locked = 1;
  b.treasure_p1 = 1;
  b.special_placed = 1;
  b.Place_Token();
  b.Rotate();
  EXPECT_EQ(b.squares[4][4].content, TOKEN);
  EXPECT_EQ(b.number, 30);
  EXPECT_EQ(b.locked, 1);
  EXPECT_EQ(b.treasure_p1, 1);
  // Token first: with both flags set only the token is put back.
  b.has_key = 1;
  b.Rotate();
  EXPECT_EQ(b.squares[4][4].content, TOKEN);
  // A picked-up item does not come back.
  b.has_token = 0;
  b.has_key = 0;
  b.squares[4][4].content = 0;
  b.Rotate();
  EXPECT_EQ(b.squares[4][4].content, 0);
  b.has_key = 1;
  b.Rotate();
  EXPECT_EQ(b.squares[4][4].content, KEY);
}

TEST(Rotation, ObjectsAreDrawnAnew) {
  GlobalsGuard guard;
  MazeBlock b = Of_Type(4);
  Seed_Random(123);
  b.Rotate();  // type 5, its 'z' cells drawn now
  MazeBlock reference = Open_Block();
  reference.type = 5;
  Seed_Random(123);
  reference.Load_Template();
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(b.squares[x][y].content, reference.squares[x][y].content);
    }
}

TEST(Rotation, SquareTurnsAQuarterAnticlockwise) {
  int32_t x = 0, y = 0;
  Rotate_Square(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 7);
  x = 7, y = 0;
  Rotate_Square(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  x = 2, y = 5;
  for (int i = 0; i < 4; ++i) Rotate_Square(x, y);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 5);
  x = 4, y = 4;
  Rotate_Square(x, y);
  EXPECT_EQ(x, 4);
  EXPECT_EQ(y, 3);
}

TEST(Rotation, PlayersInTheBlockTurnWithIt) {
  GlobalsGuard guard;
  MazeBlock b = Of_Type(0);
  b.number = 20;
  player1 = PlayerState{};
  player2 = PlayerState{};
  player1.block_number = 20;
  player1.square_x = 1, player1.square_y = 2;
  player2.block_number = 21;
  player2.square_x = 5, player2.square_y = 6;
  EXPECT_EQ(Rotate_Players_In_Block(b), 1);
  EXPECT_EQ(player1.square_x, 2);
  EXPECT_EQ(player1.square_y, 6);
  EXPECT_EQ(player2.square_x, 5) << "a player in another block stays";
  EXPECT_EQ(player2.square_y, 6);
  player1.block_number = 21;
  player2.block_number = 20;
  EXPECT_EQ(Rotate_Players_In_Block(b), 2);
  EXPECT_EQ(player2.square_x, 6);
  EXPECT_EQ(player2.square_y, 2);
  EXPECT_EQ(player1.square_x, 2);
  player1.block_number = 22;
  player2.block_number = 22;
  EXPECT_EQ(Rotate_Players_In_Block(b), 0);
}

TEST(Rotation, BothPlayersInTheBlockBothTurn) {
  // The playing screen once turned only player 1's square, leaving player 2 on a spot that no
  // longer matched the picture. Both turn now.
  GlobalsGuard guard;
  Fill_Open_Board(board);
  board.blocks[3][2] = Of_Type(5);
  board.blocks[3][2].number = 20;
  player1.block_x = player2.block_x = 3;
  player1.block_y = player2.block_y = 2;
  player1.block_number = player2.block_number = 20;
  player1.square_x = 4, player1.square_y = 4;
  player2.square_x = 1, player2.square_y = 3;  // the west opening of type 5 is closed: (1,3) -> (3,6)
  current_player = 0;
  player2.actions = 1;
  EXPECT_EQ(Right_Click_Rotate(3, 2), 3);
  EXPECT_EQ(player2.actions, 0);
  EXPECT_EQ(player1.square_x, 4);
  EXPECT_EQ(player1.square_y, 3);
  EXPECT_EQ(player2.square_x, 3);
  EXPECT_EQ(player2.square_y, 6);
  const MazeBlock& turned = board.blocks[3][2];
  EXPECT_EQ(turned.type, 6);
  EXPECT_EQ(turned.squares[4][3].blocked, 0);
  EXPECT_EQ(turned.squares[3][6].blocked, 0);
}

TEST(Rotation, EveryOpenSquareTurnsOntoAnOpenSquare) {
  // Wherever a player can stand in a family's template, the turned square is open in the turned
  // type (apart from 'z' spots, which are drawn anew and may become solid).
  for (int t = 0; t < 15; ++t) {
    if (t == 10) continue;
    MazeBlock b = Of_Type(t);
    const std::string text = Read_Text(std::to_string(t) + ".txt");
    MazeBlock turned = b;
    ASSERT_EQ(turned.Rotate(), 1);
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        if (b.squares[x][y].blocked || text[static_cast<std::size_t>(y * 9 + x)] == 'z') continue;
        int32_t nx = x, ny = y;
        Rotate_Square(nx, ny);
        EXPECT_EQ(turned.squares[nx][ny].blocked, 0) << "type " << t << " (" << x << "," << y << ")";
      }
  }
}

TEST(Rotation, RightClickChargesOnlyForATurn) {
  GlobalsGuard guard;
  Fill_Open_Board(board);
  board.blocks[0][0] = Of_Type(11);
  board.blocks[0][0].home = 1;
  board.blocks[0][0].number = 1;
  board.blocks[1][0] = Of_Type(10);
  board.blocks[1][0].number = 2;
  board.blocks[2][0] = Of_Type(8);
  board.blocks[2][0].number = 3;
  current_player = 1;
  player1.actions = 1;
  player1.block_x = 5;
  player1.block_number = 6;
  EXPECT_EQ(Right_Click_Rotate(0, 0), -1);  // home
  EXPECT_EQ(Right_Click_Rotate(1, 0), -1);  // crossing
  EXPECT_EQ(player1.actions, 1);
  EXPECT_EQ(Right_Click_Rotate(2, 0), 0);
  EXPECT_EQ(player1.actions, 0);
  EXPECT_EQ(board.blocks[2][0].type, 9);
  EXPECT_EQ(Right_Click_Rotate(2, 0), -1) << "no actions left";
  EXPECT_EQ(board.blocks[2][0].type, 9);
  EXPECT_EQ(current_block.number, 3);
}

TEST(Rotation, UnlockedBlockOpensWithoutAKeyAfterATurn) {
  GlobalsGuard guard;
  Fill_Open_Board(board);
  board.blocks[4][4] = Of_Type(13);
  board.blocks[4][4].number = 37;
  board.blocks[4][4].locked = 1;
  PlayerState p;
  p.block_x = 4, p.block_y = 4, p.square_x = 4, p.square_y = 0, p.keys = 1;
  p.sprite.current_frame = DIR_DOWN;
  p = Step_Player(p, board);
  EXPECT_EQ(p.keys, 0);
  EXPECT_EQ(board.blocks[4][4].squares[4][1].content, DOOR_NS_OPEN);
  board.blocks[4][4].Rotate();  // 14: door leaf (1,4), closed again
  board.blocks[4][4].Rotate();  // 11: door leaf (4,6)
  EXPECT_EQ(board.blocks[4][4].squares[4][6].content, DOOR_NS_CLOSED);
  EXPECT_EQ(board.blocks[4][4].locked, 0);
  p.square_x = 4, p.square_y = 7, p.sprite.current_frame = DIR_UP;
  p = Step_Player(p, board);
  EXPECT_EQ(board.blocks[4][4].squares[4][6].content, DOOR_NS_OPEN);
  EXPECT_EQ(p.keys, 0);
}

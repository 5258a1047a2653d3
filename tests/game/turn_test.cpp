// Turn actions: the pickups for the player to move with their order and limits, the
// end-of-game test, and End_Turn's counters.
#include <gtest/gtest.h>

#include <utility>

#include "tests/game/support.h"

using namespace orvalis_test;

namespace {
class Turn : public testing::Test {
 protected:
  void SetUp() override {
    Fill_Open_Board(board);
    player1 = PlayerState{};
    player2 = PlayerState{};
    player1.block_x = player1.block_y = 7;
    player2.block_x = player2.block_y = 0;
  }
  GlobalsGuard guard_;
};
}  // namespace

TEST_F(Turn, KeyPickup) {
  current_player = 1;
  board.blocks[7][7].Place_Key();
  Apply_Pickups(board);
  EXPECT_EQ(player1.keys, 1);
  EXPECT_EQ(player1.items, 1);
  EXPECT_EQ(board.blocks[7][7].squares[4][4].content, 0);
  EXPECT_EQ(board.blocks[7][7].has_key, 0);
}

TEST_F(Turn, KeyStaysWhenKeysAreAtTheLimit) {
  current_player = 1;
  player1.keys = 5;
  board.blocks[7][7].Place_Key();
  Apply_Pickups(board);
  EXPECT_EQ(player1.keys, 5);
  EXPECT_EQ(player1.items, 0);
  EXPECT_EQ(board.blocks[7][7].squares[4][4].content, KEY);
  EXPECT_EQ(board.blocks[7][7].has_key, 1);
}

TEST_F(Turn, TokenPickupUpToFiveActions) {
  current_player = 0;
  player2.actions = 4;
  board.blocks[0][0].Place_Token();
  Apply_Pickups(board);
  EXPECT_EQ(player2.actions, 5);
  EXPECT_EQ(player2.items, 1);
  EXPECT_EQ(board.blocks[0][0].has_token, 0);
  board.blocks[0][0].Place_Token();
  Apply_Pickups(board);
  EXPECT_EQ(player2.actions, 5);
  EXPECT_EQ(player2.items, 1);
  EXPECT_EQ(board.blocks[0][0].squares[4][4].content, TOKEN);
}

TEST_F(Turn, OnlyThePlayerToMovePicksUp) {
  current_player = 0;
  board.blocks[7][7].Place_Key();
  Apply_Pickups(board);
  EXPECT_EQ(player1.keys, 0);
  current_player = 2;  // nobody
  board.blocks[0][0].Place_Key();
  Apply_Pickups(board);
  EXPECT_EQ(player2.keys, 0);
  EXPECT_EQ(player1.keys, 0);
}

TEST_F(Turn, TreasureOnlyOnThreeThreeAndOnlyOwn) {
  current_player = 0;
  board.blocks[0][0].Place_Treasure_P2();
  for (auto [x, y] : {std::pair{4, 4}, {3, 4}, {4, 3}, {3, 2}, {2, 3}}) {
    player2.square_x = x;
    player2.square_y = y;
    Apply_Pickups(board);  // only (3,3) itself
    EXPECT_EQ(player2.treasures, 0) << x << "," << y;
  }
  player2.square_x = player2.square_y = 3;
  Apply_Pickups(board);
  EXPECT_EQ(player2.treasures, 1);
  EXPECT_EQ(board.blocks[0][0].treasure_p2, 0);
  // The other player's treasure is never taken.
  board.blocks[0][0].Place_Treasure_P1();
  Apply_Pickups(board);
  EXPECT_EQ(player2.treasures, 1);
  EXPECT_EQ(board.blocks[0][0].treasure_p1, 1);
  // At five treasures the flag stays.
  player2.treasures = 5;
  board.blocks[0][0].Place_Treasure_P2();
  Apply_Pickups(board);
  EXPECT_EQ(player2.treasures, 5);
  EXPECT_EQ(board.blocks[0][0].treasure_p2, 1);
}

TEST_F(Turn, OnePickupPerFrameTreasureFirst) {
  current_player = 1;
  player1.square_x = player1.square_y = 3;
  MazeBlock& b = board.blocks[7][7];
  b.Place_Treasure_P1();
  b.squares[3][3].content = KEY;  // a key under the treasure square
  Apply_Pickups(board);
  EXPECT_EQ(player1.treasures, 1);
  EXPECT_EQ(player1.keys, 0);
  Apply_Pickups(board);
  EXPECT_EQ(player1.keys, 1);
  // Key before token never competes (one content per square); a token at the limit stays.
  b.squares[3][3].content = TOKEN;
  player1.actions = 5;
  Apply_Pickups(board);
  EXPECT_EQ(b.squares[3][3].content, TOKEN);
  EXPECT_EQ(player1.items, 1);
}

TEST_F(Turn, WinNeedsFiveTreasuresOnAHomeMark) {
  board.blocks[0][0].squares[3][4].content = HOME_MARK;
  board.blocks[7][7].squares[3][4].content = HOME_MARK;
  player2.square_x = 3;
  player2.square_y = 4;
  player2.treasures = 4;
  EXPECT_EQ(Check_Winner(board), 0);
  EXPECT_EQ(player2.winner, 0);
  player2.treasures = 5;
  player2.square_y = 5;
  EXPECT_EQ(Check_Winner(board), 0);
  // Either start block's mark counts.
  player2.block_x = player2.block_y = 7;
  player2.square_y = 4;
  EXPECT_EQ(Check_Winner(board), 1);
  EXPECT_EQ(player2.winner, 1);
  EXPECT_EQ(player1.winner, 0);
}

TEST_F(Turn, AnySquareWithContentThreeCountsWhateverTheTurn) {
  board.blocks[4][2].squares[6][1].content = HOME_MARK;
  player1.block_x = 4, player1.block_y = 2, player1.square_x = 6, player1.square_y = 1;
  player1.treasures = 5;
  current_player = 0;  // not player 1's turn
  EXPECT_EQ(Check_Winner(board), 1);
  EXPECT_EQ(player1.winner, 1);
}

TEST_F(Turn, PlayerTwoWinsWhenBothWould) {
  board.blocks[0][0].squares[3][4].content = HOME_MARK;
  board.blocks[7][7].squares[3][4].content = HOME_MARK;
  for (PlayerState* p : {&player1, &player2}) {
    p->square_x = 3;
    p->square_y = 4;
    p->treasures = 5;
  }
  EXPECT_EQ(Check_Winner(board), 1);
  EXPECT_EQ(player2.winner, 1);
  EXPECT_EQ(player1.winner, 0);
}

TEST_F(Turn, FifthTreasureThenHomeWins) {
  // Player 2 with 4 treasures takes the fifth on (3,3) of a block, then walks to a home mark.
  board.blocks[0][0].squares[3][4].content = HOME_MARK;
  board.blocks[0][0].Place_Treasure_P2();
  current_player = 0;
  player2.treasures = 4;
  player2.square_x = 3;
  player2.square_y = 3;
  EXPECT_EQ(Model_Frame(), 0);
  EXPECT_EQ(player2.treasures, 5);
  EXPECT_EQ(Move(DIR_DOWN), 1);
  EXPECT_EQ(player2.winner, 1);
}

TEST_F(Turn, EndTurnCounters) {
  current_player = 0;
  player1.actions = 0;
  player2.actions = 3;
  End_Turn(board);
  EXPECT_EQ(current_player, 1);
  EXPECT_EQ(player1.turns, 1);
  EXPECT_EQ(player2.turns, 0) << "the first mover is not counted for the first turn";
  EXPECT_EQ(player1.actions, 1);
  EXPECT_EQ(current_block.number, board.blocks[7][7].number);
  End_Turn(board);
  EXPECT_EQ(current_player, 0);
  EXPECT_EQ(player2.turns, 1);
  EXPECT_EQ(player2.actions, 3) << "a player who ends with 3 actions keeps 3";
  EXPECT_EQ(current_block.number, board.blocks[0][0].number);
  player1.actions = 2;
  End_Turn(board);
  EXPECT_EQ(player1.actions, 2);
  EXPECT_EQ(player1.turns, 2);
}

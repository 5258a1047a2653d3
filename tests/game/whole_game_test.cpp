// Whole games played out in code from fixed seeds to a win by the planner, both players through the
// model's rules as the playing screen calls them.
#include <gtest/gtest.h>

#include <string>

#include "tests/game/planner.h"
#include "tests/game/support.h"

using namespace orvalis_test;

struct FixedGame {
  unsigned seed;
  int density;
};
class WholeGameFromSeed : public testing::TestWithParam<FixedGame> {};

TEST_P(WholeGameFromSeed, IsPlayedToAWin) {
  GlobalsGuard guard;
  const FixedGame g = GetParam();
  const PlannedGame r = Play_Planned_Game(g.seed, g.density, /*max_turns=*/400);
  ASSERT_TRUE(r.won) << "no win in 400 turns";
  EXPECT_EQ(r.fault, "");
  EXPECT_EQ(r.unpaid, 0) << "a shift or rotation did not cost exactly one action";
  const PlayerState& w = player2.winner ? player2 : player1;
  EXPECT_EQ(player1.winner + player2.winner, 1);
  EXPECT_EQ(w.treasures, 5);
  EXPECT_EQ(board.blocks[w.block_x][w.block_y].squares[w.square_x][w.square_y].content, HOME_MARK);
  // Every treasure of the winner has been taken off the board.
  int left = 0;
  for (auto& col : board.blocks) {
    for (const MazeBlock& b : col) left += (&w == &player1) ? b.treasure_p1 : b.treasure_p2;
  }
  EXPECT_EQ(left, 0);
  // The turn counters: player 2 moved first and was not counted for its first turn.
  EXPECT_EQ(player1.turns + player2.turns, r.turns - 1);
  EXPECT_TRUE(player2.turns == player1.turns || player2.turns == player1.turns - 1);
  EXPECT_GT(r.turns, 10) << "the fixed games are meant to be played by both players for a while";
  EXPECT_GT(r.shifts, 0);
  EXPECT_GT(r.rotations, 0);
  std::printf(
      "seed %u density %d: player %d won after %d turns: %d steps, %d shifts, %d rotations, items %d/%d\n",
      g.seed, g.density, player2.winner ? 2 : 1, r.turns, r.steps, r.shifts, r.rotations, player1.items,
      player2.items);
}

INSTANTIATE_TEST_SUITE_P(FixedSeeds, WholeGameFromSeed,
                         testing::Values(FixedGame{5, 0}, FixedGame{5, 1}, FixedGame{4, 2}),
                         [](const testing::TestParamInfo<FixedGame>& g) {
                           return "Seed" + std::to_string(g.param.seed) + "Density" +
                                  std::to_string(g.param.density);
                         });

TEST(WholeGame, SameSeedPlaysTheSameGame) {
  GlobalsGuard guard;
  const PlannedGame a = Play_Planned_Game(5, 0, 400);
  const PlayerState w1 = player1, w2 = player2;
  const PlannedGame b = Play_Planned_Game(5, 0, 400);
  EXPECT_EQ(a.turns, b.turns);
  EXPECT_EQ(a.steps, b.steps);
  EXPECT_EQ(w1.winner, player1.winner);
  EXPECT_EQ(w2.items, player2.items);
}

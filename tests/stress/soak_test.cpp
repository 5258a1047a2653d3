// The soak in CI: twenty thousand passes of random play with every invariant checked, and the checks
// themselves shown to catch each kind of broken state.
#include "tests/stress/soak.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "game/model.h"
#include "game/random.h"

namespace {

class SoakChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::current_path(ORVALIS_RUN_DIR);
    Seed_Random(99);
    New_Game(board);
    // What a drawing pass leaves: each player's block number refreshed.
    player1.block_number = board.blocks[player1.block_x][player1.block_y].number;
    player2.block_number = board.blocks[player2.block_x][player2.block_y].number;
    game_state = STATE_PLAYING;
    watch_.last_state = STATE_PLAYING;
    watch_.game_started = true;
    saved_board_ = board;
    saved_p1_ = player1;
    saved_p2_ = player2;
  }
  void TearDown() override {
    board = saved_board_;
    player1 = saved_p1_;
    player2 = saved_p2_;
    game_state = STATE_MAIN_MENU;
  }

  // The messages the checks give for the state as it is now.
  std::vector<std::string> Broken(bool pass_end = true) {
    std::vector<std::string> broken;
    SoakWatch w = watch_;
    Check_Invariants(w, pass_end, &broken);
    return broken;
  }

  // True when exactly one message was given and it contains `what`.
  ::testing::AssertionResult Caught(const std::string& what) {
    const std::vector<std::string> broken = Broken();
    std::string all;
    for (const std::string& b : broken) all += "\n  " + b;
    if (broken.size() == 1 && broken[0].find(what) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected one message about '" << what << "', got:" << all;
  }

  SoakWatch watch_;
  Board saved_board_;
  PlayerState saved_p1_, saved_p2_;
};

}  // namespace

TEST_F(SoakChecks, AFreshGameBreaksNothing) { EXPECT_TRUE(Broken().empty()); }

TEST_F(SoakChecks, PositionsAndCountersOutOfRangeAreCaught) {
  player1.square_x = 8;
  EXPECT_TRUE(Caught("player 1: square (8, 4)"));
  player1 = saved_p1_;
  player2.block_y = -1;
  // Off the board, its block number cannot be compared either.
  EXPECT_TRUE(Caught("player 2: block (0, -1)"));
  player2 = saved_p2_;
  player2.treasures = 6;
  EXPECT_FALSE(Broken().empty());
  player2 = saved_p2_;
  player1.keys = -1;
  EXPECT_TRUE(Caught("player 1: keys -1"));
  player1 = saved_p1_;
  player1.actions = 6;
  EXPECT_TRUE(Caught("actions 6"));
  player1 = saved_p1_;
  player2.turns = -3;
  EXPECT_TRUE(Caught("turns -3"));
}

TEST_F(SoakChecks, BoardFaultsAreCaught) {
  board.blocks[3][5].number = board.blocks[2][2].number;
  const std::vector<std::string> dup = Broken();
  ASSERT_FALSE(dup.empty());
  EXPECT_NE(dup[0].find("permutation"), std::string::npos);
  board = saved_board_;
  board.blocks[1][1].squares[2][6].content = 99;
  EXPECT_TRUE(Caught("block [1][1]: square (2, 6)"));
  board = saved_board_;
  board.blocks[4][4].type = 15;
  EXPECT_TRUE(Caught("type 15"));
}

TEST_F(SoakChecks, AStaleBlockNumberIsCaughtOnlyAfterAWholePass) {
  player2.block_number = 17;
  EXPECT_TRUE(Caught("player 2: block_number 17 but stands in block 1"));
  EXPECT_TRUE(Broken(false).empty());  // inside a transition the old screen may still be drawn
}

TEST_F(SoakChecks, ALostOrDoubledTreasureIsCaughtUnlessTheCheatWasUsed) {
  int bx = -1, by = -1;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if (board.blocks[x][y].treasure_p1 == 1) bx = x, by = y;
  ASSERT_GE(bx, 0);
  board.blocks[bx][by].treasure_p1 = 0;
  EXPECT_TRUE(Caught("player 1's treasures: 4 on the board and 0 carried"));
  // The cheat changes what a player carries, so the count is not checked after it; but no cheat gives
  // a game no one can win, and its save would be refused.
  watch_.cheated = true;
  EXPECT_TRUE(
      Caught("its save would be refused: player 1 can never win: 0 treasures carried and 4 on the board"));
}

TEST_F(SoakChecks, StateChangesOutsideTheMachineAreCaught) {
  game_state = 7;
  EXPECT_FALSE(Broken().empty());
  game_state = STATE_RESULTS;  // nobody has won
  EXPECT_TRUE(Caught("results screen with no player"));
  watch_.last_state = STATE_MAIN_MENU;  // the menu never leads to the results
  EXPECT_EQ(Broken().size(), 2u);
  game_state = STATE_MAIN_MENU;
  watch_.last_state = STATE_PLAYING;
  EXPECT_TRUE(Broken().empty());
}

// Twenty thousand passes, ten times as many with ORVALIS_FULL set; a tenth of that under the
// sanitizers, which make every pass slow.
int64_t Soak_Passes() {
  int64_t passes = std::getenv("ORVALIS_FULL") != nullptr ? 200000 : 20000;
#ifdef ORVALIS_SANITIZED_BUILD
  passes /= 10;
#endif
  return passes;
}

TEST(Soak, RandomPlayKeepsEveryInvariant) {
  std::filesystem::current_path(ORVALIS_RUN_DIR);
  SoakConfig config;
  config.seed = 20240611;
  config.frames = Soak_Passes();
  const SoakReport r = Run_Soak(config);
  const std::string report = Format_Soak_Report(r);
  std::printf("%s", report.c_str());
  EXPECT_EQ(r.violations, 0) << report;
  EXPECT_EQ(r.frames, config.frames);
  // The play was real: games started, were won and left, the board moved and the turns passed.
  const int64_t k = config.frames / 2000;  // the counts of a short soak, times ten for the usual one
  EXPECT_GE(r.games_started, std::max<int64_t>(1, k / 2)) << report;
  EXPECT_GE(r.games_won, std::max<int64_t>(1, k / 5)) << report;
  EXPECT_GE(r.shifts, k) << report;
  EXPECT_GE(r.rotations, k) << report;
  EXPECT_GE(r.turns_ended, 2 * k) << report;
  EXPECT_GE(r.moves, 10 * k) << report;
  EXPECT_GT(r.transition_frames, 0) << report;
}

// The computer on both sides, a game at each level (thirty with ORVALIS_FULL set), through the real
// hand: every invariant holds on every pass, every move lands where the planner predicted, and every
// game ends, won or left early (no game reaches the turn limit).
TEST(Soak, ComputerAgainstComputerKeepsEveryInvariant) {
  std::filesystem::current_path(ORVALIS_RUN_DIR);
  SoakConfig config;
  config.seed = 11;
  config.computer = true;
  config.games = std::getenv("ORVALIS_FULL") != nullptr ? 30 : 3;
  config.stop_after_turns = 60;
  config.frames = 400000;
  const SoakReport r = Run_Soak(config);
  const std::string report = Format_Soak_Report(r);
  std::printf("%s", report.c_str());
  EXPECT_EQ(r.violations, 0) << report;
  EXPECT_EQ(r.games_won + r.games_stopped, config.games) << report;
  EXPECT_GT(r.games_won, 0) << report;
  EXPECT_EQ(r.games_left, 0) << report;
}

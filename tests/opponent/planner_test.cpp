// The computer opponent: it takes a treasure one shift brings within reach, never makes a move it
// cannot pay for or that changes nothing, always ends its turn, and plays the same game from the
// same seed however its work is sliced.
#include <gtest/gtest.h>

#include <memory>

#include "game/random.h"
#include "opponent/match.h"
#include "opponent/simulate.h"
#include "tests/game/support.h"

using namespace orvalis_test;

namespace {

class Planning : public testing::Test {
 protected:
  GlobalsGuard guard_;
  Planner planner_;

  // Every block a crossing that never turns, fully open inside, with no exits: nothing connects.
  static void Isolated_Board() {
    Fill_Open_Board(board);
    for (auto& column : board.blocks)
      for (MazeBlock& b : column) {
        b.type = BLOCK_CROSSING;
        b.exit_north = b.exit_east = b.exit_south = b.exit_west = 0;
      }
  }
  static void Place(PlayerState& p, int bx, int by, int actions) {
    p = PlayerState{};
    p.block_x = bx;
    p.block_y = by;
    p.actions = actions;
    p.block_number = board.blocks[bx][by].number;
  }
  static int Count(const TurnRecord& r, MoveKind kind) {
    int n = 0;
    for (const ComputerMove& m : r.moves) n += m.kind == kind;
    return n;
  }
};

}  // namespace

TEST_F(Planning, TakesTheTreasureThatOneShiftBringsWithinReach) {
  // Player 2 in block (1,1); its treasure in block (2,2), open only to the west. Column 3 up puts
  // the treasure block east of the player, column 2 down the player west of it: one shift does.
  for (const ComputerLevel level : {LEVEL_NORMAL, LEVEL_HARD}) {
    Isolated_Board();
    board.blocks[2][2].treasure_p2 = 1;
    board.blocks[2][2].exit_west = 1;
    Place(player2, 1, 1, 1);
    Place(player1, 6, 6, 1);
    current_player = 0;
    const TurnRecord turn = Play_Computer_Turn(planner_, level, 7);
    EXPECT_EQ(turn.violations, 0) << turn.first_violation;
    EXPECT_EQ(player2.treasures, 1) << level;
    ASSERT_EQ(Count(turn, MOVE_SHIFT), 1);
    for (const ComputerMove& m : turn.moves)
      if (m.kind == MOVE_SHIFT) {
        EXPECT_TRUE(m.column);
        EXPECT_TRUE((m.line == 3 && m.direction == 0) || (m.line == 2 && m.direction == 1)) << m.line;
      }
    EXPECT_EQ(turn.moves.back().kind, MOVE_END_TURN);
    EXPECT_EQ(current_player, 1);
  }
}

TEST_F(Planning, WithoutActionsOrWayOutItWalksAtMostAndEndsItsTurn) {
  // No action left in the middle of a turn: no shift, no turn, the turn ends.
  for (const ComputerLevel level : {LEVEL_EASY, LEVEL_NORMAL, LEVEL_HARD}) {
    Isolated_Board();
    board.blocks[5][1].treasure_p2 = 1;
    board.blocks[1][1].squares[2][6].content = TOKEN;
    board.blocks[1][1].has_token = 1;
    Place(player2, 1, 1, 0);
    Place(player1, 6, 6, 1);
    player2.actions = 0;
    current_player = 0;
    const TurnRecord turn = Play_Computer_Turn(planner_, level, 3);
    EXPECT_EQ(turn.violations, 0) << turn.first_violation;
    EXPECT_EQ(current_player, 1) << level;
    // The token it walked to paid for one action, and no more were made.
    EXPECT_LE(Count(turn, MOVE_SHIFT) + Count(turn, MOVE_ROTATE), 1);
    EXPECT_EQ(player2.items, 1);
  }
  // Walled in, with actions but no way to anything: it still ends its turn, its moves all allowed.
  for (const ComputerLevel level : {LEVEL_EASY, LEVEL_NORMAL, LEVEL_HARD}) {
    Isolated_Board();
    Place(player2, 3, 3, 5);
    Place(player1, 0, 7, 1);
    current_player = 0;
    const TurnRecord turn = Play_Computer_Turn(planner_, level, 11);
    EXPECT_EQ(turn.violations, 0) << turn.first_violation;
    EXPECT_EQ(turn.moves.back().kind, MOVE_END_TURN);
    EXPECT_LE(turn.moves.size(), 12u);
  }
}

TEST_F(Planning, WholeGamesKeepTheContractAndRepeatFromTheirSeed) {
  // Every level at every item density, against a stronger or equal side: no move it could not pay
  // for, none out of reach, none that changes nothing, every turn ended.
  const ComputerLevel levels[3] = {LEVEL_EASY, LEVEL_NORMAL, LEVEL_HARD};
  for (int density = 0; density < 3; ++density)
    for (int i = 0; i < 3; ++i) {
      MatchConfig c;
      c.seed = static_cast<uint32_t>(40 + density * 3 + i);
      c.density = density;
      c.player2.level = levels[i];
      c.player1.level = levels[(i + 1) % 3];
      c.max_turns = 30;
      const MatchResult r = Play_Match(c);
      EXPECT_EQ(r.violations, 0) << "seed " << c.seed << ": " << r.first_violation;
      EXPECT_GT(r.moves, r.turns);
    }
  // The same seed plays the same game, however finely the work is sliced.
  MatchConfig c;
  c.seed = 5;
  c.density = 1;
  c.player2.level = LEVEL_HARD;
  c.player1.level = LEVEL_EASY;
  c.max_turns = 24;
  const MatchResult first = Play_Match(c);
  const MatchResult again = Play_Match(c);
  c.units_per_slice = 1;
  const MatchResult sliced = Play_Match(c);
  EXPECT_EQ(first.fingerprint, again.fingerprint);
  EXPECT_EQ(first.fingerprint, sliced.fingerprint);
  EXPECT_EQ(first.turns, sliced.turns);
  EXPECT_EQ(first.winner, sliced.winner);
  EXPECT_EQ(first.moves, sliced.moves);
}

TEST_F(Planning, AHomeBlockThatNeedsTwoTurnsToEnterIsEntered) {
  // Every block an open crossing but two: player 1's home at the top edge, its only exit facing the
  // board's edge, and a dead end below it at the bottom, open to the south. Shifting the home's
  // column brings it off the edge with that dead end in front of it, and a shift of that dead end's
  // row puts a crossing there: two actions, one a turn. Player 1, with its five treasures and an
  // action a turn, gets home in two turns, at every level; the other side only ends its turns.
  for (const ComputerLevel level : {LEVEL_EASY, LEVEL_NORMAL, LEVEL_HARD}) {
    Fill_Open_Board(board);
    for (auto& column : board.blocks)
      for (MazeBlock& b : column) b.type = BLOCK_CROSSING;
    MazeBlock& home = board.blocks[3][0];
    home.type = START_BLOCK_P1;  // a dead end open to the north
    home.Load_Template();
    home.squares[3][4].content = HOME_MARK;
    home.home = 1;
    MazeBlock& dead_end = board.blocks[3][7];
    dead_end.type = START_BLOCK_P2;  // open to the south
    dead_end.Load_Template();
    Place(player1, 5, 5, 1);
    player1.treasures = MAX_TREASURES;
    Place(player2, 6, 6, 1);
    current_player = 1;
    Planner planner;
    int turns = 0;
    for (; turns < 6 && player1.winner == 0; ++turns) {
      const TurnRecord turn = Play_Computer_Turn(planner, level, 21);
      EXPECT_EQ(turn.violations, 0) << turn.first_violation;
      if (turn.won) break;
      End_Turn(board);  // player 2's turn: nothing
      Frame_After_Input(board, Global_Players());
    }
    EXPECT_EQ(player1.winner, 1) << LEVEL_NAMES[level];
    EXPECT_LE(turns + 1, 2) << LEVEL_NAMES[level];
  }
}

TEST_F(Planning, AloneItReachesGoalsThatNoSingleTurnOpens) {
  // Games where the last goal lies where no turn's actions open a way at once (a treasure beyond the
  // board's edge, home behind blocks that need several turns): the normal level, alone, still gets
  // home well within the turns a stalled game would spend.
  for (const uint32_t seed : {4u, 9u}) {
    MatchConfig c;
    c.seed = seed;
    c.density = 2;
    c.player1.level = c.player2.level = LEVEL_NORMAL;
    (seed % 2 == 1 ? c.player1 : c.player2).plays = false;
    c.max_turns = 40;
    const MatchResult r = Play_Match(c);
    EXPECT_EQ(r.violations, 0) << r.first_violation;
    EXPECT_EQ(r.winner, seed % 2 == 1 ? 2 : 1) << "seed " << seed << " after " << r.turns << " turns";
  }
}

TEST_F(Planning, TheMovesItAllowsAreExactlyThoseTheGameCarriesOut) {
  // Played boards with the player to move holding 0 to 2 actions: every shift and quarter turn the
  // planner allows (lines and blocks off the board too) is one the game's paid action makes and charges
  // for, and the other way round.
  std::vector<ComputerMove> moves;
  for (int32_t line = 0; line <= 9; ++line)
    for (uint8_t direction = 0; direction <= 2; ++direction)
      for (const bool column : {true, false}) moves.push_back(Shift_Move(column, line, direction));
  for (int32_t bx = -1; bx <= 8; ++bx)
    for (int32_t by = -1; by <= 8; ++by) moves.push_back(Rotate_Move(bx, by));
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    Seed_Random(seed);
    item_density = static_cast<int32_t>(seed % 3);
    New_Game(board);
    for (int round = 0; round < 6; ++round) {
      board.blocks[Random_Number() % 8][Random_Number() % 8].Rotate();
      Shift_Row(1 + Random_Number() % 8, static_cast<uint8_t>(Random_Number() % 2), board);
      current_player = static_cast<uint8_t>(Random_Number() % 2);
      Player_To_Move()->actions = Random_Number() % 3;
      const Sim now(Capture_Position());
      for (const ComputerMove& m : moves) {
        auto after = std::make_unique<Sim>(now);
        const bool made =
            m.kind == MOVE_SHIFT
                ? Paid_Shift(m.column, m.line, m.direction, after->board, after->View()) == 1
                : Paid_Rotate(m.block_x, m.block_y, after->board, after->View(), Load_Template_Cached) >= 0;
        ASSERT_EQ(Move_Allowed(now, m), made)
            << seed << " " << round << " " << m.kind << " " << m.line << " " << m.block_x << "," << m.block_y;
        if (made) {
          EXPECT_EQ(after->Mover().actions, now.Mover().actions - 1);
        }
      }
    }
  }
}

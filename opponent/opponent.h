// The computer opponent's planner: given a copy of the model, it decides the move to make now, a
// slice of work at a time. It follows the rules a person plays by (walks to reachable squares, paid
// shifts and quarter turns, the end of the turn), reads no globals, draws no rand, keeps no time and
// starts no threads: the same position, level and seed always give the same moves.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "game/model.h"

enum ComputerLevel : int32_t { LEVEL_EASY = 0, LEVEL_NORMAL = 1, LEVEL_HARD = 2 };

// The levels' names by number, as the command line, the state dump and the saved game spell them.
inline constexpr const char* LEVEL_NAMES[] = {"easy", "normal", "hard"};

// The level of that name; -1 for anything else.
inline int32_t Level_Of_Name(std::string_view name) {
  for (int32_t level = LEVEL_EASY; level <= LEVEL_HARD; ++level)
    if (name == LEVEL_NAMES[level]) return level;
  return -1;
}

// Everything the planner reads, copied from the model's globals. Make one by copying (as
// Capture_Position does): a default-constructed Board constructs its blocks, which draws rand.
struct PlanPosition {
  Board board;
  PlayerState player1, player2;  // their sprite records are copied too but never read
  uint8_t current_player;        // 1 = player 1 to move, 0 = player 2
};
PlanPosition Capture_Position();  // from the globals board, player1, player2, current_player

enum MoveKind : int32_t { MOVE_WALK, MOVE_SHIFT, MOVE_ROTATE, MOVE_END_TURN };
struct ComputerMove {
  MoveKind kind = MOVE_END_TURN;
  // MOVE_WALK: walk (with the arrow keys, opening doors and spending keys as the rules do) to this
  // square, which is reachable now; Walk_Steps (game/reach.h) gives the steps. MOVE_ROTATE: the block
  // (block_x, block_y) to turn (right click).
  int32_t block_x = 0, block_y = 0, square_x = 0, square_y = 0;
  // MOVE_SHIFT: a column (true) or a row, line 1..8, direction as Shift_Column / Shift_Row take it
  // (column: 1 down, 0 up; row: 1 right, 0 left).
  bool column = false;
  int32_t line = 0;
  uint8_t direction = 0;
};

struct PlannerSearch;

class Planner {
 public:
  Planner();
  ~Planner();
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;

  // Starts deciding the move to make now. The whole rest of the turn is planned at once; when a later
  // Begin gets the position the plan predicted, the next move is ready with no new work.
  void Begin(const PlanPosition& now, ComputerLevel level, uint64_t seed);
  // Does at most `budget` units of work; true once the move is ready. A unit is one candidate
  // position evaluated (or its like), so PLANNER_UNITS_PER_FRAME units take well under 8 ms.
  bool Work(int budget);
  ComputerMove Move() const;  // valid once Work returned true
  // Forgets the game played so far (what it remembers of its positions): a new or resumed game.
  void New_Game();
  // How many times a Begin in the middle of a plan found the position other than the plan predicted
  // after its last move (the plan is then made afresh). The soak checks that it stays 0.
  int64_t Mispredictions() const;
  int64_t Units_Spent() const;  // since the last Begin, for the benchmarks

 private:
  std::unique_ptr<PlannerSearch> search_;
};

constexpr int PLANNER_UNITS_PER_FRAME = 200;

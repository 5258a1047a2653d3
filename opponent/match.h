// Whole games between computer players in the model alone, for the arena, the benchmarks and the
// tests: New_Game from a seeded rand, then each move the planner returns carried out on the model's
// globals through the rules the playing screen calls (Move_Current_Player a step at a time with the
// pickups and the end test after each, Paid_Shift, Paid_Rotate, End_Turn). Unlike the planner, this
// drives the globals: it stands where the shell's hand will stand.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "opponent/opponent.h"

struct MatchSide {
  bool plays = true;  // false: the side only ends its turn
  ComputerLevel level = LEVEL_NORMAL;
};

struct MatchConfig {
  uint32_t seed = 1;
  int32_t density = 0;  // item_density for New_Game
  MatchSide player1, player2;
  int32_t max_turns = 400;  // turns of both sides together before the game is stopped
  int units_per_slice = PLANNER_UNITS_PER_FRAME;
  bool time_turns = false;     // measure each computer turn's think time
  std::FILE* trace = nullptr;  // when given: a line a turn, its moves and where the mover stands after it
};

struct MatchResult {
  int winner = 0;            // 1 or 2; 0 when stopped at max_turns
  int32_t turns = 0;         // turns played, both sides together (the winning turn too)
  int32_t winner_turns = 0;  // turns the winner played
  int64_t moves = 0;         // moves carried out
  int64_t violations = 0;
  std::string first_violation;
  // Per computer turn: the level that thought, its think time (the sum of its slices) and its units.
  std::vector<ComputerLevel> turn_levels;
  std::vector<double> think_ms, think_cpu_ms, longest_slice_ms, longest_slice_cpu_ms;
  std::vector<int64_t> think_units;
  uint64_t fingerprint = 0;  // a hash of every move made, to compare two runs of a seed
};

// Plays one game on the model's globals (the working directory must hold the templates).
MatchResult Play_Match(const MatchConfig& config);

// One computer turn on the model's globals, from the position they hold to the end of the turn (or
// the win): the moves made, in order, and what went against the planner's contract.
struct TurnRecord {
  std::vector<ComputerMove> moves;
  bool won = false;
  int64_t violations = 0;
  std::string first_violation;
  double think_ms = 0;              // measured when asked: wall-clock time
  double think_cpu_ms = 0;          // and processor time, which other programs on the machine do not inflate
  double longest_slice_ms = 0;      // the longest single Work call (one frame's share)
  double longest_slice_cpu_ms = 0;  // in processor time
  int64_t units = 0;
};
TurnRecord Play_Computer_Turn(Planner& planner, ComputerLevel level, uint64_t seed,
                              int units_per_slice = PLANNER_UNITS_PER_FRAME, bool time = false);

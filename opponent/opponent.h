// STUB for the shell's side: replaced by the real planner.
#pragma once

#include <cstdint>

#include "game/model.h"

enum ComputerLevel : int32_t { LEVEL_EASY = 0, LEVEL_NORMAL = 1, LEVEL_HARD = 2 };

struct PlanPosition {
  Board board;
  PlayerState player1, player2;
  uint8_t current_player;
};
PlanPosition Capture_Position();

enum MoveKind : int32_t { MOVE_WALK, MOVE_SHIFT, MOVE_ROTATE, MOVE_END_TURN };
struct ComputerMove {
  MoveKind kind = MOVE_END_TURN;
  int32_t block_x = 0, block_y = 0, square_x = 0, square_y = 0;
  bool column = false;
  int32_t line = 0;
  uint8_t direction = 0;
};

class Planner {
 public:
  void Begin(const PlanPosition& now, ComputerLevel level, uint64_t seed);
  bool Work(int budget);
  ComputerMove Move() const { return move_; }
  int64_t Units_Spent() const { return spent_; }

 private:
  ComputerMove move_;
  int64_t spent_ = 0;
  int step_ = 0;
  PlanPosition* now_ = nullptr;
};
constexpr int PLANNER_UNITS_PER_FRAME = 100;

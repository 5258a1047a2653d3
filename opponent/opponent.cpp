// STUB: walks one square if it can, shifts once with an action, then ends the turn.
#include "opponent/opponent.h"

PlanPosition Capture_Position() {
  PlanPosition p{board, player1, player2, current_player};
  return p;
}

static int stub_calls = 0;
void Planner::Begin(const PlanPosition& now, ComputerLevel, uint64_t) {
  spent_ = 0;
  const PlayerState& p = now.current_player == 1 ? now.player1 : now.player2;
  move_ = ComputerMove{};
  int phase = stub_calls++ % 4;
  if (phase == 0) {
    move_.kind = MOVE_WALK;
    move_.block_x = p.block_x, move_.block_y = p.block_y, move_.square_x = p.square_x;
    move_.square_y = p.square_y > 0 ? p.square_y - 1 : p.square_y;
  } else if (phase == 1 && p.actions > 0) {
    move_.kind = MOVE_SHIFT; move_.column = true; move_.line = 3; move_.direction = 1;
  } else if (phase == 2 && p.actions > 0) {
    move_.kind = MOVE_ROTATE; move_.block_x = 2; move_.block_y = 2;
  } else {
    stub_calls = 0;
  }
}
bool Planner::Work(int budget) { spent_ += budget; return spent_ >= 300; }

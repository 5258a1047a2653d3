// The playing screen's work around the model, and a planner that plays whole games through it: each
// player walks to its treasures (and keys and tokens on the way), and spends its actions on the shift
// or rotation that brings a treasure (or, with five, a home mark) closest. Every step, shift and
// rotation goes through the model's rules as the playing screen calls them. Used by the model's
// tests and by the benchmark's survey of how planned games go.
#pragma once

#include <cstdint>
#include <string>

#include "game/model.h"

namespace orvalis_test {

// The playing screen's work around the model for one frame: block_number refresh, pickups for the
// player to move, the end test. Returns 1 when a player won in this frame.
int Model_Frame();
// An arrow-key move as the playing input makes it, followed by a frame.
int Move(int32_t direction);
// A right click on an overview cell, as the playing screen makes it: Paid_Rotate, the view moved to
// the block, a frame. Returns Paid_Rotate's result.
int Right_Click_Rotate(int bx, int by);
// A shift button: Paid_Shift and, when it shifted, a frame; returns 1 when the shift was made.
int Shift_Button(bool column, int index, uint8_t flag);

struct PlannedGame {
  bool won = false;
  int turns = 0, steps = 0, shifts = 0, rotations = 0;
  int unpaid = 0;     // shifts and rotations that did not cost exactly one action
  std::string fault;  // the first time a player stood on masonry after a turn, or empty
};

// Seeds rand with `seed`, sets up a new game of the density and plays it to a win or max_turns.
PlannedGame Play_Planned_Game(unsigned seed, int density, int max_turns);

}  // namespace orvalis_test

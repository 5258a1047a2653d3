// What a side remembers of the game it plays: the positions it has passed through at the start and
// at the end of its turns, by a key of what its walks cannot change (the blocks as they stand, the
// items on them, where both players stand and what they carry). A plan that leads back to one of
// them goes round in a circle, and is worth less.
#pragma once

#include <cstdint>
#include <vector>

#include "opponent/simulate.h"

// The key of a position: the blocks (number, turn, locks, items, treasures) in their places, and
// both players' blocks, treasures and keys. Where in a block a player stands, whose turn it is and
// the actions in hand are left out.
uint64_t Layout_Key(const Sim& s);

class PositionMemory {
 public:
  void Forget() { seen_.clear(); }
  // Remembers the position as seen in the side's turn `turn` (its count of turns).
  void Record(uint64_t key, int32_t turn);
  // Whether the position was seen in a turn before `turn`.
  bool Seen_Before(uint64_t key, int32_t turn) const;
  // The last turn anything was recorded in; -1 when nothing is.
  int32_t Last_Turn() const { return seen_.empty() ? -1 : seen_.back().turn; }

 private:
  struct Seen {
    uint64_t key;
    int32_t turn;
  };
  std::vector<Seen> seen_;
};

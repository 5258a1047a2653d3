// What a side remembers of the game it plays: the positions it has passed through at the start and
// at the end of its turns, by a key of what its walks cannot change (the blocks as they stand, the
// items on them, what both players carry). A plan that leads back to one of them goes round in a
// circle, and is worth less, the more so the more often it was there.
#pragma once

#include <cstdint>
#include <vector>

#include "opponent/simulate.h"

// The key of a position: the blocks (number, turn, locks, items, treasures) in their places, and
// both players' treasures and keys. Where a player stands is left out: with the board as it is and
// the keys in hand, a player only walks within the part of the board it can reach, and elsewhere
// the board would not be as it is. Whose turn it is and the actions in hand are left out too.
uint64_t Layout_Key(const Sim& s);

class PositionMemory {
 public:
  void Forget() { seen_.clear(); }
  // Remembers the position as seen in the side's turn `turn` (its count of turns).
  void Record(uint64_t key, int32_t turn);
  // How many times the position was seen in turns before `turn`.
  int Times_Seen(uint64_t key, int32_t turn) const;
  // The last turn anything was recorded in; -1 when nothing is.
  int32_t Last_Turn() const { return seen_.empty() ? -1 : seen_.back().turn; }

 private:
  struct Seen {
    uint64_t key;
    int32_t turn;
  };
  std::vector<Seen> seen_;
};

// The squares a player can reach this turn by walking: through open floor and open doors, opening
// closed doors on the way, and spending keys on the doors of locked blocks. The comforts light them.
#pragma once

#include <bitset>
#include <cstdint>

#include "game/model.h"

struct ReachableSquares {
  std::bitset<4096> squares;  // by Reach_Index
  std::bitset<64> blocks;     // by by * 8 + bx: the blocks that hold a reachable square

  bool Square(int bx, int by, int sx, int sy) const;
  bool Block(int bx, int by) const { return bx >= 0 && bx < 8 && by >= 0 && by < 8 && blocks[by * 8 + bx]; }
};

// Every square the player can walk to from where it stands, given its keys (a square whose way needs
// more keys than it holds is not reached); its own square included.
ReachableSquares Reachable_This_Turn(const Board& b, const PlayerState& player);

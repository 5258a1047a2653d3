// The way from a player's region to the blocks of the board, in quarters of an action: which quarter
// turns would open a way along rows and columns, each block crossed priced by the pair of sides it is
// entered and left by (a turn opens both at once, or no turn does: a corner never opens two opposite
// sides, a dead end is never crossed), and across the board's edge the shifts that would bring the far
// end of the line alongside.
#pragma once

#include <cstdint>

#include "game/reach.h"

constexpr int32_t WAY_FAR = 1 << 20;  // no way at all

// Sides of a block, clockwise: north, east, south, west.
enum WaySide : int8_t { SIDE_NORTH = 0, SIDE_EAST = 1, SIDE_SOUTH = 2, SIDE_WEST = 3 };

// The fewest quarter turns after which a block of the type opens the side (-1: it never does), and
// both sides at once (-1: never; a side with itself is the side alone).
int Turns_To_Open(int32_t type, int side);
int Turns_To_Open_Both(int32_t type, int side_a, int side_b);

// What opening the side of the block costs, in quarters of an action (a home block, which never turns,
// twelve for a side it does not open: the shifts that would have to bring another way).
int32_t Side_Cost(const MazeBlock& b, int side);
// What crossing the block from one side to the other costs in quarter turns, in quarters of an
// action; where no turn opens both (a dead end, a corner crossed straight), the shift that would move
// it out of the way.
int32_t Crossing_Cost(const MazeBlock& b, int from_side, int to_side);

// The cost of the way from the region to each block, in quarters of an action: 0 for the blocks of
// the region; else the quarter turns that open the way (4 each), the shifts that move a block no turn
// opens out of the way, one for each block crossed, and 16 for each crossing of the board's edge. Every block
// of `wanted` (bit bx * 8 + by) is exact; others may be left at more than their cost (WAY_FAR where the
// search never came).
void Way_Costs(const Board& b, const ReachRegion& r, uint64_t wanted, int32_t cost[8][8]);

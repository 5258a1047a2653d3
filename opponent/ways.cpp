// The way to the blocks: a cheapest-first search over (block, side it was entered by), so that each
// block on the way is charged the one turn that opens both of its sides.
#include "opponent/ways.h"

namespace {

// A quarter turn anticlockwise moves every exit one side on: after k turns, side s has the exit that
// stood at side (s + k) % 4 (north, east, south, west).
struct TurnTables {
  int8_t one[BLOCK_TYPE_COUNT][4];
  int8_t both[BLOCK_TYPE_COUNT][4][4];
  constexpr TurnTables() : one{}, both{} {
    for (int t = 0; t < BLOCK_TYPE_COUNT; ++t) {
      const uint8_t exits[4] = {block_layouts[t].north, block_layouts[t].east, block_layouts[t].south,
                                block_layouts[t].west};
      for (int a = 0; a < 4; ++a) {
        one[t][a] = -1;
        for (int k = 3; k >= 0; --k)
          if (exits[(a + k) % 4]) one[t][a] = static_cast<int8_t>(k);
        for (int c = 0; c < 4; ++c) {
          both[t][a][c] = -1;
          for (int k = 3; k >= 0; --k)
            if (exits[(a + k) % 4] && exits[(c + k) % 4]) both[t][a][c] = static_cast<int8_t>(k);
        }
      }
    }
  }
};
constexpr TurnTables kTurns;

constexpr int32_t kFixedSide = 12;  // a side a home block does not open
// A block no turn opens for the way (a dead end, a corner crossed straight, a straight crossed round a
// corner) is passed by shifting its line: an action, and a guess at what comes in its place.
constexpr int32_t kShiftAway = 12;
constexpr int32_t kEdgeCost = 16;  // the board's edge crossed by a shift of the line
constexpr int kInside = 4;         // a region block: the player is inside, not entered by a side

bool Type_Known(int32_t type) { return type >= 0 && type < BLOCK_TYPE_COUNT; }

}  // namespace

int Turns_To_Open(int32_t type, int side) {
  return Type_Known(type) && side >= 0 && side < 4 ? kTurns.one[type][side] : -1;
}

int Turns_To_Open_Both(int32_t type, int side_a, int side_b) {
  return Type_Known(type) && side_a >= 0 && side_a < 4 && side_b >= 0 && side_b < 4
             ? kTurns.both[type][side_a][side_b]
             : -1;
}

int32_t Side_Cost(const MazeBlock& b, int side) {
  const int k = Turns_To_Open(b.type, side);
  if (k < 0) return kFixedSide;
  return k != 0 && !Block_Turns(b) ? kFixedSide : 4 * k;
}

int32_t Crossing_Cost(const MazeBlock& b, int from_side, int to_side) {
  if (!Block_Turns(b)) {
    // It stands as it is: a closed side only by a way round it.
    return (Turns_To_Open(b.type, from_side) == 0 ? 0 : kFixedSide) +
           (Turns_To_Open(b.type, to_side) == 0 ? 0 : kFixedSide);
  }
  const int k = Turns_To_Open_Both(b.type, from_side, to_side);
  return k < 0 ? kShiftAway : 4 * k;
}

void Way_Costs(const Board& b, const ReachRegion& r, uint64_t wanted, int32_t cost[8][8]) {
  // States: block * 5 + the side it was entered by (kInside for the region's blocks). A step costs at
  // most 1 + kEdgeCost + 2 * kFixedSide, well inside the ring of buckets.
  constexpr int kStates = 64 * 5, kBuckets = 64;
  int32_t dist[kStates];
  uint16_t bucket[kBuckets][kStates];
  int count[kBuckets] = {};
  int pending = 0;
  for (int i = 0; i < kStates; ++i) dist[i] = WAY_FAR;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      cost[x][y] = WAY_FAR;
      if (r.blocks[x][y] == REACH_NONE) continue;
      cost[x][y] = 0;
      const int state = (x * 8 + y) * 5 + kInside;
      dist[state] = 0;
      bucket[0][count[0]++] = static_cast<uint16_t>(state);
      ++pending;
    }
  constexpr int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};
  auto settled = [&](int32_t c) {
    for (uint64_t w = wanted; w != 0; w &= w - 1) {
      const int i = __builtin_ctzll(w);
      if (cost[i >> 3][i & 7] > c) return false;
    }
    return true;
  };
  for (int32_t c = 0; pending > 0 && !settled(c - 1); ++c) {
    const int slot = c % kBuckets;
    while (count[slot] > 0) {
      const int state = bucket[slot][--count[slot]];
      --pending;
      if (dist[state] != c) continue;  // reached for less since
      const int block = state / 5, entered = state % 5;
      const int bx = block >> 3, by = block & 7;
      const MazeBlock& here = b.blocks[bx][by];
      if (entered != kInside) {
        const int32_t arrive = c + Side_Cost(here, entered);
        if (arrive < cost[bx][by]) cost[bx][by] = arrive;
      }
      for (int side = 0; side < 4; ++side) {
        if (side == entered) continue;
        const int32_t turn = entered == kInside ? Side_Cost(here, side) : Crossing_Cost(here, entered, side);
        int nx = bx + kDx[side], ny = by + kDy[side];
        // Across the board's edge only by a shift of the line, which brings the far end alongside.
        const int32_t edge = (nx < 0 || nx > 7 || ny < 0 || ny > 7) ? kEdgeCost : 0;
        nx &= 7;
        ny &= 7;
        if (r.blocks[nx][ny] != REACH_NONE) continue;  // back into the region: nothing to gain
        const int next_state = (nx * 8 + ny) * 5 + (side + 2) % 4;
        const int32_t next = c + 1 + edge + turn;
        if (next >= dist[next_state]) continue;
        dist[next_state] = next;
        const int to = next % kBuckets;
        bucket[to][count[to]++] = static_cast<uint16_t>(next_state);
        ++pending;
      }
    }
  }
}

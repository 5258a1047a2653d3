// The scoring of a position: what the walk can still take, and the way to the goals left, in actions.
#include <algorithm>
#include <cstdlib>

#include "opponent/simulate.h"
#include "opponent/ways.h"

namespace {

struct Goal {
  int32_t bx, by;
  int32_t distance;
};

uint64_t Block_Bit(int32_t bx, int32_t by) { return uint64_t{1} << (bx * 8 + by); }

bool Holds_Own_Treasure(const MazeBlock& b, bool is_player1) {
  return (is_player1 ? b.treasure_p1 : b.treasure_p2) == 1;
}

}  // namespace

bool Next_Goal(const Board& b, const PlayerState& p, bool is_player1, const ReachRegion& r, int32_t& gx,
               int32_t& gy) {
  const bool home = p.treasures >= MAX_TREASURES;
  uint64_t goals = 0;
  for (int bx = 0; bx < 8; ++bx)
    for (int by = 0; by < 8; ++by) {
      const MazeBlock& block = b.blocks[bx][by];
      if (home ? block.home == 1 : Holds_Own_Treasure(block, is_player1)) goals |= Block_Bit(bx, by);
    }
  int32_t cost[8][8];
  Way_Costs(b, r, goals, cost);
  int32_t best = WAY_FAR;
  for (int bx = 0; bx < 8; ++bx)
    for (int by = 0; by < 8; ++by) {
      const MazeBlock& block = b.blocks[bx][by];
      if (home ? block.home == 0 : !Holds_Own_Treasure(block, is_player1)) continue;
      const int32_t d = cost[bx][by];
      if (d < best) {
        best = d;
        gx = bx;
        gy = by;
      }
    }
  return best < WAY_FAR;
}

double Score_Position(const Board& b, const PlayerState& p, bool is_player1, const ReachRegion& r,
                      int32_t actions, const Weights& w, int32_t* progress) {
  // Treasures the walk can still take: those behind no locked door, then one per key.
  Goal remaining[MAX_TREASURES * 2 + 4];
  int n_remaining = 0;
  int free_treasures = 0, locked_treasures = 0;
  int locked_goals = 0;  // remaining treasure blocks that a key must open
  const uint64_t treasure_square = Region_Bit(TREASURE_SQUARE_X, TREASURE_SQUARE_Y);
  for (int bx = 0; bx < 8; ++bx)
    for (int by = 0; by < 8; ++by) {
      const MazeBlock& block = b.blocks[bx][by];
      if (!Holds_Own_Treasure(block, is_player1)) continue;
      if (r.free_squares[bx][by] & treasure_square) {
        ++free_treasures;
      } else if (r.squares[bx][by] & treasure_square) {
        ++locked_treasures;
      } else if (n_remaining < MAX_TREASURES * 2) {
        remaining[n_remaining++] = Goal{bx, by, 0};
        if (block.locked == 1 && Has_Door(block.type)) ++locked_goals;
      }
    }
  const int32_t room = std::max(0, MAX_TREASURES - p.treasures);
  const int32_t by_key = std::min(locked_treasures, r.keys_available);
  const int32_t taken = std::min(room, free_treasures + by_key);
  const int32_t keys_spent = std::max(0, taken - free_treasures);
  const int32_t keys_left = r.keys_available - keys_spent;
  const int32_t treasures = p.treasures + taken;

  double score = w.treasure * treasures;
  if (progress) *progress = 256 * treasures;
  if (treasures >= MAX_TREASURES) {
    // Home: any home mark the walk reaches wins; otherwise the home blocks are the goals.
    n_remaining = 0;
    locked_goals = 0;
    for (int bx = 0; bx < 8; ++bx)
      for (int by = 0; by < 8; ++by) {
        const MazeBlock& block = b.blocks[bx][by];
        if (block.home == 0) continue;
        for (int sx = 0; sx < 8; ++sx)
          for (int sy = 0; sy < 8; ++sy) {
            if (block.squares[sx][sy].content != HOME_MARK) continue;
            const uint64_t bit = Region_Bit(sx, sy);
            if ((r.free_squares[bx][by] & bit) || ((r.squares[bx][by] & bit) && keys_left > 0)) {
              if (progress) *progress = PROGRESS_WIN;
              return SCORE_WIN;
            }
            if (n_remaining < MAX_TREASURES * 2) remaining[n_remaining++] = Goal{bx, by, 0};
          }
      }
  }

  // Tokens the walk takes raise the actions.
  const int32_t next_actions = std::max<int32_t>(1, std::min<int32_t>(MAX_ACTIONS, actions + r.tokens));
  score += w.action * (next_actions - 1);

  // Keys: worth most while a locked goal needs one.
  const int32_t useful = std::min(keys_left, locked_goals);
  score += w.key_needed * useful + w.key_spare * (keys_left - useful);

  // The way to the goals left.
  int32_t region_blocks = 0;
  for (int bx = 0; bx < 8; ++bx)
    for (int by = 0; by < 8; ++by) region_blocks += r.blocks[bx][by] != REACH_NONE;
  score += w.region_block * region_blocks;
  if (n_remaining == 0) return score;
  const int32_t missing = std::max(0, locked_goals - keys_left);
  uint64_t wanted = 0;
  for (int i = 0; i < n_remaining; ++i) wanted |= Block_Bit(remaining[i].bx, remaining[i].by);
  if (missing > 0)
    for (int bx = 0; bx < 8; ++bx)
      for (int by = 0; by < 8; ++by)
        if (b.blocks[bx][by].has_key == 1 &&
            b.blocks[bx][by].squares[ITEM_SQUARE_X][ITEM_SQUARE_Y].content == KEY)
          wanted |= Block_Bit(bx, by);
  int32_t cost[8][8];
  Way_Costs(b, r, wanted, cost);
  const double quarter = 0.25;
  for (int i = 0; i < n_remaining; ++i) {
    Goal& g = remaining[i];
    g.distance = cost[g.bx][g.by];
    if (g.distance == 0) g.distance = 4;  // in the region but its square out of reach: an action away
  }
  std::sort(remaining, remaining + n_remaining,
            [](const Goal& a, const Goal& c) { return a.distance < c.distance; });
  for (int i = 0; i < n_remaining; ++i)
    score -= (i == 0 ? w.distance_first : w.distance_rest) * quarter * remaining[i].distance;
  if (progress) *progress -= std::min<int32_t>(255, remaining[0].distance);
  if (missing > 0) {
    // The nearest key lying on the board, for the goals that need one.
    int32_t nearest = 64;
    for (int bx = 0; bx < 8; ++bx)
      for (int by = 0; by < 8; ++by)
        if (b.blocks[bx][by].has_key == 1 &&
            b.blocks[bx][by].squares[ITEM_SQUARE_X][ITEM_SQUARE_Y].content == KEY)
          nearest = std::min(nearest, cost[bx][by]);
    score -= w.key_missing * missing + w.distance_rest * quarter * nearest;
  }
  return score;
}

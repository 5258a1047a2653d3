// Reachability by walking: a breadth-first search over the board's squares in layers of keys spent,
// with the step rule's doors and block crossings; and the arrow steps of a walk, carried out on a copy.
#include "game/reach.h"

#include <algorithm>
#include <cstring>
#include <memory>

ReachStep Reach_Step(const Board& b, int from, int32_t d, int& to) {
  if (from < 0 || from >= REACH_SQUARES) return REACH_STEP_NONE;
  const StepLook look =
      Look_Step(b, Reach_Block_X(from), Reach_Block_Y(from), Reach_Square_X(from), Reach_Square_Y(from), d);
  to = Reach_Index(look.block_x, look.block_y, look.square_x, look.square_y);
  switch (look.outcome) {
    case STEP_ENTERS:
      return REACH_STEP_FREE;
    case STEP_OPENS_DOOR:
      return REACH_STEP_DOOR;
    case STEP_UNLOCKS_DOOR:
      return REACH_STEP_LOCKED_DOOR;
    case STEP_NONE:
      break;
  }
  return REACH_STEP_NONE;
}

namespace {

bool In_Range(int32_t v) { return v >= 0 && v < 8; }

}  // namespace

void Compute_Reach(const Board& b, const PlayerState& p, Reach& r) {
  std::memset(r.keys, REACH_NONE, sizeof r.keys);
  std::memset(r.blocks, REACH_NONE, sizeof r.blocks);
  r.count = 0;
  r.keys_available = p.keys;
  r.start = -1;
  if (!Stands_On_Board(p)) return;

  // Layer k holds the squares that cost k keys. A square first met behind a locked door waits in the
  // next layer's list; found again for fewer keys, it moves to the layer it belongs to and its stale
  // entry is passed over.
  uint16_t queue[REACH_SQUARES * 2];
  uint16_t waiting[REACH_SQUARES];
  int waiting_count = 0;
  int head = 0, tail = 0;

  const int start = Reach_Index(p.block_x, p.block_y, p.square_x, p.square_y);
  r.start = start;
  r.keys[start] = 0;
  r.steps[start] = 0;
  r.came_from[start] = static_cast<uint16_t>(start);
  r.last_step[start] = 0;
  queue[tail++] = static_cast<uint16_t>(start);

  for (int k = 0;; ++k) {
    while (head < tail) {
      const int s = queue[head++];
      if (r.keys[s] != k) continue;  // found again for fewer keys
      r.order[r.count++] = static_cast<uint16_t>(s);
      int8_t& block_keys = r.blocks[Reach_Block_X(s)][Reach_Block_Y(s)];
      if (block_keys == REACH_NONE) block_keys = static_cast<int8_t>(k);
      if (k == 0 && b.blocks[Reach_Block_X(s)][Reach_Block_Y(s)]
                            .squares[Reach_Square_X(s)][Reach_Square_Y(s)]
                            .content == KEY)
        r.keys_available += 1;
      for (int d = 0; d < 4; ++d) {
        int t = 0;
        const ReachStep kind = Reach_Step(b, s, d, t);
        if (kind == REACH_STEP_NONE) continue;
        const int cost = kind == REACH_STEP_LOCKED_DOOR ? k + 1 : k;
        if (r.keys[t] != REACH_NONE && r.keys[t] <= cost) continue;
        r.keys[t] = static_cast<int8_t>(cost);
        r.steps[t] = static_cast<uint16_t>(r.steps[s] + (kind == REACH_STEP_FREE ? 1 : 2));
        r.came_from[t] = static_cast<uint16_t>(s);
        r.last_step[t] = static_cast<uint8_t>(d);
        if (cost == k)
          queue[tail++] = static_cast<uint16_t>(t);
        else
          waiting[waiting_count++] = static_cast<uint16_t>(t);
      }
    }
    // The next layer: only as many doors deep as there are keys to spend.
    head = tail = 0;
    for (int i = 0; i < waiting_count; ++i)
      if (r.keys[waiting[i]] == k + 1) queue[tail++] = waiting[i];
    waiting_count = 0;
    if (tail == 0) break;
    if (k + 1 > r.keys_available || k + 1 > 127) {  // more doors than keys: out of reach
      for (int i = 0; i < tail; ++i) r.keys[queue[i]] = REACH_NONE;
      break;
    }
  }
}

namespace {

// The walk recorded in the search, from the start to square `to`, as arrow steps: a step onto a
// closed door twice (it opens, then enters). With `stop_after_locked`, only up to and through the
// first locked door on the way.
void Path_To(const Board& b, const Reach& r, int to, bool stop_after_locked, std::vector<int32_t>& out) {
  int chain[REACH_SQUARES];
  int n = 0;
  for (int s = to; s != r.start && n < REACH_SQUARES; s = r.came_from[s]) chain[n++] = s;
  for (int i = n - 1; i >= 0; --i) {
    const int s = chain[i];
    const int d = r.last_step[s];
    int t = 0;
    const ReachStep kind = Reach_Step(b, r.came_from[s], d, t);
    out.push_back(d);
    if (kind == REACH_STEP_DOOR || kind == REACH_STEP_LOCKED_DOOR) out.push_back(d);
    if (kind == REACH_STEP_LOCKED_DOOR && stop_after_locked) return;
  }
}

void Carry_Out(Board& b, PlayerState& p, bool is_player1, const std::vector<int32_t>& steps, size_t from) {
  for (size_t i = from; i < steps.size(); ++i) {
    p.sprite.current_frame = steps[i];
    p = Step_Player(p, b);
    Apply_Pickups(b, p, is_player1);
  }
}

// The keys on squares reachable without a key, nearest by steps first.
int Free_Keys(const Board& b, const Reach& r, int* out, int max) {
  int n = 0;
  for (int i = 0; i < r.count && n < max; ++i) {
    const int s = r.order[i];
    if (r.keys[s] != 0) break;  // the order is by keys spent
    if (b.blocks[Reach_Block_X(s)][Reach_Block_Y(s)].squares[Reach_Square_X(s)][Reach_Square_Y(s)].content ==
        KEY)
      out[n++] = s;
  }
  std::stable_sort(out, out + n, [&r](int a, int c) { return r.steps[a] < r.steps[c]; });
  return n;
}

}  // namespace

bool Walk_Steps(const Board& b, const PlayerState& p, bool is_player1, int32_t bx, int32_t by, int32_t sx,
                int32_t sy, std::vector<int32_t>& steps) {
  steps.clear();
  if (!In_Range(bx) || !In_Range(by) || !In_Range(sx) || !In_Range(sy)) return false;
  const int target = Reach_Index(bx, by, sx, sy);
  const auto scratch = std::make_unique<Board>(b);  // to walk on: steps open doors, pick things up
  const auto r = std::make_unique<Reach>();
  std::unique_ptr<Board> trial;
  std::unique_ptr<Reach> again;
  PlayerState q = p;
  bool arrived = false;
  // Each round reaches the square, picks up a key or goes through a locked door, so a few rounds do.
  for (int round = 0; round < 64 && !arrived; ++round) {
    Compute_Reach(*scratch, q, *r);
    if (r->keys[target] == REACH_NONE) break;
    if (r->start == target) {
      arrived = true;
      break;
    }
    const size_t before = steps.size();
    if (r->keys[target] <= q.keys) {
      Path_To(*scratch, *r, target, false, steps);
      Carry_Out(*scratch, q, is_player1, steps, before);
      arrived = Reach_Index(q.block_x, q.block_y, q.square_x, q.square_y) == target;
      break;
    }
    // Too few keys in hand: fetch the nearest key from which the square can still be reached (a
    // wall square the player landed on cannot be walked back onto), or else go through the first
    // locked door on the way with the key in hand.
    int keys[16];
    const int n = q.keys < MAX_KEYS ? Free_Keys(*scratch, *r, keys, 16) : 0;
    bool fetched = false;
    for (int i = 0; i < n && !fetched; ++i) {
      std::vector<int32_t> detour;
      Path_To(*scratch, *r, keys[i], false, detour);
      if (!trial) trial = std::make_unique<Board>(*scratch);
      if (!again) again = std::make_unique<Reach>();
      *trial = *scratch;
      PlayerState t = q;
      Carry_Out(*trial, t, is_player1, detour, 0);
      Compute_Reach(*trial, t, *again);
      if (again->keys[target] == REACH_NONE || t.keys <= q.keys) continue;
      steps.insert(steps.end(), detour.begin(), detour.end());
      *scratch = *trial;
      q = t;
      fetched = true;
    }
    if (fetched) continue;
    if (q.keys == 0) break;
    Path_To(*scratch, *r, target, true, steps);
    Carry_Out(*scratch, q, is_player1, steps, before);
  }
  if (!arrived) steps.clear();
  return arrived;
}

// ---- The same reach as block masks -----------------------------------------------------------------

namespace {

constexpr uint64_t kColumn0 = 0x0101010101010101ull;  // squares with x = 0
constexpr uint64_t kColumn7 = 0x8080808080808080ull;  // x = 7
constexpr uint64_t kRow0 = 0xFFull;                   // y = 0
constexpr uint64_t kRow7 = 0xFFull << 56;             // y = 7

}  // namespace

BlockMasks Masks_Of(const MazeBlock& block) {
  BlockMasks m{};
  for (int sx = 0; sx < 8; ++sx)
    for (int sy = 0; sy < 8; ++sy) {
      const Square& s = block.squares[sx][sy];
      const uint64_t bit = Region_Bit(sx, sy);
      if (Step_Enters(s, DIR_UP)) m.vertical |= bit;
      if (Step_Enters(s, DIR_RIGHT)) m.horizontal |= bit;
      if (s.content == Closed_Door_Of(DIR_UP)) m.door_v |= bit;
      if (s.content == Closed_Door_Of(DIR_RIGHT)) m.door_h |= bit;
      if (s.content == KEY) m.keys |= bit;
      if (s.content == TOKEN) m.tokens |= bit;
    }
  return m;
}

namespace {

uint64_t Vertical_Neighbours(uint64_t r) { return (r >> 8) | (r << 8); }
uint64_t Horizontal_Neighbours(uint64_t r) { return ((r >> 1) & ~kColumn7) | ((r << 1) & ~kColumn0); }

// Every square the squares of r reach by steps inside the block.
uint64_t Flood(uint64_t r, uint64_t vertical, uint64_t horizontal) {
  for (;;) {
    const uint64_t grown = r | (Vertical_Neighbours(r) & vertical) | (Horizontal_Neighbours(r) & horizontal);
    if (grown == r) return r;
    r = grown;
  }
}

int Count_Bits(uint64_t v) { return __builtin_popcountll(v); }

}  // namespace

uint64_t Block_Flood(const MazeBlock& block, uint64_t from) {
  const BlockMasks m = Masks_Of(block);
  return Flood(from, m.vertical | (block.locked == 0 ? m.door_v : 0),
               m.horizontal | (block.locked == 0 ? m.door_h : 0));
}

void Compute_Region(const Board& b, const PlayerState& p, ReachRegion& out, MaskCache* cache) {
  std::memset(out.squares, 0, sizeof out.squares);
  std::memset(out.free_squares, 0, sizeof out.free_squares);
  std::memset(out.blocks, REACH_NONE, sizeof out.blocks);
  out.keys_available = p.keys;
  out.tokens = 0;
  out.start_block_x = p.block_x;
  out.start_block_y = p.block_y;
  if (!Stands_On_Board(p)) return;

  BlockMasks own_masks[8][8];
  const BlockMasks* masks[8][8] = {};
  uint64_t seeds[8][8] = {};    // squares of this layer not yet searched from
  uint64_t waiting[8][8] = {};  // squares behind a locked door: the next layer
  seeds[p.block_x][p.block_y] = Region_Bit(p.square_x, p.square_y);
  int stack[64 * 8];

  for (int k = 0;; ++k) {
    int top = 0;
    for (int i = 0; i < 64; ++i)
      if (seeds[i >> 3][i & 7] != 0) stack[top++] = i;
    while (top > 0) {
      const int i = stack[--top];
      const int32_t bx = i >> 3, by = i & 7;
      uint64_t& found = out.squares[bx][by];
      const uint64_t fresh_seeds = seeds[bx][by] & ~found;
      seeds[bx][by] = 0;
      if (fresh_seeds == 0) continue;
      const MazeBlock& block = b.blocks[bx][by];
      if (masks[bx][by] == nullptr) {
        const int32_t number = block.number;
        if (cache != nullptr && number >= 1 && number <= 64) {
          if (!cache->known[number]) {
            cache->masks[number] = Masks_Of(block);
            cache->known[number] = 1;
          }
          masks[bx][by] = &cache->masks[number];
        } else {
          own_masks[bx][by] = Masks_Of(block);
          masks[bx][by] = &own_masks[bx][by];
        }
      }
      const BlockMasks& m = *masks[bx][by];
      const uint64_t vertical = m.vertical | (block.locked == 0 ? m.door_v : 0);
      const uint64_t horizontal = m.horizontal | (block.locked == 0 ? m.door_h : 0);
      const uint64_t reached = Flood(found | fresh_seeds, vertical, horizontal);
      const uint64_t fresh = reached & ~found;
      found = reached;
      if (out.blocks[bx][by] == REACH_NONE) out.blocks[bx][by] = static_cast<int8_t>(k);
      if (k == 0) {
        out.free_squares[bx][by] |= fresh;
        out.keys_available += Count_Bits(fresh & m.keys);
        out.tokens += Count_Bits(fresh & m.tokens);
      }
      if (block.locked == 1)
        waiting[bx][by] |=
            ((Vertical_Neighbours(fresh) & m.door_v) | (Horizontal_Neighbours(fresh) & m.door_h));
      // Off the block's edges, onto the facing edge of a neighbour that opens towards it.
      auto cross = [&](int32_t nx, int32_t ny, uint64_t landing, int32_t direction) {
        if (landing == 0 || !In_Range(nx) || !In_Range(ny) || Facing_Exit(b.blocks[nx][ny], direction) != 1)
          return;
        if ((landing & ~out.squares[nx][ny] & ~seeds[nx][ny]) == 0) return;
        if (seeds[nx][ny] == 0) stack[top++] = nx * 8 + ny;
        seeds[nx][ny] |= landing;
      };
      cross(bx, by - 1, (fresh & kRow0) << 56, DIR_UP);
      cross(bx, by + 1, (fresh & kRow7) >> 56, DIR_DOWN);
      cross(bx - 1, by, (fresh & kColumn0) << 7, DIR_LEFT);
      cross(bx + 1, by, (fresh & kColumn7) >> 7, DIR_RIGHT);
    }
    // The next layer: only as many doors deep as there are keys to spend.
    bool more = false;
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        seeds[x][y] = waiting[x][y] & ~out.squares[x][y];
        waiting[x][y] = 0;
        more = more || seeds[x][y] != 0;
      }
    if (!more || k + 1 > out.keys_available || k + 1 > 127) break;
  }
}

#include "screens/play/reachable.h"

#include <array>
#include <deque>

namespace {

struct Spot {
  int bx, by, sx, sy;
};

int Index(const Spot& s) { return ((s.by * 8 + s.bx) * 8 + s.sy) * 8 + s.sx; }

bool On_Board(int v) { return v >= 0 && v < 8; }

constexpr int kDx[4] = {0, 1, -1, 0};  // by direction: up, right, left, down
constexpr int kDy[4] = {-1, 0, 0, 1};

// One step by the walking rule, from `at` in direction d: where it leads and the keys it costs (the
// closed door of a locked block costs one). False when nothing can ever pass that way.
bool Step(const Board& b, const Spot& at, int d, Spot* to, int* cost) {
  *cost = 0;
  const int tx = at.sx + kDx[d], ty = at.sy + kDy[d];
  if (!On_Board(tx) || !On_Board(ty)) {
    const int nbx = at.bx + kDx[d], nby = at.by + kDy[d];
    if (!On_Board(nbx) || !On_Board(nby)) return false;
    const MazeBlock& n = b.blocks[nbx][nby];
    const uint8_t facing = d == DIR_UP      ? n.exit_south
                           : d == DIR_RIGHT ? n.exit_west
                           : d == DIR_LEFT  ? n.exit_east
                                            : n.exit_north;
    if (facing != 1) return false;
    *to = {nbx, nby, (tx + 8) % 8, (ty + 8) % 8};
    return true;
  }
  const MazeBlock& block = b.blocks[at.bx][at.by];
  const Square& t = block.squares[tx][ty];
  const bool vertical = d == DIR_UP || d == DIR_DOWN;
  const int32_t open = vertical ? DOOR_NS_OPEN : DOOR_EW_OPEN,
                closed = vertical ? DOOR_NS_CLOSED : DOOR_EW_CLOSED;
  if ((t.blocked == 0 && t.content < 100) || t.content == open) {
    *to = {at.bx, at.by, tx, ty};
    return true;
  }
  if (t.content != closed) return false;
  *cost = block.locked ? 1 : 0;
  *to = {at.bx, at.by, tx, ty};
  return true;
}

}  // namespace

bool ReachableSquares::Square(int bx, int by, int sx, int sy) const {
  if (!On_Board(bx) || !On_Board(by) || !On_Board(sx) || !On_Board(sy)) return false;
  return squares[static_cast<size_t>(Index({bx, by, sx, sy}))];
}

ReachableSquares Reachable_This_Turn(const Board& b, const PlayerState& p) {
  ReachableSquares r;
  const Spot start{p.block_x, p.block_y, p.square_x, p.square_y};
  if (!On_Board(start.bx) || !On_Board(start.by) || !On_Board(start.sx) || !On_Board(start.sy)) return r;
  // The fewest keys that reach each square: a breadth-first walk where a locked door costs one key
  // and everything else nothing (each door is opened once, and stays open).
  std::array<int, 4096> keys;
  keys.fill(1 << 20);
  std::deque<Spot> queue;
  keys[static_cast<size_t>(Index(start))] = 0;
  queue.push_back(start);
  while (!queue.empty()) {
    const Spot at = queue.front();
    queue.pop_front();
    const int here = keys[static_cast<size_t>(Index(at))];
    for (int d = 0; d < 4; ++d) {
      Spot to;
      int cost = 0;
      if (!Step(b, at, d, &to, &cost)) continue;
      int& best = keys[static_cast<size_t>(Index(to))];
      if (here + cost >= best || here + cost > p.keys) continue;
      best = here + cost;
      if (cost == 0)
        queue.push_front(to);
      else
        queue.push_back(to);
    }
  }
  for (int i = 0; i < 4096; ++i) {
    if (keys[static_cast<size_t>(i)] > p.keys) continue;
    r.squares[static_cast<size_t>(i)] = true;
    r.blocks[static_cast<size_t>(i / 64)] = true;
  }
  return r;
}

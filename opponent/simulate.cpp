// The planner's copy of a game, the moves carried out on it, and the scoring of a position.
#include "opponent/simulate.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "game/fields.h"

namespace {

bool On_Board(const PlayerState& p) {
  return p.block_x >= 0 && p.block_x < 8 && p.block_y >= 0 && p.block_y < 8 && p.square_x >= 0 &&
         p.square_x < 8 && p.square_y >= 0 && p.square_y < 8;
}

void Refresh_Block_Number(PlayerState& p, const Board& b) {
  if (p.block_x >= 0 && p.block_x < 8 && p.block_y >= 0 && p.block_y < 8)
    p.block_number = b.blocks[p.block_x][p.block_y].number;
}

// What a 'z' cell can become: open and empty, an object that stays open, or a solid object.
bool Drawn_Square(const Square& s) {
  if (s.content == CONTENT_EMPTY) return s.blocked == 0;
  if (s.content < OBJECT_FIRST || s.content > OBJECT_LAST) return false;
  return s.blocked == (Is_Solid_Object(s.content) ? 1 : 0);
}

// The boards agree square by square; with `drawn`, a square `a` left unknown after a rotation (a 'z'
// cell of its type taken as blocked) may hold in `b` whatever the real rotation drew.
bool Same_Board(const Board& a, const Board& b, bool drawn = false) {
  for (int bx = 0; bx < 8; ++bx) {
    for (int by = 0; by < 8; ++by) {
      const MazeBlock& x = a.blocks[bx][by];
      const MazeBlock& y = b.blocks[bx][by];
      if (!Same_Block_Fields(x, y)) return false;
      for (int sx = 0; sx < 8; ++sx)
        for (int sy = 0; sy < 8; ++sy) {
          const Square &p = x.squares[sx][sy], &q = y.squares[sx][sy];
          if (p.blocked == q.blocked && p.content == q.content) continue;
          if (drawn && p.blocked == 1 && p.content == CONTENT_EMPTY &&
              Template_Square_Random(x.type, sx, sy) && Drawn_Square(q))
            continue;
          return false;
        }
    }
  }
  return true;
}

}  // namespace

Sim::Sim(const PlanPosition& p) : board(p.board), p1(p.player1), p2(p.player2), current(p.current_player) {
  // The playing screen refreshes the block numbers every frame; a capture between frames has them.
  Refresh_Block_Number(p1, board);
  Refresh_Block_Number(p2, board);
}

void Frame(Sim& s) {
  PlayerState* mover = Player_To_Move(s.View());
  if (mover != nullptr) Apply_Pickups(s.board, *mover, s.current == 1);
  Check_Winner(s.board, s.p1, s.p2);
  Refresh_Block_Number(s.p1, s.board);
  Refresh_Block_Number(s.p2, s.board);
}

bool Same_Position(const Sim& s, const PlanPosition& p) {
  return s.current == p.current_player && Same_Player_Fields(s.p1, p.player1) &&
         Same_Player_Fields(s.p2, p.player2) && Same_Board(s.board, p.board);
}

bool As_Predicted(const Sim& s, const PlanPosition& p) {
  return s.current == p.current_player && Same_Player_Fields(s.p1, p.player1) &&
         Same_Player_Fields(s.p2, p.player2) && Same_Board(s.board, p.board, true);
}

bool Same_Position(const Sim& a, const Sim& b) {
  return a.current == b.current && Same_Player_Fields(a.p1, b.p1) && Same_Player_Fields(a.p2, b.p2) &&
         Same_Board(a.board, b.board);
}

ComputerMove Walk_Move(int square) {
  ComputerMove m;
  m.kind = MOVE_WALK;
  m.block_x = Reach_Block_X(square);
  m.block_y = Reach_Block_Y(square);
  m.square_x = Reach_Square_X(square);
  m.square_y = Reach_Square_Y(square);
  return m;
}

ComputerMove Shift_Move(bool column, int32_t line, uint8_t direction) {
  ComputerMove m;
  m.kind = MOVE_SHIFT;
  m.column = column;
  m.line = line;
  m.direction = direction;
  return m;
}

ComputerMove Rotate_Move(int32_t bx, int32_t by) {
  ComputerMove m;
  m.kind = MOVE_ROTATE;
  m.block_x = bx;
  m.block_y = by;
  return m;
}

ComputerMove End_Turn_Move() { return ComputerMove{}; }

bool Move_Allowed(const Sim& s, const ComputerMove& m) {
  if (s.current > 1 || s.Over()) return false;
  const PlayerState& p = s.Mover();
  switch (m.kind) {
    case MOVE_END_TURN:
      return true;
    case MOVE_SHIFT:
      return p.actions > 0 && m.line >= 1 && m.line <= 8 && m.direction <= 1;
    case MOVE_ROTATE: {
      if (p.actions <= 0 || m.block_x < 0 || m.block_x > 7 || m.block_y < 0 || m.block_y > 7) return false;
      const MazeBlock& b = s.board.blocks[m.block_x][m.block_y];
      return b.home == 0 && b.type != BLOCK_CROSSING && b.type >= 0 && b.type < BLOCK_TYPE_COUNT;
    }
    case MOVE_WALK: {
      std::vector<int32_t> steps;
      return On_Board(p) &&
             Walk_Steps(s.board, p, s.Mover_Is_P1(), m.block_x, m.block_y, m.square_x, m.square_y, steps) &&
             !steps.empty();
    }
  }
  return false;
}

bool Carry_Out(Sim& s, const ComputerMove& m, std::vector<int32_t>& steps) {
  if (m.kind != MOVE_WALK && !Move_Allowed(s, m)) return false;
  switch (m.kind) {
    case MOVE_WALK:
      if (s.current > 1 || s.Over() || !On_Board(s.Mover()) ||
          !Walk_Steps(s.board, s.Mover(), s.Mover_Is_P1(), m.block_x, m.block_y, m.square_x, m.square_y,
                      steps) ||
          steps.empty())
        return false;
      for (const int32_t d : steps) {
        Move_Player_To_Move(d, s.board, s.View());
        Frame(s);
        if (s.Over()) break;
      }
      return true;
    case MOVE_SHIFT:
      Paid_Shift(m.column, m.line, m.direction, s.board, s.View());
      Frame(s);
      return true;
    case MOVE_ROTATE:
      Paid_Rotate(m.block_x, m.block_y, s.board, s.View(), Load_Template_Cached);
      Frame(s);
      return true;
    case MOVE_END_TURN: {
      MazeBlock shown = s.board.blocks[0][0];
      End_Turn(s.board, s.View(), shown);
      Frame(s);
      return true;
    }
  }
  return false;
}

// ---- Scoring -------------------------------------------------------------------------------------

namespace {

struct Goal {
  int32_t bx, by;
  int32_t distance;
};

// What opening each side (north, east, south, west) of a block of each type costs, in quarters of an
// action: four per quarter turn it needs (a turn moves every exit one side on, anticlockwise).
struct TurnTable {
  int8_t quarters[BLOCK_TYPE_COUNT][4];
  constexpr TurnTable() : quarters{} {
    for (int t = 0; t < BLOCK_TYPE_COUNT; ++t) {
      const uint8_t exits[4] = {block_layouts[t].north, block_layouts[t].east, block_layouts[t].south,
                                block_layouts[t].west};
      for (int side = 0; side < 4; ++side) {
        int8_t k = 0;
        while (k < 4 && exits[(side + k) % 4] == 0) ++k;
        quarters[t][side] = static_cast<int8_t>(4 * k);
      }
    }
  }
};
constexpr TurnTable kTurnTable;

// What opening a side costs, in quarters of an action; a block that never turns (a home block) twelve,
// for the shifts that would have to bring another way.
int Open_Cost(const MazeBlock& b, int side) {
  if (b.type < 0 || b.type >= BLOCK_TYPE_COUNT) return 12;
  const int k = kTurnTable.quarters[b.type][side];
  return k != 0 && b.home == 1 ? 12 : k;
}

constexpr int32_t kFar = 1 << 20;
// Crossing the board's edge, in quarters of an action. The shift that brings the far end of a line
// alongside moves the near end away with it, so the way it promises is seldom there after one shift;
// priced as a few actions, it gives way to a way that quarter turns open one by one, where each turn
// shows as progress.
constexpr int32_t kEdgeCost = 16;

// From the region to the blocks, in quarters of an action: the fewest quarter turns that would open a
// way along rows and columns (4 each, every block opening the sides it is crossed by) plus one for
// each block crossed, and across the board's edge kEdgeCost for the shifts that would bring the far
// end of the line alongside. A bucket queue (no step costs more than 41) that stops once every block of
// `wanted` (bit bx * 8 + by) is settled; the others may be left unsettled.
void Way_Costs(const Board& b, const ReachRegion& r, uint64_t wanted, int32_t cost[8][8]) {
  constexpr int kBuckets = 64;
  int8_t open[8][8][4];
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      const MazeBlock& block = b.blocks[x][y];
      for (int side = 0; side < 4; ++side) open[x][y][side] = static_cast<int8_t>(Open_Cost(block, side));
    }
  uint8_t bucket[kBuckets][64 * 4 + 64];
  int count[kBuckets] = {};
  int pending = 0;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      cost[x][y] = kFar;
      if (r.blocks[x][y] != REACH_NONE) {
        cost[x][y] = 0;
        bucket[0][count[0]++] = static_cast<uint8_t>(x * 8 + y);
        ++pending;
      }
    }
  constexpr int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};  // north, east, south, west
  for (int32_t c = 0; pending > 0 && wanted != 0; ++c) {
    const int slot = c % kBuckets;
    while (count[slot] > 0) {
      const int i = bucket[slot][--count[slot]];
      --pending;
      const int bx = i >> 3, by = i & 7;
      if (cost[bx][by] != c) continue;  // reached for less since
      wanted &= ~(uint64_t{1} << i);
      for (int side = 0; side < 4; ++side) {
        int nx = bx + kDx[side], ny = by + kDy[side];
        // Across the board's edge only by a shift of the line, which brings the far end alongside.
        const int32_t shift = (nx < 0 || nx > 7 || ny < 0 || ny > 7) ? kEdgeCost : 0;
        nx &= 7;
        ny &= 7;
        const int32_t next = c + 1 + shift + open[bx][by][side] + open[nx][ny][(side + 2) % 4];
        if (next >= cost[nx][ny]) continue;
        cost[nx][ny] = next;
        const int to = next % kBuckets;
        bucket[to][count[to]++] = static_cast<uint8_t>(nx * 8 + ny);
        ++pending;
      }
    }
  }
}

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
  int32_t best = kFar;
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
  return best < kFar;
}

double Score_Position(const Board& b, const PlayerState& p, bool is_player1, const ReachRegion& r,
                      int32_t actions, const Weights& w) {
  // Treasures the walk can still take: those behind no locked door, then one per key.
  Goal remaining[MAX_TREASURES * 2 + 4];
  int n_remaining = 0;
  int free_treasures = 0, locked_treasures = 0;
  int locked_goals = 0;  // remaining treasure blocks that a key must open
  const uint64_t treasure_square = Region_Bit(3, 3);
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
            if ((r.free_squares[bx][by] & bit) || ((r.squares[bx][by] & bit) && keys_left > 0))
              return SCORE_WIN;
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
        if (b.blocks[bx][by].has_key == 1 && b.blocks[bx][by].squares[4][4].content == KEY)
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
  if (missing > 0) {
    // The nearest key lying on the board, for the goals that need one.
    int32_t nearest = 64;
    for (int bx = 0; bx < 8; ++bx)
      for (int by = 0; by < 8; ++by)
        if (b.blocks[bx][by].has_key == 1 && b.blocks[bx][by].squares[4][4].content == KEY)
          nearest = std::min(nearest, cost[bx][by]);
    score -= w.key_missing * missing + w.distance_rest * quarter * nearest;
  }
  return score;
}

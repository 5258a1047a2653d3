// The candidates of a turn: where the player may stand before an action, the actions worth trying,
// the walks that take what a position offers, and the values of a position and of a candidate.
#include <algorithm>
#include <cstdlib>

#include "opponent/search.h"

namespace {

bool Near_Region(const ReachRegion& r, int bx, int by) {
  constexpr int kDx[5] = {0, 1, -1, 0, 0}, kDy[5] = {0, 0, 0, 1, -1};
  for (int i = 0; i < 5; ++i) {
    const int x = bx + kDx[i], y = by + kDy[i];
    if (x >= 0 && x < 8 && y >= 0 && y < 8 && r.blocks[x][y] != REACH_NONE) return true;
  }
  return false;
}

}  // namespace

int Standing_Squares(const Board& b, const ReachRegion& r, int own, int* out, int max) {
  struct Entry {
    int distance, bx, by;
  };
  Entry blocks[64];
  int n_blocks = 0;
  for (int bx = 0; bx < 8; ++bx)
    for (int by = 0; by < 8; ++by)
      if (r.free_squares[bx][by] != 0)
        blocks[n_blocks++] = Entry{std::abs(bx - r.start_block_x) + std::abs(by - r.start_block_y), bx, by};
  std::stable_sort(blocks, blocks + n_blocks,
                   [](const Entry& a, const Entry& c) { return a.distance < c.distance; });
  int n = 0;
  for (int i = 0; i < n_blocks && n < max; ++i) {
    const MazeBlock& block = b.blocks[blocks[i].bx][blocks[i].by];
    uint64_t left = r.free_squares[blocks[i].bx][blocks[i].by];
    if (i == 0 && own >= 0 && Reach_Block_X(own) == blocks[i].bx && Reach_Block_Y(own) == blocks[i].by) {
      out[n++] = own;
      left &= ~Block_Flood(block, Region_Bit(Reach_Square_X(own), Reach_Square_Y(own)));
    }
    while (left != 0 && n < max) {
      const int bit = __builtin_ctzll(left);
      out[n++] = Reach_Index(blocks[i].bx, blocks[i].by, bit & 7, bit >> 3);
      left &= ~Block_Flood(block, uint64_t{1} << bit);
    }
  }
  return n;
}

void Action_List(const Sim& s, const ReachRegion& mine, const ReachRegion* theirs, std::vector<Action>& out) {
  out.clear();
  for (int column = 1; column >= 0; --column)
    for (int line = 1; line <= 8; ++line)
      for (int direction = 1; direction >= 0; --direction)
        out.push_back(
            Action{false, column == 1, static_cast<int8_t>(line), static_cast<uint8_t>(direction), 0, 0});
  const bool is_p1 = s.Mover_Is_P1();
  for (int bx = 0; bx < 8; ++bx)
    for (int by = 0; by < 8; ++by) {
      const MazeBlock& block = s.board.blocks[bx][by];
      if (!Block_Turns(block)) continue;
      const bool goal = (is_p1 ? block.treasure_p1 : block.treasure_p2) == 1;
      if (!goal && !Near_Region(mine, bx, by) && (theirs == nullptr || !Near_Region(*theirs, bx, by)))
        continue;
      out.push_back(Action{true, false, 0, 0, static_cast<int8_t>(bx), static_cast<int8_t>(by)});
    }
}

double Blend(const Value& v, double opponent) {
  if (v.mover >= SCORE_WIN) return SCORE_WIN;
  if (v.other >= SCORE_WIN && opponent > 0) return -SCORE_WIN;
  return v.mover - opponent * v.other;
}

bool Same_Layout(const Sim& a, const Sim& b) {
  for (int bx = 0; bx < 8; ++bx)
    for (int by = 0; by < 8; ++by)
      if (a.board.blocks[bx][by].number != b.board.blocks[bx][by].number ||
          a.board.blocks[bx][by].type != b.board.blocks[bx][by].type)
        return false;
  for (const auto pick : {&Sim::p1, &Sim::p2}) {
    const PlayerState &x = a.*pick, &y = b.*pick;
    if (x.block_x != y.block_x || x.block_y != y.block_y || x.treasures != y.treasures) return false;
  }
  return true;
}

// Walks that take what the region offers, the nearest first: the player's treasures (spending keys
// where a locked door is in the way) while the turn's walking stays short (the score counts those it
// can still reach as taken: they wait, and the turn ends on the way to one), a home mark once all five are
// carried, and tokens and keys nearby, or further away when they are needed (no action left for a token, no
// key in hand for a key), while the turn's walking stays short. `walked` counts the arrow steps.
int PlannerSearch::Sweep(Sim& s, std::vector<ComputerMove>& moves, int32_t& walked) {
  int walks = 0;
  for (; walks < 24 && !s.Over(); ++walks) {
    const PlayerState& p = s.Mover();
    const bool is_p1 = s.Mover_Is_P1();
    Compute_Reach(s.board, p, *reach);
    const Reach& r = *reach;
    int target = -1;
    for (int i = 0; i < r.count && target < 0; ++i) {
      const int q = r.order[i];
      const MazeBlock& block = s.board.blocks[Reach_Block_X(q)][Reach_Block_Y(q)];
      const int32_t sx = Reach_Square_X(q), sy = Reach_Square_Y(q);
      if (p.treasures >= MAX_TREASURES) {
        if (block.squares[sx][sy].content == HOME_MARK) target = q;
      } else if (sx == TREASURE_SQUARE_X && sy == TREASURE_SQUARE_Y &&
                 (is_p1 ? block.treasure_p1 : block.treasure_p2) == 1 &&
                 walked + r.steps[q] <=
                     (walked == 0 ? params.weights.long_walk : params.weights.turn_steps)) {
        target = q;
      }
    }
    for (int i = 0; i < r.count && target < 0; ++i) {
      const int q = r.order[i];
      if (r.keys[q] != 0) break;
      const int32_t c = s.board.blocks[Reach_Block_X(q)][Reach_Block_Y(q)]
                            .squares[Reach_Square_X(q)][Reach_Square_Y(q)]
                            .content;
      const bool near = r.steps[q] <= params.weights.near_steps;
      if (walked + r.steps[q] > params.weights.turn_steps) continue;
      if ((c == TOKEN && p.actions < MAX_ACTIONS && (near || p.actions == 0)) ||
          (c == KEY && p.keys < MAX_KEYS && (near || p.keys == 0)))
        target = q;
    }
    if (target < 0 || target == r.start) break;
    const ComputerMove m = Walk_Move(target);
    if (!Carry_Out(s, m, steps)) break;
    walked += static_cast<int32_t>(steps.size());
    moves.push_back(m);
  }
  return walks;
}

// What the position is worth to the player to move (with the actions it has left) and, when `both`,
// to the other player (with the at least one action its turn will bring).
Value PlannerSearch::Evaluate(Sim& s, bool both, MaskCache* cache) {
  Value v;
  const PlayerState& m = s.Mover();
  Compute_Region(s.board, m, *region, cache);
  v.mover = Score_Position(s.board, m, s.Mover_Is_P1(), *region, m.actions, params.weights, &v.progress);
  if (both) {
    const PlayerState& o = s.Other();
    Compute_Region(s.board, o, *other_region, cache);
    v.other =
        Score_Position(s.board, o, !s.Mover_Is_P1(), *other_region, std::max(1, o.actions), params.weights);
  }
  return v;
}

void PlannerSearch::Apply(Sim& s, int stand, const Action& a, Applied& undo) {
  PlayerState& m = s.Mover();
  undo.mine = Spot_Of(m);
  undo.theirs = Spot_Of(s.Other());
  Put(m, Spot{Reach_Block_X(stand), Reach_Block_Y(stand), Reach_Square_X(stand), Reach_Square_Y(stand),
              s.board.blocks[Reach_Block_X(stand)][Reach_Block_Y(stand)].number});
  // The blocks' masks hold while only shifts move them; a turned block's are made anew.
  if (a.rotate) {
    MazeBlock& block = s.board.blocks[a.bx][a.by];
    undo.turned = block;
    Rotate_Block(block, Load_Template_Cached);
    Rotate_Players_In_Block(block, s.p1, s.p2);
    if (numbers_unique) masks->Forget(block.number);
  } else if (a.column) {
    Shift_Column(a.line, a.direction, s.board, s.p1, s.p2);
  } else {
    Shift_Row(a.line, a.direction, s.board, s.p1, s.p2);
  }
  m.actions -= 1;
}

void PlannerSearch::Undo(Sim& s, const Action& a, const Applied& undo) {
  s.Mover().actions += 1;
  if (a.rotate) {
    s.board.blocks[a.bx][a.by] = undo.turned;
    if (numbers_unique) masks->Forget(undo.turned.number);
  } else if (a.column) {
    Shift_Column(a.line, static_cast<uint8_t>(1 - a.direction), s.board, s.p1, s.p2);
  } else {
    Shift_Row(a.line, static_cast<uint8_t>(1 - a.direction), s.board, s.p1, s.p2);
  }
  Put(s.Mover(), undo.mine);
  Put(s.Other(), undo.theirs);
}

// The values after standing on `stand` and making the action, undone afterwards; with `repeated`,
// also what leading back to a position seen before costs there.
Value PlannerSearch::Try(Sim& s, int stand, const Action& a, bool both, double* repeated) {
  Apply(s, stand, a, *applied);
  const Value v = Evaluate(s, both, numbers_unique ? masks.get() : nullptr);
  if (repeated) *repeated = Repeat_Cost(s);
  Undo(s, a, *applied);
  return v;
}

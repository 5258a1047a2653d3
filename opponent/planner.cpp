// The planner: a beam search over the actions of this turn (walk, shift or turn, walk, shift or
// turn...), each walk taking what it can reach, scored by progress towards the player's goals. The
// easy level picks one noisy action at a time from where it stands; the hard level also weighs the
// opponent's position and judges its best plans by the opponent's answer (searched as the normal
// level plays) and its own next action. In a game that has gone on far longer than games take, every
// level lets noise into its choice, so that two players undoing each other's moves break the circle.
// The search is written as plain loops that pause after each unit of work (a C++20 coroutine), so
// the shell can run it a slice per frame and the result never depends on how the slices fall.
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <memory>
#include <vector>

#include "opponent/coroutine.h"
#include "opponent/opponent.h"
#include "opponent/simulate.h"

PlanPosition Capture_Position() { return PlanPosition{board, player1, player2, current_player}; }

namespace {

// ---- A search that pauses after each unit of work ------------------------------------------------

class Slices {
 public:
  struct promise_type {
    Slices get_return_object() { return Slices(std::coroutine_handle<promise_type>::from_promise(*this)); }
    std::suspend_always initial_suspend() noexcept { return {}; }
    std::suspend_always final_suspend() noexcept { return {}; }
    std::suspend_always yield_value(int /*unit*/) noexcept { return {}; }
    void return_void() noexcept {}
    void unhandled_exception() noexcept { std::terminate(); }
  };

  Slices() = default;
  explicit Slices(std::coroutine_handle<promise_type> h) : handle_(h) {}
  Slices(Slices&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  Slices& operator=(Slices&& other) noexcept {
    if (this != &other) {
      if (handle_) handle_.destroy();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  ~Slices() {
    if (handle_) handle_.destroy();
  }
  // Runs up to the next pause; false once the search has finished.
  bool Resume() {
    if (!handle_ || handle_.done()) return false;
    handle_.resume();
    return !handle_.done();
  }

 private:
  std::coroutine_handle<promise_type> handle_;
};

// ---- Levels --------------------------------------------------------------------------------------

// How widely one turn is searched.
struct Breadth {
  bool stand_anywhere;  // may walk anywhere in the region before an action (else acts where it stands)
  int max_stands;       // standing squares tried per position
  int build;            // candidates made into whole positions per depth
  int beam;             // positions carried to the next depth
  int max_depth;        // actions searched in a row
  double noise;         // easy: up to this much added to or taken from a candidate's score
  double opponent;      // how much the opponent's score counts against its own
  int64_t unit_cap;     // the most units the search spends; past it, the best position found so far
  int unstick;          // when no action beats standing still: first actions tried with a second
  int unstick_stands;   // standing squares tried for that second action
};

struct Params {
  Breadth turn;             // its own turn
  int outlooks;             // hard: the best plans judged again by what follows them
  Breadth answer;           // the opponent's turn, searched as the normal level would play it
  int next_stands;          // its own next action after that: standing squares tried
  double outlook_opponent;  // how much the opponent's score counts in that judgement
  Weights weights;
  bool restless = false;  // a long game: noise, and never a turn without an action
};

Params Level_Params(ComputerLevel level) {
  const Breadth normal{true, 12, 6, 2, 5, 0.0, 0.0, 6000, 6, 6};
  Breadth answer = normal;  // the opponent's turn as hard foresees it, in less work
  answer.unit_cap = 3000;
  answer.unstick = 0;
  switch (level) {
    case LEVEL_EASY:
      return Params{Breadth{false, 1, 1, 1, 5, 260.0, 0.0, 600, 0, 0}, 0, normal, 0, 0.0, Weights{}};
    case LEVEL_HARD:
      return Params{Breadth{true, 32, 12, 5, 5, 0.0, 0.3, 25000, 10, 12}, 12, answer, 16, 0.5, Weights{}};
    default:
      return Params{normal, 0, normal, 0, 0.0, Weights{}};
  }
}

// A game this long has gone round in circles: two players undoing each other's shift, or a way home
// that no plan within a turn finds. From here on every level lets noise into its choice, more with
// each turn, as easy always does, so the circle breaks and the game goes on.
constexpr int32_t RESTLESS_AFTER_TURNS = 30;
constexpr double RESTLESS_NOISE_PER_TURN = 8.0;

Params Turn_Params(ComputerLevel level, int32_t turns_played) {
  Params p = Level_Params(level);
  p.restless = turns_played > RESTLESS_AFTER_TURNS;
  if (p.restless)
    p.turn.noise =
        std::max(p.turn.noise, std::min(Level_Params(LEVEL_EASY).turn.noise,
                                        RESTLESS_NOISE_PER_TURN * (turns_played - RESTLESS_AFTER_TURNS)));
  return p;
}

// A shift or a quarter turn.
struct Action {
  bool rotate;
  bool column;
  int8_t line;
  uint8_t direction;
  int8_t bx, by;
};

ComputerMove Move_Of(const Action& a) {
  return a.rotate ? Rotate_Move(a.bx, a.by) : Shift_Move(a.column, a.line, a.direction);
}

// A position the search reached: the moves from the start of the search and their outcome.
struct Node {
  std::unique_ptr<Sim> sim;
  std::vector<ComputerMove> moves;
  double score = 0;
  int depth = 0;
};

struct Candidate {
  int node;
  int stand;
  int action;
  double score;
};

// Where a player stands, to put it back.
struct Spot {
  int32_t bx, by, sx, sy, number;
};
Spot Spot_Of(const PlayerState& p) {
  return Spot{p.block_x, p.block_y, p.square_x, p.square_y, p.block_number};
}
void Put(PlayerState& p, const Spot& s) {
  p.block_x = s.bx;
  p.block_y = s.by;
  p.square_x = s.sx;
  p.square_y = s.sy;
  p.block_number = s.number;
}

int Square_Of(const PlayerState& p) { return Reach_Index(p.block_x, p.block_y, p.square_x, p.square_y); }

uint64_t Split_Mix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// One square per part of a block that the walk reaches without a key: the player's own square
// first, then its block's other parts, then the other blocks by their distance from it. Inside its
// block, a part's first square reaches all the part.
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

bool Near_Region(const ReachRegion& r, int bx, int by) {
  constexpr int kDx[5] = {0, 1, -1, 0, 0}, kDy[5] = {0, 0, 0, 1, -1};
  for (int i = 0; i < 5; ++i) {
    const int x = bx + kDx[i], y = by + kDy[i];
    if (x >= 0 && x < 8 && y >= 0 && y < 8 && r.blocks[x][y] != REACH_NONE) return true;
  }
  return false;
}

// The shifts, then the quarter turns worth trying: the blocks that turn by the player's region or
// the opponent's, or holding a goal of the player.
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
      if (block.home == 1 || block.type == BLOCK_CROSSING || block.type < 0 || block.type >= BLOCK_TYPE_COUNT)
        continue;
      const bool goal = (is_p1 ? block.treasure_p1 : block.treasure_p2) == 1;
      if (!goal && !Near_Region(mine, bx, by) && (theirs == nullptr || !Near_Region(*theirs, bx, by)))
        continue;
      out.push_back(Action{true, false, 0, 0, static_cast<int8_t>(bx), static_cast<int8_t>(by)});
    }
}

// What a position is worth to the player to move and to the other player.
struct Value {
  double mover = 0, other = 0;
};

// The mover's view: its own score less part of the other's; a win on either side decides.
double Blend(const Value& v, double opponent) {
  if (v.mover >= SCORE_WIN) return SCORE_WIN;
  if (v.other >= SCORE_WIN && opponent > 0) return -SCORE_WIN;
  return v.mover - opponent * v.other;
}

// The blocks stand as in `b` and both players stand in the blocks they stood in, with the treasures
// they had (where in the block they stand, a walk changes at no cost).
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

}  // namespace

// ---- The search ----------------------------------------------------------------------------------

struct PlannerSearch {
  // The plan being played: its moves, the one returned now, and the position it should lead to.
  ComputerLevel level = LEVEL_NORMAL;
  uint64_t seed = 0;
  std::vector<ComputerMove> plan;
  size_t next = 0;
  std::unique_ptr<Sim> expected;
  ComputerMove move;
  bool ready = false;
  int64_t units = 0;
  // The turn being played and the moves returned in it, so a turn always ends.
  uint64_t turn_key = ~0ull;
  int moves_in_turn = 0;

  // The search in progress.
  Params params{};
  uint64_t random = 0;
  std::unique_ptr<Sim> now;
  std::unique_ptr<Sim> work;
  std::unique_ptr<MazeBlock> turned;                  // a block put aside while a rotation is tried
  std::unique_ptr<Reach> reach;                       // with the walks: for the walks the plan makes
  std::unique_ptr<ReachRegion> region, other_region;  // without: for scoring
  std::unique_ptr<MaskCache> masks;                   // for the positions tried from one node
  bool numbers_unique = false;                        // every block has its own number: masks keep
  std::vector<Node> plans;                            // the positions this turn's search reached
  std::vector<int32_t> steps;
  double start_value = 0;  // what the position the turn began in is worth
  Slices job;

  static constexpr int MAX_MOVES_PER_TURN = 80;

  Slices Run();
  Slices Search_Turn(const Sim& start, const Breadth& breadth, std::vector<Node>& nodes,
                     std::vector<int>& ranked);
  Slices Best_Action(Sim& sim, double beta, int max_stands, double& best);
  bool Build_Child(const Node& parent, int stand, const Action& action, int depth, double beta, Node& child);
  Slices Outlook(const Sim& after, double& mine);
  int Sweep(Sim& s, std::vector<ComputerMove>& moves);
  Value Evaluate(Sim& s, bool both, MaskCache* cache = nullptr);
  Value Try(Sim& s, int stand, const Action& a, bool both);
  int End_Square(const Sim& s);
  std::unique_ptr<Sim> Turn_Ended(const Node& node);
  void Finish(const Node& best);
  bool Ready_Next();
  void Ready(const ComputerMove& m);
  void Readied(const ComputerMove& m);
};

// Walks that take what the region offers, the nearest first: the player's treasures (spending keys
// where a locked door is in the way), a home mark once all five are carried, tokens and keys.
int PlannerSearch::Sweep(Sim& s, std::vector<ComputerMove>& moves) {
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
      } else if (sx == 3 && sy == 3 && (is_p1 ? block.treasure_p1 : block.treasure_p2) == 1) {
        target = q;
      }
    }
    for (int i = 0; i < r.count && target < 0; ++i) {
      const int q = r.order[i];
      if (r.keys[q] != 0) break;
      const int32_t c = s.board.blocks[Reach_Block_X(q)][Reach_Block_Y(q)]
                            .squares[Reach_Square_X(q)][Reach_Square_Y(q)]
                            .content;
      if ((c == TOKEN && p.actions < MAX_ACTIONS) || (c == KEY && p.keys < MAX_KEYS)) target = q;
    }
    if (target < 0 || target == r.start) break;
    const ComputerMove m = Walk_Move(target);
    if (!Carry_Out(s, m, steps)) break;
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
  v.mover = Score_Position(s.board, m, s.Mover_Is_P1(), *region, m.actions, params.weights);
  if (both) {
    const PlayerState& o = s.Other();
    Compute_Region(s.board, o, *other_region, cache);
    v.other =
        Score_Position(s.board, o, !s.Mover_Is_P1(), *other_region, std::max(1, o.actions), params.weights);
  }
  return v;
}

// The values after standing on `stand` and making the action, undone afterwards.
Value PlannerSearch::Try(Sim& s, int stand, const Action& a, bool both) {
  PlayerState& m = s.Mover();
  const Spot mine = Spot_Of(m), theirs = Spot_Of(s.Other());
  Put(m, Spot{Reach_Block_X(stand), Reach_Block_Y(stand), Reach_Square_X(stand), Reach_Square_Y(stand),
              s.board.blocks[Reach_Block_X(stand)][Reach_Block_Y(stand)].number});
  // The blocks' masks hold while only shifts move them; a turned block's are made anew.
  MaskCache* cache = numbers_unique ? masks.get() : nullptr;
  if (a.rotate) {
    MazeBlock& block = s.board.blocks[a.bx][a.by];
    *turned = block;
    Rotate_Block(block, Load_Template_Cached);
    Rotate_Players_In_Block(block, s.p1, s.p2);
    if (cache) cache->Forget(block.number);
  } else if (a.column) {
    Shift_Column(a.line, a.direction, s.board, s.p1, s.p2);
  } else {
    Shift_Row(a.line, a.direction, s.board, s.p1, s.p2);
  }
  m.actions -= 1;
  const Value v = Evaluate(s, both, cache);
  m.actions += 1;
  if (a.rotate) {
    s.board.blocks[a.bx][a.by] = *turned;
    if (cache) cache->Forget(turned->number);
  } else if (a.column) {
    Shift_Column(a.line, static_cast<uint8_t>(1 - a.direction), s.board, s.p1, s.p2);
  } else {
    Shift_Row(a.line, static_cast<uint8_t>(1 - a.direction), s.board, s.p1, s.p2);
  }
  Put(m, mine);
  Put(s.Other(), theirs);
  return v;
}

// Where to end the turn: the square the walk reaches without a key that lies nearest the next goal.
int PlannerSearch::End_Square(const Sim& s) {
  const PlayerState& p = s.Mover();
  Compute_Reach(s.board, p, *reach);
  Compute_Region(s.board, p, *region);
  const Reach& r = *reach;
  int32_t gx = 0, gy = 0;
  if (r.start < 0 || !Next_Goal(s.board, p, s.Mover_Is_P1(), *region, gx, gy)) return r.start;
  const int32_t tx = gx * 8 + 3, ty = gy * 8 + 3;
  int best = r.start;
  int32_t best_distance = 1 << 20;
  for (int i = 0; i < r.count; ++i) {
    const int q = r.order[i];
    if (r.keys[q] != 0) break;
    const int32_t x = Reach_Block_X(q) * 8 + Reach_Square_X(q), y = Reach_Block_Y(q) * 8 + Reach_Square_Y(q);
    const int32_t d = std::abs(x - tx) + std::abs(y - ty);
    if (d < best_distance) {
      best_distance = d;
      best = q;
    }
  }
  return best;
}

// The position after the node's plan, its walk to the end square and the end of the turn.
std::unique_ptr<Sim> PlannerSearch::Turn_Ended(const Node& node) {
  auto after = std::make_unique<Sim>(*node.sim);
  if (after->Over()) return after;
  const int end = End_Square(*after);
  if (end != Square_Of(after->Mover())) Carry_Out(*after, Walk_Move(end), steps);
  Carry_Out(*after, End_Turn_Move(), steps);
  return after;
}

// The best the player to move in `sim` can make of one action (or none), weighing the opponent's
// score by `beta`: the value it reaches.
Slices PlannerSearch::Best_Action(Sim& sim, double beta, int max_stands, double& best) {
  best = Blend(Evaluate(sim, true), beta);
  co_yield 1;
  if (best >= SCORE_WIN || sim.Mover().actions <= 0) co_return;
  masks->Forget_All();
  Compute_Region(sim.board, sim.Mover(), *region);
  int stands[64];
  const int n = Standing_Squares(sim.board, *region, Square_Of(sim.Mover()), stands, max_stands);
  Compute_Region(sim.board, sim.Other(), *other_region);
  std::vector<Action> actions;
  Action_List(sim, *region, other_region.get(), actions);
  for (int i = 0; i < n; ++i)
    for (const Action& a : actions) {
      best = std::max(best, Blend(Try(sim, stands[i], a, true), beta));
      co_yield 1;
      if (best >= SCORE_WIN) co_return;
    }
}

// The position after the parent's: a walk to `stand`, the action, and the walks that take what it
// then reaches; scored as the search scores. False when a move is refused.
bool PlannerSearch::Build_Child(const Node& parent, int stand, const Action& action, int depth, double beta,
                                Node& child) {
  child = Node{std::make_unique<Sim>(*parent.sim), parent.moves, 0, depth};
  if (stand != Square_Of(child.sim->Mover())) {
    const ComputerMove walk = Walk_Move(stand);
    if (!Carry_Out(*child.sim, walk, steps)) return false;
    child.moves.push_back(walk);
  }
  const ComputerMove act = Move_Of(action);
  if (!Carry_Out(*child.sim, act, steps)) return false;
  child.moves.push_back(act);
  Sweep(*child.sim, child.moves);
  child.score = Blend(Evaluate(*child.sim, beta > 0), beta);
  return true;
}

// A search of one turn of the player to move in `start`: beam by beam over its actions (a walk, then
// a shift or a quarter turn), each followed by the walks that take what it reaches. `nodes` gets the
// positions reached, `ranked` them from the best: the highest score, the fewest actions among equals.
Slices PlannerSearch::Search_Turn(const Sim& start, const Breadth& P, std::vector<Node>& nodes,
                                  std::vector<int>& ranked) {
  int64_t spent = 0;
  auto over_budget = [&]() { return spent >= P.unit_cap; };
  const bool both = P.opponent > 0;

  nodes.clear();
  nodes.push_back(Node{std::make_unique<Sim>(start), {}, 0, 0});
  spent += Sweep(*nodes[0].sim, nodes[0].moves) + 1;
  co_yield 1;
  nodes[0].score = Blend(Evaluate(*nodes[0].sim, both), P.opponent);
  std::vector<int> beam{0};
  std::vector<Candidate> candidates;
  std::vector<std::vector<Action>> node_actions;
  std::vector<std::vector<int>> node_stands;
  std::vector<Candidate> first;
  std::vector<int> first_stands;
  std::vector<Action> first_actions;
  int stands[64];

  for (int depth = 1; depth <= P.max_depth && !beam.empty() && !over_budget(); ++depth) {
    candidates.clear();
    node_actions.assign(beam.size(), {});
    node_stands.assign(beam.size(), {});
    for (size_t bi = 0; bi < beam.size() && !over_budget(); ++bi) {
      const Node& node = nodes[beam[bi]];
      if (node.sim->Over() || node.sim->Mover().actions <= 0) continue;
      *work = *node.sim;
      masks->Forget_All();
      Compute_Region(work->board, work->Mover(), *region);
      int n = 1;
      stands[0] = Square_Of(work->Mover());
      if (P.stand_anywhere) n = Standing_Squares(work->board, *region, stands[0], stands, P.max_stands);
      const ReachRegion* theirs = nullptr;
      if (both) {
        Compute_Region(work->board, work->Other(), *other_region);
        theirs = other_region.get();
      }
      Action_List(*work, *region, theirs, node_actions[bi]);
      node_stands[bi].assign(stands, stands + n);
      ++spent;
      co_yield 1;
      for (size_t si = 0; si < node_stands[bi].size() && !over_budget(); ++si)
        for (size_t ai = 0; ai < node_actions[bi].size(); ++ai) {
          double score = Blend(Try(*work, node_stands[bi][si], node_actions[bi][ai], both), P.opponent);
          if (P.noise > 0 && score < SCORE_WIN)
            score += P.noise * (static_cast<double>(Split_Mix(random) >> 11) * 0x1.0p-53 * 2.0 - 1.0);
          candidates.push_back(
              Candidate{static_cast<int>(bi), static_cast<int>(si), static_cast<int>(ai), score});
          ++spent;
          co_yield 1;
        }
    }
    if (candidates.empty()) break;
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
      if (a.score != b.score) return a.score > b.score;
      if (a.node != b.node) return a.node < b.node;
      if (a.action != b.action) return a.action < b.action;
      return a.stand < b.stand;
    });
    if (depth == 1) {  // kept for a way out, should no action beat standing still
      first.assign(candidates.begin(), candidates.begin() + std::min<size_t>(candidates.size(), 64));
      first_stands = node_stands[0];
      first_actions = node_actions[0];
    }
    std::vector<int> built;
    for (size_t ci = 0; ci < candidates.size() && static_cast<int>(built.size()) < P.build; ++ci) {
      const Candidate& c = candidates[ci];
      // The same action from another standing square that scores the same leads to the same place.
      if (ci > 0 && candidates[ci - 1].node == c.node && candidates[ci - 1].action == c.action &&
          candidates[ci - 1].score == c.score)
        continue;
      Node child;
      const Node& parent = nodes[beam[c.node]];
      if (!Build_Child(parent, node_stands[c.node][c.stand], node_actions[c.node][c.action], depth,
                       P.opponent, child))
        continue;
      spent += static_cast<int64_t>(child.moves.size() - parent.moves.size()) + 1;
      bool known = false;  // a position another order of the same actions already reached
      for (const int other : built) known = known || Same_Position(*nodes[other].sim, *child.sim);
      co_yield 1;
      if (known) continue;
      nodes.push_back(std::move(child));
      built.push_back(static_cast<int>(nodes.size()) - 1);
    }
    std::stable_sort(built.begin(), built.end(),
                     [&](int a, int b) { return nodes[a].score > nodes[b].score; });
    if (static_cast<int>(built.size()) > P.beam) built.resize(P.beam);
    beam = built;
  }

  // Stuck: no action does better than standing still. The best few first actions are tried with a
  // second one after them (the next turn's, the opponent left out), and a first action whose pair
  // gets further than any single one is played: a way out that starts with a step back.
  double single = nodes[0].score;
  for (const Node& node : nodes) single = std::max(single, node.score);
  if (P.unstick > 0 && single <= nodes[0].score && !first.empty() && nodes[0].sim->Mover().actions > 0 &&
      !over_budget()) {
    double best_pair = single + params.weights.way_out;
    Node way_out;
    int tried = 0;
    for (size_t ci = 0; ci < first.size() && tried < P.unstick; ++ci) {
      const Candidate& c = first[ci];
      if (ci > 0 && first[ci - 1].action == c.action && first[ci - 1].score == c.score) continue;
      Node child;
      if (!Build_Child(nodes[0], first_stands[c.stand], first_actions[c.action], 1, P.opponent, child))
        continue;
      ++tried;
      if (child.sim->Over()) continue;
      auto next_turn = std::make_unique<Sim>(*child.sim);
      next_turn->Mover().actions = std::max(1, next_turn->Mover().actions);
      double pair = child.score;
      Slices second = Best_Action(*next_turn, P.opponent, P.unstick_stands, pair);
      while (second.Resume()) co_yield 1;
      if (pair > best_pair) {
        best_pair = pair;
        way_out = std::move(child);
        // Ranked above standing still, by half of what the pair gains.
        way_out.score = nodes[0].score + 0.5 * (pair - nodes[0].score);
      }
    }
    if (way_out.sim) nodes.push_back(std::move(way_out));
  }

  ranked.resize(nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) ranked[i] = static_cast<int>(i);
  std::stable_sort(ranked.begin(), ranked.end(), [&](int a, int b) {
    if (nodes[a].score != nodes[b].score) return nodes[a].score > nodes[b].score;
    return nodes[a].depth < nodes[b].depth;
  });
}

// What the position after this turn (`after`, the opponent to move) is worth: the opponent plays its
// turn as the normal level would, then this player makes its best next action. An answer that puts
// the blocks and players back as they stood when this turn began (the opponent undoing this turn's
// action, which would go round for ever) makes the turn worth less than its start.
Slices PlannerSearch::Outlook(const Sim& after, double& mine) {
  const double beta = params.outlook_opponent;
  std::vector<Node> answers;
  std::vector<int> ranked;
  Slices answer = Search_Turn(after, params.answer, answers, ranked);
  while (answer.Resume()) co_yield 1;
  const Node& best = answers[ranked[0]];
  if (best.sim->Over() || best.score >= SCORE_WIN) {
    mine = -SCORE_WIN;
    co_return;
  }
  auto sim = std::make_unique<Sim>(*best.sim);
  const bool round_trip = Same_Layout(*sim, *now);
  Carry_Out(*sim, End_Turn_Move(), steps);
  // What the next action adds counts for half: what a turn takes now is worth more than later.
  const double standing = Blend(Evaluate(*sim, true), beta);
  double later = standing;
  Slices next_action = Best_Action(*sim, beta, params.next_stands, later);
  while (next_action.Resume()) co_yield 1;
  mine = standing + params.weights.next_action * (later - standing);
  if (round_trip) mine = std::min(mine, start_value - params.weights.round_trip);
}

Slices PlannerSearch::Run() {
  std::vector<int> ranked;
  start_value = Blend(Evaluate(*now, params.turn.opponent > 0), params.turn.opponent);
  Slices turn = Search_Turn(*now, params.turn, plans, ranked);
  while (turn.Resume()) co_yield 1;
  int chosen = ranked[0];
  // Easy never lets its one action go unused, even where it finds nothing better to do with it: its
  // noisy choice moves things on where a careful player would stand still and stay stuck. A restless
  // level uses one of its actions however many it has.
  if (params.turn.noise > 0 && plans[chosen].depth == 0 && (now->Mover().actions == 1 || params.restless))
    for (const int i : ranked)
      if (plans[i].depth > 0) {
        chosen = i;
        break;
      }

  // Hard: the best few plans judged by what follows them, the opponent's turn and its own next action;
  // a win the opponent could take in its turn is not handed to it where another plan prevents it.
  if (params.outlooks > 0 && plans[chosen].score < SCORE_WIN) {
    // With one action, which the next turn brings back anyway, standing still wastes it whenever an
    // action does better for its own progress: such plans are not weighed.
    bool acting_pays = false;
    for (const Node& node : plans)
      acting_pays = acting_pays || (node.depth > 0 && node.score >= plans[0].score);
    const bool idle_wastes = acting_pays && now->Mover().actions == 1;
    double best = 0, reference = 0;
    bool judged = false;
    for (size_t i = 0; i < ranked.size() && static_cast<int>(i) < params.outlooks; ++i) {
      const Node& node = plans[ranked[i]];
      if (node.score >= SCORE_WIN) {
        chosen = ranked[i];
        break;
      }
      if (idle_wastes && node.depth == 0) continue;
      const auto after = Turn_Ended(node);
      double mine = 0;
      Slices outlook = Outlook(*after, mine);
      while (outlook.Resume()) co_yield 1;
      // The outlook guesses at the opponent: against the outlook of the plan that does most for its own
      // progress, only a difference beyond the doubt it leaves counts, and for a share.
      if (!judged) reference = mine;
      const double doubt = params.weights.outlook_doubt;
      const double gain = mine - reference;
      const double sure = gain > doubt ? gain - doubt : gain < -doubt ? gain + doubt : 0.0;
      const double value = mine <= -SCORE_WIN ? mine : node.score + params.weights.outlook_share * sure;
      if (!judged || value > best) {
        best = value;
        chosen = ranked[i];
        judged = true;
      }
    }
  }
  Finish(plans[chosen]);
}

// The plan of the chosen position: its moves, a walk to where the turn should end, the end of the turn.
void PlannerSearch::Finish(const Node& best) {
  plan = best.moves;
  if (!best.sim->Over()) {
    const int end = End_Square(*best.sim);
    if (end >= 0 && end != Square_Of(best.sim->Mover())) plan.push_back(Walk_Move(end));
    plan.push_back(End_Turn_Move());
  }
  expected = std::make_unique<Sim>(*now);
  next = 0;
  if (!Ready_Next()) Ready(End_Turn_Move());  // a first move the position refuses: never made
}

// Makes plan[next] the move to return when it is allowed in the position it will be made in, and
// predicts the position after it. False, with nothing readied, when it is not allowed.
bool PlannerSearch::Ready_Next() {
  const ComputerMove m = next < plan.size() ? plan[next] : End_Turn_Move();
  if (moves_in_turn < MAX_MOVES_PER_TURN && m.kind != MOVE_END_TURN) {
    *work = *expected;
    if (!Carry_Out(*work, m, steps)) return false;
    std::swap(work, expected);
    Readied(m);
    return true;
  }
  Ready(m);
  return true;
}

// Returns `m` (the end of the turn once the turn has had its share of moves).
void PlannerSearch::Ready(const ComputerMove& m) {
  const ComputerMove made = moves_in_turn >= MAX_MOVES_PER_TURN ? End_Turn_Move() : m;
  Carry_Out(*expected, made, steps);
  Readied(made);
}

void PlannerSearch::Readied(const ComputerMove& m) {
  move = m;
  if (move.kind == MOVE_END_TURN) plan.clear();
  ++moves_in_turn;
  ready = true;
}

Planner::Planner() : search_(std::make_unique<PlannerSearch>()) {}
Planner::~Planner() = default;

void Planner::Begin(const PlanPosition& now, ComputerLevel level, uint64_t seed) {
  PlannerSearch& s = *search_;
  s.units = 0;
  s.ready = false;
  const PlayerState& mover = now.current_player == 1 ? now.player1 : now.player2;
  const uint64_t turn_key = (seed * 0x100000001B3ull) ^ (static_cast<uint64_t>(now.current_player) << 40) ^
                            static_cast<uint32_t>(mover.turns);
  if (turn_key != s.turn_key) {
    s.turn_key = turn_key;
    s.moves_in_turn = 0;
  }
  // The position the plan predicted (the squares a rotation drew aside): its next move is ready, when
  // the position allows it.
  if (!s.plan.empty() && s.expected && s.level == level && s.seed == seed && s.next + 1 < s.plan.size() &&
      As_Predicted(*s.expected, now)) {
    *s.expected = Sim(now);
    ++s.next;
    if (s.Ready_Next()) return;
  }
  s.level = level;
  s.seed = seed;
  s.plan.clear();
  s.next = 0;
  s.params = Turn_Params(level, mover.turns);
  s.random = seed ^ (0xD1B54A32D192ED03ull * static_cast<uint64_t>(s.moves_in_turn + 1));
  s.now = std::make_unique<Sim>(now);
  s.expected = std::make_unique<Sim>(now);
  if (!s.work) s.work = std::make_unique<Sim>(now);
  if (!s.reach) s.reach = std::make_unique<Reach>();
  if (!s.region) s.region = std::make_unique<ReachRegion>();
  if (!s.masks) s.masks = std::make_unique<MaskCache>();
  if (!s.turned) s.turned = std::make_unique<MazeBlock>(now.board.blocks[0][0]);
  bool seen[65] = {};
  s.numbers_unique = true;
  for (const auto& column : now.board.blocks)
    for (const MazeBlock& block : column) {
      if (block.number < 1 || block.number > 64 || seen[block.number]) s.numbers_unique = false;
      if (block.number >= 1 && block.number <= 64) seen[block.number] = true;
    }
  if (!s.other_region) s.other_region = std::make_unique<ReachRegion>();
  const bool on_board = mover.block_x >= 0 && mover.block_x < 8 && mover.block_y >= 0 && mover.block_y < 8 &&
                        mover.square_x >= 0 && mover.square_x < 8 && mover.square_y >= 0 &&
                        mover.square_y < 8;
  if (now.current_player > 1 || !on_board || s.now->Over() ||
      s.moves_in_turn >= PlannerSearch::MAX_MOVES_PER_TURN) {
    s.job = Slices();
    s.Ready(End_Turn_Move());  // nothing to plan: the end of the turn
    return;
  }
  s.job = s.Run();
}

bool Planner::Work(int budget) {
  PlannerSearch& s = *search_;
  while (!s.ready && budget-- > 0) {
    const bool more = s.job.Resume();
    ++s.units;
    if (!more && !s.ready) s.Ready(End_Turn_Move());  // a search that ended without a plan ends the turn
  }
  return s.ready;
}

ComputerMove Planner::Move() const { return search_->move; }

int64_t Planner::Units_Spent() const { return search_->units; }

// The planner's search, shared by its parts. A beam search over the actions of this turn (walk, shift
// or turn, walk, shift or turn...), each walk taking what it can reach, scored by progress towards the
// player's goals: the candidates of a turn (where to stand and what to do there, candidates.cpp), the
// search of one turn (turn_search.cpp), the choice among its plans and the outlook beyond it
// (outlook.cpp), and the plan being carried out (plan.cpp). The levels' tables are in levels.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/reach.h"
#include "opponent/levels.h"
#include "opponent/memory.h"
#include "opponent/opponent.h"
#include "opponent/simulate.h"
#include "opponent/slices.h"

// A shift or a quarter turn.
struct Action {
  bool rotate;
  bool column;
  int8_t line;
  uint8_t direction;
  int8_t bx, by;
};

inline ComputerMove Move_Of(const Action& a) {
  return a.rotate ? Rotate_Move(a.bx, a.by) : Shift_Move(a.column, a.line, a.direction);
}

// A position the search reached: the moves from the start of the search and their outcome; for a way
// out longer than the turn, the actions the next turns are to make and what the whole is worth.
struct Node {
  std::unique_ptr<Sim> sim;
  std::vector<ComputerMove> moves;
  double score = 0;
  double repeated = 0;   // what the score lost for leading back to a position seen before
  int32_t progress = 0;  // how far along its goals the player to move is
  int32_t walked = 0;    // arrow steps its walks take
  int depth = 0;
  std::vector<Action> next;  // a way out longer than the turn: the actions the next turns make
  double promised = 0;       // what the whole way out is worth
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
inline Spot Spot_Of(const PlayerState& p) {
  return Spot{p.block_x, p.block_y, p.square_x, p.square_y, p.block_number};
}
inline void Put(PlayerState& p, const Spot& s) {
  p.block_x = s.bx;
  p.block_y = s.by;
  p.square_x = s.sx;
  p.square_y = s.sy;
  p.block_number = s.number;
}

inline int Square_Of(const PlayerState& p) {
  return Reach_Index(p.block_x, p.block_y, p.square_x, p.square_y);
}

inline uint64_t Split_Mix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// What a position is worth to the player to move and to the other player.
struct Value {
  double mover = 0, other = 0;
  int32_t progress = 0;  // the mover's, as Score_Position gives it
};

// The mover's view: its own score less part of the other's; a win on either side decides.
double Blend(const Value& v, double opponent);
// The blocks stand as in `b` and both players stand in the blocks they stood in, with the treasures
// they had (where in the block they stand, a walk changes at no cost).
bool Same_Layout(const Sim& a, const Sim& b);
// One square per part of a block that the walk reaches without a key: the player's own square
// first, then its block's other parts, then the other blocks by their distance from it. Inside its
// block, a part's first square reaches all the part.
int Standing_Squares(const Board& b, const ReachRegion& r, int own, int* out, int max);
// The shifts, then the quarter turns worth trying: the blocks that turn by the player's region or
// the opponent's, or holding a goal of the player.
void Action_List(const Sim& s, const ReachRegion& mine, const ReachRegion* theirs, std::vector<Action>& out);

// What Apply changed, for Undo: where the players stood, and a turned block as it was.
struct Applied {
  Spot mine, theirs;
  MazeBlock turned;
};

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
  int64_t mispredictions = 0;
  // The turn being played and the moves returned in it, so a turn always ends.
  uint64_t turn_key = ~0ull;
  int moves_in_turn = 0;
  // What each side remembers of its game ([1] player 1, [0] player 2), the side of this turn and its
  // count of turns, and whether the search in progress is of its own turn (where memory counts).
  PositionMemory memory[2];
  // For each side: where its last turn ended, and how many of the opponent's turns in a row have
  // left the board as it was then.
  uint64_t last_end[2] = {0, 0};
  int32_t idle_answers[2] = {1, 1};
  // For each side: the furthest along its goals it has been at the start of a turn, and since when.
  struct Stall {
    int32_t best = -PROGRESS_WIN;
    int32_t since = 0;
  } stalls[2];
  int side = 0;
  int32_t turn = 0;
  bool remembering = false;
  // A way out chosen over more than one turn: the actions its next turns make, for the side, after
  // which the position should be worth `promised`. Followed when the next turn comes, unless it no
  // longer gets there.
  struct Route {
    int side = 0;
    int32_t turn = 0;
    std::vector<Action> actions;
    double promised = 0;
  } route;

  // The search in progress.
  Params params{};
  uint64_t random = 0;
  std::unique_ptr<Sim> now;
  std::unique_ptr<Sim> work;
  std::unique_ptr<Applied> applied;                   // what a tried action changed
  std::unique_ptr<Applied> in_row[3];                 // and the actions of a way out, in a row
  std::unique_ptr<Reach> reach;                       // with the walks: for the walks the plan makes
  std::unique_ptr<ReachRegion> region, other_region;  // without: for scoring
  std::unique_ptr<MaskCache> masks;                   // for the positions tried from one node
  bool numbers_unique = false;                        // every block has its own number: masks keep
  std::vector<Node> plans;                            // the positions this turn's search reached
  std::vector<int32_t> steps;
  double start_value = 0;  // what the position the turn began in is worth
  Slices job;

  Slices Run();
  Slices Search_Turn(const Sim& start, const Breadth& breadth, std::vector<Node>& nodes,
                     std::vector<int>& ranked);
  Slices Best_Action(Sim& sim, double beta, int max_stands, double& best);
  bool Build_Child(const Node& parent, int stand, const Action& action, int depth, double beta, Node& child);
  Slices Outlook(const Sim& after, double& mine);
  Slices Way_Out(const Node& start, const Breadth& breadth, double single, Node& out);
  Slices Sequences(Sim& s, const Node& start, const Breadth& breadth,
                   const std::vector<const std::vector<Action>*>& lists, size_t depth, int stand,
                   int64_t& spent, double& best, std::vector<Action>& trail, std::vector<Action>& found);
  // The node of the route's action from the position the turn's search started in (plans[0]), or -1.
  int Follow_Route();
  int Sweep(Sim& s, std::vector<ComputerMove>& moves, int32_t& walked);
  Value Evaluate(Sim& s, bool both, MaskCache* cache = nullptr);
  Value Try(Sim& s, int stand, const Action& a, bool both, double* repeated = nullptr);
  // Stands the player to move on `stand` and makes the action in place (its cost paid); Undo puts
  // everything back.
  void Apply(Sim& s, int stand, const Action& a, Applied& undo);
  void Undo(Sim& s, const Action& a, const Applied& undo);
  int End_Square(const Sim& s, int32_t walked);
  std::unique_ptr<Sim> Turn_Ended(const Node& node);
  void Finish(const Node& best);
  bool Ready_Next();
  void Ready(const ComputerMove& m);
  void Readied(const ComputerMove& m);
  // What leading back to a position the side of this turn has passed through before costs: the weight
  // `repeat` for each time it was there, up to four; 0 for a new one.
  double Repeat_Cost(const Sim& s) const;
  double Walking_Cost(const Node& node) const;
};

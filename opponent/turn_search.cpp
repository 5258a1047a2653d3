// The search of one turn: a beam over the player's actions (a walk, then a shift or a quarter turn),
// each followed by the walks that take what it reaches; and the way out when no action helps.
#include <algorithm>

#include "opponent/search.h"

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
  child = Node{};
  child.sim = std::make_unique<Sim>(*parent.sim);
  child.moves = parent.moves;
  child.depth = depth;
  child.walked = parent.walked;
  if (stand != Square_Of(child.sim->Mover())) {
    const ComputerMove walk = Walk_Move(stand);
    if (!Carry_Out(*child.sim, walk, steps)) return false;
    child.walked += static_cast<int32_t>(steps.size());
    child.moves.push_back(walk);
  }
  const ComputerMove act = Move_Of(action);
  if (!Carry_Out(*child.sim, act, steps)) return false;
  child.moves.push_back(act);
  Sweep(*child.sim, child.moves, child.walked);
  const Value v = Evaluate(*child.sim, beta > 0);
  child.score = Blend(v, beta);
  child.progress = v.progress;
  child.repeated = Repeat_Cost(*child.sim);
  child.score -= child.repeated + Walking_Cost(child);
  return true;
}

// What watching the node's walks costs; nothing beside a win.
double PlannerSearch::Walking_Cost(const Node& node) const {
  return node.score >= SCORE_WIN ? 0.0 : params.weights.step * node.walked;
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
  nodes.push_back(Node{});
  nodes[0].sim = std::make_unique<Sim>(start);
  spent += Sweep(*nodes[0].sim, nodes[0].moves, nodes[0].walked) + 1;
  co_yield 1;
  const Value standing = Evaluate(*nodes[0].sim, both);
  nodes[0].score = Blend(standing, P.opponent);
  nodes[0].progress = standing.progress;
  nodes[0].repeated = Repeat_Cost(*nodes[0].sim);
  nodes[0].score -= nodes[0].repeated + Walking_Cost(nodes[0]);
  std::vector<int> beam{0};
  std::vector<Candidate> candidates;
  std::vector<std::vector<Action>> node_actions;
  std::vector<std::vector<int>> node_stands;
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
          double repeated = 0;
          double score =
              Blend(Try(*work, node_stands[bi][si], node_actions[bi][ai], both, &repeated), P.opponent) -
              repeated;
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

  // Stuck: no action gets further along the goals than standing still. Pairs of actions are tried,
  // the second the next turn's: a way out that starts with a step back.
  double single = nodes[0].score;
  bool progress = false;
  for (const Node& node : nodes) {
    single = std::max(single, node.score);
    progress = progress || node.progress > nodes[0].progress;
  }
  if (P.way_out_units > 0 && !progress && nodes[0].sim->Mover().actions > 0) {
    Node way_out;
    Slices pairs = Way_Out(nodes[0], P, single, way_out);
    while (pairs.Resume()) co_yield 1;
    if (way_out.sim) nodes.push_back(std::move(way_out));
  }

  ranked.resize(nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) ranked[i] = static_cast<int>(i);
  std::stable_sort(ranked.begin(), ranked.end(), [&](int a, int b) {
    if (nodes[a].score != nodes[b].score) return nodes[a].score > nodes[b].score;
    return nodes[a].depth < nodes[b].depth;
  });
}

// The choice among the turn's plans: for the hard level, judged by what follows them (the opponent's
// answer and its own next action); and where the turn ends.
#include <algorithm>
#include <cstdlib>

#include "opponent/search.h"

// Where to end the turn, after `walked` steps of it: on the way to the nearest treasure the walk can
// take with the keys in hand but left for later, as far as the turn's first long walk would go; else the
// square a short walk reaches without a key that lies nearest the next goal, each step of the walk
// there counted against it.
int PlannerSearch::End_Square(const Sim& s, int32_t walked) {
  const PlayerState& p = s.Mover();
  Compute_Reach(s.board, p, *reach);
  Compute_Region(s.board, p, *region);
  const Reach& r = *reach;
  if (r.start < 0) return r.start;
  if (p.treasures < MAX_TREASURES)
    for (int i = 0; i < r.count; ++i) {
      const int q = r.order[i];
      if (r.keys[q] > p.keys) continue;  // behind more doors than keys in hand
      const MazeBlock& block = s.board.blocks[Reach_Block_X(q)][Reach_Block_Y(q)];
      if (Reach_Square_X(q) != TREASURE_SQUARE_X || Reach_Square_Y(q) != TREASURE_SQUARE_Y ||
          (s.Mover_Is_P1() ? block.treasure_p1 : block.treasure_p2) != 1)
        continue;
      const int32_t allowed = params.weights.long_walk - walked;
      if (allowed <= 0) break;
      int on_the_way = q;
      while (on_the_way != r.start && r.steps[on_the_way] > allowed) on_the_way = r.came_from[on_the_way];
      return on_the_way;
    }
  int32_t gx = 0, gy = 0;
  if (!Next_Goal(s.board, p, s.Mover_Is_P1(), *region, gx, gy)) return r.start;
  const int32_t tx = gx * 8 + TREASURE_SQUARE_X, ty = gy * 8 + TREASURE_SQUARE_Y;
  int best = r.start;
  double best_cost = 1e18;
  for (int i = 0; i < r.count; ++i) {
    const int q = r.order[i];
    if (r.keys[q] != 0) break;
    if (r.steps[q] > params.weights.end_steps) continue;
    const int32_t x = Reach_Block_X(q) * 8 + Reach_Square_X(q), y = Reach_Block_Y(q) * 8 + Reach_Square_Y(q);
    const double cost = std::abs(x - tx) + std::abs(y - ty) + params.weights.end_step * r.steps[q];
    if (cost < best_cost) {
      best_cost = cost;
      best = q;
    }
  }
  return best;
}

// The position after the node's plan, its walk to the end square and the end of the turn.
std::unique_ptr<Sim> PlannerSearch::Turn_Ended(const Node& node) {
  auto after = std::make_unique<Sim>(*node.sim);
  if (after->Over()) return after;
  const int end = End_Square(*after, node.walked);
  if (end != Square_Of(after->Mover())) Carry_Out(*after, Walk_Move(end), steps);
  Carry_Out(*after, End_Turn_Move(), steps);
  return after;
}

// What the position after this turn (`after`, the opponent to move) is worth: the opponent plays its
// turn as the normal level would, then this player makes its best next action. An answer that puts
// the blocks and players back as they stood when this turn began, or in a position an earlier turn
// of this game began or ended in (the two undoing each other's moves, which would go round for
// ever), makes the turn worth less than its start.
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
  // Back where this turn began, or where an earlier turn stood: the game goes round.
  remembering = true;
  const bool round_trip = Same_Layout(*sim, *now) || Repeat_Cost(*sim) > 0;
  remembering = false;
  Carry_Out(*sim, End_Turn_Move(), steps);
  // What the next action adds counts for half: what a turn takes now is worth more than later.
  const double standing = Blend(Evaluate(*sim, true), beta);
  double later = standing;
  Slices next_action = Best_Action(*sim, beta, params.next_stands, later);
  while (next_action.Resume()) co_yield 1;
  mine = standing + params.weights.next_action * (later - standing);
  if (round_trip) mine = std::min(mine, start_value - params.weights.round_trip);
}

// The plan that gets furthest along the goals to a position not seen before, the best scored among
// equals; the first ranked where there is none.
int Furthest(const std::vector<Node>& plans, const std::vector<int>& ranked) {
  int further = -1;
  for (const int i : ranked)
    if (plans[i].repeated == 0 && (further < 0 || plans[i].progress > plans[further].progress)) further = i;
  return further < 0 ? ranked[0] : further;
}

Slices PlannerSearch::Run() {
  std::vector<int> ranked;
  const Value start = Evaluate(*now, params.turn.opponent > 0);
  start_value = Blend(start, params.turn.opponent);
  // A side that has got no further along its goals for a few turns presses on: the plan that gets
  // furthest, whatever else it gives up.
  Stall& stall = stalls[side];
  if (start.progress > stall.best) stall = Stall{start.progress, turn};
  const bool pressing = turn - stall.since >= params.weights.stall_turns;
  remembering = true;
  Slices own_turn = Search_Turn(*now, params.turn, plans, ranked);
  while (own_turn.Resume()) co_yield 1;
  const int followed = Follow_Route();
  remembering = false;
  int chosen = ranked[0];
  if (pressing) {
    const int further = Furthest(plans, ranked);
    if (plans[further].progress > plans[0].progress) {
      Finish(plans[further]);
      co_return;
    }
  }
  // A route begun in the last turn is followed, unless the search found clearly better.
  if (followed >= 0 && plans[followed].score + params.weights.way_out >= plans[chosen].score &&
      plans[chosen].score < SCORE_WIN) {
    Finish(plans[followed]);
    co_return;
  }
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

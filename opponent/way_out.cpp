// The way out of a position where no action of the turn gets further along the goals than standing
// still: a few actions in a row, the first a step back, that together get further. First two shifts
// of the lines through and beside the next goal, which bring a goal whose way in faces the board's
// edge (or a block no turn opens) round to the player; where none does, every pair of shifts; then
// three shifts round the goal; then a shift and a quarter turn, and two quarter turns, while the
// units last. Tried where the player stands, the
// opponent left out, as if it let the board be. What the turn's actions cannot pay for is kept as the route
// the next turns follow.
#include <algorithm>

#include "opponent/search.h"

namespace {

// The shifts of the goal's row and column and of those beside them (round the board's edge).
void Goal_Lines(int32_t gx, int32_t gy, std::vector<Action>& out) {
  out.clear();
  for (const int d : {0, -1, 1})
    for (uint8_t direction = 0; direction <= 1; ++direction) {
      out.push_back(Action{false, true, static_cast<int8_t>((gx + d + 8) % 8 + 1), direction, 0, 0});
      out.push_back(Action{false, false, static_cast<int8_t>((gy + d + 8) % 8 + 1), direction, 0, 0});
    }
}

}  // namespace

// Tries every sequence of `lists.size()` actions, the n-th from lists[n], made in place on `s` from
// `stand`; the best that gets further than `start` (and beats `best`) is kept in `found`.
Slices PlannerSearch::Sequences(Sim& s, const Node& start, const Breadth& P,
                                const std::vector<const std::vector<Action>*>& lists, size_t depth, int stand,
                                int64_t& spent, double& best, std::vector<Action>& trail,
                                std::vector<Action>& found) {
  const bool both = P.opponent > 0;
  const std::vector<Action>& actions = *lists[depth];
  for (const Action& a : actions) {
    if (spent >= P.way_out_units) co_return;
    if (a.rotate && !Block_Turns(s.board.blocks[a.bx][a.by])) continue;
    Apply(s, stand, a, *in_row[depth]);
    trail.push_back(a);
    if (depth + 1 < lists.size()) {
      Slices deeper =
          Sequences(s, start, P, lists, depth + 1, Square_Of(s.Mover()), spent, best, trail, found);
      while (deeper.Resume()) co_yield 1;
    } else {
      const Value v = Evaluate(s, both, numbers_unique ? masks.get() : nullptr);
      double value = Blend(v, P.opponent);
      value -= Repeat_Cost(s);
      if (v.progress > start.progress && value > best) {
        best = value;
        found = trail;
      }
      ++spent;
      co_yield 1;
    }
    trail.pop_back();
    Undo(s, a, *in_row[depth]);
  }
}

Slices PlannerSearch::Way_Out(const Node& start, const Breadth& P, double single, Node& out) {
  const bool both = P.opponent > 0;
  Sim& s = *work;
  s = *start.sim;
  masks->Forget_All();
  Compute_Region(s.board, s.Mover(), *region);
  Compute_Region(s.board, s.Other(), *other_region);
  std::vector<Action> actions, shifts, turns, lines;
  Action_List(s, *region, both ? other_region.get() : nullptr, actions);
  for (const Action& a : actions) (a.rotate ? turns : shifts).push_back(a);
  const int own = Square_Of(s.Mover());
  double best = single + params.weights.way_out;
  std::vector<Action> found, trail;
  int64_t spent = 0;
  int32_t gx = 0, gy = 0;
  const bool goal = Next_Goal(s.board, s.Mover(), s.Mover_Is_P1(), *region, gx, gy);
  if (goal) Goal_Lines(gx, gy, lines);
  const std::vector<const std::vector<Action>*> two_lines = {&lines, &lines}, two_shifts = {&shifts, &shifts},
                                                three_lines = {&lines, &lines,
                                                               &lines};  // outlive the searches
  for (const auto* lists : {&two_lines, &two_shifts, &three_lines}) {
    if (!found.empty() || (lists != &two_shifts && !goal)) continue;
    Slices tried = Sequences(s, start, P, *lists, 0, own, spent, best, trail, found);
    while (tried.Resume()) co_yield 1;
  }
  const std::vector<const std::vector<Action>*> mixed[] = {
      {&shifts, &turns}, {&turns, &shifts}, {&turns, &turns}};
  for (const auto& lists : mixed) {
    Slices tried = Sequences(s, start, P, lists, 0, own, spent, best, trail, found);
    while (tried.Resume()) co_yield 1;
  }
  if (found.empty()) co_return;
  // As many of the actions as the turn pays for, now; the rest waits for the next turns.
  out = Node{};
  out.sim = std::make_unique<Sim>(*start.sim);
  out.moves = start.moves;
  size_t made = 0;
  for (; made < found.size() && out.sim->Mover().actions > 0 && !out.sim->Over(); ++made) {
    Node child;
    if (!Build_Child(out, Square_Of(out.sim->Mover()), found[made], static_cast<int>(made) + 1, P.opponent,
                     child))
      break;
    out = std::move(child);
  }
  if (made == 0) {
    out = Node{};
    co_return;
  }
  if (made < found.size() && !out.sim->Over()) {
    // Ranked above standing still by half of what the whole gains.
    out.score = std::max(out.score, start.score + 0.5 * (best - start.score));
    out.next.assign(found.begin() + static_cast<ptrdiff_t>(made), found.end());
    out.promised = best;
  }
}

int PlannerSearch::Follow_Route() {
  const Route r = route;
  route = Route{};
  if (r.actions.empty() || r.actions.size() > 3 || r.side != side || r.turn >= turn || plans.empty())
    return -1;
  // Still worth what it promised, all of it made from where the player stands now? Where the
  // opponent's turn has spoilt the way, it is dropped.
  Sim& s = *work;
  s = *plans[0].sim;
  for (size_t i = 0; i < r.actions.size(); ++i) {
    const Action& a = r.actions[i];
    if (a.rotate && !Block_Turns(s.board.blocks[a.bx][a.by])) return -1;
    Apply(s, Square_Of(s.Mover()), a, *in_row[i]);
  }
  const bool both = params.turn.opponent > 0;
  const double value = Blend(Evaluate(s, both), params.turn.opponent);
  for (size_t i = r.actions.size(); i-- > 0;) Undo(s, r.actions[i], *in_row[i]);
  if (value + params.weights.way_out < r.promised) return -1;
  // As much of it as the turn pays for.
  Node follow;
  follow.sim = std::make_unique<Sim>(*plans[0].sim);
  follow.moves = plans[0].moves;
  size_t made = 0;
  for (; made < r.actions.size() && follow.sim->Mover().actions > 0 && !follow.sim->Over(); ++made) {
    Node child;
    if (!Build_Child(follow, Square_Of(follow.sim->Mover()), r.actions[made], static_cast<int>(made) + 1,
                     params.turn.opponent, child))
      return -1;
    follow = std::move(child);
  }
  if (made == 0) return -1;
  if (made < r.actions.size() && !follow.sim->Over()) {
    follow.next.assign(r.actions.begin() + static_cast<ptrdiff_t>(made), r.actions.end());
    follow.promised = r.promised;
    follow.score = std::max(follow.score, plans[0].score + 0.5 * (r.promised - plans[0].score));
  }
  plans.push_back(std::move(follow));
  return static_cast<int>(plans.size()) - 1;
}

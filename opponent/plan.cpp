// The planner's public face: a turn's plan carried out move by move, each move readied when the
// position it is made in is the one the plan predicted, and the search started afresh when it is not.
#include <algorithm>

#include "opponent/search.h"

PlanPosition Capture_Position() { return PlanPosition{board, player1, player2, current_player}; }

// The plan of the chosen position: its moves, a walk to where the turn should end, the end of the turn.
void PlannerSearch::Finish(const Node& best) {
  plan = best.moves;
  route = Route{side, turn, best.next, best.promised};
  if (!best.sim->Over()) {
    const int end = End_Square(*best.sim, best.walked);
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
  if (moves_in_turn < MAX_PROGRAM_MOVES_PER_TURN && m.kind != MOVE_END_TURN) {
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
  const ComputerMove made = moves_in_turn >= MAX_PROGRAM_MOVES_PER_TURN ? End_Turn_Move() : m;
  Carry_Out(*expected, made, steps);
  Readied(made);
}

void PlannerSearch::Readied(const ComputerMove& m) {
  move = m;
  if (move.kind == MOVE_END_TURN) {
    plan.clear();
    last_end[side] = Layout_Key(*expected);  // where the turn will have led
    memory[side].Record(last_end[side], turn);
  }
  ++moves_in_turn;
  ready = true;
}

double PlannerSearch::Repeat_Cost(const Sim& s) const {
  if (!remembering || s.Over()) return 0;
  return params.weights.repeat * std::min(4, memory[side].Times_Seen(Layout_Key(s), turn));
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
    // A new turn: remembered where it begins. A count of turns lower than before is a new game.
    s.turn_key = turn_key;
    s.moves_in_turn = 0;
    s.side = now.current_player == 1 ? 1 : 0;
    s.turn = mover.turns;
    PositionMemory& memory = s.memory[s.side];
    if (mover.turns < memory.Last_Turn()) {
      memory.Forget();
      s.stalls[s.side] = PlannerSearch::Stall{};
      s.last_end[s.side] = 0;
      s.idle_answers[s.side] = 1;
    }
    const uint64_t key = Layout_Key(Sim(now));
    // Before the side's first turn has ended nothing is known of the opponent: it counts as idle.
    if (s.last_end[s.side] != 0)
      s.idle_answers[s.side] = key == s.last_end[s.side] ? s.idle_answers[s.side] + 1 : 0;
    memory.Record(key, mover.turns);
  }
  // The position the plan predicted (the squares a rotation drew aside): its next move is ready, when
  // the position allows it.
  if (!s.plan.empty() && s.expected && s.level == level && s.seed == seed && s.next + 1 < s.plan.size()) {
    if (As_Predicted(*s.expected, now)) {
      *s.expected = Sim(now);
      ++s.next;
      if (s.Ready_Next()) return;
    } else {
      ++s.mispredictions;
    }
  }
  s.level = level;
  s.seed = seed;
  s.plan.clear();
  s.next = 0;
  s.params = Turn_Params(level, mover.turns, s.idle_answers[s.side]);
  s.random = seed ^ (0xD1B54A32D192ED03ull * static_cast<uint64_t>(s.moves_in_turn + 1));
  s.now = std::make_unique<Sim>(now);
  s.expected = std::make_unique<Sim>(now);
  if (!s.work) s.work = std::make_unique<Sim>(now);
  if (!s.reach) s.reach = std::make_unique<Reach>();
  if (!s.region) s.region = std::make_unique<ReachRegion>();
  if (!s.masks) s.masks = std::make_unique<MaskCache>();
  // Made by copying: a MazeBlock made afresh would draw rand.
  if (!s.applied) s.applied = std::unique_ptr<Applied>(new Applied{{}, {}, now.board.blocks[0][0]});
  for (auto& u : s.in_row)
    if (!u) u = std::unique_ptr<Applied>(new Applied{{}, {}, now.board.blocks[0][0]});
  bool seen[65] = {};
  s.numbers_unique = true;
  for (const auto& column : now.board.blocks)
    for (const MazeBlock& block : column) {
      if (block.number < 1 || block.number > 64 || seen[block.number]) s.numbers_unique = false;
      if (block.number >= 1 && block.number <= 64) seen[block.number] = true;
    }
  if (!s.other_region) s.other_region = std::make_unique<ReachRegion>();
  if (now.current_player > 1 || !Stands_On_Board(mover) || s.now->Over() ||
      s.moves_in_turn >= MAX_PROGRAM_MOVES_PER_TURN) {
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

void Planner::New_Game() {
  PlannerSearch& s = *search_;
  for (PositionMemory& m : s.memory) m.Forget();
  for (PlannerSearch::Stall& stall : s.stalls) stall = PlannerSearch::Stall{};
  for (int side = 0; side < 2; ++side) s.last_end[side] = 0, s.idle_answers[side] = 1;
  s.route = PlannerSearch::Route{};
  s.plan.clear();
  s.turn_key = ~0ull;
}

int64_t Planner::Units_Spent() const { return search_->units; }

int64_t Planner::Mispredictions() const { return search_->mispredictions; }

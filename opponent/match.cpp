// A model-only game between planners: the moves carried out as the shell's hand will carry them out,
// with every contract of the planner checked on the way (a walk to a reachable square, a paid shift
// or rotation only with an action left, no move that changes nothing, a turn that ends).
#include "opponent/match.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "game/random.h"
#include "game/reach.h"

namespace {

// The model's part of a playing frame after the input: pickups, the end test, the block numbers.
bool Frame() { return Frame_After_Input(board, Global_Players()) == 1; }

uint64_t Mix(uint64_t h, int64_t v) { return (h ^ static_cast<uint64_t>(v)) * 0x100000001B3ull; }

struct Turn {
  TurnRecord record;
  std::vector<int32_t> steps;

  void Violation(const std::string& what) {
    if (record.violations++ == 0) record.first_violation = what;
  }

  // Carries the move out as the shell's hand will; true when the game was won by it.
  bool Carry_Out(const ComputerMove& m) {
    PlayerState* mover = Player_To_Move();
    switch (m.kind) {
      case MOVE_WALK: {
        if (!Walk_Steps(board, *mover, current_player == 1, m.block_x, m.block_y, m.square_x, m.square_y,
                        steps)) {
          Violation("walk to a square out of reach");
          return false;
        }
        if (steps.empty()) Violation("walk to the square the player stands on");
        for (const int32_t d : steps) {
          current_block = Move_Current_Player(d, current_block, board);
          if (Frame()) return true;
        }
        return false;
      }
      case MOVE_SHIFT:
        if (mover->actions <= 0) Violation("shift with no action left");
        if (Paid_Shift(m.column, m.line, m.direction, board) != 1) Violation("shift refused");
        return Frame();
      case MOVE_ROTATE:
        if (mover->actions <= 0) Violation("rotation with no action left");
        if (Paid_Rotate(m.block_x, m.block_y, board) < 0) Violation("rotation refused");
        if (m.block_x >= 0 && m.block_x < 8 && m.block_y >= 0 && m.block_y < 8)
          current_block = board.blocks[m.block_x][m.block_y];
        return Frame();
      case MOVE_END_TURN:
        End_Turn(board);
        return Frame();
    }
    return false;
  }
};

bool Same_Players(const PlayerState& a, const PlayerState& b) {
  return a.block_x == b.block_x && a.block_y == b.block_y && a.square_x == b.square_x &&
         a.square_y == b.square_y && a.actions == b.actions && a.keys == b.keys &&
         a.treasures == b.treasures && a.items == b.items;
}

void Trace_Turn(std::FILE* out, int32_t turn_number, const TurnRecord& turn) {
  const bool p1 = turn.won ? current_player == 1 : current_player == 0;  // a turn not won has passed on
  const PlayerState& p = p1 ? player1 : player2;
  std::fprintf(out, "%3d P%d:", turn_number, p1 ? 1 : 2);
  for (const ComputerMove& m : turn.moves) {
    switch (m.kind) {
      case MOVE_WALK:
        std::fprintf(out, " w%d%d.%d%d", m.block_x, m.block_y, m.square_x, m.square_y);
        break;
      case MOVE_SHIFT:
        std::fprintf(out, " %c%d%s", m.column ? 'c' : 'r', m.line, m.direction ? "+" : "-");
        break;
      case MOVE_ROTATE:
        std::fprintf(out, " t%d%d", m.block_x, m.block_y);
        break;
      case MOVE_END_TURN:
        std::fprintf(out, " end");
        break;
    }
  }
  std::fprintf(out, " | at %d%d.%d%d treasures %d actions %d keys %d\n", p.block_x, p.block_y, p.square_x,
               p.square_y, p.treasures, p.actions, p.keys);
}

}  // namespace

TurnRecord Play_Computer_Turn(Planner& planner, ComputerLevel level, uint64_t seed, int units_per_slice,
                              bool time) {
  Turn turn;
  TurnRecord& r = turn.record;
  for (int moves = 0;; ++moves) {
    if (moves > MAX_PROGRAM_MOVES_PER_TURN) {
      turn.Violation("a turn that does not end");
      turn.Carry_Out(ComputerMove{});
      break;
    }
    const PlanPosition before = Capture_Position();
    const auto started = std::chrono::steady_clock::now();
    const std::clock_t started_cpu = std::clock();
    planner.Begin(before, level, seed);
    for (bool ready = false; !ready;) {
      const auto slice = std::chrono::steady_clock::now();
      const std::clock_t slice_cpu = std::clock();
      ready = planner.Work(units_per_slice);
      if (!time) continue;
      r.longest_slice_ms = std::max(
          r.longest_slice_ms,
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - slice).count());
      r.longest_slice_cpu_ms = std::max(
          r.longest_slice_cpu_ms, 1000.0 * static_cast<double>(std::clock() - slice_cpu) / CLOCKS_PER_SEC);
    }
    if (time) {
      r.think_ms +=
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
      r.think_cpu_ms += 1000.0 * static_cast<double>(std::clock() - started_cpu) / CLOCKS_PER_SEC;
    }
    r.units += planner.Units_Spent();
    const ComputerMove m = planner.Move();
    r.moves.push_back(m);
    r.won = turn.Carry_Out(m);
    if (r.won || m.kind == MOVE_END_TURN) break;
    const PlanPosition after = Capture_Position();
    if (m.kind == MOVE_WALK && Same_Players(before.player1, after.player1) &&
        Same_Players(before.player2, after.player2))
      turn.Violation("a walk that changed nothing");
  }
  return r;
}

MatchResult Play_Match(const MatchConfig& config) {
  MatchResult result;
  Seed_Random(config.seed);
  item_density = config.density;
  New_Game(board);
  Refresh_Block_Numbers(board, player1, player2);
  const auto planner = std::make_unique<Planner>();
  uint64_t fingerprint = 0xCBF29CE484222325ull;
  int32_t played[2] = {0, 0};  // turns played by player 2, player 1
  bool won = false;
  while (!won && result.turns < config.max_turns) {
    const MatchSide& side = current_player == 1 ? config.player1 : config.player2;
    played[current_player == 1 ? 1 : 0] += 1;
    ++result.turns;
    if (!side.plays) {
      End_Turn(board);
      Frame();
      continue;
    }
    const uint64_t seed =
        static_cast<uint64_t>(config.seed) * 1000003ull + static_cast<uint64_t>(result.turns);
    const TurnRecord turn =
        Play_Computer_Turn(*planner, side.level, seed, config.units_per_slice, config.time_turns);
    for (const ComputerMove& m : turn.moves)
      fingerprint =
          Mix(Mix(Mix(Mix(fingerprint, m.kind), m.block_x * 64 + m.block_y * 8 + m.square_x), m.square_y),
              m.line * 4 + m.direction * 2 + (m.column ? 1 : 0));
    result.moves += static_cast<int64_t>(turn.moves.size());
    if (turn.violations > 0 && result.violations == 0) result.first_violation = turn.first_violation;
    result.violations += turn.violations;
    result.turn_levels.push_back(side.level);
    result.think_ms.push_back(turn.think_ms);
    result.think_cpu_ms.push_back(turn.think_cpu_ms);
    result.longest_slice_ms.push_back(turn.longest_slice_ms);
    result.longest_slice_cpu_ms.push_back(turn.longest_slice_cpu_ms);
    result.think_units.push_back(turn.units);
    won = turn.won;
    if (config.trace) Trace_Turn(config.trace, result.turns, turn);
  }
  if (player1.winner == 1) result.winner = 1;
  if (player2.winner == 1) result.winner = 2;
  if (result.winner != 0) result.winner_turns = played[result.winner == 1 ? 1 : 0];
  result.fingerprint = fingerprint;
  return result;
}

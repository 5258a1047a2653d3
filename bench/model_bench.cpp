// The model's costs: a template read from memory and loaded into a block, a new game, a step; and a
// survey of whole games played by the model tests' planner, by item_density, with how often and how
// fast it wins as counters (ORVALIS_TRACE=1 prints its every pickup and action).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/random.h"
#include "game/model.h"
#include "tests/game/planner.h"

namespace {

// The templates are read by bare name from the build's run folder.
bool Enter_Templates(benchmark::State& state) {
  std::error_code ec;
  std::filesystem::current_path(ORVALIS_RUN_DIR, ec);
  if (ec) state.SkipWithError("cannot enter the run folder");
  return !ec;
}

void BM_Read_Value_Bytes(benchmark::State& state) {
  const std::string text = "12000000\na0000000\nz9000000\n00000000\n00000000\n00000000\n00000000\n00000000\n";
  int32_t grid[8][8];
  for (auto _ : state) {
    Read_Value_Bytes(text, grid);
    benchmark::DoNotOptimize(grid);
  }
}
BENCHMARK(BM_Read_Value_Bytes);

void BM_Load_Template(benchmark::State& state) {
  if (!Enter_Templates(state)) return;
  MazeBlock block = current_block;
  int32_t type = 0;
  for (auto _ : state) {
    block.type = type++ % BLOCK_TYPE_COUNT;
    block.Load_Template();
    benchmark::DoNotOptimize(block);
  }
}
BENCHMARK(BM_Load_Template)->Unit(benchmark::kMicrosecond);

void BM_New_Game(benchmark::State& state) {
  if (!Enter_Templates(state)) return;
  unsigned seed = 0;
  for (auto _ : state) {
    Seed_Random(seed++);
    New_Game(board);
    benchmark::DoNotOptimize(board);
  }
}
BENCHMARK(BM_New_Game)->Unit(benchmark::kMicrosecond);

void BM_Step_Player(benchmark::State& state) {
  if (!Enter_Templates(state)) return;
  Seed_Random(1);
  New_Game(board);
  int32_t direction = 0;
  for (auto _ : state) {
    player2.sprite.current_frame = direction++ % 4;
    player2 = Step_Player(player2, board);
    benchmark::DoNotOptimize(player2);
  }
}
BENCHMARK(BM_Step_Player);

// Sixty planned games (seeds 1..60) of one density per iteration.
void BM_Planned_Games(benchmark::State& state) {
  if (!Enter_Templates(state)) return;
  const int density = static_cast<int>(state.range(0));
  constexpr unsigned games = 60;
  int64_t wins = 0, turns = 0, player1_wins = 0, played = 0;
  for (auto _ : state) {
    for (unsigned seed = 1; seed <= games; ++seed) {
      const orvalis_test::PlannedGame r = orvalis_test::Play_Planned_Game(seed, density, 400);
      ++played;
      if (!r.won) continue;
      ++wins;
      turns += r.turns;
      player1_wins += player1.winner;
    }
  }
  state.counters["won_share"] = played ? static_cast<double>(wins) / played : 0.0;
  state.counters["mean_turns"] = wins ? static_cast<double>(turns) / wins : 0.0;
  state.counters["player1_share"] = wins ? static_cast<double>(player1_wins) / wins : 0.0;
}
BENCHMARK(BM_Planned_Games)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

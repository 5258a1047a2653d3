// orvalis_arena: the computer opponent's figures from whole computer-vs-computer games in the model
// alone. Think time per turn (median and maximum), a strength table between levels at each item
// density with the seats swapped every other game, and each level's turns to win alone against a
// side that only ends its turn. Runs in the build's run folder, where the templates are.
//
//   orvalis_arena think [turns] [level]    think time over `turns` turns per level (default 500)
//   orvalis_arena table [games] [a] [b]    `games` per density for a against b (default 200, hard normal)
//   orvalis_arena alone [games]            turns to win alone, per level (default 50)
//   any mode: --seed N (first seed, default 1), --density D (only that density), --verbose (each game)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "opponent/match.h"

#ifndef ORVALIS_RUN_DIR
#define ORVALIS_RUN_DIR "."
#endif

namespace {

const char* Level_Name(ComputerLevel level) { return LEVEL_NAMES[level]; }

bool Parse_Level(const char* text, ComputerLevel& level) {
  const int32_t named = Level_Of_Name(text);
  if (named < 0) return false;
  level = static_cast<ComputerLevel>(named);
  return true;
}

struct Options {
  std::string mode = "think";
  int count = -1;
  ComputerLevel a = LEVEL_HARD, b = LEVEL_NORMAL;
  uint32_t seed = 1;
  int density = -1;     // -1: all three
  int only_level = -1;  // think: -1 all levels
};

int64_t violations = 0;
bool verbose = false;

void Note(const MatchResult& r, uint32_t seed) {
  if (verbose)
    std::printf("  seed %u: winner %d after %d turns; treasures p1 %d p2 %d, keys %d %d\n", seed, r.winner,
                r.turns, player1.treasures, player2.treasures, player1.keys, player2.keys);
  if (r.violations == 0) return;
  violations += r.violations;
  std::fprintf(stderr, "seed %u: %lld violations, first: %s\n", seed, static_cast<long long>(r.violations),
               r.first_violation.c_str());
}

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t i = static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

void Think(const Options& o) {
  const int turns = o.count > 0 ? o.count : 500;
  std::printf(
      "think time per turn (the sum of the slices of a turn, every slice %d units), %d turns per level,\n"
      "self-play from seeded games, densities 0-2 in turn; wall-clock and processor time\n",
      PLANNER_UNITS_PER_FRAME, turns);
  std::printf("%-8s %10s %10s %10s %10s %10s %10s %10s %10s\n", "level", "median ms", "p95 ms", "max ms",
              "cpu med", "cpu max", "max units", "slice max", "slice cpu");
  for (const ComputerLevel level : {LEVEL_EASY, LEVEL_NORMAL, LEVEL_HARD}) {
    if (o.only_level >= 0 && level != o.only_level) continue;
    std::vector<double> ms, cpu, units;
    double slice = 0, slice_cpu = 0;
    uint32_t seed = o.seed;
    while (static_cast<int>(ms.size()) < turns) {
      MatchConfig c;
      c.seed = seed;
      c.density = o.density >= 0 ? o.density : static_cast<int>(seed % 3);
      c.player1.level = c.player2.level = level;
      c.time_turns = true;
      c.max_turns = 120;
      const MatchResult r = Play_Match(c);
      Note(r, seed);
      for (size_t i = 0; i < r.think_ms.size() && static_cast<int>(ms.size()) < turns; ++i) {
        ms.push_back(r.think_ms[i]);
        cpu.push_back(r.think_cpu_ms[i]);
        units.push_back(static_cast<double>(r.think_units[i]));
        slice = std::max(slice, r.longest_slice_ms[i]);
        slice_cpu = std::max(slice_cpu, r.longest_slice_cpu_ms[i]);
      }
      ++seed;
    }
    std::printf("%-8s %10.2f %10.2f %10.2f %10.2f %10.2f %10.0f %10.2f %10.2f\n", Level_Name(level),
                Percentile(ms, 0.5), Percentile(ms, 0.95), Percentile(ms, 1.0), Percentile(cpu, 0.5),
                Percentile(cpu, 1.0), Percentile(units, 1.0), slice, slice_cpu);
    std::fflush(stdout);
  }
}

void Table(const Options& o) {
  const int games = o.count > 0 ? o.count : 200;
  std::printf("%s against %s, %d games per density, seats swapped every other game, stopped at 400 turns\n",
              Level_Name(o.a), Level_Name(o.b), games);
  std::printf("%-8s %6s %6s %8s %18s %12s\n", "density", "wins", "losses", "stopped", "share of decided",
              "mean turns");
  int total_wins = 0, total_losses = 0, total_stopped = 0;
  for (int density = 0; density < 3; ++density) {
    if (o.density >= 0 && density != o.density) continue;
    int wins = 0, losses = 0, stopped = 0;
    double turns = 0;
    for (int g = 0; g < games; ++g) {
      MatchConfig c;
      c.seed = o.seed + static_cast<uint32_t>(g);
      c.density = density;
      const bool a_is_p2 = g % 2 == 0;  // player 2 moves first
      c.player2.level = a_is_p2 ? o.a : o.b;
      c.player1.level = a_is_p2 ? o.b : o.a;
      const MatchResult r = Play_Match(c);
      Note(r, c.seed);
      if (r.winner == 0) {
        ++stopped;
      } else if ((r.winner == 2) == a_is_p2) {
        ++wins;
        turns += r.turns;
      } else {
        ++losses;
        turns += r.turns;
      }
    }
    const int decided = wins + losses;
    std::printf("%-8d %6d %6d %8d %17.1f%% %12.1f\n", density, wins, losses, stopped,
                decided ? 100.0 * wins / decided : 0.0, decided ? turns / decided : 0.0);
    std::fflush(stdout);
    total_wins += wins;
    total_losses += losses;
    total_stopped += stopped;
  }
  const int decided = total_wins + total_losses;
  std::printf("%-8s %6d %6d %8d %17.1f%%\n", "all", total_wins, total_losses, total_stopped,
              decided ? 100.0 * total_wins / decided : 0.0);
}

void Alone(const Options& o) {
  const int games = o.count > 0 ? o.count : 50;
  std::printf(
      "turns to win alone (own turns) against a side that only ends its turn, %d games per level and "
      "density\n",
      games);
  std::printf("%-8s %8s %12s %12s %12s %8s\n", "level", "density", "mean turns", "median", "max", "stopped");
  for (const ComputerLevel level : {LEVEL_EASY, LEVEL_NORMAL, LEVEL_HARD}) {
    for (int density = 0; density < 3; ++density) {
      if (o.density >= 0 && density != o.density) continue;
      std::vector<double> turns;
      int stopped = 0;
      for (int g = 0; g < games; ++g) {
        MatchConfig c;
        c.seed = o.seed + static_cast<uint32_t>(g);
        c.density = density;
        const bool computer_is_p2 = g % 2 == 0;
        c.player2.level = c.player1.level = level;
        (computer_is_p2 ? c.player1 : c.player2).plays = false;
        const MatchResult r = Play_Match(c);
        Note(r, c.seed);
        if (r.winner == 0)
          ++stopped;
        else
          turns.push_back(r.winner_turns);
      }
      double sum = 0;
      for (double t : turns) sum += t;
      std::printf("%-8s %8d %12.1f %12.0f %12.0f %8d\n", Level_Name(level), density,
                  turns.empty() ? 0.0 : sum / static_cast<double>(turns.size()), Percentile(turns, 0.5),
                  Percentile(turns, 1.0), stopped);
      std::fflush(stdout);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
      o.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--verbose") == 0) {
      verbose = true;
    } else if (std::strcmp(argv[i], "--density") == 0 && i + 1 < argc) {
      o.density = std::atoi(argv[++i]);
    } else {
      positional.push_back(argv[i]);
    }
  }
  if (!positional.empty()) o.mode = positional[0];
  if (positional.size() > 1) o.count = std::atoi(positional[1].c_str());
  if (positional.size() == 3) {
    ComputerLevel level = LEVEL_NORMAL;
    if (!Parse_Level(positional[2].c_str(), level)) {
      std::fprintf(stderr, "levels are easy, normal or hard\n");
      return 2;
    }
    o.only_level = level;
  }
  if (positional.size() > 3 &&
      (!Parse_Level(positional[2].c_str(), o.a) || !Parse_Level(positional[3].c_str(), o.b))) {
    std::fprintf(stderr, "levels are easy, normal or hard\n");
    return 2;
  }
  const char* dir = std::getenv("ORVALIS_RUN_DIR");
  std::error_code ec;
  std::filesystem::current_path(dir != nullptr ? dir : ORVALIS_RUN_DIR, ec);
  if (ec) {
    std::fprintf(stderr, "cannot enter the run folder (set ORVALIS_RUN_DIR)\n");
    return 2;
  }
  if (o.mode == "think") {
    Think(o);
  } else if (o.mode == "table") {
    Table(o);
  } else if (o.mode == "alone") {
    Alone(o);
  } else {
    std::fprintf(stderr,
                 "usage: orvalis_arena think|table|alone [count] [level level] [--seed N] [--density D]\n");
    return 2;
  }
  if (violations > 0) std::printf("contract violations: %lld\n", static_cast<long long>(violations));
  return violations > 0 ? 1 : 0;
}

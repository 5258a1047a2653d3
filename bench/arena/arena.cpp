// orvalis_arena: the computer opponent's figures from whole computer-vs-computer games. In the model
// alone: think time per turn (median and maximum), a strength table between levels at each item
// density with the seats swapped every other game and how long the games run, and each level's turns
// to win alone against a side that only ends its turn. Through the real hand and playing screen: how
// long a turn takes to watch. Runs in the build's run folder, where the templates and the art are.
//
//   orvalis_arena think [turns] [level]    think time over `turns` turns per level (default 500)
//   orvalis_arena table [games] [a] [b]    `games` per density for a against b (default 200, hard normal)
//   orvalis_arena pairings [games]         every pairing of levels, itself included (default 200 a density)
//   orvalis_arena alone [games]            turns to win alone, per level, and hard against normal seed by
//                                          seed (default 200)
//   orvalis_arena trace SEED [a] [b]       one game, a line a turn (a plays player 2, --a-is-1 player 1;
//                                          --alone: a plays alone)
//   orvalis_arena watch [turns] [level]    watch time of a turn through the real hand and playing screen
//                                          (default 500 turns a level; --hurried: Space held)
//   any mode: --seed N (first seed, default 1), --density D (only that density), --verbose (each game),
//   --max-turns N (turns of both sides before a game is stopped, default 400), --csv FILE (a line a game)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/arena/watch.h"
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
  int density = -1;         // -1: all three
  int only_level = -1;      // think: -1 all levels
  int max_turns = 400;      // turns of both sides before a game is stopped
  bool hurried = false;     // watch: Space held from each turn's start
  bool alone = false;       // trace: the side b only ends its turn
  bool first_is_1 = false;  // trace: a plays player 1, b player 2
};

int64_t violations = 0;
bool verbose = false;
std::FILE* csv = nullptr;  // --csv: one line a game (a turn in the watch mode)

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

// One pairing at each density: `games` games a density, the seats swapped every other game. Adds the
// longer side's turns of every game to `longest` and prints a row a density.
void Pairing(const Options& o, ComputerLevel a, ComputerLevel b, int games, std::vector<double>& longest,
             int& total_wins, int& total_losses, int& total_stopped) {
  for (int density = 0; density < 3; ++density) {
    if (o.density >= 0 && density != o.density) continue;
    int wins = 0, losses = 0, stopped = 0, past_100 = 0;
    double turns = 0;
    std::vector<double> sides;
    for (int g = 0; g < games; ++g) {
      MatchConfig c;
      c.seed = o.seed + static_cast<uint32_t>(g);
      c.density = density;
      c.max_turns = o.max_turns;
      const bool a_is_p2 = g % 2 == 0;  // player 2 moves first
      c.player2.level = a_is_p2 ? a : b;
      c.player1.level = a_is_p2 ? b : a;
      const MatchResult r = Play_Match(c);
      Note(r, c.seed);
      const int side_turns = (r.turns + 1) / 2;  // player 2, who moves first, has played the more
      sides.push_back(side_turns);
      longest.push_back(side_turns);
      past_100 += side_turns > 100;
      if (csv)
        std::fprintf(csv, "table,%s,%s,%d,%u,%d,%d\n", Level_Name(c.player2.level),
                     Level_Name(c.player1.level), density, c.seed, r.winner, r.turns);
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
    std::printf("%-8s %-8s %3d %6d %6d %8d %9.1f%% %9.1f %7.0f %7.0f %8d\n", Level_Name(a), Level_Name(b),
                density, wins, losses, stopped, decided ? 100.0 * wins / decided : 0.0,
                decided ? turns / decided : 0.0, Percentile(sides, 0.5), Percentile(sides, 1.0), past_100);
    std::fflush(stdout);
    total_wins += wins;
    total_losses += losses;
    total_stopped += stopped;
  }
}

void Table_Heading(const Options& o, int games) {
  std::printf(
      "%d games per density, seats swapped every other game, stopped at %d turns of both sides;\n"
      "side turns: the turns of the side that played more (player 2, who moves first)\n",
      games, o.max_turns);
  std::printf("%-8s %-8s %3s %6s %6s %8s %10s %9s %7s %7s %8s\n", "a", "b", "den", "wins", "losses",
              "stopped", "a decided", "mean all", "med sd", "max sd", "sd > 100");
}

void Table(const Options& o) {
  const int games = o.count > 0 ? o.count : 200;
  Table_Heading(o, games);
  std::vector<double> longest;
  int wins = 0, losses = 0, stopped = 0;
  Pairing(o, o.a, o.b, games, longest, wins, losses, stopped);
  const int decided = wins + losses;
  std::printf("all: %d wins, %d losses, %d stopped, %.1f%% of decided\n", wins, losses, stopped,
              decided ? 100.0 * wins / decided : 0.0);
}

// Every pairing of levels, each level against itself included.
void Pairings(const Options& o) {
  const int games = o.count > 0 ? o.count : 200;
  Table_Heading(o, games);
  std::vector<double> longest;
  int stopped_all = 0;
  for (int a = LEVEL_EASY; a <= LEVEL_HARD; ++a)
    for (int b = a; b <= LEVEL_HARD; ++b) {
      int wins = 0, losses = 0, stopped = 0;
      Pairing(o, static_cast<ComputerLevel>(b), static_cast<ComputerLevel>(a), games, longest, wins, losses,
              stopped);
      stopped_all += stopped;
    }
  int past_100 = 0, past_150 = 0;
  for (double t : longest) {
    past_100 += t > 100;
    past_150 += t > 150;
  }
  std::printf("all %zu games: side turns median %.0f, longest %.0f, past 100: %d, past 150: %d, stopped %d\n",
              longest.size(), Percentile(longest, 0.5), Percentile(longest, 1.0), past_100, past_150,
              stopped_all);
}

void Alone(const Options& o) {
  const int games = o.count > 0 ? o.count : 200;
  std::printf(
      "turns to win alone (own turns) against a side that only ends its turn, %d games per level and "
      "density, stopped at %d turns of both sides\n",
      games, o.max_turns);
  std::printf("%-8s %8s %12s %12s %12s %8s\n", "level", "density", "mean turns", "median", "max", "stopped");
  // Own turns by level, density and game (0: stopped), for comparing the levels seed by seed.
  std::vector<int> own[3][3];
  for (const ComputerLevel level : {LEVEL_EASY, LEVEL_NORMAL, LEVEL_HARD}) {
    if (o.only_level >= 0 && level != o.only_level) continue;
    for (int density = 0; density < 3; ++density) {
      if (o.density >= 0 && density != o.density) continue;
      std::vector<double> turns;
      int stopped = 0;
      for (int g = 0; g < games; ++g) {
        MatchConfig c;
        c.seed = o.seed + static_cast<uint32_t>(g);
        c.density = density;
        c.max_turns = o.max_turns;
        const bool computer_is_p2 = g % 2 == 0;
        c.player2.level = c.player1.level = level;
        (computer_is_p2 ? c.player1 : c.player2).plays = false;
        const MatchResult r = Play_Match(c);
        Note(r, c.seed);
        own[level][density].push_back(r.winner == 0 ? 0 : r.winner_turns);
        if (csv)
          std::fprintf(csv, "alone,%s,%d,%u,%d,%d\n", Level_Name(level), density, c.seed, r.winner,
                       r.winner_turns);
        if (r.winner == 0)
          ++stopped;
        else
          turns.push_back(r.winner_turns);
      }
      double sum = 0;
      for (double t : turns) sum += t;
      std::printf("%-8s %8d %12.2f %12.0f %12.0f %8d\n", Level_Name(level), density,
                  turns.empty() ? 0.0 : sum / static_cast<double>(turns.size()), Percentile(turns, 0.5),
                  Percentile(turns, 1.0), stopped);
      std::fflush(stdout);
    }
  }
  std::printf("seed by seed, hard against normal (a stopped game counts as slower than any win):\n");
  std::printf("%8s %12s %12s %8s\n", "density", "hard faster", "normal faster", "equal");
  for (int density = 0; density < 3; ++density) {
    if (o.density >= 0 && density != o.density) continue;
    int hard = 0, normal = 0, equal = 0;
    const std::vector<int>&h = own[LEVEL_HARD][density], &n = own[LEVEL_NORMAL][density];
    for (size_t g = 0; g < h.size() && g < n.size(); ++g) {
      const int a = h[g] == 0 ? 1 << 20 : h[g], b = n[g] == 0 ? 1 << 20 : n[g];
      hard += a < b;
      normal += b < a;
      equal += a == b;
    }
    std::printf("%8d %12d %12d %8d\n", density, hard, normal, equal);
  }
}

// One game, a line a turn: `count` is the seed; level a plays player 2 and b player 1 (--a-is-1: the
// other way round; --alone: b only ends its turns).
void Trace(const Options& o) {
  MatchConfig c;
  c.seed = static_cast<uint32_t>(o.count > 0 ? o.count : 1);
  c.density = o.density >= 0 ? o.density : 0;
  c.max_turns = o.max_turns;
  c.player2.level = o.a;
  c.player1.level = o.b;
  if (o.first_is_1) std::swap(c.player1, c.player2);
  (o.first_is_1 ? c.player2 : c.player1).plays = !o.alone;
  c.trace = stdout;
  const MatchResult r = Play_Match(c);
  Note(r, c.seed);
  std::printf("winner %d after %d turns\n", r.winner, r.turns);
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
    } else if (std::strcmp(argv[i], "--max-turns") == 0 && i + 1 < argc) {
      o.max_turns = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--alone") == 0) {
      o.alone = true;
    } else if (std::strcmp(argv[i], "--a-is-1") == 0) {
      o.first_is_1 = true;
    } else if (std::strcmp(argv[i], "--hurried") == 0) {
      o.hurried = true;
    } else if (std::strcmp(argv[i], "--csv") == 0 && i + 1 < argc) {
      csv = std::fopen(argv[++i], "a");
      if (csv == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", argv[i]);
        return 2;
      }
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
    o.a = level;
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
  } else if (o.mode == "trace") {
    Trace(o);
  } else if (o.mode == "pairings") {
    Pairings(o);
  } else if (o.mode == "watch") {
    WatchOptions w;
    w.turns = o.count > 0 ? o.count : 500;
    w.level = o.only_level;
    w.hurried = o.hurried;
    w.seed = o.seed;
    w.density = o.density;
    w.csv = csv;
    if (Watch(w) != 0) return 1;
  } else {
    std::fprintf(
        stderr,
        "usage: orvalis_arena think|table|pairings|alone|trace|watch [count] [level [level]] [--seed N] "
        "[--density D]\n"
        "       [--max-turns N] [--hurried] [--csv FILE]\n");
    return 2;
  }
  if (csv) std::fclose(csv);
  if (violations > 0) std::printf("contract violations: %lld\n", static_cast<long long>(violations));
  return violations > 0 ? 1 : 0;
}

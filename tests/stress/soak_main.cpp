// The soak by hand: orvalis_soak [--seed N] [--frames N] [--data DIR] [--computer GAMES [--stop-after
// TURNS]]. Plays in the data folder (by default the build's run folder), prints the report and exits
// 1 on any violation.
// --computer: the computer plays both sides of GAMES whole games (easy, normal and hard in turn),
// each left when its players have ended TURNS turns between them (default 400).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "tests/stress/soak.h"

int main(int argc, char** argv) {
  SoakConfig config;
  std::string data = ORVALIS_RUN_DIR;
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--seed") == 0 && has_value) {
      config.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--frames") == 0 && has_value) {
      config.frames = std::strtoll(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--computer") == 0 && has_value) {
      config.computer = true;
      config.games = std::strtoll(argv[++i], nullptr, 10);
      config.frames = INT64_MAX;
    } else if (std::strcmp(argv[i], "--stop-after") == 0 && has_value) {
      config.stop_after_turns = std::strtoll(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--data") == 0 && has_value) {
      data = argv[++i];
    } else {
      std::fprintf(stderr,
                   "usage: orvalis_soak [--seed N] [--frames N] [--data DIR] [--computer GAMES [--stop-after "
                   "TURNS]]\n");
      return 64;
    }
  }
  std::error_code ec;
  std::filesystem::current_path(data, ec);
  if (ec) {
    std::fprintf(stderr, "orvalis_soak: cannot enter %s: %s\n", data.c_str(), ec.message().c_str());
    return 1;
  }
  const SoakReport report = Run_Soak(config);
  std::printf("seed %u\n%s", config.seed, Format_Soak_Report(report).c_str());
  const bool whole = config.computer ? report.games_won + report.games_stopped >= config.games
                                     : report.frames == config.frames;
  return report.violations == 0 && whole ? 0 : 1;
}

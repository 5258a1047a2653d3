// Running the game binary on the headless backend in a folder of its own, for the damaged-data and
// leak tests.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace stress {

namespace fs = std::filesystem;

inline std::string Read_File(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// A fresh temporary folder named after the test.
inline fs::path Fresh_Dir(const std::string& tag) {
  std::string pattern = (fs::temp_directory_path() / ("orvalis-stress-" + tag + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

struct GameRun {
  int status = -1;     // exit code, or -1 when the game did not exit normally (a signal)
  std::string output;  // standard error
  nlohmann::json Dump(const fs::path& dir, const char* name) const {
    const std::string text = Read_File(dir / name);
    return nlohmann::json::parse(text, nullptr, false);  // a discarded value when missing or broken
  }
};

// Runs `binary` headless in `dir` (its working folder and its data folder) with the script.
inline GameRun Run_Game(const std::string& binary, const fs::path& dir, const fs::path& script,
                        const std::string& environment = "") {
  GameRun r;
  const fs::path err = dir / "stderr.txt";
  const std::string cmd = "cd '" + dir.string() + "' && " + environment + " '" + binary +
                          "' --headless --data . --script '" + script.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.output = Read_File(err);
  return r;
}

inline std::string Game_Binary() { return std::string(ORVALIS_RUN_DIR) + "/orvalis"; }
inline fs::path Whole_Game_Script() { return fs::path(ORVALIS_SOURCE_DIR) / "tests/stress/whole_game.txt"; }

}  // namespace stress

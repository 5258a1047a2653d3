// Running the game for the tests: the game binary as a process, the same scripted run inside the
// test process through the real Game_Init and main loop, and a fixture that starts the game headless.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>

#include "shell/script.h"
#include "tests/support/files.h"

namespace test_support {

// What a scripted run left: its exit status, its debug output and the folder its dumps went to.
struct GameRun {
  int status = -1;     // exit code, or -1 when the process did not exit normally (a signal)
  std::string output;  // the debug output (standard error)
  fs::path dir;
  // A state dump the script wrote; a discarded value when it is missing or broken. (Callers include
  // <nlohmann/json.hpp>; this header only names the type, so tests that do not read dumps compile
  // without the JSON library's headers.)
  nlohmann::json Dump(const std::string& name) const;
};

// The built game, or the one $ORVALIS_TEST_GAME_BINARY names (to show what a test finds in another
// build, such as an older version's).
std::string Game_Binary();

// Writes the script into `dir` and runs the game binary headless there with `args` (before
// --script), so the script's dumps land in `dir`. `environment` is put before the command.
GameRun Run_Game_Binary(const fs::path& dir, const std::string& script, const std::string& args = "",
                        const std::string& environment = "");
// The same run inside this process, as the binary makes it with `--headless --data dir`: the
// script's seed line seeds the game, its paths are taken in `dir`, the debug output is captured.
GameRun Run_Game_In_Process(const fs::path& dir, const std::string& script);

// Plays the script in the game already started in this process, through the real main loop; with
// `dir`, its screenshot and state files go there. A script that does not parse fails the test. The
// runner tells what happened (its script pointer is cleared).
ScriptRunner Play_Script(const std::string& text, const fs::path& dir = {});

// Opens the headless backend and puts the shell's and the screens' globals back to their start-up
// values (main menu, no pointer, closed menu, released latches, a new game pending, the default
// settings, the help and the computer's hand at rest).
void Open_Headless();
// Open_Headless, then Game_Init with the seed (-1: the virtual clock's), loading the art from the
// working folder.
void Start_Headless_Game(int64_t seed);
void Stop_Headless_Game();

// The headless backend opened for every test (Open_Headless), and closed after it.
class HeadlessPlatform : public ::testing::Test {
 protected:
  void SetUp() override { Open_Headless(); }
  void TearDown() override;
};

// The game started headless from the build's run folder for every test, and shut down after it.
class HeadlessGame : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { Stop_Headless_Game(); }
};

// Script lines that call up the menu, let it grow and click the start button: a new game, player 2
// to move.
inline constexpr char START_GAME[] =
    "key down RETURN\nframes 1\nkey up RETURN\nframes 31\n"
    "mouse move 320 300\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n";

// Counts the places `what` stands in `text`.
int Count(const std::string& text, const std::string& what);

}  // namespace test_support

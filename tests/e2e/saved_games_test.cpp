// The games in progress kept between runs, by whole runs of the game binary: a game interrupted and
// resumed ends exactly as the same input without the interruption, from the command line, the games
// page or the title; a won game leaves no save; a damaged save is refused and kept aside; a stop signal
// saves before the end; and where the debug log goes and what happens with no art at all.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>

#include "common/asset_manifest.h"
#include "tests/support/game.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

using test_support::Read_File;

// A folder of the test's own, which is also the runs' $XDG_STATE_HOME.
struct Sandbox {
  test_support::TempDir temp{"orvalis-saves"};
  const fs::path& dir = temp.Path();
  fs::path Folder() const { return dir / "orvalis"; }
  // The unfinished games' files (not the ones set aside as unreadable).
  std::vector<fs::path> Games() const { return test_support::Unfinished_Game_Files(Folder()); }
  // The one unfinished game's file ("" unless there is exactly one).
  fs::path Save() const {
    const std::vector<fs::path> games = Games();
    return games.size() == 1 ? games.front() : fs::path();
  }
  json State(const std::string& name) const { return json::parse(Read_File(dir / name), nullptr, false); }

  // The command line that runs the game headless on the script (written into this folder), with
  // `args` and the run folder's data.
  std::string Command(const std::string& script, const std::string& args) const {
    test_support::Write_File(dir / "script.txt", script);
    return "'" + test_support::Game_Binary() + "' --headless --data '" + ORVALIS_RUN_DIR +
           "' --script script.txt " + args + " 2>stderr.txt";
  }
  // Runs it in this folder; returns the exit status, and *output gets the standard error.
  int Run(const std::string& script, const std::string& args = "--seed 77",
          std::string* output = nullptr) const {
    const test_support::GameRun run =
        test_support::Run_Game_Binary(dir, script, "--data '" + std::string(ORVALIS_RUN_DIR) + "' " + args,
                                      "XDG_STATE_HOME='" + dir.string() + "'");
    if (output) *output = run.output;
    return run.status;
  }
};

// Player 2 walks, shifts a column and passes the turn; player 1 turns a block (which draws random
// numbers for the block's new template).
const std::string first_part =
    std::string(test_support::START_GAME) +
    "key down DOWN\nframes 1\nkey up DOWN\nframes 1\nkey down DOWN\nframes 1\nkey up DOWN\n"
    "frames 1\nmouse move 360 85\nframes 1\nmouse down left\nframes 1\nmouse up left\n"
    "frames 1\nkey down RETURN\nframes 2\nkey up RETURN\nframes 1\n"
    "mouse move 455 213\nframes 1\nmouse down right\nframes 1\nmouse up right\nframes 1\n";
// Player 1 turns another block, walks and passes; player 2 turns a block and ends with END TURN.
const std::string second_part =
    "mouse move 487 213\nframes 1\nmouse down right\nframes 1\nmouse up right\nframes 1\n"
    "key down UP\nframes 1\nkey up UP\nframes 1\nkey down RETURN\nframes 2\nkey up RETURN\nframes 1\n"
    "mouse move 391 149\nframes 1\nmouse down right\nframes 1\nmouse up right\nframes 1\n"
    "mouse move 450 440\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\nstate final.json\n";

TEST(SavedGames, AResumedGameEndsExactlyAsTheUninterruptedOne) {
  Sandbox whole, split;
  ASSERT_EQ(whole.Run(first_part + second_part), 0);
  std::string output;
  ASSERT_EQ(split.Run(first_part, "--seed 77", &output), 0) << output;  // the script's end closes the window
  const json saved = json::parse(Read_File(split.Save()), nullptr, false);
  ASSERT_TRUE(saved.is_object()) << "no save after the first part";
  EXPECT_EQ(saved["version"], 1);
  EXPECT_GT(saved["random"]["draws"], 0);
  // Another seed on the command line does not matter: the save carries the game's own.
  ASSERT_EQ(split.Run(second_part, "--seed 5 --resume", &output), 0) << output;
  EXPECT_EQ(output, "");
  json a = whole.State("final.json"), b = split.State("final.json");
  ASSERT_TRUE(a.is_object() && b.is_object());
  EXPECT_EQ(a["players"]["1"]["turns"], 2);  // the second part ran: both turns passed
  // The resumed run never opened the menu, whose panel is not part of the game.
  a.erase("menu");
  b.erase("menu");
  EXPECT_EQ(a, b);
}

// A resumed game goes on with the opponent it was saved with, and says so; the settings, which say two
// people play, stay for the games started later.
TEST(SavedGames, AResumedGameKeepsItsOpponentAndTheSettingsStay) {
  Sandbox box;
  ASSERT_EQ(
      box.Run(std::string(test_support::START_GAME) + "frames 2\n", "--seed 9 --computer 1 --level hard"), 0);
  std::string output;
  ASSERT_EQ(box.Run("frames 2\nstate resumed.json\nkey down ESCAPE\nframes 1\nkey up ESCAPE\nframes 90\n"
                    "state menu.json\n",
                    "--resume", &output),
            0)
      << output;
  const json resumed = box.State("resumed.json"), menu = box.State("menu.json");
  EXPECT_EQ(resumed["computer_player"], 1);
  EXPECT_EQ(resumed["computer_level"], "hard");
  EXPECT_NE(output.find("Resumed as saved: the computer plays player 1 at hard"), std::string::npos)
      << output;
  EXPECT_EQ(menu["game_state"], 9);
  EXPECT_EQ(menu["computer_player"], 0);
}

// The games page's CONTINUE button, and C on the title, take up the same game as --resume; its DELETE
// button, clicked twice, deletes the game.
TEST(SavedGames, TheGamesPageAndTheTitleContinueTheSavedGame) {
  Sandbox box;
  ASSERT_EQ(box.Run(first_part), 0);
  ASSERT_EQ(box.Run("frames 2\nstate resumed.json\n", "--resume"), 0);
  const std::string by_button =
      "frames 2\nkey down F1\nframes 1\nkey up F1\nframes 1\nmouse move 420 54\nframes 1\nmouse down left\n"
      "frames 1\nmouse up left\nframes 1\nmouse move 430 112\nframes 1\nmouse down left\nframes 1\n"
      "mouse up left\nframes 2\nstate clicked.json\n";
  ASSERT_EQ(box.Run(by_button), 0);
  ASSERT_EQ(box.Run("frames 2\nkey down C\nframes 1\nkey up C\nframes 2\nstate by_key.json\n"), 0);
  json a = box.State("resumed.json"), b = box.State("clicked.json"), c = box.State("by_key.json");
  ASSERT_TRUE(a.is_object() && b.is_object() && c.is_object());
  EXPECT_EQ(b["help_open"], false);
  for (json* j : {&a, &b, &c}) j->erase("menu");
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  EXPECT_EQ(box.Games().size(), 1u);  // the one game, taken up three times

  const std::string games_page =
      "frames 2\nkey down F1\nframes 1\nkey up F1\nframes 1\nmouse move 420 54\nframes 1\nmouse down left\n"
      "frames 1\nmouse up left\nframes 1\nmouse move 532 112\nframes 1\n";
  const std::string click = "mouse down left\nframes 1\nmouse up left\nframes 2\n";
  ASSERT_EQ(box.Run(games_page + click), 0);
  EXPECT_EQ(box.Games().size(), 1u);  // the first click only asks
  ASSERT_EQ(box.Run(games_page + click + click), 0);
  EXPECT_TRUE(box.Games().empty());
}

TEST(SavedGames, AWonGameLeavesNothingToResume) {
  Sandbox box;
  // The cheat gives five treasures; one step left from the start square reaches the home mark.
  ASSERT_EQ(box.Run(std::string(test_support::START_GAME) +
                    "key down RETURN\nframes 2\nkey up RETURN\nframes 2\nkey down RETURN\nframes 2\n"
                    "key up RETURN\nframes 2\nkey down A\nframes 1\nkey up A\nkey down LEFT\nframes 1\n"
                    "key up LEFT\nframes 5\nstate won.json\n"),
            0);
  EXPECT_EQ(box.State("won.json")["game_state"], 14);
  EXPECT_TRUE(box.Games().empty());
  EXPECT_TRUE(fs::is_empty(box.Folder()));  // its lock went with it
}

TEST(SavedGames, ADamagedSaveIsRefusedAndKeptAside) {
  Sandbox box;
  ASSERT_EQ(box.Run(first_part), 0);
  const std::string good = Read_File(box.Save());
  fs::remove(box.Save());
  const fs::path legacy = box.Folder() / "saved-game.json";  // where earlier versions kept their one save
  const struct {
    std::string bytes;
    const char* says;
  } damaged[] = {
      {good.substr(0, good.size() / 3), "it is not whole JSON"},
      {std::string(good).replace(good.find("\"version\": 1"), 12, "\"version\": 9"), "format version 9"},
      {std::string(good).replace(good.find("\"square_y\": "), 13, "\"square_y\": 8"), "square_y is 8"}};
  int kept = 0;
  for (const auto& d : damaged) {
    test_support::Write_File(legacy, d.bytes);
    std::string output;
    ASSERT_EQ(box.Run("frames 2\nstate menu.json\n", "--resume", &output), 0);
    EXPECT_EQ(box.State("menu.json")["game_state"], 9) << "the game starts normally";
    EXPECT_NE(output.find("the saved game " + legacy.string() + " cannot be resumed ("), std::string::npos)
        << output;
    EXPECT_NE(output.find(d.says), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    // Kept, under a name of its own, as it was.
    const size_t at = output.find("it is kept as ");
    ASSERT_NE(at, std::string::npos) << output;
    EXPECT_EQ(Read_File(output.substr(at + 14, output.find('\n', at) - at - 14)), d.bytes);
    ++kept;
  }
  int unreadable = 0;
  for (const auto& e : fs::directory_iterator(box.Folder()))
    unreadable += e.path().filename().string().rfind("saved-game-unreadable-", 0) == 0;
  EXPECT_EQ(unreadable, kept);

  std::string output;
  ASSERT_EQ(box.Run("frames 2\n", "--resume", &output), 0);
  EXPECT_NE(output.find("no saved game to resume in " + box.Folder().string()), std::string::npos) << output;
  EXPECT_EQ(box.Run("frames 2\n", "--resume --record x.txt", &output), 64);
}

TEST(SavedGames, AStopSignalDuringPlaySavesTheGameFirst) {
  Sandbox box;
  // The script starts a game, says so, and then waits far longer than the test does.
  const std::string cmd = box.Command(
      std::string(test_support::START_GAME) + "state playing.json\nframes 100000000\n", "--seed 9");
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(box.dir.c_str()) != 0 || setenv("XDG_STATE_HOME", box.dir.c_str(), 1) != 0) _exit(127);
    execl("/bin/sh", "sh", "-c", ("exec " + cmd).c_str(), nullptr);
    _exit(127);
  }
  ASSERT_GT(child, 0);
  for (int i = 0; i < 600 && !fs::exists(box.dir / "playing.json"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(fs::exists(box.dir / "playing.json"));
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal instead of by itself";
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
  const json saved = json::parse(Read_File(box.Save()), nullptr, false);
  const json playing = box.State("playing.json");
  ASSERT_TRUE(saved.is_object());
  EXPECT_EQ(saved["board"], playing["board"]);
  EXPECT_EQ(saved["players"], playing["players"]);
}

TEST(SavedGames, DebugLogFallsBackToTheStateFolderAndNoArtEndsTheRun) {
  Sandbox box;
  // A data folder where the log cannot be created (a folder stands in its place): the templates and
  // no art.
  const fs::path data = box.dir / "data";
  fs::create_directories(data / "d-bug_log.txt");
  for (const auto& e : fs::directory_iterator(ORVALIS_RUN_DIR))
    if (e.path().extension() == ".txt" && e.path().filename() != "d-bug_log.txt")
      fs::copy_file(e.path(), data / e.path().filename());
  std::ofstream(box.dir / "s.txt") << "frames 2\n";
  const std::string run = "cd '" + box.dir.string() + "' && XDG_STATE_HOME='" + box.dir.string() + "' '" +
                          test_support::Game_Binary() + "' --headless --data data --script s.txt 2>err.txt";
  const int raw = std::system(run.c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  EXPECT_TRUE(fs::is_regular_file(box.dir / "orvalis" / "d-bug_log.txt"));
  const std::string output = Read_File(box.dir / "err.txt");
  int art_files = 0;
  for (const ManifestEntry& e : asset_manifest) art_files += e.file != nullptr;
  EXPECT_NE(output.find("none of the game's " + std::to_string(art_files) + " art files"), std::string::npos)
      << output;
  EXPECT_NE(output.find(fs::canonical(data).string()), std::string::npos) << output;  // where it looked
}

}  // namespace

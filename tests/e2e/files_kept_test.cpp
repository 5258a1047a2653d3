// Nothing a player owns is lost, by runs of the game binary: two copies of the game keep their own
// games, a new game keeps the unfinished one, a closed pipe or closed standard error harms neither the
// game nor a recording, a failed screenshot leaves what stood at its path, damaged saves set aside
// never overwrite each other, and killed runs' temporary files go at the next start.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "tests/support/game.h"

namespace fs = std::filesystem;
using nlohmann::json;
using test_support::Read_File;

namespace {

// A folder of the test's own, which is also the runs' $XDG_STATE_HOME; runs happen in `work`.
struct Home {
  test_support::TempDir temp{"orvalis-kept"};
  fs::path Folder() const { return temp.Path() / "orvalis"; }
  std::vector<fs::path> Games() const { return test_support::Unfinished_Game_Files(Folder()); }
  // The command that runs the game headless in `work` on `script` (written there).
  std::string Command(const fs::path& work, const std::string& script, const std::string& args) const {
    fs::create_directories(work);
    test_support::Write_File(work / "script.txt", script);
    return "cd '" + work.string() + "' && XDG_STATE_HOME='" + temp.Path().string() + "' '" +
           test_support::Game_Binary() + "' --headless --data '" + ORVALIS_RUN_DIR + "' " + args +
           " --script script.txt";
  }
  int Run(const std::string& script, const std::string& args = "--seed 77",
          const std::string& redirect = "2>err.txt", const fs::path& work = {}) const {
    const int raw =
        std::system((Command(work.empty() ? temp.Path() : work, script, args) + " " + redirect).c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  json State(const fs::path& file) const { return json::parse(Read_File(file), nullptr, false); }
};

// A turn each: player 2 walks and passes, player 1 walks and passes.
const std::string two_turns =
    std::string(test_support::START_GAME) +
    "key down DOWN\nframes 1\nkey up DOWN\nframes 1\nkey down RETURN\nframes 2\nkey up RETURN\nframes 2\n"
    "key down UP\nframes 1\nkey up UP\nframes 1\nkey down RETURN\nframes 2\nkey up RETURN\nframes 2\n";
const std::string pass_turn = "key down RETURN\nframes 2\nkey up RETURN\nframes 2\n";
// Player 2 wins with the cheat: five treasures, one step left onto the home mark.
const std::string cheat_win =
    "key down A\nframes 1\nkey up A\nkey down LEFT\nframes 1\nkey up LEFT\nframes 5\n";

// The saved game holds the players and the board of the state dump.
bool Holds(const json& save, const json& state) {
  return save.is_object() && state.is_object() && save["players"] == state["players"] &&
         save["board"] == state["board"];
}

int Matching_Games(const Home& home, const json& state) {
  int n = 0;
  for (const fs::path& g : home.Games()) n += Holds(home.State(g), state);
  return n;
}

TEST(FilesKept, TwoCopiesKeepTheirOwnGamesAndAWinDeletesOnlyItsOwn) {
  Home home;
  const fs::path a = home.temp.Path() / "a", b = home.temp.Path() / "b";
  // Both at once, each ending turns, each saving at its end.
  const std::string both =
      "(" + home.Command(a, two_turns + "state end.json\n", "--seed 77") + " 2>err.txt) & (" +
      home.Command(b, two_turns + pass_turn + "state end.json\n", "--seed 78") + " 2>err.txt) & wait";
  ASSERT_EQ(std::system(both.c_str()), 0);
  const json end_a = home.State(a / "end.json"), end_b = home.State(b / "end.json");
  ASSERT_TRUE(end_a.is_object() && end_b.is_object());
  EXPECT_EQ(home.Games().size(), 2u);
  EXPECT_EQ(Matching_Games(home, end_a), 1);
  EXPECT_EQ(Matching_Games(home, end_b), 1);

  // A third copy plays a game of its own to the win: the two unfinished games stay.
  ASSERT_EQ(
      home.Run(std::string(test_support::START_GAME) + pass_turn + pass_turn + cheat_win + "state won.json\n",
               "--seed 79"),
      0);
  EXPECT_EQ(home.State(home.temp.Path() / "won.json")["game_state"], 14);
  EXPECT_EQ(Matching_Games(home, end_a), 1);
  EXPECT_EQ(Matching_Games(home, end_b), 1);
}

TEST(FilesKept, StartingANewGameKeepsTheUnfinishedOne) {
  Home home;
  ASSERT_EQ(home.Run(two_turns + "state first.json\n"), 0);
  ASSERT_EQ(home.Games().size(), 1u);
  const std::string first = Read_File(home.Games().front());
  // Start, then Escape back to the menu: a fresh game of no turns, saved as it is left.
  ASSERT_EQ(home.Run(std::string(test_support::START_GAME) +
                     "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 90\nstate second.json\n"),
            0);
  ASSERT_EQ(home.Games().size(), 2u);
  int kept = 0;
  for (const fs::path& g : home.Games()) kept += Read_File(g) == first;
  EXPECT_EQ(kept, 1);
  EXPECT_EQ(Matching_Games(home, home.State(home.temp.Path() / "first.json")), 1);
}

// Runs the game with standard error a pipe whose reader has gone; the exit status as waitpid gives it.
int Run_With_Closed_Pipe(const std::string& command) {
  int ends[2];
  if (::pipe(ends) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ends[0]);  // the reader is gone before the game starts
    ::dup2(ends[1], 2);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
    ::_exit(127);
  }
  ::close(ends[0]);
  ::close(ends[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return status;
}

TEST(FilesKept, AClosedPipeNeitherEndsTheGameNorLosesItsMoves) {
  Home home;
  // A message mid-turn (a screenshot that cannot be written) goes to the closed pipe.
  const std::string script =
      std::string(test_support::START_GAME) +
      "key down DOWN\nframes 1\nkey up DOWN\nframes 1\nscreenshot no-such-folder/x.png\n"
      "key down DOWN\nframes 1\nkey up DOWN\nframes 1\nstate walked.json\n";
  const int status = Run_With_Closed_Pipe(home.Command(home.temp.Path(), script, "--seed 77"));
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 1);  // the failed screenshot is a failure of the script
  ASSERT_EQ(home.Games().size(), 1u);
  EXPECT_EQ(Matching_Games(home, home.State(home.temp.Path() / "walked.json")), 1);
}

TEST(FilesKept, AFailedScreenshotLeavesWhatStoodAtItsPath) {
  Home home;
  fs::create_symlink("/dev/full", home.temp.Path() / "shot.png");
  EXPECT_EQ(home.Run("frames 2\nscreenshot shot.png\n"), 1);
  EXPECT_TRUE(fs::is_symlink(home.temp.Path() / "shot.png"));
  EXPECT_TRUE(fs::exists("/dev/full"));
  EXPECT_NE(Read_File(home.temp.Path() / "err.txt").find("not a regular file"), std::string::npos);
}

TEST(FilesKept, WithStandardErrorClosedTheRecordingHoldsOnlyTheRecording) {
  Home home;
  const std::string script =
      std::string(test_support::START_GAME) +
      "screenshot no-such-folder/x.png\nkey down DOWN\nframes 1\nkey up DOWN\nframes 2\n";
  EXPECT_EQ(home.Run(script, "--seed 77 --record rec.txt", "2>&-"), 1);
  const std::string recording = Read_File(home.temp.Path() / "rec.txt");
  EXPECT_EQ(recording.rfind("seed 77\n", 0), 0u) << recording.substr(0, 200);
  EXPECT_EQ(recording.find("orvalis:"), std::string::npos);
  // It replays as a script.
  const int raw = std::system(("cd '" + home.temp.Path().string() + "' && XDG_STATE_HOME='" +
                               home.temp.Path().string() + "' '" + test_support::Game_Binary() +
                               "' --headless --data '" + ORVALIS_RUN_DIR + "' --script rec.txt 2>replay.txt")
                                  .c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 0) << Read_File(home.temp.Path() / "replay.txt");
}

TEST(FilesKept, DamagedSavesSetAsideNeverOverwriteEachOther) {
  Home home;
  fs::create_directories(home.Folder());
  std::set<std::string> damaged;
  for (int i = 0; i < 6; ++i) {
    const std::string bytes = "{\"damaged\": " + std::to_string(i);
    damaged.insert(bytes);
    test_support::Write_File(home.Folder() / "saved-game.json", bytes);
    ASSERT_EQ(home.Run(two_turns), 0);
  }
  std::set<std::string> kept;
  for (const auto& e : fs::directory_iterator(home.Folder()))
    if (e.path().filename().string().find("unreadable") != std::string::npos)
      kept.insert(Read_File(e.path()));
  EXPECT_EQ(kept, damaged);
}

// A save that fails is told where the player looks, once until saving works again; the game goes on.
TEST(FilesKept, AFailingSaveIsToldInTheWindowOnce) {
  Home failing, saving;
  test_support::Write_File(failing.Folder(), "a file where the saves' folder should be");
  const std::string script = two_turns + pass_turn + "screenshot shot.png\n";
  ASSERT_EQ(failing.Run(script), 0);
  ASSERT_EQ(saving.Run(script), 0);
  const std::string told = Read_File(failing.temp.Path() / "err.txt");
  const size_t at = told.find("cannot save the game in progress");
  ASSERT_NE(at, std::string::npos) << told;
  EXPECT_EQ(told.find("cannot save the game in progress", at + 1), std::string::npos) << told;
  // The same game, frame for frame, but for the notice over the window.
  EXPECT_NE(Read_File(failing.temp.Path() / "shot.png"), Read_File(saving.temp.Path() / "shot.png"));
}

TEST(FilesKept, TemporaryFilesOfKilledRunsGoAtTheNextStart) {
  Home home;
  const fs::path config = home.temp.Path() / "config";
  fs::create_directories(home.Folder());
  fs::create_directories(config);
  // A process id far above any the system hands out is a run that was killed; this test runs.
  const std::string dead = ".tmp-999999999", live = ".tmp-" + std::to_string(::getpid());
  for (const fs::path& f : {home.Folder() / ("saved-game.json" + dead),
                            home.Folder() / ("game-1.json" + live), config / ("settings.toml" + dead)})
    test_support::Write_File(f, std::string(110000, 'x'));
  ASSERT_EQ(home.Run("frames 2\n", "--seed 77 --settings '" + (config / "settings.toml").string() + "'"), 0);
  EXPECT_FALSE(fs::exists(home.Folder() / ("saved-game.json" + dead)));
  EXPECT_FALSE(fs::exists(config / ("settings.toml" + dead)));
  EXPECT_TRUE(fs::exists(home.Folder() / ("game-1.json" + live)));
}

}  // namespace

// Whole runs of the game binary on the headless backend, driven by scripts, checked through the
// state dumps and screenshots they write.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const std::string game_binary = std::string(ORVALIS_RUN_DIR) + "/orvalis";

// Calls up the menu, lets it grow, and clicks the start button.
const char* const start_game =
    "key down RETURN\nframes 1\nkey up RETURN\nframes 31\n"
    "mouse move 320 300\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n";

struct GameRun {
  int status = -1;
  std::string output;  // standard error
  fs::path dir;
  json State(const std::string& name) const {
    std::ifstream f(dir / name);
    json j;
    if (f) f >> j;
    return j;
  }
};

GameRun Play(const std::string& script, const std::string& extra_args = "--seed 1234") {
  static int runs = 0;
  GameRun r;
  r.dir = fs::temp_directory_path() / ("orvalis-e2e-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                                       std::to_string(++runs));
  fs::remove_all(r.dir);
  fs::create_directories(r.dir);
  std::string text = script;
  // Output paths in the script are relative to the run's own folder.
  for (const char* cmd : {"state ", "screenshot "}) {
    for (size_t p = text.find(cmd); p != std::string::npos; p = text.find(cmd, p + 1))
      if (p == 0 || text[p - 1] == '\n') text.insert(p + std::string(cmd).size(), r.dir.string() + "/");
  }
  std::ofstream(r.dir / "script.txt") << text;
  const std::string cmd = game_binary + " --headless " + extra_args + " --script " + (r.dir / "script.txt").string() +
                          " 2>" + (r.dir / "stderr.txt").string();
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream e(r.dir / "stderr.txt");
  std::stringstream ss;
  ss << e.rdbuf();
  r.output = ss.str();
  return r;
}

int Count_Blocks(const json& state, const char* flag) {
  int n = 0;
  for (const json& col : state["board"])
    for (const json& b : col) n += b[flag].get<int>();
  return n;
}

TEST(Scripts, MenuGrowsOverThirtyFramesAfterReturn) {
  GameRun r = Play("frames 3\nstate before.json\nkey down RETURN\nframes 1\nkey up RETURN\nframes 10\nstate mid.json\n"
               "frames 25\nstate grown.json\n");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output, "");
  json before = r.State("before.json"), mid = r.State("mid.json"), grown = r.State("grown.json");
  EXPECT_EQ(before["game_state"], 9);
  EXPECT_EQ(before["menu"]["menu_open"], 0);
  EXPECT_EQ(mid["menu"]["menu_open"], 1);
  EXPECT_EQ(mid["menu"]["menu_panel_w"], 80);  // the growth starts the frame after Return was seen
  EXPECT_EQ(grown["menu"]["menu_panel_w"], 240);
  EXPECT_EQ(grown["menu"]["menu_panel_h"], 240);
  EXPECT_EQ(grown["menu"]["menu_origin_x"], 305);
  EXPECT_EQ(grown["menu"]["menu_origin_y"], 220);
}

TEST(Scripts, OptionsCycleSetsTheItemDensity) {
  GameRun r = Play(
      "key down RETURN\nframes 1\nkey up RETURN\nframes 31\n"
      "mouse move 320 350\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\nstate open.json\n"
      "mouse move 260 310\nframes 1\nmouse down left\nframes 2\nmouse up left\nframes 1\nstate one.json\n"
      "mouse down left\nframes 2\nmouse up left\nframes 1\nstate two.json\n"
      "mouse down left\nframes 2\nmouse up left\nframes 1\nstate zero.json\n"
      "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 1\nstate closed.json\n");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.State("open.json")["menu"]["options_open"], 1);
  EXPECT_EQ(r.State("one.json")["item_density"], 1);
  EXPECT_EQ(r.State("two.json")["item_density"], 2);
  EXPECT_EQ(r.State("zero.json")["item_density"], 0);
  EXPECT_EQ(r.State("closed.json")["menu"]["options_open"], 0);
  EXPECT_EQ(r.State("closed.json")["game_state"], 9);  // Escape closed the overlay only
}

TEST(Scripts, StartingAGameSetsUpTheBoardForEachDensity) {
  const char* open_options = "mouse move 320 350\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n";
  const char* step_amount = "mouse move 260 310\nframes 1\nmouse down left\nframes 2\nmouse up left\nframes 1\n";
  const char* close_options = "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 1\n";
  const char* click_start = "mouse move 320 300\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n";
  for (int density = 0; density < 3; ++density) {
    std::string s = "key down RETURN\nframes 1\nkey up RETURN\nframes 31\n";
    if (density > 0) {
      s += open_options;
      for (int k = 0; k < density; ++k) s += step_amount;
      s += close_options;
    }
    s += click_start;
    s += "state game.json\n";
    GameRun r = Play(s, "--seed " + std::to_string(100 + density));
    ASSERT_EQ(r.status, 0) << r.output;
    json g = r.State("game.json");
    ASSERT_EQ(g["game_state"], 6) << "density " << density;
    EXPECT_EQ(g["item_density"], density);
    EXPECT_EQ(g["new_game_pending"], 0);
    EXPECT_EQ(g["current_player"], 0);
    const int n = density == 0 ? 20 : density == 1 ? 10 : 5;
    EXPECT_EQ(Count_Blocks(g, "special_placed"), 10 + 2 * n);
    EXPECT_EQ(Count_Blocks(g, "treasure_p1"), 5);
    EXPECT_EQ(Count_Blocks(g, "treasure_p2"), 5);
    EXPECT_EQ(Count_Blocks(g, "has_token"), n);
    EXPECT_EQ(Count_Blocks(g, "has_key"), n);
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) EXPECT_EQ(g["board"][x][y]["number"], y * 8 + x + 1);
    EXPECT_EQ(g["board"][0][0]["type"], 11);
    EXPECT_EQ(g["board"][7][7]["type"], 13);
    EXPECT_EQ(g["board"][0][0]["content"][3][4], 3);
    EXPECT_EQ(g["players"]["2"]["keys"], 1);
    EXPECT_EQ(g["players"]["1"]["actions"], 2);
    EXPECT_EQ(g["current_block"]["number"], 1);
  }
}

TEST(Scripts, SameSeedSameGame) {
  const std::string s = std::string(start_game) + "state game.json\n";
  GameRun a = Play(s, "--seed 99");
  GameRun b = Play(s, "--seed 99");
  ASSERT_EQ(a.status, 0);
  ASSERT_EQ(b.status, 0);
  EXPECT_EQ(a.State("game.json"), b.State("game.json"));
  GameRun c = Play("seed 99\n" + s, "");
  EXPECT_EQ(a.State("game.json"), c.State("game.json"));  // the script's seed line seeds the same game
}

TEST(Scripts, CheatThenHomeWinsAndResultsReturnToMenu) {
  const auto start = std::chrono::steady_clock::now();
  GameRun r = Play(std::string(start_game) +
               "key down A\nframes 1\nkey up A\nframes 1\nstate cheat.json\n"
               "key down LEFT\nframes 1\nkey up LEFT\nframes 2\nstate won.json\nscreenshot results.png\n"
               "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 2\nstate menu.json\n");
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(r.status, 0) << r.output;
  json cheat = r.State("cheat.json");
  EXPECT_EQ(cheat["players"]["1"]["turns"], 105);
  EXPECT_EQ(cheat["players"]["2"]["turns"], 15);
  EXPECT_EQ(cheat["players"]["2"]["treasures"], 5);
  json won = r.State("won.json");
  EXPECT_EQ(won["game_state"], 14);
  EXPECT_EQ(won["players"]["2"]["winner"], 1);
  EXPECT_EQ(won["players"]["1"]["winner"], 0);
  EXPECT_EQ(won["players"]["2"]["square_x"], 3);
  EXPECT_EQ(r.State("menu.json")["game_state"], 9);
  EXPECT_TRUE(fs::exists(r.dir / "results.png"));
  EXPECT_LT(seconds, 5.0);  // several hundred frames, four transitions
}

TEST(Scripts, EscapeFromPlayReturnsToMenuAndQuitEndsTheRun) {
  GameRun r = Play(std::string(start_game) +
               "key down ESCAPE\nframes 3\nstate held.json\nkey up ESCAPE\nframes 2\nstate menu.json\n"
               "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 2\nstate never.json\n");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.State("held.json")["game_state"], 6);  // Escape acts on release
  EXPECT_EQ(r.State("menu.json")["game_state"], 9);
  EXPECT_FALSE(fs::exists(r.dir / "never.json"));  // the quit ended the run before the script did
}

TEST(Scripts, ClosingTheWindowMidGameEndsTheRun) {
  GameRun r = Play(std::string(start_game) + "close\nframes 5\nstate never.json\n");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_FALSE(fs::exists(r.dir / "never.json"));
}

TEST(Scripts, BadScriptsAreRefusedBeforeTheGameStarts) {
  GameRun r = Play("frames 2\nmouse wiggle\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("script.txt:2:"), std::string::npos) << r.output;
  const int raw = std::system((game_binary + " --headless --script /nonexistent/x.txt 2>/dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 2);
}

TEST(Scripts, DebugLogIsCreatedEmpty) {
  std::ofstream("d-bug_log.txt") << "old";
  GameRun r = Play("frames 1\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(fs::exists("d-bug_log.txt"));
  EXPECT_EQ(fs::file_size("d-bug_log.txt"), 0u);
}

}  // namespace

namespace {

// Inserts a command before the recording's closing line, where the session's own dump was taken.
std::string Before_Close(std::string recording, const std::string& command) {
  const size_t p = recording.rfind("close\n");
  if (p == std::string::npos) return recording + command;
  return recording.insert(p, command);
}

TEST(Scripts, RecordingReplaysTheSameGame) {
  const std::string session = std::string(start_game) +
                              "key down RIGHT\nframes 3\nkey up RIGHT\nframes 1\nkey down DOWN\nframes 2\n"
                              "key up DOWN\nframes 1\nkey down RETURN\nframes 1\nkey up RETURN\nframes 2\n"
                              "mouse move 400 200\nframes 1\nmouse down right\nframes 1\nmouse up right\nframes 1\n"
                              "mouse move 349 80\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 1\n"
                              "key down UP\nframes 4\nkey up UP\nframes 1\nstate original.json\n";
  GameRun first = Play(session, "--seed 4242 --record " + (fs::temp_directory_path() / "orvalis-rec.txt").string());
  ASSERT_EQ(first.status, 0) << first.output;
  std::ifstream in(fs::temp_directory_path() / "orvalis-rec.txt");
  std::stringstream recording;
  recording << in.rdbuf();
  ASSERT_EQ(recording.str().rfind("seed 4242\n", 0), 0u) << recording.str();
  GameRun replay = Play(Before_Close(recording.str(), "state replayed.json\n"), "");
  ASSERT_EQ(replay.status, 0) << replay.output;
  const json a = first.State("original.json"), b = replay.State("replayed.json");
  ASSERT_FALSE(a.is_null());
  EXPECT_EQ(a, b);
  fs::remove(fs::temp_directory_path() / "orvalis-rec.txt");
}

TEST(Scripts, HelpVersionAndUsageErrors) {
  auto status = [](const std::string& args) {
    const int raw = std::system((game_binary + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(status("--help"), 0);
  EXPECT_EQ(status("--version"), 0);
  EXPECT_EQ(status("--bogus"), 64);
  EXPECT_EQ(status("--scale"), 64);
  EXPECT_EQ(status("--headless"), 64);
  EXPECT_EQ(status("--headless --data /nonexistent/folder --script x"), 2);  // the script is read first
}

TEST(Scripts, DataFolderIsEnteredBeforeStart) {
  // Started from elsewhere with --data, the log lands in the data folder.
  const fs::path elsewhere = fs::temp_directory_path() / ("orvalis-elsewhere-" + std::to_string(::getpid()));
  fs::create_directories(elsewhere);
  std::ofstream(elsewhere / "s.txt") << "frames 2\nstate out.json\n";
  fs::remove(fs::path(ORVALIS_RUN_DIR) / "d-bug_log.txt");
  const std::string cmd = "cd " + elsewhere.string() + " && " + game_binary +
                          " --headless --seed 3 --data " + ORVALIS_RUN_DIR + " --script s.txt 2>/dev/null";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_TRUE(fs::exists(fs::path(ORVALIS_RUN_DIR) / "d-bug_log.txt"));
  EXPECT_FALSE(fs::exists(elsewhere / "d-bug_log.txt"));
  EXPECT_TRUE(fs::exists(elsewhere / "out.json"));  // script paths are the caller's
  fs::remove_all(elsewhere);
}

}  // namespace

namespace {

TEST(Scripts, MovesDoorsShiftsRotationsAndBothWaysOfEndingATurn) {
  const std::string click = "frames 1\nmouse down left\nframes 1\nmouse up left\nframes 1\n";
  GameRun r = Play(std::string(start_game) + "state start.json\n" +
                   // Player 2 walks south from the start square and opens the door of its home block.
                   "key down DOWN\nframes 1\nkey up DOWN\nframes 1\nkey down DOWN\nframes 1\nkey up DOWN\nframes 1\n"
                   "state door.json\nkey down DOWN\nframes 1\nkey up DOWN\nframes 1\nstate through.json\n"
                   // The first button of the top line moves column 0 down, paid with the one action.
                   "mouse move 360 85\n" + click + "state shifted.json\n" +
                   "mouse move 360 85\n" + click + "state unpaid.json\n" +
                   // Return hands the turn to player 1, who turns block (3, 3) with a right click.
                   "key down RETURN\nframes 2\nkey up RETURN\nframes 1\nstate p1.json\n"
                   "mouse move 455 213\nframes 1\nmouse down right\nframes 1\nmouse up right\nframes 1\n"
                   "state turned.json\n"
                   // A press on END TURN dragged off and released elsewhere does not end the turn ...
                   "mouse move 450 440\nframes 1\nmouse down left\nframes 1\nmouse move 300 440\nframes 1\n"
                   "mouse up left\nframes 1\nstate cancelled.json\n"
                   // ... until the pointer rests again on the pixel of the press.
                   "mouse move 450 440\nframes 2\nstate ended.json\n");
  ASSERT_EQ(r.status, 0) << r.output;
  const json start = r.State("start.json"), door = r.State("door.json"), through = r.State("through.json");
  ASSERT_EQ(start["players"]["2"]["square_y"], 4);
  EXPECT_EQ(door["players"]["2"]["square_y"], 5);           // the step into the closed door opened it
  EXPECT_EQ(door["board"][0][0]["content"][4][6], 105);
  EXPECT_EQ(through["players"]["2"]["square_y"], 6);        // and the next step entered it
  EXPECT_EQ(through["players"]["2"]["facing"], 3);

  const json shifted = r.State("shifted.json"), unpaid = r.State("unpaid.json");
  EXPECT_EQ(shifted["players"]["2"]["actions"], 0);
  EXPECT_EQ(shifted["players"]["2"]["block_y"], 1);         // carried down with its block
  EXPECT_EQ(shifted["board"][0][1]["number"], 1);
  EXPECT_EQ(shifted["board"][0][0]["number"], 57);          // the bottom block wrapped to the top
  EXPECT_EQ(unpaid["board"], shifted["board"]);             // no action left: the click does nothing

  const json p1 = r.State("p1.json"), turned = r.State("turned.json");
  EXPECT_EQ(p1["current_player"], 1);
  EXPECT_EQ(p1["players"]["1"]["turns"], 1);
  EXPECT_EQ(p1["players"]["2"]["actions"], 0);
  const int before = p1["board"][3][3]["type"];
  if (before == 10) {  // the crossing does not turn and costs nothing
    EXPECT_EQ(turned["players"]["1"]["actions"], 2);
  } else {
    EXPECT_EQ(turned["players"]["1"]["actions"], 1);
    EXPECT_NE(turned["board"][3][3]["type"], before);
  }
  EXPECT_EQ(turned["current_block"]["number"], p1["board"][3][3]["number"]);  // the view follows the click

  EXPECT_EQ(r.State("cancelled.json")["current_player"], 1);
  const json ended = r.State("ended.json");
  EXPECT_EQ(ended["current_player"], 0);
  EXPECT_EQ(ended["players"]["2"]["turns"], 1);
  EXPECT_EQ(ended["players"]["2"]["actions"], 1);            // a turn begun with no action gets one
}

}  // namespace

// Whole runs of the game binary on the headless backend, driven by scripts, checked through the
// state dumps and screenshots they write.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "tests/support/game.h"

namespace {

using namespace test_support;
using nlohmann::json;

// Each run of the game binary plays in a folder of its own, kept until the test ends.
class Scripts : public ::testing::Test {
 protected:
  GameRun Play(const std::string& script, const std::string& args = "--seed 1234") {
    dirs_.push_back(std::make_unique<TempDir>("e2e"));
    return Run_Game_Binary(dirs_.back()->Path(), script, args);
  }

 private:
  std::vector<std::unique_ptr<TempDir>> dirs_;
};

int Count_Blocks(const json& state, const char* flag) {
  int n = 0;
  for (const json& col : state["board"])
    for (const json& b : col) n += b[flag].get<int>();
  return n;
}

TEST_F(Scripts, MenuGrowsOverThirtyFramesAfterReturn) {
  GameRun r = Play(
      "frames 3\nstate before.json\nkey down RETURN\nframes 1\nkey up RETURN\nframes 10\nstate mid.json\n"
      "frames 25\nstate grown.json\n");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output, "");
  json before = r.Dump("before.json"), mid = r.Dump("mid.json"), grown = r.Dump("grown.json");
  EXPECT_EQ(before["game_state"], 9);
  EXPECT_EQ(before["menu"]["menu_open"], 0);
  EXPECT_EQ(mid["menu"]["menu_open"], 1);
  EXPECT_EQ(mid["menu"]["menu_panel_w"], 80);  // the growth starts the frame after Return was seen
  EXPECT_EQ(grown["menu"]["menu_panel_w"], 240);
  EXPECT_EQ(grown["menu"]["menu_panel_h"], 240);
  EXPECT_EQ(grown["menu"]["menu_origin_x"], 305);
  EXPECT_EQ(grown["menu"]["menu_origin_y"], 220);
}

TEST_F(Scripts, OptionsCycleSetsTheItemDensity) {
  GameRun r = Play(
      "key down RETURN\nframes 1\nkey up RETURN\nframes 31\n"
      "mouse move 320 350\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\nstate open.json\n"
      "mouse move 260 310\nframes 1\nmouse down left\nframes 2\nmouse up left\nframes 1\nstate one.json\n"
      "mouse down left\nframes 2\nmouse up left\nframes 1\nstate two.json\n"
      "mouse down left\nframes 2\nmouse up left\nframes 1\nstate zero.json\n"
      "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 1\nstate closed.json\n");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.Dump("open.json")["menu"]["options_open"], 1);
  EXPECT_EQ(r.Dump("one.json")["item_density"], 1);
  EXPECT_EQ(r.Dump("two.json")["item_density"], 2);
  EXPECT_EQ(r.Dump("zero.json")["item_density"], 0);
  EXPECT_EQ(r.Dump("closed.json")["menu"]["options_open"], 0);
  EXPECT_EQ(r.Dump("closed.json")["game_state"], 9);  // Escape closed the overlay only
}

TEST_F(Scripts, StartingAGameSetsUpTheBoardForEachDensity) {
  const char* open_options =
      "mouse move 320 350\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n";
  const char* step_amount =
      "mouse move 260 310\nframes 1\nmouse down left\nframes 2\nmouse up left\nframes 1\n";
  const char* close_options = "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 1\n";
  const char* click_start =
      "mouse move 320 300\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n";
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
    json g = r.Dump("game.json");
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

TEST_F(Scripts, SameSeedSameGame) {
  const std::string s = std::string(test_support::START_GAME) + "state game.json\n";
  GameRun a = Play(s, "--seed 99");
  GameRun b = Play(s, "--seed 99");
  ASSERT_EQ(a.status, 0);
  ASSERT_EQ(b.status, 0);
  EXPECT_EQ(a.Dump("game.json"), b.Dump("game.json"));
  GameRun c = Play("seed 99\n" + s, "");
  EXPECT_EQ(a.Dump("game.json"), c.Dump("game.json"));  // the script's seed line seeds the same game
}

TEST_F(Scripts, CheatThenHomeWinsAndResultsReturnToMenu) {
  GameRun r = Play(std::string(test_support::START_GAME) +
                   "key down A\nframes 1\nkey up A\nframes 1\nstate cheat.json\n"
                   "key down LEFT\nframes 1\nkey up LEFT\nframes 2\nstate won.json\nscreenshot results.png\n"
                   "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 2\nstate menu.json\n");
  ASSERT_EQ(r.status, 0) << r.output;
  json cheat = r.Dump("cheat.json");
  EXPECT_EQ(cheat["players"]["1"]["turns"], 105);
  EXPECT_EQ(cheat["players"]["2"]["turns"], 15);
  EXPECT_EQ(cheat["players"]["2"]["treasures"], 5);
  json won = r.Dump("won.json");
  EXPECT_EQ(won["game_state"], 14);
  EXPECT_EQ(won["players"]["2"]["winner"], 1);
  EXPECT_EQ(won["players"]["1"]["winner"], 0);
  EXPECT_EQ(won["players"]["2"]["square_x"], 3);
  EXPECT_EQ(r.Dump("menu.json")["game_state"], 9);
  EXPECT_TRUE(fs::exists(r.dir / "results.png"));
}

TEST_F(Scripts, EscapeFromPlayReturnsToMenuAndQuitEndsTheRun) {
  GameRun r = Play(std::string(test_support::START_GAME) +
                   "key down ESCAPE\nframes 3\nstate held.json\nkey up ESCAPE\nframes 2\nstate menu.json\n"
                   "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 2\nstate never.json\n");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.Dump("held.json")["game_state"], 6);  // Escape acts on release
  EXPECT_EQ(r.Dump("menu.json")["game_state"], 9);
  EXPECT_FALSE(fs::exists(r.dir / "never.json"));  // the quit ended the run before the script did
}

TEST_F(Scripts, ClosingTheWindowMidGameEndsTheRun) {
  GameRun r = Play(std::string(test_support::START_GAME) + "close\nframes 5\nstate never.json\n");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_FALSE(fs::exists(r.dir / "never.json"));
}

TEST_F(Scripts, BadScriptsAreRefusedBeforeTheGameStarts) {
  GameRun r = Play("frames 2\nmouse wiggle\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("script.txt:2:"), std::string::npos) << r.output;
  const int raw =
      std::system((Game_Binary() + " --headless --script /nonexistent/x.txt 2>/dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 2);
}

// Inserts a command before the recording's closing line, where the session's own dump was taken.
std::string Before_Close(std::string recording, const std::string& command) {
  const size_t p = recording.rfind("close\n");
  if (p == std::string::npos) return recording + command;
  return recording.insert(p, command);
}

TEST_F(Scripts, RecordingReplaysTheSameGame) {
  const std::string session =
      std::string(test_support::START_GAME) +
      "key down RIGHT\nframes 3\nkey up RIGHT\nframes 1\nkey down DOWN\nframes 2\n"
      "key up DOWN\nframes 1\nkey down RETURN\nframes 1\nkey up RETURN\nframes 2\n"
      "mouse move 400 200\nframes 1\nmouse down right\nframes 1\nmouse up right\nframes 1\n"
      "mouse move 349 80\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 1\n"
      "key down UP\nframes 4\nkey up UP\nframes 1\nstate original.json\n";
  GameRun first = Play(session, "--seed 4242 --record recording.txt");
  ASSERT_EQ(first.status, 0) << first.output;
  const std::string recording = Read_File(first.dir / "recording.txt");
  ASSERT_EQ(recording.rfind("seed 4242\n", 0), 0u) << recording;
  GameRun replay = Play(Before_Close(recording, "state replayed.json\n"), "");
  ASSERT_EQ(replay.status, 0) << replay.output;
  const json a = first.Dump("original.json"), b = replay.Dump("replayed.json");
  ASSERT_FALSE(a.is_discarded());
  EXPECT_EQ(a, b);
}

TEST_F(Scripts, HelpVersionAndUsageErrors) {
  auto status = [](const std::string& args) {
    const int raw = std::system((Game_Binary() + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(status("--help"), 0);
  EXPECT_EQ(status("--version"), 0);
  EXPECT_EQ(status("--bogus"), 64);
  EXPECT_EQ(status("--scale"), 64);
  EXPECT_EQ(status("--headless"), 64);
  EXPECT_EQ(status("--headless --data /nonexistent/folder --script x"), 2);  // the script is read first
}

// A window asked for where no display opens never runs unseen: it says so and the run ends.
TEST_F(Scripts, AWindowWithoutADisplaySaysSoAndEnds) {
  TempDir home("e2e-no-display");
  const std::string run = "cd '" + home.Path().string() +
                          "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " + "HOME='" +
                          home.Path().string() + "' XDG_STATE_HOME= XDG_CONFIG_HOME= timeout 60 '" +
                          Game_Binary() + "' --windowed --data '" + ORVALIS_RUN_DIR + "' 2>err.txt";
  const int raw = std::system(run.c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
  EXPECT_NE(Read_File(home.Path() / "err.txt").find("no display was found"), std::string::npos);
}

// One test for both, as both look at the run folder's one log (run side by side, one would remove or
// fill it under the other).
TEST_F(Scripts, DataFolderIsEnteredBeforeStartAndTheDebugLogIsCreatedEmpty) {
  // Started from elsewhere with --data, the log lands in the data folder, made empty.
  const std::string log = Run_Path("d-bug_log.txt");
  Write_File(log, "old");
  GameRun r = Play("frames 2\nstate out.json\n", std::string("--seed 3 --data ") + ORVALIS_RUN_DIR);
  EXPECT_EQ(r.status, 0) << r.output;
  ASSERT_TRUE(fs::exists(log));
  EXPECT_EQ(fs::file_size(log), 0u);
  EXPECT_FALSE(fs::exists(r.dir / "d-bug_log.txt"));
  EXPECT_TRUE(fs::exists(r.dir / "out.json"));  // script paths are the caller's
}

TEST_F(Scripts, MovesDoorsShiftsRotationsAndBothWaysOfEndingATurn) {
  const std::string click = "frames 1\nmouse down left\nframes 1\nmouse up left\nframes 1\n";
  GameRun r =
      Play(std::string(test_support::START_GAME) + "state start.json\n" +
           // Player 2 walks south from the start square and opens the door of its home block.
           "key down DOWN\nframes 1\nkey up DOWN\nframes 1\nkey down DOWN\nframes 1\nkey up DOWN\nframes 1\n"
           "state door.json\nkey down DOWN\nframes 1\nkey up DOWN\nframes 1\nstate through.json\n"
           // The first button of the top line moves column 0 down, paid with the one action.
           "mouse move 360 85\n" +
           click + "state shifted.json\n" + "mouse move 360 85\n" + click + "state unpaid.json\n" +
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
  const json start = r.Dump("start.json"), door = r.Dump("door.json"), through = r.Dump("through.json");
  ASSERT_EQ(start["players"]["2"]["square_y"], 4);
  EXPECT_EQ(door["players"]["2"]["square_y"], 5);  // the step into the closed door opened it
  EXPECT_EQ(door["board"][0][0]["content"][4][6], 105);
  EXPECT_EQ(through["players"]["2"]["square_y"], 6);  // and the next step entered it
  EXPECT_EQ(through["players"]["2"]["facing"], 3);

  const json shifted = r.Dump("shifted.json"), unpaid = r.Dump("unpaid.json");
  EXPECT_EQ(shifted["players"]["2"]["actions"], 0);
  EXPECT_EQ(shifted["players"]["2"]["block_y"], 1);  // carried down with its block
  EXPECT_EQ(shifted["board"][0][1]["number"], 1);
  EXPECT_EQ(shifted["board"][0][0]["number"], 57);  // the bottom block wrapped to the top
  EXPECT_EQ(unpaid["board"], shifted["board"]);     // no action left: the click does nothing

  const json p1 = r.Dump("p1.json"), turned = r.Dump("turned.json");
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

  EXPECT_EQ(r.Dump("cancelled.json")["current_player"], 1);
  const json ended = r.Dump("ended.json");
  EXPECT_EQ(ended["current_player"], 0);
  EXPECT_EQ(ended["players"]["2"]["turns"], 1);
  EXPECT_EQ(ended["players"]["2"]["actions"], 1);  // a turn begun with no action gets one
}

}  // namespace

// The computer plays player 1 through the controls to the end of its turn, and a recording of the
// person's input (with the run's seed, side and level) replays the same game.
TEST_F(Scripts, TheComputersGameIsRecordedAndReplayed) {
  const std::string session = std::string(test_support::START_GAME) +
                              "key down DOWN\nframes 1\nkey up DOWN\nframes 1\nkey down RETURN\nframes 1\n"
                              "key up RETURN\nframes 6000\nstate original.json\n";
  GameRun first = Play(session, "--seed 4242 --computer 1 --level normal --record recording.txt");
  ASSERT_EQ(first.status, 0) << first.output;
  const std::string recording = Read_File(first.dir / "recording.txt");
  EXPECT_NE(recording.find("computer 1\n"), std::string::npos) << recording;
  GameRun replay = Play(Before_Close(recording, "state replayed.json\n"), "");
  ASSERT_EQ(replay.status, 0) << replay.output;
  const json a = first.Dump("original.json"), b = replay.Dump("replayed.json");
  ASSERT_FALSE(a.is_discarded());
  EXPECT_EQ(a["computer_player"], 1);
  // The computer's turn was played to its end: passed back, or won (free walking can take all five).
  EXPECT_EQ(a["players"]["1"]["turns"], 1);
  EXPECT_TRUE(a["current_player"] == 0 || a["game_state"] == int{STATE_RESULTS}) << a.dump();
  EXPECT_EQ(a, b);
}

// Who the computer plays: the options row's second picture, or --computer for the run.
TEST_F(Scripts, TheOptionsRowAndTheCommandLineChooseWhoTheComputerPlays) {
  const std::string row =
      "key down RETURN\nframes 1\nkey up RETURN\nframes 35\n"
      "mouse move 320 350\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 30\n"
      "mouse move 320 392\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n"
      "state row.json\n";
  EXPECT_EQ(Play("frames 1\nstate none.json\n").Dump("none.json")["computer_player"], 0);
  EXPECT_EQ(Play(row).Dump("row.json")["computer_player"], 1);
  EXPECT_EQ(
      Play("frames 1\nstate two.json\n", "--computer 2 --level hard").Dump("two.json")["computer_player"], 2);
  EXPECT_EQ(Play(row, "--computer both").Dump("row.json")["computer_player"], 0);  // the row turns it off
}

// Show moves is drawing only: the computer playing both sides from one seed plays the same game with
// the comfort on and off, to the last square.
TEST_F(Scripts, ShowMovesChangesNoState) {
  const std::string game =
      std::string(test_support::START_GAME) + "frames 1500\nstate early.json\nframes 2500\nstate late.json\n";
  GameRun off = Play(game, "--seed 77 --computer both --level normal");
  GameRun on = Play("setting comforts.show_moves true\n" + game, "--seed 77 --computer both --level normal");
  ASSERT_EQ(off.status, 0) << off.output;
  ASSERT_EQ(on.status, 0) << on.output;
  ASSERT_FALSE(off.Dump("late.json").is_discarded());
  EXPECT_EQ(off.Dump("early.json"), on.Dump("early.json"));
  EXPECT_EQ(off.Dump("late.json"), on.Dump("late.json"));
  EXPECT_NE(off.Dump("late.json")["players"]["1"]["turns"], 0);  // the computer has played
}

// The F1 overlay in the real game, headless: opened and closed in each state it leaves the state dump
// and the picture as they were; F1 during a transition opens it once the transition is over; the
// computer's hand waits while it is open; a click on the settings page changes the setting and
// writes the settings file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/shell_state.h"
#include "game/model.h"
#include "platform/platform.h"
#include "screens/front/front.h"
#include "screens/play/playing.h"
#include "settings/settings.h"
#include "shell/assets.h"
#include "shell/computer.h"
#include "shell/main_loop.h"
#include "shell/script.h"
#include "shell/settings_store.h"
#include "tests/support/game.h"

namespace fs = std::filesystem;

namespace {

const char* const grow_menu = "key down RETURN\nframes 1\nkey up RETURN\nframes 35\n";
const char* const start_game =
    "mouse move 320 300\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n";
const char* const f1 = "key down F1\nframes 1\nkey up F1\nframes 1\n";
const char* const escape = "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 1\n";
// Inside the overlay: the settings tab, a page turned back with Left, and a pointer that wanders.
const char* const browse =
    "frames 3\nmouse move 320 54\nframes 1\nmouse down left\nframes 1\nmouse up left\n"
    "frames 1\nkey down LEFT\nframes 1\nkey up LEFT\nmouse move 100 400\nframes 3\n";

int press_f1_at = -1;
void Press_F1_During_Transition(int frame) {
  if (frame == press_f1_at) Platform_Set_Key(VK_F1, true);
  if (frame == press_f1_at + 3) Platform_Set_Key(VK_F1, false);
}

class Overlay : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::Start_Headless_Game(11);
    Start_Settings("", {});
  }
  void TearDown() override {
    transition_frame_hook = nullptr;
    press_f1_at = -1;
    Configure_Computer(COMPUTER_NONE, LEVEL_NORMAL);
    Set_Active_Settings(Default_Settings());
    test_support::Stop_Headless_Game();
  }

  // Plays the script; `state NAME` and `screenshot NAME` write into the test's folder. Returns the
  // passes the game ran after the script's end.
  int64_t Run(const std::string& text) {
    const ScriptRunner runner = test_support::Play_Script(text, dir_);
    EXPECT_EQ(runner.failures, 0);
    return runner.passes_after_close;
  }
  std::string Read(const std::string& name) const { return test_support::Read_File(dir_ / name); }

  test_support::TempDir temp_{"orvalis-help"};
  const fs::path& dir_ = temp_.Path();
};

TEST_F(Overlay, OpenedAndClosedInEachStateItLeavesTheGameAsItWas) {
  const std::string visit = std::string("state before.json\nscreenshot before.png\n") + f1 +
                            "state open.json\n" + browse + "screenshot open.png\n";
  const std::string after = "frames 1\nstate after.json\nscreenshot after.png\n";
  struct Case {
    const char* name;
    std::string to_there;
    std::string close;
    const char* pointer;  // where the pointer stands there, and is put back before the overlay closes
  };
  const Case cases[] = {
      {"title", "frames 3\n", f1, "0 0"},
      {"menu", std::string(grow_menu), escape, "0 0"},
      {"options",
       std::string(grow_menu) + "mouse move 320 350\nframes 1\nmouse down left\nframes 1\nmouse up left\n"
                                "frames 2\n",
       escape, "320 350"},
      {"play", std::string(grow_menu) + start_game + "key down DOWN\nframes 1\nkey up DOWN\nframes 2\n",
       escape, "320 300"},
      {"results",
       std::string(grow_menu) + start_game +
           "key down A\nframes 1\nkey up A\nframes 1\nkey down LEFT\nframes 1\nkey up LEFT\nframes 3\n",
       escape, "320 300"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Run(c.to_there + visit + "mouse move " + c.pointer + "\nframes 1\n" + c.close + after);
    EXPECT_EQ(Read("before.json"), Read("after.json"));
    EXPECT_EQ(Read("before.png"), Read("after.png"));
    EXPECT_NE(Read("open.png"), Read("before.png"));
    EXPECT_NE(Read("open.json").find("\"help_open\": true"), std::string::npos);
  }
  EXPECT_NE(Read("before.json").find("\"game_state\": 14"), std::string::npos);  // the last case: results

  // The pointer moved over the overlay: the game's next frame draws it there, not where it was.
  TearDown();
  SetUp();
  Run(std::string(grow_menu) + f1 + "mouse move 100 400\nframes 1\n" + f1 + "frames 1\n");
  EXPECT_EQ(mouse_x, 100);
  EXPECT_EQ(mouse_y, 400);
}

TEST_F(Overlay, F1DuringATransitionOpensItWhenTheTransitionIsOver) {
  press_f1_at = 20;
  transition_frame_hook = Press_F1_During_Transition;
  Run(std::string(grow_menu) + start_game + "state open.json\n" + f1 + "state closed.json\n");
  EXPECT_NE(Read("open.json").find("\"help_open\": true"), std::string::npos);
  EXPECT_NE(Read("open.json").find("\"game_state\": 6"), std::string::npos);
  EXPECT_NE(Read("closed.json").find("\"help_open\": false"), std::string::npos);
}

TEST_F(Overlay, TheComputersHandWaitsWhileItIsOpen) {
  Configure_Computer(COMPUTER_PLAYER_2, LEVEL_NORMAL);  // the computer moves first
  Run(std::string(grow_menu) + start_game + f1 + "state open.json\nframes 400\nstate later.json\n" + f1 +
      "frames 400\nstate moved.json\n");
  std::string open = Read("open.json"), later = Read("later.json");
  EXPECT_EQ(open, later);
  const auto board_part = [](const std::string& s) { return s.substr(s.find("\"board\"")); };
  EXPECT_NE(board_part(Read("moved.json")), board_part(later));
}

TEST_F(Overlay, AClickOnTheSettingsPageChangesTheSettingAndWritesTheFile) {
  const std::string path = (dir_ / "config" / "settings.toml").string();
  Start_Settings(path, {"display.scale = 3"});
  // The settings tab, then a left click on "Board marks", a right click on "Its level" and a left click
  // on "Window scale".
  Run(std::string("frames 2\n") + f1 +
      "mouse move 320 54\nframes 1\nmouse down left\nframes 1\nmouse up left\n" +
      "frames 1\nmouse move 250 150\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 1\n" +
      "mouse move 250 326\nframes 1\nmouse down right\nframes 1\nmouse up right\nframes 1\n" +
      "mouse move 550 130\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 1\n" + f1);
  EXPECT_TRUE(Comfort_On(SETTING_BOARD_MARKS));
  EXPECT_EQ(Computer_Level(), LEVEL_EASY);
  SettingsFile f = Load_Settings_File(path);
  EXPECT_FALSE(f.faulty);
  EXPECT_EQ(f.settings.value[SETTING_BOARD_MARKS], 1);
  EXPECT_EQ(f.settings.value[SETTING_COMPUTER_LEVEL], LEVEL_EASY);
  // The window scale, 3 for this run from the command line, is 4 now; the file had the default 2 and
  // takes the click's 4, never the command line's 3.
  EXPECT_EQ(Platform_Config().scale, 4);
  EXPECT_EQ(f.settings.value[SETTING_SCALE], 4);
}

TEST_F(Overlay, ClosingTheWindowInAGameAsksWithTheComfortAndTheScriptsEndStillEndsTheRun) {
  Start_Settings("", {"comforts.ask_before_leaving = true"});
  const int64_t after_end = Run(std::string(grow_menu) + start_game + "close\nframes 2\nstate asked.json\n" +
                                escape + "state stayed.json\nclose\nframes 2\n");
  EXPECT_NE(Read("asked.json").find("\"leave_question\": true"), std::string::npos);
  EXPECT_NE(Read("stayed.json").find("\"leave_question\": false"), std::string::npos);
  EXPECT_NE(Read("stayed.json").find("\"game_state\": 6"), std::string::npos);
  EXPECT_LT(after_end, 5);  // asked again at the end, and the run ended all the same
}

}  // namespace

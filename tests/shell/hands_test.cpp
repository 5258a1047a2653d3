// The hand-over between the computer's turn and the person's, through the real main loop: the person's
// pointer, keys and gamepad act for the game again only as the person left them, a key or button held
// across the hand-over acts only once let go and pressed again, and the person's own keys (F12) work in
// the computer's turn too.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/shell_state.h"
#include "game/model.h"
#include "platform/platform.h"
#include "screens/play/layout.h"
#include "shell/computer.h"
#include "tests/support/game.h"

namespace {

using test_support::Play_Script;

constexpr int KEY_F12 = 123;
// The middle of overview cell (5, 5): a left click there shows that block and does nothing else.
constexpr int CELL_X = OVERVIEW_X + CELL_SIZE * 5 + CELL_SIZE / 2,
              CELL_Y = OVERVIEW_Y + CELL_SIZE * 5 + CELL_SIZE / 2;

class HandOver : public test_support::HeadlessGame {
 protected:
  void SetUp() override {
    HeadlessGame::SetUp();
    Configure_Computer(COMPUTER_PLAYER_1, LEVEL_EASY);
    // A new game, player 2's turn passed to the computer at once.
    Play_Script(std::string(test_support::START_GAME) +
                "key down RETURN\nframes 1\nkey up RETURN\nframes 2\n");
    ASSERT_EQ(game_state, STATE_PLAYING);
    ASSERT_EQ(current_player, 1);
  }
  // Until the computer's turn has passed back to the person.
  static void Until_The_Persons_Turn() {
    for (int i = 0; i < 300 && game_state == STATE_PLAYING && current_player == 1; ++i)
      Play_Script("frames 20\n");
    ASSERT_EQ(game_state, STATE_PLAYING);
    ASSERT_EQ(current_player, 0);
  }
  static void Click() { Play_Script("mouse down left\nframes 1\nmouse up left\nframes 2\n"); }
};

}  // namespace

TEST_F(HandOver, AClickRightAfterItActsWhereThePersonsPointerIs) {
  // The person points at a cell during the computer's turn and clicks, without moving, once it is back.
  Play_Script("mouse move " + std::to_string(CELL_X) + " " + std::to_string(CELL_Y) + "\nframes 2\n");
  Until_The_Persons_Turn();
  const int32_t actions = player2.actions;
  Click();
  EXPECT_EQ(current_player, 0) << "the click ended the person's turn";
  EXPECT_EQ(player2.actions, actions);
  EXPECT_EQ(mouse_x, CELL_X);
  EXPECT_EQ(current_block.number, board.blocks[5][5].number);
}

TEST_F(HandOver, AKeyOrButtonHeldAcrossItActsOnlyOnceLetGoAndPressedAgain) {
  // Return held through the hand-over: its release does not end the person's turn; a new press does.
  Play_Script("key down RETURN\nframes 1\n");
  Until_The_Persons_Turn();
  Play_Script("key up RETURN\nframes 3\n");
  EXPECT_EQ(current_player, 0);
  // The gamepad's south button (a left click at the pad's pointer) held through the next hand-over, the
  // pad's pointer moved onto a cell in the computer's turn: the release clicks nothing, a new click
  // shows the cell.
  Play_Script("key down RETURN\nframes 1\nkey up RETURN\nframes 2\n");
  ASSERT_EQ(current_player, 1);
  Platform_Pad_Connected(7, true);
  Platform_Post_Message(PlatformMessage{MSG_MOUSEMOVE, 0, static_cast<uint32_t>(CELL_X) | (CELL_Y << 16)});
  Play_Script("frames 2\n");
  Platform_Pad_Button(7, PAD_BUTTON_SOUTH, true);
  Until_The_Persons_Turn();
  const int32_t shown = current_block.number;
  Platform_Pad_Button(7, PAD_BUTTON_SOUTH, false);
  Play_Script("frames 3\n");
  EXPECT_EQ(current_block.number, shown);
  Platform_Pad_Button(7, PAD_BUTTON_SOUTH, true);
  Play_Script("frames 2\n");
  Platform_Pad_Button(7, PAD_BUTTON_SOUTH, false);
  Play_Script("frames 2\n");
  EXPECT_EQ(current_block.number, board.blocks[5][5].number);
  EXPECT_EQ(current_player, 0);
  Platform_Pad_Connected(7, false);
}

TEST_F(HandOver, F12InTheComputersTurnWritesAScreenshot) {
  test_support::TempDir home("f12");
  const char* old_config = std::getenv("XDG_CONFIG_HOME");
  const char* old_data = std::getenv("XDG_DATA_HOME");
  const std::string saved_config = old_config ? old_config : "", saved_data = old_data ? old_data : "";
  setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
  setenv("XDG_DATA_HOME", home.File("data").c_str(), 1);
  Platform_Set_Key(KEY_F12, true);
  Play_Script("frames 2\n");
  Platform_Set_Key(KEY_F12, false);
  EXPECT_EQ(current_player, 1);  // still the computer's turn
  int written = 0;
  std::error_code ec;
  for (const auto& f :
       std::filesystem::directory_iterator(home.Path() / "data" / "orvalis" / "screenshots", ec))
    written += f.path().extension() == ".png";
  EXPECT_EQ(written, 1);
  if (old_config)
    setenv("XDG_CONFIG_HOME", saved_config.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
  if (old_data)
    setenv("XDG_DATA_HOME", saved_data.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

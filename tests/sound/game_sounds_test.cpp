// The sounds a scripted game makes, heard through the headless backend's record, and the rule that
// sound never changes the game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/shell_state.h"
#include "game/model.h"
#include "platform/platform.h"
#include "screens/front/front.h"
#include "screens/play/playing.h"
#include "shell/assets.h"
#include "shell/computer.h"
#include "shell/main_loop.h"
#include "shell/script.h"
#include "shell/state_dump.h"
#include "sound/sound.h"
#include "tests/support/game.h"

namespace {

// The game starts with player 2 to move on the start square (4,4) of its dead end, whose door
// (3,6)-(4,6) lies two squares below.
// Down onto the key laid at (4,5), down into the closed door (it opens), down through it; a shift of
// column 1 (the top button of that column) with the one action; Return. Then player 1 holds the cheat
// key (five treasures) and steps left from (4,4) onto its home mark (3,4): a win.
const char* const kPlay =
    "key down DOWN\nframes 1\nkey up DOWN\nframes 1\nkey down DOWN\nframes 1\nkey up DOWN\nframes 1\n"
    "key down DOWN\nframes 1\nkey up DOWN\nframes 1\n"
    "mouse move 365 91\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 1\n"
    "key down RETURN\nframes 1\nkey up RETURN\nframes 1\n"
    "key down A\nframes 1\nkey up A\nframes 1\nkey down LEFT\nframes 1\nkey up LEFT\nframes 3\n";

class GameSounds : public ::testing::Test {
 protected:
  void Start(bool sound) {
    test_support::Start_Headless_Game(77);
    Sound_Open(sound);
    Play_Theme(MUSIC_MENU);
  }
  void TearDown() override {
    Sound_Close();
    test_support::Stop_Headless_Game();
  }
  static void Play(const std::string& text) { test_support::Play_Script(text); }
  // Runs the whole game: the start, a key laid in player 2's way, then the moves.
  static void Whole_Game() {
    Play(test_support::START_GAME);
    ASSERT_EQ(game_state, STATE_PLAYING);
    board.blocks[0][0].squares[4][5] = Square{0, KEY};
    Play(kPlay);
  }
};

TEST_F(GameSounds, AScriptedGameIsHeardInOrder) {
  Start(true);
  Whole_Game();
  ASSERT_EQ(game_state, STATE_RESULTS);
  std::vector<int> heard;  // effects as their ids, themes as 100 + id
  for (const PlatformAudioEvent& e : Platform_Audio_Events()) {
    if (e.kind == AUDIO_EVENT_SOUND) heard.push_back(e.id);
    if (e.kind == AUDIO_EVENT_MUSIC_START) heard.push_back(100 + e.id);
  }
  const std::vector<int> walls = {SOUND_WALLS_CLOSE, SOUND_WALLS_SLAM, SOUND_WALLS_OPEN};
  std::vector<int> expected = {100 + MUSIC_MENU, SOUND_PANEL_GROW, SOUND_BUTTON};
  expected.insert(expected.end(), walls.begin(), walls.end());
  for (int id : {100 + MUSIC_PLAY, int{SOUND_STEP}, int{SOUND_KEY_TAKEN}, int{SOUND_DOOR_OPEN},
                 int{SOUND_STEP}, int{SOUND_SHIFT}, int{SOUND_TURN_PASSES}, int{SOUND_STEP}, int{SOUND_WIN}})
    expected.push_back(id);
  expected.insert(expected.end(), walls.begin(), walls.end());
  expected.push_back(100 + MUSIC_RESULTS);
  EXPECT_EQ(heard, expected);
}

TEST_F(GameSounds, SoundNeverChangesTheGame) {
  Start(true);
  Whole_Game();
  const std::string heard_state = Game_State_Json();
  const std::vector<uint16_t> heard_frame = Platform_Last_Frame();
  TearDown();
  Start(false);
  Whole_Game();
  EXPECT_EQ(Game_State_Json(), heard_state);
  EXPECT_TRUE(Platform_Last_Frame() == heard_frame);
  EXPECT_TRUE(Platform_Audio_Events().empty());
}

// The computer on both sides, heard: it never makes a move the game refuses (a shift or a turn with
// no action left, a home block's turn, a locked door without a key), and its turns pass.
TEST_F(GameSounds, TheComputerNeverTriesWhatTheGameRefuses) {
  Start(true);
  Configure_Computer(COMPUTER_BOTH, LEVEL_NORMAL);
  Play(std::string(test_support::START_GAME) + "frames 12000\n");
  Configure_Computer(COMPUTER_NONE, LEVEL_NORMAL);
  int refused = 0, passes = 0, shifts_and_turns = 0;
  for (const PlatformAudioEvent& e : Platform_Audio_Events()) {
    if (e.kind != AUDIO_EVENT_SOUND) continue;
    refused += e.id == SOUND_REFUSED;
    passes += e.id == SOUND_TURN_PASSES;
    shifts_and_turns += e.id == SOUND_SHIFT || e.id == SOUND_ROTATE;
  }
  EXPECT_EQ(refused, 0);
  EXPECT_GE(passes + (game_state == STATE_RESULTS), 2);
  EXPECT_GT(shifts_and_turns, 0);
}

}  // namespace

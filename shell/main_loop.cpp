#include "shell/main_loop.h"

#include <filesystem>
#include <string>

#include "common/shell_state.h"
#include "game/model.h"
#include "screens/front/front.h"
#include "screens/play/comforts.h"
#include "screens/play/playing.h"
#include "settings/settings.h"
#include "shell/computer.h"
#include "shell/data_dir.h"
#include "shell/hands.h"
#include "shell/help_overlay.h"
#include "shell/notices.h"
#include "shell/record.h"
#include "shell/saved_games.h"
#include "shell/script.h"
#include "shell/settings_store.h"
#include "shell/state_dump.h"
#include "sound/sound.h"

namespace {

constexpr int KEY_F12 = 123;
bool f12_held = false;

// F12 saves the frame on screen as a timestamped PNG (the browser downloads it) and says where,
// whoever plays the turn.
void Screenshot_On_F12() {
  const bool held = Person_Key_Held(KEY_F12);
  if (!held || f12_held) {
    f12_held = held;
    return;
  }
  f12_held = true;
  const std::string stamp = Platform_Local_Time_Stamp();
  const std::filesystem::path dir = Screenshot_Dir();
  std::filesystem::path file = dir / ("orvalis-" + stamp + ".png");
  for (int n = 2; std::filesystem::exists(file); ++n)
    file = dir / ("orvalis-" + stamp + "-" + std::to_string(n) + ".png");
  const std::string name = file.filename().string();
  std::string error;
  if (!Write_Screenshot(file.c_str(), &error))
    Post_Notice("cannot write the screenshot: " + error);
  else if (Platform_Offer_File(file.c_str(), name.c_str()))  // the browser downloads it
    Platform_Debug_Output(("orvalis: screenshot downloaded as " + name + "\n").c_str());
  else
    Platform_Debug_Output(("orvalis: screenshot saved to " + file.string() + "\n").c_str());
}

constexpr int KEY_M = 77;
bool m_held = false;

// M switches all sound off and on; sound rests while the window is in the background.
void Sound_Keys_And_Focus() {
  const bool held = Person_Key_Held(KEY_M);
  if (held && !m_held) {
    Change_Setting(SETTING_SOUND, Active_Setting(SETTING_SOUND) ? 0 : 1);
    Save_Settings();
  }
  m_held = held;
  Sound_Window_Active(Platform_Window_Active());
}

}  // namespace

int32_t Window_Proc(uint32_t message, uint32_t wparam, uint32_t lparam) {
  switch (message) {
    case MSG_CREATE:
      return 0;
    case MSG_DESTROY:
      // With the comfort, closing the window during a game asks first.
      if (game_state == STATE_PLAYING && Comfort_On(SETTING_ASK_BEFORE_LEAVING))
        Ask_Before_Leaving(LEAVE_QUIT);
      else
        Platform_Post_Quit(0);
      return 0;
    case MSG_PAINT:
      return 0;
    case MSG_MOUSEMOVE:
      mouse_x = static_cast<int32_t>(lparam & 0xFFFFu);
      mouse_y = static_cast<int32_t>((lparam >> 16) & 0xFFFFu);
      mouse_buttons = static_cast<int32_t>(wparam);
      return 0;
    case MSG_LBUTTONDOWN:
      mouse_buttons = 1;
      return 0;
    case MSG_LBUTTONUP:
      mouse_buttons = 0;
      return 0;
    case MSG_RBUTTONDOWN:
      mouse_buttons = 2;
      return 0;
    case MSG_RBUTTONUP:
      mouse_buttons = 0;
      return 0;
    default:
      return 0;
  }
}

void Run_State_Frame() {
  const GameState before = game_state;
  // A turn ends when the player to move changes or one of the turn counters moves on.
  const uint8_t mover_before = current_player;
  const int32_t turns_before = player1.turns + player2.turns;
  switch (before) {
    case STATE_MAIN_MENU: {
      std::string resume;
      if (Take_Resume_Request(&resume) && Resume_Saved_Game(resume)) break;
      Menu_Frame();
      if (continue_offer.taken) {
        continue_offer.taken = false;
        Resume_Saved_Game("");
      }
      break;
    }
    case STATE_PLAYING:
      Play_Frame(0);
      break;
    case STATE_RESULTS:
      Results_Frame();
      break;
    default:
      return;
  }
  const GameState after = game_state;
  if (before == STATE_MAIN_MENU && after == STATE_PLAYING) {
    // A new game takes its opponent from the settings and gets a file of its own (the last game's
    // file stays); a resumed one came with its own opponent.
    if (new_game_pending == 1) {
      New_Game(board);
      Saved_Game_New();
      Computer_Game_Started();
    }
    Menu_To_Game();
  } else if (before == STATE_PLAYING && after == STATE_MAIN_MENU) {
    Save_Game_In_Progress();
    Game_To_Menu();
  } else if (before == STATE_PLAYING && after == STATE_RESULTS) {
    Delete_Saved_Game();  // won: nothing is left to resume
    Game_To_Results();
  } else if (before == STATE_RESULTS && after == STATE_MAIN_MENU) {
    Results_To_Menu();
  } else if (before == STATE_PLAYING && after == STATE_PLAYING &&
             (current_player != mover_before || player1.turns + player2.turns != turns_before)) {
    Save_Game_In_Progress();
  }
}

namespace {
// The run ends: a game still being played is saved first.
int End_Run(int code) {
  Save_Game_If_Playing();
  return code;
}
}  // namespace

int Main_Loop_Pass(ScriptRunner* runner, Recorder* recorder) {
  // Where a pass draws one frame (the browser), a transition started by an earlier pass goes on
  // first, taking no input, as it does inside its pass everywhere else.
  if (Transition_Running()) {
    Transition_Frame();
    return PASS_GOES_ON;
  }
  PlatformMessage msg;
  // A stop signal ends the run as closing the window does; the exit code tells which signal.
  if (const int signal_number = Platform_Stop_Signal()) return End_Run(128 + signal_number);
  if (runner && !Script_Before_Pass(runner)) return End_Run(0);
  Help_Before_Pass();
  // Which hand acts on the game this pass; the computer's rests while the game underneath the
  // overlay or the question waits.
  Hands_Before_Pass();
  if (recorder) Record_Keys(recorder);
  Screenshot_On_F12();
  Sound_Keys_And_Focus();
  const bool took = Platform_Peek_Message(&msg) != 0;
  const bool person = took && From_Person(msg);
  if (took) {
    if (msg.message == MSG_QUIT) return End_Run(static_cast<int>(msg.wparam));
    if (recorder && person) Record_Message(recorder, msg);
    if (msg.message == MSG_DESTROY) Close_Help();
    if (Message_Acts(msg) && !Help_Is_Open()) Window_Proc(msg.message, msg.wparam, msg.lparam);
  }
  if (Help_Is_Open())
    Help_Pass(person ? &msg : nullptr);
  else
    Run_State_Frame();
  if (recorder) Record_Pass(recorder);
  return PASS_GOES_ON;
}

int Main_Loop(ScriptRunner* runner, Recorder* recorder) {
  for (;;) {
    const int code = Main_Loop_Pass(runner, recorder);
    if (code != PASS_GOES_ON) return code;
  }
}

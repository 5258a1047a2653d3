#include "shell/saved_games.h"

#include <filesystem>

#include "common/bobs.h"
#include "common/shell_state.h"
#include "game/model.h"
#include "platform/platform.h"
#include "save/saved_game.h"
#include "screens/play/comforts.h"
#include "settings/settings.h"
#include "shell/assets.h"
#include "shell/computer.h"

namespace {
bool saving = false;
bool last_save_failed = false;
bool resume_requested = false;
bool existing_save_checked = false;

// A save file that cannot be read is the player's and is never overwritten: before the first save
// of a run, such a file is renamed aside (and named on the debug output) so it stays as it was.
void Keep_Unreadable_Save(const std::string& path) {
  std::error_code ec;
  SavedGame ignored;
  std::string why;
  if (!std::filesystem::exists(path, ec) || Read_Saved_Game(path, &ignored, &why)) return;
  const std::filesystem::path aside = std::filesystem::path(path).replace_filename(
      "saved-game-unreadable-" + Platform_Local_Time_Stamp() + ".json");
  std::filesystem::rename(path, aside, ec);
  const std::string line = ec ? "orvalis: the saved game " + path + " cannot be read (" + why +
                                    ") nor moved aside: " + ec.message() + "\n"
                              : "orvalis: the saved game " + path + " cannot be read (" + why +
                                    "); it is kept as " + aside.string() + "\n";
  Platform_Debug_Output(line.c_str());
}
// Says in a line, on the playing screen and the debug output, whom the computer plays in the resumed
// game, when that is not what the settings would give a new game.
void Say_Resumed_Opponent(int32_t side, int32_t level) {
  if (side == Active_Setting(SETTING_COMPUTER_SIDE) &&
      (side == COMPUTER_NONE || level == Active_Setting(SETTING_COMPUTER_LEVEL)))
    return;
  const std::string who = side == COMPUTER_NONE ? "two people play it"
                          : side == COMPUTER_BOTH
                              ? "the computer plays both sides"
                              : std::string("the computer plays player ") + Computer_Side_Name(side);
  const std::string level_text =
      side == COMPUTER_NONE ? "" : std::string(" at ") + Computer_Level_Name(level);
  const std::string line = "Resumed as saved: " + who + level_text + "; the settings are for new games.";
  Show_Notice(line);
  Platform_Debug_Output(("orvalis: " + line + "\n").c_str());
}

}  // namespace

void Enable_Saved_Games(bool enabled) { saving = enabled; }

std::string Saved_Game_Path() {
  return (std::filesystem::path(Platform_User_Dir(USER_DIR_STATE)) / "orvalis" / "saved-game.json").string();
}

bool Saved_Game_Exists() {
  std::error_code ec;
  return std::filesystem::is_regular_file(Saved_Game_Path(), ec);
}

bool Save_Game_In_Progress() {
  if (!saving) return false;
  const std::string path = Saved_Game_Path();
  if (!existing_save_checked) {
    existing_save_checked = true;
    Keep_Unreadable_Save(path);
  }
  SavedGame game = Capture_Game();
  game.computer_player = Computer_Game_Player();
  game.computer_level = Computer_Level();
  std::string error;
  const bool saved = Write_Saved_Game(path, game, &error) == 1;
  if (!saved && !last_save_failed)
    Platform_Debug_Output(("orvalis: cannot save the game in progress: " + error + "\n").c_str());
  last_save_failed = !saved;
  return saved;
}

void Delete_Saved_Game() {
  if (!saving) return;
  std::error_code ec;
  std::filesystem::remove(Saved_Game_Path(), ec);
}

bool Resume_Saved_Game() {
  const std::string path = Saved_Game_Path();
  SavedGame game;
  std::string error;
  if (!Read_Saved_Game(path, &game, &error)) {
    std::error_code ec;
    const bool missing = !std::filesystem::exists(path, ec);
    const std::string line =
        missing ? "no saved game to resume: " + path + " does not exist; the game starts normally"
                : "cannot resume the saved game " + path + ": " + error +
                      "; the game starts normally and the file is kept";
    const std::string box = missing ? "There is no saved game to resume:\n" + path + " does not exist."
                                    : "The saved game\n" + path + "\ncannot be resumed:\n" + error +
                                          ".\n\nThe game starts normally; the file is kept.";
    Platform_Debug_Output(("orvalis: " + line + "\n").c_str());
    Platform_Show_Error("Orvalis: no game to resume", box.c_str());
    return false;
  }
  Restore_Game(game);
  // The computer's turns are seeded from the run's seed: the saved game's own.
  start_seed = game.random_seed;
  // The game goes on with the opponent it was saved with; the settings stay for later games.
  Resume_Computer(game.computer_player, game.computer_level);
  Say_Resumed_Opponent(Computer_Game_Player(), game.computer_level);
  BOB_option_amount.current_frame = game.item_density;  // the options row shows the amount in play
  new_game_pending = 0;
  game_state = STATE_PLAYING;
  return true;
}

void Request_Resume() { resume_requested = true; }

bool Take_Resume_Request() {
  const bool requested = resume_requested;
  resume_requested = false;
  return requested;
}

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
#include "shell/notices.h"

namespace {

bool saving = false;
bool last_save_failed = false;
bool resume_requested = false;
bool resume_from_command_line = false;
std::string resume_path;

// The run's game: the file it saves to ("" until its first save) and the lock on it.
std::string current_path;
int current_lock = -1;

std::vector<ShelfGame> unfinished;
size_t unfinished_asked = 0;  // how many games the last reading of the shelf went up to
bool set_aside = false;       // a file was set aside since the run began: its message names it already

void Release_Current() {
  Platform_Unlock_File(current_lock);
  current_lock = -1;
  current_path.clear();
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
  Post_Notice(line);
}

const char* Colour(uint8_t player) { return player == 1 ? "RED" : "BLUE"; }

// The offer on the title and the menu: the newest game this run may take up.
void Update_Offer() {
  continue_offer.shown = !unfinished.empty();
  continue_offer.taken = false;
  if (!continue_offer.shown) return;
  const ShelfGame& g = unfinished.front();
  continue_offer.title = "C: CONTINUE";
  continue_offer.detail = std::string(Colour(g.current_player)) + " TO MOVE, TURN " + std::to_string(g.round);
}

void Tell(const std::vector<ShelfProblem>& problems) {
  set_aside = set_aside || !problems.empty();
  for (const ShelfProblem& p : problems)
    Post_Notice("the saved game " + p.path + " cannot be resumed (" + p.why + ")" +
                (p.kept_as.empty() ? "" : "; it is kept as " + p.kept_as));
}

// Reads the shelf as far as the newest `count` games this run may take up (only the newest for the
// offer: each game read is a whole file).
void Read_Unfinished(size_t count) {
  std::vector<ShelfProblem> problems;
  unfinished.clear();
  for (const ShelfGame& g : Read_Shelf(Saved_Games_Folder(), current_path, &problems, count))
    if (!g.elsewhere) unfinished.push_back(g);
  unfinished_asked = count;
  Tell(problems);
  Update_Offer();
}

// Says why a resume failed: in a message box when the person asked on the command line of a window,
// in the window's notices otherwise.
void Refuse_Resume(const std::string& line, const std::string& box) {
  if (resume_from_command_line) {
    Platform_Debug_Output(("orvalis: " + line + "\n").c_str());
    Platform_Show_Error("Orvalis: no game to resume", box.c_str());
  } else {
    Post_Notice(line);
  }
}

}  // namespace

void Enable_Saved_Games(bool enabled) {
  saving = enabled;
  game_kept = enabled;
  if (!enabled) {
    Release_Current();
    unfinished.clear();
    continue_offer = ContinueOffer{};
  }
}

std::string Saved_Games_Folder() {
  return (std::filesystem::path(Platform_User_Dir(USER_DIR_STATE)) / "orvalis").string();
}

void Open_Saved_Games() {
  if (!saving) return;
  Platform_Remove_Stale_Temporaries(Saved_Games_Folder());
  Remove_Orphan_Locks(Saved_Games_Folder());
  Read_Unfinished(1);
}

const std::vector<ShelfGame>& Unfinished_Games() {
  if (saving && unfinished_asked < SHELF_KEEP) Read_Unfinished(SHELF_KEEP);
  return unfinished;
}

bool Save_Game_In_Progress() {
  if (!saving) return false;
  std::string error;
  const bool first = current_path.empty();
  std::error_code ec;
  std::filesystem::create_directories(Saved_Games_Folder(), ec);
  if (first) {
    current_path = New_Shelf_Path(Saved_Games_Folder());
    current_lock = Platform_Lock_File(Shelf_Lock_Path(current_path));
  }
  SavedGame game = Capture_Game();
  game.computer_player = Computer_Game_Player();
  game.computer_level = Computer_Level();
  const bool saved = Write_Saved_Game(current_path, game, &error) == 1;
  if (!saved && ec) error = "cannot create the folder " + Saved_Games_Folder() + ": " + ec.message();
  if (!saved && !last_save_failed) Post_Notice("cannot save the game in progress: " + error);
  if (saved && last_save_failed) Post_Notice("the game in progress is saved again, in " + current_path);
  last_save_failed = !saved;
  game_kept = saved;
  if (!saved && first) Release_Current();  // the next save tries a file of its own again
  if (saved && !first) {
    // The run's own game is the newest now: the offer and the list show it as just saved.
    std::erase_if(unfinished, [](const ShelfGame& g) { return g.path == current_path; });
    unfinished.insert(unfinished.begin(), Shelf_Summary(current_path, game));
    Update_Offer();
  }
  if (saved && first) {
    // A new game's file: the oldest past the last ten go, and the offer takes it in.
    std::vector<ShelfProblem> problems;
    Drop_Oldest_Games(Saved_Games_Folder(), current_path, SHELF_KEEP, &problems);
    Tell(problems);
    Read_Unfinished(1);
  }
  return saved;
}

void Save_Game_If_Playing() {
  if (game_state == STATE_PLAYING) Save_Game_In_Progress();
}

void Saved_Game_New() {
  Release_Current();
  game_kept = saving;
}

void Delete_Saved_Game() {
  if (!saving || current_path.empty()) return;
  Remove_Shelf_Game(current_path);
  Release_Current();
  Read_Unfinished(1);
}

bool Forget_Saved_Game(const std::string& path) {
  if (!saving) return false;
  if (path == current_path) {
    Remove_Shelf_Game(path);
    Release_Current();
  } else {
    const int lock = Platform_Lock_File(Shelf_Lock_Path(path));
    if (lock < 0) return false;
    Remove_Shelf_Game(path);
    Platform_Unlock_File(lock);
  }
  Read_Unfinished(SHELF_KEEP);
  return true;
}

bool Resume_Saved_Game(const std::string& asked) {
  if (saving && asked.empty()) Read_Unfinished(1);  // the newest, as it is now
  std::string path = asked;
  if (path.empty() && !unfinished.empty()) path = unfinished.front().path;
  if (path.empty() && !(resume_from_command_line && set_aside)) {
    Refuse_Resume("no saved game to resume in " + Saved_Games_Folder() + "; the game starts normally",
                  "There is no saved game to resume in\n" + Saved_Games_Folder() + ".");
  }
  if (path.empty()) {
    resume_from_command_line = false;
    return false;
  }
  resume_from_command_line = false;
  // Another copy of the game may have taken it up since the list was read.
  int lock = current_lock;
  if (path != current_path) {
    lock = Platform_Lock_File(Shelf_Lock_Path(path));
    if (lock < 0) {
      Post_Notice("the saved game " + path + " is being played in another window");
      Read_Unfinished(1);
      return false;
    }
  }
  SavedGame game;
  std::string error;
  if (!Read_Saved_Game(path, &game, &error)) {
    if (lock != current_lock) Platform_Unlock_File(lock);
    // The shelf sets the file aside and says where it is kept.
    Read_Unfinished(SHELF_KEEP);
    return false;
  }
  if (path != current_path) {
    Platform_Unlock_File(current_lock);
    current_lock = lock;
    current_path = path;
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
  game_kept = true;
  return true;
}

void Request_Resume(const std::string& path, bool from_command_line) {
  resume_requested = true;
  resume_path = path;
  resume_from_command_line = from_command_line;
}

bool Take_Resume_Request(std::string* path) {
  const bool requested = resume_requested;
  resume_requested = false;
  *path = resume_path;
  return requested;
}

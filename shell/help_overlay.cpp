#include "shell/help_overlay.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/bobs.h"
#include "common/shell_state.h"
#include "graphics/display.h"
#include "screens/front/help.h"
#include "shell/hands.h"
#include "shell/saved_games.h"
#include "shell/settings_store.h"

namespace {

struct Overlay {
  bool open = false;
  int32_t page = HELP_HOW_TO_PLAY;
  int pointer_x = 0, pointer_y = 0;
  bool escape_held = false;     // Escape as last seen
  bool escape_pressed = false;  // pressed while open: its release closes, so the game never sees it
  bool left_held = false, right_held = false;
  int delete_armed = -1;                        // the games page's row whose delete button asks to be sure
  std::vector<uint16_t> primary, back, dimmed;  // the game's two pages, and the picture under the overlay
};

Overlay overlay;

void Save_Pixels(const Surface* s, std::vector<uint16_t>* out) {
  out->resize(static_cast<size_t>(s->width) * s->height);
  for (int y = 0; y < s->height; ++y)
    std::memcpy(&(*out)[static_cast<size_t>(y) * s->width],
                reinterpret_cast<const uint8_t*>(s->pixels) + y * s->pitch,
                static_cast<size_t>(s->width) * sizeof(uint16_t));
}

void Put_Pixels(const std::vector<uint16_t>& pixels, Surface* s) {
  if (pixels.size() != static_cast<size_t>(s->width) * s->height) return;
  for (int y = 0; y < s->height; ++y)
    std::memcpy(reinterpret_cast<uint8_t*>(s->pixels) + y * s->pitch,
                &pixels[static_cast<size_t>(y) * s->width], static_cast<size_t>(s->width) * sizeof(uint16_t));
  Touch_Surface(s);
}

// The picture on screen at half brightness, so the page stands out and the game still shows around it.
std::vector<uint16_t> Dimmed(const std::vector<uint16_t>& pixels) {
  std::vector<uint16_t> out(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) {
    const uint16_t p = pixels[i];
    const uint16_t d = static_cast<uint16_t>((p >> 1) & 0x7BEF);
    out[i] = d == 0 && p != 0 ? 0x0821 : d;  // never the transparent colour
  }
  return out;
}

void Open_Help() {
  if (!display.primary_surface || !display.back_surface) return;
  overlay.open = true;
  overlay.pointer_x = mouse_x;
  overlay.pointer_y = mouse_y;
  overlay.escape_held = Person_Key_Held(VK_ESCAPE);
  overlay.escape_pressed = false;
  overlay.delete_armed = -1;
  overlay.left_held = Person_Key_Held(VK_LEFT);
  overlay.right_held = Person_Key_Held(VK_RIGHT);
  Save_Pixels(display.primary_surface, &overlay.primary);
  Save_Pixels(display.back_surface, &overlay.back);
  overlay.dimmed = Dimmed(overlay.primary);
  Sync_Run_Settings();
}

// A click on a setting: the next value, or the one before. While all the comforts are on, a click on
// one of them turns that one off and leaves the other five on.
void Click_Setting(SettingId id, bool up) {
  if (id >= SETTING_FIRST_COMFORT && id <= SETTING_LAST_COMFORT && Active_Setting(SETTING_COMFORTS)) {
    Change_Setting(SETTING_COMFORTS, 0);
    for (int c = SETTING_FIRST_COMFORT; c <= SETTING_LAST_COMFORT; ++c)
      Change_Setting(static_cast<SettingId>(c), c != id);
  } else {
    Change_Setting(id, Next_Setting_Value(id, Active_Setting(id), up));
  }
  Save_Settings();
}

// When a game was saved, as the games page says it: the time today, else the day and the time.
std::string When(int64_t saved_at) {
  const std::string stamp = Platform_Local_Time_Text(saved_at),
                    today = Platform_Local_Time_Text(Platform_Now());
  // Both read "YYYY-MM-DD HH:MM".
  if (stamp.size() < 16 || today.size() < 16) return stamp;
  if (stamp.compare(0, 10, today, 0, 10) == 0) return "today " + stamp.substr(11, 5);
  return stamp.substr(0, 10) + " " + stamp.substr(11, 5);
}

// The pages' extras as they stand: the unfinished games can be continued or deleted from the menu
// only (in play, the game on the board is the one that would be saved).
HelpExtras Extras() {
  HelpExtras e;
  e.status = Settings_Status_Lines();
  e.scale_used = Scale_Used_Text();
  if (Platform_Pad_Count() > 0) e.pad_lines = Platform_Pad_Help_Lines();
  for (const ShelfGame& g : Unfinished_Games()) {
    // Blue (player 2) moves first in each turn, and is counted first.
    const std::string mover = g.current_player == 1 ? "red" : "blue";
    const std::string blue = std::to_string(g.treasures[1]), red = std::to_string(g.treasures[0]);
    static const char* const computer[] = {"", " The computer plays red.", " The computer plays blue.",
                                           " The computer plays both."};
    HelpGame row;
    row.when = When(g.saved_at);
    row.detail = "turn " + std::to_string(g.round) + ", " + mover + " to move, " + blue + ":" + red;
    row.about = "Turn " + std::to_string(g.round) + ", " + mover + " to move; treasures: blue " + blue +
                ", red " + red + "." + computer[std::clamp(g.computer_player, 0, 3)];
    e.games.push_back(row);
  }
  e.games_open = game_state == STATE_MAIN_MENU;
  e.delete_armed = overlay.delete_armed;
  return e;
}

void Take_Message(const PlatformMessage& m) {
  const bool pointer = m.message == MSG_MOUSEMOVE || m.message == MSG_LBUTTONDOWN ||
                       m.message == MSG_LBUTTONUP || m.message == MSG_RBUTTONDOWN ||
                       m.message == MSG_RBUTTONUP;
  if (!pointer) return;
  overlay.pointer_x = static_cast<int>(m.lparam & 0xFFFFu);
  overlay.pointer_y = static_cast<int>((m.lparam >> 16) & 0xFFFFu);
  if (m.message != MSG_LBUTTONDOWN && m.message != MSG_RBUTTONDOWN) return;
  const HelpHit hit = Help_Hit(overlay.page, overlay.pointer_x, overlay.pointer_y, Extras());
  if (hit.page >= 0) overlay.page = hit.page;
  const std::vector<ShelfGame>& games = Unfinished_Games();
  const bool left = m.message == MSG_LBUTTONDOWN;
  if (left && hit.continue_game >= 0 && hit.continue_game < static_cast<int>(games.size())) {
    const std::string path = games[static_cast<size_t>(hit.continue_game)].path;
    Close_Help();
    Request_Resume(path);
    return;
  }
  // A delete asks first: its button says so, and a second click on it deletes.
  if (left && hit.delete_game >= 0 && hit.delete_game < static_cast<int>(games.size())) {
    if (overlay.delete_armed == hit.delete_game) {
      overlay.delete_armed = -1;
      Forget_Saved_Game(games[static_cast<size_t>(hit.delete_game)].path);
    } else {
      overlay.delete_armed = hit.delete_game;
    }
    return;
  }
  overlay.delete_armed = -1;
  if (hit.setting >= 0) Click_Setting(static_cast<SettingId>(hit.setting), left);
}

// Left and Right turn the pages, on their press.
void Page_Keys() {
  const bool left = Person_Key_Held(VK_LEFT), right = Person_Key_Held(VK_RIGHT);
  if (left && !overlay.left_held) overlay.page = (overlay.page + HELP_PAGE_COUNT - 1) % HELP_PAGE_COUNT;
  if (right && !overlay.right_held) overlay.page = (overlay.page + 1) % HELP_PAGE_COUNT;
  overlay.left_held = left;
  overlay.right_held = right;
}

}  // namespace

bool Help_Is_Open() { return overlay.open; }

void Help_Before_Pass() {
  if (Take_Help_Key()) {
    if (overlay.open)
      Close_Help();
    else
      Open_Help();
  }
}

void Help_Pass(const PlatformMessage* msg) {
  if (!overlay.open) return;
  if (msg) Take_Message(*msg);
  Page_Keys();
  const bool escape = Person_Key_Held(VK_ESCAPE);
  if (escape && !overlay.escape_held) overlay.escape_pressed = true;
  overlay.escape_held = escape;
  if (!escape && overlay.escape_pressed) {
    Close_Help();
    return;
  }

  Put_Pixels(overlay.dimmed, display.back_surface);
  Draw_Help(overlay.page, overlay.pointer_x, overlay.pointer_y, Extras());
  Wait_For_Vsync();
  Flip_Display();
}

void Close_Help() {
  if (!overlay.open) return;
  overlay.open = false;
  Put_Pixels(overlay.primary, display.primary_surface);
  Put_Pixels(overlay.back, display.back_surface);
  // The pointer moved over the overlay: the game's next frame draws it where it is now, as a move
  // of the pointer would (in the computer's turn its hand takes the pointer back from there).
  mouse_x = overlay.pointer_x;
  mouse_y = overlay.pointer_y;
}

#include "screens/front/help.h"

#include <algorithm>
#include <string>

#include "common/bobs.h"
#include "common/panel_text.h"
#include "game/content_codes.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace {

constexpr uint32_t INK = PANEL_INK, HEADING = PANEL_HEADING, QUIET = PANEL_QUIET;
constexpr uint32_t ON_PLATE = Text_Rgb(255, 232, 160);

// The page and its parts, in screen pixels.
constexpr int PANEL_X = 20, PANEL_Y = 20;
constexpr int TAB_Y = 38, TAB_W = 150, TAB_H = 32;
constexpr int TAB_X[HELP_PAGE_COUNT] = {40, 196, 352};
constexpr int LINE = 16;

// ---- Page one: how to play ----

struct Picture {
  BOB* bob = nullptr;
  int32_t frame = 0;
  int w = 0, h = 0;  // 0: the picture's own size
};

struct RuleRow {
  Picture under;  // drawn first where it has a BOB: the ground the picture stands on
  Picture picture;
  const char* title;
  const char* first;  // after the title
  const char* second;
};

constexpr int RULES_Y = 82, RULE_PITCH = 38, PICTURE_X = 42, WORDS_X = 84;

const RuleRow rule_rows[] = {
    {{},
     {&BOB_player2, 3, 0, 0},
     "The goal. ",
     "Gather your five treasures, then step onto a home mark.",
     "Blue (player 2) starts top left and moves first; red, bottom right."},
    {{},
     {&BOB_artifacts, 3, 0, 0},
     "Treasures ",
     "lie on locked blocks, marked in your colour in the overview.",
     "Step onto the middle square (3,3) of such a block to take yours."},
    {{&BOB_floor, 0, 0, 0},
     {&BOB_artifacts2, ITEM_HOME_MARK, 0, 0},
     "Home marks ",
     "lie beside both start squares: with five",
     "treasures, stepping onto either one wins the game."},
    {{&BOB_floor, 0, 0, 0},
     {&BOB_doors, 7, 0, 0},
     "A turn: ",
     "walk as far as you like with the arrow keys.",
     "Walking into a door opens it; one more step goes through."},
    {{&BOB_floor, 0, 0, 0},
     {&BOB_artifacts2, ITEM_KEY, 0, 0},
     "Keys: ",
     "walk onto one to pick it up (five at most). The first",
     "door of a locked block opens only with a key, which it uses up."},
    {{&BOB_floor, 0, 0, 0},
     {&BOB_artifacts2, ITEM_TOKEN, 0, 0},
     "Actions ",
     "pay for shifts and turns. Each turn brings one if you",
     "have none; an action token gives one more (five at most)."},
    {{},
     {&BOB_game_buttons, 2, 0, 0},
     "Shifting: ",
     "click an arrow beside the board to slide its row or column",
     "a block (an action); the block pushed off comes in at the far end."},
    {{&BOB_block_back, 2, 0, 0},
     {&BOB_pasigas, 0, 0, 0},
     "Turning: ",
     "right click a block in the overview to turn it (an",
     "action); home blocks never turn. A left click shows a block."},
    {{},
     {&BOB_end_turn, 0, 48, 24},
     "Ending a turn: ",
     "press Return or click END TURN.",
     "Escape goes back to the menu; the game is kept to continue later."},
};
// Below the rules: the keys that work on every screen.
constexpr const char* KEYS_LINE =
    "F11: full screen    M: sound on or off    F12: screenshot    F1: this page";
constexpr int KEYS_Y = 428;

// ---- Page two: the settings ----

struct SettingRow {
  SettingId id;
  const char* label;
  int x, y;
};

constexpr int LEFT_X = 44, RIGHT_X = 334, PLATE_DX = 166, PLATE_W = 100, PLATE_H = 22, ROW_PITCH = 22;
// Row n of a column (a heading or a setting) stands at this height.
constexpr int Row_Y(int n) { return 82 + ROW_PITCH * n; }

const SettingRow setting_rows[] = {
    {SETTING_COMFORTS, "All comforts", LEFT_X, Row_Y(1)},
    {SETTING_STEP_DELAY, "Step delay", LEFT_X, Row_Y(2)},
    {SETTING_BOARD_MARKS, "Board marks", LEFT_X, Row_Y(3)},
    {SETTING_REACHABLE_SQUARES, "Reachable squares", LEFT_X, Row_Y(4)},
    {SETTING_FEEDBACK, "Feedback, scores", LEFT_X, Row_Y(5)},
    {SETTING_ASK_BEFORE_LEAVING, "Ask before leaving", LEFT_X, Row_Y(6)},
    {SETTING_WASD, "W A S D walk", LEFT_X, Row_Y(7)},
    {SETTING_SHOW_MOVES, "Show moves", LEFT_X, Row_Y(8)},
    {SETTING_COMPUTER_SIDE, "Computer plays", LEFT_X, Row_Y(10)},
    {SETTING_COMPUTER_LEVEL, "Its level", LEFT_X, Row_Y(11)},
    {SETTING_FULLSCREEN, "Full screen", RIGHT_X, Row_Y(1)},
    {SETTING_SCALE, "Window scale", RIGHT_X, Row_Y(2)},
    {SETTING_INTEGER_SCALING, "Integer scaling", RIGHT_X, Row_Y(3)},
    {SETTING_SMOOTH, "Smoothing", RIGHT_X, Row_Y(4)},
    {SETTING_SOUND, "Sound", RIGHT_X, Row_Y(7)},
    {SETTING_EFFECTS_VOLUME, "Effects volume", RIGHT_X, Row_Y(8)},
    {SETTING_MUSIC_VOLUME, "Music volume", RIGHT_X, Row_Y(9)},
    {SETTING_PAUSE_UNFOCUSED, "Pause when away", RIGHT_X, Row_Y(10)},
};

struct Heading {
  const char* text;
  int x, y;
};
const Heading setting_headings[] = {{"MODERN COMFORTS", LEFT_X, Row_Y(0)},
                                    {"COMPUTER OPPONENT", LEFT_X, Row_Y(9)},
                                    {"DISPLAY", RIGHT_X, Row_Y(0)},
                                    {"SOUND", RIGHT_X, Row_Y(6)}};

constexpr int ABOUT_Y = 352, ABOUT_W = 552, ABOUT_LINES = 3, STATUS_Y = 406, STATUS_LINES = 2;

// ---- Page three: the unfinished games ----

constexpr int GAME_WHEN_X = LEFT_X, GAME_DETAIL_X = 144, CONTINUE_X = 398, DELETE_X = 500;
constexpr int GAMES_SHOWN = 10;

void Text(const std::string& text, int x, int y, uint32_t color) {
  Draw_Text_RGB(text.c_str(), x, y, color, display.back_surface);
}

// Wrap_Text's lines drawn from (x, y) down; returns the y below them.
int Wrapped_Text(const std::string& text, int x, int y, int max_w, uint32_t color, int max_lines = 3) {
  for (const std::string& line : Wrap_Text(text, max_w, max_lines)) {
    Text(line, x, y, color);
    y += LINE;
  }
  return y;
}

bool Inside(int x, int y, int left, int top, int w, int h) {
  return x >= left && x < left + w && y >= top && y < top + h;
}

// The value as the page shows it.
std::string Shown_Value(SettingId id, int32_t v) {
  static const char* const sides[] = {"OFF", "PLAYER 1", "PLAYER 2", "BOTH"};
  static const char* const levels[] = {"EASY", "NORMAL", "HARD"};
  switch (id) {
    case SETTING_COMPUTER_SIDE:
      return v >= 0 && v <= 3 ? sides[v] : "?";
    case SETTING_COMPUTER_LEVEL:
      return v >= 0 && v <= 2 ? levels[v] : "?";
    case SETTING_SCALE:
      return std::to_string(v) + " x";
    default:
      break;
  }
  if (setting_info[id].kind == SETTING_NUMBER) return std::to_string(v);
  return v ? "ON" : "OFF";
}

int32_t Value_Shown(SettingId id) {
  if (id >= SETTING_FIRST_COMFORT && id <= SETTING_LAST_COMFORT) return Comfort_On(id) ? 1 : 0;
  return Active_Setting(id);
}

void Draw_Rules() {
  for (size_t i = 0; i < sizeof rule_rows / sizeof rule_rows[0]; ++i) {
    const RuleRow& r = rule_rows[i];
    const int y = RULES_Y + RULE_PITCH * static_cast<int>(i);
    for (const Picture& p : {r.under, r.picture}) {
      if (!p.bob) continue;
      const int w = p.w > 0 ? p.w : p.bob->width, h = p.h > 0 ? p.h : p.bob->height;
      Draw_BOB_Copy(*p.bob, PICTURE_X + (32 - w) / 2, y + (32 - h) / 2, p.frame, p.w, p.h);
    }
    Text(r.title, WORDS_X, y, HEADING);
    Text(r.first, WORDS_X + Text_Width(r.title), y, INK);
    Text(r.second, WORDS_X, y + LINE, INK);
  }
  Text(KEYS_LINE, PICTURE_X, KEYS_Y, QUIET);
}

// The value and the plate it is written on, the plate lit under the pointer.
void Plate(const std::string& text, int x, int y, bool lit) {
  Draw_BOB_Copy(BOB_help_plate, x, y - 2, lit ? 1 : 0);
  Text(text, x + (PLATE_W - Text_Width(text.c_str())) / 2, y + 1, ON_PLATE);
}

bool Over_Plate(int px, int py, int x, int y) { return Inside(px, py, x, y - 2, PLATE_W, PLATE_H); }

// The faults of the settings file, one a line, as many as the lines allow.
void Draw_Faults(const std::vector<std::string>& faults, int y, int lines) {
  for (size_t i = 0; i < faults.size() && lines > 0; ++i) {
    const bool last_room = lines == 1 && i + 1 < faults.size();
    const std::string text = last_room ? "... and " + std::to_string(faults.size() - i) + " more" : faults[i];
    const int below = Wrapped_Text(text, LEFT_X, y, ABOUT_W, PANEL_HEADING, lines);
    lines -= (below - y) / LINE;
    y = below;
  }
}

void Draw_Settings(int pointer_x, int pointer_y, const HelpExtras& extras) {
  for (const Heading& h : setting_headings) Text(h.text, h.x, h.y, HEADING);
  int32_t under = -1;
  for (const SettingRow& row : setting_rows) {
    const bool over = Over_Plate(pointer_x, pointer_y, row.x + PLATE_DX, row.y) ||
                      Inside(pointer_x, pointer_y, row.x, row.y - 2, PLATE_DX, PLATE_H);
    if (over) under = row.id;
    Text(row.label, row.x, row.y + 1, INK);
    std::string value = Shown_Value(row.id, Value_Shown(row.id));
    if (row.id == SETTING_SCALE && !extras.scale_used.empty()) value = extras.scale_used;
    Plate(value, row.x + PLATE_DX, row.y, over);
  }
  const std::vector<std::string> faults(extras.status.begin() + (extras.status.empty() ? 0 : 1),
                                        extras.status.end());
  if (under >= 0) {
    const int below = Wrapped_Text(setting_info[under].comment, LEFT_X, ABOUT_Y, ABOUT_W, INK);
    if (under == SETTING_COMPUTER_SIDE)
      Text("Takes effect with the next game; the game in play keeps its opponent.", LEFT_X, below, QUIET);
    else if (under == SETTING_COMPUTER_LEVEL)
      Text("Takes effect from the computer's next turn, in the game in play too.", LEFT_X, below, QUIET);
    if (under == SETTING_SCALE && !extras.scale_used.empty())
      Text("The screen has room for " + extras.scale_used + ", which the window uses.", LEFT_X, below, QUIET);
  } else if (!faults.empty()) {
    Draw_Faults(faults, ABOUT_Y, ABOUT_LINES);
  } else if (!extras.pad_lines.empty()) {
    // The gamepad's controls in two columns.
    const size_t half = (extras.pad_lines.size() + 1) / 2;
    for (size_t i = 0; i < extras.pad_lines.size(); ++i)
      Text(extras.pad_lines[i], i < half ? LEFT_X : RIGHT_X, ABOUT_Y + LINE * static_cast<int>(i % half),
           QUIET);
  } else {
    Wrapped_Text(
        "Point at a setting to read what it does. A left click gives it the next value, a right click "
        "the one before.",
        LEFT_X, ABOUT_Y, ABOUT_W, QUIET);
  }
  if (!extras.status.empty())
    Wrapped_Text(extras.status.front(), LEFT_X, STATUS_Y, ABOUT_W, QUIET, STATUS_LINES);
}

int Game_Row_Y(int row) { return Row_Y(1 + row); }

void Draw_Games(int pointer_x, int pointer_y, const HelpExtras& extras) {
  Text("UNFINISHED GAMES", LEFT_X, Row_Y(0), HEADING);
  if (extras.games.empty()) Text("No game is unfinished.", LEFT_X, Game_Row_Y(0) + 1, INK);
  std::string about = extras.games_open
                          ? "Continue a game where it was left, or delete it for good. The last ten "
                            "unfinished games are kept: the oldest goes when an eleventh begins."
                          : "The last ten unfinished games are kept. Continue them from the menu.";
  const int shown = std::min(GAMES_SHOWN, static_cast<int>(extras.games.size()));
  for (int i = 0; i < shown; ++i) {
    const HelpGame& g = extras.games[static_cast<size_t>(i)];
    const int y = Game_Row_Y(i);
    Text(g.when, GAME_WHEN_X, y + 1, INK);
    Text(g.detail, GAME_DETAIL_X, y + 1, INK);
    if (!extras.games_open) continue;
    const bool over_continue = Over_Plate(pointer_x, pointer_y, CONTINUE_X, y);
    const bool over_delete = Over_Plate(pointer_x, pointer_y, DELETE_X, y);
    Plate("CONTINUE", CONTINUE_X, y, over_continue);
    Plate(extras.delete_armed == i ? "SURE?" : "DELETE", DELETE_X, y, over_delete);
    if (over_continue || over_delete ||
        Inside(pointer_x, pointer_y, GAME_WHEN_X, y - 2, CONTINUE_X - GAME_WHEN_X, PLATE_H))
      about = g.about;
    if (over_continue) about = "Continue this game where it was left. " + g.about;
    if (over_delete)
      about = extras.delete_armed == i ? "Click again to delete this game for good. " + g.about
                                       : "Delete this game for good (a second click makes sure). " + g.about;
  }
  Wrapped_Text(about, LEFT_X, ABOUT_Y, ABOUT_W, QUIET);
}

bool f1_was_held = false, f1_pressed = false;

}  // namespace

HelpHit Help_Hit(int32_t page, int x, int y, const HelpExtras& extras) {
  HelpHit hit;
  for (int p = 0; p < HELP_PAGE_COUNT; ++p)
    if (Inside(x, y, TAB_X[p], TAB_Y, TAB_W, TAB_H)) hit.page = p;
  if (page == HELP_SETTINGS)
    for (const SettingRow& row : setting_rows)
      if (Inside(x, y, row.x, row.y - 2, PLATE_DX + PLATE_W, PLATE_H)) hit.setting = row.id;
  if (page == HELP_GAMES && extras.games_open)
    for (int i = 0; i < std::min(GAMES_SHOWN, static_cast<int>(extras.games.size())); ++i) {
      if (Over_Plate(x, y, CONTINUE_X, Game_Row_Y(i))) hit.continue_game = i;
      if (Over_Plate(x, y, DELETE_X, Game_Row_Y(i))) hit.delete_game = i;
    }
  return hit;
}

void Draw_Help(int32_t page, int pointer_x, int pointer_y, const HelpExtras& extras) {
  Draw_BOB_Copy(BOB_help_panel, PANEL_X, PANEL_Y, 0);
  for (int p = 0; p < HELP_PAGE_COUNT; ++p)
    Draw_BOB_Copy(BOB_help_tabs, TAB_X[p], TAB_Y, 2 * p + (p == page ? 0 : 1));
  const char* close = "Esc: close";
  Text(close, PANEL_X + 576 - Text_Width(close), TAB_Y + 8, QUIET);
  if (page == HELP_SETTINGS)
    Draw_Settings(pointer_x, pointer_y, extras);
  else if (page == HELP_GAMES)
    Draw_Games(pointer_x, pointer_y, extras);
  else
    Draw_Rules();
  Draw_BOB_Copy(BOB_mouse, pointer_x, pointer_y, 0);
}

void Watch_Help_Key() {
  const bool held = Platform_Key_Held(VK_F1);
  if (held && !f1_was_held) f1_pressed = true;
  f1_was_held = held;
}

bool Take_Help_Key() {
  Watch_Help_Key();
  const bool pressed = f1_pressed;
  f1_pressed = false;
  return pressed;
}

#include "screens/play/comforts.h"

#include <cstdio>
#include <string>

#include "common/bobs.h"
#include "common/panel_text.h"
#include "common/shell_state.h"
#include "game/reach.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "platform/platform.h"
#include "screens/play/layout.h"
#include "screens/play/playing.h"
#include "settings/settings.h"

namespace {

constexpr uint32_t LIGHT = Text_Rgb(255, 236, 180);
constexpr uint32_t SHADOW = Text_Rgb(8, 6, 4);

// Text with a dark shadow, so it reads on the rock.
void Shadowed_Text(const std::string& text, int x, int y, uint32_t color) {
  Draw_Text_RGB(text.c_str(), x + 1, y + 1, SHADOW, display.back_surface);
  Draw_Text_RGB(text.c_str(), x, y, color, display.back_surface);
}

void Centred_Text(const std::string& text, int middle, int y, uint32_t color) {
  Draw_Text_RGB(text.c_str(), middle - Text_Width(text.c_str()) / 2, y, color, display.back_surface);
}

// ---- Ask before leaving ----

struct Question {
  LeaveKind kind = LEAVE_NONE;
  bool return_held = false, return_pressed = false;
  bool escape_held = false, escape_pressed = false;
};
Question question;

void Close_Question() {
  if (question.kind == LEAVE_QUIT) Platform_Allow_Close();
  question = Question{};
}

// ---- Feedback ----

constexpr uint32_t FEEDBACK_MS = 2500;
constexpr int FEEDBACK_X = 14, FEEDBACK_Y = 22;
std::string feedback;
uint32_t feedback_at = 0;


// ---- Marks ----

ReachRegion reach;
bool reach_ready = false;
int32_t shown_number = -1, shown_bx = -1, shown_by = -1;

}  // namespace

bool Leave_Question_Open() { return question.kind != LEAVE_NONE; }

void Ask_Before_Leaving(LeaveKind kind) {
  if (kind == LEAVE_QUIT && question.kind == LEAVE_QUIT) {
    question = Question{};
    Request_Quit();
    return;
  }
  question = Question{};
  question.kind = kind;
  // A key already down when the question comes up is not its answer: only a press from now on counts.
  question.return_held = Platform_Key_Held(VK_RETURN);
  question.escape_held = Platform_Key_Held(VK_ESCAPE);
}

void Leave_Question_Input() {
  const bool ret = Platform_Key_Held(VK_RETURN), esc = Platform_Key_Held(VK_ESCAPE);
  if (ret && !question.return_held) question.return_pressed = true;
  if (esc && !question.escape_held) question.escape_pressed = true;
  question.return_held = ret;
  question.escape_held = esc;
  if (!ret && question.return_pressed) {
    const LeaveKind kind = question.kind;
    question = Question{};
    if (kind == LEAVE_QUIT)
      Request_Quit();
    else
      game_state = STATE_MAIN_MENU;
  } else if (!esc && question.escape_pressed) {
    Close_Question();
  }
}

void Draw_Leave_Question() {
  if (question.kind == LEAVE_NONE) return;
  // A framed parchment box of the classic panel tiles, in the middle of the screen, in dark ink.
  constexpr int X = 160, Y = 176, COLS = 9, ROWS = 4;
  Draw_Panel(X, Y, ROWS, COLS);
  const std::string title = question.kind == LEAVE_QUIT ? "Quit the game?" : "Leave this game for the menu?";
  // What leaving means: the game is kept to continue later, unless it cannot be saved.
  const std::string lost = game_kept ? "The game is kept to go on later." : "The game cannot be kept!";
  const std::string keys = "Return: leave      Escape: stay";
  const int middle = X + 32 * (COLS + 1) / 2;
  Centred_Text(title, middle, Y + 28, PANEL_HEADING);
  Centred_Text(lost, middle, Y + 52, PANEL_INK);
  Centred_Text(keys, middle, Y + 84, PANEL_INK);
}

void Reset_Comforts() {
  question = Question{};
  feedback.clear();
  Reset_Show_Moves();
  reach_ready = false;
  shown_number = -1;
}

void Note_Feedback(const char* text) {
  if (!Comfort_On(SETTING_FEEDBACK)) return;
  feedback = text;
  feedback_at = Platform_Get_Ticks();
}

const char* Feedback_Line() {
  return Platform_Get_Ticks() - feedback_at < FEEDBACK_MS ? feedback.c_str() : "";
}

MoverCounts Mover_Counts() {
  MoverCounts c;
  const PlayerState* p = Player_To_Move();
  if (!p) return c;
  c.player = current_player;
  c.treasures = p->treasures;
  c.keys = p->keys;
  c.actions = p->actions;
  return c;
}

void Note_Gains(const MoverCounts& before) {
  const MoverCounts now = Mover_Counts();
  if (now.player != before.player) return;
  char text[64];
  if (now.treasures > before.treasures) {
    std::snprintf(text, sizeof text, "Treasure %d of %d", static_cast<int>(now.treasures), MAX_TREASURES);
  } else if (now.keys > before.keys) {
    std::snprintf(text, sizeof text, "A key: you hold %d", static_cast<int>(now.keys));
  } else if (now.actions > before.actions) {
    std::snprintf(text, sizeof text, "An action token: %d action%s", static_cast<int>(now.actions),
                  now.actions == 1 ? "" : "s");
  } else {
    return;
  }
  Note_Feedback(text);
}

void Note_Step(const PlayerState& before, const PlayerState& after, int32_t direction, const Board& b) {
  if (after.keys < before.keys) {
    Note_Feedback("A key opened the locked door");
    return;
  }
  if (after.block_x != before.block_x || after.block_y != before.block_y ||
      after.square_x != before.square_x || after.square_y != before.square_y || before.block_x < 0 ||
      before.block_x > 7 || before.block_y < 0 || before.block_y > 7)
    return;
  const int dx = direction == DIR_RIGHT ? 1 : direction == DIR_LEFT ? -1 : 0;
  const int dy = direction == DIR_DOWN ? 1 : direction == DIR_UP ? -1 : 0;
  const int tx = before.square_x + dx, ty = before.square_y + dy;
  if (tx < 0 || tx > 7 || ty < 0 || ty > 7) return;
  const MazeBlock& block = b.blocks[before.block_x][before.block_y];
  const int32_t c = block.squares[tx][ty].content;
  if (block.locked && (c == DOOR_NS_CLOSED || c == DOOR_EW_CLOSED)) Note_Feedback("Locked: you need a key");
}

void Note_Refused_Shift() { Note_Feedback("No actions left"); }

void Note_Refused_Turn(const MazeBlock& block) {
  const PlayerState* p = Player_To_Move();
  if (p && p->actions <= 0)
    Note_Feedback("No actions left");
  else if (block.home)
    Note_Feedback("Home blocks never turn");
  else
    Note_Feedback("The crossing looks the same turned");
}

void Draw_Feedback_And_Scores() {
  if (!Comfort_On(SETTING_FEEDBACK)) return;
  if (*Feedback_Line()) Shadowed_Text(feedback, FEEDBACK_X, FEEDBACK_Y, LIGHT);
  // Both players' treasures, the player to move first in the order they move, then the turn: the
  // round of turns, blue moving first in each.
  char text[32];
  const PlayerState* players[2] = {&player2, &player1};
  for (int i = 0; i < 2; ++i) {
    const int x = 330 + 92 * i;
    const bool to_move = (i == 0) == (current_player == 0);
    Draw_BOB_Copy(BOB_artifacts, x, 20, i == 0 ? 3 : 5);
    std::snprintf(text, sizeof text, "%d / %d", static_cast<int>(players[i]->treasures), MAX_TREASURES);
    Shadowed_Text(text, x + 34, 28, to_move ? LIGHT : Text_Rgb(170, 160, 140));
  }
  std::snprintf(text, sizeof text, "TURN %d", static_cast<int>(player2.turns) + 1);
  Shadowed_Text(text, 630 - Text_Width(text), 28, LIGHT);
}

void Prepare_Board_Marks(const Board& b) {
  const PlayerState* p = Player_To_Move();
  reach_ready = Comfort_On(SETTING_REACHABLE_SQUARES) && p != nullptr;
  if (reach_ready) Compute_Region(b, *p, reach);
  shown_number = -1;
}

bool Hover_Tint_Shown() { return !Comfort_On(SETTING_BOARD_MARKS); }

void Draw_Cell_Marks(const Board& b, int bx, int by, int x, int y, bool pointer_over) {
  if (reach_ready && reach.blocks[bx][by] != REACH_NONE) Draw_BOB_Copy(BOB_marks, x, y, MARK_REACH_CELL);
  if (!Comfort_On(SETTING_BOARD_MARKS)) return;
  // What lies on the block's squares (its flags can outlive what they stood for).
  const MazeBlock& block = b.blocks[bx][by];
  bool key = false, token = false;
  for (const auto& column : block.squares)
    for (const Square& sq : column) {
      key = key || sq.content == KEY;
      token = token || sq.content == TOKEN;
    }
  if (key) Draw_BOB_Copy(BOB_marks, x, y, MARK_KEY);
  if (token) Draw_BOB_Copy(BOB_marks, x, y, MARK_TOKEN);
  if (block.locked && Has_Door(block.type)) Draw_BOB_Copy(BOB_marks, x, y, MARK_LOCKED);
  if (block.number == current_block.number) Draw_BOB_Copy(BOB_marks, x, y, MARK_SHOWN);
  if (player2.block_x == bx && player2.block_y == by) Draw_BOB_Copy(BOB_marks, x, y, MARK_PAWN_P2);
  if (player1.block_x == bx && player1.block_y == by) Draw_BOB_Copy(BOB_marks, x, y, MARK_PAWN_P1);
  if (pointer_over) Draw_BOB_Copy(BOB_marks, x, y, current_player == 1 ? MARK_HOVER_P1 : MARK_HOVER_P2);
}

void Draw_Square_Reach(const MazeBlock& shown, int sx, int sy, int x, int y) {
  if (!reach_ready) return;
  if (shown.number != shown_number) {
    shown_number = shown.number;
    shown_bx = shown_by = -1;
    for (int bx = 0; bx < 8; ++bx)
      for (int by = 0; by < 8; ++by)
        if (board.blocks[bx][by].number == shown.number) shown_bx = bx, shown_by = by;
  }
  if (shown_bx >= 0 && (reach.squares[shown_bx][shown_by] & Region_Bit(sx, sy)) != 0)
    Draw_BOB_Copy(BOB_marks, x, y, MARK_REACH_SQUARE);
}

#include "shell/computer.h"

#include <cmath>
#include <vector>

#include "common/shell_state.h"
#include "game/model.h"
#include "game/reach.h"
#include "platform/platform.h"
#include "screens/play/layout.h"
#include "settings/settings.h"
#include "shell/assets.h"
#include "shell/hands.h"

namespace {

int32_t game_player = COMPUTER_NONE;  // who the computer plays in the game in progress
int32_t game_level = LEVEL_NORMAL;    // and at what level, from its next turn

// How the hand paces itself, in passes of the main loop (about 60 a second). Hurried, it skips the
// glides, the pauses and the least thinking time.
constexpr int FIRST_THINK_PASSES = 24;  // the least time a turn starts with, so the change is seen
constexpr int THINK_PASSES = 6;         // the least time before each later move
constexpr int GLIDE_PASSES = 18;        // the pointer's travel to a control
constexpr int PAUSE_PASSES = 20;        // the pause over a shift button or cell before the click
constexpr int END_PAUSE_PASSES = 8;     // the pause over END TURN before the click
constexpr int MAX_STUCK_STEPS = 3;      // frames of a walk that change nothing before it gives up
constexpr int HURRIED_SLICES = 3;       // hurried, the planner's slices a pass

enum Phase {
  PHASE_IDLE,
  PHASE_THINK,
  PHASE_WALK,         // an arrow key held, step after step, let go where the way turns or ends
  PHASE_GLIDE,        // the pointer travels to the control
  PHASE_PAUSE,        // and rests on it
  PHASE_PRESS,        // the button goes down
  PHASE_RELEASE,      // and up on the same pixel: the click fires
  PHASE_RETURN_DOWN,  // a hurried end of turn: Return down
  PHASE_RETURN_UP,    // and up: the turn passes
  PHASE_SETTLE,       // one pass for the game to take the last action
};

struct Hand {
  Phase phase = PHASE_IDLE;
  Planner planner;
  ComputerMove move;
  int32_t turn_player = -1;      // current_player of the turn the hand is playing
  int32_t turn_count = -1;       // that player's turns counter, which a new turn raises
  int32_t level = LEVEL_NORMAL;  // the level of this turn
  int moves = 0;
  int passes = 0;  // passes spent in the current phase
  int min_think = 0;
  bool hurried = false;
  int stuck = 0;
  int key = -1;  // the arrow key the hand holds, or -1
  int from_x = 0, from_y = 0, to_x = 0, to_y = 0;
  int pointer_x = 0, pointer_y = 0;
  uint32_t buttons = 0;
  PlayerState before;  // the mover before the last frame the hand held an arrow in
};

Hand hand;

PlayerState& Mover() { return current_player == 1 ? player1 : player2; }

int32_t Side_Of_Player_To_Move() { return current_player == 1 ? COMPUTER_PLAYER_1 : COMPUTER_PLAYER_2; }

void Post(uint32_t message) {
  PlatformMessage m;
  m.message = message;
  m.wparam = hand.buttons;
  m.lparam = static_cast<uint32_t>(hand.pointer_x) | (static_cast<uint32_t>(hand.pointer_y) << 16);
  m.source = SOURCE_COMPUTER;
  Platform_Post_Message(m);
}

void Hold(int key, bool held) { Platform_Set_Source_Key(SOURCE_COMPUTER, key, held); }

void Release_Keys() {
  for (int vk : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN}) Hold(vk, false);
  hand.key = -1;
}

uint64_t Turn_Seed() {
  const uint64_t s = static_cast<uint64_t>(start_seed < 0 ? 0 : start_seed);
  return s * 0x9E3779B97F4A7C15ull + static_cast<uint64_t>(hand.turn_count) * 2 +
         (current_player == 1 ? 1 : 0);
}

void Think(int least_passes) {
  hand.planner.Begin(Capture_Position(), static_cast<ComputerLevel>(hand.level), Turn_Seed());
  hand.phase = PHASE_THINK;
  hand.passes = 0;
  hand.min_think = hand.hurried ? 0 : least_passes;
}

// ---- Walking -------------------------------------------------------------------------------

// The direction of the next arrow step of the walk to the move's square, as the planner's own walks
// make it (keys picked up on the way before a locked door needs one), or -1 when the mover stands
// there or the square cannot be reached now.
int First_Step(const PlayerState& p, const ComputerMove& m) {
  std::vector<int32_t> steps;
  if (!Walk_Steps(board, p, current_player == 1, m.block_x, m.block_y, m.square_x, m.square_y, steps) ||
      steps.empty())
    return -1;
  return steps.front();
}

int Arrow_Key(int direction) {
  switch (direction) {
    case DIR_UP:
      return VK_UP;
    case DIR_RIGHT:
      return VK_RIGHT;
    case DIR_LEFT:
      return VK_LEFT;
    default:
      return VK_DOWN;
  }
}

bool Same_Place(const PlayerState& a, const PlayerState& b) {
  return a.block_x == b.block_x && a.block_y == b.block_y && a.square_x == b.square_x &&
         a.square_y == b.square_y;
}

// ---- Pointing ------------------------------------------------------------------------------

// Where the hand clicks for a move: the middle of its button or cell.
void Control_Of(const ComputerMove& m, int* x, int* y) {
  if (m.kind == MOVE_SHIFT) {
    for (const ShiftLine& line : shift_lines) {
      if (line.column != m.column || line.direction != m.direction) continue;
      *x = line.x0 + line.dx * m.line + SHIFT_BUTTON_SIZE / 2;
      *y = line.y0 + line.dy * m.line + SHIFT_BUTTON_SIZE / 2;
      return;
    }
  }
  if (m.kind == MOVE_ROTATE) {
    *x = OVERVIEW_X + CELL_SIZE * m.block_x + CELL_SIZE / 2;
    *y = OVERVIEW_Y + CELL_SIZE * m.block_y + CELL_SIZE / 2;
    return;
  }
  *x = END_TURN_X + END_TURN_W / 2;
  *y = END_TURN_Y + END_TURN_H / 2;
}

void Start_Move() {
  const ComputerMove& m = hand.move;
  ++hand.moves;
  hand.passes = 0;
  if (m.kind == MOVE_WALK) {
    hand.stuck = 0;
    hand.phase = PHASE_WALK;
    return;
  }
  if (m.kind == MOVE_END_TURN && hand.hurried) {
    hand.phase = PHASE_RETURN_DOWN;
    return;
  }
  hand.from_x = mouse_x;
  hand.from_y = mouse_y;
  Control_Of(m, &hand.to_x, &hand.to_y);
  hand.pointer_x = mouse_x;
  hand.pointer_y = mouse_y;
  hand.phase = PHASE_GLIDE;
}

void Next_Move_After_Action() {
  hand.phase = PHASE_SETTLE;
  hand.passes = 0;
}

// One pass of a walk: the arrow of the next step held down (the game steps every frame it sees one
// held), kept down while the way goes on in its direction, let go for a frame where it turns. With
// the step delay comfort, which slows a held arrow, every step is a press of its own.
void Walk() {
  const PlayerState& p = Mover();
  if (hand.key >= 0) {
    // A frame that moved nobody and opened nothing (the block, the keys and the doors as they were)
    // counts towards giving up.
    if (Same_Place(p, hand.before) && p.keys == hand.before.keys)
      ++hand.stuck;
    else
      hand.stuck = 0;
  }
  const int d = hand.stuck >= MAX_STUCK_STEPS ? -1 : First_Step(p, hand.move);
  const int key = d < 0 ? -1 : Arrow_Key(d);
  if (hand.key >= 0 && (key != hand.key || Comfort_On(SETTING_STEP_DELAY))) {
    Hold(hand.key, false);
    hand.key = -1;
    if (key < 0) Next_Move_After_Action();
    return;  // the next step's key goes down the next pass
  }
  if (key < 0) {
    Next_Move_After_Action();  // there, or the way is gone: ask the planner again
    return;
  }
  hand.key = key;
  Hold(key, true);
  hand.before = p;
}

void Glide() {
  const int total = hand.hurried ? 1 : GLIDE_PASSES;
  ++hand.passes;
  const double t = std::min(1.0, static_cast<double>(hand.passes) / total);
  const double e = t * t * (3.0 - 2.0 * t);  // eased in and out
  hand.pointer_x = hand.from_x + static_cast<int>(std::lround((hand.to_x - hand.from_x) * e));
  hand.pointer_y = hand.from_y + static_cast<int>(std::lround((hand.to_y - hand.from_y) * e));
  hand.buttons = 0;
  Post(MSG_MOUSEMOVE);
  if (hand.passes >= total) {
    hand.phase = PHASE_PAUSE;
    hand.passes = 0;
  }
}

void Pause() {
  const int least = hand.hurried ? 0 : (hand.move.kind == MOVE_END_TURN ? END_PAUSE_PASSES : PAUSE_PASSES);
  if (++hand.passes < least) return;
  hand.phase = PHASE_PRESS;
}

void Press() {
  const bool right = hand.move.kind == MOVE_ROTATE;
  hand.buttons = right ? MK_RBUTTON : MK_LBUTTON;
  Post(right ? MSG_RBUTTONDOWN : MSG_LBUTTONDOWN);
  hand.phase = PHASE_RELEASE;
}

void Release() {
  const bool right = hand.move.kind == MOVE_ROTATE;
  hand.buttons = 0;
  Post(right ? MSG_RBUTTONUP : MSG_LBUTTONUP);
  Next_Move_After_Action();
}

}  // namespace

int32_t Parse_Computer_Side(const std::string& text) {
  if (text == "1") return COMPUTER_PLAYER_1;
  if (text == "2") return COMPUTER_PLAYER_2;
  if (text == "both") return COMPUTER_BOTH;
  if (text == "off") return COMPUTER_NONE;
  return -1;
}

int32_t Parse_Computer_Level(const std::string& text) { return Level_Of_Name(text); }

const char* Computer_Side_Name(int32_t side) {
  switch (side) {
    case COMPUTER_PLAYER_1:
      return "1";
    case COMPUTER_PLAYER_2:
      return "2";
    case COMPUTER_BOTH:
      return "both";
    default:
      return "off";
  }
}

const char* Computer_Level_Name(int32_t l) {
  return l == LEVEL_EASY || l == LEVEL_HARD ? LEVEL_NAMES[l] : LEVEL_NAMES[LEVEL_NORMAL];
}

void Configure_Computer(int32_t side, int32_t level) {
  Settings s = Active_Settings();
  if (side >= COMPUTER_NONE && side <= COMPUTER_BOTH) s.value[SETTING_COMPUTER_SIDE] = side;
  if (level >= LEVEL_EASY && level <= LEVEL_HARD) s.value[SETTING_COMPUTER_LEVEL] = level;
  Set_Active_Settings(s);
  Computer_Level_Changed();
}

void Computer_Game_Started() {
  game_player = Active_Setting(SETTING_COMPUTER_SIDE);
  game_level = Active_Setting(SETTING_COMPUTER_LEVEL);
  Reset_Computer_Hand();
}

void Resume_Computer(int32_t side, int32_t level) {
  game_player = side >= COMPUTER_NONE && side <= COMPUTER_BOTH ? side : COMPUTER_NONE;
  game_level = level >= LEVEL_EASY && level <= LEVEL_HARD ? level : LEVEL_NORMAL;
  Reset_Computer_Hand();
}

void Computer_Level_Changed() { game_level = Active_Setting(SETTING_COMPUTER_LEVEL); }

int32_t Computer_Player() {
  if (game_state == STATE_PLAYING || game_state == STATE_RESULTS) return game_player;
  return Active_Setting(SETTING_COMPUTER_SIDE);
}

int32_t Computer_Game_Player() { return game_player; }

int32_t Computer_Level() {
  if (game_state == STATE_PLAYING || game_state == STATE_RESULTS) return game_level;
  return Active_Setting(SETTING_COMPUTER_LEVEL);
}

bool Computer_Moves_Now() {
  return game_state == STATE_PLAYING && (current_player == 0 || current_player == 1) &&
         (game_player & Side_Of_Player_To_Move()) != 0 && player1.winner == 0 && player2.winner == 0;
}

void Reset_Computer_Hand() {
  Release_Keys();
  hand.phase = PHASE_IDLE;
  hand.turn_player = -1;
  hand.turn_count = -1;
  hand.buttons = 0;
  hand.planner.New_Game();
}

void Computer_Rests() {
  if (!Computer_Moves_Now()) {
    if (hand.phase != PHASE_IDLE) Reset_Computer_Hand();
    return;
  }
  // Its turn waits under the help or the question: what it holds is let go, and a walk picks up
  // with a fresh press.
  if (hand.key >= 0) Release_Keys();
  if (hand.phase == PHASE_RETURN_UP) hand.phase = PHASE_RETURN_DOWN;
}

int64_t Computer_Mispredictions() { return hand.planner.Mispredictions(); }

void Computer_Before_Pass() {
  if (!Computer_Moves_Now()) {
    Computer_Rests();
    return;
  }
  // A new turn: the player to move, or its count of turns, changed since the hand last looked. The
  // turn is played at the level set when it begins.
  if (hand.turn_player != current_player || hand.turn_count != Mover().turns) {
    Release_Keys();
    hand.turn_player = current_player;
    hand.turn_count = Mover().turns;
    hand.level = game_level;
    hand.moves = 0;
    hand.hurried = false;
    Think(FIRST_THINK_PASSES);
  }
  if (Person_Key_Held(VK_SPACE)) hand.hurried = true;

  switch (hand.phase) {
    case PHASE_IDLE:
      Think(THINK_PASSES);
      break;
    case PHASE_THINK: {
      // Hurried, it thinks in larger slices too: three slices take at most about 15 ms of a pass
      // (measured: a slice of the hard level, 4.9 ms at most), so a frame is still in time.
      const bool ready = hand.planner.Work(PLANNER_UNITS_PER_FRAME * (hand.hurried ? HURRIED_SLICES : 1));
      ++hand.passes;
      if (!ready || hand.passes < hand.min_think) break;
      hand.move = hand.planner.Move();
      if (hand.moves >= MAX_PROGRAM_MOVES_PER_TURN) hand.move = ComputerMove{};  // end the turn
      Start_Move();
      if (hand.phase == PHASE_WALK) Walk();  // the first step goes at once
      break;
    }
    case PHASE_WALK:
      Walk();
      break;
    case PHASE_GLIDE:
      Glide();
      break;
    case PHASE_PAUSE:
      Pause();
      break;
    case PHASE_PRESS:
      Press();
      break;
    case PHASE_RELEASE:
      Release();
      break;
    case PHASE_RETURN_DOWN:
      Hold(VK_RETURN, true);
      hand.phase = PHASE_RETURN_UP;
      break;
    case PHASE_RETURN_UP:
      Hold(VK_RETURN, false);
      Next_Move_After_Action();
      break;
    case PHASE_SETTLE:
      // Every message the hand posted has been taken (the pointer stands where it was sent, no
      // button held), so the click has acted in the frame that took its release.
      if (mouse_buttons == 0 && (hand.move.kind == MOVE_WALK || hand.hurried ||
                                 (mouse_x == hand.pointer_x && mouse_y == hand.pointer_y)))
        Think(THINK_PASSES);
      break;
  }
}

// The playing state's input step: Escape, the key chain (cheat, Return, arrows), the end-of-turn
// button, and the click protocol every control of the playing screen follows.
#include "common/bobs.h"
#include "common/shell_state.h"
#include "graphics/clock_text.h"
#include "platform/platform.h"
#include "screens/play/comforts.h"
#include "screens/play/playing.h"
#include "settings/settings.h"
#include "sound/sound.h"

uint8_t return_latch = 0, left_key_latch = 0, right_key_latch = 0, up_key_latch = 0, down_key_latch = 0;
uint8_t left_press_latch = 0, right_press_latch = 0;
int32_t press_x = 0, press_y = 0;

// The step delay: a held arrow repeats only this long after its press (then at the pace of a step).
constexpr uint32_t STEP_DELAY_MS = 250;
static uint32_t arrow_pressed_at = 0;

void Reset_Play_State() {
  return_latch = left_key_latch = right_key_latch = up_key_latch = down_key_latch = 0;
  left_press_latch = right_press_latch = 0;
  press_x = press_y = 0;
  BOB_end_turn.current_frame = 0;
  arrow_pressed_at = 0;
  Reset_Comforts();
}

bool Pointer_Over(int left, int top, int width, int height) {
  return mouse_x > left && mouse_x < left + width && mouse_y > top && mouse_y < top + height;
}

ClickResult Click_Control(int left, int top, int width, int height, int32_t button, uint8_t& latch) {
  const bool over = Pointer_Over(left, top, width, height);
  if (over && mouse_buttons == button) {
    latch = 1;
    press_x = mouse_x;
    press_y = mouse_y;
    return CLICK_PRESSED;
  }
  if (over && mouse_x == press_x && mouse_y == press_y && mouse_buttons == 0 && latch == 1) {
    latch = 0;
    return CLICK_FIRED;
  }
  return CLICK_NONE;
}

// Every frame 'A' is held: both players get five of everything and fixed turn counts.
static void Apply_Cheat() {
  player1.treasures = 5;
  player1.turns = 105;
  player1.items = 20;
  player1.actions = 5;
  player1.keys = 5;
  player2.treasures = 5;
  player2.turns = 15;
  player2.items = 20;
  player2.actions = 5;
  player2.keys = 5;
}

// The sound of a step: onto the next square, a door opening (with a key spent on a lock, or not), a
// locked door with no key to open it, or a bump into anything else.
static SoundId Step_Sound(const PlayerState& before, const PlayerState& after, const Board& b,
                          int32_t direction) {
  if (before.block_x != after.block_x || before.block_y != after.block_y ||
      before.square_x != after.square_x || before.square_y != after.square_y)
    return SOUND_STEP;
  if (after.keys < before.keys) return SOUND_UNLOCK;
  const int dx = direction == DIR_RIGHT ? 1 : direction == DIR_LEFT ? -1 : 0;
  const int dy = direction == DIR_DOWN ? 1 : direction == DIR_UP ? -1 : 0;
  const int tx = after.square_x + dx, ty = after.square_y + dy;
  if (after.block_x < 0 || after.block_x > 7 || after.block_y < 0 || after.block_y > 7 || tx < 0 || tx > 7 ||
      ty < 0 || ty > 7)
    return SOUND_BUMP;
  const MazeBlock& block = b.blocks[after.block_x][after.block_y];
  const int32_t ahead = block.squares[tx][ty].content;
  const bool vertical = dy != 0;
  if (ahead == (vertical ? DOOR_NS_OPEN : DOOR_EW_OPEN))
    return SOUND_DOOR_OPEN;  // it was closed a moment ago
  if (ahead == (vertical ? DOOR_NS_CLOSED : DOOR_EW_CLOSED) && block.locked == 1) return SOUND_REFUSED;
  return SOUND_BUMP;
}

static void Move(Board& b, int32_t direction) {
  const PlayerState* mover = Player_To_Move();
  const PlayerState before = mover ? *mover : PlayerState{};
  current_block = Move_Current_Player(direction, current_block, b);
  if (mover) {
    Play_Sound(Step_Sound(before, *mover, b, direction));
    Note_Step(before, *mover, direction, b);
  }
  Wait_Clock(100);
}

// The turn passes, with its sound.
static void Pass_Turn(Board& b) {
  End_Turn(b);
  Play_Sound(SOUND_TURN_PASSES);
}

// An arrow key, or with the W A S D comfort its letter.
static bool Walk_Key_Held(int virtual_key) {
  if (Platform_Key_Held(virtual_key)) return true;
  if (!Comfort_On(SETTING_WASD)) return false;
  const int letter = virtual_key == VK_LEFT    ? VK_A
                     : virtual_key == VK_RIGHT ? VK_D
                     : virtual_key == VK_UP    ? VK_W
                                               : VK_S;
  return Platform_Key_Held(letter);
}

// One arrow key of the chain: moves on every held frame, clears its latch on the first frame up.
// True when this key consumed the frame, so the keys after it are not examined. With the step delay
// the press moves at once and the key held on moves again only past the delay.
static bool Arrow_Key(Board& b, int virtual_key, uint8_t& latch, int32_t direction) {
  if (Walk_Key_Held(virtual_key)) {
    if (Comfort_On(SETTING_STEP_DELAY)) {
      const uint32_t now = Platform_Get_Ticks();
      if (latch == 0) arrow_pressed_at = now;
      if (latch == 0 || now - arrow_pressed_at >= STEP_DELAY_MS) Move(b, direction);
      latch = 1;
      return true;
    }
    latch = 1;
    Move(b, direction);
    return true;
  }
  if (latch == 1) {
    latch = 0;
    return true;
  }
  return false;
}

static void Key_Chain(Board& b) {
  if (Platform_Key_Held(VK_A) && !Comfort_On(SETTING_WASD)) {
    Apply_Cheat();
    return;
  }
  if (Platform_Key_Held(VK_RETURN)) {
    return_latch = 1;
    return;
  }
  if (return_latch == 1) {
    Pass_Turn(b);
    return_latch = 0;
    return;
  }
  if (Arrow_Key(b, VK_LEFT, left_key_latch, DIR_LEFT)) return;
  if (Arrow_Key(b, VK_RIGHT, right_key_latch, DIR_RIGHT)) return;
  if (Arrow_Key(b, VK_UP, up_key_latch, DIR_UP)) return;
  Arrow_Key(b, VK_DOWN, down_key_latch, DIR_DOWN);
}

// The end-of-turn button: pressed face while held over it, normal face when it fires or when the
// pointer is elsewhere; a cancelled click keeps the pressed face until the pointer leaves.
static void End_Turn_Button(Board& b) {
  const ClickResult click =
      Click_Control(END_TURN_X, END_TURN_Y, END_TURN_W, END_TURN_H, 1, left_press_latch);
  if (click == CLICK_PRESSED) {
    if (BOB_end_turn.current_frame != 1) Play_Sound(SOUND_BUTTON);
    BOB_end_turn.current_frame = 1;
  } else if (click == CLICK_FIRED) {
    BOB_end_turn.current_frame = 0;
    Pass_Turn(b);
  } else if (!Pointer_Over(END_TURN_X, END_TURN_Y, END_TURN_W, END_TURN_H)) {
    BOB_end_turn.current_frame = 0;
  }
}

int Playing_Input(Board& b) {
  if (Leave_Question_Open()) {
    Leave_Question_Input();
    return 1;
  }
  if (Platform_Key_Held(VK_ESCAPE)) {
    escape_latch = 1;
  } else if (escape_latch == 1 && Comfort_On(SETTING_ASK_BEFORE_LEAVING)) {
    escape_latch = 0;
    Ask_Before_Leaving(LEAVE_TO_MENU);
    return 1;
  } else if (escape_latch == 1) {
    game_state = STATE_MAIN_MENU;
    escape_latch = 0;
  }
  Key_Chain(b);
  End_Turn_Button(b);
  return 1;
}

// Controllers as the game's own input, the same on both backends: the D-pad and the left stick
// hold arrow keys, Start holds Return, the east button and Back hold Escape, the south and west
// buttons are the left and right mouse buttons, and the right stick glides the pointer.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/platform_internal.h"

namespace platform_detail {
namespace {

// The left stick holds an arrow once pushed past PRESS and lets go below RELEASE, so a stick
// resting near the threshold does not flicker between held and free.
constexpr int STICK_PRESS = 16000;
constexpr int STICK_RELEASE = 12000;
// The right stick moves nothing inside the dead zone; pushed fully it crosses the screen's width
// in about a second. The speed grows with the square of the push, for fine aiming near the centre.
constexpr int POINTER_DEAD_ZONE = 8000;
constexpr double POINTER_FULL_SPEED = 640.0;  // game pixels a second
constexpr uint32_t MAX_STEP_MS = 100;         // a longer gap (a stall) moves as far as this

// The buttons that hold a key.
struct ButtonKey {
  PlatformPadButton button;
  int key;
};
constexpr ButtonKey BUTTON_KEYS[] = {
    {PAD_BUTTON_DPAD_UP, VK_UP},       {PAD_BUTTON_DPAD_DOWN, VK_DOWN}, {PAD_BUTTON_DPAD_LEFT, VK_LEFT},
    {PAD_BUTTON_DPAD_RIGHT, VK_RIGHT}, {PAD_BUTTON_START, VK_RETURN},   {PAD_BUTTON_EAST, VK_ESCAPE},
    {PAD_BUTTON_BACK, VK_ESCAPE},
};

struct Pad {
  int id = 0;
  bool buttons[PAD_BUTTON_COUNT] = {};
  int axes[PAD_AXIS_COUNT] = {};
  int stick_key = 0;  // the arrow the left stick holds, 0 for none
};

struct Pointer {
  double x = 0, y = 0;           // where the pad has the pointer, to a fraction of a pixel
  int shown_x = 0, shown_y = 0;  // the whole pixel last sent or seen
  bool timing = false;           // last_tick is valid: the stick was out of its dead zone last pass
  uint32_t last_tick = 0;
};

std::vector<Pad> pads;
Pointer pointer;

Pad* Find(int id) {
  for (Pad& p : pads)
    if (p.id == id) return &p;
  return nullptr;
}

uint32_t Mouse_Buttons() {
  uint32_t word = 0;
  for (const Pad& p : pads) {
    if (p.buttons[PAD_BUTTON_SOUTH]) word |= MK_LBUTTON;
    if (p.buttons[PAD_BUTTON_WEST]) word |= MK_RBUTTON;
  }
  return word;
}

uint32_t Position() {
  return static_cast<uint32_t>(pointer.shown_x) | (static_cast<uint32_t>(pointer.shown_y) << 16);
}

void Post_Button(uint32_t message) {
  Queue_Push(PlatformMessage{message, Mouse_Buttons(), Position()}, false);
}

// The arrow a stick at (x, y) holds, given the one it held: the held one while its axis stays past
// the release point that way and is still the stronger, else the stronger axis's once past the
// press point.
int Stick_Key(int held, int x, int y) {
  const bool x_stronger = std::abs(x) >= std::abs(y);
  if ((held == VK_LEFT && x < -STICK_RELEASE && x_stronger) ||
      (held == VK_RIGHT && x > STICK_RELEASE && x_stronger) ||
      (held == VK_UP && y < -STICK_RELEASE && !x_stronger) ||
      (held == VK_DOWN && y > STICK_RELEASE && !x_stronger))
    return held;
  if (std::max(std::abs(x), std::abs(y)) <= STICK_PRESS) return 0;
  if (x_stronger) return x < 0 ? VK_LEFT : VK_RIGHT;
  return y < 0 ? VK_UP : VK_DOWN;
}

// A stick axis as a speed from -1 to 1: nothing inside the dead zone, the square of the push past it.
double Push(int value) {
  const double v = std::clamp(value, -32767, 32767);
  const double past = std::max(0.0, std::abs(v) - POINTER_DEAD_ZONE) / (32767.0 - POINTER_DEAD_ZONE);
  return std::copysign(past * past, v);
}

// Lets go of what the pad holds: a held mouse button is released where the pointer is.
void Release(Pad& p) {
  const bool left = p.buttons[PAD_BUTTON_SOUTH], right = p.buttons[PAD_BUTTON_WEST];
  p = Pad{p.id};
  if (left) Post_Button(MSG_LBUTTONUP);
  if (right) Post_Button(MSG_RBUTTONUP);
}

}  // namespace

void Pad_Reset() {
  pads.clear();
  pointer = Pointer{};
}

void Pad_Release_All() {
  for (Pad& p : pads) Release(p);
  pointer.timing = false;
}

bool Pad_Key_Held(int virtual_key) {
  for (const Pad& p : pads) {
    if (p.stick_key != 0 && p.stick_key == virtual_key) return true;
    for (const ButtonKey& k : BUTTON_KEYS)
      if (k.key == virtual_key && p.buttons[k.button]) return true;
  }
  return false;
}

void Pad_Saw_Pointer(uint32_t lparam) {
  const int x = static_cast<int>(lparam & 0xFFFFu), y = static_cast<int>(lparam >> 16);
  if (x == pointer.shown_x && y == pointer.shown_y) return;  // where the pad put it: keep the fraction
  pointer.x = pointer.shown_x = x;
  pointer.y = pointer.shown_y = y;
}

void Pad_Move_Pointer(uint32_t now) {
  double vx = 0, vy = 0;
  for (const Pad& p : pads) {
    vx += Push(p.axes[PAD_AXIS_RIGHT_X]);
    vy += Push(p.axes[PAD_AXIS_RIGHT_Y]);
  }
  if (vx == 0 && vy == 0) {
    pointer.timing = false;
    return;
  }
  if (!pointer.timing) {  // the push starts now: the first pass only takes the time
    pointer.timing = true;
    pointer.last_tick = now;
    return;
  }
  const uint32_t step = std::min(now - pointer.last_tick, MAX_STEP_MS);
  pointer.last_tick = now;
  const double seconds = step / 1000.0;
  pointer.x = std::clamp(pointer.x + std::clamp(vx, -1.0, 1.0) * POINTER_FULL_SPEED * seconds, 0.0,
                         static_cast<double>(SCREEN_WIDTH - 1));
  pointer.y = std::clamp(pointer.y + std::clamp(vy, -1.0, 1.0) * POINTER_FULL_SPEED * seconds, 0.0,
                         static_cast<double>(SCREEN_HEIGHT - 1));
  const int x = static_cast<int>(pointer.x), y = static_cast<int>(pointer.y);
  if (x == pointer.shown_x && y == pointer.shown_y) return;
  pointer.shown_x = x;
  pointer.shown_y = y;
  Queue_Push(PlatformMessage{MSG_MOUSEMOVE, Mouse_Buttons(), Position()}, true);
}

}  // namespace platform_detail

using namespace platform_detail;

void Platform_Pad_Connected(int pad, bool connected) {
  Pad* p = Find(pad);
  if (connected && !p) pads.push_back(Pad{pad});
  if (!connected && p) {
    Release(*p);
    pads.erase(pads.begin() + (p - pads.data()));
  }
}

void Platform_Pad_Button(int pad, PlatformPadButton button, bool down) {
  Pad* p = Find(pad);
  if (!p || button < 0 || button >= PAD_BUTTON_COUNT || p->buttons[button] == down) return;
  p->buttons[button] = down;
  if (button == PAD_BUTTON_SOUTH) Post_Button(down ? MSG_LBUTTONDOWN : MSG_LBUTTONUP);
  if (button == PAD_BUTTON_WEST) Post_Button(down ? MSG_RBUTTONDOWN : MSG_RBUTTONUP);
}

void Platform_Pad_Axis(int pad, PlatformPadAxis axis, int value) {
  Pad* p = Find(pad);
  if (!p || axis < 0 || axis >= PAD_AXIS_COUNT) return;
  p->axes[axis] = value;
  p->stick_key = Stick_Key(p->stick_key, p->axes[PAD_AXIS_LEFT_X], p->axes[PAD_AXIS_LEFT_Y]);
}

int Platform_Pad_Count() { return static_cast<int>(pads.size()); }

std::vector<std::string> Platform_Pad_Help_Lines() {
  return {"D-pad or left stick: walk (the arrow keys)",
          "Right stick: move the pointer",
          "South button (A): left click",
          "West button (X): right click",
          "Start: Return (open the menu, end the turn)",
          "East button (B) or Back: Escape"};
}

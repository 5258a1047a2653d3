#include "shell/hands.h"

#include "common/shell_state.h"
#include "screens/play/comforts.h"
#include "shell/computer.h"
#include "shell/help_overlay.h"

namespace {

constexpr int KEY_M = 77, KEY_F12 = 123;
// The person's own controls: they never act for another hand.
constexpr int PERSON_CONTROLS[] = {VK_ESCAPE, VK_F1, KEY_F12, KEY_M, VK_SPACE};

bool Person_Control(int key) {
  for (const int k : PERSON_CONTROLS)
    if (k == key) return true;
  return false;
}

// Where each hand's pointer is and which of its buttons are down, as its messages left them.
struct Pointer {
  int32_t x = 0, y = 0;
  uint32_t buttons = 0;
  bool moved = false;  // a message of its own has placed it
};

Pointer pointers[HAND_COUNT];
Hand acting = HAND_PERSON;
uint32_t acting_since = 0;  // the serial of the first message that may act for the acting hand
uint32_t held_over = 0;     // buttons the acting hand held when it began to act, until let go

bool Pointer_Message(uint32_t message) {
  return message == MSG_MOUSEMOVE || (message >= MSG_LBUTTONDOWN && message <= MSG_RBUTTONUP);
}

uint32_t Button_Of(uint32_t message) {
  return message == MSG_LBUTTONDOWN || message == MSG_LBUTTONUP ? MK_LBUTTON : MK_RBUTTON;
}

void Route_Keys() {
  for (int key = 0; key < 256; ++key)
    Platform_Route_Key(key, Person_Control(key) ? Hand_Sources(HAND_PERSON) : Hand_Sources(acting));
}

}  // namespace

uint32_t Hand_Sources(Hand hand) {
  switch (hand) {
    case HAND_COMPUTER:
      return Source_Bit(SOURCE_COMPUTER);
    case HAND_REMOTE:
      return Source_Bit(SOURCE_REMOTE);
    default:
      return Source_Bit(INPUT_DEVICES) | Source_Bit(SOURCE_SCRIPT);
  }
}

Hand Hand_Of(InputSource source) {
  for (const Hand h : {HAND_COMPUTER, HAND_REMOTE})
    if (Hand_Sources(h) & Source_Bit(source)) return h;
  return HAND_PERSON;
}

bool From_Person(const PlatformMessage& msg) { return Hand_Of(msg.source) == HAND_PERSON; }

bool Person_Key_Held(int virtual_key) {
  return Platform_Source_Key_Held(INPUT_DEVICES, virtual_key) ||
         Platform_Source_Key_Held(SOURCE_SCRIPT, virtual_key);
}

void Hand_Acts(Hand hand) {
  if (hand == acting) return;
  acting = hand;
  acting_since = Platform_Next_Serial();
  Route_Keys();
  Pointer& p = pointers[hand];
  if (hand == HAND_COMPUTER || !p.moved) {
    // The computer's hand takes the pointer where it stands.
    p.x = mouse_x;
    p.y = mouse_y;
  } else {
    mouse_x = p.x;
    mouse_y = p.y;
  }
  mouse_buttons = 0;
  held_over = p.buttons;
}

Hand Acting_Hand() { return acting; }

void Hands_Before_Pass() {
  const bool computer = !Help_Is_Open() && !Leave_Question_Open() && Computer_Moves_Now();
  Hand_Acts(computer ? HAND_COMPUTER : HAND_PERSON);
  if (computer)
    Computer_Before_Pass();
  else
    Computer_Rests();
}

bool Message_Acts(PlatformMessage& msg) {
  if (!Pointer_Message(msg.message)) return true;  // the window's own messages are everyone's
  const Hand hand = Hand_Of(msg.source);
  Pointer& p = pointers[hand];
  p.x = static_cast<int32_t>(msg.lparam & 0xFFFFu);
  p.y = static_cast<int32_t>((msg.lparam >> 16) & 0xFFFFu);
  p.moved = true;
  if (msg.message == MSG_MOUSEMOVE)
    p.buttons = msg.wparam & (MK_LBUTTON | MK_RBUTTON);
  else if (msg.message == MSG_LBUTTONDOWN || msg.message == MSG_RBUTTONDOWN)
    p.buttons |= Button_Of(msg.message);
  else
    p.buttons &= ~Button_Of(msg.message);
  if (hand != acting) return false;
  if (static_cast<int32_t>(msg.serial - acting_since) < 0) {
    // Made before the change: a press then is a button held across it.
    if (msg.message == MSG_LBUTTONDOWN || msg.message == MSG_RBUTTONDOWN) held_over |= Button_Of(msg.message);
    if (msg.message == MSG_LBUTTONUP || msg.message == MSG_RBUTTONUP) held_over &= ~Button_Of(msg.message);
    return false;
  }
  // A button held across the change of hands reads as up, and its release is no click.
  if (held_over != 0) {
    const uint32_t bit = Button_Of(msg.message);
    switch (msg.message) {
      case MSG_LBUTTONUP:
      case MSG_RBUTTONUP:
        if (held_over & bit) {
          held_over &= ~bit;
          return false;
        }
        break;
      case MSG_LBUTTONDOWN:
      case MSG_RBUTTONDOWN:
        held_over &= ~bit;
        break;
      default:
        held_over &= msg.wparam;
        msg.wparam &= ~held_over;
        break;
    }
  }
  return true;
}

void Reset_Hands() {
  for (Pointer& p : pointers) p = Pointer{};
  acting = HAND_PERSON;
  acting_since = Platform_Next_Serial();
  held_over = 0;
  Route_Keys();
}

// The shell's globals: the screen state and the pointer and key latches the window procedure and
// the screens share.
#pragma once

#include <cstdint>
#include <string>

using GameState = int32_t;
enum : GameState { STATE_PLAYING = 6, STATE_MAIN_MENU = 9, STATE_RESULTS = 14 };

extern GameState game_state;
extern int32_t mouse_x;
extern int32_t mouse_y;
extern int32_t mouse_buttons;  // 1 left down, 2 right down, 0 up, or a pointer move's key-state word
extern uint8_t escape_latch;

// Asks the main loop to end the run: posts the quit message with exit code 0.
void Request_Quit();

// The offer to continue an unfinished game. The shell fills it in; the title and the menu show it
// (only while `shown`, so their frames are the classic ones whenever no game is unfinished) and set
// `taken` when the person takes it (its key, C, or a click on it).
struct ContinueOffer {
  bool shown = false;
  std::string title;   // "C: CONTINUE"
  std::string detail;  // whose turn, which turn, the treasures
  bool taken = false;
};
extern ContinueOffer continue_offer;

// Whether the game in progress is being kept (saved) as it is played: what leaving it means.
extern bool game_kept;

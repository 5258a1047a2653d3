// Shared state of the platform layer's backends. Private to platform/.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/platform.h"

namespace platform_detail {

// A rectangle of frame pixels: columns left to right, rows top to bottom, right and bottom exclusive.
struct FrameRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct State {
  bool open = false;
  PlatformBackend backend = BACKEND_HEADLESS;
  PlatformConfig config;
  std::deque<PlatformMessage> queue;
  bool tail_mergeable = false;  // the queue's newest message is a system pointer move
  // Keys each source holds of its own (for the devices, the injected ones), whose keys each key's
  // poll reads, and the holds that began before a source was routed to the key (read as up).
  std::array<std::array<bool, 256>, INPUT_SOURCE_COUNT> source_keys{};
  std::array<uint32_t, 256> routes{};
  std::array<std::array<bool, 256>, INPUT_SOURCE_COUNT> stale{};
  uint32_t next_serial = 1;
  std::vector<uint16_t> last_frame;
  std::vector<FrameRect> damage;  // where the last kept frame differs from the one before it
  uint32_t virtual_ticks = 0;     // headless clock
  bool fullscreen = true;
  uint64_t presents = 0;                         // frames presented since the backend opened
  std::vector<PlatformAudioEvent> audio_events;  // headless: the sound events, in order
  PlatformBackend chosen = BACKEND_HEADLESS;     // the backend the run opens (Platform_Choose_Backend)
};

State& S();

// Appends a message with the next serial. A system pointer move replaces a system pointer move at the
// queue's tail.
void Queue_Push(const PlatformMessage& msg, bool system_pointer_move);
// Forgets every source's keys and routes (every key read from every source).
void Reset_Keys();

// Copies a frame into last_frame; true when it differs from the frame kept before. damage then covers
// every changed pixel (the whole frame for the first one) in a few rectangles of nearby changed rows.
bool Keep_Frame(const uint16_t* pixels, int pitch_bytes);

// Releases the cached fonts and the font library (text.cpp).
void Text_Shutdown();

// The SDL backend (sdl_backend.cpp).
int Sdl_Open(const PlatformConfig& config);
void Sdl_Close();
void Sdl_Pump();
bool Sdl_Key_Held(int virtual_key);
uint32_t Sdl_Get_Ticks();
void Sdl_Set_Ticks(uint32_t ticks);
void Sdl_Wait_Until(uint32_t target);
void Sdl_Wait_Vblank();
// Milliseconds the window has slept or waited to pace its frames since it opened.
double Sdl_Waited_Ms();
void Sdl_Present(bool changed);
void Sdl_Set_Fullscreen(bool fullscreen);
bool Sdl_Window_Active();
// The window's width over 640 while it is a window; 0 full screen.
double Sdl_Window_Scale();
// Takes the scale, integer scaling and smoothing of S().config into the window and its texture.
void Sdl_Apply_Scaling();
void Sdl_Allow_Close();

// The browser's part of the SDL backend (web.cpp, emscripten builds only): a wait holds the next pass
// back instead of blocking; full screen and smoothing are the page's.
void Web_Hold_Until(uint32_t target);
void Web_Set_Fullscreen(bool fullscreen);
void Web_Set_Smooth(bool smooth);

// Takes a stop as a stop signal would be (system.cpp): the page going away ends the run that way.
void Note_Stop_Signal(int signal_number);

// The headless backend (headless.cpp).
uint32_t Headless_Next_Vblank(uint32_t now);
// Records a sound event with the number of frames presented so far.
void Headless_Record_Audio(PlatformAudioKind kind, int id, bool loop);

// Stops the sound and releases the mixer and every loaded sound (audio.cpp).
void Audio_Shutdown();

// Controllers (gamepad.cpp): forgets every controller; lets go of everything they hold (a window
// that lost the focus hears no more of them); whether one holds the key; the pointer the game was
// last given (a pointer message taken from the queue), for the right stick to start from; and the
// right stick's glide up to the tick count now, posting a pointer move when it reaches a new pixel.
void Pad_Reset();
void Pad_Release_All();
bool Pad_Key_Held(int virtual_key);
void Pad_Saw_Pointer(uint32_t lparam);
void Pad_Move_Pointer(uint32_t now);

// SDL's controllers (sdl_gamepad.cpp): opened with the window, closed with it; Sdl_Pad_Event
// passes a controller event on to the Platform_Pad_* functions and returns false for any other.
void Sdl_Pads_Open();
void Sdl_Pads_Close();
bool Sdl_Pad_Event(const void* sdl_event);

// Takes the window off the screen now (the X server or compositor hears of it before this returns).
void Sdl_Hide();

// The X server's errors about the window and a lost connection (sdl_x11.cpp): watched once the window
// is made; whether the window was destroyed from outside (true once); what runs before the process
// ends on a lost connection.
void Sdl_Watch_X11();
bool Sdl_Window_Lost();
void Sdl_Before_Lost_Exit(void (*save)());

// SDL's simple message box over the window, or on its own when none is open.
void Sdl_Show_Error(const char* title, const char* text);

}  // namespace platform_detail

// The SDL2 window backend's own state and the parts its files share (sdl_backend.cpp: the window,
// its clock and display mode; sdl_present.cpp: drawing and presenting frames; sdl_input.cpp: SDL's
// events turned into the game's messages, and the keys held). Private to platform/.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/platform_internal.h"

namespace platform_detail {

struct SdlState {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  bool vsync = false;              // the renderer promised vsync presentation
  double period_ms = 1000.0 / 60;  // one refresh of the window's display
  uint64_t last_present = 0;       // performance counter after the last present
  bool wait_outstanding = false;   // a vertical-blank wait not yet followed by a present
  bool redraw = true;              // the window needs the picture again (exposed, resized, toggled)
  uint32_t tick_offset = 0;        // Platform_Set_Ticks
  bool destroy_posted = false;
  bool return_suppressed = false;  // Return went down as part of Alt+Enter: not the game's until up
  uint32_t buttons = 0;            // MK_LBUTTON / MK_RBUTTON / MK_MBUTTON held, from button events
  bool resize_pending = false;     // the scale changed while full screen: the window takes it on leaving
  bool fit_pending = false;        // a new window not yet fitted with its frame
  uint32_t fit_deadline = 0;       // SDL ticks after which a frame that never showed is not waited for
  SDL_Rect usable{};               // the display's usable area when the window was made
  int scale = 1;                   // the window's scale when it was made
  double waited_ms = 0;            // slept or waited to pace the frames since the window opened
};

extern SdlState sdl;

// Writes what failed, with SDL's reason, to the debug output.
void Report(const char* what);
// Milliseconds between two readings of SDL's performance counter.
double Elapsed_Ms(uint64_t from, uint64_t to);
// Reads the refresh rate of the window's display (60 Hz where it is not known).
void Read_Refresh_Rate();
// Once the new window is framed, fits the framed window to the usable area (sdl_backend.cpp).
void Fit_Frame();

// sdl_present.cpp
// (Re)creates the streaming texture the frames go through; false when SDL cannot.
bool Create_Texture();
// Finds how the renderer's window keeps its picture between presents; a new renderer asks again.
void Choose_Kept_Picture(const SDL_RendererInfo& info);
void Forget_Kept_Picture();
// Draws the last kept frame into the whole window and shows it; with upload the texture takes the
// whole frame first.
void Draw(bool upload);

// sdl_input.cpp
void Translate(const SDL_Event& e);

}  // namespace platform_detail

// The SDL2 backend: one window, desktop full screen by default (no mode switch) or a window of
// 640 x 480 times the scale, the system pointer hidden; its clock and waits, full screen and scaling.
// Its frames are drawn by sdl_present.cpp, its events read by sdl_input.cpp.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/sdl_window.h"

namespace platform_detail {

SdlState sdl;

void Report(const char* what) {
  std::string text = std::string("error ocurd: ") + what + ": " + SDL_GetError() + "\n";
  Platform_Debug_Output(text.c_str());
}

double Elapsed_Ms(uint64_t from, uint64_t to) {
  return static_cast<double>(to - from) * 1000.0 / static_cast<double>(SDL_GetPerformanceFrequency());
}

void Read_Refresh_Rate() {
  SDL_DisplayMode mode;
  int display = sdl.window ? SDL_GetWindowDisplayIndex(sdl.window) : 0;
  int hz = 0;
  if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0) hz = mode.refresh_rate;
  if (hz < 24 || hz > 1000) hz = 60;
  sdl.period_ms = 1000.0 / hz;
}

// Once the window manager has framed the new window (its frame is known a little after the window
// shows), the frame must fit the usable area too: the largest scale whose framed window fits,
// placed in the middle of that area. Tried at every pump until the frame is known, for a second.
void Fit_Frame() {
  int top = 0, left = 0, bottom = 0, right = 0;
  const bool known = SDL_GetWindowBordersSize(sdl.window, &top, &left, &bottom, &right) == 0 &&
                     (top | left | bottom | right) != 0;
  if (!known) {
    if (static_cast<int32_t>(SDL_GetTicks() - sdl.fit_deadline) >= 0) sdl.fit_pending = false;  // no frame
    return;
  }
  sdl.fit_pending = false;
  const SDL_Rect& usable = sdl.usable;
  const PlatformSize fitted = Platform_Fit_Window(sdl.scale, usable.w, usable.h, left + right, top + bottom);
  const int w = fitted.w, h = fitted.h;
  int now_w = 0, now_h = 0;
  SDL_GetWindowSize(sdl.window, &now_w, &now_h);
  if (w != now_w || h != now_h) SDL_SetWindowSize(sdl.window, w, h);
  const int x = usable.x + std::max(0, (usable.w - w - left - right) / 2) + left;
  const int y = usable.y + std::max(0, (usable.h - h - top - bottom) / 2) + top;
  SDL_SetWindowPosition(sdl.window, x, y);
}

namespace {

// Sizes the window for the scale asked for, or the largest size below it whose framed window fits
// the usable area of the display it is on.
void Resize_Window() {
  const int scale = std::clamp(S().config.scale, 1, 16);
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowBordersSize(sdl.window, &top, &left, &bottom, &right);
  SDL_Rect usable;
  PlatformSize size{SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale};
  if (SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(sdl.window)), &usable) == 0)
    size = Platform_Fit_Window(scale, usable.w, usable.h, left + right, top + bottom);
  SDL_SetWindowSize(sdl.window, size.w, size.h);
  sdl.resize_pending = false;
}

}  // namespace

int Sdl_Open(const PlatformConfig& config) {
  sdl = SdlState{};
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // A second press counts as a double click only within a couple of pixels of the first, as the
  // window system's double-click rectangle has it (SDL's own default is much wider).
  SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "2");
  // The stop signals are the game's own (Platform_Catch_Stop_Signals): it saves before it ends.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    Report("cannot start SDL video");
    return 0;
  }
  // With no display to open, SDL falls back on a driver that shows nothing, where a window would run
  // unseen for ever. Only a driver asked for by name (the tests, a tool) may be such a one.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
      !(asked && *asked)) {
    Platform_Debug_Output(
        "orvalis: no display was found (DISPLAY and WAYLAND_DISPLAY name none that opens); --headless runs "
        "the game without one\n");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
    return 0;
  }
  Sdl_Pads_Open();
  int scale = std::clamp(config.scale, 1, 16);
  SDL_Rect usable;
  bool know_usable = !config.fullscreen && SDL_GetDisplayUsableBounds(0, &usable) == 0;
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
  if (config.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
#ifdef __EMSCRIPTEN__
  // The page's canvas holds the picture pixel for pixel, drawn by SDL's software renderer (no WebGL
  // needed); the page scales it to the browser window.
  scale = 1;
  know_usable = false;
  flags = 0;
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
#endif
  PlatformSize size{SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale};
  if (know_usable) size = Platform_Fit_Window(scale, usable.w, usable.h, 0, 0);
  const char* title = config.title ? config.title : "Orvalis Game Console";
  sdl.window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.w, size.h, flags);
  if (!sdl.window) {
    Report("cannot create the window");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
    return 0;
  }
  SDL_SetWindowMinimumSize(sdl.window, SCREEN_WIDTH / 2, SCREEN_HEIGHT / 2);
  Sdl_Watch_X11();
  if (know_usable) {
    sdl.fit_pending = true;
    sdl.fit_deadline = SDL_GetTicks() + 1000;
    sdl.usable = usable;
    sdl.scale = scale;
  }
  sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!sdl.renderer) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0);
  if (!sdl.renderer) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_SOFTWARE);
  if (!sdl.renderer || !Create_Texture()) {
    Report(sdl.renderer ? "cannot create the frame texture" : "cannot create the renderer");
    Sdl_Close();
    return 0;
  }
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(sdl.renderer, &info) != 0) info = SDL_RendererInfo{};
  sdl.vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  Choose_Kept_Picture(info);
  Read_Refresh_Rate();
  SDL_ShowCursor(SDL_DISABLE);
  S().fullscreen = (flags & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  Draw(false);
  sdl.last_present = SDL_GetPerformanceCounter();
  return 1;
}

void Sdl_Close() {
  Sdl_Pads_Close();
  if (sdl.texture) SDL_DestroyTexture(sdl.texture);
  if (sdl.renderer) SDL_DestroyRenderer(sdl.renderer);
  if (sdl.window) SDL_DestroyWindow(sdl.window);
  sdl = SdlState{};
  Forget_Kept_Picture();
  SDL_ShowCursor(SDL_ENABLE);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
}

void Sdl_Hide() {
  if (!sdl.window) return;
  SDL_HideWindow(sdl.window);
  SDL_PumpEvents();  // sends the request on its way
}

void Sdl_Show_Error(const char* title, const char* text) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, sdl.window) != 0)
    Report("cannot show a message box");
}

uint32_t Sdl_Get_Ticks() { return SDL_GetTicks() + sdl.tick_offset; }

void Sdl_Set_Ticks(uint32_t ticks) { sdl.tick_offset = ticks - SDL_GetTicks(); }

void Sdl_Wait_Until(uint32_t target) {
#ifdef __EMSCRIPTEN__
  Web_Hold_Until(target);
  return;
#endif
  const uint64_t began = SDL_GetPerformanceCounter();
  for (;;) {
    const int32_t left = static_cast<int32_t>(target - Sdl_Get_Ticks());
    if (left <= 0) break;
    if (left > 1) {
      SDL_Delay(static_cast<Uint32>(left - 1));  // sleep for most of it
    }
    // The last millisecond: spin on the clock.
  }
  sdl.waited_ms += Elapsed_Ms(began, SDL_GetPerformanceCounter());
}

double Sdl_Waited_Ms() { return sdl.waited_ms; }

void Sdl_Set_Fullscreen(bool fullscreen) {
#ifdef __EMSCRIPTEN__
  Web_Set_Fullscreen(fullscreen);
  S().fullscreen = fullscreen;
  return;
#endif
  if (!sdl.window) {
    S().fullscreen = fullscreen;
    return;
  }
  if (SDL_SetWindowFullscreen(sdl.window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
    Report(fullscreen ? "cannot switch to full screen" : "cannot leave full screen");
    return;
  }
  S().fullscreen = fullscreen;
  if (!fullscreen && sdl.resize_pending) Resize_Window();
  sdl.redraw = true;
  Read_Refresh_Rate();
}

bool Sdl_Window_Active() {
  if (!sdl.window) return false;
  const Uint32 flags = SDL_GetWindowFlags(sdl.window);
  return (flags & SDL_WINDOW_INPUT_FOCUS) != 0 && (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

double Sdl_Window_Scale() {
  if (!sdl.window || S().fullscreen) return 0.0;
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl.window, &w, &h);
  return static_cast<double>(w) / SCREEN_WIDTH;
}

void Sdl_Apply_Scaling() {
  if (!sdl.window) return;
#ifdef __EMSCRIPTEN__
  Web_Set_Smooth(S().config.smooth);
  return;
#endif
  if (sdl.texture)
    SDL_SetTextureScaleMode(sdl.texture, S().config.smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  if (S().fullscreen)
    sdl.resize_pending = true;
  else
    Resize_Window();
  sdl.redraw = true;
}

}  // namespace platform_detail

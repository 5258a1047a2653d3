// The X server's word on the window. Xlib's own answer to an error (a window destroyed from outside
// gives BadWindow) or to a lost connection is to end the process on the spot, and the game in progress
// with it. Here an error about the window ends the run as closing it does, through the game's own
// quit, and a lost connection first lets the game save. Xlib is found where SDL loaded it; nothing is
// linked.
#include "platform/platform_internal.h"

#ifdef __EMSCRIPTEN__
// The browser has no X server: its page is never destroyed from outside while the game runs.
namespace platform_detail {
void Sdl_Watch_X11() {}
bool Sdl_Window_Lost() { return false; }
void Sdl_Before_Lost_Exit(void (*)()) {}
}  // namespace platform_detail
#else
#include <SDL.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace platform_detail {
namespace {

volatile bool window_lost = false;
bool lost_told = false;
void (*before_exit)() = nullptr;

int On_X_Error(Display*, XErrorEvent* event) {
  // Errors about the window or what is drawn into it mean the window is gone; others pass.
  if (event->error_code == BadWindow || event->error_code == BadDrawable) window_lost = true;
  return 0;
}

int On_X_Connection_Lost(Display*) {
  Platform_Debug_Output("orvalis: the connection to the display was lost; the game is saved and ends\n");
  if (before_exit) before_exit();
  std::fflush(nullptr);
  _exit(1);
}

}  // namespace

void Sdl_Watch_X11() {
  window_lost = false;
  lost_told = false;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
  if (!xlib) return;
  using Set_Error = XErrorHandler (*)(XErrorHandler);
  using Set_Io_Error = XIOErrorHandler (*)(XIOErrorHandler);
  const auto set_error = reinterpret_cast<Set_Error>(dlsym(xlib, "XSetErrorHandler"));
  const auto set_io_error = reinterpret_cast<Set_Io_Error>(dlsym(xlib, "XSetIOErrorHandler"));
  if (set_error) set_error(On_X_Error);
  if (set_io_error) set_io_error(On_X_Connection_Lost);
  dlclose(xlib);  // SDL keeps it loaded
}

bool Sdl_Window_Lost() {
  if (!window_lost || lost_told) return false;
  lost_told = true;
  return true;
}

void Sdl_Before_Lost_Exit(void (*save)()) { before_exit = save; }

}  // namespace platform_detail
#endif

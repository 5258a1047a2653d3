// The browser's differences from a desktop window, for the SDL backend built with emscripten: the
// page's animation frames run the game's passes (a pass never blocks the page; a wait holds the next
// pass back instead), full screen and downloads go through the page, and the user's folders lie
// where the page keeps them (config and state in the browser's IndexedDB, mounted at /persist by
// web/pre.js and written back after every change).
#ifdef __EMSCRIPTEN__

#include <emscripten.h>

#include <csignal>
#include <cstdlib>

#include "platform/platform_internal.h"

// The page's side (web/page.js): each hook is optional, so the game also runs in a bare page.
// clang-format off
EM_JS(void, Js_Pass_Timed, (double ms), { if (Module.onPass) Module.onPass(ms); });
EM_JS(void, Js_Run_Ended, (int code), { if (Module.onEnd) Module.onEnd(code); });
EM_JS(void, Js_Set_Fullscreen, (int on), { if (Module.setFullscreen) Module.setFullscreen(!!on); });
EM_JS(void, Js_Set_Smooth, (int on), { if (Module.setSmooth) Module.setSmooth(!!on); });
// Downloads the file under the name; 1 when the browser was handed it.
EM_JS(int, Js_Download, (const char* path, const char* name), {
  try {
    const bytes = FS.readFile(UTF8ToString(path));
    const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = UTF8ToString(name);
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(url); }, 10000);
    return 1;
  } catch (e) {
    return 0;
  }
});
// clang-format on

namespace platform_detail {
namespace {

uint32_t hold_until = 0;  // no pass before this tick count
bool holding = false;
int (*run_pass)() = nullptr;
int (*run_finish)(int) = nullptr;

// The folders Platform_User_Dir gives, set before main runs so that every reader sees them.
struct WebFolders {
  WebFolders() {
    setenv("XDG_CONFIG_HOME", "/persist/config", 0);
    setenv("XDG_STATE_HOME", "/persist/state", 0);
    setenv("XDG_DATA_HOME", "/tmp/data", 0);  // screenshots: downloaded, not kept
  }
};
const WebFolders web_folders;

// One animation frame: a pass, unless a wait of the game has a while to run. A wait ending within
// the next millisecond is over (the frames come at a granularity of 16 ms or so).
void Frame() {
  if (!run_pass) return;
  if (holding && static_cast<int32_t>(hold_until - Platform_Get_Ticks()) > 1) return;
  holding = false;
  const double start = emscripten_get_now();
  const int code = run_pass();
  // The page may time the passes (web/bench.mjs does).
  Js_Pass_Timed(emscripten_get_now() - start);
  if (code == PLATFORM_PASS_GOES_ON) return;
  run_pass = nullptr;
  emscripten_cancel_main_loop();
  const int exit_code = run_finish(code);
  Js_Run_Ended(exit_code);
}

}  // namespace

// The page is going away (closed, reloaded, left): the run ends now as on a stop signal, which saves
// the game in progress, running out a transition under way first.
extern "C" EMSCRIPTEN_KEEPALIVE void orvalis_page_closing() {
  Note_Stop_Signal(SIGTERM);
  for (int i = 0; i < 100 && run_pass; ++i) {
    holding = false;
    Frame();
  }
}

void Web_Hold_Until(uint32_t target) {
  if (!holding || static_cast<int32_t>(target - hold_until) > 0) hold_until = target;
  holding = true;
}

void Web_Set_Fullscreen(bool fullscreen) { Js_Set_Fullscreen(fullscreen ? 1 : 0); }

void Web_Set_Smooth(bool smooth) { Js_Set_Smooth(smooth ? 1 : 0); }

}  // namespace platform_detail

using namespace platform_detail;

int Platform_Run_Passes(int (*pass)(), int (*finish)(int code)) {
  run_pass = pass;
  run_finish = finish;
  // Frame timing 0: the browser's animation frames. main ends here; the page runs on.
  emscripten_set_main_loop(Frame, 0, 1);
  return 0;
}

bool Platform_One_Frame_Per_Pass() { return true; }

bool Platform_Offer_File(const char* path, const char* name) { return Js_Download(path, name) != 0; }

#endif

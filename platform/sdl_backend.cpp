// The SDL2 backend: one window, desktop full screen by default (no mode switch) or a window of
// 640 x 480 times the scale; the picture scaled with its aspect kept (black bars) through an RGB565
// streaming texture; pointer positions mapped back into game pixels; the system pointer hidden;
// presentation with vsync, and a sleep to the next refresh where vsync is missing or returns early.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "platform/platform_internal.h"

namespace platform_detail {
namespace {

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
};

SdlState sdl;

void Report(const char* what) {
  std::string text = std::string("error ocurd: ") + what + ": " + SDL_GetError() + "\n";
  Platform_Debug_Output(text.c_str());
}

double Elapsed_Ms(uint64_t from, uint64_t to) {
  return static_cast<double>(to - from) * 1000.0 / static_cast<double>(SDL_GetPerformanceFrequency());
}

// Sleeps (no spinning) until the performance counter reaches target.
void Sleep_Until(uint64_t target) {
  for (;;) {
    uint64_t now = SDL_GetPerformanceCounter();
    if (now >= target) return;
    double left = Elapsed_Ms(now, target);
    SDL_Delay(static_cast<Uint32>(std::max(1.0, left)));
    if (left <= 1.0) return;
  }
}

void Read_Refresh_Rate() {
  SDL_DisplayMode mode;
  int display = sdl.window ? SDL_GetWindowDisplayIndex(sdl.window) : 0;
  int hz = 0;
  if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0) hz = mode.refresh_rate;
  if (hz < 24 || hz > 1000) hz = 60;
  sdl.period_ms = 1000.0 / hz;
}

uint32_t Key_State_Word() {
  uint32_t word = sdl.buttons;
  SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) word |= MK_SHIFT;
  if (mod & KMOD_CTRL) word |= MK_CONTROL;
  return word;
}

uint32_t Button_Bit(uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return MK_LBUTTON;
    case SDL_BUTTON_RIGHT:
      return MK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
      return MK_MBUTTON;
    default:
      return 0;
  }
}

uint32_t Game_Position(int window_x, int window_y) {
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(sdl.window, &ww, &wh);
  if (SDL_GetRendererOutputSize(sdl.renderer, &ow, &oh) != 0) {
    ow = ww;
    oh = wh;
  }
  PlatformViewport viewport = Platform_Fit_Picture(ow, oh, S().config.integer_scaling);
  int gx = 0, gy = 0;
  Platform_Map_Pointer(viewport, ww, wh, ow, oh, window_x, window_y, &gx, &gy);
  return static_cast<uint32_t>(gx) | (static_cast<uint32_t>(gy) << 16);
}

void Post_Destroy() {
  if (sdl.destroy_posted) return;
  sdl.destroy_posted = true;
  Queue_Push(PlatformMessage{MSG_DESTROY, 0, 0}, false);
}

// How the window keeps its picture from one present to the next, which decides whether a present may
// draw only what changed.
enum KeptPicture {
  KEPT_NOTHING,      // a present gets a back buffer of unknown content: every present is whole
  KEPT_SURFACE,      // SDL's software renderer draws into the window's own surface, which stays
  KEPT_BACK_BUFFER,  // software OpenGL on X11, whose swap copies the back buffer out and keeps it
  KEPT_IF_AGE_ONE,   // OpenGL on X11 that tells the age of the back buffer: kept when it is 1
};

struct Presenter {
  KeptPicture kept = KEPT_NOTHING;
  void* glx_display = nullptr;  // KEPT_IF_AGE_ONE: what the age is asked with
  unsigned long glx_drawable = 0;
  void (*glx_query_drawable)(void*, unsigned long, int, unsigned int*) = nullptr;
  bool texture_stale = true;    // the texture does not hold the kept frame (new or lost)
  std::vector<SDL_Rect> parts;  // the window rectangles of a partial present
};

Presenter presenter;

bool Has_Word(const char* list, const char* word) {
  const size_t n = std::strlen(word);
  for (const char* p = list; p != nullptr && (p = std::strstr(p, word)) != nullptr; p += n)
    if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
  return false;
}

template <typename Function>
Function Gl_Function(const char* name) {
  return reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

// What the OpenGL context of the renderer keeps, found through GLX (looked up through SDL with plain
// pointer types, so that no GL or X11 header is needed). Where the context tells the age of its back
// buffer, a back buffer of age 1 holds the last picture. Mesa's software rasteriser on X11 (Xvfb, or a
// desktop without a graphics driver) colours every pixel of the window on the processor, so that is
// where drawing only the changes pays; its swap copies the back buffer to the window and keeps it.
// On a graphics card drawing the whole window costs the processor next to nothing.
KeptPicture Glx_Kept_Picture() {
  constexpr int GLX_SCREEN = 0x800C;
  constexpr int GLX_RENDERER_ACCELERATED_MESA = 0x8186;
  if (SDL_GL_GetCurrentContext() == nullptr || SDL_GL_GetCurrentWindow() != sdl.window) return KEPT_NOTHING;
  auto current_display = Gl_Function<void* (*)()>("glXGetCurrentDisplay");
  auto current_drawable = Gl_Function<unsigned long (*)()>("glXGetCurrentDrawable");
  auto current_context = Gl_Function<void* (*)()>("glXGetCurrentContext");
  auto query_context = Gl_Function<int (*)(void*, void*, int, int*)>("glXQueryContext");
  auto extensions = Gl_Function<const char* (*)(void*, int)>("glXQueryExtensionsString");
  if (!current_display || !current_drawable || !current_context || !query_context || !extensions) {
    return KEPT_NOTHING;
  }
  void* display = current_display();
  const unsigned long drawable = current_drawable();
  void* context = current_context();
  int screen = 0;
  if (!display || !drawable || !context || query_context(display, context, GLX_SCREEN, &screen) != 0) {
    return KEPT_NOTHING;
  }
  const char* names = extensions(display, screen);
  auto query_drawable = Gl_Function<void (*)(void*, unsigned long, int, unsigned int*)>("glXQueryDrawable");
  if (Has_Word(names, "GLX_EXT_buffer_age") && query_drawable) {
    presenter.glx_display = display;
    presenter.glx_drawable = drawable;
    presenter.glx_query_drawable = query_drawable;
    return KEPT_IF_AGE_ONE;
  }
  auto renderer_integer = Gl_Function<int (*)(int, unsigned int*)>("glXQueryCurrentRendererIntegerMESA");
  unsigned int accelerated = 1;
  if (Has_Word(names, "GLX_MESA_query_renderer") && renderer_integer &&
      renderer_integer(GLX_RENDERER_ACCELERATED_MESA, &accelerated) && accelerated == 0) {
    return KEPT_BACK_BUFFER;
  }
  return KEPT_NOTHING;
}

// Whether the back buffer holds the last picture now.
bool Back_Buffer_Kept() {
  if (presenter.kept != KEPT_IF_AGE_ONE) return presenter.kept != KEPT_NOTHING;
  constexpr int GLX_BACK_BUFFER_AGE_EXT = 0x20F4;
  unsigned int age = 0;
  presenter.glx_query_drawable(presenter.glx_display, presenter.glx_drawable, GLX_BACK_BUFFER_AGE_EXT, &age);
  return age == 1;
}

void Choose_Kept_Picture(const SDL_RendererInfo& info) {
  presenter = Presenter{};
  if (info.name != nullptr && std::strcmp(info.name, "software") == 0) {
    presenter.kept = KEPT_SURFACE;
  } else {
    presenter.kept = Glx_Kept_Picture();
  }
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

bool Create_Texture() {
  presenter.texture_stale = true;
  if (sdl.texture) SDL_DestroyTexture(sdl.texture);
  sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                  SCREEN_WIDTH, SCREEN_HEIGHT);
  if (!sdl.texture) return false;
  SDL_SetTextureScaleMode(sdl.texture, S().config.smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  SDL_SetTextureBlendMode(sdl.texture, SDL_BLENDMODE_NONE);
  return true;
}

PlatformViewport Viewport() {
  int ow = 0, oh = 0;
  SDL_GetRendererOutputSize(sdl.renderer, &ow, &oh);
  return Platform_Fit_Picture(ow, oh, S().config.integer_scaling);
}

// Copies the kept frame into the texture: only the changed rectangles while it holds the one before.
void Upload(const std::vector<FrameRect>& changed) {
  const std::vector<uint16_t>& frame = S().last_frame;
  if (frame.empty()) return;
  if (presenter.texture_stale) {
    SDL_UpdateTexture(sdl.texture, nullptr, frame.data(), SCREEN_WIDTH * 2);
    presenter.texture_stale = false;
    return;
  }
  for (const FrameRect& r : changed) {
    const SDL_Rect area{r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_UpdateTexture(sdl.texture, &area, &frame[static_cast<size_t>(r.top) * SCREEN_WIDTH + r.left],
                      SCREEN_WIDTH * 2);
  }
}

// Shows what was drawn: the whole window, or only the listed window rectangles.
void Show(const std::vector<SDL_Rect>* parts) {
  if (presenter.kept == KEPT_SURFACE && parts != nullptr) {
    SDL_RenderFlush(sdl.renderer);
    SDL_UpdateWindowSurfaceRects(sdl.window, parts->data(), static_cast<int>(parts->size()));
  } else {
    SDL_RenderPresent(sdl.renderer);
  }
}

// Draws the last kept frame (black before the first) into the whole window, aspect kept, bars black.
void Render_Whole() {
  SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
  SDL_RenderClear(sdl.renderer);
  if (!S().last_frame.empty()) {
    const PlatformViewport v = Viewport();
    const SDL_Rect dst{v.x, v.y, v.w, v.h};
    SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, &dst);
  }
}

// One axis of the picture in the window, for SDL's software scaler, which steps through the picture in
// 16.16 fixed point from the start of each copy: a copy of part of the picture lands on exactly the
// window pixels that the whole copy gives them when its steps are exact (the window side of the
// reduced ratio picture : window is a power of two) and it starts and ends on a whole period.
struct SoftwareAxis {
  int period_picture = 1, period_window = 1;
  bool exact = false;
  SoftwareAxis(int picture, int window) {
    const int g = std::gcd(picture, window);
    period_picture = picture / g;
    period_window = window / g;
    exact = (period_window & (period_window - 1)) == 0;
  }
  // The picture run [a, b) widened to whole periods, and the window run it lands on from at.
  void Map(int a, int b, int at, int* pa, int* pb, int* wa, int* wb) const {
    *pa = a / period_picture * period_picture;
    *pb = (b + period_picture - 1) / period_picture * period_picture;
    *wa = at + *pa / period_picture * period_window;
    *wb = at + *pb / period_picture * period_window;
  }
};

// Draws only the changed rectangles of the frame into a window that keeps its picture, listing the
// window rectangles drawn; false, with nothing drawn, where the window must be drawn whole (it does
// not keep its picture, or a part cannot be drawn exactly as the whole would draw it, or most of the
// picture changed).
bool Render_Parts(const std::vector<FrameRect>& changed, std::vector<SDL_Rect>* drawn) {
  drawn->clear();
  if (S().last_frame.empty() || !Back_Buffer_Kept()) return false;
  int64_t area = 0;
  for (const FrameRect& r : changed) area += int64_t{r.right - r.left} * (r.bottom - r.top);
  if (2 * area > int64_t{SCREEN_WIDTH} * SCREEN_HEIGHT) return false;
  const PlatformViewport v = Viewport();
  if (presenter.kept != KEPT_SURFACE) {
    // The whole picture drawn through a clip rectangle: every window pixel is coloured exactly as in
    // a whole draw. The clip takes a picture pixel more on each side, which smooth scaling blends in.
    auto edge = [](int p, int n, int at, int size, bool up) {
      return at + static_cast<int>((int64_t{std::clamp(p, 0, n)} * size + (up ? n - 1 : 0)) / n);
    };
    for (const FrameRect& r : changed) {
      const int x0 = edge(r.left - 1, SCREEN_WIDTH, v.x, v.w, false);
      const int y0 = edge(r.top - 1, SCREEN_HEIGHT, v.y, v.h, false);
      const int x1 = edge(r.right + 1, SCREEN_WIDTH, v.x, v.w, true);
      const int y1 = edge(r.bottom + 1, SCREEN_HEIGHT, v.y, v.h, true);
      drawn->push_back(SDL_Rect{x0, y0, x1 - x0, y1 - y0});
    }
    const SDL_Rect whole{v.x, v.y, v.w, v.h};
    for (const SDL_Rect& clip : *drawn) {
      SDL_RenderSetClipRect(sdl.renderer, &clip);
      SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, &whole);
    }
    SDL_RenderSetClipRect(sdl.renderer, nullptr);
    return true;
  }
  // SDL's software renderer: each part copied on its own, sharp scaling only.
  const SoftwareAxis ax(SCREEN_WIDTH, v.w), ay(SCREEN_HEIGHT, v.h);
  if (S().config.smooth || !ax.exact || !ay.exact) return false;
  for (const FrameRect& r : changed) {
    int px0, px1, py0, py1, wx0, wx1, wy0, wy1;
    ax.Map(r.left, r.right, v.x, &px0, &px1, &wx0, &wx1);
    ay.Map(r.top, r.bottom, v.y, &py0, &py1, &wy0, &wy1);
    const SDL_Rect from{px0, py0, px1 - px0, py1 - py0}, to{wx0, wy0, wx1 - wx0, wy1 - wy0};
    SDL_RenderCopy(sdl.renderer, sdl.texture, &from, &to);
    drawn->push_back(to);
  }
  return true;
}

// Draws the last kept frame (black before the first) into the whole window, aspect kept, bars black;
// with upload, the texture takes the whole frame first.
void Draw(bool upload) {
  if (upload) presenter.texture_stale = true;
  Upload({});
  Render_Whole();
  Show(nullptr);
}

// Uploads and draws what changed since the last present: where the window keeps its picture only the
// changed parts, else the whole window (from a texture that took only the changed parts).
void Draw_Changes() {
  const std::vector<FrameRect>& changed = S().damage;
  Upload(changed);
  if (!sdl.redraw && Render_Parts(changed, &presenter.parts)) {
    Show(&presenter.parts);
  } else {
    Render_Whole();
    Show(nullptr);
  }
}

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

void Translate(const SDL_Event& e) {
  if (Sdl_Pad_Event(&e)) return;
  const Uint32 our_window = SDL_GetWindowID(sdl.window);
  switch (e.type) {
    case SDL_QUIT:
      Post_Destroy();
      break;
    case SDL_WINDOWEVENT:
      if (e.window.windowID != our_window) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          Post_Destroy();
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          sdl.redraw = true;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          Draw(false);
          Queue_Push(PlatformMessage{MSG_PAINT, 0, 0}, false);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          sdl.return_suppressed = false;
          Pad_Release_All();  // no controller events come while unfocused: nothing may stay held
          break;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
          Read_Refresh_Rate();
          break;
        default:
          break;
      }
      break;
    case SDL_MOUSEMOTION: {
      if (e.motion.windowID != our_window && e.motion.windowID != 0) break;
      uint32_t word = 0;
      if (e.motion.state & SDL_BUTTON_LMASK) word |= MK_LBUTTON;
      if (e.motion.state & SDL_BUTTON_RMASK) word |= MK_RBUTTON;
      if (e.motion.state & SDL_BUTTON_MMASK) word |= MK_MBUTTON;
      SDL_Keymod mod = SDL_GetModState();
      if (mod & KMOD_SHIFT) word |= MK_SHIFT;
      if (mod & KMOD_CTRL) word |= MK_CONTROL;
      Queue_Push(PlatformMessage{MSG_MOUSEMOVE, word, Game_Position(e.motion.x, e.motion.y)}, true);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (e.button.windowID != our_window && e.button.windowID != 0) break;
      const bool down = e.type == SDL_MOUSEBUTTONDOWN;
      const uint32_t bit = Button_Bit(e.button.button);
      if (down) {
        sdl.buttons |= bit;
      } else {
        sdl.buttons &= ~bit;
      }
      // Left and right only; the middle and side buttons give no message. The second press of a
      // double click (SDL's click count 2, 4, ...) is a double-click message in the window system the
      // game was made for, which no screen takes: it gives no message either, and its release is an
      // ordinary release. So a quick double click on a control acts once.
      uint32_t message = 0;
      const bool double_click = down && e.button.clicks >= 2 && e.button.clicks % 2 == 0;
      if (e.button.button == SDL_BUTTON_LEFT && !double_click)
        message = down ? MSG_LBUTTONDOWN : MSG_LBUTTONUP;
      if (e.button.button == SDL_BUTTON_RIGHT && !double_click)
        message = down ? MSG_RBUTTONDOWN : MSG_RBUTTONUP;
      if (message)
        Queue_Push(PlatformMessage{message, Key_State_Word(), Game_Position(e.button.x, e.button.y)}, false);
      break;
    }
    case SDL_KEYDOWN:
      if (e.key.repeat) break;
      if (e.key.keysym.sym == SDLK_F11 ||
          ((e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER) &&
           (e.key.keysym.mod & KMOD_ALT))) {
        if (e.key.keysym.sym != SDLK_F11) sdl.return_suppressed = true;
        Sdl_Set_Fullscreen(!S().fullscreen);
      }
      break;
    case SDL_RENDER_TARGETS_RESET:
      sdl.redraw = true;
      break;
    case SDL_RENDER_DEVICE_RESET:
      Create_Texture();
      sdl.redraw = true;
      break;
    default:
      break;
  }
}

// The scancodes of a virtual-key number (letters and digits through the keyboard layout, as the
// window system's virtual keys follow it). Returns how many were written.
int Scancodes(int vk, SDL_Scancode out[2]) {
  if (vk >= 'A' && vk <= 'Z') {
    out[0] = SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(SDLK_a + (vk - 'A')));
    return out[0] == SDL_SCANCODE_UNKNOWN ? 0 : 1;
  }
  if (vk >= '0' && vk <= '9') {
    out[0] = SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(SDLK_0 + (vk - '0')));
    return out[0] == SDL_SCANCODE_UNKNOWN ? 0 : 1;
  }
  if (vk >= 112 && vk <= 123) {  // F1 to F12
    out[0] = static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (vk - 112));
    return 1;
  }
  if (vk >= 96 && vk <= 105) {  // keypad digits
    out[0] = vk == 96 ? SDL_SCANCODE_KP_0 : static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (vk - 97));
    return 1;
  }
  switch (vk) {
    case 8:
      out[0] = SDL_SCANCODE_BACKSPACE;
      return 1;
    case 9:
      out[0] = SDL_SCANCODE_TAB;
      return 1;
    case 13:
      out[0] = SDL_SCANCODE_RETURN;
      out[1] = SDL_SCANCODE_KP_ENTER;
      return 2;
    case 16:
      out[0] = SDL_SCANCODE_LSHIFT;
      out[1] = SDL_SCANCODE_RSHIFT;
      return 2;
    case 17:
      out[0] = SDL_SCANCODE_LCTRL;
      out[1] = SDL_SCANCODE_RCTRL;
      return 2;
    case 18:
      out[0] = SDL_SCANCODE_LALT;
      out[1] = SDL_SCANCODE_RALT;
      return 2;
    case 27:
      out[0] = SDL_SCANCODE_ESCAPE;
      return 1;
    case 32:
      out[0] = SDL_SCANCODE_SPACE;
      return 1;
    case 33:
      out[0] = SDL_SCANCODE_PAGEUP;
      return 1;
    case 34:
      out[0] = SDL_SCANCODE_PAGEDOWN;
      return 1;
    case 35:
      out[0] = SDL_SCANCODE_END;
      return 1;
    case 36:
      out[0] = SDL_SCANCODE_HOME;
      return 1;
    case 37:
      out[0] = SDL_SCANCODE_LEFT;
      return 1;
    case 38:
      out[0] = SDL_SCANCODE_UP;
      return 1;
    case 39:
      out[0] = SDL_SCANCODE_RIGHT;
      return 1;
    case 40:
      out[0] = SDL_SCANCODE_DOWN;
      return 1;
    case 45:
      out[0] = SDL_SCANCODE_INSERT;
      return 1;
    case 46:
      out[0] = SDL_SCANCODE_DELETE;
      return 1;
    default:
      return 0;
  }
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
  const int scale = std::clamp(config.scale, 1, 16);
  SDL_Rect usable;
  const bool know_usable = !config.fullscreen && SDL_GetDisplayUsableBounds(0, &usable) == 0;
  PlatformSize size{SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale};
  if (know_usable) size = Platform_Fit_Window(scale, usable.w, usable.h, 0, 0);
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
  if (config.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
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
  S().fullscreen = config.fullscreen;
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
  presenter = Presenter{};
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

void Sdl_Pump() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) Translate(e);
  if (sdl.fit_pending) Fit_Frame();
  if (Sdl_Window_Lost()) {
    // The window is gone: the run ends as by the quit message, which saves a game in progress.
    Platform_Debug_Output("orvalis: the window was destroyed from outside; the game ends\n");
    Queue_Push(PlatformMessage{MSG_QUIT, 1, 0}, false);
  }
}

bool Sdl_Key_Held(int virtual_key) {
  SDL_PumpEvents();
  // A window without the keyboard focus sees no key held, so a key held while focus went elsewhere
  // never sticks.
  if (!(SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_INPUT_FOCUS)) return false;
  SDL_Scancode codes[2] = {SDL_SCANCODE_UNKNOWN, SDL_SCANCODE_UNKNOWN};
  const int n = Scancodes(virtual_key, codes);
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  bool held = false;
  for (int i = 0; i < n; ++i)
    if (codes[i] > SDL_SCANCODE_UNKNOWN && codes[i] < count && state[codes[i]]) held = true;
  if (virtual_key == VK_RETURN) {
    // Alt+Enter belongs to the display, not the game.
    if (!held) sdl.return_suppressed = false;
    if (held && (sdl.return_suppressed || (SDL_GetModState() & KMOD_ALT))) return false;
  }
  return held;
}

uint32_t Sdl_Get_Ticks() { return SDL_GetTicks() + sdl.tick_offset; }

void Sdl_Set_Ticks(uint32_t ticks) { sdl.tick_offset = ticks - SDL_GetTicks(); }

void Sdl_Wait_Until(uint32_t target) {
  for (;;) {
    const int32_t left = static_cast<int32_t>(target - Sdl_Get_Ticks());
    if (left <= 0) return;
    if (left > 1) {
      SDL_Delay(static_cast<Uint32>(left - 1));  // sleep for most of it
    }
    // The last millisecond: spin on the clock.
  }
}

void Sdl_Wait_Vblank() {
  // The present that follows waits for the blank (vsync, or the sleep in Sdl_Present). A second wait
  // with no present between them waits one refresh by itself.
  if (sdl.wait_outstanding) {
    const uint64_t freq = SDL_GetPerformanceFrequency();
    const uint64_t period = static_cast<uint64_t>(sdl.period_ms * static_cast<double>(freq) / 1000.0);
    // The next point of the refresh grid that the last present started.
    const uint64_t now = SDL_GetPerformanceCounter();
    uint64_t target = sdl.last_present + period;
    if (period > 0 && target <= now) target += ((now - target) / period + 1) * period;
    Sleep_Until(target);
    sdl.last_present = target;
  }
  sdl.wait_outstanding = true;
}

void Sdl_Present(bool changed) {
  Sdl_Pump();  // keeps the window alive and Alt+Enter working, also in loops that take no messages
  if (!sdl.window) return;
  const uint64_t freq = SDL_GetPerformanceFrequency();
  const uint64_t period = static_cast<uint64_t>(sdl.period_ms * static_cast<double>(freq) / 1000.0);
  if (!changed && !sdl.redraw) {
    // The same picture as on screen (an idle menu): nothing to draw, only the refresh to wait for.
    const uint64_t target = sdl.last_present + period;
    Sleep_Until(target);
    const uint64_t now = SDL_GetPerformanceCounter();
    sdl.last_present = now - target < period ? target : now;  // stay on the refresh grid unless late
    sdl.wait_outstanding = false;
    return;
  }
  if (S().config.whole_frames) {
    Draw(true);
  } else {
    Draw_Changes();
  }
  sdl.redraw = false;
  uint64_t now = SDL_GetPerformanceCounter();
  // With vsync a present returns a refresh after the last; one that comes back in under half a
  // refresh did not wait (hidden window, a driver without vsync), and one without vsync never waits.
  const uint64_t early = sdl.vsync ? period / 2 : period;
  if (now - sdl.last_present < early) {
    Sleep_Until(sdl.last_present + period);
    now = SDL_GetPerformanceCounter();
  }
  sdl.last_present = now;
  sdl.wait_outstanding = false;
}

void Sdl_Set_Fullscreen(bool fullscreen) {
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

void Sdl_Allow_Close() { sdl.destroy_posted = false; }

double Sdl_Window_Scale() {
  if (!sdl.window || S().fullscreen) return 0.0;
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl.window, &w, &h);
  return static_cast<double>(w) / SCREEN_WIDTH;
}

void Sdl_Apply_Scaling() {
  if (!sdl.window) return;
  if (sdl.texture)
    SDL_SetTextureScaleMode(sdl.texture, S().config.smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  if (S().fullscreen)
    sdl.resize_pending = true;
  else
    Resize_Window();
  sdl.redraw = true;
}

}  // namespace platform_detail

// The SDL2 window's frames: each kept frame goes through an RGB565 streaming texture into the
// window, scaled with its aspect kept (black bars); where the window keeps its picture between
// presents only the changed rectangles are drawn. Presents are paced by vsync, or by a sleep to the
// next refresh where vsync is missing or returns early.
#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "platform/sdl_window.h"

namespace platform_detail {
namespace {

// Sleeps (no spinning) until the performance counter reaches target. The browser never sleeps: its
// animation frames pace the game.
void Sleep_Until(uint64_t target) {
#ifdef __EMSCRIPTEN__
  static_cast<void>(target);
  return;
#endif
  const uint64_t began = SDL_GetPerformanceCounter();
  for (;;) {
    uint64_t now = SDL_GetPerformanceCounter();
    if (now >= target) break;
    double left = Elapsed_Ms(now, target);
    SDL_Delay(static_cast<Uint32>(std::max(1.0, left)));
    if (left <= 1.0) break;
  }
  sdl.waited_ms += Elapsed_Ms(began, SDL_GetPerformanceCounter());
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

}  // namespace

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

void Choose_Kept_Picture(const SDL_RendererInfo& info) {
  presenter = Presenter{};
  if (info.name != nullptr && std::strcmp(info.name, "software") == 0) {
    presenter.kept = KEPT_SURFACE;
  } else {
    presenter.kept = Glx_Kept_Picture();
  }
}

void Forget_Kept_Picture() { presenter = Presenter{}; }

// Draws the last kept frame (black before the first) into the whole window, aspect kept, bars black;
// with upload, the texture takes the whole frame first.
void Draw(bool upload) {
  if (upload) presenter.texture_stale = true;
  Upload({});
  Render_Whole();
  Show(nullptr);
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

}  // namespace platform_detail

// The cost of presenting frames through the SDL2 backend, each change drawn whole (every changed
// frame uploaded and drawn into the whole window, as the backend used to) and drawn in its changed
// parts, in the same run. SDL's dummy video driver and software renderer unless SDL_VIDEODRIVER names
// another (x11 under Xvfb gives Mesa's software OpenGL); the process's processor time is measured, as
// a software OpenGL draws on threads of its own. Presents wait for the refresh, which costs no time
// of the processor.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/platform.h"

namespace {

enum Change : int { CHANGE_POINTER, CHANGE_WALK, CHANGE_ALL };
enum Window : int { WINDOW_SCALE_1, WINDOW_FULL_SCREEN };

// A picture with detail everywhere, so that no part of it is cheap to draw.
std::vector<uint16_t> Picture() {
  std::vector<uint16_t> frame(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT);
  for (int y = 0; y < SCREEN_HEIGHT; ++y) {
    for (int x = 0; x < SCREEN_WIDTH; ++x) {
      uint32_t h = static_cast<uint32_t>(x * 131 + y * 9973);
      frame[static_cast<size_t>(y) * SCREEN_WIDTH + x] =
          static_cast<uint16_t>((h ^ (h >> 7)) * 2654435761u >> 12);
    }
  }
  return frame;
}

// A 32 x 32 sprite drawn into the frame at (x, y) over the picture, the rest of the frame the picture.
void Put_Sprite(std::vector<uint16_t>& frame, const std::vector<uint16_t>& picture, int x, int y, int* last_x,
                int* last_y) {
  for (int r = *last_y; r < *last_y + 32; ++r)
    for (int c = *last_x; c < *last_x + 32; ++c)
      frame[static_cast<size_t>(r) * SCREEN_WIDTH + c] = picture[static_cast<size_t>(r) * SCREEN_WIDTH + c];
  for (int r = y; r < y + 32; ++r)
    for (int c = x; c < x + 32; ++c)
      frame[static_cast<size_t>(r) * SCREEN_WIDTH + c] = static_cast<uint16_t>(0xF81F ^ (r * 32 + c));
  *last_x = x;
  *last_y = y;
}

// The backend stays open while a case runs again with the same settings: Google Benchmark runs each
// case several times, and SDL's X11 driver does not always come back after SDL_Quit.
bool Open_Backend(bool whole, Window window) {
  static bool open_whole = false;
  static Window open_window = WINDOW_SCALE_1;
  if (Platform_Is_Open() && Platform_Backend() == BACKEND_SDL && open_whole == whole && open_window == window)
    return true;
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  PlatformConfig config;
  config.backend = BACKEND_SDL;
  config.fullscreen = window == WINDOW_FULL_SCREEN;
  config.scale = 1;
  config.whole_frames = whole;
  open_whole = whole;
  open_window = window;
  return Platform_Open(config) == 1;
}

void BM_Present(benchmark::State& state, bool whole, Window window, Change change) {
  if (!Open_Backend(whole, window)) {
    state.SkipWithError("cannot open the SDL backend");
    return;
  }
  const std::vector<uint16_t> picture = Picture();
  std::vector<uint16_t> frame = picture;
  Platform_Present(frame.data(), SCREEN_WIDTH * 2);
  for (Uint32 id = 1; id < 1000; ++id) {
    if (SDL_Window* w = SDL_GetWindowFromID(id)) {
      int width = 0, height = 0;
      SDL_GetWindowSizeInPixels(w, &width, &height);
      state.counters["window_width"] = width;
      state.counters["window_height"] = height;
    }
  }
  int step = 0, last_x = 0, last_y = 0;
  for (auto _ : state) {
    ++step;
    switch (change) {
      case CHANGE_POINTER:  // the pointer crossing the board, a few pixels a frame
        Put_Sprite(frame, picture, 360 + step * 7 % 240, 120 + step * 3 % 240, &last_x, &last_y);
        break;
      case CHANGE_WALK:  // a figure stepping in the detail view, and a counter
        Put_Sprite(frame, picture, 100 + step % 2 * 32, 300, &last_x, &last_y);
        frame[static_cast<size_t>(440) * SCREEN_WIDTH + 200 + step % 16] ^= 0xFFFF;
        break;
      case CHANGE_ALL:
        for (uint16_t& p : frame) p = static_cast<uint16_t>(p + 0x0841);
        break;
    }
    Platform_Wait_Vblank();
    Platform_Present(frame.data(), SCREEN_WIDTH * 2);
  }
}

#define PRESENT_BENCHMARK(name, window, change)                      \
  BENCHMARK_CAPTURE(BM_Present, name##_whole, true, window, change)  \
      ->Unit(benchmark::kMicrosecond)                                \
      ->MeasureProcessCPUTime();                                     \
  BENCHMARK_CAPTURE(BM_Present, name##_parts, false, window, change) \
      ->Unit(benchmark::kMicrosecond)                                \
      ->MeasureProcessCPUTime()

PRESENT_BENCHMARK(window_pointer, WINDOW_SCALE_1, CHANGE_POINTER);
PRESENT_BENCHMARK(window_walk, WINDOW_SCALE_1, CHANGE_WALK);
PRESENT_BENCHMARK(window_all, WINDOW_SCALE_1, CHANGE_ALL);
PRESENT_BENCHMARK(fullscreen_pointer, WINDOW_FULL_SCREEN, CHANGE_POINTER);
PRESENT_BENCHMARK(fullscreen_walk, WINDOW_FULL_SCREEN, CHANGE_WALK);
PRESENT_BENCHMARK(fullscreen_all, WINDOW_FULL_SCREEN, CHANGE_ALL);

}  // namespace

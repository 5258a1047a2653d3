// The window backend's pacing: frames presented after the vertical-blank wait, on SDL's dummy video
// driver (no display: the backend sleeps to a 60 Hz grid). frames_per_second should stay at or below
// the refresh; changed pictures and unchanged ones, and waits with no present between them.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "platform/platform.h"

namespace {

// Mode 0: a changed picture every frame; 1: the same picture; 2: waits alone.
void BM_Paced_Frames(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  PlatformConfig config;
  config.backend = BACKEND_SDL;
  config.fullscreen = false;
  config.scale = 1;
  if (Platform_Open(config) != 1) {
    state.SkipWithError("SDL's dummy video driver does not open");
    return;
  }
  std::vector<uint16_t> frame(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT, 0x07E0);
  uint16_t n = 0;
  for (auto _ : state) {
    Platform_Wait_Vblank();
    if (state.range(0) == 2) continue;
    if (state.range(0) == 0) frame[0] = ++n;
    Platform_Present(frame.data(), SCREEN_WIDTH * 2);
  }
  Platform_Close();
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Paced_Frames)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(60)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

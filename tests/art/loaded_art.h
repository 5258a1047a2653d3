// The generated art as the game loads it, for the art tests: the frames start-up cuts from the files
// of the folder the game runs in.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "common/asset_manifest.h"
#include "common/bobs.h"
#include "graphics/bitmap.h"
#include "graphics/bob.h"
#include "graphics/display.h"
#include "tests/support/game.h"

namespace art_test {

using test_support::Run_Path;

// A frame of a BOB, read as the engine converted it (RGB565; 0 is transparent).
struct Frame {
  const Surface* s = nullptr;
  int w = 0, h = 0;
  uint16_t At(int x, int y) const {
    return s->pixels[static_cast<size_t>(y) * static_cast<size_t>(s->pitch / 2) + static_cast<size_t>(x)];
  }
  bool Clear(int x, int y) const { return At(x, y) == 0; }
  int Red(int x, int y) const { return (At(x, y) >> 11) & 31; }
  int Green(int x, int y) const { return (At(x, y) >> 6) & 31; }
  int Blue(int x, int y) const { return At(x, y) & 31; }
  int Count_Clear() const {
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) n += Clear(x, y);
    return n;
  }
  // Opaque pixels clearly red, and clearly blue (5-bit channels).
  int Count_Red() const {
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        n += !Clear(x, y) && Red(x, y) >= Green(x, y) + 8 && Red(x, y) >= Blue(x, y) + 8;
    return n;
  }
  int Count_Blue() const {
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        n += !Clear(x, y) && Blue(x, y) >= Red(x, y) + 6 && Blue(x, y) >= Green(x, y) + 2;
    return n;
  }
  double Brightness(int x0, int y0, int x1, int y1) const {
    double sum = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x, ++n) sum += Red(x, y) + Green(x, y) + Blue(x, y);
    return n ? sum / n : 0.0;
  }
};

// A frame as start-up cut it: the game is started once for the whole program, in the run folder.
inline Frame Get(const char* bob, int frame) {
  static const bool started = (test_support::Start_Headless_Game(1), true);
  (void)started;
  const int r = Manifest_Find(bob);
  Frame f;
  if (r < 0 || frame >= asset_manifest[r].frame_count || !Manifest_BOB(r)->frames[frame]) return f;
  f.s = Manifest_BOB(r)->frames[frame];
  f.w = asset_manifest[r].width;
  f.h = asset_manifest[r].height;
  return f;
}

#define ASSERT_FRAME(f) ASSERT_NE((f).s, nullptr) << "frame not loaded"

}  // namespace art_test

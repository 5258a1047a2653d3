// The generated art as the game loads it, for the art tests: every file of the manifest read from
// the folder the game runs in through the engine's bitmap loader and cut into BOB frames, once.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "graphics/bitmap.h"
#include "graphics/bob.h"
#include "graphics/display.h"
#include "common/asset_manifest.h"

namespace art_test {

inline std::string Run_Path(const char* file) { return std::string(ORVALIS_RUN_DIR) + "/" + file; }

// All 28 BOBs, loaded once the way start-up loads them.
struct Art {
  BOB bobs[MANIFEST_BOB_COUNT];
  bool loaded[MANIFEST_BOB_COUNT] = {};
  Art() {
    BitmapFile bitmap{};
    for (int r = 0; r < MANIFEST_BOB_COUNT; ++r) {
      const ManifestEntry& e = asset_manifest[r];
      if (e.file && !Load_Bitmap_File(&bitmap, Run_Path(e.file).c_str())) continue;
      if (!bitmap.buffer) continue;
      Create_BOB(&bobs[r], 0, 0, e.width, e.height, e.frame_count, e.attributes, DDSCAPS_SYSTEMMEMORY);
      for (int f = 0; f < e.frame_count; ++f)
        Load_Frame_BOB(&bobs[r], &bitmap, f, e.frames[f].cx, e.frames[f].cy, e.mode);
      loaded[r] = true;
    }
    Unload_Bitmap_File(&bitmap);
  }
  ~Art() {
    for (int r = 0; r < MANIFEST_BOB_COUNT; ++r)
      if (loaded[r]) Destroy_BOB(&bobs[r]);
  }
};

inline Art& The_Art() {
  static Art art;
  return art;
}

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

inline Frame Get(const char* bob, int frame) {
  int r = Manifest_Find(bob);
  Art& art = The_Art();
  Frame f;
  if (r < 0 || !art.loaded[r] || frame >= asset_manifest[r].frame_count) return f;
  f.s = art.bobs[r].frames[frame];
  f.w = asset_manifest[r].width;
  f.h = asset_manifest[r].height;
  return f;
}

#define ASSERT_FRAME(f) ASSERT_NE((f).s, nullptr) << "frame not loaded"

}  // namespace art_test

// Helpers of the graphics tests: owned surfaces, pixel counts, and .bmp files built in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/display.h"
#include "tests/support/files.h"

struct SurfaceDeleter {
  void operator()(Surface* s) const { Release_Surface(s); }
};
using SurfacePtr = std::unique_ptr<Surface, SurfaceDeleter>;

// A bitmap file record unloaded with the object.
struct BitmapRecord {
  BitmapFile file{};
  ~BitmapRecord() { Unload_Bitmap_File(&file); }
};

inline SurfacePtr Make_Surface(int width, int height, uint16_t fill = 0) {
  SurfacePtr s(Create_Surface(width, height, 0));
  if (s) Fill_Surface(s.get(), fill);
  return s;
}

inline uint16_t& Pixel(Surface* s, int x, int y) {
  return s->pixels[static_cast<size_t>(y) * (s->pitch / 2) + x];
}

// How many pixels of the surface hold the value.
inline int Count(Surface* s, uint16_t value) {
  int n = 0;
  for (int y = 0; y < s->height; ++y) {
    for (int x = 0; x < s->width; ++x) n += Pixel(s, x, y) == value;
  }
  return n;
}

using test_support::Read_File;
using test_support::TempDir;

inline void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  v[at] = x & 0xFF;
  v[at + 1] = (x >> 8) & 0xFF;
}
inline void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = (x >> (8 * i)) & 0xFF;
}

// A .bmp file: rows bottom-up, each filled to 4 bytes; byte(x, y, k) gives byte k of pixel (x, y),
// y counted from the top. 8-bit files carry a 256-entry colour table of blue i, green 2i, red 3i.
inline std::vector<uint8_t> Make_Bmp(int width, int height, int bpp,
                                     const std::function<uint8_t(int, int, int)>& byte) {
  int bytes = bpp / 8;
  size_t stride = (static_cast<size_t>(width) * bytes + 3) & ~size_t{3};
  size_t table = bpp == 8 ? 1024 : 0;
  std::vector<uint8_t> v(54 + table + stride * height, 0);
  v[0] = 'B';
  v[1] = 'M';
  Put32(v, 2, static_cast<uint32_t>(v.size()));
  Put32(v, 10, static_cast<uint32_t>(54 + table));
  Put32(v, 14, 40);
  Put32(v, 18, static_cast<uint32_t>(width));
  Put32(v, 22, static_cast<uint32_t>(height));
  Put16(v, 26, 1);
  Put16(v, 28, static_cast<uint32_t>(bpp));
  for (size_t i = 0; i < table / 4; ++i) {
    v[54 + 4 * i] = static_cast<uint8_t>(i);
    v[54 + 4 * i + 1] = static_cast<uint8_t>(2 * i);
    v[54 + 4 * i + 2] = static_cast<uint8_t>(3 * i);
    v[54 + 4 * i + 3] = 0xEE;
  }
  for (int y = 0; y < height; ++y) {
    size_t row = 54 + table + stride * static_cast<size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      for (int k = 0; k < bytes; ++k) v[row + static_cast<size_t>(x) * bytes + k] = byte(x, y, k);
    }
  }
  return v;
}

inline bool Write_File(const std::string& path, const std::vector<uint8_t>& bytes) {
  return test_support::Write_File(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

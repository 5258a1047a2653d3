// The bitmap reader fed arbitrary bytes, then every frame of the asset manifest cut from what it
// loaded, as start-up does. What loads must match the file's own bytes, pixel for pixel.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "graphics/bitmap.h"
#include "graphics/bob.h"
#include "graphics/display.h"
#include "common/asset_manifest.h"

namespace {

uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Byte `offset` of the packed top-down buffer the loader should have made, found in the file itself:
// rows filled to 4 bytes, bottom row first, ending the file. Past the buffer: 0.
uint32_t Packed_Byte(const uint8_t* data, size_t size, int64_t width, int64_t height, int64_t bpp,
                     int64_t offset) {
  const int64_t row_bytes = width * bpp;
  if (offset < 0 || offset >= row_bytes * height) return 0;
  const int64_t stride = (row_bytes + 3) & ~int64_t{3};
  const int64_t row = offset / row_bytes, column = offset % row_bytes;
  const int64_t first = static_cast<int64_t>(size) - stride * height;
  return data[first + (height - 1 - row) * stride + column];
}

// The 28 BOBs of the manifest, made once with their real sizes and frame counts.
BOB* Manifest_Bobs() {
  static BOB bobs[MANIFEST_BOB_COUNT];
  static bool made = false;
  if (!made) {
    for (int r = 0; r < MANIFEST_BOB_COUNT; ++r) {
      const ManifestEntry& e = asset_manifest[r];
      FUZZ_CHECK(Create_BOB(&bobs[r], 0, 0, e.width, e.height, e.frame_count, e.attributes,
                            DDSCAPS_SYSTEMMEMORY) == 1);
    }
    made = true;
  }
  return bobs;
}

// Frame f of the BOB cut at file pixel (px, py): each surface pixel from the three bytes at its place.
void Check_Frame(const BOB& bob, int frame, int32_t px, int32_t py, const uint8_t* data, size_t size,
                 const BITMAPINFOHEADER& info) {
  const int64_t bpp = info.biBitCount / 8;
  const Surface* s = bob.frames[frame];
  // Corners and centre are enough to catch a wrong row, column or stride.
  const int xs[] = {0, bob.width / 2, bob.width - 1};
  const int ys[] = {0, bob.height / 2, bob.height - 1};
  for (int y : ys) {
    for (int x : xs) {
      const int64_t at = (int64_t{py} + y) * info.biWidth * bpp + (int64_t{px} + x) * bpp;
      const uint32_t b0 = Packed_Byte(data, size, info.biWidth, info.biHeight, bpp, at);
      const uint32_t b1 = Packed_Byte(data, size, info.biWidth, info.biHeight, bpp, at + 1);
      const uint32_t b2 = Packed_Byte(data, size, info.biWidth, info.biHeight, bpp, at + 2);
      const uint16_t expected = static_cast<uint16_t>((b0 >> 3) + ((b1 >> 3) << 6) + ((b2 >> 3) << 11));
      const uint16_t got = s->pixels[static_cast<size_t>(y) * (s->pitch / 2) + x];
      FUZZ_CHECK(got == expected);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One work record for every input, as start-up keeps one for every file.
  static BitmapFile bitmap{};
  BOB* bobs = Manifest_Bobs();

  const uint8_t* before = bitmap.buffer;
  if (Load_Bitmap_Memory(&bitmap, data, size) != 1) {
    FUZZ_CHECK(bitmap.buffer == before);  // a refused file leaves the last pixels alone
    return 0;
  }
  // Accepted: a well-formed header of a depth the game reads, and all the pixels it promises.
  FUZZ_CHECK(size >= 54 && data[0] == 'B' && data[1] == 'M');
  FUZZ_CHECK(U32(data + 30) == 0);
  const BITMAPINFOHEADER& info = bitmap.bitmapinfoheader;
  FUZZ_CHECK(info.biBitCount == 8 || info.biBitCount == 16 || info.biBitCount == 24);
  FUZZ_CHECK(info.biWidth > 0 && info.biHeight > 0);
  const uint64_t bpp = info.biBitCount / 8;
  const uint64_t packed = uint64_t(info.biWidth) * bpp * uint64_t(info.biHeight);
  FUZZ_CHECK(info.biSizeImage == packed && bitmap.buffer != nullptr);
  const uint64_t stride = (uint64_t(info.biWidth) * bpp + 3) & ~uint64_t{3};
  FUZZ_CHECK(stride * uint64_t(info.biHeight) + 54 + (bpp == 1 ? 1024 : 0) <= size);
  if (bpp == 1) {
    for (int i = 0; i < 256; ++i) {
      FUZZ_CHECK(bitmap.palette[i].peRed == data[54 + 4 * i + 2]);
      FUZZ_CHECK(bitmap.palette[i].peBlue == data[54 + 4 * i]);
      FUZZ_CHECK(bitmap.palette[i].peFlags == PC_NOCOLLAPSE);
    }
  }
  // The first and the last byte of the buffer, read through the record (ASan checks the rest).
  FUZZ_CHECK(bitmap.buffer[0] == Packed_Byte(data, size, info.biWidth, info.biHeight, bpp, 0));
  FUZZ_CHECK(bitmap.buffer[packed - 1] ==
             Packed_Byte(data, size, info.biWidth, info.biHeight, bpp, static_cast<int64_t>(packed) - 1));

  for (int r = 0; r < MANIFEST_BOB_COUNT; ++r) {
    const ManifestEntry& e = asset_manifest[r];
    for (int f = 0; f < e.frame_count; ++f) {
      int32_t px = 0, py = 0;
      Manifest_Frame_Pixel(r, f, &px, &py);
      const bool fits = int64_t{px} + e.width <= info.biWidth && int64_t{py} + e.height <= info.biHeight;
      const int loaded = Load_Frame_BOB(&bobs[r], &bitmap, f, e.frames[f].cx, e.frames[f].cy, e.mode);
      FUZZ_CHECK(loaded == (fits ? 1 : 0));
      if (loaded == 1) Check_Frame(bobs[r], f, px, py, data, size, info);
    }
  }
  return 0;
}

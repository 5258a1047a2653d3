// Windows .bmp files read into a BitmapFile record (rows top-down), and small 8-bit Image records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/display.h"

#pragma pack(push, 1)
struct BITMAPFILEHEADER {
  uint16_t bfType;
  uint32_t bfSize;
  uint16_t bfReserved1;
  uint16_t bfReserved2;
  uint32_t bfOffBits;
};
struct BITMAPINFOHEADER {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14 && sizeof(BITMAPINFOHEADER) == 40);

struct BitmapFile {
  BITMAPFILEHEADER bitmapfileheader;
  BITMAPINFOHEADER bitmapinfoheader;
  PALETTEENTRY palette[256];
  uint8_t* buffer;  // null when empty; rows top-down, width * bytes-per-pixel bytes each, packed
};

struct Image {
  int32_t state;
  int32_t attributes;  // 0x80: ready to draw
  int32_t x, y;
  int32_t width, height;
  int32_t num_bytes;
  uint8_t* buffer;
};

int Load_Bitmap_File(BitmapFile* bitmap, const char* filename);
// The same from bytes in memory (the file-taking call reads the file and hands it here).
int Load_Bitmap_Memory(BitmapFile* bitmap, const uint8_t* data, size_t size);
int Unload_Bitmap_File(BitmapFile* bitmap);
int Flip_Bitmap(uint8_t* image, int bytes_per_line, int height);
int Create_Image(Image* image, int x, int y, int width, int height);
int Destroy_Image(Image* image);
int Draw_Image(Image* image, uint8_t* dest, int pitch, int transparent);

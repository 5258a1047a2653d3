// The .bmp reader (uncompressed, bottom-up, 8/16/24 bits) and the 8-bit Image record.
#include "graphics/bitmap.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace {

constexpr size_t HEADERS_SIZE = 14 + 40;
constexpr size_t COLOR_TABLE_SIZE = 256 * 4;
constexpr long MAX_FILE_SIZE = 1L << 30;

uint16_t Read_U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Read_U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void Read_Headers(const uint8_t* data, BITMAPFILEHEADER* file, BITMAPINFOHEADER* info) {
  file->bfType = Read_U16(data);
  file->bfSize = Read_U32(data + 2);
  file->bfReserved1 = Read_U16(data + 6);
  file->bfReserved2 = Read_U16(data + 8);
  file->bfOffBits = Read_U32(data + 10);
  const uint8_t* p = data + 14;
  info->biSize = Read_U32(p);
  info->biWidth = static_cast<int32_t>(Read_U32(p + 4));
  info->biHeight = static_cast<int32_t>(Read_U32(p + 8));
  info->biPlanes = Read_U16(p + 12);
  info->biBitCount = Read_U16(p + 14);
  info->biCompression = Read_U32(p + 16);
  info->biSizeImage = Read_U32(p + 20);
  info->biXPelsPerMeter = static_cast<int32_t>(Read_U32(p + 24));
  info->biYPelsPerMeter = static_cast<int32_t>(Read_U32(p + 28));
  info->biClrUsed = Read_U32(p + 32);
  info->biClrImportant = Read_U32(p + 36);
}

}  // namespace

int Load_Bitmap_Memory(BitmapFile* bitmap, const uint8_t* data, size_t size) {
  if (bitmap == nullptr || data == nullptr || size < HEADERS_SIZE) return 0;
  BITMAPFILEHEADER file;
  BITMAPINFOHEADER info;
  Read_Headers(data, &file, &info);
  if (file.bfType != 0x4D42) return 0;
  // Refused: compressed or bit-field data, other depths, top-down rows, empty pictures.
  if (info.biCompression != 0) return 0;
  if (info.biBitCount != 8 && info.biBitCount != 16 && info.biBitCount != 24) return 0;
  if (info.biWidth <= 0 || info.biHeight <= 0) return 0;

  uint64_t bytes_per_pixel = info.biBitCount / 8;
  uint64_t row_bytes = static_cast<uint64_t>(info.biWidth) * bytes_per_pixel;
  uint64_t stride = (row_bytes + 3) & ~uint64_t{3};  // rows in the file are filled to 4 bytes
  uint64_t packed = row_bytes * static_cast<uint64_t>(info.biHeight);
  if (packed > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return 0;
  uint64_t header_bytes = HEADERS_SIZE + (info.biBitCount == 8 ? COLOR_TABLE_SIZE : 0);
  uint64_t file_pixels = stride * static_cast<uint64_t>(info.biHeight);
  if (header_bytes > size || file_pixels > size - header_bytes) return 0;  // shorter than it says

  delete[] bitmap->buffer;
  bitmap->buffer = nullptr;
  uint8_t* buffer = new (std::nothrow) uint8_t[packed];
  if (buffer == nullptr) return 0;

  bitmap->bitmapfileheader = file;
  bitmap->bitmapinfoheader = info;
  bitmap->bitmapinfoheader.biSizeImage = static_cast<uint32_t>(packed);
  if (info.biBitCount == 8) {
    const uint8_t* table = data + HEADERS_SIZE;
    for (int i = 0; i < 256; ++i) {
      PALETTEENTRY& e = bitmap->palette[i];
      e.peRed = table[4 * i + 2];
      e.peGreen = table[4 * i + 1];
      e.peBlue = table[4 * i];
      e.peFlags = PC_NOCOLLAPSE;
    }
  }
  // The pixel rows end the file, the bottom row first; they are stored top row first.
  const uint8_t* pixels = data + (size - file_pixels);
  uint64_t height = static_cast<uint64_t>(info.biHeight);
  for (uint64_t r = 0; r < height; ++r) {
    std::memcpy(buffer + (height - 1 - r) * row_bytes, pixels + r * stride, row_bytes);
  }
  bitmap->buffer = buffer;
  return 1;
}

int Load_Bitmap_File(BitmapFile* bitmap, const char* filename) {
  if (bitmap == nullptr || filename == nullptr) return 0;
  FILE* f = std::fopen(filename, "rb");
  if (f == nullptr) return 0;
  std::vector<uint8_t> bytes;
  long length = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
  if (length >= 0 && length <= MAX_FILE_SIZE && std::fseek(f, 0, SEEK_SET) == 0) {
    bytes.resize(static_cast<size_t>(length));
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) length = -1;
  } else {
    length = -1;
  }
  std::fclose(f);
  if (length < 0) return 0;
  return Load_Bitmap_Memory(bitmap, bytes.data(), bytes.size());
}

int Unload_Bitmap_File(BitmapFile* bitmap) {
  if (bitmap == nullptr) return 0;
  delete[] bitmap->buffer;
  bitmap->buffer = nullptr;
  return 1;
}

int Flip_Bitmap(uint8_t* image, int bytes_per_line, int height) {
  if (image == nullptr || bytes_per_line < 0 || height < 0) return 0;
  size_t row = static_cast<size_t>(bytes_per_line);
  size_t rows = static_cast<size_t>(height);
  uint8_t* copy = new (std::nothrow) uint8_t[row * rows];
  if (copy == nullptr) return 0;
  std::memcpy(copy, image, row * rows);
  for (size_t i = 0; i < rows; ++i) std::memcpy(image + (rows - 1 - i) * row, copy + i * row, row);
  delete[] copy;
  return 1;
}

int Create_Image(Image* image, int x, int y, int width, int height) {
  if (image == nullptr || width <= 0 || height <= 0 ||
      static_cast<int64_t>(width) * height > std::numeric_limits<int32_t>::max()) {
    return 0;
  }
  uint8_t* buffer = new (std::nothrow) uint8_t[static_cast<size_t>(width) * height]();
  if (buffer == nullptr) {
    image->buffer = nullptr;
    return 0;
  }
  image->buffer = buffer;
  image->state = 1;
  image->attributes = 0;
  image->x = x;
  image->y = y;
  image->width = width;
  image->height = height;
  image->num_bytes = width * height;
  return 1;
}

int Destroy_Image(Image* image) {
  if (image == nullptr || image->buffer == nullptr) return 0;
  delete[] image->buffer;
  *image = Image{};
  return 1;
}

int Draw_Image(Image* image, uint8_t* dest, int pitch, int transparent) {
  if (image == nullptr || dest == nullptr || image->buffer == nullptr || !(image->attributes & 0x80))
    return 0;
  uint8_t* d = dest + static_cast<ptrdiff_t>(image->y) * pitch + image->x;
  const uint8_t* s = image->buffer;
  for (int row = 0; row < image->height; ++row, d += pitch, s += image->width) {
    if (transparent) {
      for (int i = 0; i < image->width; ++i) {
        if (s[i] != 0) d[i] = s[i];
      }
    } else {
      std::memcpy(d, s, static_cast<size_t>(image->width));
    }
  }
  return 1;
}

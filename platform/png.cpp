// PNG writing with libpng: 24-bit RGB, rows top-down.
#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "platform/platform.h"

int Platform_Write_PNG(const char* path, const uint8_t* rgb, int width, int height) {
  if (!path || !rgb || width <= 0 || height <= 0 || width > 0x7FFFFF / 3 || height > 0x7FFFFF) return 0;
  FILE* file = std::fopen(path, "wb");
  if (!file) return 0;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(file);
    return 0;
  }
  // volatile: read after a longjmp back here.
  FILE* volatile open_file = file;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(open_file);
    std::remove(path);
    return 0;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, const_cast<png_bytep>(rgb + static_cast<size_t>(y) * static_cast<size_t>(width) * 3));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  bool ok = std::fflush(file) == 0;
  ok = (std::fclose(file) == 0) && ok;
  if (!ok) std::remove(path);
  return ok ? 1 : 0;
}

// PNG writing with libpng: 24-bit RGB, rows top-down, encoded in memory and then written atomically,
// so a failed write never harms what stands at the path.
#include <png.h>

#include <csetjmp>
#include <string>

#include "platform/platform.h"

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void No_Flush(png_structp) {}

// The PNG file's bytes; false when libpng fails.
bool Encode(const uint8_t* rgb, int width, int height, std::string* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, Append, No_Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, const_cast<png_bytep>(rgb + static_cast<size_t>(y) * static_cast<size_t>(width) * 3));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

int Platform_Write_PNG(const char* path, const uint8_t* rgb, int width, int height, std::string* error) {
  std::string ignored;
  std::string& why = error ? *error : ignored;
  if (!path || !rgb || width <= 0 || height <= 0 || width > 0x7FFFFF / 3 || height > 0x7FFFFF) {
    why = "no picture to write";
    return 0;
  }
  std::string bytes;
  if (!Encode(rgb, width, height, &bytes)) {
    why = "the picture cannot be encoded";
    return 0;
  }
  return Platform_Write_File_Atomic(path, bytes, &why);
}

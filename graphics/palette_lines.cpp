// Palette entries kept in step between the palette object and shadow_palette, palette text files, and
// the region-code line clipper with the 8-bit line and pixel writers.
#include "graphics/palette_lines.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

const PALETTEENTRY black_palette[256] = {};

int Set_Palette_Entry(int index, const PALETTEENTRY* entry) {
  if (entry == nullptr || index < 0 || index > 255) return 0;
  if (display.dd_palette != nullptr) display.dd_palette->entries[index] = *entry;
  display.shadow_palette[index] = *entry;
  return 1;
}

int Get_Palette_Entry(int index, PALETTEENTRY* entry) {
  if (entry == nullptr || index < 0 || index > 255) return 0;
  *entry = display.shadow_palette[index];
  return 1;
}

int Set_Palette(const PALETTEENTRY* palette) {
  if (palette == nullptr) return 0;
  std::memmove(display.shadow_palette, palette, sizeof display.shadow_palette);
  if (display.dd_palette != nullptr) {
    std::memcpy(display.dd_palette->entries, display.shadow_palette, sizeof display.shadow_palette);
  }
  return 1;
}

int Get_Palette(PALETTEENTRY* palette) {
  if (palette == nullptr) return 0;
  std::memmove(palette, display.shadow_palette, sizeof display.shadow_palette);
  return 1;
}

int Rotate_Colors(int start_index, int count) {
  if (start_index < 0 || count < 1 || start_index > 256 - count) return 0;
  // Without a palette object (no display) the shadow palette is the only table.
  PALETTEENTRY* table = display.dd_palette ? display.dd_palette->entries : display.shadow_palette;
  PALETTEENTRY last = table[start_index + count - 1];
  std::memmove(table + start_index + 1, table + start_index, static_cast<size_t>(count - 1) * sizeof *table);
  table[start_index] = last;
  if (table != display.shadow_palette)
    std::memcpy(display.shadow_palette, table, sizeof display.shadow_palette);
  return 1;
}

namespace {

// Reads the next decimal integer (any white space before it); false at the end or on other text.
bool Next_Integer(const char*& p, long long* value) {
  while (*p != '\0' && std::isspace(static_cast<unsigned char>(*p))) ++p;
  if (*p == '\0') return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(p, &end, 10);
  if (end == p) return false;
  p = end;
  *value = v;
  return true;
}

}  // namespace

int Load_Palette_File(const char* filename, PALETTEENTRY* palette) {
  if (filename == nullptr || palette == nullptr) return 0;
  FILE* f = std::fopen(filename, "r");
  if (f == nullptr) return 0;
  std::string text;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && text.size() < (1u << 20)) text.append(chunk, n);
  std::fclose(f);
  // Entries are taken while all four numbers read; a short file leaves the rest as they were.
  const char* p = text.c_str();
  for (int i = 0; i < 256; ++i) {
    long long v[4];
    if (!Next_Integer(p, &v[0]) || !Next_Integer(p, &v[1]) || !Next_Integer(p, &v[2]) ||
        !Next_Integer(p, &v[3])) {
      break;
    }
    palette[i] = PALETTEENTRY{static_cast<uint8_t>(v[0] & 0xFF), static_cast<uint8_t>(v[1] & 0xFF),
                              static_cast<uint8_t>(v[2] & 0xFF), static_cast<uint8_t>(v[3] & 0xFF)};
  }
  return 1;
}

int Save_Palette_File(const char* filename, const PALETTEENTRY* palette) {
  if (filename == nullptr || palette == nullptr) return 0;
  FILE* f = std::fopen(filename, "w");
  if (f == nullptr) return 0;
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY& e = palette[i];
    std::fprintf(f, "\n%u %u %u %u", unsigned{e.peRed}, unsigned{e.peGreen}, unsigned{e.peBlue},
                 unsigned{e.peFlags});
  }
  bool failed = std::ferror(f) != 0;
  if (std::fclose(f) != 0) failed = true;
  return failed ? 0 : 1;
}

namespace {

enum : int { CLIP_NORTH = 8, CLIP_SOUTH = 4, CLIP_WEST = 1, CLIP_EAST = 2 };

int Region_Code(int x, int y) {
  int code = 0;
  if (y < display.clip_min_y) {
    code = CLIP_NORTH;
  } else if (y > display.clip_max_y) {
    code = CLIP_SOUTH;
  }
  if (x < display.clip_min_x) {
    code |= CLIP_WEST;
  } else if (x > display.clip_max_x) {
    code |= CLIP_EAST;
  }
  return code;
}

// 32-bit two's-complement wrap of a value, as the product and differences are computed in int.
int64_t Wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

// Q(a, b): the integer quotient of the 32-bit product a1 * a2 by b, truncated toward zero.
bool Quotient(int64_t a1, int64_t a2, int64_t b, int64_t* q) {
  int64_t a = Wrap32(Wrap32(a1) * Wrap32(a2));
  b = Wrap32(b);
  if (b == 0) return false;
  *q = a / b;  // 64-bit, so INT_MIN / -1 stays defined
  return true;
}

// T(base + 1/2 + q): the half added in double precision, then truncated toward zero.
int64_t Half_Truncated(int64_t base, int64_t q) {
  return static_cast<int64_t>(std::trunc(static_cast<double>(base) + 0.5 + static_cast<double>(q)));
}

// Clips point (px, py) of the segment towards (ox, oy) by its region code. `rounded` selects the
// half-and-truncate form for the single edges (the first point); corners always use it. A point
// that cannot be computed is put far outside, so the segment is rejected.
void Clip_Point(int code, int64_t px, int64_t py, int64_t ox, int64_t oy, bool rounded, int64_t* rx,
                int64_t* ry) {
  const int64_t outside = int64_t{1} << 40;
  auto horizontal = [&](int64_t edge, bool half) {  // against a top or bottom edge
    int64_t q;
    *ry = edge;
    if (!Quotient(edge - py, ox - px, oy - py, &q)) {
      *rx = outside;
    } else {
      *rx = half ? Half_Truncated(px, q) : px + q;
    }
  };
  auto vertical = [&](int64_t edge, bool half) {  // against a left or right edge
    int64_t q;
    *rx = edge;
    if (!Quotient(edge - px, oy - py, ox - px, &q)) {
      *ry = outside;
    } else {
      *ry = half ? Half_Truncated(py, q) : py + q;
    }
  };
  auto off_x = [&] { return *rx < display.clip_min_x || *rx > display.clip_max_x; };
  *rx = px;
  *ry = py;
  switch (code) {
    case 0:
      break;
    case CLIP_NORTH:
      horizontal(display.clip_min_y, rounded);
      break;
    case CLIP_SOUTH:
      horizontal(display.clip_max_y, rounded);
      break;
    case CLIP_WEST:
      vertical(display.clip_min_x, rounded);
      break;
    case CLIP_EAST:
      vertical(display.clip_max_x, rounded);
      break;
    case CLIP_NORTH | CLIP_EAST:
      horizontal(display.clip_min_y, true);
      if (off_x()) vertical(display.clip_max_x, true);
      break;
    case CLIP_SOUTH | CLIP_EAST:
      horizontal(display.clip_max_y, true);
      if (off_x()) vertical(display.clip_max_x, true);
      break;
    case CLIP_NORTH | CLIP_WEST:
      horizontal(display.clip_min_y, true);
      if (off_x()) vertical(display.clip_min_x, true);
      break;
    case CLIP_SOUTH | CLIP_WEST:
      horizontal(display.clip_max_y, true);
      if (off_x()) vertical(display.clip_min_x, true);
      break;
    default:
      break;
  }
}

}  // namespace

int Clip_Line(int& x0, int& y0, int& x1, int& y1) {
  int code0 = Region_Code(x0, y0), code1 = Region_Code(x1, y1);
  if (code0 & code1) return 0;
  if (code0 == 0 && code1 == 0) return 1;
  int64_t nx0, ny0, nx1, ny1;
  Clip_Point(code0, x0, y0, x1, y1, true, &nx0, &ny0);
  Clip_Point(code1, x1, y1, x0, y0, false, &nx1, &ny1);
  auto in_x = [](int64_t x) { return x >= display.clip_min_x && x <= display.clip_max_x; };
  auto in_y = [](int64_t y) { return y >= display.clip_min_y && y <= display.clip_max_y; };
  if (!in_x(nx0) || !in_x(nx1) || !in_y(ny0) || !in_y(ny1)) return 0;
  x0 = static_cast<int>(nx0);
  y0 = static_cast<int>(ny0);
  x1 = static_cast<int>(nx1);
  y1 = static_cast<int>(ny1);
  return 1;
}

int Draw_Line(int x0, int y0, int x1, int y1, uint8_t color, uint8_t* buffer, int pitch) {
  if (buffer == nullptr) return 0;
  ptrdiff_t at = static_cast<ptrdiff_t>(y0) * pitch + x0;
  int64_t dx = int64_t{x1} - x0, dy = int64_t{y1} - y0;
  ptrdiff_t x_step = 1, y_step = pitch;
  if (dx < 0) {
    x_step = -1;
    dx = -dx;
  }
  if (dy < 0) {
    y_step = -y_step;
    dy = -dy;
  }
  int64_t error = 0;
  if (dx > dy) {
    for (int64_t i = 0; i <= dx; ++i, at += x_step) {
      buffer[at] = color;
      error += dy;
      if (error > dx) {
        error -= dx;
        at += y_step;
      }
    }
  } else {
    for (int64_t i = 0; i <= dy; ++i, at += y_step) {
      buffer[at] = color;
      error += dx;
      if (error > 0) {
        error -= dy;
        at += x_step;
      }
    }
  }
  return 1;
}

int Draw_Clip_Line(int x0, int y0, int x1, int y1, uint8_t color, uint8_t* buffer, int pitch) {
  if (Clip_Line(x0, y0, x1, y1)) Draw_Line(x0, y0, x1, y1, color, buffer, pitch);
  return 1;
}

int Draw_Pixel(int x, int y, uint8_t color, uint8_t* buffer, int pitch) {
  if (buffer == nullptr) return 0;
  buffer[static_cast<ptrdiff_t>(y) * pitch + x] = color;
  return 1;
}

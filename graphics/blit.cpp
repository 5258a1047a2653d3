// The device's rectangle blit. A straightforward per-pixel reference path and row-wise fast paths
// that must give the same pixels; blit_force_reference selects the reference for comparisons.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "graphics/display.h"
#include "graphics/row_kernel.h"

bool blit_force_reference = false;

namespace {

// Nearest-neighbour mapping of one axis: destination d samples source s0 + the source position of
// the centre of d, so equal sizes map one to one.
struct Axis {
  int64_t d0, dw, s0, sw;
  int Map(int64_t d) const { return static_cast<int>(s0 + ((2 * (d - d0) + 1) * sw) / (2 * dw)); }
  // Map for equal sizes, where ((2k + 1) w) / (2w) is k: no division.
  int Map_Same(int64_t d) const { return static_cast<int>(s0 + (d - d0)); }
};

// Source pixels p with (p - low) mod 2^16 <= span are transparent.
struct Key {
  bool on;
  uint16_t low, span;
  bool Skips(uint16_t p) const { return on && static_cast<uint16_t>(p - low) <= span; }
};

struct View {
  const uint16_t* pixels;
  int words;  // pitch in pixels
  const uint16_t* Row(int y) const { return pixels + static_cast<size_t>(y) * words; }
};

void Blit_Reference(Surface* dest, const RECT& c, View src, const Axis& ax, const Axis& ay, Key key) {
  int words = dest->pitch / 2;
  for (int y = c.top; y < c.bottom; ++y) {
    const uint16_t* s = src.Row(ay.Map(y));
    uint16_t* d = dest->pixels + static_cast<size_t>(y) * words;
    for (int x = c.left; x < c.right; ++x) {
      uint16_t p = s[ax.Map(x)];
      if (!key.Skips(p)) d[x] = p;
    }
  }
}

// Walks Axis::Map over successive destination positions without a division per step.
struct Axis_Walk {
  int64_t q, r, dq, dr, den;
  Axis_Walk(const Axis& a, int64_t d) : den(2 * a.dw) {
    int64_t num = (2 * (d - a.d0) + 1) * a.sw;
    q = a.s0 + num / den;
    r = num % den;
    dq = (2 * a.sw) / den;
    dr = (2 * a.sw) % den;
  }
  int Next() {
    int v = static_cast<int>(q);
    q += dq;
    r += dr;
    if (r >= den) {
      r -= den;
      ++q;
    }
    return v;
  }
};

// Keyed rectangles, written as unconditional selects so that they vectorise; the AVX2 copy is
// picked at start-up where the processor has it, once per blit. With the key 0 alone, transparent
// source pixels are 0, so the select is (dest where the source is 0) or source. It may run twice
// over a pixel with the same result, so rows of 16 or more go in blocks of 16, the last one ending
// at the row's end: no scalar remainder for widths such as 31.
inline __attribute__((always_inline)) void Select_16(uint16_t* __restrict d, const uint16_t* __restrict s) {
  for (int i = 0; i < 16; ++i) d[i] = static_cast<uint16_t>((s[i] == 0 ? d[i] : 0) | s[i]);
}

ROW_KERNEL void Rect_Keyed_Zero(uint16_t* __restrict d, ptrdiff_t d_words, const uint16_t* __restrict s,
                                ptrdiff_t s_words, int n, int rows) {
  if (n == 32) {
    for (int y = 0; y < rows; ++y, d += d_words, s += s_words) {
      Select_16(d, s);
      Select_16(d + 16, s + 16);
    }
  } else if (n >= 16) {
    for (int y = 0; y < rows; ++y, d += d_words, s += s_words) {
      for (int x = 0; x + 16 <= n; x += 16) Select_16(d + x, s + x);
      if (n % 16 != 0) Select_16(d + n - 16, s + n - 16);
    }
  } else {
    for (int y = 0; y < rows; ++y, d += d_words, s += s_words) {
      for (int i = 0; i < n; ++i) d[i] = static_cast<uint16_t>((s[i] == 0 ? d[i] : 0) | s[i]);
    }
  }
}

ROW_KERNEL void Rect_Keyed_Range(uint16_t* __restrict d, ptrdiff_t d_words, const uint16_t* __restrict s,
                                 ptrdiff_t s_words, int n, int rows, uint16_t low, uint16_t span) {
  for (int y = 0; y < rows; ++y, d += d_words, s += s_words) {
    for (int i = 0; i < n; ++i) d[i] = static_cast<uint16_t>(s[i] - low) <= span ? d[i] : s[i];
  }
}

void Rect_Copy(uint16_t* d, ptrdiff_t d_words, const uint16_t* s, ptrdiff_t s_words, int n, int rows) {
  for (int y = 0; y < rows; ++y, d += d_words, s += s_words) std::memcpy(d, s, static_cast<size_t>(n) * 2);
}

void Row_Stretch(uint16_t* __restrict d, const uint16_t* __restrict s, const int* __restrict xs, int n) {
  for (int i = 0; i < n; ++i) d[i] = s[xs[i]];
}

void Row_Stretch_Keyed(uint16_t* __restrict d, const uint16_t* __restrict s, const int* __restrict xs, int n,
                       Key key) {
  for (int i = 0; i < n; ++i) {
    uint16_t p = s[xs[i]];
    d[i] = static_cast<uint16_t>(p - key.low) <= key.span ? d[i] : p;
  }
}

// The clipped rectangle c of the destination from equally sized source pixels starting at s.
void Draw_Rect(Surface* dest, const RECT& c, const uint16_t* s, int s_words, Key key) {
  const int words = dest->pitch / 2;
  uint16_t* d = dest->pixels + static_cast<ptrdiff_t>(c.top) * words + c.left;
  const int n = c.right - c.left, rows = c.bottom - c.top;
  if (!key.on) {
    Rect_Copy(d, words, s, s_words, n, rows);
  } else if (key.low == 0 && key.span == 0) {
    Rect_Keyed_Zero(d, words, s, s_words, n, rows);
  } else {
    Rect_Keyed_Range(d, words, s, s_words, n, rows, key.low, key.span);
  }
}

void Blit_Fast(Surface* dest, const RECT& c, View src, const Axis& ax, const Axis& ay, Key key) {
  int words = dest->pitch / 2;
  int n = c.right - c.left;
  uint16_t* d = dest->pixels + static_cast<size_t>(c.top) * words + c.left;
  if (ax.sw == ax.dw && ay.sw == ay.dw) {
    Draw_Rect(dest, c, src.Row(ay.Map_Same(c.top)) + ax.Map_Same(c.left), src.words, key);
    return;
  }
  static std::vector<int> xs;
  xs.resize(static_cast<size_t>(n));
  Axis_Walk wx(ax, c.left);
  for (int i = 0; i < n; ++i) xs[static_cast<size_t>(i)] = wx.Next();
  Axis_Walk wy(ay, c.top);
  int previous_sy = -1;
  for (int y = c.top; y < c.bottom; ++y, d += words) {
    int sy = wy.Next();
    if (!key.on && sy == previous_sy) {
      std::memcpy(d, d - words, static_cast<size_t>(n) * 2);  // an enlarged row repeats the one above
      continue;
    }
    previous_sy = sy;
    if (key.on) {
      Row_Stretch_Keyed(d, src.Row(sy), xs.data(), n, key);
    } else {
      Row_Stretch(d, src.Row(sy), xs.data(), n);
    }
  }
}

// Scaled pictures kept for stretched blits. A picture is made when the same stretch of the same
// source pixels is asked for a second time, so sizes drawn once (a growing panel) cost nothing
// extra. Entries are keyed by the source's generation stamp, which no other surface or later state
// of the same surface ever has, so a changed or released source can never be served.
struct ScaledPicture {
  uint64_t generation = 0;
  int64_t sx = 0, sw = 0, sy = 0, sh = 0;  // source rectangle
  int64_t dw = 0, dh = 0;                  // drawn size
  std::unique_ptr<uint16_t[]> pixels;      // null until made
  size_t bytes = 0;
};

constexpr size_t MAX_PICTURES = 24;
constexpr size_t MAX_SEEN = 8;
constexpr int64_t MAX_PICTURE_PIXELS = int64_t{1} << 20;  // larger stretches are drawn directly
constexpr size_t MAX_PICTURE_BYTES = size_t{8} << 20;

std::vector<ScaledPicture> pictures;  // most recently used first
ScaleCacheStats cache_stats;

// Drops the least recently used entries beyond the limits. Stretches seen once and pictures made
// are limited apart, so a run of one-off sizes (a growing panel) never pushes out a picture in use.
void Trim_Pictures() {
  auto drop_last = [](bool made) {
    for (auto p = pictures.end(); p != pictures.begin();) {
      --p;
      if ((p->pixels != nullptr) != made) continue;
      cache_stats.bytes -= p->bytes;
      pictures.erase(p);
      return;
    }
  };
  auto count = [](bool made) {
    return static_cast<size_t>(
        std::count_if(pictures.begin(), pictures.end(),
                      [made](const ScaledPicture& p) { return (p.pixels != nullptr) == made; }));
  };
  while (count(false) > MAX_SEEN) drop_last(false);
  while (count(true) > MAX_PICTURES || cache_stats.bytes > MAX_PICTURE_BYTES) drop_last(true);
  cache_stats.entries = count(true);
}

// The whole stretch of src by (ax, ay) into rows of ax.dw pixels.
void Scale_Into(uint16_t* out, View src, const Axis& ax, const Axis& ay) {
  const int n = static_cast<int>(ax.dw);
  std::vector<int> xs(static_cast<size_t>(n));
  Axis_Walk wx(ax, ax.d0);
  for (int i = 0; i < n; ++i) xs[static_cast<size_t>(i)] = wx.Next();
  Axis_Walk wy(ay, ay.d0);
  int previous_sy = -1;
  for (int64_t j = 0; j < ay.dw; ++j, out += n) {
    const int sy = wy.Next();
    if (sy == previous_sy) {
      std::memcpy(out, out - n, static_cast<size_t>(n) * 2);
    } else {
      Row_Stretch(out, src.Row(sy), xs.data(), n);
    }
    previous_sy = sy;
  }
}

// The kept picture of this stretch, made now if it was asked for before; null when there is none
// (first request, too large, or no memory) and the blit must stretch by itself.
const uint16_t* Scaled_Picture(const Surface* source, View src, const Axis& ax, const Axis& ay) {
  if (ax.dw > MAX_PICTURE_PIXELS || ay.dw > MAX_PICTURE_PIXELS || ax.dw * ay.dw > MAX_PICTURE_PIXELS)
    return nullptr;
  auto same = [&](const ScaledPicture& p) {
    return p.generation == source->generation && p.sx == ax.s0 && p.sw == ax.sw && p.sy == ay.s0 &&
           p.sh == ay.sw && p.dw == ax.dw && p.dh == ay.dw;
  };
  auto found = std::find_if(pictures.begin(), pictures.end(), same);
  if (found == pictures.end()) {
    ScaledPicture seen;
    seen.generation = source->generation;
    seen.sx = ax.s0, seen.sw = ax.sw, seen.sy = ay.s0, seen.sh = ay.sw, seen.dw = ax.dw, seen.dh = ay.dw;
    pictures.insert(pictures.begin(), std::move(seen));
    Trim_Pictures();
    return nullptr;
  }
  std::rotate(pictures.begin(), found, found + 1);
  ScaledPicture& picture = pictures.front();
  if (picture.pixels != nullptr) {
    ++cache_stats.hits;
    return picture.pixels.get();
  }
  const size_t count = static_cast<size_t>(ax.dw * ay.dw);
  picture.pixels.reset(new (std::nothrow) uint16_t[count]);
  if (picture.pixels == nullptr) return nullptr;
  Scale_Into(picture.pixels.get(), src, ax, ay);
  picture.bytes = count * 2;
  cache_stats.bytes += picture.bytes;
  ++cache_stats.builds;
  Trim_Pictures();  // the new picture is the most recent, and no single one is over the limits
  return picture.pixels.get();
}

bool Intersect(RECT a, const RECT& b, RECT* out) {
  a.left = std::max(a.left, b.left);
  a.top = std::max(a.top, b.top);
  a.right = std::min(a.right, b.right);
  a.bottom = std::min(a.bottom, b.bottom);
  *out = a;
  return a.left < a.right && a.top < a.bottom;
}

}  // namespace

int Blit_Surface(Surface* dest, const RECT* dest_rect, Surface* src, const RECT* src_rect, uint32_t flags) {
  if (dest == nullptr || src == nullptr || dest->pixels == nullptr || src->pixels == nullptr) return 0;
  if (dest->locked || src->locked) return 0;
  RECT s = src_rect ? *src_rect : RECT{0, 0, src->width, src->height};
  if (s.left < 0 || s.top < 0 || s.right > src->width || s.bottom > src->height || s.left >= s.right ||
      s.top >= s.bottom) {
    return 0;
  }
  RECT d = dest_rect ? *dest_rect : RECT{0, 0, dest->width, dest->height};
  if (d.left >= d.right || d.top >= d.bottom) return 0;
  Key key{false, 0, 0};
  if (flags & DDBLT_KEYSRC) {
    if (!src->has_color_key) return 0;
    key = Key{true, src->color_key_low, static_cast<uint16_t>(src->color_key_high - src->color_key_low)};
  }
  Axis ax{d.left, int64_t{d.right} - d.left, s.left, s.right - s.left};
  Axis ay{d.top, int64_t{d.bottom} - d.top, s.top, s.bottom - s.top};

  if (draw_trace_hook != nullptr) {
    DrawRecord record;
    record.dest = dest;
    record.dest_rect = d;
    record.src = src;
    record.src_rect = s;
    record.flags = flags;
    draw_trace_hook(record);
  }

  // Equal sizes from another surface, the common case, skip the mapping: destination pixel (x, y)
  // takes source pixel (x - d.left + s.left, y - d.top + s.top).
  if (!blit_force_reference && src != dest && ax.sw == ax.dw && ay.sw == ay.dw) {
    Touch_Surface(dest);
    const RECT bounds{0, 0, dest->width, dest->height};
    const int src_words = src->pitch / 2;
    auto part = [&](const RECT& clip) {
      RECT c;
      if (!Intersect(d, bounds, &c) || !Intersect(c, clip, &c)) return;
      const uint16_t* from = src->pixels + static_cast<ptrdiff_t>(c.top - d.top + s.top) * src_words +
                             (c.left - d.left + s.left);
      Draw_Rect(dest, c, from, src_words, key);
    };
    if (dest->clipper == nullptr) {
      part(bounds);
    } else {
      for (const RECT& clip : dest->clipper->rects) part(clip);
    }
    return 1;
  }

  View view{src->pixels, src->pitch / 2};
  std::vector<uint16_t> copy;
  if (src == dest) {  // overlapping source and destination: read from a copy taken before the blit
    copy.assign(src->pixels, src->pixels + static_cast<size_t>(src->height) * view.words);
    view.pixels = copy.data();
  }

  // A stretch drawn before from the same pixels is copied from its kept picture, whose pixel (i, j)
  // is the source pixel under destination pixel (d.left + i, d.top + j) whatever the clipping.
  if (!blit_force_reference && src != dest && (ax.sw != ax.dw || ay.sw != ay.dw)) {
    if (const uint16_t* picture = Scaled_Picture(src, view, ax, ay)) {
      view = View{picture, static_cast<int>(ax.dw)};
      ax = Axis{ax.d0, ax.dw, 0, ax.dw};
      ay = Axis{ay.d0, ay.dw, 0, ay.dw};
    }
  }

  Touch_Surface(dest);
  const RECT bounds{0, 0, dest->width, dest->height};
  auto blit_part = [&](const RECT& clip) {
    RECT c;
    if (!Intersect(d, bounds, &c) || !Intersect(c, clip, &c)) return;
    if (blit_force_reference) {
      Blit_Reference(dest, c, view, ax, ay, key);
    } else {
      Blit_Fast(dest, c, view, ax, ay, key);
    }
  };
  if (dest->clipper == nullptr) {
    blit_part(bounds);
  } else {
    for (const RECT& clip : dest->clipper->rects) blit_part(clip);
  }
  return 1;
}

ScaleCacheStats Scale_Cache_Stats() { return cache_stats; }

void Flush_Scale_Cache() {
  pictures.clear();
  pictures.shrink_to_fit();
  cache_stats = ScaleCacheStats{};
}

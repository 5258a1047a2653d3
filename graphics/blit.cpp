// The device's rectangle blit. A straightforward per-pixel reference path and row-wise fast paths
// that must give the same pixels; blit_force_reference selects the reference for comparisons.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

// x86-64 builds carry an AVX2 copy of the row kernels besides the baseline one.
#if defined(__x86_64__) && defined(__GNUC__)
#define ROW_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define ROW_KERNEL
#endif

#include "graphics/display.h"

bool blit_force_reference = false;

namespace {

// Nearest-neighbour mapping of one axis: destination d samples source s0 + the source position of
// the centre of d, so equal sizes map one to one.
struct Axis {
  int64_t d0, dw, s0, sw;
  int Map(int64_t d) const { return static_cast<int>(s0 + ((2 * (d - d0) + 1) * sw) / (2 * dw)); }
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

// Keyed rows, written as unconditional selects so that they vectorise; the AVX2 copy is picked at
// start-up where the processor has it. With the key 0 alone, transparent source
// pixels are 0, so the select is (dest where the source is 0) or source.
ROW_KERNEL void Row_Keyed_Zero(uint16_t* __restrict d, const uint16_t* __restrict s, int n) {
  for (int i = 0; i < n; ++i) d[i] = static_cast<uint16_t>((s[i] == 0 ? d[i] : 0) | s[i]);
}

ROW_KERNEL void Row_Keyed_Range(uint16_t* __restrict d, const uint16_t* __restrict s, int n, uint16_t low,
                                uint16_t span) {
  for (int i = 0; i < n; ++i) d[i] = static_cast<uint16_t>(s[i] - low) <= span ? d[i] : s[i];
}

void Row_Keyed(uint16_t* d, const uint16_t* s, int n, Key key) {
  if (key.low == 0 && key.span == 0) {
    Row_Keyed_Zero(d, s, n);
  } else {
    Row_Keyed_Range(d, s, n, key.low, key.span);
  }
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

void Blit_Fast(Surface* dest, const RECT& c, View src, const Axis& ax, const Axis& ay, Key key) {
  int words = dest->pitch / 2;
  int n = c.right - c.left;
  uint16_t* d = dest->pixels + static_cast<size_t>(c.top) * words + c.left;
  if (ax.sw == ax.dw && ay.sw == ay.dw) {
    const uint16_t* s = src.Row(ay.Map(c.top)) + ax.Map(c.left);
    for (int y = c.top; y < c.bottom; ++y, d += words, s += src.words) {
      if (key.on) {
        Row_Keyed(d, s, n, key);
      } else {
        std::memcpy(d, s, static_cast<size_t>(n) * 2);
      }
    }
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

  View view{src->pixels, src->pitch / 2};
  std::vector<uint16_t> copy;
  if (src == dest) {  // overlapping source and destination: read from a copy taken before the blit
    copy.assign(src->pixels, src->pixels + static_cast<size_t>(src->height) * view.words);
    view.pixels = copy.data();
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

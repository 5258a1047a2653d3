// The device's rectangle blit. A straightforward per-pixel reference path and row-wise fast paths
// (with kept scaled pictures and opaque span lists) that must give the same pixels;
// blit_force_reference selects the reference for comparisons.
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

// Things made from a source and kept for the requests that come again: most recently used first.
// An entry is made when the same request (same source pixels, by their generation stamp, which no
// other surface or later state of the same surface ever has) comes a second time, so requests made
// once (a growing panel) cost nothing extra and a changed or released source is never served.
// Requests seen once and entries made are limited apart, so a run of one-off requests never pushes
// out an entry in use. Entries have `made` and `bytes`.
template <typename Entry>
struct Kept {
  size_t max_seen, max_made, max_bytes;
  std::vector<Entry> list;
  BlitCacheStats stats;

  // The entry for which same(entry) holds, moved to the front: made already, or for the caller to
  // make (and report with Made). Null when the request is new: a fresh entry, filled in by note,
  // remembers it.
  template <typename Same, typename Note>
  Entry* Find(Same same, Note note) {
    auto found = std::find_if(list.begin(), list.end(), same);
    if (found == list.end()) {
      Entry seen;
      note(seen);
      list.insert(list.begin(), std::move(seen));
      Trim();
      return nullptr;
    }
    std::rotate(list.begin(), found, found + 1);
    stats.hits += list.front().made;
    return &list.front();
  }
  // The front entry is made: counted, and older entries beyond the limits dropped (no single
  // entry is over them).
  void Made() {
    list.front().made = true;
    stats.bytes += list.front().bytes;
    ++stats.builds;
    Trim();
  }
  void Trim() {
    auto drop_last = [&](bool made) {
      for (auto p = list.end(); p != list.begin();) {
        --p;
        if (p->made != made) continue;
        stats.bytes -= p->bytes;
        list.erase(p);
        return;
      }
    };
    auto count = [&](bool made) {
      return static_cast<size_t>(
          std::count_if(list.begin(), list.end(), [made](const Entry& e) { return e.made == made; }));
    };
    while (count(false) > max_seen) drop_last(false);
    while (count(true) > max_made || stats.bytes > max_bytes) drop_last(true);
    stats.entries = count(true);
  }
  void Flush() {
    list.clear();
    list.shrink_to_fit();
    stats = BlitCacheStats{};
  }
};

constexpr size_t MAX_SEEN = 8;

// Scaled pictures kept for stretched blits.
struct ScaledPicture {
  uint64_t generation = 0;
  int64_t sx = 0, sw = 0, sy = 0, sh = 0;  // source rectangle
  int64_t dw = 0, dh = 0;                  // drawn size
  bool made = false;
  std::unique_ptr<uint16_t[]> pixels;  // null until made
  size_t bytes = 0;
};

constexpr int64_t MAX_PICTURE_PIXELS = int64_t{1} << 20;  // larger stretches are drawn directly
Kept<ScaledPicture> pictures{MAX_SEEN, 24, size_t{8} << 20};

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
  auto note = [&](ScaledPicture& p) {
    p.generation = source->generation;
    p.sx = ax.s0, p.sw = ax.sw, p.sy = ay.s0, p.sh = ay.sw, p.dw = ax.dw, p.dh = ay.dw;
  };
  ScaledPicture* picture = pictures.Find(same, note);
  if (picture == nullptr) return nullptr;
  if (!picture->made) {
    const size_t count = static_cast<size_t>(ax.dw * ay.dw);
    picture->pixels.reset(new (std::nothrow) uint16_t[count]);
    if (picture->pixels == nullptr) return nullptr;
    Scale_Into(picture->pixels.get(), src, ax, ay);
    picture->bytes = count * 2;
    pictures.Made();
  }
  return pictures.list.front().pixels.get();
}

// Opaque spans of large keyed sources. A span is a stretch of a row that starts and ends with an
// opaque pixel; one without transparent pixels is copied, one with short gaps (the key shows
// through) goes through the keyed kernel, and the transparent stretches between spans are never
// read. Like the kept pictures, a list is made for a request seen before, and is keyed by the
// source's generation stamp and the key it was made for.
struct Span {
  uint16_t begin, end;  // source columns, end exclusive
  bool gaps;            // holds transparent pixels
};

struct OpaqueSpans {
  uint64_t generation = 0;
  uint16_t key_low = 0, key_span = 0;
  bool made = false;
  bool refused = false;        // too many spans to be worth keeping
  std::vector<uint32_t> rows;  // the spans of row y are spans[rows[y]] up to spans[rows[y + 1]]
  std::vector<Span> spans;
  size_t bytes = 0;
};

constexpr int64_t MIN_SPAN_SOURCE_PIXELS = 64 * 64;  // smaller sources are drawn by the kernels alone
constexpr int MIN_SPAN_GAP = 8;                      // shorter transparent runs stay inside a span
constexpr size_t MAX_SPAN_BYTES = size_t{4} << 20;
Kept<OpaqueSpans> span_lists{MAX_SEEN, 16, MAX_SPAN_BYTES};

// False, with the list left part made, when it would take more than MAX_SPAN_BYTES.
bool Make_Spans(OpaqueSpans& list, View src, int width, int height, Key key) {
  list.rows.resize(static_cast<size_t>(height) + 1);
  const size_t max_spans =
      (MAX_SPAN_BYTES - std::min(MAX_SPAN_BYTES, list.rows.size() * sizeof(uint32_t))) / sizeof(Span);
  for (int y = 0; y < height; ++y) {
    list.rows[static_cast<size_t>(y)] = static_cast<uint32_t>(list.spans.size());
    const uint16_t* s = src.Row(y);
    int x = 0;
    while (x < width) {
      while (x < width && key.Skips(s[x])) ++x;
      if (x == width) break;
      Span span{static_cast<uint16_t>(x), 0, false};
      for (;;) {
        while (x < width && !key.Skips(s[x])) ++x;
        span.end = static_cast<uint16_t>(x);
        const int gap = x;
        while (x < width && x - gap < MIN_SPAN_GAP && key.Skips(s[x])) ++x;
        if (x == width || x - gap == MIN_SPAN_GAP) break;
        span.gaps = true;  // a short gap, and the span goes on after it
      }
      if (list.spans.size() == max_spans) return false;
      list.spans.push_back(span);
    }
  }
  list.rows[static_cast<size_t>(height)] = static_cast<uint32_t>(list.spans.size());
  list.bytes = list.rows.size() * sizeof(uint32_t) + list.spans.size() * sizeof(Span);
  return true;
}

// The span list of a large keyed source, made now if it was asked for before; null when there is
// none (a small source, the first request, too many spans) and the blit must use the kernels.
const OpaqueSpans* Opaque_Spans(const Surface* source, Key key) {
  if (int64_t{source->width} * source->height < MIN_SPAN_SOURCE_PIXELS) return nullptr;
  auto same = [&](const OpaqueSpans& l) {
    return l.generation == source->generation && l.key_low == key.low && l.key_span == key.span;
  };
  auto note = [&](OpaqueSpans& l) {
    l.generation = source->generation;
    l.key_low = key.low;
    l.key_span = key.span;
  };
  OpaqueSpans* list = span_lists.Find(same, note);
  if (list == nullptr || list->refused) return nullptr;
  if (!list->made) {
    if (!Make_Spans(*list, View{source->pixels, source->pitch / 2}, source->width, source->height, key)) {
      // Kept as seen and refused, so these pixels are not scanned again.
      list->refused = true;
      list->rows = {};
      list->spans = {};
      return nullptr;
    }
    span_lists.Made();
  }
  return &span_lists.list.front();
}

// One row of a keyed rectangle, with the kernel for the key.
void Keyed_Row(uint16_t* d, const uint16_t* s, int n, Key key) {
  if (key.low == 0 && key.span == 0) {
    Rect_Keyed_Zero(d, 0, s, 0, n, 1);
  } else {
    Rect_Keyed_Range(d, 0, s, 0, n, 1, key.low, key.span);
  }
}

// The clipped rectangle c of the destination from the source's pixels at (sx, sy), equal sizes,
// drawn span by span.
void Draw_Spans(Surface* dest, const RECT& c, const OpaqueSpans& list, View src, int sx, int sy, Key key) {
  const int words = dest->pitch / 2;
  const int sx_end = sx + (c.right - c.left);
  uint16_t* d = dest->pixels + static_cast<ptrdiff_t>(c.top) * words + c.left;
  for (int y = sy; y < sy + (c.bottom - c.top); ++y, d += words) {
    const uint16_t* s = src.Row(y);
    const Span* first = list.spans.data() + list.rows[static_cast<size_t>(y)];
    const Span* last = list.spans.data() + list.rows[static_cast<size_t>(y) + 1];
    first = std::partition_point(first, last, [sx](const Span& span) { return span.end <= sx; });
    for (const Span* span = first; span != last && span->begin < sx_end; ++span) {
      const int b = std::max<int>(span->begin, sx), e = std::min<int>(span->end, sx_end);
      if (span->gaps) {
        Keyed_Row(d + (b - sx), s + b, e - b, key);
      } else {
        std::memcpy(d + (b - sx), s + b, static_cast<size_t>(e - b) * 2);
      }
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

  // Equal sizes from another surface, the common case, skip the mapping: destination pixel (x, y)
  // takes source pixel (x - d.left + s.left, y - d.top + s.top).
  if (!blit_force_reference && src != dest && ax.sw == ax.dw && ay.sw == ay.dw) {
    const OpaqueSpans* spans = key.on ? Opaque_Spans(src, key) : nullptr;
    Touch_Surface(dest);
    const RECT bounds{0, 0, dest->width, dest->height};
    const int src_words = src->pitch / 2;
    auto part = [&](const RECT& clip) {
      RECT c;
      if (!Intersect(d, bounds, &c) || !Intersect(c, clip, &c)) return;
      const int sx = c.left - d.left + s.left, sy = c.top - d.top + s.top;
      if (spans != nullptr) {
        Draw_Spans(dest, c, *spans, View{src->pixels, src_words}, sx, sy, key);
      } else {
        Draw_Rect(dest, c, src->pixels + static_cast<ptrdiff_t>(sy) * src_words + sx, src_words, key);
      }
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

BlitCacheStats Scale_Cache_Stats() { return pictures.stats; }

BlitCacheStats Span_Cache_Stats() { return span_lists.stats; }

void Flush_Scale_Cache() {
  pictures.Flush();
  span_lists.Flush();
}

#include "tools/artgen/raster.h"

#include <cstddef>

Color Mix(Color a, Color b, float t) {
  return Color{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color Shade(Color c, float k) {
  return Color{std::clamp(c.r * k, 0.f, 255.f), std::clamp(c.g * k, 0.f, 255.f),
               std::clamp(c.b * k, 0.f, 255.f), c.a};
}

Color With_Alpha(Color c, float a) { return Color{c.r, c.g, c.b, a}; }

Canvas New_Canvas(int width, int height, Color fill) {
  Canvas c;
  c.width = width;
  c.height = height;
  c.px.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
  return c;
}

Mask New_Mask(int width, int height, float fill) {
  Mask m;
  m.width = width;
  m.height = height;
  m.v.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
  return m;
}

void Blend(Canvas& canvas, int x, int y, Color c, float coverage) {
  if (!canvas.Inside(x, y)) return;
  float sa = std::clamp(c.a * coverage, 0.f, 1.f);
  if (sa <= 0.f) return;
  Color& d = canvas.At(x, y);
  float out_a = sa + d.a * (1.f - sa);
  if (out_a <= 0.f) {
    d = CLEAR;
    return;
  }
  float wd = d.a * (1.f - sa);
  d.r = (c.r * sa + d.r * wd) / out_a;
  d.g = (c.g * sa + d.g * wd) / out_a;
  d.b = (c.b * sa + d.b * wd) / out_a;
  d.a = out_a;
}

// ---- Distances ----

float Sdf_Circle(float px, float py, float cx, float cy, float r) { return std::hypot(px - cx, py - cy) - r; }

float Sdf_Ellipse(float px, float py, float cx, float cy, float rx, float ry) {
  float nx = (px - cx) / rx, ny = (py - cy) / ry;
  float k = std::hypot(nx, ny);
  // First-order distance: the implicit function divided by its gradient length.
  float gx = nx / rx, gy = ny / ry;
  float g = std::hypot(gx, gy);
  if (g < 1e-6f) return -std::min(rx, ry);
  return (k - 1.f) * k / g;
}

float Sdf_Box(float px, float py, float cx, float cy, float hw, float hh, float r) {
  float qx = std::fabs(px - cx) - (hw - r), qy = std::fabs(py - cy) - (hh - r);
  float ox = std::max(qx, 0.f), oy = std::max(qy, 0.f);
  return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.f) - r;
}

float Sdf_Segment(float px, float py, float ax, float ay, float bx, float by, float r) {
  float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
  float len2 = bax * bax + bay * bay;
  float h = len2 > 0.f ? std::clamp((pax * bax + pay * bay) / len2, 0.f, 1.f) : 0.f;
  return std::hypot(pax - bax * h, pay - bay * h) - r;
}

float Sdf_Polygon(float px, float py, const std::vector<Point>& v) {
  size_t n = v.size();
  if (n < 3) return 1e9f;
  float d = (px - v[0].x) * (px - v[0].x) + (py - v[0].y) * (py - v[0].y);
  float s = 1.f;
  for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
    float ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
    float wx = px - v[i].x, wy = py - v[i].y;
    float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.f, 1.f);
    float bx = wx - ex * t, by = wy - ey * t;
    d = std::min(d, bx * bx + by * by);
    bool c1 = py >= v[i].y, c2 = py<v[j].y, c3 = ex * wy> ey * wx;
    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
  }
  return s * std::sqrt(d);
}

// ---- Randomness ----

uint32_t Rng::Next() {
  state += 0x9E3779B97F4A7C15ull;
  uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<uint32_t>(z >> 32);
}

float Rng::Uniform(float lo, float hi) {
  return lo + (hi - lo) * (static_cast<float>(Next() >> 8) / static_cast<float>(1u << 24));
}

int Rng::Range(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }

namespace {
uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h =
      seed * 0x27D4EB2Du ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

int Wrap(int v, int period) {
  if (period <= 0) return v;
  int m = v % period;
  return m < 0 ? m + period : m;
}

float Smooth(float t) { return t * t * t * (t * (t * 6.f - 15.f) + 10.f); }
}  // namespace

float Hash01(int x, int y, uint32_t seed) { return static_cast<float>(Hash(x, y, seed) >> 8) / 16777216.f; }

float Value_Noise(float x, float y, uint32_t seed, int period_x, int period_y) {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = Smooth(x - fx), ty = Smooth(y - fy);
  int x0 = Wrap(ix, period_x), x1 = Wrap(ix + 1, period_x);
  int y0 = Wrap(iy, period_y), y1 = Wrap(iy + 1, period_y);
  float a = Hash01(x0, y0, seed), b = Hash01(x1, y0, seed);
  float c = Hash01(x0, y1, seed), d = Hash01(x1, y1, seed);
  float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

float Fbm(float x, float y, float size, int cells, int octaves, uint32_t seed, bool tile) {
  float sum = 0.f, amp = 1.f, total = 0.f;
  int n = cells;
  for (int o = 0; o < octaves; ++o) {
    float scale = static_cast<float>(n) / size;
    int period = tile ? n : 0;
    sum += amp * Value_Noise(x * scale, y * scale, seed + static_cast<uint32_t>(o) * 7919u, period, period);
    total += amp;
    amp *= 0.5f;
    n *= 2;
  }
  return sum / total;
}

Cell Worley(float x, float y, float size, int n, uint32_t seed, float jitter) {
  float cs = size / static_cast<float>(n);
  float gx = x / cs, gy = y / cs;
  int cx = static_cast<int>(std::floor(gx)), cy = static_cast<int>(std::floor(gy));
  Cell best{1e9f, 1e9f, 0, 0, 0};
  for (int j = -2; j <= 2; ++j)
    for (int i = -2; i <= 2; ++i) {
      int kx = cx + i, ky = cy + j;
      int wx = Wrap(kx, n), wy = Wrap(ky, n);
      float ox = 0.5f + jitter * (Hash01(wx, wy, seed) - 0.5f);
      float oy = 0.5f + jitter * (Hash01(wx, wy, seed ^ 0x5bd1e995u) - 0.5f);
      float fx = (static_cast<float>(kx) + ox) * cs, fy = (static_cast<float>(ky) + oy) * cs;
      float d = std::hypot(x - fx, y - fy);
      if (d < best.f1) {
        best.f2 = best.f1;
        best.f1 = d;
        best.id = Hash(wx, wy, seed ^ 0x1234567u);
        best.fx = fx;
        best.fy = fy;
      } else if (d < best.f2) {
        best.f2 = d;
      }
    }
  return best;
}

// ---- Canvas operations ----

void Composite(Canvas& dst, const Canvas& src, int x, int y) {
  for (int j = 0; j < src.height; ++j)
    for (int i = 0; i < src.width; ++i) {
      const Color& c = src.At(i, j);
      if (c.a > 0.f) Blend(dst, x + i, y + j, c, 1.f);
    }
}

void Copy_Into(Canvas& dst, const Canvas& src, int x, int y) {
  for (int j = 0; j < src.height; ++j)
    for (int i = 0; i < src.width; ++i)
      if (dst.Inside(x + i, y + j)) dst.At(x + i, y + j) = src.At(i, j);
}

Canvas Crop(const Canvas& src, int x, int y, int w, int h) {
  Canvas out = New_Canvas(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (src.Inside(x + i, y + j)) out.At(i, j) = src.At(x + i, y + j);
  return out;
}

Canvas Rotate90(const Canvas& src, int turns) {
  turns = ((turns % 4) + 4) % 4;
  Canvas cur = src;
  for (int t = 0; t < turns; ++t) {
    Canvas next = New_Canvas(cur.height, cur.width);
    for (int y = 0; y < cur.height; ++y)
      for (int x = 0; x < cur.width; ++x) next.At(cur.height - 1 - y, x) = cur.At(x, y);
    cur = next;
  }
  return cur;
}

Canvas Flip_Horizontal(const Canvas& src) {
  Canvas out = New_Canvas(src.width, src.height);
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) out.At(src.width - 1 - x, y) = src.At(x, y);
  return out;
}

namespace {
// Weights of an area-averaging resample of one axis: for each destination cell, the source cells
// it covers and how much.
struct Tap {
  int index;
  float weight;
};
std::vector<std::vector<Tap>> Area_Taps(int src, int dst) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(dst));
  float scale = static_cast<float>(src) / static_cast<float>(dst);
  for (int d = 0; d < dst; ++d) {
    float lo = static_cast<float>(d) * scale, hi = static_cast<float>(d + 1) * scale;
    for (int s = static_cast<int>(std::floor(lo)); s < static_cast<int>(std::ceil(hi)) && s < src; ++s) {
      float w = std::min(hi, static_cast<float>(s + 1)) - std::max(lo, static_cast<float>(s));
      if (w > 0.f) taps[static_cast<size_t>(d)].push_back(Tap{s, w});
    }
  }
  return taps;
}
std::vector<std::vector<Tap>> Linear_Taps(int src, int dst) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(dst));
  float scale = static_cast<float>(src) / static_cast<float>(dst);
  for (int d = 0; d < dst; ++d) {
    float s = (static_cast<float>(d) + 0.5f) * scale - 0.5f;
    float f = std::floor(s);
    int i0 = std::clamp(static_cast<int>(f), 0, src - 1),
        i1 = std::clamp(static_cast<int>(f) + 1, 0, src - 1);
    float t = s - f;
    taps[static_cast<size_t>(d)].push_back(Tap{i0, 1.f - t});
    taps[static_cast<size_t>(d)].push_back(Tap{i1, t});
  }
  return taps;
}
std::vector<std::vector<Tap>> Taps(int src, int dst) {
  return dst < src ? Area_Taps(src, dst) : Linear_Taps(src, dst);
}
}  // namespace

Canvas Resample(const Canvas& src, int w, int h) {
  // Premultiplied, so transparent pixels do not bleed black into edges.
  auto tx = Taps(src.width, w);
  auto ty = Taps(src.height, h);
  std::vector<Color> mid(static_cast<size_t>(w) * static_cast<size_t>(src.height));
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < w; ++x) {
      Color acc{0, 0, 0, 0};
      float wsum = 0.f;
      for (const Tap& t : tx[static_cast<size_t>(x)]) {
        const Color& c = src.At(t.index, y);
        acc.r += c.r * c.a * t.weight;
        acc.g += c.g * c.a * t.weight;
        acc.b += c.b * c.a * t.weight;
        acc.a += c.a * t.weight;
        wsum += t.weight;
      }
      if (wsum > 0.f) acc = Color{acc.r / wsum, acc.g / wsum, acc.b / wsum, acc.a / wsum};
      mid[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = acc;
    }
  Canvas out = New_Canvas(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Color acc{0, 0, 0, 0};
      float wsum = 0.f;
      for (const Tap& t : ty[static_cast<size_t>(y)]) {
        const Color& c = mid[static_cast<size_t>(t.index) * static_cast<size_t>(w) + static_cast<size_t>(x)];
        acc.r += c.r * t.weight;
        acc.g += c.g * t.weight;
        acc.b += c.b * t.weight;
        acc.a += c.a * t.weight;
        wsum += t.weight;
      }
      if (wsum > 0.f) acc = Color{acc.r / wsum, acc.g / wsum, acc.b / wsum, acc.a / wsum};
      if (acc.a > 1e-6f)
        acc = Color{acc.r / acc.a, acc.g / acc.a, acc.b / acc.a, std::min(acc.a, 1.f)};
      else
        acc = CLEAR;
      out.At(x, y) = acc;
    }
  return out;
}

Mask Resample(const Mask& src, int w, int h) {
  auto tx = Taps(src.width, w);
  auto ty = Taps(src.height, h);
  std::vector<float> mid(static_cast<size_t>(w) * static_cast<size_t>(src.height));
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < w; ++x) {
      float acc = 0.f, wsum = 0.f;
      for (const Tap& t : tx[static_cast<size_t>(x)]) {
        acc += src.At(t.index, y) * t.weight;
        wsum += t.weight;
      }
      mid[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
          wsum > 0.f ? acc / wsum : 0.f;
    }
  Mask out = New_Mask(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float acc = 0.f, wsum = 0.f;
      for (const Tap& t : ty[static_cast<size_t>(y)]) {
        acc += mid[static_cast<size_t>(t.index) * static_cast<size_t>(w) + static_cast<size_t>(x)] * t.weight;
        wsum += t.weight;
      }
      out.Ref(x, y) = wsum > 0.f ? acc / wsum : 0.f;
    }
  return out;
}

Mask Alpha_Of(const Canvas& c) {
  Mask m = New_Mask(c.width, c.height);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) m.Ref(x, y) = c.At(x, y).a;
  return m;
}

Mask Dilate(const Mask& m, float radius) {
  Mask out = New_Mask(m.width, m.height);
  int r = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) {
      float best = 0.f;
      for (int j = -r; j <= r; ++j)
        for (int i = -r; i <= r; ++i) {
          float d = std::hypot(static_cast<float>(i), static_cast<float>(j));
          float w = std::clamp(radius + 0.5f - d, 0.f, 1.f);
          if (w <= 0.f) continue;
          best = std::max(best, m.At(x + i, y + j) * w);
        }
      out.Ref(x, y) = best;
    }
  return out;
}

Mask Blur(const Mask& m, int radius) {
  if (radius <= 0) return m;
  Mask tmp = New_Mask(m.width, m.height), out = New_Mask(m.width, m.height);
  float n = static_cast<float>(2 * radius + 1);
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) {
      float s = 0.f;
      for (int i = -radius; i <= radius; ++i) s += m.At(x + i, y);
      tmp.Ref(x, y) = s / n;
    }
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) {
      float s = 0.f;
      for (int j = -radius; j <= radius; ++j) s += tmp.At(x, y + j);
      out.Ref(x, y) = s / n;
    }
  return out;
}

void Paint_Mask(Canvas& canvas, const Mask& m, int x, int y, Color c) {
  Paint_Mask_Shaded(canvas, m, x, y, [c](int, int) { return c; });
}

void Outline(Canvas& canvas, Color c, float thickness) {
  Mask a = Alpha_Of(canvas);
  Mask grown = Dilate(a, thickness);
  Canvas under = New_Canvas(canvas.width, canvas.height);
  Paint_Mask(under, grown, 0, 0, c);
  Composite(under, canvas, 0, 0);
  canvas = under;
}

void Drop_Shadow(Canvas& canvas, float dx, float dy, float radius, float strength) {
  Mask a = Alpha_Of(canvas);
  Mask shifted = New_Mask(a.width, a.height);
  int ox = static_cast<int>(std::lround(dx)), oy = static_cast<int>(std::lround(dy));
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) shifted.Ref(x, y) = a.At(x - ox, y - oy) * strength;
  Mask soft = Blur(shifted, static_cast<int>(radius));
  Canvas under = New_Canvas(canvas.width, canvas.height);
  Paint_Mask(under, soft, 0, 0, Rgb(12, 8, 6));
  Composite(under, canvas, 0, 0);
  canvas = under;
}

void Emboss(Canvas& canvas, const Mask& height, float strength, float lx, float ly) {
  float ll = std::hypot(lx, ly);
  lx /= ll;
  ly /= ll;
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) {
      float gx = height.At(std::min(x + 1, height.width - 1), y) - height.At(std::max(x - 1, 0), y);
      float gy = height.At(x, std::min(y + 1, height.height - 1)) - height.At(x, std::max(y - 1, 0));
      // A slope rising towards the light faces away from it.
      float lit = -(gx * lx + gy * ly) * strength;
      Color& c = canvas.At(x, y);
      c = Shade(c, 1.f + std::clamp(lit, -0.8f, 1.5f));
    }
}

void Grain(Canvas& canvas, float amount, float scale, uint32_t seed) {
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) {
      float n = Value_Noise(static_cast<float>(x) / scale, static_cast<float>(y) / scale, seed);
      Color& c = canvas.At(x, y);
      c = Shade(c, 1.f - amount * (n - 0.5f) * 2.f);
    }
}

void Vignette(Canvas& canvas, float strength, float power) {
  float cx = static_cast<float>(canvas.width) / 2.f, cy = static_cast<float>(canvas.height) / 2.f;
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) {
      float dx = (static_cast<float>(x) + 0.5f - cx) / cx, dy = (static_cast<float>(y) + 0.5f - cy) / cy;
      float d = std::min(1.f, std::hypot(dx, dy) / 1.4142f);
      Color& c = canvas.At(x, y);
      c = Shade(c, 1.f - strength * std::pow(d, power));
    }
}

// A small raster library for drawing the game's art in code: float RGBA canvases, anti-aliased
// shapes given as signed distance functions, gradients, periodic noise from a fixed-seed generator,
// bevels, outlines, resampling and compositing. Everything is deterministic.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// A colour with channels 0..255 and alpha 0..1 (straight, not premultiplied).
struct Color {
  float r = 0, g = 0, b = 0, a = 1;
};

constexpr Color Rgb(float r, float g, float b, float a = 1.f) { return Color{r, g, b, a}; }
constexpr Color CLEAR{0, 0, 0, 0};

Color Mix(Color a, Color b, float t);
// Scales the brightness of the colour channels, alpha kept.
Color Shade(Color c, float k);
Color With_Alpha(Color c, float a);

struct Canvas {
  int width = 0;
  int height = 0;
  std::vector<Color> px;
  Color& At(int x, int y) {
    return px[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
  const Color& At(int x, int y) const {
    return px[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

Canvas New_Canvas(int width, int height, Color fill = CLEAR);

// Lays colour c over the pixel with the given coverage (0..1); pixels outside are ignored.
void Blend(Canvas& canvas, int x, int y, Color c, float coverage);

// A greyscale coverage or height field.
struct Mask {
  int width = 0;
  int height = 0;
  std::vector<float> v;
  float At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0.f;
    return v[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
  float& Ref(int x, int y) {
    return v[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
};

Mask New_Mask(int width, int height, float fill = 0.f);

// ---- Signed distance functions: negative inside, in pixels. ----

float Sdf_Circle(float px, float py, float cx, float cy, float r);
float Sdf_Ellipse(float px, float py, float cx, float cy, float rx, float ry);
// An axis-aligned box of half sizes (hw, hh) about (cx, cy) with rounded corners of radius r.
float Sdf_Box(float px, float py, float cx, float cy, float hw, float hh, float r = 0.f);
// A capsule: the segment a-b thickened to radius r.
float Sdf_Segment(float px, float py, float ax, float ay, float bx, float by, float r);

struct Point {
  float x, y;
};
float Sdf_Polygon(float px, float py, const std::vector<Point>& pts);

// Coverage of a pixel from its distance to the shape's edge, with a one-pixel soft rim.
inline float Coverage(float d) { return std::clamp(0.5f - d, 0.f, 1.f); }

// Paints a shape into the canvas. sdf(x, y) gives the distance at a pixel centre; shade(x, y, d)
// the colour there. Only the pixels of the rectangle [x0, x1) x [y0, y1) are visited.
template <class Sdf, class ShadeFn>
void Paint(Canvas& canvas, int x0, int y0, int x1, int y1, Sdf sdf, ShadeFn shade) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, canvas.width);
  y1 = std::min(y1, canvas.height);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
      float d = sdf(fx, fy);
      float cov = Coverage(d);
      if (cov <= 0.f) continue;
      Blend(canvas, x, y, shade(fx, fy, d), cov);
    }
}

// The same over the whole canvas.
template <class Sdf, class ShadeFn>
void Paint(Canvas& canvas, Sdf sdf, ShadeFn shade) {
  Paint(canvas, 0, 0, canvas.width, canvas.height, sdf, shade);
}

// Paints with one flat colour.
template <class Sdf>
void Paint_Flat(Canvas& canvas, Sdf sdf, Color c) {
  Paint(canvas, sdf, [c](float, float, float) { return c; });
}

// Runs f(x, y, pixel&) over every pixel, for per-pixel effects.
template <class F>
void For_Each(Canvas& canvas, F f) {
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) f(x, y, canvas.At(x, y));
}

// ---- Deterministic randomness. ----

// A small fixed-seed generator (splitmix64).
struct Rng {
  uint64_t state;
  explicit Rng(uint64_t seed) : state(seed) {}
  uint32_t Next();
  float Uniform(float lo = 0.f, float hi = 1.f);
  int Range(int n);  // 0..n-1
};

// Hash of lattice point (x, y) to 0..1.
float Hash01(int x, int y, uint32_t seed);
// Smooth value noise 0..1 on a lattice of cell size 1; period > 0 wraps the lattice so the noise tiles.
float Value_Noise(float x, float y, uint32_t seed, int period_x = 0, int period_y = 0);
// Fractal sum of octaves, 0..1. cells: lattice cells across `size` pixels at the first octave;
// with tile set the result repeats every `size` pixels.
float Fbm(float x, float y, float size, int cells, int octaves, uint32_t seed, bool tile = false);

// Cellular noise over a jittered grid of n x n cells across size pixels, repeating with that period.
struct Cell {
  float f1, f2;  // distances to the nearest and second nearest feature point
  uint32_t id;   // a hash of the nearest cell
  float fx, fy;  // the nearest feature point
};
Cell Worley(float x, float y, float size, int n, uint32_t seed, float jitter = 0.8f);

// ---- Canvas operations. ----

// Lays src over dst with its top-left at (x, y).
void Composite(Canvas& dst, const Canvas& src, int x, int y);
// Copies src into dst at (x, y), replacing pixels, transparent ones included.
void Copy_Into(Canvas& dst, const Canvas& src, int x, int y);
Canvas Crop(const Canvas& src, int x, int y, int w, int h);
// Quarter turn clockwise, turns times.
Canvas Rotate90(const Canvas& src, int turns);
Canvas Flip_Horizontal(const Canvas& src);
// Resampling to a new size: area averaging (alpha-weighted) when shrinking, bilinear when growing.
Canvas Resample(const Canvas& src, int w, int h);
Mask Resample(const Mask& src, int w, int h);

// The canvas' alpha as a mask.
Mask Alpha_Of(const Canvas& c);
// A mask grown by radius pixels (round brush).
Mask Dilate(const Mask& m, float radius);
Mask Blur(const Mask& m, int radius);
// Paints colour c wherever the mask has coverage, mask placed at (x, y).
void Paint_Mask(Canvas& canvas, const Mask& m, int x, int y, Color c);
// The same with a per-pixel colour (canvas coordinates).
template <class ShadeFn>
void Paint_Mask_Shaded(Canvas& canvas, const Mask& m, int x, int y, ShadeFn shade) {
  for (int j = 0; j < m.height; ++j)
    for (int i = 0; i < m.width; ++i) {
      float cov = m.At(i, j);
      if (cov <= 0.f) continue;
      Blend(canvas, x + i, y + j, shade(x + i, y + j), cov);
    }
}

// Puts a dark rim of the given thickness around everything opaque (sprites read on any ground).
void Outline(Canvas& canvas, Color c, float thickness);
// A soft drop shadow under the opaque parts, offset by (dx, dy).
void Drop_Shadow(Canvas& canvas, float dx, float dy, float radius, float strength);
// Lights a surface from a height field: brightens slopes facing the light (lx, ly) from the top-left.
void Emboss(Canvas& canvas, const Mask& height, float strength, float lx = -0.7f, float ly = -0.7f);
// Multiplies colour channels by (1 - amount * noise) for grain.
void Grain(Canvas& canvas, float amount, float scale, uint32_t seed);
// Darkens towards the edges.
void Vignette(Canvas& canvas, float strength, float power = 2.f);

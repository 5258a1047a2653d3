#include "tools/artgen/text.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace {
int error_count = 0;
}  // namespace

void Artgen_Error(const char* message) {
  ++error_count;
  std::fprintf(stderr, "orvalis_artgen: %s\n", message);
}

int Artgen_Error_Count() { return error_count; }

int Text_Ink(const char* text, int point_size, Mask* out) {
  TextMask mask;
  if (!Platform_Render_Text(text, point_size, &mask) || mask.width <= 0 || mask.height <= 0 ||
      mask.coverage.size() != static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height)) {
    std::string m = std::string("cannot render the label \"") + text + "\" with the system font";
    Artgen_Error(m.c_str());
    return 0;
  }
  int x0 = mask.width, y0 = mask.height, x1 = -1, y1 = -1;
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x)
      if (mask.coverage[static_cast<size_t>(y) * static_cast<size_t>(mask.width) + static_cast<size_t>(x)] >
          0) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) {
    std::string m = std::string("the label \"") + text + "\" rendered without ink";
    Artgen_Error(m.c_str());
    return 0;
  }
  *out = New_Mask(x1 - x0 + 1, y1 - y0 + 1);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      out->Ref(x - x0, y - y0) =
          mask.coverage[static_cast<size_t>(y) * static_cast<size_t>(mask.width) + static_cast<size_t>(x)] /
          255.f;
  return 1;
}

int Text_Fit(const char* text, int box_w, int box_h, bool keep_aspect, Mask* out) {
  if (box_w <= 0 || box_h <= 0) return 0;
  // Rendered several times larger than the box, then averaged down: smooth edges at any size.
  int point = std::clamp(box_h * 5, 24, 400);
  Mask ink;
  if (!Text_Ink(text, point, &ink)) return 0;
  int w = box_w, h = box_h;
  if (keep_aspect) {
    float sx = static_cast<float>(box_w) / static_cast<float>(ink.width);
    float sy = static_cast<float>(box_h) / static_cast<float>(ink.height);
    float s = std::min(sx, sy);
    w = std::max(1, static_cast<int>(std::lround(static_cast<float>(ink.width) * s)));
    h = std::max(1, static_cast<int>(std::lround(static_cast<float>(ink.height) * s)));
  }
  *out = Resample(ink, w, h);
  return 1;
}

int Text_Fit_Height(const char* text, int height, int max_w, Mask* out) {
  if (height <= 0 || max_w <= 0) return 0;
  Mask ink;
  if (!Text_Ink(text, std::clamp(height * 5, 24, 400), &ink)) return 0;
  float natural = static_cast<float>(ink.width) * static_cast<float>(height) / static_cast<float>(ink.height);
  int w = std::clamp(static_cast<int>(std::lround(natural)), 1, max_w);
  *out = Resample(ink, w, height);
  return 1;
}

int Draw_Label_Height(Canvas& canvas, const char* text, float cx, float cy, int height, int max_w,
                      const LabelStyle& style) {
  Mask m;
  if (!Text_Fit_Height(text, height, max_w, &m)) return 0;
  Draw_Label_Mask(canvas, m, cx, cy, style);
  return 1;
}

int Draw_Label(Canvas& canvas, const char* text, float cx, float cy, int box_w, int box_h, bool keep_aspect,
               const LabelStyle& style) {
  Mask m;
  if (!Text_Fit(text, box_w, box_h, keep_aspect, &m)) return 0;
  Draw_Label_Mask(canvas, m, cx, cy, style);
  return 1;
}

void Draw_Label_Mask(Canvas& canvas, const Mask& m, float cx, float cy, const LabelStyle& style) {
  int x = static_cast<int>(std::lround(cx - static_cast<float>(m.width) / 2.f));
  int y = static_cast<int>(std::lround(cy - static_cast<float>(m.height) / 2.f));
  // Work on a padded copy so the outline and shadow have room.
  int pad = static_cast<int>(std::ceil(style.outline_px)) +
            std::max(std::abs(style.shadow_dx), std::abs(style.shadow_dy)) + 1;
  Mask padded = New_Mask(m.width + 2 * pad, m.height + 2 * pad);
  for (int j = 0; j < m.height; ++j)
    for (int i = 0; i < m.width; ++i) padded.Ref(i + pad, j + pad) = m.At(i, j);
  Mask body = padded;
  if (style.outline.a > 0.f && style.outline_px > 0.f) body = Dilate(padded, style.outline_px);
  if (style.shadow.a > 0.f) {
    Mask sh = New_Mask(body.width, body.height);
    for (int j = 0; j < body.height; ++j)
      for (int i = 0; i < body.width; ++i) sh.Ref(i, j) = body.At(i - style.shadow_dx, j - style.shadow_dy);
    Paint_Mask(canvas, sh, x - pad, y - pad, style.shadow);
  }
  if (style.outline.a > 0.f && style.outline_px > 0.f)
    Paint_Mask(canvas, body, x - pad, y - pad, style.outline);
  float top = static_cast<float>(y), span = std::max(1.f, static_cast<float>(m.height));
  Paint_Mask_Shaded(canvas, padded, x - pad, y - pad, [&](int, int py) {
    float t = std::clamp((static_cast<float>(py) - top) / span, 0.f, 1.f);
    return Mix(style.fill, style.fill_bottom, t);
  });
}

int Draw_Text_At(Canvas& canvas, const char* text, int x, int y, int point_size, Color c) {
  TextMask mask;
  if (!Platform_Render_Text(text, point_size, &mask) ||
      mask.coverage.size() < static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height)) {
    std::string m = std::string("cannot render the label \"") + text + "\" with the system font";
    Artgen_Error(m.c_str());
    return 0;
  }
  for (int j = 0; j < mask.height; ++j)
    for (int i = 0; i < mask.width; ++i) {
      uint8_t v =
          mask.coverage[static_cast<size_t>(j) * static_cast<size_t>(mask.width) + static_cast<size_t>(i)];
      if (v) Blend(canvas, x + i, y + j, c, v / 255.f);
    }
  return 1;
}

#include "tools/artgen/theme.h"

#include <cmath>

Color Player_Color(int player) { return player == 1 ? theme::P1 : theme::P2; }
Color Player_Light(int player) { return player == 1 ? theme::P1_LIGHT : theme::P2_LIGHT; }
Color Player_Dark(int player) { return player == 1 ? theme::P1_DARK : theme::P2_DARK; }

namespace {
float Wrapf(float v, float p) {
  float m = std::fmod(v, p);
  return m < 0.f ? m + p : m;
}
}  // namespace

Color Masonry(float x, float y, int period, uint32_t seed) {
  float p = static_cast<float>(period);
  x = Wrapf(x, p);
  y = Wrapf(y, p);
  // Three courses per period; each course split into stones at seeded places.
  const int courses = 3;
  float ch = p / courses;
  int course = std::min(courses - 1, static_cast<int>(y / ch));
  float cy0 = static_cast<float>(course) * ch;
  float shift = p * Hash01(course, 17, seed);
  float lx = Wrapf(x + shift, p);
  // Stone breaks in this course: 2 or 3 stones.
  int stones = 2 + static_cast<int>(Hash01(course, 3, seed) * 2.f);
  float edges[4];
  edges[0] = 0.f;
  for (int s = 1; s < stones; ++s)
    edges[s] = p * (static_cast<float>(s) + 0.35f * (Hash01(course, s + 5, seed) - 0.5f)) /
               static_cast<float>(stones);
  edges[stones] = p;
  int stone = 0;
  while (stone < stones - 1 && lx >= edges[stone + 1]) ++stone;
  float sx0 = edges[stone], sx1 = edges[stone + 1];
  // Distance to the stone's own edges: mortar where small.
  float dx = std::min(lx - sx0, sx1 - lx), dy = std::min(y - cy0, cy0 + ch - y);
  float d = std::min(dx, dy);
  float tone = 0.82f + 0.3f * Hash01(course * 7 + stone, 11, seed);
  float n = Fbm(x, y, p, 4, 3, seed + 99u, true);
  Color c = Shade(theme::STONE, tone * (0.86f + 0.28f * n));
  // Rounded stone edges: lit from the upper left, shadowed at the lower right.
  float top = y - cy0, left = lx - sx0, bottom = cy0 + ch - y, right = sx1 - lx;
  if (top < 2.f || left < 2.f) c = Mix(c, Rgb(196, 176, 150), 0.28f * (1.f - std::min(top, left) / 2.f));
  if (bottom < 2.2f || right < 2.2f)
    c = Mix(c, Rgb(30, 24, 20), 0.35f * (1.f - std::min(bottom, right) / 2.2f));
  if (d < 0.9f) c = Mix(theme::MORTAR, c, std::max(0.f, d - 0.1f));
  return c;
}

Color Brick_Face(float x, float y, float depth, int period) {
  // Two courses of small bricks on the face; torchlight strongest at the top edge.
  float p = static_cast<float>(period);
  x = Wrapf(x, p);
  float course_h = 4.f;
  int course = static_cast<int>(std::floor(y / course_h));
  float ly = y - static_cast<float>(course) * course_h;
  float bw = p / 4.f;
  float off = (course % 2) ? bw / 2.f : 0.f;
  float lx = Wrapf(x + off, bw);
  float tone = 0.9f + 0.2f * Hash01(static_cast<int>((x + off) / bw), course, 7u);
  Color brick = Shade(Rgb(214, 160, 104), tone * (1.12f - 0.3f * depth));
  bool mortar = ly < 0.8f || lx < 0.9f;
  if (mortar) brick = Shade(Rgb(120, 88, 60), 1.f - 0.25f * depth);
  return brick;
}

Color Sandstone(float x, float y, float period, uint32_t seed, bool tile) {
  float n = Fbm(x, y, period, 3, 4, seed, tile);
  float m = Fbm(x + 13.f, y + 7.f, period, 6, 2, seed + 5u, tile);
  Color c = Shade(theme::FLOOR, 0.84f + 0.3f * n);
  return Mix(c, Rgb(120, 100, 80), 0.25f * m);
}

Color Parchment(float x, float y, float period, uint32_t seed, bool tile) {
  float n = Fbm(x, y, period, 2, 4, seed, tile);
  float fibre = Fbm(x * 0.5f, y * 2.f, period, 4, 2, seed + 3u, tile);
  Color c = Mix(theme::PARCHMENT, theme::PARCHMENT_DARK, std::clamp((n - 0.35f) * 1.1f, 0.f, 1.f));
  return Shade(c, 0.96f + 0.08f * fibre);
}

void Draw_Gem(Canvas& c, float cx, float cy, float r, Color base, Color light, Color dark, bool setting) {
  if (setting) {
    Paint(
        c, [&](float x, float y) { return Sdf_Circle(x, y, cx, cy, r + 2.2f); },
        [&](float x, float y, float) {
          float t = std::clamp(((x - cx) + (y - cy)) / (2.f * r) + 0.5f, 0.f, 1.f);
          return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, t);
        });
  }
  // An octagonal cut: table in the middle, facets lit from the upper left.
  std::vector<Point> outer, table;
  for (int i = 0; i < 8; ++i) {
    float a = static_cast<float>(i) * 3.14159265f / 4.f + 3.14159265f / 8.f;
    outer.push_back(Point{cx + r * std::cos(a), cy + r * std::sin(a)});
    table.push_back(Point{cx + 0.5f * r * std::cos(a), cy + 0.5f * r * std::sin(a)});
  }
  Paint(
      c, [&](float x, float y) { return Sdf_Polygon(x, y, outer); },
      [&](float x, float y, float) {
        float ang = std::atan2(y - cy, x - cx);
        float facet = std::cos(ang + 2.356f);  // facing the upper left: 1
        Color col = facet > 0 ? Mix(base, light, facet * 0.8f) : Mix(base, dark, -facet * 0.8f);
        return col;
      });
  Paint(
      c, [&](float x, float y) { return Sdf_Polygon(x, y, table); },
      [&](float x, float y, float) {
        float t = std::clamp(((x - cx) + (y - cy)) / r + 0.5f, 0.f, 1.f);
        return Mix(Mix(base, light, 0.45f), base, t);
      });
  // Sparkle.
  Paint_Flat(
      c,
      [&](float x, float y) {
        return Sdf_Circle(x, y, cx - 0.35f * r, cy - 0.4f * r, std::max(0.9f, 0.16f * r));
      },
      Rgb(255, 255, 245));
}

void Draw_Cog(Canvas& c, float cx, float cy, float r, Color base, Color light, Color dark) {
  const float body = r * 0.74f, tooth_hw = r * 0.17f, hub = r * 0.36f, axle = r * 0.16f;
  auto cog = [&](float x, float y) {
    float d = Sdf_Circle(x, y, cx, cy, body);
    const float dx = x - cx, dy = y - cy;
    for (int k = 0; k < 8; ++k) {
      // A tooth: a box along the spoke at angle k * 45 degrees, from the body out to r.
      const float a = 0.785398f * static_cast<float>(k) + 0.3927f;
      const float u = dx * std::cos(a) + dy * std::sin(a), v = -dx * std::sin(a) + dy * std::cos(a);
      d = std::min(d, Sdf_Box(u, v, (body + r) * 0.5f, 0.f, (r - body) * 0.5f + 0.5f, tooth_hw, 0.6f));
    }
    return std::max(d, -Sdf_Circle(x, y, cx, cy, axle));
  };
  Paint_Flat(
      c, [&](float x, float y) { return cog(x, y) - std::max(1.f, r * 0.09f); }, theme::INK);
  Paint(c, cog, [&](float x, float y, float) {
    const float t = std::clamp(((x - cx) + (y - cy)) / (2.f * r) + 0.5f, 0.f, 1.f);
    return Mix(light, dark, t);
  });
  // A raised hub ring.
  Paint(
      c, [&](float x, float y) { return std::fabs(Sdf_Circle(x, y, cx, cy, hub)) - std::max(0.6f, r * 0.07f); },
      [&](float x, float y, float) {
        const float t = std::clamp(((x - cx) + (y - cy)) / (2.f * hub) + 0.5f, 0.f, 1.f);
        return Mix(Mix(base, light, 0.6f), dark, t);
      });
}

void Draw_Token(Canvas& c, float cx, float cy, float r, Color base, Color light, Color dark) {
  Paint(
      c, [&](float x, float y) { return Sdf_Circle(x, y, cx, cy, r); },
      [&](float x, float y, float) {
        float t = std::clamp(((x - cx) + (y - cy)) / (2.f * r) + 0.5f, 0.f, 1.f);
        return Mix(light, dark, t);
      });
  Paint(
      c, [&](float x, float y) { return Sdf_Circle(x, y, cx, cy, r * 0.78f); },
      [&](float x, float y, float) {
        float t = std::clamp(((x - cx) + (y - cy)) / (2.f * r) + 0.5f, 0.f, 1.f);
        return Mix(Mix(base, light, 0.25f), Mix(base, dark, 0.3f), t);
      });
  // Two arcs chasing each other, each with an arrow head: a turn.
  float ar = r * 0.47f, th = std::max(1.f, r * 0.13f);
  Color ink = Rgb(255, 246, 214);
  for (int k = 0; k < 2; ++k) {
    float a0 = 3.14159265f * static_cast<float>(k) + 0.35f, a1 = a0 + 2.2f;
    Paint(
        c,
        [&](float x, float y) {
          float ang = std::atan2(y - cy, x - cx);
          float rel = std::fmod(ang - a0 + 6.2831853f * 2.f, 6.2831853f);
          float ring = std::fabs(std::hypot(x - cx, y - cy) - ar) - th;
          if (rel <= a1 - a0) return ring;
          float ex = cx + ar * std::cos(a0), ey = cy + ar * std::sin(a0);
          float fx = cx + ar * std::cos(a1), fy = cy + ar * std::sin(a1);
          return std::min(Sdf_Circle(x, y, ex, ey, th), Sdf_Circle(x, y, fx, fy, th));
        },
        [&](float, float, float) { return ink; });
    float hx = cx + ar * std::cos(a1), hy = cy + ar * std::sin(a1);
    float tx = -std::sin(a1), ty = std::cos(a1);  // direction of travel
    float nx = std::cos(a1), ny = std::sin(a1);
    float hs = r * 0.32f;
    std::vector<Point> head = {{hx + tx * hs, hy + ty * hs},
                               {hx + nx * hs * 0.9f, hy + ny * hs * 0.9f},
                               {hx - nx * hs * 0.9f, hy - ny * hs * 0.9f}};
    Paint_Flat(
        c, [&](float x, float y) { return Sdf_Polygon(x, y, head); }, ink);
  }
}

void Draw_Key(Canvas& c, float cx, float cy, float size) {
  // Along the diagonal from the bow (upper left) to the bit (lower right).
  float s = size / 24.f;
  float ux = 0.7071f, uy = 0.7071f;                      // along the shaft
  float vx = -0.7071f, vy = 0.7071f;                     // across, towards the lower left
  float bx = cx - ux * 6.f * s, by = cy - uy * 6.f * s;  // bow centre
  float ex = cx + ux * 9.f * s, ey = cy + uy * 9.f * s;  // shaft end
  auto shade = [&](float x, float y, float) {
    float t = std::clamp(((x - cx) + (y - cy)) / (1.4f * size) + 0.5f, 0.f, 1.f);
    return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, t);
  };
  auto bow = [&](float x, float y) {
    return std::max(Sdf_Circle(x, y, bx, by, 6.2f * s), -Sdf_Circle(x, y, bx, by, 2.4f * s));
  };
  auto shaft = [&](float x, float y) {
    return Sdf_Segment(x, y, bx + ux * 4.f * s, by + uy * 4.f * s, ex, ey, 2.1f * s);
  };
  auto bit = [&](float x, float y) {
    float t1x = ex - ux * 1.5f * s, t1y = ey - uy * 1.5f * s;
    float t2x = ex - ux * 5.f * s, t2y = ey - uy * 5.f * s;
    return std::min(Sdf_Segment(x, y, t1x, t1y, t1x + vx * 4.f * s, t1y + vy * 4.f * s, 1.8f * s),
                    Sdf_Segment(x, y, t2x, t2y, t2x + vx * 3.f * s, t2y + vy * 3.f * s, 1.8f * s));
  };
  auto key = [&](float x, float y) { return std::min({bow(x, y), shaft(x, y), bit(x, y)}); };
  // A dark rim first, so the gold reads on parchment and on stone alike.
  Paint_Flat(
      c, [&](float x, float y) { return key(x, y) - 1.f; }, theme::INK);
  Paint(c, key, shade);
}

void Draw_Plate(Canvas& c, float x, float y, float w, float h, float radius, float rim, Color face_top,
                Color face_bottom, bool pressed) {
  float cx = x + w / 2.f, cy = y + h / 2.f;
  Paint(
      c, [&](float px, float py) { return Sdf_Box(px, py, cx, cy, w / 2.f, h / 2.f, radius); },
      [&](float, float py, float) {
        float t = std::clamp((py - y) / h, 0.f, 1.f);
        return pressed ? Mix(theme::GOLD_DARK, theme::GOLD, t) : Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, t);
      });
  float ir = std::max(0.f, radius - rim);
  Paint(
      c, [&](float px, float py) { return Sdf_Box(px, py, cx, cy, w / 2.f - rim, h / 2.f - rim, ir); },
      [&](float, float py, float d) {
        float t = std::clamp((py - y - rim) / std::max(1.f, h - 2.f * rim), 0.f, 1.f);
        Color col = Mix(face_top, face_bottom, t);
        // An inner shadow along the rim; deeper when pressed.
        float depth = std::clamp(-d / (pressed ? 5.f : 2.5f), 0.f, 1.f);
        return Mix(Shade(col, pressed ? 0.55f : 0.75f), col, depth);
      });
}

std::vector<int> Make_Maze(int cols, int rows, uint64_t seed) {
  std::vector<int> open(static_cast<size_t>(cols * rows), 0);
  std::vector<int> seen(static_cast<size_t>(cols * rows), 0);
  std::vector<int> stack;
  Rng rng(seed);
  stack.push_back(0);
  seen[0] = 1;
  const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0}, bit[4] = {1, 2, 4, 8}, back[4] = {4, 8, 1, 2};
  while (!stack.empty()) {
    int cell = stack.back();
    int x = cell % cols, y = cell / cols;
    int options[4], n = 0;
    for (int d = 0; d < 4; ++d) {
      int nx = x + dx[d], ny = y + dy[d];
      if (nx >= 0 && ny >= 0 && nx < cols && ny < rows && !seen[static_cast<size_t>(ny * cols + nx)])
        options[n++] = d;
    }
    if (n == 0) {
      stack.pop_back();
      continue;
    }
    int d = options[rng.Range(n)];
    int next = (y + dy[d]) * cols + (x + dx[d]);
    open[static_cast<size_t>(cell)] |= bit[d];
    open[static_cast<size_t>(next)] |= back[d];
    seen[static_cast<size_t>(next)] = 1;
    stack.push_back(next);
  }
  return open;
}

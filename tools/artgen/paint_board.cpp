// The playing screen's board pictures: the turn backgrounds, the overview cells, the detail view's
// floor, walls and doors, the panel tiles and the shift buttons.
#include <cmath>

#include "game/wall_pieces.h"
#include "game/block_types.h"
#include "tools/artgen/painters.h"
#include "tools/artgen/theme.h"

namespace {

constexpr int PITCH = 31;  // the detail view's square pitch: tiles repeat every 31 pixels

// ---- Turn backgrounds ----

// Rough rock that repeats every 252 pixels (the part of the 253-pixel frame the scaled draw reads),
// so the 100 x 100 tiles join without seams.
void Paint_Rock(ArtFile& art, const char* bob, Color base, uint32_t seed) {
  const float P = 252.f;
  Canvas& c = art.canvas;
  auto height = [&](float x, float y) {
    Cell w = Worley(x, y, P, 7, seed);
    float ridge = std::clamp((w.f2 - w.f1) / 14.f, 0.f, 1.f);
    return std::sqrt(ridge) + 0.35f * Fbm(x, y, P, 6, 3, seed + 1u, true);
  };
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
      Cell w = Worley(fx, fy, P, 7, seed);
      float tone = 0.78f + 0.32f * static_cast<float>(w.id & 1023u) / 1023.f;
      float n = Fbm(fx, fy, P, 12, 4, seed + 2u, true);
      float gx = height(fx + 1.5f, fy) - height(fx - 1.5f, fy);
      float gy = height(fx, fy + 1.5f) - height(fx, fy - 1.5f);
      float lit = std::clamp(1.f - 1.6f * (gx + gy), 0.45f, 1.6f);
      Color col = Shade(base, tone * (0.72f + 0.5f * n) * lit);
      // Deep cracks between the boulders, wide enough to survive the shrink to 100 pixels.
      float crack = std::clamp((w.f2 - w.f1) / 5.f, 0.f, 1.f);
      col = Mix(Shade(base, 0.32f), col, 0.25f + 0.75f * crack);
      c.At(x, y) = col;
    }
  Put_Frame(art, bob, 0, Crop(c, 0, 0, Frame_Width(bob), Frame_Height(bob)));
}

// ---- Overview cells ----

// The sides a block type opens to (1 north, 2 east, 4 south, 8 west).
int Type_Exits(int type) {
  const BlockLayout& t = block_layouts[type];
  return (t.north ? 1 : 0) | (t.east ? 2 : 0) | (t.south ? 4 : 0) | (t.west ? 8 : 0);
}

Canvas Block_Back(Color floor, Color glow) {
  Canvas f = New_Canvas(32, 32);
  For_Each(f, [&](int x, int y, Color& p) {
    float d = std::hypot(static_cast<float>(x) - 15.f, static_cast<float>(y) - 15.f) / 22.f;
    float n = Fbm(static_cast<float>(x), static_cast<float>(y), 32.f, 4, 2, 41u, true);
    p = Shade(Mix(glow, floor, std::clamp(d, 0.f, 1.f)), 0.92f + 0.14f * n);
    // The column and row the miniature leaves free form the line between two blocks.
    if (x == 31 || y == 31) p = Rgb(40, 30, 24);
  });
  return f;
}

Canvas Miniature(int type) {
  const int exits = Type_Exits(type);
  const float c0 = 15.5f, hw = 4.6f;
  const bool dead_end = Has_Door(type);
  const bool plaza = type == 10 || dead_end;
  auto path = [&](float x, float y) {
    float d = Sdf_Box(x, y, c0, c0, hw, hw, 0.f);
    if (plaza) d = std::min(d, Sdf_Box(x, y, c0, c0, 7.f, 7.f, 2.f));
    if (exits & 1) d = std::min(d, Sdf_Box(x, y, c0, c0 / 2.f - 2.f, hw, c0 / 2.f + 3.f));
    if (exits & 4) d = std::min(d, Sdf_Box(x, y, c0, c0 + 9.f, hw, 9.5f));
    if (exits & 2) d = std::min(d, Sdf_Box(x, y, c0 + 9.f, c0, 9.5f, hw));
    if (exits & 8) d = std::min(d, Sdf_Box(x, y, c0 / 2.f - 2.f, c0, c0 / 2.f + 3.f, hw));
    return d;
  };
  Canvas m = New_Canvas(31, 31);
  For_Each(m, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    float d = path(fx, fy);
    if (d < 0.f) return;  // open path: the cell back shows through
    float n = Fbm(fx, fy, 31.f, 5, 3, 300u + static_cast<uint32_t>(type), false);
    Color stone = Shade(Rgb(92, 82, 72), 0.8f + 0.35f * n);
    // A dark edge along the path and a lit rim just inside it shape the corridors.
    if (d < 1.f)
      stone = Rgb(30, 24, 20);
    else if (d < 2.f)
      stone = Shade(stone, 1.35f);
    p = stone;
  });
  if (dead_end) {
    // The door, one square inside the single exit, where the game places it: the bar runs along x
    // for a north or south exit (post and leaf in one row), across the square row it stands on.
    const BlockLayout& door = block_layouts[type];
    const bool across_x = door.post_y == door.leaf_y;
    const int door_square = across_x ? door.leaf_y : door.leaf_x;
    const float along = std::round((static_cast<float>(door_square) + 0.5f) * 31.f / 8.f);
    auto bar = [&](float x, float y) {
      return across_x ? Sdf_Box(x, y, c0, along, hw + 1.f, 1.8f) : Sdf_Box(x, y, along, c0, 1.8f, hw + 1.f);
    };
    Paint_Flat(
        m, [&](float x, float y) { return bar(x, y) - 0.9f; }, theme::INK);
    Paint(m, bar, [&](float x, float y, float) {
      float t = across_x ? (y - along + 1.8f) / 3.6f : (x - along + 1.8f) / 3.6f;
      return Mix(Rgb(232, 170, 70), Rgb(150, 84, 32), std::clamp(t, 0.f, 1.f));
    });
  }
  // Hard edges: the miniature is either wall or open path, nothing half-way.
  For_Each(m, [](int, int, Color& p) { p.a = p.a >= 0.5f ? 1.f : 0.f; });
  return m;
}

// ---- Detail view: floor ----

struct Flag {
  float x0, y0, x1, y1;
};

// Flagstones laid on the 31-pixel square; the grout of the left and top edges closes the square.
Color Flagstones(float x, float y, const Flag* flags, int count, uint32_t seed, Color tint) {
  float p = static_cast<float>(PITCH);
  float wx = std::fmod(x, p), wy = std::fmod(y, p);
  for (int i = 0; i < count; ++i) {
    const Flag& f = flags[i];
    if (wx < f.x0 || wx >= f.x1 || wy < f.y0 || wy >= f.y1) continue;
    float l = wx - f.x0, t = wy - f.y0, r = f.x1 - wx, b = f.y1 - wy;
    float tone = 0.88f + 0.2f * Hash01(i, 3, seed);
    Color c = Shade(Mix(Sandstone(x, y, p, seed, true), tint, 0.25f), tone);
    if (l < 2.f || t < 2.f) c = Mix(c, Rgb(230, 208, 170), 0.3f * (1.f - std::min(l, t) / 2.f));
    if (r < 2.f || b < 2.f) c = Mix(c, Rgb(70, 54, 40), 0.4f * (1.f - std::min(r, b) / 2.f));
    if (std::min({l, t, r, b}) < 1.f) c = theme::GROUT;
    return c;
  }
  return theme::GROUT;
}

Canvas Floor_Tile(int kind) {
  Canvas t = New_Canvas(32, 32);
  static const Flag plain[4] = {{0, 0, 17, 14}, {17, 0, 31, 14}, {0, 14, 11, 31}, {11, 14, 31, 31}};
  static const Flag whole[1] = {{0, 0, 31, 31}};
  For_Each(t, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    float wx = std::fmod(fx, 31.f), wy = std::fmod(fy, 31.f);
    switch (kind) {
      case 0:  // plain flagstones
        p = Flagstones(fx, fy, plain, 4, 11u, theme::FLOOR);
        break;
      case 1: {  // the worn cobbled path towards the exits
        Cell w = Worley(wx, wy, 31.f, 3, 23u, 0.6f);
        float tone = 0.92f + 0.22f * static_cast<float>(w.id & 255u) / 255.f;
        Color c = Shade(Mix(Sandstone(fx, fy, 31.f, 5u, true), Rgb(200, 170, 120), 0.35f), tone);
        float edge = w.f2 - w.f1;
        float lit = ((wx - w.fx) + (wy - w.fy)) / 10.f;
        c = Shade(c, 1.f - 0.25f * std::clamp(lit, -1.f, 1.f));
        if (edge < 1.6f) c = Mix(theme::GROUT, c, edge / 1.6f * 0.6f);
        p = c;
        break;
      }
      case 2: {  // the centre: a flag with an inlaid diamond, four of them make a star
        p = Flagstones(fx, fy, whole, 1, 31u, Rgb(180, 150, 110));
        float d = (std::fabs(wx - 15.5f) + std::fabs(wy - 15.5f)) - 10.5f;
        if (d < 0.f && std::min({wx, wy, 31.f - wx, 31.f - wy}) >= 1.f) {
          Color inlay = Mix(Rgb(150, 54, 40), Rgb(190, 80, 50), Fbm(fx, fy, 31.f, 4, 2, 7u, true));
          if (d > -1.6f)
            inlay = theme::GOLD;
          else if (d > -2.4f)
            inlay = theme::GOLD_DARK;
          if (std::fabs(wx - 15.5f) + std::fabs(wy - 15.5f) < 3.f) inlay = theme::GOLD_LIGHT;
          p = inlay;
        }
        break;
      }
      default: {  // a cracked flag with moss in the grout
        p = Flagstones(fx, fy, whole, 1, 47u, Rgb(150, 130, 100));
        static const Point crack[] = {{4, 6}, {10, 11}, {13, 10}, {18, 17}, {17, 21}, {25, 27}};
        float dmin = 1e9f;
        for (int i = 0; i + 1 < 6; ++i)
          dmin = std::min(dmin,
                          Sdf_Segment(wx, wy, crack[i].x, crack[i].y, crack[i + 1].x, crack[i + 1].y, 0.f));
        dmin = std::min(dmin, Sdf_Segment(wx, wy, 13, 10, 20, 6, 0.f));
        if (dmin < 0.7f)
          p = Rgb(56, 42, 30);
        else if (dmin < 1.4f)
          p = Mix(p, Rgb(220, 200, 160), 0.35f);
        float moss = Fbm(fx, fy, 31.f, 6, 3, 77u, true);
        float edge = std::min({wx, wy, 31.f - wx, 31.f - wy});
        if (edge < 4.f && moss > 0.52f)
          p = Mix(p, Rgb(84, 118, 44), std::clamp((moss - 0.52f) * 6.f, 0.f, 0.9f));
        break;
      }
    }
  });
  return t;
}

// ---- Detail view: walls ----

// Masonry with a lit face along one side (0 none, 1 south, 2 east, 3 north, 4 west).
Canvas Wall_Piece_Faced(int side) {
  const float cap = 21.5f;  // where the face begins, measured from the far side
  Canvas t = New_Canvas(32, 32);
  For_Each(t, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    // u runs along the face, v from the far side towards the floor (31 at the floor edge).
    float u = 0.f, v = 0.f;
    switch (side) {
      case 1:
        u = fx, v = fy;
        break;
      case 2:
        u = fy, v = fx;
        break;
      case 3:
        u = 31.f - fx, v = 31.f - fy;
        break;
      case 4:
        u = 31.f - fy, v = 31.f - fx;
        break;
      default:
        break;
    }
    Color stone = Shade(Masonry(fx, fy, PITCH, 5u), 0.84f);
    if (side == 0 || v < cap) {
      p = stone;
      // The cap darkens slightly towards its lit edge's shadow line.
      if (side != 0 && v > cap - 1.2f) p = Rgb(226, 196, 150);  // the lit top edge of the face
      return;
    }
    float depth = std::clamp((v - cap) / (31.f - cap), 0.f, 1.f);
    p = Brick_Face(u, v - cap, depth, PITCH);
    if (v > 29.8f) p = Rgb(48, 34, 26);  // the foot of the wall
  });
  return t;
}

Canvas Mossy_Wall() {
  Canvas t = Wall_Piece_Faced(0);
  For_Each(t, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    float m = Fbm(fx, fy, 31.f, 3, 4, 501u, true);
    float fine = Fbm(fx, fy, 31.f, 10, 2, 502u, true);
    if (m > 0.46f) {
      float k = std::clamp((m - 0.46f) * 5.f, 0.f, 1.f);
      Color moss = Mix(Rgb(52, 86, 30), Rgb(120, 160, 60), fine);
      p = Mix(p, moss, 0.35f + 0.6f * k);
    }
  });
  return t;
}

Canvas Cracked_Wall() {
  Canvas t = Wall_Piece_Faced(0);
  static const Point a[] = {{3, 2}, {9, 9}, {8, 14}, {14, 19}, {13, 24}, {19, 30}};
  static const Point b[] = {{9, 9}, {16, 8}, {22, 3}};
  static const Point e[] = {{14, 19}, {21, 20}, {27, 25}};
  auto dist = [](float x, float y, const Point* pts, int n) {
    float d = 1e9f;
    for (int i = 0; i + 1 < n; ++i)
      d = std::min(d, Sdf_Segment(x, y, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, 0.f));
    return d;
  };
  For_Each(t, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    float d = std::min({dist(fx, fy, a, 6), dist(fx, fy, b, 3), dist(fx, fy, e, 3)});
    if (d < 0.8f)
      p = Rgb(18, 14, 12);
    else if (d < 1.6f)
      p = Shade(p, 0.7f);
    else if (d < 2.3f)
      p = Shade(p, 1.15f);
  });
  return t;
}

Canvas Pillar() {
  Canvas t = New_Canvas(32, 32);
  const float cx = 15.5f, cy = 15.5f;
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, cx + 1.2f, cy + 1.5f, 14.f); }, Rgb(34, 26, 20));
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, cx, cy, 13.5f); },
      [&](float x, float y, float) {
        float nx = (x - cx) / 13.5f, ny = (y - cy) / 13.5f;
        float lit = std::clamp(0.75f - 0.6f * (nx + ny), 0.35f, 1.3f);
        return Shade(Rgb(150, 136, 118), lit * (0.9f + 0.2f * Fbm(x, y, 32.f, 4, 2, 9u)));
      });
  // The capital's ring and the column's top.
  Paint_Flat(
      t, [&](float x, float y) { return std::fabs(Sdf_Circle(x, y, cx, cy, 9.5f)) - 0.8f; }, Rgb(70, 60, 52));
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, cx, cy, 8.5f); },
      [&](float x, float y, float) {
        float nx = (x - cx) / 8.5f, ny = (y - cy) / 8.5f;
        return Shade(Rgb(176, 162, 140), std::clamp(1.05f - 0.35f * (nx + ny), 0.6f, 1.3f));
      });
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Rubble() {
  Canvas t = New_Canvas(32, 32);
  Rng rng(811);
  struct Rock {
    float x, y, r;
  };
  const Rock rocks[] = {{10, 20, 6.5f}, {20, 21, 7.f},  {15, 13, 6.5f}, {24, 12, 4.5f},
                        {7, 11, 4.f},   {14, 25, 4.5f}, {25, 26, 3.5f}, {18, 7, 3.5f}};
  for (const Rock& r : rocks) {
    std::vector<Point> pts;
    int n = 6 + rng.Range(3);
    float phase = rng.Uniform(0.f, 6.28f);
    for (int i = 0; i < n; ++i) {
      float a = phase + 6.2831853f * static_cast<float>(i) / static_cast<float>(n);
      float rr = r.r * rng.Uniform(0.75f, 1.1f);
      pts.push_back(Point{r.x + rr * std::cos(a), r.y + rr * std::sin(a)});
    }
    float tone = rng.Uniform(0.8f, 1.15f);
    Paint(
        t, [&](float x, float y) { return Sdf_Polygon(x, y, pts); },
        [&](float x, float y, float d) {
          float lit = std::clamp(1.f - 0.09f * ((x - r.x) + (y - r.y)), 0.55f, 1.35f);
          Color c = Shade(Rgb(128, 114, 98), tone * lit);
          if (d > -1.f) c = Shade(c, 0.6f);
          return c;
        });
  }
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Vines() {
  Canvas t = New_Canvas(32, 32);
  struct Vine {
    float x, len, sway;
  };
  const Vine vines[] = {{6, 22, 2.f}, {13, 29, -2.5f}, {20, 17, 2.f}, {26, 25, -1.5f}};
  int vi = 0;
  for (const Vine& v : vines) {
    auto stem = [&](float yy) { return v.x + v.sway * std::sin(yy * 0.35f + static_cast<float>(vi)); };
    Paint_Flat(
        t,
        [&](float x, float y) {
          if (y > v.len) return Sdf_Circle(x, y, stem(v.len), v.len, 0.9f);
          return std::fabs(x - stem(y)) - 0.8f;
        },
        Rgb(58, 96, 34));
    for (float ly = 3.f; ly < v.len; ly += 5.f) {
      float side = (static_cast<int>(ly) / 5 % 2) ? 1.f : -1.f;
      float lx = stem(ly) + side * 2.2f;
      Paint(
          t, [&](float x, float y) { return Sdf_Ellipse(x, y, lx, ly, 2.3f, 1.5f); },
          [&](float x, float y, float) {
            return Mix(Rgb(130, 184, 70), Rgb(60, 110, 36),
                       std::clamp((x - lx + y - ly) / 4.f + 0.5f, 0.f, 1.f));
          });
    }
    ++vi;
  }
  Outline(t, Rgb(20, 30, 12), 1.f);
  return t;
}

Canvas Mosaic_Ring() {
  Canvas t = New_Canvas(32, 32);
  const float cx = 15.5f, cy = 15.5f;
  For_Each(t, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    float r = std::hypot(fx - cx, fy - cy);
    if (r < 7.f || r > 13.f) return;
    float a = std::atan2(fy - cy, fx - cx);
    int tile = static_cast<int>(std::floor((a + 3.14159265f) / 6.2831853f * 20.f));
    float ring = r < 10.f ? 0.f : 1.f;
    static const Color colors[4] = {Rgb(40, 110, 150), Rgb(220, 180, 70), Rgb(170, 60, 46),
                                    Rgb(230, 220, 190)};
    Color c = colors[(tile + static_cast<int>(ring) * 2) % 4];
    float frac = std::fmod((a + 3.14159265f) / 6.2831853f * 20.f, 1.f);
    bool joint = frac < 0.12f || std::fabs(r - 10.f) < 0.5f || r < 7.6f || r > 12.4f;
    p = joint ? Rgb(60, 48, 38) : Shade(c, 0.9f + 0.2f * Hash01(tile, static_cast<int>(ring), 3u));
  });
  return t;
}

Canvas Rune() {
  Canvas t = New_Canvas(32, 32);
  const float cx = 15.5f, cy = 15.5f;
  auto sigil = [&](float x, float y) {
    float d = std::fabs(Sdf_Circle(x, y, cx, cy, 11.f)) - 0.9f;
    // A triangle of strokes and a vertical stave inside the ring.
    const Point a{cx, cy - 9.f}, b{cx + 7.8f, cy + 4.5f}, e{cx - 7.8f, cy + 4.5f};
    d = std::min(d, Sdf_Segment(x, y, a.x, a.y, b.x, b.y, 0.9f));
    d = std::min(d, Sdf_Segment(x, y, b.x, b.y, e.x, e.y, 0.9f));
    d = std::min(d, Sdf_Segment(x, y, e.x, e.y, a.x, a.y, 0.9f));
    d = std::min(d, Sdf_Segment(x, y, cx, cy - 4.f, cx, cy + 7.f, 0.9f));
    return d;
  };
  // A cold magic glow, unlike anything that can be picked up.
  Paint_Flat(
      t, [&](float x, float y) { return sigil(x, y) - 1.f; }, Rgb(16, 70, 90));
  Paint_Flat(t, sigil, Rgb(150, 240, 255));
  return t;
}

Canvas Bones() {
  Canvas t = New_Canvas(32, 32);
  auto bone = [&](float ax, float ay, float bx, float by) {
    return [=](float x, float y) {
      float d = Sdf_Segment(x, y, ax, ay, bx, by, 1.3f);
      d = std::min(
          {d, Sdf_Circle(x, y, ax + 0.8f, ay - 0.8f, 1.6f), Sdf_Circle(x, y, ax - 0.8f, ay + 0.8f, 1.6f)});
      d = std::min(
          {d, Sdf_Circle(x, y, bx + 0.8f, by - 0.8f, 1.6f), Sdf_Circle(x, y, bx - 0.8f, by + 0.8f, 1.6f)});
      return d;
    };
  };
  Color ivory = Rgb(232, 224, 200);
  Paint_Flat(t, bone(6, 24, 22, 16), ivory);
  Paint_Flat(t, bone(9, 14, 24, 26), Rgb(216, 206, 180));
  // The skull.
  Paint(
      t,
      [&](float x, float y) {
        return std::min(Sdf_Circle(x, y, 15.5f, 12.f, 6.f), Sdf_Box(x, y, 15.5f, 17.f, 3.5f, 2.5f, 1.f));
      },
      [&](float x, float y, float) {
        return Shade(ivory, std::clamp(1.1f - 0.04f * ((x - 15.f) + (y - 12.f)), 0.7f, 1.15f));
      });
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, 13.3f, 12.5f, 1.7f); }, Rgb(40, 30, 24));
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, 17.7f, 12.5f, 1.7f); }, Rgb(40, 30, 24));
  Outline(t, theme::INK, 1.f);
  return t;
}

Canvas Wall_Picture(int piece) {
  switch (piece) {
    case WALL_BLOCK:
      return Wall_Piece_Faced(0);
    case WALL_FACE_SOUTH:
      return Wall_Piece_Faced(1);
    case WALL_FACE_EAST:
      return Wall_Piece_Faced(2);
    case WALL_FACE_NORTH:
      return Wall_Piece_Faced(3);
    case WALL_FACE_WEST:
      return Wall_Piece_Faced(4);
    case WALL_MOSSY:
      return Mossy_Wall();
    case WALL_CRACKED:
      return Cracked_Wall();
    case WALL_PILLAR:
      return Pillar();
    case WALL_RUBBLE:
      return Rubble();
    case WALL_DECOR_VINES:
      return Vines();
    case WALL_DECOR_MOSAIC:
      return Mosaic_Ring();
    case WALL_DECOR_RUNE:
      return Rune();
    default:
      return Bones();
  }
}

// ---- Detail view: doors ----

// A door across a corridor that runs east-west: post on the north square, leaf on the south one,
// the leaf hinged at its south end. kind: 0 an empty doorway, 1 closed leaf, 2 post, 3 open leaf.
Canvas Door_EW(int kind) {
  Canvas t = New_Canvas(32, 32);
  const float x0 = 11.f;  // the leaf's west edge
  auto wood = [&](float x, float y, float) {
    float plank = std::fmod(x - x0, 3.4f);
    Color c = Mix(Rgb(150, 92, 46), Rgb(110, 62, 30), Fbm(x * 0.6f, y * 0.15f, 32.f, 4, 3, 61u));
    if (plank < 0.7f) c = Rgb(58, 32, 16);
    return Shade(c, std::clamp(1.15f - 0.04f * (x - x0), 0.8f, 1.2f));
  };
  auto iron = [&](float, float y, float) { return Shade(theme::IRON, 1.1f - 0.02f * y); };
  if (kind == 0 || kind == 3) {
    // The threshold the door stands on.
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 16.f, 4.f, 16.5f); }, Rgb(96, 80, 64));
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 16.f, 2.f, 16.5f); }, Rgb(130, 110, 86));
  }
  if (kind == 1) {
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 16.f, 6.f, 17.f); }, theme::INK);
    Paint(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 16.f, 5.f, 17.f); }, wood);
    for (float by : {6.f, 24.f})
      Paint(
          t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, by, 5.f, 1.4f); }, iron);
    // The ring pull near the meeting edge with the post.
    Paint_Flat(
        t, [&](float x, float y) { return std::fabs(Sdf_Circle(x, y, 16.f, 12.f, 2.6f)) - 0.8f; },
        theme::GOLD);
  }
  if (kind == 2) {
    // A squared stone post with iron brackets that hold the leaf's frame.
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 16.f, 8.f, 17.f); }, theme::INK);
    Paint(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 16.f, 7.f, 17.f); },
        [&](float x, float y, float) { return Masonry(x + 40.f, y, PITCH, 9u); });
    Paint(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 27.f, 8.5f, 2.2f, 0.8f); }, iron);
    Paint(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 5.f, 8.5f, 2.2f, 0.8f); }, iron);
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Circle(x, y, 16.f, 16.f, 2.2f); }, theme::GOLD);
  }
  if (kind == 3) {
    // The leaf swung back against the south wall, hinge at the lower left.
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Box(x, y, 22.f, 28.f, 10.5f, 3.8f); }, theme::INK);
    Paint(
        t, [&](float x, float y) { return Sdf_Box(x, y, 22.f, 28.f, 9.5f, 2.8f); },
        [&](float x, float y, float d) { return wood(y + x0 - 20.f, x, d); });
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Circle(x, y, 12.5f, 28.f, 1.8f); }, theme::IRON);
  }
  if (kind == 0) {
    // Two stubs of the frame at the ends: an empty doorway.
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 2.5f, 6.f, 2.5f); }, Rgb(70, 60, 52));
    Paint_Flat(
        t, [&](float x, float y) { return Sdf_Box(x, y, 16.f, 29.5f, 6.f, 2.5f); }, Rgb(70, 60, 52));
  }
  return t;
}

// ---- Panels ----

// A 96 x 96 framed box; its nine 32 x 32 parts join into boxes of any size. Every texture repeats
// every 32 pixels so the edge and inside parts join their copies.
Canvas Panel_Box() {
  Canvas b = New_Canvas(96, 96);
  const float band = 11.f;
  For_Each(b, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    float d = -Sdf_Box(fx, fy, 48.f, 48.f, 48.f, 48.f, 9.f);  // depth inside the box
    if (d < 0.f) return;
    Color c;
    if (d < 1.f) {
      c = theme::INK;
    } else if (d < 3.f) {
      c = Mix(theme::GOLD_LIGHT, theme::GOLD, (d - 1.f) / 2.f);
    } else if (d < band - 2.f) {
      float grain = Fbm(fx, fy, 32.f, 8, 3, 71u, true);
      c = Shade(theme::WOOD_DARK, 0.85f + 0.45f * grain);
      // Rivets every 32 pixels along the band.
      float mx = std::fmod(fx, 32.f) - 16.f, my = std::fmod(fy, 32.f) - 16.f;
      float across = d - (3.f + band - 2.f) / 2.f;
      float along = (fx < band || fx > 96.f - band) ? my : mx;
      if (std::hypot(along, across) < 1.9f) c = theme::GOLD_LIGHT;
    } else if (d < band - 0.5f) {
      c = theme::GOLD;
    } else if (d < band) {
      c = theme::GOLD_DARK;
    } else {
      c = Parchment(fx, fy, 32.f, 91u);
      float shadow = std::clamp(1.f - (d - band) / 4.f, 0.f, 1.f);
      c = Shade(c, 1.f - 0.25f * shadow);
    }
    p = c;
  });
  return b;
}

// ---- Shift buttons ----

Canvas Shift_Button(int dir, bool pressed) {
  // dir: 0 points left, 1 right, 2 down, 3 up.
  Canvas t = New_Canvas(32, 32);
  const float cx = 15.5f, cy = 15.5f;
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Circle(x, y, cx, cy, 15.f); }, theme::INK);
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, cx, cy, 14.f); },
      [&](float x, float y, float) {
        float k = std::clamp(((x - cx) + (y - cy)) / 28.f + 0.5f, 0.f, 1.f);
        return pressed ? Mix(theme::GOLD_DARK, theme::GOLD, k) : Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, k);
      });
  Paint(
      t, [&](float x, float y) { return Sdf_Circle(x, y, cx, cy, 11.f); },
      [&](float x, float y, float) {
        float k = std::clamp(((x - cx) + (y - cy)) / 22.f + 0.5f, 0.f, 1.f);
        Color top = pressed ? Rgb(44, 34, 28) : Rgb(96, 80, 66),
              bottom = pressed ? Rgb(80, 64, 52) : Rgb(46, 36, 30);
        return Mix(top, bottom, k);
      });
  float o = pressed ? 1.f : 0.f;
  // An arrow pointing left, turned to its direction.
  std::vector<Point> arrow = {{7.f, 15.5f},  {15.f, 8.f},   {15.f, 12.5f}, {24.f, 12.5f},
                              {24.f, 18.5f}, {15.f, 18.5f}, {15.f, 23.f}};
  for (Point& p : arrow) {
    float ax = p.x - cx, ay = p.y - cy, rx = ax, ry = ay;
    if (dir == 1) rx = -ax, ry = ay;
    if (dir == 2) rx = -ay, ry = -ax;
    if (dir == 3) rx = ay, ry = ax;
    p = Point{cx + rx + o, cy + ry + o};
  }
  Paint_Flat(
      t, [&](float x, float y) { return Sdf_Polygon(x, y, arrow) - 1.f; }, theme::INK);
  Paint(
      t, [&](float x, float y) { return Sdf_Polygon(x, y, arrow); },
      [&](float, float y, float) {
        return Mix(Rgb(255, 248, 220), pressed ? Rgb(210, 180, 120) : Rgb(238, 206, 140),
                   std::clamp((y - 8.f) / 16.f, 0.f, 1.f));
      });
  return t;
}

}  // namespace

void Paint_Rock_1(ArtFile& art) { Paint_Rock(art, "BOB_rock1", Rgb(120, 62, 50), 1001u); }
void Paint_Rock_2(ArtFile& art) { Paint_Rock(art, "BOB_rock2", Rgb(58, 74, 120), 2002u); }

void Paint_Block_Back(ArtFile& art) {
  Put_Frame(art, "BOB_block_back", 0, Block_Back(Rgb(70, 110, 210), Rgb(150, 196, 255)));   // player 2
  Put_Frame(art, "BOB_block_back", 1, Block_Back(Rgb(200, 64, 52), Rgb(255, 160, 120)));    // player 1
  Put_Frame(art, "BOB_block_back", 2, Block_Back(Rgb(170, 140, 100), Rgb(206, 178, 132)));  // neutral
}

void Paint_Pasigas(ArtFile& art) {
  for (int type = 0; type < Frame_Count("BOB_pasigas"); ++type)
    Put_Frame(art, "BOB_pasigas", type, Miniature(type));
}

void Paint_Treasure_Marks(ArtFile& art) {
  for (int f = 0; f < 2; ++f) {
    int player = f == 0 ? 2 : 1;
    Canvas t = New_Frame("BOB_treasure");
    Draw_Gem(t, 15.5f, 15.5f, 5.2f, Player_Color(player), Player_Light(player), Player_Dark(player), true);
    Outline(t, theme::INK, 1.f);
    Put_Frame(art, "BOB_treasure", f, t);
  }
}

void Paint_Floor(ArtFile& art) {
  for (int k = 0; k < 4; ++k) Put_Frame(art, "BOB_floor", k, Floor_Tile(k));
}

void Paint_Walls(ArtFile& art) {
  for (int piece = 0; piece < WALL_PIECE_COUNT; ++piece)
    Put_Frame(art, "BOB_walls", piece, Wall_Picture(piece));
}

void Paint_Doors(ArtFile& art) {
  // Frame = door code - 100: 0 doorway, 1 closed, 2 post, 3 open (east-west); 4 doorway, 5 open,
  // 6 post, 7 closed (north-south). A north-south door is the east-west one turned a quarter, so
  // that its post stands west of its leaf and the leaf is hinged at its east end.
  static const int ew_kind[8] = {0, 1, 2, 3, 0, 3, 2, 1};
  for (int f = 0; f < 8; ++f) {
    Canvas d = Door_EW(ew_kind[f]);
    if (f >= 4) d = Rotate90(d, 3);
    Put_Frame(art, "BOB_doors", f, d);
  }
}

void Paint_Message(ArtFile& art) {
  Canvas box = Panel_Box();
  // Frames: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right, 4 left, 5 bottom, 6 right, 7 top, 8
  // inside.
  static const int cell[9][2] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}, {0, 1}, {1, 2}, {2, 1}, {1, 0}, {1, 1}};
  for (int f = 0; f < 9; ++f)
    Put_Frame(art, "BOB_message", f, Crop(box, 32 * cell[f][0], 32 * cell[f][1], 32, 32));
}

void Paint_Game_Buttons(ArtFile& art) {
  for (int f = 0; f < 8; ++f) Put_Frame(art, "BOB_game_buttons", f, Shift_Button(f % 4, f >= 4));
}

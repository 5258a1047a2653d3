// The front end's pictures: the title screen, the menu panel, its buttons and option rows, the
// brick walls of the transitions, the results screen and the portraits.
#include <cmath>
#include <functional>

#include "tools/artgen/painters.h"
#include "tools/artgen/text.h"
#include "tools/artgen/theme.h"

namespace {

// Pictures the game only ever shows squashed are designed at their drawn size, drawn `k` times
// larger than that and averaged down to the frame: the shrink back to the drawn size then loses
// nothing that the design had.
Canvas Designed_At_Drawn_Size(int drawn_w, int drawn_h, int frame_w, int frame_h, int k,
                              const std::function<void(Canvas&, float)>& draw) {
  Canvas big = New_Canvas(drawn_w * k, drawn_h * k);
  draw(big, static_cast<float>(k));
  return Resample(big, frame_w, frame_h);
}

LabelStyle Gold_Text(float outline_px) {
  LabelStyle s;
  s.fill = theme::GOLD_LIGHT;
  s.fill_bottom = theme::GOLD;
  s.outline = theme::INK;
  s.outline_px = outline_px;
  return s;
}

LabelStyle Ink_Text() {
  LabelStyle s;
  s.fill = theme::INK;
  s.fill_bottom = Rgb(80, 44, 20);
  return s;
}

// A panel's colour at depth d inside its edge: an ink line, gold, a band of dark wood up to wood_end, a
// gold line, then parchment shaded near the frame. The wood's grain and the parchment's blotches
// have the sizes given (pixels, lattice cells) and the parchment its seed.
Color Framed_Parchment(float fx, float fy, float d, float wood_end, float grain_size, int grain_cells,
                       float parchment_period, uint32_t parchment_seed) {
  if (d < 1.2f) return theme::INK;
  if (d < 3.5f) return Mix(theme::GOLD_LIGHT, theme::GOLD, (d - 1.2f) / 2.3f);
  if (d < wood_end) return Shade(theme::WOOD_DARK, 0.85f + 0.4f * Fbm(fx, fy, grain_size, grain_cells, 3, 5u));
  if (d < wood_end + 1.5f) return theme::GOLD;
  const Color col = Parchment(fx, fy, parchment_period, parchment_seed, false);
  return Shade(col, 1.f - 0.28f * std::clamp(1.f - (d - wood_end - 1.5f) / 10.f, 0.f, 1.f));
}

// A plate with a dark wooden face and a gold rim, in design pixels scaled by k.
void Wood_Plate(Canvas& c, float k, float x, float y, float w, float h, bool pressed) {
  Paint_Flat(
      c,
      [&](float px, float py) {
        return Sdf_Box(px, py, (x + w / 2.f) * k, (y + h / 2.f) * k, w / 2.f * k, h / 2.f * k, 6.f * k);
      },
      theme::INK);
  Draw_Plate(c, (x + 0.8f) * k, (y + 0.8f) * k, (w - 1.6f) * k, (h - 1.6f) * k, 5.f * k, 2.2f * k,
             pressed ? Rgb(60, 34, 18) : Rgb(132, 78, 40), pressed ? Rgb(40, 22, 12) : Rgb(74, 40, 20),
             pressed);
}

// ---- The title screen ----

// Walls of a maze seen from above, at (x, y) of a maze of cell size cs.
float Maze_Wall_Distance(const std::vector<int>& maze, int cols, int rows, float cs, float x, float y) {
  int cx = static_cast<int>(x / cs), cy = static_cast<int>(y / cs);
  float d = 1e9f;
  for (int j = cy - 1; j <= cy + 1; ++j)
    for (int i = cx - 1; i <= cx + 1; ++i) {
      if (i < 0 || j < 0 || i >= cols || j >= rows) continue;
      int open = maze[static_cast<size_t>(j * cols + i)];
      float x0 = static_cast<float>(i) * cs, y0 = static_cast<float>(j) * cs, x1 = x0 + cs, y1 = y0 + cs;
      if (!(open & 1)) d = std::min(d, Sdf_Segment(x, y, x0, y0, x1, y0, 0.f));
      if (!(open & 8)) d = std::min(d, Sdf_Segment(x, y, x0, y0, x0, y1, 0.f));
      if (!(open & 4)) d = std::min(d, Sdf_Segment(x, y, x0, y1, x1, y1, 0.f));
      if (!(open & 2)) d = std::min(d, Sdf_Segment(x, y, x1, y0, x1, y1, 0.f));
      d = std::min(d, Sdf_Circle(x, y, x0, y0, 0.f));
    }
  return d;
}

struct Torch {
  float x, y, reach;
};

float Torchlight(const Torch* torches, int n, float x, float y) {
  float light = 0.f;
  for (int i = 0; i < n; ++i) {
    float d = std::hypot(x - torches[i].x, y - torches[i].y) / torches[i].reach;
    light += std::exp(-d * d * 2.2f);
  }
  return light;
}

void Draw_Banner(Canvas& c, float cx, float top, int player) {
  const float w = 96.f, h = 200.f;
  std::vector<Point> cloth = {{cx - w / 2.f, top},
                              {cx + w / 2.f, top},
                              {cx + w / 2.f, top + h},
                              {cx, top + h - 26.f},
                              {cx - w / 2.f, top + h}};
  Color base = Player_Color(player), dark = Player_Dark(player);
  Paint_Flat(
      c, [&](float x, float y) { return Sdf_Polygon(x - 4.f, y - 5.f, cloth); }, Rgb(10, 8, 6));
  Paint(
      c, [&](float x, float y) { return Sdf_Polygon(x, y, cloth); },
      [&](float x, float y, float d) {
        float fold = 0.85f + 0.2f * std::sin((x - cx) * 0.16f);
        Color col = Shade(Mix(base, dark, std::clamp((y - top) / h * 0.8f, 0.f, 1.f)), fold);
        if (d > -5.f) col = theme::GOLD;
        if (d > -1.2f) col = theme::GOLD_DARK;
        return col;
      });
  // The rod it hangs from.
  Paint(
      c,
      [&](float x, float y) {
        return Sdf_Segment(x, y, cx - w / 2.f - 10.f, top - 2.f, cx + w / 2.f + 10.f, top - 2.f, 4.f);
      },
      [&](float, float y, float) {
        return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, std::clamp((y - top + 6.f) / 8.f, 0.f, 1.f));
      });
  Draw_Gem(c, cx, top + 72.f, 24.f, base, Player_Light(player), dark, true);
  LabelStyle s = Gold_Text(2.f);
  Draw_Label_Height(c, "PLAYER", cx, top + 122.f, 15, 80, s);
  Draw_Label_Height(c, player == 1 ? "1" : "2", cx, top + 150.f, 24, 40, s);
}

// A circular gold medallion with a little maze inside, r in pixels, squashed by (sx, sy).
void Draw_Medallion(Canvas& c, float cx, float cy, float r, float sx, float sy) {
  auto circle = [&](float x, float y, float rr) { return Sdf_Ellipse(x, y, cx, cy, rr * sx, rr * sy); };
  Paint_Flat(
      c, [&](float x, float y) { return circle(x, y, r + 1.5f); }, theme::INK);
  Paint(
      c, [&](float x, float y) { return circle(x, y, r); },
      [&](float x, float y, float) {
        float t = std::clamp(((x - cx) / sx + (y - cy) / sy) / (2.f * r) + 0.5f, 0.f, 1.f);
        return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, t);
      });
  Paint_Flat(
      c, [&](float x, float y) { return circle(x, y, r * 0.78f); }, Rgb(70, 44, 20));
  std::vector<int> maze = Make_Maze(5, 5, 77);
  float cell = r * 1.1f / 5.f * 2.f / 2.f;
  float span = cell * 5.f;
  Paint_Flat(
      c,
      [&](float x, float y) {
        float lx = ((x - cx) / sx + span / 2.f), ly = ((y - cy) / sy + span / 2.f);
        if (std::hypot((x - cx) / sx, (y - cy) / sy) > r * 0.72f) return 1e9f;
        return (Maze_Wall_Distance(maze, 5, 5, cell, lx, ly) - 0.09f * r) * std::min(sx, sy);
      },
      theme::GOLD_LIGHT);
}

}  // namespace

void Paint_Menu_Background(ArtFile& art) {
  Canvas& c = art.canvas;
  const float cs = 32.f;
  const int cols = 21, rows = 16;
  std::vector<int> maze = Make_Maze(cols, rows, 20240611);
  const Torch torches[] = {{40, 40, 260}, {600, 40, 260}, {40, 450, 240}, {600, 450, 240}, {320, 200, 200}};
  For_Each(c, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    float d = Maze_Wall_Distance(maze, cols, rows, cs, fx, fy);
    Color col;
    if (d < 5.f) {
      col = Shade(Masonry(fx * 0.7f, fy * 0.7f, 31, 3u), 1.25f);
      if (d > 3.8f) col = Shade(col, 0.6f);
    } else {
      col = Shade(Sandstone(fx, fy, 64.f, 8u, false), 0.55f);
      if (d < 9.f) col = Shade(col, 0.35f + 0.65f * (d - 5.f) / 4.f);  // walls shade the floor
    }
    float light = std::min(1.25f, 0.16f + 1.1f * Torchlight(torches, 5, fx, fy));
    col = Shade(col, light);
    col = Mix(col, Rgb(255, 140, 50), 0.16f * std::min(1.f, light));
    // A calm, dark square where the menu panel opens.
    float panel = Sdf_Box(fx, fy, 340.f, 355.f, 120.f, 120.f, 14.f);
    float calm = std::clamp(1.f - panel / 26.f, 0.f, 1.f);
    col = Mix(col, Rgb(26, 18, 14), 0.85f * calm);
    // And a darker band behind the title.
    float band = std::clamp(1.f - std::fabs(fy - 92.f) / 80.f, 0.f, 1.f);
    col = Mix(col, Rgb(18, 12, 10), 0.6f * band);
    p = col;
  });
  Vignette(c, 0.55f, 2.2f);

  LabelStyle title = Gold_Text(4.f);
  title.shadow = Rgb(0, 0, 0, 0.8f);
  title.shadow_dx = 4;
  title.shadow_dy = 6;
  title.fill = Rgb(255, 240, 170);
  title.fill_bottom = Rgb(214, 140, 40);
  Draw_Label(c, "ORVALIS", 320.f, 88.f, 480, 96, true, title);
  LabelStyle sub = Gold_Text(2.f);
  sub.fill = theme::PARCHMENT;
  sub.fill_bottom = theme::PARCHMENT_DARK;
  Draw_Label_Height(c, "A MAZE FOR TWO", 320.f, 165.f, 18, 300, sub);

  Draw_Banner(c, 110.f, 214.f, 1);
  Draw_Banner(c, 570.f, 214.f, 2);

  // The prompt sits where the panel grows from, so the opening panel covers it.
  Paint_Flat(
      c, [&](float x, float y) { return std::fabs(Sdf_Box(x, y, 340.f, 355.f, 96.f, 24.f, 8.f)) - 1.2f; },
      theme::GOLD_DARK);
  LabelStyle prompt = Gold_Text(2.f);
  Draw_Label_Height(c, "PRESS ENTER", 340.f, 355.f, 20, 170, prompt);
  // Below the red banner, where the open menu leaves it in view: F1 opens the rules and the settings.
  Draw_Label_Height(c, "F1: HOW TO PLAY", 110.f, 440.f, 14, 190, Gold_Text(1.5f));
  LabelStyle small = sub;
  small.outline_px = 1.5f;
  Draw_Label_Height(c, "AND SETTINGS", 110.f, 461.f, 11, 190, small);
  For_Each(c, [](int, int, Color& p) { p.a = 1.f; });
  Put_Frame(art, "BOB_menu_background", 0, Crop(c, 0, 0, 640, 480));
}

void Paint_Menu_Panel(ArtFile& art) {
  const char* bob = "BOB_menu_panel";
  // Designed at 240 x 240, the size the full-grown menu draws it.
  Canvas c =
      Designed_At_Drawn_Size(240, 240, Frame_Width(bob), Frame_Height(bob), 3, [](Canvas& big, float k) {
        float s = k;
        For_Each(big, [&](int x, int y, Color& p) {
          float fx = (static_cast<float>(x) + 0.5f) / s, fy = (static_cast<float>(y) + 0.5f) / s;
          float d = -Sdf_Box(fx, fy, 120.f, 120.f, 120.f, 120.f, 14.f);
          if (d < 0.f) return;
          p = Framed_Parchment(fx, fy, d, 9.f, 120.f, 20, 60.f, 17u);
        });
        // Gold studs in the corners of the frame.
        for (float sx : {8.f, 232.f})
          for (float sy : {8.f, 232.f})
            Paint_Flat(
                big, [&](float x, float y) { return Sdf_Circle(x / s, y / s, sx, sy, 3.f) * s; },
                theme::GOLD_LIGHT);
        Draw_Medallion(big, 120.f * s, 27.f * s, 17.f * s, 1.f, 1.f);
        // A thin rule above the bottom edge.
        Paint_Flat(
            big, [&](float x, float y) { return Sdf_Box(x / s, y / s, 120.f, 212.f, 70.f, 1.f) * s; },
            theme::GOLD_DARK);
        Paint_Flat(
            big, [&](float x, float y) { return Sdf_Circle(x / s, y / s, 120.f, 212.f, 4.f) * s; },
            theme::GOLD);
      });
  Put_Frame(art, bob, 0, c);
}

void Paint_Menu_Buttons(ArtFile& art) {
  const char* bobs[3] = {"BOB_button_start", "BOB_button_options", "BOB_button_quit"};
  const char* labels[3] = {"START", "OPTIONS", "QUIT"};
  for (int b = 0; b < 3; ++b)
    for (int f = 0; f < 2; ++f) {
      bool pressed = f == 1;
      // Drawn at 60 x 35 when the menu is full-grown.
      Canvas c = Designed_At_Drawn_Size(
          60, 35, Frame_Width(bobs[b]), Frame_Height(bobs[b]), 6, [&](Canvas& big, float k) {
            Wood_Plate(big, k, 0.5f, 1.f, 59.f, 33.f, pressed);
            LabelStyle s = Gold_Text(1.2f * k);
            if (pressed) s.fill = Rgb(230, 190, 110), s.fill_bottom = Rgb(190, 130, 40);
            float o = pressed ? 1.f : 0.f;
            Draw_Label_Height(big, labels[b], (30.f + o) * k, (17.5f + o) * k, static_cast<int>(12.f * k),
                              static_cast<int>(50.f * k), s);
          });
      Put_Frame(art, bobs[b], f, c);
    }
}

void Paint_Options(ArtFile& art) {
  // Row one: how many tokens and keys a new game places. Each picture keeps its top and bottom
  // rows clear, since the rows of this file overlap by one or two pixel rows.
  const char* values[3] = {"20", "10", "5"};
  const char* amount = "BOB_option_amount";
  for (int f = 0; f < 3; ++f) {
    Canvas c = Designed_At_Drawn_Size(
        150, 35, Frame_Width(amount), Frame_Height(amount), 4, [&](Canvas& big, float k) {
          Wood_Plate(big, k, 1.f, 3.f, 148.f, 29.f, false);
          // The number on a gold coin at the left.
          Draw_Token(big, 19.f * k, 17.5f * k, 12.5f * k, theme::GOLD, theme::GOLD_LIGHT, theme::GOLD_DARK);
          Paint(
              big, [&](float x, float y) { return Sdf_Circle(x, y, 19.f * k, 17.5f * k, 10.f * k); },
              [&](float, float, float) { return Rgb(250, 226, 150); });
          Draw_Label_Height(big, values[f], 19.f * k, 17.5f * k, static_cast<int>(11.f * k),
                            static_cast<int>(17.f * k), Ink_Text());
          Draw_Label_Height(big, "TOKENS & KEYS", 89.f * k, 17.5f * k, static_cast<int>(11.f * k),
                            static_cast<int>(104.f * k), Gold_Text(1.f * k));
        });
    Put_Frame(art, amount, f, c);
  }
  // Row two: who plays. Frame 0, two people at one machine: a blue and a red figure side by side.
  // Frame 1, against the computer: the blue figure facing a red clockwork cog, which plays player 1.
  const char* sw = "BOB_option_switch";
  for (int f = 0; f < 2; ++f) {
    const bool computer = f == 1;
    Canvas c =
        Designed_At_Drawn_Size(150, 35, Frame_Width(sw), Frame_Height(sw), 4, [&](Canvas& big, float k) {
          Wood_Plate(big, k, 1.f, 3.f, 148.f, 29.f, false);
          const int figure = static_cast<int>(24.f * k);
          auto put_figure = [&](int player, int direction, float cx) {
            Canvas fig = Resample(Figure(player, direction), figure, figure);
            Composite(big, fig, static_cast<int>(cx * k) - figure / 2, static_cast<int>(18.f * k) - figure / 2);
          };
          put_figure(2, 1, 14.f);
          if (computer) {
            Draw_Cog(big, 34.f * k, 17.5f * k, 8.5f * k, theme::P1, theme::P1_LIGHT, theme::P1_DARK);
          } else {
            put_figure(1, 2, 32.f);
          }
          Draw_Label_Height(big, computer ? "VS COMPUTER" : "2 PLAYERS", 97.f * k, 17.5f * k,
                            static_cast<int>(11.f * k), static_cast<int>(92.f * k), Gold_Text(1.f * k));
        });
    Put_Frame(art, sw, f, c);
  }
}

namespace {

// The closed brick wall over the whole screen; seam(row) is where the left wall's bricks end in
// each course, along a joint, so the two walls interlock when they meet.
constexpr int BRICK_W = 40, BRICK_H = 20;

// The seal on the closed walls, split down the middle between the two.
constexpr float SEAL_X = 320.f, SEAL_Y = 240.f, SEAL_R = 62.f;

// Where the left wall's pixels end on row y: along the joints of each course, so that the bricks
// interlock, and straight down the middle where the seal covers the seam.
int Seam_X(int y) {
  float dy = static_cast<float>(y) + 0.5f - SEAL_Y;
  if (std::fabs(dy) < SEAL_R + 2.f && std::sqrt((SEAL_R + 2.f) * (SEAL_R + 2.f) - dy * dy) > 22.f) return 320;
  return (y / BRICK_H) % 2 == 0 ? 320 : 340;
}

Canvas Brick_Wall() {
  Canvas c = New_Canvas(640, 480);
  const Torch light[] = {{320, 240, 420}};
  For_Each(c, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    int course = y / BRICK_H;
    int off = (course % 2) ? BRICK_W / 2 : 0;
    int bx = (x + BRICK_W - off) / BRICK_W;
    float lx = static_cast<float>((x + BRICK_W - off) % BRICK_W) + 0.5f,
          ly = static_cast<float>(y % BRICK_H) + 0.5f;
    float tone = 0.8f + 0.35f * Hash01(bx, course, 55u);
    Color brick = Mix(Rgb(148, 74, 52), Rgb(110, 58, 44), Hash01(bx, course, 56u));
    brick = Shade(brick, tone * (0.85f + 0.3f * Fbm(fx, fy, 64.f, 6, 3, 57u)));
    // Soot and wear.
    brick = Mix(brick, Rgb(40, 30, 26),
                0.35f * std::clamp(Fbm(fx, fy, 640.f, 5, 3, 58u) - 0.45f, 0.f, 1.f) * 2.f);
    float l = lx - 1.f, t = ly - 1.f, r = static_cast<float>(BRICK_W) - 1.f - lx,
          b = static_cast<float>(BRICK_H) - 1.f - ly;
    if (l < 2.5f || t < 2.5f) brick = Mix(brick, Rgb(230, 160, 120), 0.3f * (1.f - std::min(l, t) / 2.5f));
    if (r < 2.5f || b < 2.5f) brick = Mix(brick, Rgb(40, 16, 10), 0.45f * (1.f - std::min(r, b) / 2.5f));
    bool mortar = lx < 1.f || lx > static_cast<float>(BRICK_W) - 1.f || ly < 1.f ||
                  ly > static_cast<float>(BRICK_H) - 1.f;
    Color col = mortar ? Shade(Rgb(80, 72, 64), 0.8f + 0.3f * Fbm(fx, fy, 32.f, 8, 2, 59u)) : brick;
    float lit = std::min(1.15f, 0.45f + Torchlight(light, 1, fx, fy));
    p = Shade(col, lit);
  });
  Paint_Flat(
      c, [&](float x, float y) { return Sdf_Circle(x - 5.f, y - 7.f, SEAL_X, SEAL_Y, SEAL_R); },
      Rgb(10, 6, 4, 0.75f));
  Draw_Medallion(c, SEAL_X, SEAL_Y, SEAL_R, 1.f, 1.f);
  return c;
}

}  // namespace

void Paint_Brick_Wall_Left(ArtFile& art) {
  Canvas wall = Brick_Wall();
  Canvas c = New_Frame("BOB_wall_left");
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < Seam_X(y); ++x) c.At(x, y) = wall.At(x, y);
  Put_Frame(art, "BOB_wall_left", 0, c);
}

void Paint_Brick_Wall_Right(ArtFile& art) {
  Canvas wall = Brick_Wall();
  Canvas c = New_Frame("BOB_wall_right");
  for (int y = 0; y < c.height; ++y)
    for (int x = Seam_X(y); x < c.width; ++x) c.At(x, y) = wall.At(x, y);
  Put_Frame(art, "BOB_wall_right", 0, c);
}

namespace {

void Draw_Plaque(Canvas& c, float x0, float y0, float x1, float y1, float radius) {
  float cx = (x0 + x1) / 2.f, cy = (y0 + y1) / 2.f, hw = (x1 - x0) / 2.f, hh = (y1 - y0) / 2.f;
  Paint_Flat(
      c, [&](float x, float y) { return Sdf_Box(x - 3.f, y - 4.f, cx, cy, hw, hh, radius); },
      Rgb(10, 8, 6, 0.7f));
  Paint_Flat(
      c, [&](float x, float y) { return Sdf_Box(x, y, cx, cy, hw + 1.f, hh + 1.f, radius + 1.f); },
      theme::INK);
  Paint(
      c, [&](float x, float y) { return Sdf_Box(x, y, cx, cy, hw, hh, radius); },
      [&](float x, float y, float d) {
        if (d > -3.f)
          return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, std::clamp((y - y0) / (y1 - y0), 0.f, 1.f));
        return Shade(Parchment(x, y, 64.f, 5u, false), 1.06f);
      });
}

void Draw_Sconce(Canvas& c, float x, float y) {
  // An iron bracket on the wall, a torch in it, and its flame.
  Paint_Flat(
      c, [&](float px, float py) { return Sdf_Box(px, py, x, y + 30.f, 9.f, 14.f, 3.f); }, theme::INK);
  Paint_Flat(
      c, [&](float px, float py) { return Sdf_Box(px, py, x, y + 30.f, 7.5f, 12.5f, 2.f); }, theme::IRON);
  Paint_Flat(
      c,
      [&](float px, float py) { return Sdf_Segment(px, py, x - 12.f, y + 14.f, x + 12.f, y + 14.f, 2.5f); },
      theme::IRON);
  Paint_Flat(
      c, [&](float px, float py) { return Sdf_Segment(px, py, x, y + 6.f, x, y + 34.f, 4.5f); }, theme::INK);
  Paint_Flat(
      c, [&](float px, float py) { return Sdf_Segment(px, py, x, y + 6.f, x, y + 34.f, 3.5f); }, theme::WOOD);
  Paint(
      c, [&](float px, float py) { return Sdf_Ellipse(px, py, x, y - 8.f, 10.f, 17.f); },
      [&](float, float, float d) {
        return Mix(Rgb(255, 250, 210), theme::FLAME, std::clamp(1.f + d / 8.f, 0.f, 1.f));
      });
  Paint_Flat(
      c, [&](float px, float py) { return Sdf_Ellipse(px, py, x, y - 3.f, 5.f, 8.f); }, Rgb(255, 255, 235));
}

}  // namespace

void Paint_Results(ArtFile& art) {
  Canvas& c = art.canvas;
  const Torch torches[] = {{60, 170, 190}, {580, 170, 190}, {320, 300, 230}};
  For_Each(c, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    Color col = Masonry(fx / 2.6f, fy / 2.6f, 31, 21u);
    float light = std::min(1.2f, 0.14f + 1.05f * Torchlight(torches, 3, fx, fy));
    col = Mix(Shade(col, light), Rgb(255, 140, 50), 0.16f * std::min(1.f, light));
    p = col;
  });
  Vignette(c, 0.5f, 2.f);
  // The portrait's gold frame around (148, 19), 93 x 93.
  Paint_Flat(
      c, [&](float x, float y) { return Sdf_Box(x - 4.f, y - 5.f, 194.5f, 65.5f, 56.f, 56.f, 4.f); },
      Rgb(8, 6, 4, 0.7f));
  Paint(
      c, [&](float x, float y) { return Sdf_Box(x, y, 194.5f, 65.5f, 55.5f, 55.5f, 3.f); },
      [&](float x, float y, float) {
        float t = std::clamp(((x - 140.f) + (y - 11.f)) / 220.f, 0.f, 1.f);
        return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, t);
      });
  Paint_Flat(
      c, [&](float x, float y) { return std::fabs(Sdf_Box(x, y, 194.5f, 65.5f, 51.f, 51.f)) - 0.8f; },
      theme::GOLD_DARK);
  Paint_Flat(
      c, [&](float x, float y) { return Sdf_Box(x, y, 194.5f, 65.5f, 47.5f, 47.5f); }, Rgb(30, 20, 14));

  LabelStyle title = Gold_Text(3.f);
  title.shadow = Rgb(0, 0, 0, 0.8f);
  title.shadow_dx = 3;
  title.shadow_dy = 4;
  title.fill = Rgb(255, 240, 170);
  title.fill_bottom = Rgb(214, 140, 40);
  Draw_Label(c, "VICTORY!", 440.f, 52.f, 330, 56, true, title);
  LabelStyle sub = Gold_Text(2.f);
  sub.fill = theme::PARCHMENT;
  sub.fill_bottom = theme::PARCHMENT_DARK;
  Draw_Label_Height(c, "ALL FIVE TREASURES BROUGHT HOME", 440.f, 104.f, 13, 340, sub);

  Draw_Sconce(c, 60.f, 190.f);
  Draw_Sconce(c, 580.f, 190.f);

  // Light plaques under the three texts the screen writes in black: the grade letter at (308, 290),
  // the turns at (200, 420) and the items at (418, 420), each about 16 pixels tall. The grade's
  // medallion fits the letter the screen writes there, whose ink covers about (313, 294) to (322, 302).
  LabelStyle label = Gold_Text(2.f);
  constexpr float GRADE_X = 317.5f, GRADE_Y = 298.f, GRADE_R = 14.f;
  Draw_Label_Height(c, "GRADE", GRADE_X, GRADE_Y - GRADE_R - 14.f, 16, 120, label);
  Paint(
      c, [&](float x, float y) { return Sdf_Circle(x - 2.f, y - 3.f, GRADE_X, GRADE_Y, GRADE_R); },
      [&](float, float, float) { return Rgb(10, 8, 6, 0.7f); });
  Paint_Flat(
      c, [&](float x, float y) { return Sdf_Circle(x, y, GRADE_X, GRADE_Y, GRADE_R + 1.f); }, theme::INK);
  Paint(
      c, [&](float x, float y) { return Sdf_Circle(x, y, GRADE_X, GRADE_Y, GRADE_R); },
      [&](float x, float y, float d) {
        if (d > -3.f)
          return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK,
                     std::clamp((y - GRADE_Y + GRADE_R) / (2.f * GRADE_R), 0.f, 1.f));
        return Shade(Parchment(x, y, 64.f, 6u, false), 1.06f);
      });
  Draw_Plaque(c, 190.f, 409.f, 290.f, 446.f, 8.f);
  Draw_Plaque(c, 408.f, 409.f, 508.f, 446.f, 8.f);
  Draw_Label_Height(c, "TURNS", 142.f, 427.5f, 15, 90, label);
  Draw_Label_Height(c, "ITEMS", 360.f, 427.5f, 15, 90, label);
  LabelStyle hint = Gold_Text(1.5f);
  hint.fill = theme::PARCHMENT;
  hint.fill_bottom = theme::PARCHMENT_DARK;
  Draw_Label_Height(c, "ESC: BACK TO THE MENU", 540.f, 466.f, 9, 200, hint);
  Draw_Label_Height(c, "F1: HOW TO PLAY", 100.f, 466.f, 9, 200, hint);
  For_Each(c, [](int, int, Color& p) { p.a = 1.f; });
  Put_Frame(art, "BOB_results_background", 0, Crop(c, 0, 0, 640, 480));
}

Canvas Portrait(int player, int size) {
  // Designed on a 128-pixel square and drawn at any size.
  const float S = static_cast<float>(size) / 128.f;
  Canvas c = New_Canvas(size, size);
  const Color hood = Player_Color(player), hood_light = Player_Light(player), hood_dark = Player_Dark(player);
  // A dark stone wall lit by a torch at the upper left.
  For_Each(c, [&](int x, int y, Color& p) {
    float fx = (static_cast<float>(x) + 0.5f) / S, fy = (static_cast<float>(y) + 0.5f) / S;
    float glow = std::exp(-(std::pow((fx - 20.f) / 80.f, 2.f) + std::pow((fy - 20.f) / 80.f, 2.f)));
    Color wall = Masonry(fx / 1.6f, fy / 1.6f, 31, 44u);
    p = Mix(Shade(wall, 0.35f + 0.8f * glow), Rgb(255, 150, 60), 0.25f * glow);
  });
  auto at = [&](auto sdf) { return [=](float x, float y) { return sdf(x / S, y / S) * S; }; };
  auto lit = [&](Color base, float cx, float cy, float r) {
    return [=](float x, float y, float) {
      float k = ((x / S - cx) + (y / S - cy)) / (2.f * r);
      return Shade(base, std::clamp(1.05f - 0.75f * k, 0.4f, 1.45f));
    };
  };
  // Cloak over the shoulders, the hood falling onto it, and its dark opening.
  Paint(c, at([](float x, float y) { return Sdf_Ellipse(x, y, 64.f, 136.f, 62.f, 44.f); }),
        lit(hood, 40.f, 110.f, 60.f));
  Paint(c, at([](float x, float y) {
          std::vector<Point> cowl = {{64, 8}, {100, 40}, {108, 96}, {84, 112}, {44, 112}, {20, 96}, {28, 40}};
          return Sdf_Polygon(x, y, cowl) - 6.f;
        }),
        lit(hood, 44.f, 40.f, 50.f));
  Paint(c, at([](float x, float y) { return Sdf_Ellipse(x, y, 64.f, 70.f, 27.f, 34.f); }),
        lit(hood_dark, 74.f, 80.f, 34.f));
  // Face: lit from the torch, shaded on the far cheek.
  Paint(c, at([](float x, float y) { return Sdf_Ellipse(x, y, 64.f, 74.f, 20.f, 25.f); }),
        lit(theme::SKIN, 52.f, 62.f, 26.f));
  // Hair over the brow: auburn for player 1, near black for player 2.
  Color hair = player == 1 ? Rgb(156, 72, 30) : Rgb(48, 32, 24);
  Paint(c, at([](float x, float y) {
          return std::max(Sdf_Ellipse(x, y, 64.f, 54.f, 23.f, 13.f),
                          -Sdf_Ellipse(x, y, 70.f, 64.f, 26.f, 9.f));
        }),
        lit(hair, 58.f, 50.f, 20.f));
  if (player == 2) {
    // A short beard along the jaw, leaving the mouth free.
    Paint(c, at([](float x, float y) {
            float jaw = std::max(Sdf_Ellipse(x, y, 64.f, 82.f, 21.f, 19.f), 76.f - y);
            return std::max(jaw, -Sdf_Ellipse(x, y, 64.f, 86.f, 8.f, 4.f));
          }),
          lit(hair, 58.f, 88.f, 18.f));
  }
  for (float ex : {56.f, 72.f}) {
    Paint_Flat(c, at([=](float x, float y) { return Sdf_Ellipse(x, y, ex, 71.f, 4.6f, 3.2f); }),
               Rgb(250, 246, 236));
    Paint_Flat(c, at([=](float x, float y) { return Sdf_Circle(x, y, ex + 0.6f, 71.4f, 2.5f); }),
               player == 1 ? Rgb(60, 120, 50) : Rgb(50, 90, 170));
    Paint_Flat(c, at([=](float x, float y) { return Sdf_Circle(x, y, ex + 0.6f, 71.4f, 1.1f); }), theme::INK);
    Paint_Flat(c, at([=](float x, float y) { return Sdf_Circle(x, y, ex - 0.8f, 70.4f, 0.8f); }),
               Rgb(255, 255, 255));
    Paint_Flat(c, at([=](float x, float y) {
                 return Sdf_Segment(x, y, ex - 5.f, 64.5f, ex + 4.5f, 63.5f + (ex < 64.f ? 0.f : 0.f), 1.5f);
               }),
               Shade(hair, 0.75f));
  }
  Paint_Flat(c, at([](float x, float y) { return Sdf_Segment(x, y, 64.f, 73.f, 61.5f, 81.f, 1.5f); }),
             theme::SKIN_DARK);
  Paint_Flat(c, at([](float x, float y) { return Sdf_Segment(x, y, 61.5f, 81.f, 65.f, 81.5f, 1.3f); }),
             theme::SKIN_DARK);
  // A smile.
  Paint_Flat(c, at([](float x, float y) {
               return std::max(std::fabs(Sdf_Circle(x, y, 64.f, 79.f, 8.f)) - 1.3f, 84.f - y);
             }),
             Rgb(150, 56, 44));
  // A gold clasp and trim, and the torch's glint on the hood.
  Paint_Flat(c, at([](float x, float y) { return Sdf_Circle(x, y, 64.f, 114.f, 6.f); }), theme::GOLD_DARK);
  Paint_Flat(c, at([](float x, float y) { return Sdf_Circle(x, y, 64.f, 114.f, 4.5f); }), theme::GOLD_LIGHT);
  Paint_Flat(c, at([](float x, float y) { return Sdf_Segment(x, y, 33.f, 50.f, 48.f, 22.f, 2.5f); }),
             Mix(hood, hood_light, 0.75f));
  For_Each(c, [](int, int, Color& p) { p.a = 1.f; });
  return c;
}

void Paint_Portraits(ArtFile& art) {
  // Frame 0 is player 1, frame 1 player 2.
  Put_Frame(art, "BOB_portraits", 0, Portrait(1, Frame_Width("BOB_portraits")));
  Put_Frame(art, "BOB_portraits", 1, Portrait(2, Frame_Width("BOB_portraits")));
  For_Each(art.canvas, [](int, int, Color& p) { p.a = 1.f; });
}

void Paint_Help_Art(ArtFile& art) {
  // The page: a parchment sheet in a wooden frame with gold trim, like the menu panel, with a gold
  // rule under the tabs.
  Canvas page = New_Frame("BOB_help_panel");
  const float w = static_cast<float>(page.width), h = static_cast<float>(page.height);
  For_Each(page, [&](int x, int y, Color& p) {
    float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
    float d = -Sdf_Box(fx, fy, w / 2.f, h / 2.f, w / 2.f, h / 2.f, 16.f);
    if (d >= 0.f) p = Framed_Parchment(fx, fy, d, 10.f, 150.f, 25, 75.f, 23u);
  });
  for (float sx : {7.f, w - 7.f})
    for (float sy : {7.f, h - 7.f})
      Paint_Flat(
          page, [&](float x, float y) { return Sdf_Circle(x, y, sx, sy, 3.f); }, theme::GOLD_LIGHT);
  Paint_Flat(
      page, [&](float x, float y) { return Sdf_Box(x, y, w / 2.f, 56.f, w / 2.f - 24.f, 0.8f); },
      theme::GOLD_DARK);
  Put_Frame(art, "BOB_help_panel", 0, page);

  // The tabs: frames 0 and 1 HOW TO PLAY, 2 and 3 SETTINGS, 4 and 5 SAVED GAMES; the first of each
  // pair is the page shown.
  const char* tabs[3] = {"HOW TO PLAY", "SETTINGS", "SAVED GAMES"};
  for (int f = 0; f < 6; ++f) {
    const bool shown = f % 2 == 0;
    Canvas tab = New_Frame("BOB_help_tabs");
    const float tab_w = static_cast<float>(tab.width);
    Wood_Plate(tab, 1.f, 1.f, 1.f, tab_w - 2.f, 30.f, !shown);
    LabelStyle s = Gold_Text(1.2f);
    if (!shown) s.fill = Rgb(200, 170, 120), s.fill_bottom = Rgb(150, 110, 60);
    Draw_Label_Height(tab, tabs[f / 2], tab_w / 2.f, 16.f, 13, static_cast<int>(tab_w) - 24, s);
    Put_Frame(art, "BOB_help_tabs", f, tab);
  }

  // The plate a setting's value is written on: frame 1 under the pointer.
  for (int f = 0; f < 2; ++f) {
    Canvas plate = New_Frame("BOB_help_plate");
    Draw_Plate(plate, 0.5f, 0.5f, 99.f, 21.f, 6.f, 1.6f, f ? Rgb(150, 92, 48) : Rgb(112, 66, 34),
               f ? Rgb(96, 54, 26) : Rgb(66, 36, 18), false);
    Put_Frame(art, "BOB_help_plate", f, plate);
  }

  for (int f = 0; f < Frame_Count("BOB_marks"); ++f) Put_Frame(art, "BOB_marks", f, Comfort_Mark(f));
}

#include "tools/artgen/sheet.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/bob.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "platform/platform.h"
#include "shell/asset_manifest.h"
#include "tools/artgen/painters.h"
#include "tools/artgen/text.h"
#include "tools/artgen/theme.h"

namespace {

std::string Join(const char* dir, const char* name) {
  std::string d = dir;
  if (!d.empty() && d.back() != '/') d += '/';
  return d + name;
}

// The 28 BOBs loaded the way the game loads them: one bitmap record reused file after file.
struct LoadedArt {
  BOB bobs[MANIFEST_BOB_COUNT];
  LoadedArt() = default;
  LoadedArt(const LoadedArt&) = delete;
  LoadedArt& operator=(const LoadedArt&) = delete;
  ~LoadedArt() {
    for (BOB& b : bobs)
      if (b.state) Destroy_BOB(&b);
  }
};

int Load_Art(const char* dir, LoadedArt* art) {
  BitmapFile bitmap{};
  const char* loaded = nullptr;
  for (int r = 0; r < MANIFEST_BOB_COUNT; ++r) {
    const ManifestEntry& e = asset_manifest[r];
    const char* file = Manifest_File(r);
    if (loaded != file) {
      std::string path = Join(dir, file);
      if (!Load_Bitmap_File(&bitmap, path.c_str())) {
        std::fprintf(stderr, "orvalis_artgen: cannot load %s\n", path.c_str());
        Unload_Bitmap_File(&bitmap);
        return 0;
      }
      if (bitmap.bitmapinfoheader.biBitCount != 24) {
        std::fprintf(stderr, "orvalis_artgen: %s is not a 24-bit file\n", path.c_str());
        Unload_Bitmap_File(&bitmap);
        return 0;
      }
      loaded = file;
    }
    BOB& bob = art->bobs[r];
    if (!Create_BOB(&bob, 0, 0, e.width, e.height, e.frame_count, e.attributes, DDSCAPS_SYSTEMMEMORY)) {
      std::fprintf(stderr, "orvalis_artgen: cannot create %s\n", e.bob_name);
      Unload_Bitmap_File(&bitmap);
      return 0;
    }
    for (int f = 0; f < e.frame_count; ++f)
      Load_Frame_BOB(&bob, &bitmap, f, e.frames[f].cx, e.frames[f].cy, e.mode);
  }
  Unload_Bitmap_File(&bitmap);
  return 1;
}

BOB* Bob(LoadedArt& art, const char* name) {
  int r = Manifest_Find(name);
  return r < 0 ? nullptr : &art.bobs[r];
}

// An engine pixel in 8-bit channels; the key colour 0 reports transparent.
bool Frame_Pixel(const Surface* s, int x, int y, uint8_t rgb[3]) {
  uint16_t p = s->pixels[static_cast<size_t>(y) * static_cast<size_t>(s->pitch / 2) + static_cast<size_t>(x)];
  if (p == 0) return false;
  int r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
  rgb[0] = static_cast<uint8_t>(r << 3 | r >> 2);
  rgb[1] = static_cast<uint8_t>(g << 2 | g >> 4);
  rgb[2] = static_cast<uint8_t>(b << 3 | b >> 2);
  return true;
}

int Write_Canvas_PNG(const Canvas& c, const char* path) {
  std::vector<uint8_t> rgb(static_cast<size_t>(c.width) * static_cast<size_t>(c.height) * 3);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const Color& p = c.At(x, y);
      uint8_t* o = &rgb[(static_cast<size_t>(y) * static_cast<size_t>(c.width) + static_cast<size_t>(x)) * 3];
      o[0] = static_cast<uint8_t>(std::lround(std::clamp(p.r, 0.f, 255.f)));
      o[1] = static_cast<uint8_t>(std::lround(std::clamp(p.g, 0.f, 255.f)));
      o[2] = static_cast<uint8_t>(std::lround(std::clamp(p.b, 0.f, 255.f)));
    }
  if (!Platform_Write_PNG(path, rgb.data(), c.width, c.height)) {
    std::fprintf(stderr, "orvalis_artgen: cannot write %s\n", path);
    return 0;
  }
  return 1;
}

int Write_Surface_PNG(const Surface* s, const char* path) {
  Canvas c = New_Canvas(s->width, s->height, Rgb(0, 0, 0));
  for (int y = 0; y < s->height; ++y)
    for (int x = 0; x < s->width; ++x) {
      uint16_t p =
          s->pixels[static_cast<size_t>(y) * static_cast<size_t>(s->pitch / 2) + static_cast<size_t>(x)];
      int r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
      c.At(x, y) = Rgb(static_cast<float>(r << 3 | r >> 2), static_cast<float>(g << 2 | g >> 4),
                       static_cast<float>(b << 3 | b >> 2));
    }
  return Write_Canvas_PNG(c, path);
}

// A BOB's heading on the sheet: its name, file, frame size and the scale it is shown at.
std::string Sheet_Title(int row) {
  const ManifestEntry& e = asset_manifest[row];
  std::string text = std::string(e.bob_name) + "  " + Manifest_File(row) + "  " + std::to_string(e.width) +
                     "x" + std::to_string(e.height);
  int side = std::max(e.width, e.height);
  if (side > 400)
    text += "  (half size)";
  else if (side <= 64)
    text += "  (twice the size)";
  return text;
}

Color Checker(int x, int y) { return ((x / 8 + y / 8) % 2) ? Rgb(196, 196, 204) : Rgb(150, 150, 160); }

}  // namespace

int Write_Contact_Sheet(const char* art_dir, const char* png_path) {
  LoadedArt art;
  if (!Load_Art(art_dir, &art)) return 0;
  const int width = 1320, margin = 12, gap = 14, title_h = 22, label_h = 18;
  // Each BOB is a box: a title line over its frames, which wrap inside the box. Boxes are laid
  // left to right and wrap to a new shelf when the sheet is full.
  struct Placement {
    int row, frame, x, y, scale_num, scale_den;
  };
  struct Title {
    int row, x, y;
  };
  std::vector<Placement> frames;
  std::vector<Title> titles;
  int shelf_x = margin, shelf_y = margin, shelf_h = 0;
  for (int r = 0; r < MANIFEST_BOB_COUNT; ++r) {
    const ManifestEntry& e = asset_manifest[r];
    int side = std::max(e.width, e.height);
    int num = side <= 64 ? 2 : 1, den = side > 400 ? 2 : 1;
    int fw = e.width * num / den, fh = e.height * num / den;
    int per_line = std::max(1, std::min(e.frame_count, (width - 2 * margin + gap) / (fw + gap)));
    int lines = (e.frame_count + per_line - 1) / per_line;
    TextMask title_mask;
    int title_w = Platform_Render_Text(Sheet_Title(r).c_str(), 14, &title_mask) ? title_mask.width : 420;
    int box_w = std::max(per_line * (fw + gap) - gap, title_w);
    int box_h = title_h + lines * (fh + label_h);
    if (shelf_x + box_w > width - margin && shelf_x > margin) {
      shelf_x = margin;
      shelf_y += shelf_h + gap;
      shelf_h = 0;
    }
    titles.push_back(Title{r, shelf_x, shelf_y});
    for (int f = 0; f < e.frame_count; ++f)
      frames.push_back(Placement{r, f, shelf_x + (f % per_line) * (fw + gap),
                                 shelf_y + title_h + (f / per_line) * (fh + label_h), num, den});
    shelf_x += box_w + 2 * gap;
    shelf_h = std::max(shelf_h, box_h);
  }
  Canvas sheet = New_Canvas(width, shelf_y + shelf_h + margin, Rgb(44, 36, 32));
  for (const Title& t : titles) {
    Draw_Text_At(sheet, Sheet_Title(t.row).c_str(), t.x, t.y, 14, theme::GOLD_LIGHT);
  }
  for (const Placement& p : frames) {
    const ManifestEntry& e = asset_manifest[p.row];
    const Surface* s = art.bobs[p.row].frames[p.frame];
    if (!s) continue;
    int fw = e.width * p.scale_num / p.scale_den, fh = e.height * p.scale_num / p.scale_den;
    for (int j = 0; j < fh; ++j)
      for (int i = 0; i < fw; ++i) {
        int sx = i * p.scale_den / p.scale_num, sy = j * p.scale_den / p.scale_num;
        uint8_t rgb[3];
        Color c = Frame_Pixel(s, sx, sy, rgb) ? Rgb(rgb[0], rgb[1], rgb[2]) : Checker(i, j);
        if (sheet.Inside(p.x + i, p.y + j)) sheet.At(p.x + i, p.y + j) = c;
      }
    std::string label = std::to_string(p.frame);
    Draw_Text_At(sheet, label.c_str(), p.x, p.y + fh + 1, 12, theme::PARCHMENT);
  }
  if (Artgen_Error_Count()) return 0;
  return Write_Canvas_PNG(sheet, png_path);
}

namespace {

// ---- Mock screens ----

struct Screen {
  Surface* surface = nullptr;
  Screen() { surface = Create_Surface(SCREEN_WIDTH, SCREEN_HEIGHT, DDSCAPS_SYSTEMMEMORY); }
  ~Screen() {
    if (surface) Release_Surface(surface);
  }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;
};

void Draw_At(BOB* b, int frame, int x, int y, Surface* s) {
  b->current_frame = frame;
  b->x = x;
  b->y = y;
  Draw_BOB(b, s);
}

void Draw_Scaled_At(BOB* b, int frame, int x, int y, int w, int h, Surface* s, uint8_t keyed) {
  b->current_frame = frame;
  b->x = x;
  b->y = y;
  Draw_Scaled_BOB(b, w, h, s, keyed);
}

void Draw_Panel(LoadedArt& art, Surface* s, int x, int y, int rows, int cols) {
  BOB* m = Bob(art, "BOB_message");
  auto row = [&](int yy, int left, int mid, int right) {
    for (int j = 0; j <= cols; ++j) Draw_At(m, j == 0 ? left : (j == cols ? right : mid), x + 32 * j, yy, s);
  };
  row(y, 0, 7, 1);
  for (int r = 1; r <= rows - 2; ++r) row(y + 32 * r, 4, 8, 6);
  row(y + 32 * (rows - 1), 2, 5, 3);
}

// A template file's 64 cells as characters, [x][y]; '?' where the file is short or missing.
struct Grid {
  char cell[8][8];
};

Grid Read_Grid(const char* dir, const std::string& name) {
  Grid g;
  std::memset(g.cell, '?', sizeof(g.cell));
  std::ifstream in(Join(dir, name.c_str()));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int n = 0;
  for (char ch : text) {
    if (ch == ',' || ch == '\n' || ch == '\r') continue;
    if (n >= 64) break;
    g.cell[n % 8][n / 8] = ch;
    ++n;
  }
  return g;
}

void Draw_Detail(LoadedArt& art, Surface* s, const char* templates, int type, int treasure_player,
                 bool home) {
  Grid walls = Read_Grid(templates, std::to_string(type) + ".txt");
  Grid floor = Read_Grid(templates, std::to_string(type) + "b.txt");
  Grid overlay = type == 10 ? Read_Grid(templates, "10c.txt") : Grid{};
  if (type != 10) std::memset(overlay.cell, '0', sizeof(overlay.cell));
  int content[8][8] = {};
  Rng rng(static_cast<uint64_t>(type) * 31 + 7);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (walls.cell[x][y] == 'z') {
        int r = rng.Range(15) + 6;
        content[x][y] = r <= 14 ? r : 0;
      }
  content[4][4] = 2;
  if (home) content[3][4] = 3;
  static const int doors[15][4] = {{0}, {0}, {0}, {0},          {0},          {0},          {0},         {0},
                                   {0}, {0}, {0}, {3, 6, 4, 6}, {6, 3, 6, 4}, {3, 1, 4, 1}, {1, 3, 1, 4}};
  if (type >= 11) {
    bool ns = type == 11 || type == 13;
    content[doors[type][0]][doors[type][1]] = ns ? 106 : 102;
    content[doors[type][2]][doors[type][3]] = ns ? 107 : 103;  // the leaf shown open
  }
  BOB* floor_bob = Bob(art, "BOB_floor");
  BOB* wall_bob = Bob(art, "BOB_walls");
  BOB* items = Bob(art, "BOB_artifacts2");
  BOB* treasures = Bob(art, "BOB_artifacts");
  BOB* doors_bob = Bob(art, "BOB_doors");
  BOB* p1 = Bob(art, "BOB_player1");
  BOB* p2 = Bob(art, "BOB_player2");
  for (int sy = 0; sy < 8; ++sy)
    for (int sx = 0; sx < 8; ++sx) {
      int x = 20 + 31 * sx, y = 75 + 31 * sy;
      char f = floor.cell[sx][sy];
      if (f >= 'a' && f <= 'd') Draw_At(floor_bob, f - 'a', x, y, s);
      int v = content[sx][sy];
      if (v > 0 && v < 99) Draw_At(items, v, x, y, s);
      if (sx == 3 && sy == 3 && treasure_player)
        Draw_At(treasures, treasure_player == 1 ? 5 : 3, 113, 168, s);
      if (sx == 5 && sy == 5) Draw_At(p1, 3, x, y, s);
      if (sx == 2 && sy == 5) Draw_At(p2, 1, x, y, s);
      char w = walls.cell[sx][sy];
      if (w >= '1' && w <= '9') Draw_At(wall_bob, w - '1', x, y, s);
      if (w == 'a') Draw_At(items, 5, x, y, s);
      char o = overlay.cell[sx][sy];
      if (o >= 'a' && o <= 'm') Draw_At(wall_bob, o - 'a', x, y, s);
      if (v > 99) Draw_At(doors_bob, v - 100, x, y, s);
    }
}

void Draw_Play(LoadedArt& art, Surface* s, const char* templates, int player, int detail_type) {
  BOB* rock = Bob(art, player == 1 ? "BOB_rock1" : "BOB_rock2");
  for (int r = 0; r < 5; ++r)
    for (int q = 0; q < 7; ++q) Draw_Scaled_At(rock, 0, 99 * q, 99 * r, 100, 100, s, 0);
  Fill_Rect(20, 75, 268, 323, 45, s);
  Draw_Panel(art, s, 0, 57, 9, 8);
  BOB* buttons = Bob(art, "BOB_game_buttons");
  for (int n = 0; n < 8; ++n) {
    Draw_At(buttons, n == 3 ? 6 : 2, 349 + 32 * n, 75, s);
    Draw_At(buttons, 3, 349 + 32 * n, 363, s);
    Draw_At(buttons, 1, 317, 107 + 32 * n, s);
    Draw_At(buttons, 0, 605, 107 + 32 * n, s);
  }
  BOB* back = Bob(art, "BOB_block_back");
  BOB* minis = Bob(art, "BOB_pasigas");
  BOB* marks = Bob(art, "BOB_treasure");
  Rng rng(4242);
  for (int by = 0; by < 8; ++by)
    for (int bx = 0; bx < 8; ++bx) {
      int x = 349 + 32 * bx, y = 107 + 32 * by;
      int frame = 2;
      if (bx == 1 && by == 2) frame = 0;
      if (bx == 6 && by == 5) frame = 1;
      if (bx == 4 && by == 3) frame = player == 1 ? 1 : 0;  // under the pointer
      Draw_At(back, frame, x, y, s);
      Draw_At(minis, rng.Range(15), x, y, s);
      int t = rng.Range(12);
      if (t == 0) Draw_At(marks, 0, x, y, s);
      if (t == 1) Draw_At(marks, 1, x, y, s);
    }
  Draw_Detail(art, s, templates, detail_type, player, detail_type == 0);
  BOB* labels = Bob(art, "BOB_artifacts");
  BOB* counters = Bob(art, "BOB_counters");
  Draw_Panel(art, s, 30, 355, 4, 7);
  const int values[3] = {3, 2, 1};
  const int ys[3] = {370, 401, 433};
  const int label_frames[3] = {2, player == 1 ? 5 : 3, 4};
  const int label_y[3] = {370, 401, 440};
  const int filled[3] = {player == 1 ? 3 : 1, player == 1 ? 5 : 2, 4};
  for (int row = 0; row < 3; ++row) {
    Draw_At(labels, label_frames[row], 60, label_y[row], s);
    for (int k = 0; k < 5; ++k) Draw_At(counters, 0, 100 + 31 * k, ys[row], s);
    for (int k = 0; k < values[row]; ++k) Draw_At(counters, filled[row], 100 + 31 * k, ys[row], s);
  }
  Draw_At(Bob(art, "BOB_end_turn"), 0, 420, 420, s);
  Draw_At(Bob(art, "BOB_mouse"), 0, 480, 218, s);
}

void Draw_Menu_Screen(LoadedArt& art, Surface* s, bool options, int growth_step) {
  Draw_At(Bob(art, "BOB_menu_background"), 0, 0, 0, s);
  if (growth_step == 0) {
    Draw_At(Bob(art, "BOB_mouse"), 0, 420, 200, s);
    return;
  }
  int k = growth_step;
  int size = 8 * k;
  Draw_Scaled_At(Bob(art, "BOB_menu_panel"), 0, 340 - 4 * k, 355 - 4 * k, size, size, s, 1);
  int ox = 335 - k, oy = 250 - k;
  if (options) {
    Draw_Scaled_At(Bob(art, "BOB_option_amount"), 1, ox - 55, oy + 80, 150, 35, s, 1);
    Draw_Scaled_At(Bob(art, "BOB_option_switch"), 0, ox - 55, oy + 160, 150, 35, s, 1);
  } else {
    int w = 2 * k, h = 2 * k, x = ox, y = oy;
    if (w >= 77) w = 76, x = 295;
    if (h >= 36) h = 35, y = 235;
    Draw_Scaled_At(Bob(art, "BOB_button_start"), 0, x, y + 50, w, h, s, 1);
    Draw_Scaled_At(Bob(art, "BOB_button_options"), 1, x, y + 100, w, h, s, 1);
    Draw_Scaled_At(Bob(art, "BOB_button_quit"), 0, x, y + 150, w, h, s, 1);
  }
  Draw_At(Bob(art, "BOB_mouse"), 0, 330, 352, s);
}

void Draw_Results_Screen(LoadedArt& art, Surface* s, int player) {
  Fill_Rect(0, 0, 640, 480, 200, s);
  Draw_At(Bob(art, "BOB_results_background"), 0, 0, 0, s);
  Draw_Text_RGB(" 37 ", 200, 420, 0, s);
  Draw_Text_RGB(" 14 ", 418, 420, 0, s);
  Draw_Text_RGB(" C ", 308, 290, 0, s);
  Draw_Scaled_At(Bob(art, "BOB_portraits"), player == 1 ? 0 : 1, 148, 19, 93, 93, s, 0);
}

void Draw_Walls(LoadedArt& art, Surface* s, int offset) {
  Draw_Scaled_At(Bob(art, "BOB_wall_left"), 0, -offset, -1, 650, 490, s, 1);
  Draw_Scaled_At(Bob(art, "BOB_wall_right"), 0, offset, -1, 650, 490, s, 1);
}

}  // namespace

int Write_Previews(const char* art_dir, const char* templates_dir, const char* out_dir) {
  LoadedArt art;
  if (!Load_Art(art_dir, &art)) return 0;
  Screen screen;
  if (!screen.surface) return 0;
  Surface* s = screen.surface;
  int ok = 1;
  auto save = [&](const char* name) { ok = Write_Surface_PNG(s, Join(out_dir, name).c_str()) && ok; };
  Draw_Play(art, s, templates_dir, 1, 0);
  save("preview_play_player1.png");
  Draw_Play(art, s, templates_dir, 2, 10);
  save("preview_play_player2.png");
  Draw_Menu_Screen(art, s, false, 0);
  save("preview_title.png");
  Draw_Menu_Screen(art, s, false, 30);
  save("preview_menu.png");
  Draw_Menu_Screen(art, s, true, 30);
  save("preview_options.png");
  Draw_Results_Screen(art, s, 1);
  save("preview_results_player1.png");
  Draw_Play(art, s, templates_dir, 1, 4);
  Draw_Walls(art, s, 150);
  save("preview_walls_closing.png");
  Draw_Walls(art, s, 0);
  save("preview_walls_closed.png");
  Draw_Play(art, s, templates_dir, 2, 13);
  save("preview_play_dead_end.png");
  Draw_Menu_Screen(art, s, false, 12);
  save("preview_menu_growing.png");
  Draw_Results_Screen(art, s, 2);
  save("preview_results_player2.png");
  return ok;
}

int Write_Icons(const char* out_dir) {
  int ok = 1;
  for (int size : {48, 128, 256}) {
    float s = static_cast<float>(size) / 256.f;
    // PNG icons carry no alpha channel: the icon is a full square of dark, torch-lit masonry.
    Canvas c = New_Canvas(size, size, Rgb(0, 0, 0));
    For_Each(c, [&](int x, int y, Color& p) {
      float fx = (static_cast<float>(x) + 0.5f) / s, fy = (static_cast<float>(y) + 0.5f) / s;
      float glow = std::exp(-(std::pow((fx - 128.f) / 150.f, 2.f) + std::pow((fy - 128.f) / 150.f, 2.f)));
      p = Shade(Masonry(fx / 2.f, fy / 2.f, 31, 8u), 0.25f + 0.5f * glow);
    });
    // A gold medallion with a maze, a red and a blue gem: the game and its two players.
    Paint_Flat(
        c, [&](float x, float y) { return Sdf_Circle(x, y, 128.f * s, 128.f * s, 124.f * s); }, theme::INK);
    Paint(
        c, [&](float x, float y) { return Sdf_Circle(x, y, 128.f * s, 128.f * s, 118.f * s); },
        [&](float x, float y, float) {
          float t = std::clamp((x + y) / (512.f * s), 0.f, 1.f);
          return Mix(theme::GOLD_LIGHT, theme::GOLD_DARK, t);
        });
    Paint_Flat(
        c, [&](float x, float y) { return Sdf_Circle(x, y, 128.f * s, 128.f * s, 98.f * s); },
        Rgb(60, 40, 26));
    std::vector<int> maze = Make_Maze(6, 6, 99);
    float cell = 26.f * s, x0 = 128.f * s - 3.f * cell, y0 = 128.f * s - 3.f * cell;
    Paint_Flat(
        c,
        [&](float x, float y) {
          float lx = x - x0, ly = y - y0;
          if (std::hypot(x - 128.f * s, y - 128.f * s) > 92.f * s) return 1e9f;
          int cx = std::clamp(static_cast<int>(lx / cell), 0, 5),
              cy = std::clamp(static_cast<int>(ly / cell), 0, 5);
          float d = 1e9f;
          for (int j = std::max(0, cy - 1); j <= std::min(5, cy + 1); ++j)
            for (int i = std::max(0, cx - 1); i <= std::min(5, cx + 1); ++i) {
              int open = maze[static_cast<size_t>(j * 6 + i)];
              float ax = static_cast<float>(i) * cell, ay = static_cast<float>(j) * cell;
              if (!(open & 1)) d = std::min(d, Sdf_Segment(lx, ly, ax, ay, ax + cell, ay, 0.f));
              if (!(open & 8)) d = std::min(d, Sdf_Segment(lx, ly, ax, ay, ax, ay + cell, 0.f));
              if (!(open & 4)) d = std::min(d, Sdf_Segment(lx, ly, ax, ay + cell, ax + cell, ay + cell, 0.f));
              if (!(open & 2)) d = std::min(d, Sdf_Segment(lx, ly, ax + cell, ay, ax + cell, ay + cell, 0.f));
            }
          return d - std::max(1.f, 4.f * s);
        },
        theme::GOLD_LIGHT);
    Draw_Gem(c, 84.f * s, 172.f * s, 26.f * s, theme::P1, theme::P1_LIGHT, theme::P1_DARK, true);
    Draw_Gem(c, 172.f * s, 84.f * s, 26.f * s, theme::P2, theme::P2_LIGHT, theme::P2_DARK, true);
    std::string name = "orvalis_" + std::to_string(size) + ".png";
    ok = Write_Canvas_PNG(c, Join(out_dir, name.c_str()).c_str()) && ok;
  }
  return ok;
}

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
#include "common/asset_manifest.h"
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

int Write_Icons(const char* out_dir) {
  int ok = 1;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
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

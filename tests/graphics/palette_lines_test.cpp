// Palette entries and files, the line clipper's arithmetic, and the 8-bit line writer.
#include "graphics/palette_lines.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "support.h"

namespace {

PALETTEENTRY Entry(int i) {
  return PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7),
                      static_cast<uint8_t>(i % 5)};
}

bool Same(const PALETTEENTRY& a, const PALETTEENTRY& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Line {
  int x0, y0, x1, y1;
};

Line Clipped(Line l, int* result) {
  *result = Clip_Line(l.x0, l.y0, l.x1, l.y1);
  return l;
}

// The pixels a line sets in a 16 x 16 buffer, as (x, y) pairs.
std::set<std::pair<int, int>> Drawn(int x0, int y0, int x1, int y1) {
  uint8_t buffer[16 * 16] = {};
  EXPECT_EQ(Draw_Line(x0, y0, x1, y1, 3, buffer, 16), 1);
  std::set<std::pair<int, int>> set;
  for (int i = 0; i < 256; ++i) {
    if (buffer[i]) set.insert({i % 16, i / 16});
  }
  return set;
}

}  // namespace

TEST(Palette, EntriesTablesAndRotation) {
  ASSERT_EQ(Init_Display(640, 480, 16, 1), 1);
  PALETTEENTRY table[256];
  for (int i = 0; i < 256; ++i) table[i] = Entry(i);
  EXPECT_EQ(Set_Palette(table), 1);
  EXPECT_TRUE(Same(display.shadow_palette[77], Entry(77)));
  EXPECT_TRUE(Same(display.dd_palette->entries[77], Entry(77)));

  PALETTEENTRY e{1, 2, 3, 4};
  EXPECT_EQ(Set_Palette_Entry(9, &e), 1);
  PALETTEENTRY back{};
  EXPECT_EQ(Get_Palette_Entry(9, &back), 1);
  EXPECT_TRUE(Same(back, e));
  EXPECT_TRUE(Same(display.dd_palette->entries[9], e));
  EXPECT_EQ(Set_Palette_Entry(256, &e), 0);
  EXPECT_EQ(Get_Palette_Entry(-1, &back), 0);

  EXPECT_EQ(Rotate_Colors(10, 3), 1);
  EXPECT_TRUE(Same(display.shadow_palette[11], Entry(10)));
  EXPECT_TRUE(Same(display.shadow_palette[12], Entry(11)));
  EXPECT_TRUE(Same(display.shadow_palette[10], Entry(12)));
  EXPECT_TRUE(Same(display.shadow_palette[13], Entry(13)));
  EXPECT_TRUE(Same(display.dd_palette->entries[10], Entry(12)));
  EXPECT_EQ(Rotate_Colors(250, 7), 0);
  EXPECT_EQ(Rotate_Colors(0, 0), 0);

  PALETTEENTRY out[256];
  EXPECT_EQ(Get_Palette(out), 1);
  EXPECT_TRUE(Same(out[10], Entry(12)));
  EXPECT_EQ(Set_Palette(black_palette), 1);
  EXPECT_EQ(display.shadow_palette[255].peRed, 0);
  Shutdown_Display();
}

TEST(PaletteFile, RoundTripAndFormat) {
  TempDir dir;
  std::string path = dir.File("p.pal");
  PALETTEENTRY table[256];
  for (int i = 0; i < 256; ++i) table[i] = Entry(i);
  ASSERT_EQ(Save_Palette_File(path.c_str(), table), 1);
  std::string text = Read_File(path);
  EXPECT_EQ(text.substr(0, 16), "\n0 255 0 0\n1 254");
  EXPECT_NE(text.back(), '\n');
  PALETTEENTRY loaded[256] = {};
  ASSERT_EQ(Load_Palette_File(path.c_str(), loaded), 1);
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(Same(loaded[i], table[i])) << i;
  EXPECT_EQ(Load_Palette_File(dir.File("none.pal").c_str(), loaded), 0);
  EXPECT_EQ(Save_Palette_File(dir.File("no/such.pal").c_str(), table), 0);
}

TEST(PaletteFile, ShortOrBrokenFilesLeaveTheRestAsItWas) {
  TempDir dir;
  std::string text;
  char line[64];
  for (int i = 0; i < 100; ++i) {
    std::snprintf(line, sizeof line, "\n%d\t%d  1\n2", i, i);
    text += line;
  }
  text += "\n7 8";  // an incomplete entry is not taken
  ASSERT_TRUE(Write_File(dir.File("short.pal"), std::vector<uint8_t>(text.begin(), text.end())));
  PALETTEENTRY table[256];
  for (int i = 0; i < 256; ++i) table[i] = Entry(i);
  ASSERT_EQ(Load_Palette_File(dir.File("short.pal").c_str(), table), 1);
  EXPECT_TRUE(Same(table[99], (PALETTEENTRY{99, 99, 1, 2})));
  EXPECT_TRUE(Same(table[100], Entry(100)));
  EXPECT_TRUE(Same(table[255], Entry(255)));

  std::string odd = "\n300 -1 99999999999999999999 4 \nx 1 2 3";
  ASSERT_TRUE(Write_File(dir.File("odd.pal"), std::vector<uint8_t>(odd.begin(), odd.end())));
  for (int i = 0; i < 256; ++i) table[i] = Entry(i);
  ASSERT_EQ(Load_Palette_File(dir.File("odd.pal").c_str(), table), 1);
  EXPECT_EQ(table[0].peRed, 300 & 0xFF);
  EXPECT_EQ(table[0].peGreen, 0xFF);
  EXPECT_EQ(table[0].peFlags, 4);
  EXPECT_TRUE(Same(table[1], Entry(1)));
}

TEST(ClipLine, RegionCasesAndExactArithmetic) {
  int r;
  Line l = Clipped({-5, 10, -1, 20}, &r);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(l.x0, -5);
  EXPECT_EQ(l.y1, 20);

  l = Clipped({-10, 100, 100, 100}, &r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(l.x0, 0);
  EXPECT_EQ(l.y0, 100);
  EXPECT_EQ(l.x1, 100);

  l = Clipped({600, 100, 700, 200}, &r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(l.x1, 639);
  EXPECT_EQ(l.y1, 139);

  l = Clipped({-20, -10, 40, 50}, &r);  // north gives x -9, off the rectangle: the west edge instead
  EXPECT_EQ(r, 1);
  EXPECT_EQ(l.x0, 0);
  EXPECT_EQ(l.y0, 10);

  l = Clipped({5, 6, 600, 400}, &r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(l.x0, 5);
  EXPECT_EQ(l.y1, 400);

  // The first point adds the half and truncates; the second point's single edges are integers only.
  l = Clipped({10, -3, 15, 7}, &r);  // first point north: T(10 + 0.5 + Q(3 * 5, 10)) = 11
  EXPECT_EQ(r, 1);
  EXPECT_EQ(l.x0, 11);
  EXPECT_EQ(l.y0, 0);
  l = Clipped({15, 7, 10, -3}, &r);  // second point north: 10 + Q(3 * 5, 10) = 11
  EXPECT_EQ(l.x1, 11);
  l = Clipped({-3, 10, 7, 15}, &r);  // first point west: T(10 + 0.5 + Q(3 * 5, 10)) = 11
  EXPECT_EQ(l.y0, 11);
  l = Clipped({0, 0, -7, -3}, &r);  // second point north-west: Q(3 * 7, 3) = 7, x = -7 + 7 = 0
  EXPECT_EQ(r, 1);
  EXPECT_EQ(l.x1, 0);
  EXPECT_EQ(l.y1, 0);
  l = Clipped({-1, -1, 2, 0}, &r);  // north-west first point: T(-1 + 0.5 + Q(1 * 3, 1)) = 2 -> (2, 0)
  EXPECT_EQ(r, 1);
  EXPECT_EQ(l.x0, 2);
  EXPECT_EQ(l.y0, 0);
  // A corner point clips against both edges with the half added and truncated at each: north gives
  // T(-18 + 0.5 + Q(36 * 44, 93)) = 0, on the screen; plain integers would give x -1, then y 2 at the west.
  l = Clipped({-18, -36, 26, 57}, &r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(l.x0, 0);
  EXPECT_EQ(l.y0, 0);

  l = Clipped({-10, 5, 5, -10}, &r);  // passes the corner outside: west gives y -4, rejected
  EXPECT_EQ(r, 0);
  EXPECT_EQ(l.x0, -10);
  EXPECT_EQ(l.y0, 5);

  // Products beyond 32 bits wrap as they would in int arithmetic, and never fault.
  const Line huge[] = {{-2000000000, -2000000000, 2000000000, 2000000000},
                       {2147483647, 0, -2147483647 - 1, 5},
                       {-2147483647 - 1, -2147483647 - 1, 300, 200}};
  for (const Line& h : huge) {
    l = Clipped(h, &r);
    if (r == 1) {
      EXPECT_TRUE(l.x0 >= 0 && l.x0 <= 639 && l.x1 >= 0 && l.x1 <= 639);
      EXPECT_TRUE(l.y0 >= 0 && l.y0 <= 479 && l.y1 >= 0 && l.y1 <= 479);
    }
  }
}

TEST(DrawLine, MajorAxesAndClipping) {
  using P = std::set<std::pair<int, int>>;
  EXPECT_EQ(Drawn(0, 0, 4, 2), (P{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}));
  EXPECT_EQ(Drawn(0, 0, 2, 4), (P{{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}));
  EXPECT_EQ(Drawn(3, 3, 3, 3), (P{{3, 3}}));
  EXPECT_EQ(Drawn(4, 2, 0, 0), (P{{4, 2}, {3, 2}, {2, 2}, {1, 1}, {0, 1}}));
  EXPECT_EQ(Drawn(0, 5, 5, 0).size(), 6u);

  std::vector<uint8_t> screen(640 * 480, 0);
  EXPECT_EQ(Draw_Clip_Line(-50, -50, -10, -1, 9, screen.data(), 640), 1);
  EXPECT_EQ(std::count(screen.begin(), screen.end(), 9), 0);
  EXPECT_EQ(Draw_Clip_Line(-10, 100, 1000, 100, 9, screen.data(), 640), 1);
  EXPECT_EQ(std::count(screen.begin(), screen.end(), 9), 640);
  EXPECT_EQ(screen[100 * 640], 9);
  EXPECT_EQ(screen[100 * 640 + 639], 9);
  EXPECT_EQ(Draw_Pixel(3, 2, 5, screen.data(), 640), 1);
  EXPECT_EQ(screen[2 * 640 + 3], 5);
}

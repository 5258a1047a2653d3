// The drawing primitives the pictures are built from, on the properties the pictures rely on:
// textures that repeat where tiles repeat, shapes whose inside is inside, mazes that connect,
// labels that fit the box they are given.
#include "tools/artgen/raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/artgen/art_file.h"
#include "tools/artgen/text.h"
#include "tools/artgen/theme.h"

namespace {

TEST(Raster, TiledNoiseAndMasonryRepeatAfterTheirPeriod) {
  for (float x : {0.5f, 7.25f, 30.9f, 100.f}) {
    for (float y : {0.5f, 13.f, 62.75f}) {
      EXPECT_NEAR(Fbm(x, y, 64.f, 4, 4, 9u, true), Fbm(x + 64.f, y, 64.f, 4, 4, 9u, true), 1e-4f);
      EXPECT_NEAR(Fbm(x, y, 64.f, 4, 4, 9u, true), Fbm(x, y + 128.f, 64.f, 4, 4, 9u, true), 1e-4f);
      Cell a = Worley(x, y, 252.f, 7, 3u), b = Worley(x + 252.f, y - 252.f, 252.f, 7, 3u);
      EXPECT_NEAR(a.f1, b.f1, 1e-3f);
      EXPECT_EQ(a.id, b.id);
      Color m = Masonry(x, y, 31, 5u), n = Masonry(x - 31.f, y + 62.f, 31, 5u);
      EXPECT_NEAR(m.r, n.r, 1e-3f);
      EXPECT_NEAR(m.g, n.g, 1e-3f);
    }
  }
  // Untiled noise does not repeat: the tiling is not an accident of the lattice.
  int same = 0;
  for (float x = 0.5f; x < 64.f; x += 4.f)
    same += std::fabs(Fbm(x, 3.f, 64.f, 4, 4, 9u) - Fbm(x + 64.f, 3.f, 64.f, 4, 4, 9u)) < 1e-4f;
  EXPECT_LT(same, 4);
}

TEST(Raster, ShapesAreNegativeInsideAndMeasureTheirDistance) {
  std::vector<Point> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_NEAR(Sdf_Polygon(5, 5, square), -5.f, 1e-4f);
  EXPECT_NEAR(Sdf_Polygon(13, 5, square), 3.f, 1e-4f);
  EXPECT_NEAR(Sdf_Polygon(13, 14, square), 5.f, 1e-4f);
  // Winding does not matter.
  std::vector<Point> reversed(square.rbegin(), square.rend());
  EXPECT_NEAR(Sdf_Polygon(5, 5, reversed), -5.f, 1e-4f);
  EXPECT_NEAR(Sdf_Box(12, 5, 5, 5, 5, 5, 0), 2.f, 1e-4f);
  EXPECT_NEAR(Sdf_Box(11, 11, 5, 5, 5, 5, 2), std::hypot(3.f, 3.f) - 2.f,
              1e-4f);  // from the corner arc at (8, 8)
  EXPECT_NEAR(Sdf_Segment(5, 3, 0, 0, 10, 0, 1), 2.f, 1e-4f);
  EXPECT_NEAR(Sdf_Ellipse(14, 5, 5, 5, 8, 3), 1.f, 0.05f);
  EXPECT_LT(Sdf_Ellipse(5, 7, 5, 5, 8, 3), 0.f);
  // Painting covers what lies inside and leaves the rest.
  Canvas c = New_Canvas(12, 12);
  Paint_Flat(
      c, [&](float x, float y) { return Sdf_Polygon(x, y, square); }, Rgb(200, 0, 0));
  EXPECT_FLOAT_EQ(c.At(4, 4).a, 1.f);
  EXPECT_FLOAT_EQ(c.At(11, 4).a, 0.f);
}

TEST(Raster, QuarterTurnsMoveCornersClockwise) {
  Canvas c = New_Canvas(3, 2, Rgb(0, 0, 0));
  c.At(0, 0) = Rgb(255, 0, 0);
  Canvas once = Rotate90(c, 1);
  ASSERT_EQ(once.width, 2);
  ASSERT_EQ(once.height, 3);
  EXPECT_FLOAT_EQ(once.At(1, 0).r, 255.f);  // top-left goes to top-right
  Canvas back = Rotate90(c, 4);
  for (size_t i = 0; i < c.px.size(); ++i) EXPECT_FLOAT_EQ(back.px[i].r, c.px[i].r);
  EXPECT_FLOAT_EQ(Rotate90(c, -1).At(0, 2).r, 255.f);  // anticlockwise: top-left to bottom-left
  EXPECT_FLOAT_EQ(Flip_Horizontal(c).At(2, 0).r, 255.f);
}

TEST(Raster, MazesReachEveryCellByExactlyOneWay) {
  for (uint64_t seed : {1ull, 77ull, 20240611ull}) {
    const int cols = 9, rows = 6;
    std::vector<int> maze = Make_Maze(cols, rows, seed);
    ASSERT_EQ(maze.size(), static_cast<size_t>(cols * rows));
    int passages = 0;
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < cols; ++x) {
        int open = maze[static_cast<size_t>(y * cols + x)];
        // Openings agree from both sides and never lead off the grid.
        if (open & 2) {
          ASSERT_LT(x + 1, cols);
          EXPECT_TRUE(maze[static_cast<size_t>(y * cols + x + 1)] & 8);
          ++passages;
        }
        if (open & 4) {
          ASSERT_LT(y + 1, rows);
          EXPECT_TRUE(maze[static_cast<size_t>((y + 1) * cols + x)] & 1);
          ++passages;
        }
        if (x == 0) {
          EXPECT_FALSE(open & 8);
        }
        if (y == 0) {
          EXPECT_FALSE(open & 1);
        }
      }
    // A spanning tree: every cell reached, one passage fewer than cells, so no loops.
    EXPECT_EQ(passages, cols * rows - 1);
    std::vector<int> seen(maze.size(), 0), stack = {0};
    seen[0] = 1;
    int reached = 1;
    while (!stack.empty()) {
      int cell = stack.back();
      stack.pop_back();
      const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0}, bit[4] = {1, 2, 4, 8};
      for (int d = 0; d < 4; ++d) {
        if (!(maze[static_cast<size_t>(cell)] & bit[d])) continue;
        int next = (cell / cols + dy[d]) * cols + cell % cols + dx[d];
        if (!seen[static_cast<size_t>(next)])
          seen[static_cast<size_t>(next)] = 1, ++reached, stack.push_back(next);
      }
    }
    EXPECT_EQ(reached, cols * rows);
    EXPECT_EQ(Make_Maze(cols, rows, seed), maze) << "the same seed, the same maze";
  }
}

TEST(Raster, LabelsFitTheirBoxAndAreRealGlyphs) {
  Mask ink;
  ASSERT_EQ(Text_Ink("OPTIONS", 40, &ink), 1);
  // Cropped to the ink: the first and last rows and columns all carry some.
  auto row_has_ink = [&](int y) {
    for (int x = 0; x < ink.width; ++x)
      if (ink.At(x, y) > 0.f) return true;
    return false;
  };
  auto col_has_ink = [&](int x) {
    for (int y = 0; y < ink.height; ++y)
      if (ink.At(x, y) > 0.f) return true;
    return false;
  };
  EXPECT_TRUE(row_has_ink(0) && row_has_ink(ink.height - 1) && col_has_ink(0) && col_has_ink(ink.width - 1));
  EXPECT_GT(ink.width, 4 * ink.height);  // seven capitals side by side
  Mask fit;
  ASSERT_EQ(Text_Fit_Height("OPTIONS", 12, 50, &fit), 1);
  EXPECT_EQ(fit.height, 12);
  EXPECT_EQ(fit.width, 50);  // narrowed to the box, never cut
  ASSERT_EQ(Text_Fit_Height("5", 12, 50, &fit), 1);
  EXPECT_LT(fit.width, 12);  // a narrow label keeps its natural width
  ASSERT_EQ(Text_Fit("QUIT", 40, 40, true, &fit), 1);
  EXPECT_EQ(fit.width, 40);
  EXPECT_LT(fit.height, 40);
  // An outline grows the label beyond its glyphs.
  Canvas plain = New_Canvas(80, 30), outlined = New_Canvas(80, 30);
  LabelStyle s;
  ASSERT_EQ(Draw_Label_Height(plain, "ON", 40, 15, 14, 60, s), 1);
  s.outline = Rgb(0, 0, 0);
  s.outline_px = 2.f;
  ASSERT_EQ(Draw_Label_Height(outlined, "ON", 40, 15, 14, 60, s), 1);
  int plain_px = 0, outlined_px = 0;
  for (const Color& p : plain.px) plain_px += p.a >= 0.5f;
  for (const Color& p : outlined.px) outlined_px += p.a >= 0.5f;
  EXPECT_GT(plain_px, 40);
  EXPECT_GT(outlined_px, plain_px + 40);
}

TEST(Raster, AFileWithAFrameLeftUndrawnIsRefused) {
  const int before = Artgen_Error_Count();
  ArtFile art = New_Art_File("Treshur_tils.bmp");
  ASSERT_EQ(art.canvas.width, 64);
  ASSERT_EQ(art.canvas.height, 32);
  Put_Frame(art, "BOB_treasure", 0, New_Frame("BOB_treasure"));
  EXPECT_EQ(Check_Frames(art), 0);
  EXPECT_EQ(Artgen_Error_Count(), before + 1);
  Put_Frame(art, "BOB_treasure", 1, New_Frame("BOB_treasure"));
  EXPECT_EQ(Check_Frames(art), 1);
}

}  // namespace

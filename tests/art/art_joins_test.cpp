// How the pictures join and read on screen: tiles that repeat without seams, pressed faces that
// look pressed, arrows and doors that point the way their frame means.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "game/wall_pieces.h"
#include "tests/art/loaded_art.h"
#include "tools/artgen/raster.h"

namespace {

using namespace art_test;

int Diff(const Frame& a, int ax, int ay, const Frame& b, int bx, int by) {
  return std::abs(a.Red(ax, ay) - b.Red(bx, by)) + std::abs(a.Green(ax, ay) - b.Green(bx, by)) +
         std::abs(a.Blue(ax, ay) - b.Blue(bx, by));
}

// Mean colour step between column x0 of frame a and column x1 of frame b, over rows y0..y1.
double Column_Step(const Frame& a, int x0, const Frame& b, int x1, int y0, int y1) {
  double sum = 0;
  for (int y = y0; y < y1; ++y) sum += Diff(a, x0, y, b, x1, y);
  return sum / (y1 - y0);
}

double Row_Step(const Frame& a, int y0, const Frame& b, int y1, int x0, int x1) {
  double sum = 0;
  for (int x = x0; x < x1; ++x) sum += Diff(a, x, y0, b, x, y1);
  return sum / (x1 - x0);
}

TEST(ArtJoins, TurnBackgroundsRepeatWithoutASeam) {
  // The scaled draw reads pixels 0..251 of the 253-pixel frame into each 100-pixel tile, so the
  // step from column 251 of one tile to column 0 of the next must look like any other step.
  for (const char* bob : {"BOB_rock1", "BOB_rock2"}) {
    Frame f = Get(bob, 0);
    ASSERT_FRAME(f);
    double inside = 0;
    for (int x = 20; x < 230; x += 30) inside += Column_Step(f, x, f, x + 1, 0, 252) / 7.0;
    EXPECT_LT(Column_Step(f, 251, f, 0, 0, 252), 1.6 * inside + 1.0) << bob;
    EXPECT_LT(Row_Step(f, 251, f, 0, 0, 252), 1.6 * inside + 1.0) << bob;
  }
}

TEST(ArtJoins, SolidMasonryRepeatsOnTheDetailViewsPitch) {
  // A square's tile covers the previous square's last column and row: on the 31-pixel pitch,
  // column 31 of a piece lies under column 0 of its neighbour and must continue it exactly.
  for (int piece : {WALL_BLOCK, WALL_MOSSY}) {
    Frame f = Get("BOB_walls", piece);
    ASSERT_FRAME(f);
    for (int i = 0; i < 32; ++i) {
      EXPECT_EQ(f.At(31, i), f.At(0, i)) << "piece " << piece << " row " << i;
      EXPECT_EQ(f.At(i, 31), f.At(i, 0)) << "piece " << piece << " column " << i;
      if (::testing::Test::HasFailure()) return;
    }
  }
}

TEST(ArtJoins, PanelTilesJoinIntoBoxes) {
  // Frames: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right, 4 left, 5 bottom, 6 right,
  // 7 top, 8 inside; tiles sit side by side on a 32-pixel pitch.
  Frame m[9];
  for (int i = 0; i < 9; ++i) {
    m[i] = Get("BOB_message", i);
    ASSERT_FRAME(m[i]);
  }
  struct Join {
    int left, right;
  };
  const Join across[] = {{0, 7}, {7, 7}, {7, 1}, {4, 8}, {8, 8}, {8, 6}, {2, 5}, {5, 5}, {5, 3}};
  for (const Join& j : across)
    EXPECT_LT(Column_Step(m[j.left], 31, m[j.right], 0, 0, 32), 6.0) << j.left << " beside " << j.right;
  const Join down[] = {{0, 4}, {4, 4}, {4, 2}, {7, 8}, {8, 8}, {8, 5}, {1, 6}, {6, 6}, {6, 3}};
  for (const Join& j : down)
    EXPECT_LT(Row_Step(m[j.left], 31, m[j.right], 0, 0, 32), 6.0) << j.left << " above " << j.right;
  // The inside is opaque: the counter box shows its slots on it, not the rock behind.
  EXPECT_EQ(m[8].Count_Clear(), 0);
  // The outer corners are cut round.
  EXPECT_TRUE(m[0].Clear(0, 0) && m[1].Clear(31, 0) && m[2].Clear(0, 31) && m[3].Clear(31, 31));
}

TEST(ArtJoins, PressedPicturesLookPressed) {
  struct Pair {
    const char* bob;
    int up, down;
  };
  const Pair pairs[] = {{"BOB_button_start", 0, 1}, {"BOB_button_options", 0, 1}, {"BOB_button_quit", 0, 1},
                        {"BOB_end_turn", 0, 1},     {"BOB_game_buttons", 0, 4},   {"BOB_game_buttons", 1, 5},
                        {"BOB_game_buttons", 2, 6}, {"BOB_game_buttons", 3, 7}};
  for (const Pair& p : pairs) {
    Frame up = Get(p.bob, p.up), down = Get(p.bob, p.down);
    ASSERT_FRAME(up);
    ASSERT_FRAME(down);
    EXPECT_GT(up.Brightness(0, 0, up.w, up.h), down.Brightness(0, 0, down.w, down.h) + 0.5)
        << p.bob << " " << p.up << "/" << p.down;
  }
}

TEST(ArtJoins, ShiftArrowsPointTheWayTheirLineMoves) {
  // The arrow is the bright part inside the button's dark face; its head is wider than its
  // shaft. Across a band 3 to 7 pixels from the centre on one side (0 left, 1 right, 2 top,
  // 3 bottom), count the lines the arrow crosses: the head's side crosses more.
  auto arrow = [](const Frame& f, int side) {
    int lines = 0;
    for (int i = 0; i < 32; ++i) {
      bool hit = false;
      for (int k = 3; k <= 7; ++k) {
        int c = (side == 0 || side == 2) ? 15 - k : 16 + k;
        int x = side < 2 ? c : i, y = side < 2 ? i : c;
        bool bright = !f.Clear(x, y) && f.Red(x, y) + f.Green(x, y) + f.Blue(x, y) > 45;
        float dx = static_cast<float>(x) - 15.5f, dy = static_cast<float>(y) - 15.5f;
        hit = hit || (bright && std::hypot(dx, dy) < 10.5f);
      }
      lines += hit;
    }
    return lines;
  };
  for (int pressed = 0; pressed < 2; ++pressed) {
    Frame left = Get("BOB_game_buttons", 0 + 4 * pressed), right = Get("BOB_game_buttons", 1 + 4 * pressed);
    Frame down = Get("BOB_game_buttons", 2 + 4 * pressed), up = Get("BOB_game_buttons", 3 + 4 * pressed);
    ASSERT_FRAME(left);
    ASSERT_FRAME(right);
    ASSERT_FRAME(down);
    ASSERT_FRAME(up);
    EXPECT_GT(arrow(left, 0), arrow(left, 1) + 1) << pressed;
    EXPECT_GT(arrow(right, 1), arrow(right, 0) + 1) << pressed;
    EXPECT_GT(arrow(down, 3), arrow(down, 2) + 1) << pressed;
    EXPECT_GT(arrow(up, 2), arrow(up, 3) + 1) << pressed;
  }
}

TEST(ArtJoins, DoorsStandAcrossTheCorridorOfTheirAxis) {
  // Frame = door code - 100. An east-west door (101 closed, 102 post) is crossed by stepping
  // east or west, so it spans the square from top to bottom; a north-south one (106, 107) from
  // left to right. The open leaves (103, 105) leave the middle of the way free.
  Frame ew_closed = Get("BOB_doors", 1), ew_post = Get("BOB_doors", 2), ew_open = Get("BOB_doors", 3);
  Frame ns_open = Get("BOB_doors", 5), ns_post = Get("BOB_doors", 6), ns_closed = Get("BOB_doors", 7);
  ASSERT_FRAME(ew_closed);
  ASSERT_FRAME(ns_closed);
  for (const Frame* f : {&ew_closed, &ew_post}) {
    EXPECT_FALSE(f->Clear(16, 1) || f->Clear(16, 16) || f->Clear(16, 30));
    EXPECT_TRUE(f->Clear(2, 16) && f->Clear(29, 16));
  }
  for (const Frame* f : {&ns_closed, &ns_post}) {
    EXPECT_FALSE(f->Clear(1, 16) || f->Clear(16, 16) || f->Clear(30, 16));
    EXPECT_TRUE(f->Clear(16, 2) && f->Clear(16, 29));
  }
  // An open leaf is folded against the side: the way through the door's middle shows the floor
  // on at least one side of the threshold.
  EXPECT_TRUE(ew_open.Clear(4, 14) || ew_open.Clear(27, 14));
  EXPECT_TRUE(ns_open.Clear(14, 4) || ns_open.Clear(14, 27));
}

TEST(ArtJoins, TitleScreenIsCalmWhereTheMenuPanelOpens) {
  // Mean colour step between neighbouring pixels: the busy maze outside, a quiet ground inside
  // the panel's square (x 220 to 460, y 235 to 475), leaving out the prompt the panel covers.
  Frame f = Get("BOB_menu_background", 0);
  ASSERT_FRAME(f);
  auto detail = [&](int x0, int y0, int x1, int y1, bool skip_prompt) {
    double sum = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        if (skip_prompt && y >= 326 && y < 386) continue;
        sum += Diff(f, x, y, f, x + 1, y) + Diff(f, x, y, f, x, y + 1);
        ++n;
      }
    return sum / n;
  };
  double inside = detail(232, 247, 448, 463, true);
  double maze = (detail(10, 200, 40, 470, false) + detail(600, 200, 630, 470, false)) / 2.0;
  EXPECT_LT(inside * 2.0, maze);
}

TEST(ArtJoins, ResultsTextsStandOnLightPlaques) {
  // The screen writes its numbers and grade in black at these places, about 16 pixels tall.
  Frame f = Get("BOB_results_background", 0);
  ASSERT_FRAME(f);
  struct Spot {
    int x, y, w;
  };
  for (const Spot& s : {Spot{200, 420, 60}, Spot{418, 420, 60}, Spot{308, 290, 24}}) {
    EXPECT_GT(f.Brightness(s.x, s.y, s.x + s.w, s.y + 16), 60.0) << s.x << "," << s.y;
  }
}

TEST(ArtJoins, KeysLabelLinesUpWithTheKeySlotsDrawnSevenPixelsHigher) {
  // The label is drawn at y 440 and its slots at y 433: its key sits 7 pixels higher in its frame.
  auto centre_y = [](const Frame& f, bool gold_only) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < f.h; ++y)
      for (int x = 0; x < f.w; ++x) {
        if (f.Clear(x, y)) continue;
        if (gold_only && !(f.Red(x, y) > f.Blue(x, y) + 8 && f.Green(x, y) > f.Blue(x, y) + 4)) continue;
        sum += y;
        ++n;
      }
    return n ? sum / n : -100.0;
  };
  Frame label = Get("BOB_artifacts", 4), slot = Get("BOB_counters", 4);
  ASSERT_FRAME(label);
  ASSERT_FRAME(slot);
  EXPECT_NEAR(centre_y(label, false) + 7.0, centre_y(slot, true), 2.0);
}

TEST(ArtJoins, ShrinkingKeepsTheColourOfEdgesNextToTransparency) {
  // A red square on a transparent ground, shrunk: the edge pixels fade in coverage, not towards
  // black (a dark rim would read as an outline the picture never had).
  Canvas c = New_Canvas(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 3; ++x) c.At(x, y) = Rgb(240, 20, 20);
  Canvas small = Resample(c, 3, 3);
  const Color& edge = small.At(1, 1);
  EXPECT_GT(edge.a, 0.f);
  EXPECT_LT(edge.a, 1.f);
  EXPECT_NEAR(edge.r, 240.f, 1.f);
  EXPECT_TRUE(small.At(2, 1).a == 0.f);
  // Growing a picture keeps it the same colour everywhere it was one colour.
  Canvas big = Resample(New_Canvas(2, 2, Rgb(10, 200, 30)), 7, 5);
  for (const Color& p : big.px) EXPECT_NEAR(p.g, 200.f, 0.01f);
}

}  // namespace

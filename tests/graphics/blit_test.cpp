// The device's fills and rectangle blits: exclusive edges, keys, stretching, clip lists.
#include <random>

#include "graphics/bob.h"
#include "support.h"

namespace {

// A source whose pixel (x, y) is 100 * y + x + 1, with the key colour 0 on the diagonal.
SurfacePtr Numbered_Source(int width, int height) {
  SurfacePtr s = Make_Surface(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      Pixel(s.get(), x, y) = x == y ? 0 : static_cast<uint16_t>(100 * y + x + 1);
  }
  return s;
}

}  // namespace

TEST(Fill, RectangleEdgesAreExclusiveAndClippedToTheSurface) {
  SurfacePtr s = Make_Surface(10, 8, 7);
  EXPECT_EQ(Fill_Rect(2, 3, 5, 4, 200, s.get()), 1);
  EXPECT_EQ(Count(s.get(), 200), 3);
  EXPECT_EQ(Pixel(s.get(), 2, 3), 200);
  EXPECT_EQ(Pixel(s.get(), 4, 3), 200);
  EXPECT_EQ(Pixel(s.get(), 5, 3), 7);
  EXPECT_EQ(Pixel(s.get(), 2, 4), 7);

  EXPECT_EQ(Fill_Rect(-5, -5, 100, 2, 9, s.get()), 1);  // beyond the surface: only its part is filled
  EXPECT_EQ(Count(s.get(), 9), 20);
  EXPECT_EQ(Fill_Rect(4, 4, 4, 9, 1, s.get()), 1);  // empty
  EXPECT_EQ(Count(s.get(), 1), 0);
  EXPECT_EQ(Fill_Surface(s.get(), 45), 1);
  EXPECT_EQ(Count(s.get(), 45), 80);
  EXPECT_EQ(Fill_Rect(0, 0, 1, 1, 1, nullptr), 1);
}

TEST(Fill, FollowsTheClipList) {
  SurfacePtr s = Make_Surface(10, 10);
  RECT clips[2] = {{0, 0, 2, 2}, {8, 8, 20, 20}};
  ASSERT_NE(Attach_Clipper(s.get(), 2, clips), nullptr);
  Fill_Surface(s.get(), 5);
  EXPECT_EQ(Count(s.get(), 5), 8);
  EXPECT_EQ(Pixel(s.get(), 9, 9), 5);
  EXPECT_EQ(Pixel(s.get(), 5, 5), 0);
}

TEST(Clipper, BoundingRectangleAndReplacement) {
  SurfacePtr s = Make_Surface(640, 480);
  RECT whole{0, 0, 640, 480};
  Clipper* c = Attach_Clipper(s.get(), 1, &whole);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(s->clipper, c);
  EXPECT_EQ(c->bound.left, 0);
  EXPECT_EQ(c->bound.top, 0);
  EXPECT_EQ(c->bound.right, 640);
  EXPECT_EQ(c->bound.bottom, 480);

  RECT two[2] = {{10, 50, 20, 60}, {-3, 70, 5, 400}};
  c = Attach_Clipper(s.get(), 2, two);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->bound.left, -3);
  EXPECT_EQ(c->bound.top, 50);
  EXPECT_EQ(c->bound.right, 20);
  EXPECT_EQ(c->bound.bottom, 400);

  c = Attach_Clipper(s.get(), 0, nullptr);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->bound.left, 64000);
  EXPECT_EQ(c->bound.top, 64000);
  EXPECT_EQ(c->bound.right, -64000);
  EXPECT_EQ(c->bound.bottom, -64000);

  EXPECT_EQ(Attach_Clipper(nullptr, 1, &whole), nullptr);
  EXPECT_EQ(Attach_Clipper(s.get(), -1, &whole), nullptr);
  EXPECT_EQ(Attach_Clipper(s.get(), 1, nullptr), nullptr);
}

TEST(Surface, CreationKeysColourZeroAndRefusesBadSizes) {
  SurfacePtr s(Create_Surface(105, 3, DDSCAPS_SYSTEMMEMORY));
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->has_color_key);
  EXPECT_EQ(s->color_key_low, 0);
  EXPECT_EQ(s->color_key_high, 0);
  EXPECT_GE(s->pitch, 2 * 105);
  EXPECT_EQ(s->pitch % 4, 0);
  EXPECT_EQ(Create_Surface(0, 10, 0), nullptr);
  EXPECT_EQ(Create_Surface(10, -1, 0), nullptr);
  EXPECT_EQ(Create_Surface(1 << 20, 1 << 20, 0), nullptr);
}

TEST(Blit, OpaqueAndKeyedCopies) {
  SurfacePtr src = Numbered_Source(4, 4);
  SurfacePtr dest = Make_Surface(8, 8, 9);
  RECT s{0, 0, 4, 4}, d{2, 1, 6, 5};
  EXPECT_EQ(Blit_Surface(dest.get(), &d, src.get(), &s, DDBLT_WAIT | DDBLT_KEYSRC), 1);
  EXPECT_EQ(Pixel(dest.get(), 2, 1), 9);  // source (0, 0) is the key
  EXPECT_EQ(Pixel(dest.get(), 3, 1), 2);
  EXPECT_EQ(Pixel(dest.get(), 5, 4), 9);
  EXPECT_EQ(Pixel(dest.get(), 2, 4), 301);
  EXPECT_EQ(Count(dest.get(), 9), 64 - 12);

  EXPECT_EQ(Blit_Surface(dest.get(), &d, src.get(), &s, DDBLT_WAIT), 1);
  EXPECT_EQ(Pixel(dest.get(), 2, 1), 0);
  EXPECT_EQ(Pixel(dest.get(), 5, 4), 0);
  EXPECT_EQ(Count(dest.get(), 9), 64 - 16);
}

TEST(Blit, KeyRangeSkipsEveryColourInIt) {
  SurfacePtr src = Make_Surface(4, 1);
  for (int x = 0; x < 4; ++x) Pixel(src.get(), x, 0) = static_cast<uint16_t>(0x981B + x);
  Set_Color_Key(src.get(), 0x981C, 0x981D);
  SurfacePtr dest = Make_Surface(4, 1, 5);
  EXPECT_EQ(Blit_Surface(dest.get(), nullptr, src.get(), nullptr, DDBLT_KEYSRC), 1);
  EXPECT_EQ(Pixel(dest.get(), 0, 0), 0x981B);
  EXPECT_EQ(Pixel(dest.get(), 1, 0), 5);
  EXPECT_EQ(Pixel(dest.get(), 2, 0), 5);
  EXPECT_EQ(Pixel(dest.get(), 3, 0), 0x981E);
}

TEST(Blit, StretchIsNearestNeighbour) {
  SurfacePtr src = Numbered_Source(2, 2);
  Pixel(src.get(), 0, 0) = 1;
  Pixel(src.get(), 1, 1) = 4;
  SurfacePtr dest = Make_Surface(4, 4);
  RECT d{0, 0, 4, 4};
  ASSERT_EQ(Blit_Surface(dest.get(), &d, src.get(), nullptr, 0), 1);
  const uint16_t expected[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {101, 101, 4, 4}, {101, 101, 4, 4}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(dest.get(), x, y), expected[y][x]) << x << "," << y;
  }
  // Shrinking 4 to 2 samples the centre of each pair: source columns and rows 1 and 3.
  SurfacePtr big = Numbered_Source(4, 4);
  SurfacePtr small = Make_Surface(2, 2);
  RECT s2{0, 0, 2, 2};
  ASSERT_EQ(Blit_Surface(small.get(), &s2, big.get(), nullptr, 0), 1);
  EXPECT_EQ(Pixel(small.get(), 0, 0), 0);  // (1, 1)
  EXPECT_EQ(Pixel(small.get(), 1, 0), 104);
  EXPECT_EQ(Pixel(small.get(), 0, 1), 302);
}

TEST(Blit, ClippingAtEveryEdgeKeepsTheSourceMapping) {
  SurfacePtr src = Numbered_Source(8, 8);
  for (int mode = 0; mode < 2; ++mode) {  // same size, then a 2x stretch
    int scale = mode + 1;
    struct Case {
      int x, y;
    } cases[] = {{-3, 2}, {2, -3}, {13 - 8 * scale + 3, 2}, {2, 13 - 8 * scale + 3}, {-5, -5}};
    for (const Case& c : cases) {
      SurfacePtr dest = Make_Surface(13, 13, 7);
      RECT clip{0, 0, 13, 13};
      Attach_Clipper(dest.get(), 1, &clip);
      RECT d{c.x, c.y, c.x + 8 * scale, c.y + 8 * scale};
      ASSERT_EQ(Blit_Surface(dest.get(), &d, src.get(), nullptr, DDBLT_KEYSRC), 1);
      for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 13; ++x) {
          int sx = (x - c.x) / scale, sy = (y - c.y) / scale;
          bool inside = x >= c.x && y >= c.y && sx < 8 && sy < 8;
          uint16_t want = 7;
          if (inside && sx != sy) want = static_cast<uint16_t>(100 * sy + sx + 1);
          ASSERT_EQ(Pixel(dest.get(), x, y), want) << "mode " << mode << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(Blit, MultipleClipRectanglesAndEmptyClipList) {
  SurfacePtr src = Make_Surface(10, 10, 3);
  SurfacePtr dest = Make_Surface(10, 10);
  RECT clips[2] = {{0, 0, 3, 10}, {7, 0, 10, 2}};
  Attach_Clipper(dest.get(), 2, clips);
  ASSERT_EQ(Blit_Surface(dest.get(), nullptr, src.get(), nullptr, 0), 1);
  EXPECT_EQ(Count(dest.get(), 3), 30 + 6);
  EXPECT_EQ(Pixel(dest.get(), 5, 0), 0);

  Attach_Clipper(dest.get(), 0, nullptr);
  Fill_Surface(src.get(), 4);
  ASSERT_EQ(Blit_Surface(dest.get(), nullptr, src.get(), nullptr, 0), 1);
  EXPECT_EQ(Count(dest.get(), 4), 0);
}

TEST(Blit, RefusesBadRequests) {
  SurfacePtr src = Make_Surface(4, 4, 1);
  SurfacePtr dest = Make_Surface(4, 4, 2);
  RECT inside{0, 0, 2, 2}, too_wide{0, 0, 5, 2}, negative{-1, 0, 2, 2}, empty{1, 1, 1, 3},
      inverted{3, 0, 1, 2};
  EXPECT_EQ(Blit_Surface(nullptr, &inside, src.get(), &inside, 0), 0);
  EXPECT_EQ(Blit_Surface(dest.get(), &inside, nullptr, &inside, 0), 0);
  EXPECT_EQ(Blit_Surface(dest.get(), &inside, src.get(), &too_wide, 0), 0);
  EXPECT_EQ(Blit_Surface(dest.get(), &inside, src.get(), &negative, 0), 0);
  EXPECT_EQ(Blit_Surface(dest.get(), &inside, src.get(), &empty, 0), 0);
  EXPECT_EQ(Blit_Surface(dest.get(), &inverted, src.get(), &inside, 0), 0);
  src->has_color_key = false;
  EXPECT_EQ(Blit_Surface(dest.get(), &inside, src.get(), &inside, DDBLT_KEYSRC), 0);
  int pitch = 0;
  ASSERT_NE(Lock_Surface(dest.get(), &pitch), nullptr);
  EXPECT_EQ(pitch, dest->pitch);
  EXPECT_EQ(Blit_Surface(dest.get(), &inside, src.get(), &inside, 0), 0);
  EXPECT_EQ(Unlock_Surface(dest.get(), nullptr), 1);
  EXPECT_EQ(Count(dest.get(), 2), 16);
  EXPECT_EQ(Blit_Surface(dest.get(), &inside, src.get(), &inside, 0), 1);
  EXPECT_EQ(Count(dest.get(), 1), 4);
}

TEST(Blit, OverlappingBlitOnOneSurfaceReadsTheOldPixels) {
  SurfacePtr s = Make_Surface(6, 1);
  for (int x = 0; x < 6; ++x) Pixel(s.get(), x, 0) = static_cast<uint16_t>(x + 1);
  RECT from{0, 0, 4, 1}, to{2, 0, 6, 1};
  ASSERT_EQ(Blit_Surface(s.get(), &to, s.get(), &from, 0), 1);
  const uint16_t expected[6] = {1, 2, 1, 2, 3, 4};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(Pixel(s.get(), x, 0), expected[x]);
}

// The fast paths must give exactly the reference's pixels for any rectangles, keys and clip lists.
// The source is large enough for span lists, its rows noise, long runs, all opaque or all key, and
// it changes every 150 rounds (directly, or by a fill), so lists are made, used and outdated.
TEST(Blit, FastPathsMatchTheReferenceOverRandomRectangles) {
  std::mt19937 rng(20240611);
  auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  constexpr int SW = 97, SH = 61;
  SurfacePtr src = Make_Surface(SW, SH);
  auto paint_source = [&] {
    for (int y = 0; y < SH; ++y) {
      const int kind = rnd(0, 3);
      bool opaque = rnd(0, 1);
      for (int x = 0, left = 0; x < SW; ++x, --left) {
        if (kind == 1 && left <= 0) {
          opaque = !opaque;
          left = rnd(1, 20);
        }
        const bool key = kind == 0 ? rnd(0, 3) == 0 : kind == 1 ? !opaque : kind == 3;
        Pixel(src.get(), x, y) = key ? 0 : static_cast<uint16_t>(rnd(1, 65535));
      }
    }
    Touch_Surface(src.get());
  };
  SurfacePtr fast = Make_Surface(83, 71), reference = Make_Surface(83, 71);
  Flush_Scale_Cache();
  for (int round = 0; round < 3000; ++round) {
    if (round % 300 == 0) paint_source();
    if (round % 300 == 150) Fill_Rect(rnd(0, SW), rnd(0, SH), rnd(0, SW), rnd(0, SH), 0, src.get());
    int sl = rnd(0, SW - 1), st = rnd(0, SH - 1);
    RECT s{sl, st, rnd(sl + 1, SW), rnd(st + 1, SH)};
    int dl = rnd(-40, 90), dt = rnd(-40, 80);
    RECT d{dl, dt, dl + rnd(1, 130), dt + rnd(1, 110)};
    if (rnd(0, 1) == 0) d = RECT{dl, dt, dl + (s.right - s.left), dt + (s.bottom - s.top)};
    uint32_t flags = rnd(0, 3) ? uint32_t{DDBLT_KEYSRC} : 0u;
    if (rnd(0, 4) == 0) {  // a key range: one that comes back (so it gets span lists too) or any
      const bool again = rnd(0, 1);
      Set_Color_Key(src.get(), static_cast<uint16_t>(again ? 1000 : rnd(0, 40000)),
                    static_cast<uint16_t>(again ? 30000 : rnd(40000, 65535)));
    } else {
      Set_Color_Key(src.get(), 0, 0);
    }
    std::vector<RECT> clips;
    int n = rnd(0, 3);
    for (int i = 0; i < n; ++i) {
      int cl = rnd(-10, 80), ct = rnd(-10, 70);
      clips.push_back(RECT{cl, ct, cl + rnd(0, 60), ct + rnd(0, 60)});
    }
    uint16_t background = static_cast<uint16_t>(rnd(0, 65535));
    for (Surface* dest : {fast.get(), reference.get()}) {
      Release_Clipper(dest->clipper);
      Fill_Surface(dest, background);  // before the clipper, so the whole surface is cleared
      if (n > 0) Attach_Clipper(dest, n, clips.data());
    }
    blit_force_reference = false;
    int r1 = Blit_Surface(fast.get(), &d, src.get(), &s, flags);
    blit_force_reference = true;
    int r2 = Blit_Surface(reference.get(), &d, src.get(), &s, flags);
    blit_force_reference = false;
    ASSERT_EQ(r1, r2);
    for (int y = 0; y < 71; ++y) {
      for (int x = 0; x < 83; ++x) {
        ASSERT_EQ(Pixel(fast.get(), x, y), Pixel(reference.get(), x, y))
            << "round " << round << " pixel " << x << "," << y;
      }
    }
  }
  // Every source state was drawn through a span list.
  EXPECT_GE(Span_Cache_Stats().builds, 20u);
  EXPECT_GT(Span_Cache_Stats().hits, 500u);
  Flush_Scale_Cache();
}

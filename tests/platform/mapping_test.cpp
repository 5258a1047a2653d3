// The picture's place in the window and the pointer mapping back into 640 x 480 game pixels.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

struct Pt {
  int x, y;
};
Pt Map(const PlatformViewport& v, int ww, int wh, int ow, int oh, int x, int y) {
  Pt p{-1, -1};
  Platform_Map_Pointer(v, ww, wh, ow, oh, x, y, &p.x, &p.y);
  return p;
}

TEST(Fit, ExactSizeIsIdentity) {
  PlatformViewport v = Platform_Fit_Picture(640, 480, false);
  EXPECT_EQ(v.x, 0);
  EXPECT_EQ(v.y, 0);
  EXPECT_EQ(v.w, 640);
  EXPECT_EQ(v.h, 480);
  for (int x : {0, 1, 320, 639})
    for (int y : {0, 1, 240, 479}) {
      Pt p = Map(v, 640, 480, 640, 480, x, y);
      EXPECT_EQ(p.x, x);
      EXPECT_EQ(p.y, y);
    }
}

TEST(Fit, WidescreenGetsSideBars) {
  PlatformViewport v = Platform_Fit_Picture(1920, 1080, false);
  EXPECT_EQ(v.x, 240);
  EXPECT_EQ(v.y, 0);
  EXPECT_EQ(v.w, 1440);
  EXPECT_EQ(v.h, 1080);
  Pt p = Map(v, 1920, 1080, 1920, 1080, 240, 0);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = Map(v, 1920, 1080, 1920, 1080, 960, 540);
  EXPECT_EQ(p.x, 320);
  EXPECT_EQ(p.y, 240);
  p = Map(v, 1920, 1080, 1920, 1080, 1679, 1079);
  EXPECT_EQ(p.x, 639);
  EXPECT_EQ(p.y, 479);
  // On the bars: clamped to the picture's edge.
  p = Map(v, 1920, 1080, 1920, 1080, 10, 500);
  EXPECT_EQ(p.x, 0);
  p = Map(v, 1920, 1080, 1920, 1080, 1919, 500);
  EXPECT_EQ(p.x, 639);
}

TEST(Fit, TallWindowGetsTopAndBottomBars) {
  PlatformViewport v = Platform_Fit_Picture(800, 1000, false);
  EXPECT_EQ(v.x, 0);
  EXPECT_EQ(v.w, 800);
  EXPECT_EQ(v.h, 600);
  EXPECT_EQ(v.y, 200);
  Pt p = Map(v, 800, 1000, 800, 1000, 400, 199);
  EXPECT_EQ(p.y, 0);  // clamped
  p = Map(v, 800, 1000, 800, 1000, 400, 200);
  EXPECT_EQ(p.x, 320);
  EXPECT_EQ(p.y, 0);
  p = Map(v, 800, 1000, 800, 1000, 799, 799);
  EXPECT_EQ(p.x, 639);
  EXPECT_EQ(p.y, 479);
  p = Map(v, 800, 1000, 800, 1000, 0, 999);
  EXPECT_EQ(p.y, 479);  // clamped
}

TEST(Fit, DoubleScaleMapsEveryTwoPixelsToOne) {
  PlatformViewport v = Platform_Fit_Picture(1280, 960, false);
  EXPECT_EQ(v.w, 1280);
  for (int wx = 0; wx < 1280; ++wx) EXPECT_EQ(Map(v, 1280, 960, 1280, 960, wx, 0).x, wx / 2) << wx;
}

TEST(Fit, IntegerScalingKeepsWholeMultiples) {
  PlatformViewport v = Platform_Fit_Picture(1920, 1080, true);
  EXPECT_EQ(v.w, 1280);
  EXPECT_EQ(v.h, 960);
  EXPECT_EQ(v.x, 320);
  EXPECT_EQ(v.y, 60);
  Pt p = Map(v, 1920, 1080, 1920, 1080, 320, 60);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = Map(v, 1920, 1080, 1920, 1080, 321, 61);
  EXPECT_EQ(p.x, 0);
  p = Map(v, 1920, 1080, 1920, 1080, 322, 62);
  EXPECT_EQ(p.x, 1);
  EXPECT_EQ(p.y, 1);
  v = Platform_Fit_Picture(2560, 1440, true);  // 3x fits 1920 x 1440
  EXPECT_EQ(v.w, 1920);
  EXPECT_EQ(v.h, 1440);
  EXPECT_EQ(v.x, 320);
  EXPECT_EQ(v.y, 0);
  // Smaller than the picture: the aspect-kept fit.
  v = Platform_Fit_Picture(320, 240, true);
  EXPECT_EQ(v.w, 320);
  EXPECT_EQ(v.h, 240);
}

TEST(Fit, HiDpiWindowPointsMapThroughThePixelRatio) {
  // A 960 x 540 point window backed by 1920 x 1080 pixels.
  PlatformViewport v = Platform_Fit_Picture(1920, 1080, false);
  Pt p = Map(v, 960, 540, 1920, 1080, 480, 270);
  EXPECT_EQ(p.x, 320);
  EXPECT_EQ(p.y, 240);
  p = Map(v, 960, 540, 1920, 1080, 120, 0);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = Map(v, 960, 540, 1920, 1080, 839, 539);
  EXPECT_EQ(p.x, 639);
  EXPECT_EQ(p.y, 479);
}

TEST(Fit, OddSizesStayInsideAndDegenerateOnesAreSafe) {
  for (int w : {1, 7, 641, 1023, 1366, 3840})
    for (int h : {1, 5, 479, 768, 2160}) {
      for (bool integer : {false, true}) {
        PlatformViewport v = Platform_Fit_Picture(w, h, integer);
        EXPECT_GE(v.x, 0);
        EXPECT_GE(v.y, 0);
        EXPECT_LE(v.x + v.w, w);
        EXPECT_LE(v.y + v.h, h);
        Pt p = Map(v, w, h, w, h, w - 1, h - 1);
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.x, 639);
        EXPECT_GE(p.y, 0);
        EXPECT_LE(p.y, 479);
      }
    }
  PlatformViewport v = Platform_Fit_Picture(0, 0, false);
  EXPECT_EQ(v.w, 640);
  Pt p = Map(v, 0, 0, 0, 0, -5, 100000);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 479);
}

}  // namespace

// The display device: start-up, locks, the flip and what reaches the headless platform.
#include "graphics/clock_text.h"
#include "platform/platform.h"
#include "support.h"
#include "tests/support/game.h"

namespace {

struct DisplayTest : test_support::HeadlessPlatform {
  void TearDown() override {
    Shutdown_Display();
    HeadlessPlatform::TearDown();
  }
};

}  // namespace

TEST_F(DisplayTest, InitBuildsSurfacesPaletteAndClearsThem) {
  testing::internal::CaptureStderr();
  ASSERT_EQ(Init_Display(640, 480, 16, 1), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // nothing is printed on success
  ASSERT_NE(display.primary_surface, nullptr);
  ASSERT_NE(display.back_surface, nullptr);
  ASSERT_NE(display.dd_palette, nullptr);
  EXPECT_EQ(display.back_surface->width, 640);
  EXPECT_EQ(display.back_surface->height, 480);
  EXPECT_EQ(Pixel(display.back_surface, 639, 479), 0);
  EXPECT_FALSE(display.back_surface->has_color_key);

  const PALETTEENTRY& red = display.shadow_palette[10];
  EXPECT_EQ(red.peRed, 40);
  EXPECT_EQ(red.peGreen, 0);
  EXPECT_EQ(display.shadow_palette[64].peGreen, 0);
  EXPECT_EQ(display.shadow_palette[127].peGreen, 252);
  EXPECT_EQ(display.shadow_palette[130].peBlue, 8);
  const PALETTEENTRY& grey = display.shadow_palette[255];
  EXPECT_EQ(grey.peRed, 252);
  EXPECT_EQ(grey.peGreen, 252);
  EXPECT_EQ(grey.peBlue, 252);
  EXPECT_EQ(grey.peFlags, PC_NOCOLLAPSE);
  EXPECT_EQ(display.dd_palette->entries[255].peBlue, 252);
}

TEST_F(DisplayTest, ModeFlagsAndRefusedModes) {
  // Flag 2 asks for neither the exclusive level nor a mode: a depth no mode has is no refusal.
  EXPECT_EQ(Init_Display(640, 480, 24, 2), 1);
  EXPECT_NE(display.back_surface, nullptr);
  EXPECT_EQ(display.dd_object->fullscreen, 0);
  EXPECT_EQ(Init_Display(640, 480, 16, 256), 1);  // low byte 0: windowed
  EXPECT_EQ(display.dd_object->fullscreen, 0);
  EXPECT_EQ(Init_Display(320, 200, 8, 0), 1);  // windowed sets no mode; the surfaces stay 16-bit
  EXPECT_EQ(display.primary_surface->width, 320);

  testing::internal::CaptureStderr();
  EXPECT_EQ(Init_Display(640, 480, 24, 1), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "error ocurd in SetDisplayMode\n");
  EXPECT_EQ(display.primary_surface, nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Init_Display(0, 480, 16, 0), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "error ocurd in CreateSurface \n");
  EXPECT_EQ(Shutdown_Display(), 1);
  EXPECT_EQ(Shutdown_Display(), 1);  // a second shutdown releases nothing twice
  EXPECT_EQ(display.dd_object, nullptr);
}

TEST_F(DisplayTest, LocksAreCountedOnceAndBlockTheFlip) {
  ASSERT_EQ(Init_Display(640, 480, 16, 1), 1);
  EXPECT_EQ(Unlock_Primary(), 0);
  EXPECT_EQ(Unlock_Back(), 0);
  uint8_t* p = Lock_Primary();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(Lock_Primary(), p);
  EXPECT_EQ(display.primary_surface->locked, 1);
  EXPECT_EQ(display.primary_pitch, display.primary_surface->pitch);
  EXPECT_EQ(Flip_Display(), 0);
  EXPECT_EQ(Unlock_Primary(), 1);
  EXPECT_EQ(display.primary_buffer, nullptr);
  EXPECT_EQ(display.primary_pitch, 0);

  uint8_t* b = Lock_Back();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(display.back_pitch, 1280);
  EXPECT_EQ(Flip_Display(), 0);
  EXPECT_EQ(Unlock_Back(), 1);
  EXPECT_EQ(Flip_Display(), 1);

  Lock_Surface(display.back_surface, nullptr);  // a lock outside Lock_Back blocks it too
  EXPECT_EQ(Flip_Display(), 0);
  Unlock_Surface(display.back_surface, nullptr);
  EXPECT_EQ(Flip_Display(), 1);
  EXPECT_EQ(Lock_Surface(nullptr, nullptr), nullptr);
  EXPECT_EQ(Unlock_Surface(nullptr, nullptr), 0);
}

TEST_F(DisplayTest, FlipSwapsPagesAndPresentsTheNewFrontPage) {
  ASSERT_EQ(Init_Display(640, 480, 16, 1), 1);
  RECT whole{0, 0, 640, 480};
  display.dd_clipper = Attach_Clipper(display.back_surface, 1, &whole);
  display.dd_clipper = Attach_Clipper(display.primary_surface, 1, &whole);
  Fill_Rect(0, 0, 640, 480, 200, display.back_surface);
  Fill_Rect(10, 20, 11, 21, 0xF800, display.back_surface);
  ASSERT_EQ(Flip_Display(), 1);
  const std::vector<uint16_t>& frame = Platform_Last_Frame();
  ASSERT_EQ(frame.size(), 640u * 480u);
  EXPECT_EQ(frame[20 * 640 + 10], 0xF800);
  EXPECT_EQ(frame[0], 200);
  EXPECT_EQ(frame[640 * 480 - 1], 200);
  EXPECT_EQ(Pixel(display.primary_surface, 10, 20), 0xF800);
  EXPECT_EQ(Pixel(display.back_surface, 10, 20), 0);  // the back page now holds the page shown before
  Fill_Surface(display.back_surface, 7);
  ASSERT_EQ(Flip_Display(), 1);
  EXPECT_EQ(Platform_Last_Frame()[0], 7);
  EXPECT_EQ(Pixel(display.back_surface, 10, 20), 0xF800);
}

TEST_F(DisplayTest, SmallerPrimaryIsPresentedInTheTopLeftCorner) {
  ASSERT_EQ(Init_Display(320, 200, 16, 0), 1);
  Fill_Surface(display.back_surface, 9);
  ASSERT_EQ(Flip_Display(), 1);
  const std::vector<uint16_t>& frame = Platform_Last_Frame();
  ASSERT_EQ(frame.size(), 640u * 480u);
  EXPECT_EQ(frame[199 * 640 + 319], 9);
  EXPECT_EQ(frame[199 * 640 + 320], 0);
  EXPECT_EQ(frame[200 * 640], 0);
}

TEST_F(DisplayTest, VsyncAdvancesTheVirtualClock) {
  Platform_Set_Ticks(100);
  EXPECT_EQ(Wait_For_Vsync(), 1);
  uint32_t after = Get_Clock();
  EXPECT_GT(after, 100u);
  EXPECT_LE(after, 117u);
}

TEST(Display, WorksWithoutAPlatformWindow) {
  ASSERT_EQ(Platform_Is_Open(), 0);
  ASSERT_EQ(Init_Display(640, 480, 16, 1), 1);
  Fill_Surface(display.back_surface, 3);
  EXPECT_EQ(Flip_Display(), 1);
  EXPECT_EQ(Pixel(display.primary_surface, 0, 0), 3);
  ASSERT_EQ(Platform_Last_Frame().size(), 640u * 480u);
  EXPECT_EQ(Platform_Last_Frame()[0], 3);
  EXPECT_EQ(Shutdown_Display(), 1);
}

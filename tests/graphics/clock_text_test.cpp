// The frame clock on the virtual clock, text in the palette's colour, the error log, the debug output.
#include "graphics/clock_text.h"

#include <string>

#include "graphics/palette_lines.h"
#include "platform/platform.h"
#include "support.h"
#include "tests/support/game.h"

TEST(Clock, WaitsFromTheMarkAcrossTheWrap) {
  Platform_Set_Ticks(5000);
  EXPECT_EQ(Start_Clock(), 5000u);
  EXPECT_EQ(frame_start, 5000u);
  EXPECT_EQ(Wait_Clock(0), 5000u);
  EXPECT_EQ(Wait_Clock(100), 5100u);
  EXPECT_EQ(Wait_Clock(60), 5100u);  // already passed: returns at once

  Platform_Set_Ticks(0xFFFFFFF0u);  // 16 below 2^32
  Start_Clock();
  Platform_Set_Ticks(16);  // 32 ms later, past the wrap
  EXPECT_EQ(Wait_Clock(30), 16u);
  EXPECT_EQ(Wait_Clock(40), 24u);
  EXPECT_EQ(Get_Clock(), 24u);
}

namespace {

struct TextTest : ::testing::Test {
  void SetUp() override {
    test_support::Open_Headless();
    ASSERT_EQ(Init_Display(640, 480, 16, 1), 1);
  }
  void TearDown() override {
    Shutdown_Display();
    Platform_Close();
  }
};

}  // namespace

// Every fully covered pixel of the mask at (x, y) holds the colour, every uncovered one the background.
void Expect_Text(Surface* s, const TextMask& mask, int x, int y, uint16_t color, uint16_t background) {
  for (int py = 0; py < s->height; ++py) {
    for (int px = 0; px < s->width; ++px) {
      int mx = px - x, my = py - y;
      int cover = mx >= 0 && my >= 0 && mx < mask.width && my < mask.height
                      ? mask.coverage[static_cast<size_t>(my) * mask.width + mx]
                      : 0;
      if (cover == 255) {
        ASSERT_EQ(Pixel(s, px, py), color) << px << "," << py;
      } else if (cover == 0) {
        ASSERT_EQ(Pixel(s, px, py), background) << px << "," << py;
      }
    }
  }
}

TEST_F(TextTest, GlyphsOnlyInThePaletteColourAtTheMomentOfTheCall) {
  TextMask mask;
  ASSERT_EQ(Platform_Render_Text("Turns 12", 0, &mask), 1);
  int full = 0;
  for (uint8_t c : mask.coverage) full += c == 255;
  ASSERT_GT(full, 0);

  SurfacePtr s = Make_Surface(200, 40, 200);
  ASSERT_EQ(Draw_Text("Turns 12", 10, 5, 255, s.get()), 1);
  Expect_Text(s.get(), mask, 10, 5, 0xFFFF, 200);  // grey 252 of the start palette

  Set_Palette(black_palette);
  Fill_Surface(s.get(), 200);
  ASSERT_EQ(Draw_Text("Turns 12", 10, 5, 255, s.get()), 1);
  Expect_Text(s.get(), mask, 10, 5, 0, 200);

  Fill_Surface(s.get(), 0);
  ASSERT_EQ(Draw_Text_RGB("Turns 12", 10, 5, 0x0000FF, s.get()), 1);  // red
  Expect_Text(s.get(), mask, 10, 5, 0xF800, 0);
  PALETTEENTRY green{0, 255, 0, PC_NOCOLLAPSE};
  Set_Palette_Entry(7, &green);
  Fill_Surface(s.get(), 0);
  ASSERT_EQ(Draw_Text("Turns 12", -3, 30, 7, s.get()), 1);
  Expect_Text(s.get(), mask, -3, 30, 0x07E0, 0);
}

// Masks are kept by the text, not by the buffer it is in: one buffer rewritten with more strings than
// are kept, and then again backwards, so the second half comes from kept masks and the rest is
// rasterised again.
TEST_F(TextTest, KeptMasksFollowTheText) {
  char text[16];
  SurfacePtr s = Make_Surface(200, 40);
  for (int i = 0; i < 80; ++i) {
    std::snprintf(text, sizeof text, "Turns %d", i < 40 ? i : 79 - i);
    TextMask mask;
    ASSERT_EQ(Platform_Render_Text(text, 0, &mask), 1);
    Fill_Surface(s.get(), 0);
    ASSERT_EQ(Draw_Text_RGB(text, 10, 5, 0xFFFFFF, s.get()), 1);
    Expect_Text(s.get(), mask, 10, 5, 0xFFFF, 0);
  }
}

TEST_F(TextTest, ClippedAtTheSurfaceEdgesAndRefusedWithoutASurface) {
  SurfacePtr s = Make_Surface(20, 8, 1);
  EXPECT_EQ(Draw_Text("WWWW", -7, -9, 255, s.get()), 1);
  EXPECT_EQ(Draw_Text("WWWW", 15, 4, 255, s.get()), 1);
  EXPECT_EQ(Draw_Text("W", 5000, 5000, 255, s.get()), 1);
  EXPECT_GT(20 * 8 - Count(s.get(), 1), 0);
  EXPECT_EQ(Draw_Text("A", 0, 0, 255, nullptr), 0);
  EXPECT_EQ(Draw_Text("A", 0, 0, 256, s.get()), 0);
  EXPECT_EQ(Draw_Text("", 0, 0, 255, s.get()), 1);
  Lock_Surface(s.get(), nullptr);
  EXPECT_EQ(Draw_Text("A", 0, 0, 255, s.get()), 0);
  Unlock_Surface(s.get(), nullptr);
}

TEST(ErrorLog, OpeningClosingAndTruncatedMessages) {
  TempDir dir;
  EXPECT_EQ(Write_Error("before %d", 1), 0);
  EXPECT_EQ(Close_Error_Log(), 0);
  std::string first = dir.File("first.txt"), second = dir.File("second.txt");
  ASSERT_EQ(Open_Error_Log(first.c_str()), 1);
  EXPECT_EQ(Write_Error("\nCreate BOB %d", 7), 1);
  EXPECT_EQ(Write_Error("%s", "100% sure"), 1);
  const char* no_format = nullptr;
  EXPECT_EQ(Write_Error(no_format), 0);
  ASSERT_EQ(Open_Error_Log(second.c_str()), 1);
  EXPECT_EQ(Write_Error("%s", std::string(200, 'x').c_str()), 1);
  EXPECT_EQ(Close_Error_Log(), 1);
  EXPECT_EQ(error_log, nullptr);
  EXPECT_EQ(Read_File(first), "\nOpening Error Output File (" + first +
                                  "):\n\nCreate BOB 7100% sure\nClosing Error Output File.");
  EXPECT_EQ(Read_File(second), "\nOpening Error Output File (" + second + "):\n" + std::string(79, 'x') +
                                   "\nClosing Error Output File.");
  EXPECT_EQ(Open_Error_Log((dir.Path() / "no" / "such" / "dir.txt").string().c_str()), 0);
}

TEST(DebugPrint, FormatsAndTruncatesAt1023Characters) {
  testing::internal::CaptureStderr();
  Debug_Print("%d%s", 1, "\n");
  Debug_Print("%s", std::string(3000, 'y').c_str());
  std::string out = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, "1\n" + std::string(1023, 'y'));
}

// Text rasterising (a real font through fontconfig) and PNG writing, read back with libpng.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/files.h"

namespace {

int Inked_Columns(const TextMask& m) {
  int n = 0;
  for (int x = 0; x < m.width; ++x)
    for (int y = 0; y < m.height; ++y)
      if (m.coverage[static_cast<size_t>(y * m.width + x)] > 0) {
        ++n;
        break;
      }
  return n;
}

long Coverage_Sum(const TextMask& m) {
  long sum = 0;
  for (uint8_t c : m.coverage) sum += c;
  return sum;
}

TEST(Text, WorksWithoutOpeningAnyBackend) {
  ASSERT_EQ(Platform_Is_Open(), 0);
  TextMask a;
  ASSERT_EQ(Platform_Render_Text("A", 0, &a), 1);
  EXPECT_GT(a.width, 0);
  EXPECT_GT(a.height, 0);
  EXPECT_EQ(a.coverage.size(), static_cast<size_t>(a.width * a.height));
  EXPECT_GT(Coverage_Sum(a), 0);
  bool full = false;
  for (uint8_t c : a.coverage) full = full || c == 255;
  EXPECT_TRUE(full) << "a bold capital has fully covered pixels";
}

TEST(Text, DefaultSizeIsAboutAClassicSystemFont) {
  TextMask a;
  ASSERT_EQ(Platform_Render_Text("A", 0, &a), 1);
  EXPECT_GE(a.height, 14);
  EXPECT_LE(a.height, 18);
  // The capital's inked rows: about 10 pixels, like an 8 x 16 system font's capitals.
  int top = a.height, bottom = -1;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (a.coverage[static_cast<size_t>(y * a.width + x)] > 64) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  EXPECT_GE(bottom - top + 1, 8);
  EXPECT_LE(bottom - top + 1, 12);
}

TEST(Text, TwoLettersAreWiderThanOne) {
  TextMask a, aa;
  ASSERT_EQ(Platform_Render_Text("A", 0, &a), 1);
  ASSERT_EQ(Platform_Render_Text("AA", 0, &aa), 1);
  EXPECT_GT(aa.width, a.width);
  EXPECT_EQ(aa.height, a.height);
  EXPECT_GT(Inked_Columns(aa), Inked_Columns(a));
  EXPECT_GT(Coverage_Sum(aa), Coverage_Sum(a) * 3 / 2);
}

TEST(Text, SizesAreHonouredAndCached) {
  TextMask small, big, again;
  ASSERT_EQ(Platform_Render_Text("Orvalis", 10, &small), 1);
  ASSERT_EQ(Platform_Render_Text("Orvalis", 30, &big), 1);
  ASSERT_EQ(Platform_Render_Text("Orvalis", 10, &again), 1);
  EXPECT_GT(big.width, small.width);
  EXPECT_GT(big.height, small.height);
  EXPECT_EQ(again.width, small.width);
  EXPECT_EQ(again.coverage, small.coverage);
  for (int size = 5; size < 40; ++size) {  // more sizes than the cache holds
    TextMask m;
    ASSERT_EQ(Platform_Render_Text("x", size, &m), 1) << size;
  }
}

TEST(Text, EmptyAndBadArguments) {
  TextMask m;
  ASSERT_EQ(Platform_Render_Text("", 0, &m), 1);
  EXPECT_EQ(m.width, 0);
  EXPECT_TRUE(m.coverage.empty());
  EXPECT_EQ(Platform_Render_Text(nullptr, 0, &m), 0);
  EXPECT_EQ(Platform_Render_Text("A", 0, nullptr), 0);
}

TEST(Text, SurvivesCloseAndWorksAfterwards) {
  TextMask m;
  ASSERT_EQ(Platform_Render_Text("A", 0, &m), 1);
  Platform_Close();  // releases the fonts
  TextMask again;
  ASSERT_EQ(Platform_Render_Text("A", 0, &again), 1);
  EXPECT_EQ(again.coverage, m.coverage);
}

struct Read_Back {
  int width = 0, height = 0, color_type = -1, bit_depth = 0;
  std::vector<uint8_t> rgb;
};

bool Read_PNG(const std::string& path, Read_Back* out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_read_info(png, info);
  out->width = static_cast<int>(png_get_image_width(png, info));
  out->height = static_cast<int>(png_get_image_height(png, info));
  out->color_type = png_get_color_type(png, info);
  out->bit_depth = png_get_bit_depth(png, info);
  out->rgb.assign(static_cast<size_t>(out->width) * out->height * 3, 0);
  for (int y = 0; y < out->height; ++y)
    png_read_row(png, &out->rgb[static_cast<size_t>(y) * out->width * 3], nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  return true;
}

std::string Temp_Path(const char* name) {
  static const test_support::TempDir dir("png");
  return dir.File(name);
}

TEST(PNG, RoundTrip) {
  const int w = 37, h = 23;  // odd sizes: no row padding assumed
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &rgb[static_cast<size_t>(y * w + x) * 3];
      p[0] = static_cast<uint8_t>(x * 7);
      p[1] = static_cast<uint8_t>(y * 11);
      p[2] = static_cast<uint8_t>(x ^ y);
    }
  std::string path = Temp_Path("roundtrip.png");
  ASSERT_EQ(Platform_Write_PNG(path.c_str(), rgb.data(), w, h), 1);
  Read_Back back;
  ASSERT_TRUE(Read_PNG(path, &back));
  EXPECT_EQ(back.width, w);
  EXPECT_EQ(back.height, h);
  EXPECT_EQ(back.color_type, PNG_COLOR_TYPE_RGB);
  EXPECT_EQ(back.bit_depth, 8);
  EXPECT_EQ(back.rgb, rgb);
  std::filesystem::remove(path);
}

TEST(PNG, RefusesBadArgumentsAndUnwritablePaths) {
  uint8_t px[3] = {1, 2, 3};
  EXPECT_EQ(Platform_Write_PNG(nullptr, px, 1, 1), 0);
  EXPECT_EQ(Platform_Write_PNG(Temp_Path("bad.png").c_str(), nullptr, 1, 1), 0);
  EXPECT_EQ(Platform_Write_PNG(Temp_Path("bad.png").c_str(), px, 0, 1), 0);
  EXPECT_EQ(Platform_Write_PNG(Temp_Path("bad.png").c_str(), px, 1, -1), 0);
  EXPECT_EQ(Platform_Write_PNG("/nonexistent-folder/x.png", px, 1, 1), 0);
  EXPECT_FALSE(std::filesystem::exists(Temp_Path("bad.png")));
}

}  // namespace

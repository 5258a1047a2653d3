// The .bmp reader on files the tests build, good and bad, and the Image record.
#include "graphics/bitmap.h"

#include <cstring>

#include "support.h"

namespace {

// 24-bit picture with blue x, green y, red 7 at (x, y).
std::vector<uint8_t> Gradient_24(int width, int height) {
  return Make_Bmp(width, height, 24, [](int x, int y, int k) {
    return static_cast<uint8_t>(k == 0 ? x : k == 1 ? y : 7);
  });
}

}  // namespace

TEST(Bitmap, Reads24BitRowsTopDown) {
  BitmapRecord b;
  std::vector<uint8_t> data = Gradient_24(32, 32);
  Put32(data, 34, 12345);  // a size image field that is wrong
  ASSERT_EQ(Load_Bitmap_Memory(&b.file, data.data(), data.size()), 1);
  EXPECT_EQ(+b.file.bitmapinfoheader.biSizeImage, 3072u);
  EXPECT_EQ(+b.file.bitmapfileheader.bfType, 0x4D42);
  EXPECT_EQ(+b.file.bitmapinfoheader.biWidth, 32);
  const uint8_t* top_left = b.file.buffer;
  EXPECT_EQ(top_left[0], 0);
  EXPECT_EQ(top_left[1], 0);
  EXPECT_EQ(top_left[2], 7);
  const uint8_t* p = b.file.buffer + 5 * 96 + 3 * 3;  // (3, 5)
  EXPECT_EQ(p[0], 3);
  EXPECT_EQ(p[1], 5);
}

TEST(Bitmap, RowPaddingIsHonoured) {
  // 5 pixels of 3 bytes: 15 bytes a row, filled to 16 in the file.
  BitmapRecord b;
  std::vector<uint8_t> data = Gradient_24(5, 3);
  ASSERT_EQ(data.size(), 54u + 16u * 3u);
  ASSERT_EQ(Load_Bitmap_Memory(&b.file, data.data(), data.size()), 1);
  EXPECT_EQ(+b.file.bitmapinfoheader.biSizeImage, 45u);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(b.file.buffer[y * 15 + x * 3], x);
      EXPECT_EQ(b.file.buffer[y * 15 + x * 3 + 1], y);
    }
  }
}

TEST(Bitmap, EightBitPaletteIsSwappedAndFlagged) {
  BitmapRecord b;
  std::vector<uint8_t> data =
      Make_Bmp(3, 2, 8, [](int x, int y, int) { return static_cast<uint8_t>(10 * y + x); });
  ASSERT_EQ(Load_Bitmap_Memory(&b.file, data.data(), data.size()), 1);
  EXPECT_EQ(b.file.palette[5].peRed, 15);
  EXPECT_EQ(b.file.palette[5].peGreen, 10);
  EXPECT_EQ(b.file.palette[5].peBlue, 5);
  EXPECT_EQ(b.file.palette[5].peFlags, PC_NOCOLLAPSE);
  EXPECT_EQ(b.file.palette[255].peFlags, PC_NOCOLLAPSE);
  const uint8_t expected[6] = {0, 1, 2, 10, 11, 12};
  EXPECT_EQ(std::memcmp(b.file.buffer, expected, 6), 0);
}

TEST(Bitmap, SixteenBitPixelsKeepTheirBytes) {
  BitmapRecord b;
  std::vector<uint8_t> data = Make_Bmp(
      3, 2, 16, [](int x, int y, int k) { return static_cast<uint8_t>(k == 0 ? 0x10 * y + x : 0xAB); });
  ASSERT_EQ(Load_Bitmap_Memory(&b.file, data.data(), data.size()), 1);
  EXPECT_EQ(+b.file.bitmapinfoheader.biSizeImage, 12u);
  EXPECT_EQ(b.file.buffer[6], 0x10);
  EXPECT_EQ(b.file.buffer[7], 0xAB);
}

TEST(Bitmap, BadFilesAreRefusedAndLeaveTheRecordAlone) {
  BitmapRecord b;
  std::vector<uint8_t> good = Gradient_24(4, 4);
  ASSERT_EQ(Load_Bitmap_Memory(&b.file, good.data(), good.size()), 1);
  uint8_t* kept = b.file.buffer;

  struct Case {
    const char* what;
    std::vector<uint8_t> data;
  };
  std::vector<Case> cases;
  auto with = [&](const char* what, auto change) {
    std::vector<uint8_t> d = Gradient_24(4, 4);
    change(d);
    cases.push_back({what, d});
  };
  with("not BM", [](auto& d) { d[0] = 'X'; });
  with("32 bits", [](auto& d) { Put16(d, 28, 32); });
  with("1 bit", [](auto& d) { Put16(d, 28, 1); });
  with("compressed", [](auto& d) { Put32(d, 30, 1); });
  with("top-down", [](auto& d) { Put32(d, 22, static_cast<uint32_t>(-4)); });
  with("zero width", [](auto& d) { Put32(d, 18, 0); });
  with("larger than the file", [](auto& d) { Put32(d, 22, 5); });
  with("size overflows", [](auto& d) {
    Put32(d, 18, 0x7FFFFFFF);
    Put32(d, 22, 0x7FFFFFFF);
  });
  with("width times 3 wraps 32 bits", [](auto& d) {
    Put32(d, 18, 0x55555556);
    Put32(d, 22, 1);
  });
  with("shorter than its headers", [](auto& d) { d.resize(50); });
  with("empty", [](auto& d) { d.clear(); });
  {
    std::vector<uint8_t> d = Make_Bmp(4, 4, 8, [](int, int, int) { return uint8_t{1}; });
    d.resize(54 + 1000);  // cut inside the colour table
    cases.push_back({"8-bit without its colour table", d});
  }
  for (const Case& c : cases) {
    EXPECT_EQ(Load_Bitmap_Memory(&b.file, c.data.data(), c.data.size()), 0) << c.what;
    EXPECT_EQ(b.file.buffer, kept) << c.what;
    EXPECT_EQ(+b.file.bitmapinfoheader.biWidth, 4) << c.what;
  }
  EXPECT_EQ(Load_Bitmap_Memory(nullptr, good.data(), good.size()), 0);
  EXPECT_EQ(Load_Bitmap_Memory(&b.file, nullptr, 100), 0);
}

TEST(Bitmap, FilesByNameAndUnloading) {
  TempDir dir;
  BitmapRecord b;
  ASSERT_TRUE(Write_File(dir.File("a.bmp"), Gradient_24(8, 2)));
  ASSERT_TRUE(Write_File(dir.File("b.bmp"), Gradient_24(2, 8)));
  ASSERT_EQ(Load_Bitmap_File(&b.file, dir.File("a.bmp").c_str()), 1);
  uint8_t* first = b.file.buffer;
  EXPECT_EQ(Load_Bitmap_File(&b.file, dir.File("missing.bmp").c_str()), 0);
  EXPECT_EQ(b.file.buffer, first);
  ASSERT_EQ(Load_Bitmap_File(&b.file, dir.File("b.bmp").c_str()), 1);
  EXPECT_EQ(+b.file.bitmapinfoheader.biWidth, 2);
  EXPECT_EQ(+b.file.bitmapinfoheader.biSizeImage, 48u);
  EXPECT_EQ(Unload_Bitmap_File(&b.file), 1);
  EXPECT_EQ(b.file.buffer, nullptr);
  EXPECT_EQ(+b.file.bitmapinfoheader.biWidth, 2);  // the headers stay
  EXPECT_EQ(Unload_Bitmap_File(&b.file), 1);
  EXPECT_EQ(Load_Bitmap_File(&b.file, dir.Path().string().c_str()), 0);  // a folder is not a file
}

TEST(Bitmap, FlipSwapsRows) {
  uint8_t one[3] = {1, 2, 3};
  EXPECT_EQ(Flip_Bitmap(one, 3, 1), 1);
  EXPECT_EQ(one[0], 1);
  uint8_t rows[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(Flip_Bitmap(rows, 2, 3), 1);
  const uint8_t expected[6] = {5, 6, 3, 4, 1, 2};
  EXPECT_EQ(std::memcmp(rows, expected, 6), 0);
  EXPECT_EQ(Flip_Bitmap(nullptr, 2, 3), 0);
}

TEST(Image, DrawsOnlyWhenReadyAndKeepsTransparentBytes) {
  Image image{};
  ASSERT_EQ(Create_Image(&image, 1, 1, 2, 2), 1);
  EXPECT_EQ(image.state, 1);
  EXPECT_EQ(image.num_bytes, 4);
  uint8_t dest[16];
  std::memset(dest, 9, sizeof dest);
  EXPECT_EQ(Draw_Image(&image, dest, 4, 0), 0);
  EXPECT_EQ(dest[5], 9);

  image.buffer[0] = 3;
  image.buffer[3] = 4;
  image.attributes |= 0x80;
  EXPECT_EQ(Draw_Image(&image, dest, 4, 1), 1);
  EXPECT_EQ(dest[5], 3);
  EXPECT_EQ(dest[6], 9);
  EXPECT_EQ(dest[9], 9);
  EXPECT_EQ(dest[10], 4);
  EXPECT_EQ(Draw_Image(&image, dest, 4, 0), 1);
  EXPECT_EQ(dest[6], 0);
  EXPECT_EQ(dest[9], 0);

  EXPECT_EQ(Destroy_Image(&image), 1);
  EXPECT_EQ(image.buffer, nullptr);
  EXPECT_EQ(image.state, 0);
  EXPECT_EQ(Destroy_Image(&image), 0);
  EXPECT_EQ(Create_Image(&image, 0, 0, 0, 5), 0);
}

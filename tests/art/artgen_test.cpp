// The generator itself: the same bytes on every run, clear refusals, and the encoding and frame
// placement rules every picture goes through.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/asset_manifest.h"
#include "graphics/bitmap.h"
#include "tests/support/files.h"
#include "tools/artgen/art_file.h"
#include "tools/artgen/text.h"

namespace {

using namespace test_support;

// Runs the generator with the given arguments; its exit code (or -1 when it did not exit).
int Run_Artgen(const std::string& args, const fs::path& log) {
  std::string cmd = std::string("\"") + ORVALIS_ARTGEN + "\" " + args + " >\"" + log.string() + "\" 2>&1";
  int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Whole runs of the generator: in the sanitized build the generator already ran under the sanitizers
// to make the run folder, so these add only time there.
#ifndef ORVALIS_SANITIZED_BUILD

// The build wrote the run folder's art with the same generator: a second run must write the same bytes.
TEST(Artgen, ASecondRunWritesTheSameBytesAsTheBuild) {
  TempDir a("artgen");
  ASSERT_EQ(Run_Artgen("--out \"" + a.Path().string() + "\" --icons \"" + a.Path().string() + "\"",
                       a.Path() / "log.txt"),
            0);
  int files = 0;
  for (int r = 0; r < MANIFEST_ROW_COUNT; ++r) {
    if (!asset_manifest[r].file) continue;  // a BOB cut from the file of the row above
    const char* name = asset_manifest[r].file;
    const std::string bytes = Read_File(a.Path() / name);
    ASSERT_FALSE(bytes.empty()) << name;
    EXPECT_TRUE(bytes == Read_File(Run_Path(name))) << name << " differs from the build's copy";
    ++files;
  }
  // Exactly the manifest's files and the icons are written, and nothing else is left behind.
  int written = 0;
  for (const auto& entry : fs::directory_iterator(a.Path()))
    written += entry.path().filename() != "log.txt" && entry.path().extension() != ".png";
  EXPECT_EQ(written, files);
  // The icons are PNG files of their named sizes.
  for (int size : {48, 128, 256}) {
    const std::string png = Read_File(a.Path() / ("orvalis_" + std::to_string(size) + ".png"));
    ASSERT_GE(png.size(), 24u) << size;
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto be32 = [&](size_t o) {
      uint32_t v = 0;
      for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png[o + i]);
      return v;
    };
    EXPECT_EQ(be32(16), static_cast<uint32_t>(size));
    EXPECT_EQ(be32(20), static_cast<uint32_t>(size));
  }
}

// Painting every picture first, the generator finds the folder unwritable only at the end.
TEST(Artgen, RefusesAnUnwritableFolderWithAMessage) {
  TempDir t("artgen");
  fs::path missing = t.Path() / "no" / "such" / "folder";
  EXPECT_EQ(Run_Artgen("--out \"" + missing.string() + "\"", t.Path() / "missing.txt"), 1);
  EXPECT_NE(Read_File(t.Path() / "missing.txt").find("cannot write"), std::string::npos);
}

#endif

TEST(Artgen, RefusesBadArgumentsWithAMessage) {
  TempDir t("artgen");
  EXPECT_EQ(Run_Artgen("", t.Path() / "none.txt"), 2);
  EXPECT_EQ(Run_Artgen("--out", t.Path() / "dangling.txt"), 2);
  EXPECT_EQ(Run_Artgen("--frobnicate x", t.Path() / "unknown.txt"), 2);
  EXPECT_NE(Read_File(t.Path() / "unknown.txt").find("--frobnicate"), std::string::npos);
}

TEST(Artgen, PixelsAreStoredSoThatOnlyTransparencyReadsAsTheKey) {
  uint8_t bgr[3];
  Flatten_Pixel(Rgb(200, 100, 50, 0.2f), bgr);
  EXPECT_TRUE(bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 0);
  // Opaque near-black is lifted to the darkest colour that is not the key.
  Flatten_Pixel(Rgb(3, 5, 2), bgr);
  EXPECT_FALSE(Is_Key_Pixel(bgr));
  EXPECT_EQ(bgr[1], 8);
  Flatten_Pixel(Rgb(0, 0, 0), bgr);
  EXPECT_FALSE(Is_Key_Pixel(bgr));
  Flatten_Pixel(Rgb(300, -4, 7.6f), bgr);
  EXPECT_EQ(bgr[2], 255);
  EXPECT_EQ(bgr[1], 0);
  EXPECT_EQ(bgr[0], 8);
}

TEST(Artgen, EncodedFilesReadBackTopRowFirstThroughTheLoader) {
  Canvas c = New_Canvas(8, 3, Rgb(10, 20, 30));
  c.At(0, 0) = Rgb(255, 0, 0);
  c.At(7, 2) = Rgb(0, 0, 255);
  std::vector<uint8_t> bytes = Encode_BMP(c);
  ASSERT_EQ(bytes.size(), 54u + 8u * 3u * 3u);
  BitmapFile bitmap{};
  ASSERT_EQ(Load_Bitmap_Memory(&bitmap, bytes.data(), bytes.size()), 1);
  const int32_t width = bitmap.bitmapinfoheader.biWidth, height = bitmap.bitmapinfoheader.biHeight;
  EXPECT_EQ(width, 8);
  EXPECT_EQ(height, 3);
  const uint8_t* top_left = bitmap.buffer;
  EXPECT_EQ(top_left[2], 255);  // red, stored blue-green-red
  EXPECT_EQ(top_left[0], 0);
  const uint8_t* bottom_right = bitmap.buffer + (2 * 8 + 7) * 3;
  EXPECT_EQ(bottom_right[0], 255);
  Unload_Bitmap_File(&bitmap);
  // A width whose rows would need padding is refused rather than written sheared.
  EXPECT_TRUE(Encode_BMP(New_Canvas(6, 2)).empty());
}

TEST(Artgen, FramesArePlacedWhereTheManifestCutsThemAndOverlapsAreCaught) {
  const int before = Artgen_Error_Count();
  ArtFile art = New_Art_File("option.bmp");
  int w = 0, h = 0;
  File_Size("option.bmp", &w, &h);
  EXPECT_EQ(w % 4, 0);
  EXPECT_GE(w, 179);
  EXPECT_EQ(h, 250);
  // Frames 0 and 1 of the amount row share pixel rows 50 and 51: opaque pictures there collide.
  Canvas full = New_Frame("BOB_option_amount");
  for (Color& p : full.px) p = Rgb(200, 200, 200);
  Put_Frame(art, "BOB_option_amount", 0, full);
  Canvas other = full;
  for (Color& p : other.px) p = Rgb(20, 200, 20);
  Put_Frame(art, "BOB_option_amount", 1, other);
  EXPECT_EQ(Check_Frames(art), 0);
  EXPECT_GT(Artgen_Error_Count(), before);
  // A picture of the wrong size, or a BOB from another file, is refused.
  const int after = Artgen_Error_Count();
  Put_Frame(art, "BOB_option_amount", 2, New_Canvas(10, 10));
  Put_Frame(art, "BOB_walls", 0, New_Frame("BOB_walls"));
  Put_Frame(art, "BOB_option_amount", 3, full);
  EXPECT_EQ(Artgen_Error_Count(), after + 3);
}

}  // namespace

// The generator itself: the same bytes on every run, clear refusals, and the encoding and frame
// placement rules every picture goes through.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "common/asset_manifest.h"
#include "tools/artgen/art_file.h"
#include "tools/artgen/text.h"

namespace fs = std::filesystem;

namespace {

std::vector<char> Read_All(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs the generator with the given arguments; its exit code (or -1 when it did not exit).
int Run_Artgen(const std::string& args, const fs::path& log) {
  std::string cmd = std::string("\"") + ORVALIS_ARTGEN + "\" " + args + " >\"" + log.string() + "\" 2>&1";
  int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct TempDir {
  fs::path path;
  explicit TempDir(const char* name) {
    path =
        fs::temp_directory_path() / (std::string("orvalis_art_") + name + "_" + std::to_string(::getpid()));
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

TEST(Artgen, TwoRunsWriteTheSameBytesAsTheBuild) {
  TempDir a("a"), b("b");
  ASSERT_EQ(Run_Artgen("--out \"" + a.path.string() + "\"", a.path / "log.txt"), 0);
  ASSERT_EQ(
      Run_Artgen("--out \"" + b.path.string() + "\" --icons \"" + b.path.string() + "\"", b.path / "log.txt"),
      0);
  int files = 0;
  for (int r = 0; r < MANIFEST_ROW_COUNT; ++r) {
    if (!asset_manifest[r].file) continue;  // a BOB cut from the file of the row above
    const char* name = asset_manifest[r].file;
    std::vector<char> first = Read_All(a.path / name), second = Read_All(b.path / name);
    ASSERT_FALSE(first.empty()) << name;
    EXPECT_TRUE(first == second) << name << " differs between two runs";
    EXPECT_TRUE(first == Read_All(fs::path(ORVALIS_RUN_DIR) / name))
        << name << " differs from the build's copy";
    ++files;
  }
  // Exactly the manifest's files are written, and nothing else is left behind.
  int written = 0;
  for (const auto& entry : fs::directory_iterator(a.path)) written += entry.path().filename() != "log.txt";
  EXPECT_EQ(written, files);
  // The icons are PNG files of their named sizes.
  for (int size : {48, 128, 256}) {
    std::vector<char> png = Read_All(b.path / ("orvalis_" + std::to_string(size) + ".png"));
    ASSERT_GE(png.size(), 24u) << size;
    EXPECT_EQ(std::string(png.data() + 1, 3), "PNG");
    auto be32 = [&](size_t o) {
      return static_cast<uint32_t>(static_cast<unsigned char>(png[o])) << 24 |
             static_cast<uint32_t>(static_cast<unsigned char>(png[o + 1])) << 16 |
             static_cast<uint32_t>(static_cast<unsigned char>(png[o + 2])) << 8 |
             static_cast<uint32_t>(static_cast<unsigned char>(png[o + 3]));
    };
    EXPECT_EQ(be32(16), static_cast<uint32_t>(size));
    EXPECT_EQ(be32(20), static_cast<uint32_t>(size));
  }
}

TEST(Artgen, RefusesBadArgumentsAndUnwritableFoldersWithAMessage) {
  TempDir t("bad");
  EXPECT_EQ(Run_Artgen("", t.path / "none.txt"), 2);
  EXPECT_EQ(Run_Artgen("--out", t.path / "dangling.txt"), 2);
  EXPECT_EQ(Run_Artgen("--frobnicate x", t.path / "unknown.txt"), 2);
  std::string unknown(Read_All(t.path / "unknown.txt").data(), Read_All(t.path / "unknown.txt").size());
  EXPECT_NE(unknown.find("--frobnicate"), std::string::npos);
  fs::path missing = t.path / "no" / "such" / "folder";
  EXPECT_EQ(Run_Artgen("--out \"" + missing.string() + "\"", t.path / "missing.txt"), 1);
  std::vector<char> log = Read_All(t.path / "missing.txt");
  EXPECT_NE(std::string(log.begin(), log.end()).find("cannot write"), std::string::npos);
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

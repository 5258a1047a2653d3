// The asset manifest: its rows, the files they name and the cell arithmetic of the menu buttons.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/asset_manifest.h"
#include "common/bobs.h"

namespace {

TEST(Manifest, NamesEachFileOnceAndEveryBobOnce) {
  std::set<std::string> files, bobs;
  for (int r = 0; r < MANIFEST_BOB_COUNT; ++r) {
    if (asset_manifest[r].file) {
      EXPECT_TRUE(files.insert(asset_manifest[r].file).second) << asset_manifest[r].file;
    }
    EXPECT_TRUE(bobs.insert(asset_manifest[r].bob_name).second);
    EXPECT_NE(Manifest_BOB(r), nullptr);
    EXPECT_EQ(Manifest_Find(asset_manifest[r].bob_name), r);
  }
  EXPECT_EQ(static_cast<int>(files.size()), MANIFEST_FILE_COUNT);
  EXPECT_EQ(Manifest_Find("BOB_nothing"), -1);
  EXPECT_EQ(Manifest_BOB(MANIFEST_ROW_COUNT), nullptr);
  EXPECT_EQ(Manifest_BOB(Manifest_Find("BOB_player1")), &BOB_player1);
  EXPECT_STREQ(Manifest_File(Manifest_Find("BOB_button_quit")), "menu1.bmp");
}

TEST(Manifest, CellFramesSkipTheOnePixelBorders) {
  const int quit = Manifest_Find("BOB_button_quit");
  int32_t x = 0, y = 0;
  Manifest_Frame_Pixel(quit, 0, &x, &y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 97);
  Manifest_Frame_Pixel(quit, 1, &x, &y);
  EXPECT_EQ(x, 107);
  EXPECT_EQ(y, 97);
  const int walls = Manifest_Find("BOB_walls");
  Manifest_Frame_Pixel(walls, 12, &x, &y);
  EXPECT_EQ(x, 160);
  EXPECT_EQ(y, 32);
}

}  // namespace

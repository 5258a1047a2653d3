// The search for the data folder, and where screenshots go.
#include "shell/data_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/files.h"

namespace fs = std::filesystem;

namespace {

struct TempTree {
  test_support::TempDir dir{"data"};
  const fs::path root = dir.Path();
  void Make_Data(const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / "mm_main.bmp") << "x";
    std::ofstream(folder / "10.txt") << "x";
  }
};

TEST(DataDir, PrefersTheBinarysFolderThenTheInstalledFolders) {
  TempTree t;
  const fs::path bin = t.root / "prefix" / "games";
  fs::create_directories(bin);
  // As installed: the data found from the binary's folder, then at the configured absolute path.
  const std::string way = "../share/games/orvalis", configured = (t.root / "configured").string();
  const fs::path share = t.root / "prefix" / "share" / "games" / "orvalis";
  std::vector<std::string> tried;
  EXPECT_EQ(Find_Data_Dir(bin.string(), way, configured, &tried), "");
  ASSERT_EQ(tried.size(), 3u);  // every folder looked at is named
  EXPECT_EQ(tried[0], bin.string());
  EXPECT_EQ(tried[1], share.string());
  EXPECT_EQ(tried[2], configured);

  t.Make_Data(configured);
  tried.clear();
  EXPECT_EQ(Find_Data_Dir(bin.string(), way, configured, &tried), configured);

  t.Make_Data(share);
  tried.clear();
  EXPECT_EQ(Find_Data_Dir(bin.string(), way, configured, &tried), share.string());

  t.Make_Data(bin);
  tried.clear();
  EXPECT_EQ(Find_Data_Dir(bin.string(), way, "", &tried), bin.string());
  EXPECT_TRUE(tried.empty());
}

TEST(DataDir, AFolderNeedsBothTheArtAndTheTemplates) {
  TempTree t;
  std::ofstream(t.root / "mm_main.bmp") << "x";
  EXPECT_FALSE(Is_Data_Dir(t.root.string()));
  std::ofstream(t.root / "10.txt") << "x";
  EXPECT_TRUE(Is_Data_Dir(t.root.string()));
}

TEST(DataDir, ScreenshotsGoToThePicturesFolderElseTheDataHome) {
  TempTree t;
  const std::string old_home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", t.root.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  // A relative XDG value is ignored: it would put the player's files among the game's data.
  setenv("XDG_DATA_HOME", "share", 1);
  EXPECT_EQ(Screenshot_Dir(), (t.root / ".local/share/orvalis/screenshots").string());
  fs::create_directories(t.root / ".config");
  fs::create_directories(t.root / "Bilder");
  std::ofstream(t.root / ".config/user-dirs.dirs") << "# comment\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  setenv("XDG_CONFIG_HOME", "config", 1);
  EXPECT_EQ(Screenshot_Dir(), (t.root / "Bilder").string());
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", old_home.c_str(), 1);
}

}  // namespace

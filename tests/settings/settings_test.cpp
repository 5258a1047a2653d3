// The settings file: a round trip, faults named by line and column with the defaults used for what
// is bad, a damaged file kept aside before it is replaced, a folder that cannot be written, and the
// command line's settings, which last for the run and never reach the file.
#include "settings/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell/settings_store.h"
#include "tests/support/files.h"

namespace fs = std::filesystem;

namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { path_ = (dir_ / "orvalis" / "settings.toml").string(); }
  void TearDown() override { Set_Active_Settings(Default_Settings()); }

  void Write(const std::string& file, const std::string& text) {
    fs::create_directories(fs::path(file).parent_path());
    std::ofstream(file, std::ios::binary) << text;
  }
  static std::string Read(const std::string& file) { return test_support::Read_File(file); }

  test_support::TempDir temp_{"orvalis-settings"};
  const fs::path& dir_ = temp_.Path();
  std::string path_;
};

TEST_F(SettingsFileTest, EverySettingSurvivesARoundTripAndAMissingFileGivesTheClassicGame) {
  SettingsFile missing = Load_Settings_File(path_);
  EXPECT_FALSE(missing.found);
  EXPECT_FALSE(missing.faulty);
  EXPECT_TRUE(missing.settings == Default_Settings());
  for (int id = SETTING_COMFORTS; id <= SETTING_LAST_COMFORT; ++id) EXPECT_EQ(missing.settings.value[id], 0);

  Settings s = Default_Settings();
  for (int id = 0; id < SETTING_COUNT; ++id)
    s.value[id] = Next_Setting_Value(static_cast<SettingId>(id), s.value[id], true);
  std::string error;
  ASSERT_TRUE(Save_Settings_File(path_, s, false, &error)) << error;
  SettingsFile back = Load_Settings_File(path_);
  EXPECT_TRUE(back.found);
  EXPECT_FALSE(back.faulty);
  EXPECT_TRUE(back.problems.empty()) << back.problems.front();
  EXPECT_TRUE(back.settings == s);
  EXPECT_NE(Read(path_).find("[sound]\n# All sound on or off.\non = false\n"), std::string::npos)
      << Read(path_);
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path_).parent_path()), fs::directory_iterator()),
            1);
}

TEST_F(SettingsFileTest, FaultsAreNamedByLineAndColumnAndOnlyWhatIsBadFallsBack) {
  Write(path_,
        "[comforts]\nstep_delay = true\nwasd = \"yes\"\n[display]\nscale = 12\n[sound]\neffects_volume = 35\n"
        "volume = 3\n[computer]\nlevel = \"hard\"\n");
  SettingsFile f = Load_Settings_File(path_);
  EXPECT_TRUE(f.faulty);
  ASSERT_EQ(f.problems.size(), 3u);
  EXPECT_EQ(f.problems[0], path_ + ":3:8: comforts.wasd takes true or false; the default false is used");
  EXPECT_EQ(f.problems[1],
            path_ + ":5:9: display.scale takes a whole number from 1 to 8; the default 2 is used");
  EXPECT_EQ(f.problems[2], path_ + ":8:10: unknown setting 'sound.volume', left out");
  Settings want = Default_Settings();
  want.value[SETTING_STEP_DELAY] = 1;
  want.value[SETTING_EFFECTS_VOLUME] = 35;
  want.value[SETTING_COMPUTER_LEVEL] = 2;
  EXPECT_TRUE(f.settings == want);

  Settings over = Default_Settings();
  std::vector<std::string> problems;
  EXPECT_FALSE(Read_Settings_Text("[sound]\nmusic_volume = 101\n", "x", &over, &problems));
  EXPECT_EQ(problems.at(0),
            "x:2:16: sound.music_volume takes a whole number from 0 to 100; the default 50 is used");

  // A flood of faults is told in forty lines, the last counting the rest.
  std::string flood = "[sound]\n";
  for (int i = 0; i < 1000; ++i) flood += "k" + std::to_string(i) + " = 1\n";
  problems.clear();
  EXPECT_FALSE(Read_Settings_Text(flood, "x", &over, &problems));
  ASSERT_EQ(problems.size(), 40u);
  EXPECT_EQ(problems.back(), "x: and 961 more faults");
}

TEST_F(SettingsFileTest, ADamagedFileIsKeptUntilASettingChangesAndThenMovedAsideWhole) {
  // A section never closed: its line is left out, and every setting around it is still read.
  const std::string damaged = "# mine\n[comforts\nall = true\n[display]\nscale = 3\n";
  Write(path_, damaged);
  Write(path_ + ".bad", "an older damaged file\n");
  SettingsFile f = Load_Settings_File(path_);
  EXPECT_TRUE(f.faulty);
  ASSERT_EQ(f.problems.size(), 2u);
  EXPECT_EQ(f.problems[0].rfind(path_ + ":2:10: a [section] name is not closed with ] (", 0), 0u)
      << f.problems[0];
  EXPECT_EQ(f.problems[1], path_ + ":3:7: unknown setting 'all', left out");
  EXPECT_EQ(f.settings.value[SETTING_SCALE], 3);

  // The shell reads it, says what is wrong and leaves it alone until a setting changes.
  Start_Settings(path_, {});
  EXPECT_EQ(Read(path_), damaged);
  Change_Setting(SETTING_BOARD_MARKS, 1);
  Save_Settings();
  EXPECT_EQ(Read(path_ + ".bad"), "an older damaged file\n");
  EXPECT_EQ(Read(path_ + ".bad.2"), damaged);
  SettingsFile now = Load_Settings_File(path_);
  EXPECT_FALSE(now.faulty);
  EXPECT_EQ(now.settings.value[SETTING_BOARD_MARKS], 1);
  EXPECT_EQ(now.settings.value[SETTING_SCALE], 3);  // what could be read is written back, not the default
  // The next change simply replaces the now sound file.
  Change_Setting(SETTING_WASD, 1);
  Save_Settings();
  EXPECT_FALSE(fs::exists(path_ + ".bad.3"));
  EXPECT_EQ(Load_Settings_File(path_).settings.value[SETTING_WASD], 1);
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadOrAFolderThatCannotBeWrittenGivesAMessageAndTheGameGoesOn) {
  fs::create_directories(path_);  // a folder where the file should be
  SettingsFile f = Load_Settings_File(path_);
  EXPECT_TRUE(f.found);
  EXPECT_TRUE(f.faulty);
  ASSERT_EQ(f.problems.size(), 1u);
  EXPECT_EQ(f.problems[0], path_ + ":0:0: it is a folder, not a file; the defaults are used");

  Write((dir_ / "plain").string(), "a file, not a folder\n");
  const std::string inside_a_file = (dir_ / "plain" / "orvalis" / "settings.toml").string();
  std::string error;
  EXPECT_FALSE(Save_Settings_File(inside_a_file, Default_Settings(), false, &error));
  EXPECT_NE(error.find("cannot create the folder"), std::string::npos) << error;

  Start_Settings(inside_a_file, {});
  Change_Setting(SETTING_FEEDBACK, 1);
  Save_Settings();
  EXPECT_EQ(Settings_Status().rfind("Not saved: ", 0), 0u) << Settings_Status();
  EXPECT_TRUE(Comfort_On(SETTING_FEEDBACK));  // the run has it all the same
}

TEST_F(SettingsFileTest, CommandLineSettingsLastForTheRunAndAreNeverWritten) {
  Write(path_, "[display]\nscale = 3\n");
  Start_Settings(path_, {"comforts.all = true", "display.scale = 5", "computer.side = \"both\""});
  EXPECT_EQ(Active_Setting(SETTING_SCALE), 5);
  EXPECT_EQ(Active_Setting(SETTING_COMPUTER_SIDE), 3);
  EXPECT_TRUE(Comfort_On(SETTING_STEP_DELAY));
  EXPECT_TRUE(Comfort_On(SETTING_WASD));

  Change_Setting(SETTING_MUSIC_VOLUME, 20);
  Save_Settings();
  SettingsFile f = Load_Settings_File(path_);
  Settings want = Default_Settings();
  want.value[SETTING_SCALE] = 3;
  want.value[SETTING_MUSIC_VOLUME] = 20;
  EXPECT_TRUE(f.settings == want);
  EXPECT_EQ(Active_Setting(SETTING_SCALE), 5);
}

}  // namespace

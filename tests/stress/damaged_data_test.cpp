// The game on missing and damaged data, in this process through the real Game_Init and main loop:
// each art file in turn missing, cut to half its length and replaced by random bytes, and each
// template file missing or replaced. Every run must start, name the bad file on the debug output,
// play the scripted game to its end and stop with code 0. The sanitized build plays a spread of the
// cases unless ORVALIS_FULL is set; two runs of the game binary itself are in tests/e2e.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/asset_manifest.h"
#include "game/block_types.h"
#include "tests/support/game.h"

namespace {

using namespace test_support;

enum DamageKind { DAMAGE_MISSING, DAMAGE_HALF, DAMAGE_RANDOM };
const char* const kind_names[] = {"missing", "cut to half", "random bytes"};

// The art files in the order start-up loads them.
std::vector<std::string> Art_Files() {
  std::vector<std::string> files;
  for (int r = 0; r < MANIFEST_BOB_COUNT; ++r)
    if (asset_manifest[r].file) files.push_back(asset_manifest[r].file);
  return files;
}

// The block templates "0.txt".."14.txt", their floor layers "0b.txt".."14b.txt", and "10c.txt".
std::vector<std::string> Template_Files() {
  std::vector<std::string> files;
  for (int t = 0; t < BLOCK_TYPE_COUNT; ++t) files.push_back(std::to_string(t) + ".txt");
  for (int t = 0; t < BLOCK_TYPE_COUNT; ++t) files.push_back(std::to_string(t) + "b.txt");
  files.push_back("10c.txt");
  return files;
}

// Every file, or under the sanitizers (which make each run slow) every eighth, starting at a
// different file for each kind of damage so that the kinds together reach far.
std::vector<std::string> Cases(const std::vector<std::string>& files, DamageKind kind) {
#ifdef ORVALIS_SANITIZED_BUILD
  if (std::getenv("ORVALIS_FULL") == nullptr) {
    std::vector<std::string> some;
    for (size_t i = static_cast<size_t>(kind) * 2; i < files.size(); i += 8) some.push_back(files[i]);
    return some;
  }
#endif
  (void)kind;
  return files;
}

// Random bytes of the file's length, never starting as a bitmap does.
std::string Random_Bytes(size_t length, const std::string& seed_text) {
  std::seed_seq seed(seed_text.begin(), seed_text.end());
  std::mt19937 random(seed);
  std::string bytes(std::max<size_t>(length, 64), '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  if (bytes[0] == 'B') bytes[0] = 'b';
  return bytes;
}

void Damage(const fs::path& file, DamageKind kind) {
  const std::string bytes = Read_File(file);
  if (kind == DAMAGE_MISSING) fs::remove(file);
  if (kind == DAMAGE_HALF) Write_File(file, bytes.substr(0, bytes.size() / 2));
  if (kind == DAMAGE_RANDOM) Write_File(file, Random_Bytes(bytes.size(), file.filename().string()));
}

const char* const art_message = "orvalis: cannot load the art file \"";

// Plays the whole scripted game on the data with `file` damaged; returns the run.
GameRun Play_Damaged(const TempDir& dir, const std::string& file, DamageKind kind) {
  Link_Run_Data(dir.Path());
  EXPECT_TRUE(fs::exists(dir.Path() / file)) << file << " is not in " << ORVALIS_RUN_DIR;
  Damage(dir.Path() / file, kind);
  return Run_Game_In_Process(dir.Path(),
                             Read_File(fs::path(ORVALIS_SOURCE_DIR) / "tests/e2e/whole_game.txt"));
}

// The run got through its game to the menu; returns the state dumped at the game's end.
nlohmann::json Expect_Played_Through(const GameRun& run) {
  EXPECT_EQ(run.status, 0) << run.output;
  const auto won = run.Dump("won.json"), menu = run.Dump("menu.json");
  EXPECT_FALSE(won.is_discarded()) << "the run stopped before the end of its game\n" << run.output;
  EXPECT_FALSE(menu.is_discarded()) << run.output;
  if (!menu.is_discarded()) {
    EXPECT_EQ(menu["game_state"], 9);
  }
  return won;
}

class DamagedArt : public ::testing::TestWithParam<DamageKind> {};
class DamagedTemplates : public ::testing::TestWithParam<DamageKind> {};

std::string Kind_Name(const ::testing::TestParamInfo<DamageKind>& info) {
  const char* names[] = {"Missing", "CutToHalf", "RandomBytes"};
  return names[info.param];
}

}  // namespace

TEST(DamagedData, EveryShippedTemplateIsDamagedInTurn) {
  std::set<std::string> shipped, damaged;
  for (const fs::directory_entry& e : fs::directory_iterator(fs::path(ORVALIS_SOURCE_DIR) / "data/templates"))
    if (e.path().extension() == ".txt") shipped.insert(e.path().filename().string());
  for (const std::string& f : Template_Files()) damaged.insert(f);
  EXPECT_EQ(shipped, damaged);
}

// Pictures do not change the rules: the game is won as on intact data, and only this file is named.
TEST_P(DamagedArt, IsNamedAloneAndTheGameIsWon) {
  for (const std::string& file : Cases(Art_Files(), GetParam())) {
    SCOPED_TRACE(file + " " + kind_names[GetParam()]);
    TempDir dir("art");
    const GameRun run = Play_Damaged(dir, file, GetParam());
    const auto won = Expect_Played_Through(run);
    if (!won.is_discarded()) {
      EXPECT_EQ(won["game_state"], 14);
    }
    EXPECT_EQ(Count(run.output, art_message + file + "\""), 1) << run.output;
    EXPECT_EQ(Count(run.output, art_message), 1) << run.output;
  }
}

// Without its template a start block is walled in; the game may not be won, but it must go on.
TEST_P(DamagedTemplates, AreNamedAndTheGameGoesOn) {
  for (const std::string& file : Cases(Template_Files(), GetParam())) {
    SCOPED_TRACE(file + " " + kind_names[GetParam()]);
    TempDir dir("template");
    const GameRun run = Play_Damaged(dir, file, GetParam());
    const auto won = Expect_Played_Through(run);
    if (!won.is_discarded()) {
      EXPECT_TRUE(won["game_state"] == 14 || won["game_state"] == 6);
    }
    EXPECT_GE(Count(run.output, "\"" + file + "\""), 1) << run.output;
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedArt, ::testing::Values(DAMAGE_MISSING, DAMAGE_HALF, DAMAGE_RANDOM),
                         Kind_Name);
INSTANTIATE_TEST_SUITE_P(Kinds, DamagedTemplates, ::testing::Values(DAMAGE_MISSING, DAMAGE_RANDOM),
                         Kind_Name);

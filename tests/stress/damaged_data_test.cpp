// The game on missing and damaged data: each art file in turn missing, cut to half its length and
// replaced by random bytes, and each template file missing or replaced. Every run must start, name
// the bad file on the debug output, play the scripted game to its end and exit 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/asset_manifest.h"
#include "tests/stress/stress_support.h"

namespace {

using namespace stress;

enum DamageKind { DAMAGE_MISSING, DAMAGE_HALF, DAMAGE_RANDOM };

struct Damage {
  std::string file;
  DamageKind kind;
  bool art;
};

void PrintTo(const Damage& d, std::ostream* out) {
  const char* kinds[] = {"missing", "cut to half", "random bytes"};
  *out << d.file << " " << kinds[d.kind];
}

std::string Damage_Name(const ::testing::TestParamInfo<Damage>& info) {
  std::string name = info.param.file;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  const char* kinds[] = {"missing", "half", "random"};
  return name + "_" + kinds[info.param.kind];
}

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
  for (int t = 0; t < 15; ++t) files.push_back(std::to_string(t) + ".txt");
  for (int t = 0; t < 15; ++t) files.push_back(std::to_string(t) + "b.txt");
  files.push_back("10c.txt");
  return files;
}

std::vector<Damage> Art_Damages() {
  std::vector<Damage> d;
  for (const std::string& f : Art_Files())
    for (DamageKind k : {DAMAGE_MISSING, DAMAGE_HALF, DAMAGE_RANDOM}) d.push_back({f, k, true});
  return d;
}

std::vector<Damage> Template_Damages() {
  std::vector<Damage> d;
  for (const std::string& f : Template_Files())
    for (DamageKind k : {DAMAGE_MISSING, DAMAGE_RANDOM}) d.push_back({f, k, false});
  return d;
}

// A copy of the run folder's data (art and templates) in a fresh folder.
fs::path Copy_Of_Data(const std::string& tag) {
  const fs::path dir = Fresh_Dir(tag);
  if (dir.empty()) return dir;
  for (const fs::directory_entry& e : fs::directory_iterator(ORVALIS_RUN_DIR)) {
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".bmp" && ext != ".txt") || e.path().filename() == "d-bug_log.txt")
      continue;
    fs::copy_file(e.path(), dir / e.path().filename());
  }
  return dir;
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

void Apply(const Damage& d, const fs::path& dir) {
  const fs::path file = dir / d.file;
  const std::string bytes = Read_File(file);
  switch (d.kind) {
    case DAMAGE_MISSING:
      fs::remove(file);
      break;
    case DAMAGE_HALF:
      std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() / 2);
      break;
    case DAMAGE_RANDOM:
      std::ofstream(file, std::ios::binary | std::ios::trunc) << Random_Bytes(bytes.size(), d.file);
      break;
  }
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

const char* const art_message = "orvalis: cannot load the art file \"";

class DamagedData : public ::testing::TestWithParam<Damage> {};

}  // namespace

TEST(DataFolder, IntactDataPlaysTheGameToTheResultsQuietly) {
  // The yardstick for the damaged runs: the script wins the game on the data as built.
  const fs::path dir = Copy_Of_Data("intact");
  ASSERT_FALSE(dir.empty());
  for (const std::string& f : Art_Files())
    ASSERT_TRUE(fs::exists(dir / f)) << f << " is not in " << ORVALIS_RUN_DIR;
  const GameRun run = Run_Game(Game_Binary(), dir, Whole_Game_Script());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(Count(run.output, art_message), 0) << run.output;
  const auto won = run.Dump(dir, "won.json"), menu = run.Dump(dir, "menu.json");
  ASSERT_FALSE(won.is_discarded()) << run.output;
  EXPECT_EQ(won["game_state"], 14);
  EXPECT_EQ(won["players"]["2"]["winner"], 1);
  ASSERT_FALSE(menu.is_discarded());
  EXPECT_EQ(menu["game_state"], 9);
  fs::remove_all(dir);
}

TEST(DataFolder, EveryShippedTemplateIsDamagedInTurn) {
  std::set<std::string> shipped, damaged;
  for (const fs::directory_entry& e : fs::directory_iterator(fs::path(ORVALIS_SOURCE_DIR) / "data/templates"))
    if (e.path().extension() == ".txt") shipped.insert(e.path().filename().string());
  for (const std::string& f : Template_Files()) damaged.insert(f);
  EXPECT_EQ(shipped, damaged);
}

TEST_P(DamagedData, StartsNamesTheFilePlaysToTheEndAndExits) {
  const Damage& d = GetParam();
  const fs::path dir = Copy_Of_Data("damaged");
  ASSERT_FALSE(dir.empty());
  ASSERT_TRUE(fs::exists(dir / d.file)) << d.file << " is not in " << ORVALIS_RUN_DIR;
  Apply(d, dir);

  const GameRun run = Run_Game(Game_Binary(), dir, Whole_Game_Script());
  ASSERT_EQ(run.status, 0) << run.output;
  const auto won = run.Dump(dir, "won.json"), menu = run.Dump(dir, "menu.json");
  ASSERT_FALSE(won.is_discarded()) << "the run stopped before the end of its game\n" << run.output;
  ASSERT_FALSE(menu.is_discarded()) << run.output;
  EXPECT_EQ(menu["game_state"], 9);

  const std::string quoted = "\"" + d.file + "\"";
  if (d.art) {
    // Pictures do not change the rules: the game is won as on intact data, and only this file is named.
    EXPECT_EQ(won["game_state"], 14);
    EXPECT_EQ(Count(run.output, art_message + d.file + "\""), 1) << run.output;
    EXPECT_EQ(Count(run.output, art_message), 1) << run.output;
  } else {
    // Without its template a start block is walled in; the game may not be won, but it must go on.
    EXPECT_TRUE(won["game_state"] == 14 || won["game_state"] == 6);
    EXPECT_GE(Count(run.output, quoted), 1) << "the debug output does not name " << quoted << ":\n"
                                            << run.output;
  }
  if (!HasFailure()) fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Art, DamagedData, ::testing::ValuesIn(Art_Damages()), Damage_Name);
INSTANTIATE_TEST_SUITE_P(Templates, DamagedData, ::testing::ValuesIn(Template_Damages()), Damage_Name);

// The whole scripted game (whole_game.txt) played by the game binary: on intact data without a word,
// on data with a file missing and another broken (the rest of that matrix runs in-process under
// tests/stress), and under LeakSanitizer in the sanitized build.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/game.h"

namespace {

using namespace test_support;

const char* const art_message = "orvalis: cannot load the art file \"";

std::string Whole_Game() { return Read_File(fs::path(ORVALIS_SOURCE_DIR) / "tests/e2e/whole_game.txt"); }

// The script's game was played, not cut short: it was won and the run came back to the menu.
void Expect_Played_To_The_End(const GameRun& run) {
  EXPECT_EQ(run.status, 0) << run.output;
  const auto won = run.Dump("won.json"), menu = run.Dump("menu.json");
  ASSERT_FALSE(won.is_discarded()) << "the run stopped before the end of its game\n" << run.output;
  ASSERT_FALSE(menu.is_discarded()) << run.output;
  EXPECT_EQ(won["game_state"], 14);
  EXPECT_EQ(won["players"]["2"]["winner"], 1);
  EXPECT_EQ(menu["game_state"], 9);
}

TEST(WholeGameRuns, IntactDataPlaysTheGameToTheResultsQuietly) {
  TempDir dir("intact");
  Link_Run_Data(dir.Path());
  const GameRun run = Run_Game_Binary(dir.Path(), Whole_Game(), "--data .");
  Expect_Played_To_The_End(run);
  EXPECT_EQ(Count(run.output, art_message), 0) << run.output;
}

TEST(WholeGameRuns, AMissingPictureAndABrokenTemplateAreNamedAndTheGameGoesOn) {
  TempDir dir("damaged");
  Link_Run_Data(dir.Path());
  fs::remove(dir.Path() / "counter_pics.bmp");
  Write_File(dir.Path() / "5.txt", "0,,\n\xff");
  const GameRun run = Run_Game_Binary(dir.Path(), Whole_Game(), "--data .");
  Expect_Played_To_The_End(run);
  EXPECT_EQ(Count(run.output, art_message), 1) << run.output;
  EXPECT_EQ(Count(run.output, art_message + std::string("counter_pics.bmp\"")), 1) << run.output;
  EXPECT_GE(Count(run.output, "\"5.txt\""), 1) << run.output;
}

#ifdef ORVALIS_SANITIZED_BUILD

const char* const leak_options = "ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 LSAN_OPTIONS=exitcode=23";

TEST(Leaks, TheCheckerReportsABlockLeakedOnPurpose) {
  TempDir dir("probe");
  const std::string cmd = std::string(leak_options) + " '" + ORVALIS_PROBE + "' 2>'" + dir.File("err") + "'";
  const int raw = std::system(cmd.c_str());
  const std::string output = Read_File(dir.File("err"));
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 23) << output;
  EXPECT_NE(output.find("detected memory leaks"), std::string::npos) << output;
}

TEST(Leaks, AWholeScriptedGameLeavesNothingBehind) {
  TempDir dir("leaks");
  Link_Run_Data(dir.Path());
  const GameRun run = Run_Game_Binary(dir.Path(), Whole_Game(), "--data .", leak_options);
  Expect_Played_To_The_End(run);
  EXPECT_EQ(run.output.find("LeakSanitizer"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("AddressSanitizer"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("runtime error"), std::string::npos) << run.output;
}

#endif

}  // namespace

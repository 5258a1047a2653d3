// A whole scripted game under LeakSanitizer (the sanitized build's game binary): no leak, no invalid
// read or write. A block leaked on purpose first shows that the checker reports leaks at all here.
#include <gtest/gtest.h>

#include "tests/stress/stress_support.h"

#ifdef ORVALIS_SANITIZED_BUILD

namespace {

using namespace stress;

const char* const leak_options = "ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 LSAN_OPTIONS=exitcode=23";

}  // namespace

TEST(Leaks, TheCheckerReportsABlockLeakedOnPurpose) {
  const fs::path dir = Fresh_Dir("probe");
  ASSERT_FALSE(dir.empty());
  const std::string cmd =
      std::string(leak_options) + " '" + ORVALIS_PROBE + "' 2>'" + (dir / "err").string() + "'";
  const int raw = std::system(cmd.c_str());
  const std::string output = Read_File(dir / "err");
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 23) << output;
  EXPECT_NE(output.find("detected memory leaks"), std::string::npos) << output;
  fs::remove_all(dir);
}

TEST(Leaks, AWholeScriptedGameLeavesNothingBehind) {
  const fs::path dir = Fresh_Dir("leaks");
  ASSERT_FALSE(dir.empty());
  for (const fs::directory_entry& e : fs::directory_iterator(ORVALIS_RUN_DIR)) {
    const std::string ext = e.path().extension().string();
    if (e.is_regular_file() && (ext == ".bmp" || ext == ".txt") && e.path().filename() != "d-bug_log.txt")
      fs::copy_file(e.path(), dir / e.path().filename());
  }
  const GameRun run = Run_Game(Game_Binary(), dir, Whole_Game_Script(), leak_options);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output.find("LeakSanitizer"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("AddressSanitizer"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("runtime error"), std::string::npos) << run.output;
  // The game was played, not cut short: it reached the results and came back to the menu.
  const auto won = run.Dump(dir, "won.json"), menu = run.Dump(dir, "menu.json");
  ASSERT_FALSE(won.is_discarded()) << run.output;
  EXPECT_EQ(won["game_state"], 14);
  ASSERT_FALSE(menu.is_discarded());
  EXPECT_EQ(menu["game_state"], 9);
  if (!HasFailure()) fs::remove_all(dir);
}

#endif

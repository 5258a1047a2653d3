// The shelf of unfinished games: past the last ten the oldest go, but never the run's own game, one
// another copy of the game plays, or a file that cannot be read (that one is set aside and kept); the
// list comes newest first and marks the game another copy plays.
#include "save/shelf.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "game/random.h"
#include "platform/platform.h"
#include "tests/support/files.h"

namespace fs = std::filesystem;

namespace {

TEST(Shelf, PastTheLastTenTheOldestGoButNothingThatMustStay) {
  test_support::TempDir temp("orvalis-shelf");
  const fs::path folder = temp.Path();
  Seed_Random(99);
  New_Game(board);
  const SavedGame game = Capture_Game();
  // Fourteen games a minute apart, game-00 the oldest: the run's own (00), a damaged file (01), one
  // another copy plays (02).
  auto name = [&](int i) {
    return (folder / ("game-" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".json")).string();
  };
  const auto now = fs::file_time_type::clock::now();
  std::string error;
  for (int i = 0; i < 14; ++i) {
    if (i == 1)
      test_support::Write_File(name(i), "{");
    else
      ASSERT_EQ(Write_Saved_Game(name(i), game, &error), 1) << error;
    fs::last_write_time(name(i), now - std::chrono::minutes(14 - i));
  }
  const int other_copy = Platform_Lock_File(Shelf_Lock_Path(name(2)));
  ASSERT_GE(other_copy, 0);

  std::vector<ShelfProblem> problems;
  EXPECT_EQ(Drop_Oldest_Games(folder.string(), name(0), SHELF_KEEP, &problems), 2);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(fs::exists(name(i)), i != 1 && i != 3 && i != 4) << name(i);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].path, name(1));
  EXPECT_EQ(test_support::Read_File(problems[0].kept_as), "{");

  const std::vector<ShelfGame> shelf = Read_Shelf(folder.string(), name(0), &problems);
  ASSERT_EQ(shelf.size(), 11u);  // ten this run may take up, and the one another copy plays
  EXPECT_EQ(shelf.front().path, name(13));
  EXPECT_EQ(shelf.back().path, name(0));
  for (const ShelfGame& g : shelf) EXPECT_EQ(g.elsewhere, g.path == name(2)) << g.path;
  Platform_Unlock_File(other_copy);
}

}  // namespace

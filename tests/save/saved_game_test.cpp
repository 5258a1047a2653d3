// The saved-game file: what is written reads back the same, and every kind of damage is refused with
// a message that says what is wrong, leaving the caller's record untouched.
#include "save/saved_game.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "game/random.h"

namespace fs = std::filesystem;

namespace {

// A game as the model holds it after a fresh start, with a few values off their defaults.
SavedGame Some_Game() {
  Seed_Random(4321);
  item_density = 2;
  New_Game(board);
  item_density = 0;
  SavedGame g = Capture_Game();
  g.item_density = 2;
  g.player1.facing = 2;
  g.player2.keys = 3;
  g.board[2][5].content[1][6] = DOOR_EW_OPEN;
  g.current_player = 1;
  g.computer_player = 3;
  g.computer_level = 2;
  return g;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t p = text.find(from);
  EXPECT_NE(p, std::string::npos) << from;
  if (p != std::string::npos) text.replace(p, from.size(), to);
  return text;
}

TEST(SavedGame, WhatIsWrittenReadsBackTheSame) {
  const SavedGame g = Some_Game();
  EXPECT_GT(g.random_draws, 0u);
  const std::string text = Saved_Game_Text(g);
  SavedGame back;
  std::string error;
  ASSERT_EQ(Parse_Saved_Game(text, &back, &error), 1) << error;
  EXPECT_EQ(Saved_Game_Text(back), text);
  EXPECT_EQ(back.random_seed, 4321u);
  EXPECT_EQ(back.computer_level, 2);

  // Restored into the model, it is captured again as it was, random generator included.
  Seed_Random(1);
  Restore_Game(back);
  SavedGame again = Capture_Game();
  again.computer_player = back.computer_player;
  again.computer_level = back.computer_level;
  EXPECT_EQ(Saved_Game_Text(again), text);
}

TEST(SavedGame, DamagedSavesAreRefusedSayingWhatIsWrong) {
  const std::string good = Saved_Game_Text(Some_Game());
  const struct {
    std::string bytes;
    const char* says;
  } cases[] = {
      {"", "it is empty"},
      {good.substr(0, good.size() / 2), "it is not whole JSON"},
      {good.substr(0, good.size() - 3), "it is not whole JSON"},
      {"[1, 2, 3]", "the file is not an object"},
      {Replace(good, "\"version\": 1", "\"version\": 2"), "format version 2; this game reads version 1"},
      {Replace(good, "orvalis saved game", "something else"), "not an Orvalis saved game"},
      {Replace(good, "\"current_player\": 1", "\"current_player\": 7"),
       "current_player is 7 (it must be 0 or 1)"},
      {Replace(good, "\"item_density\": 2", "\"item_density\": \"2\""), "item_density is not a whole number"},
      {Replace(good, "\"item_density\": 2", "\"item_density\": 2.0"), "item_density is not a whole number"},
      {Replace(good, "\"computer_level\": \"hard\"", "\"computer_level\": \"brutal\""),
       "computer_level is \"brutal\""},
      {Replace(good, "\"draws\": ", "\"draws\": 99999999999"), "random.draws is"},
      {Replace(good, "\"keys\": 3", "\"keys\": 18446744073709551615"),
       "players.2.keys is 18446744073709551615"},
      {Replace(good, "\"facing\": 2", "\"facing\": -1"), "players.1.facing is -1 (it must be 0 to 3)"},
      {Replace(good, "\"square_x\"", "\"square_z\""), "players.1.square_x is missing"},
      {Replace(good, "\"number\": 1,", "\"number\": 2,"), "is on the board twice"},
      {Replace(good, "\"type\": 11", "\"type\": 15"), "board[0][0].type is 15 (it must be 0 to 14)"},
      {Replace(good, "     103", "     99"), "board[2][5].content[1][6] is 99, which no square holds"},
      {Replace(good, "\"board\": [", "\"board\": [[],"), "board has 9 entries (it must have 8)"},
      {"{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + "}", "nests deeper"},
      {std::string(SAVED_GAME_MAX_BYTES + 1, ' '), "far more than a saved game"},
  };
  for (const auto& c : cases) {
    SavedGame out;
    out.item_density = 77;
    std::string error;
    EXPECT_EQ(Parse_Saved_Game(c.bytes, &out, &error), 0) << c.says;
    EXPECT_NE(error.find(c.says), std::string::npos)
        << "expected \"" << c.says << "\", got \"" << error << "\"";
    EXPECT_EQ(out.item_density, 77) << c.says;  // a refused save changes nothing
  }
}

// Each value in range, and still a game the rules never reach.
TEST(SavedGame, GamesTheRulesCannotReachAreRefused) {
  const SavedGame good = Some_Game();
  auto refusal = [](const SavedGame& g) {
    SavedGame out;
    std::string error;
    return Parse_Saved_Game(Saved_Game_Text(g), &out, &error) == 1 ? std::string("accepted") : error;
  };
  EXPECT_EQ(refusal(good), "accepted");
  SavedGame g = good;
  g.board[3][3].number = 0;  // written as a number at or above zero: both ends of the range apply
  EXPECT_EQ(refusal(g), "board[3][3].number is 0 (it must be 1 to 64)");

  g = good;  // player 1 moved onto a wall of its own block
  const SavedBlock& home = g.board[g.player1.block_x][g.player1.block_y];
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if (home.blocked[x][y] == 1 && home.content[x][y] == CONTENT_EMPTY)
        g.player1.square_x = x, g.player1.square_y = y;
  EXPECT_NE(refusal(g).find("player 1 stands inside a wall"), std::string::npos) << refusal(g);

  g = good;
  for (auto& column : g.board)
    for (SavedBlock& b : column) b.treasure_p2 = 0;
  g.player2.treasures = 4;
  EXPECT_EQ(refusal(g), "player 2 can never win: 4 treasures carried and 0 on the board, of the five needed");

  g = good;
  g.player2.winner = 1;
  EXPECT_NE(refusal(g).find("player 2 is marked the winner but has not won"), std::string::npos);

  g = good;  // this game dealt five keys
  for (int x = 0; x < 8; ++x) g.board[x][0].has_key = 1;
  EXPECT_NE(refusal(g).find("keys; this game dealt 5"), std::string::npos) << refusal(g);

  // What the cheat leaves (five carried, five still on the board) is a game the rules reach.
  g = good;
  g.player1.treasures = g.player2.treasures = MAX_TREASURES;
  EXPECT_EQ(refusal(g), "accepted");
}

TEST(SavedGame, FilesAreWrittenWholeAndReadBack) {
  const fs::path dir = fs::temp_directory_path() / ("orvalis-save-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  const std::string path = (dir / "orvalis" / "saved-game.json").string();
  SavedGame g = Some_Game(), back;
  std::string error;
  EXPECT_EQ(Read_Saved_Game(path, &back, &error), 0);
  EXPECT_EQ(error, "there is no such file");
  ASSERT_EQ(Write_Saved_Game(path, g, &error), 1) << error;  // the folder is made
  g.player2.turns = 9;
  ASSERT_EQ(Write_Saved_Game(path, g, &error), 1) << error;  // and the file replaced
  ASSERT_EQ(Read_Saved_Game(path, &back, &error), 1) << error;
  EXPECT_EQ(back.player2.turns, 9);
  int files = 0;
  for (const auto& e : fs::directory_iterator(dir / "orvalis")) files += e.is_regular_file();
  EXPECT_EQ(files, 1);  // no temporary file left behind
  // A folder that cannot be made fails with a message and writes nothing.
  std::ofstream(dir / "plain-file") << "x";
  EXPECT_EQ(Write_Saved_Game((dir / "plain-file" / "saved-game.json").string(), g, &error), 0);
  EXPECT_FALSE(error.empty());
  fs::remove_all(dir);
}

}  // namespace

// The saved-game reader fed arbitrary bytes: it accepts or refuses without fault; a refusal says
// what is wrong; an accepted save holds only values the game can play on, and written back out it
// reads as the same save.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "save/saved_game.h"

namespace {

void Check_Block(const SavedBlock& b) {
  FUZZ_CHECK(b.number >= 1 && b.number <= 64);
  FUZZ_CHECK(b.type >= 0 && b.type < BLOCK_TYPE_COUNT);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      FUZZ_CHECK(b.blocked[x][y] <= 1);
      FUZZ_CHECK(b.content[x][y] >= 0 && b.content[x][y] <= DOOR_NS_CLOSED);
    }
}

void Check_Player(const SavedPlayer& p) {
  FUZZ_CHECK(p.block_x >= 0 && p.block_x < 8 && p.block_y >= 0 && p.block_y < 8);
  FUZZ_CHECK(p.square_x >= 0 && p.square_x < 8 && p.square_y >= 0 && p.square_y < 8);
  FUZZ_CHECK(p.facing >= 0 && p.facing <= 3);
  FUZZ_CHECK(p.treasures >= 0 && p.treasures <= MAX_TREASURES && p.keys >= 0 && p.keys <= MAX_KEYS);
  FUZZ_CHECK(p.actions >= 0 && p.actions <= MAX_ACTIONS && p.turns >= 0 && p.items >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  SavedGame game;
  std::string error;
  if (Parse_Saved_Game(bytes, &game, &error) != 1) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  FUZZ_CHECK(error.empty());
  bool seen[65] = {};
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      Check_Block(game.board[x][y]);
      FUZZ_CHECK(!seen[game.board[x][y].number]);
      seen[game.board[x][y].number] = true;
    }
  Check_Block(game.current_block);
  Check_Player(game.player1);
  Check_Player(game.player2);
  FUZZ_CHECK(game.current_player <= 1 && game.item_density >= 0 && game.item_density <= 2);
  FUZZ_CHECK(game.computer_player >= 0 && game.computer_player <= 3);
  FUZZ_CHECK(game.computer_level >= 0 && game.computer_level <= 2);
  FUZZ_CHECK(game.random_draws <= SAVED_GAME_MAX_DRAWS);
  const std::string written = Saved_Game_Text(game);
  SavedGame again;
  FUZZ_CHECK(Parse_Saved_Game(written, &again, &error) == 1);
  FUZZ_CHECK(Saved_Game_Text(again) == written);
  return 0;
}

// New-game setup: fresh random blocks, the specials, the start blocks and the players,
// with the random draws in the order the rules give, so one seed gives one board.
#include "game/model.h"
#include "game/random.h"

int32_t Items_For_Density(int32_t density) {
  switch (density) {
    case 1:
      return 10;
    case 2:
      return 5;
    default:
      return 20;
  }
}

namespace {

using Placer = void (MazeBlock::*)();

// Puts a special on `count` random blocks that hold none yet; each try draws the column, then the row.
void Place_Specials(Board& b, int32_t count, Placer place) {
  for (int32_t i = 0; i < count; ++i) {
    for (;;) {
      const int bx = Random_Number() % 8;
      const int by = Random_Number() % 8;
      MazeBlock& block = b.blocks[bx][by];
      if (block.special_placed == 1) continue;
      (block.*place)();
      block.special_placed = 1;
      break;
    }
  }
}

void Reset_Player(PlayerState& p, int32_t bx, int32_t by, int32_t actions, int32_t keys) {
  p.block_x = bx;
  p.block_y = by;
  p.square_x = 4;
  p.square_y = 4;
  p.treasures = 0;
  p.turns = 0;
  p.items = 0;
  p.winner = 0;
  p.actions = actions;
  p.keys = keys;
}

}  // namespace

void New_Game(Board& b) {
  new_game_pending = 0;

  int32_t counter = 0;
  for (int by = 0; by < 8; ++by) {
    for (int bx = 0; bx < 8; ++bx) {
      MazeBlock& block = b.blocks[bx][by];
      block.number = ++counter;
      block.special_placed = 0;
      block.locked = 0;
      block.home = 0;
      block.treasure_p2 = 0;
      block.treasure_p1 = 0;
      block.has_token = 0;
      block.has_key = 0;
      block.type = Random_Number() % 15;
      block.Load_Template();
    }
  }

  const int32_t items = Items_For_Density(item_density);
  Place_Specials(b, MAX_TREASURES, &MazeBlock::Place_Treasure_P2);
  Place_Specials(b, MAX_TREASURES, &MazeBlock::Place_Treasure_P1);
  Place_Specials(b, items, &MazeBlock::Place_Token);
  Place_Specials(b, items, &MazeBlock::Place_Key);

  MazeBlock& start2 = b.blocks[0][0];
  start2.type = START_BLOCK_P2;
  start2.Load_Template();
  start2.squares[3][4].content = HOME_MARK;

  MazeBlock& start1 = b.blocks[7][7];
  start1.type = START_BLOCK_P1;
  start1.Load_Template();
  start1.squares[3][4].content = HOME_MARK;

  Reset_Player(player2, 0, 0, 1, 1);
  start2.locked = 0;
  start2.home = 1;

  Reset_Player(player1, 7, 7, 2, 0);
  start1.locked = 0;
  start1.home = 1;

  current_player = 0;
  current_block = b.blocks[0][0];
}

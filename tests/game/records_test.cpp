// The model's records and globals: the codes files rely on, a new block's draw, and the static
// initialisation that builds the board, the players and current_block in order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "game/random.h"
#include "tests/game/support.h"

using namespace orvalis_test;

// The codes saved scripts, state dumps and template files rely on.
static_assert(DIR_UP == 0 && DIR_RIGHT == 1 && DIR_LEFT == 2 && DIR_DOWN == 3);
static_assert(TOKEN == 2 && HOME_MARK == 3 && KEY == 4);
static_assert(DOOR_EW_CLOSED == 101 && DOOR_EW_POST == 102 && DOOR_EW_OPEN == 103);
static_assert(DOOR_NS_OPEN == 105 && DOOR_NS_POST == 106 && DOOR_NS_CLOSED == 107);

TEST(Records, ConstructedBlockDrawsItsTypeAndLoadsItsTemplate) {
  GlobalsGuard guard;
  Seed_Random(99);
  const int expected_type = Random_Number() % 15;
  Seed_Random(99);
  const MazeBlock b;
  EXPECT_EQ(b.type, expected_type);
  MazeBlock reference = Open_Block();
  reference.type = expected_type;
  Seed_Random(99);
  Random_Number();
  reference.Load_Template();
  reference.number = b.number;
  EXPECT_TRUE(Same_Block(b, reference));
  EXPECT_EQ(b.special_placed + b.locked + b.home + b.treasure_p2 + b.treasure_p1, 0);
}

TEST(StaticInitialisation, BoardThenPlayersThenCurrentBlock) {
  // Before the entry point the generator is unseeded (seed 1): the 64 board blocks draw first, in
  // storage order, each loading its template, then current_block.
  const Startup& s = Startup_State();
  GlobalsGuard guard;
  Seed_Random(1);
  auto replay = std::make_unique<Board>();
  const MazeBlock replay_current;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_TRUE(Same_Block(s.board.blocks[x][y], replay->blocks[x][y])) << "block " << x << "," << y;
      EXPECT_EQ(s.board.blocks[x][y].number, 0);
      EXPECT_EQ(s.board.blocks[x][y].has_token + s.board.blocks[x][y].has_key, 0);
    }
  EXPECT_TRUE(Same_Block(s.current_block, replay_current));
  for (const PlayerState* p : {&s.player1, &s.player2}) {
    EXPECT_EQ(p->square_x, 4);
    EXPECT_EQ(p->square_y, 4);
    EXPECT_EQ(p->block_number, 4);
    EXPECT_EQ(p->actions, 1);
  }
  EXPECT_EQ(s.current_player, 0);
  EXPECT_EQ(s.item_density, 0);
  EXPECT_EQ(s.new_game_pending, 1);
}

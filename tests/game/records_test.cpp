// The model's records and globals: field order and widths, initial values, whole-record copies,
// and the static initialisation that builds the board, the players and current_block in order.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "tests/game/support.h"

using namespace orvalis_test;

// The records' field widths.
static_assert(std::is_same_v<decltype(Square::blocked), uint8_t>);
static_assert(std::is_same_v<decltype(Square::content), int32_t>);
static_assert(offsetof(Square, blocked) < offsetof(Square, content));

static_assert(std::is_same_v<decltype(MazeBlock::exit_north), uint8_t>);
static_assert(std::is_same_v<decltype(MazeBlock::has_key), uint8_t>);
static_assert(std::is_same_v<decltype(MazeBlock::number), int32_t>);
static_assert(std::is_same_v<decltype(MazeBlock::type), int32_t>);
static_assert(offsetof(MazeBlock, squares) < offsetof(MazeBlock, exit_north));
static_assert(offsetof(MazeBlock, exit_north) < offsetof(MazeBlock, exit_east));
static_assert(offsetof(MazeBlock, exit_east) < offsetof(MazeBlock, exit_south));
static_assert(offsetof(MazeBlock, exit_south) < offsetof(MazeBlock, exit_west));
static_assert(offsetof(MazeBlock, exit_west) < offsetof(MazeBlock, special_placed));
static_assert(offsetof(MazeBlock, special_placed) < offsetof(MazeBlock, locked));
static_assert(offsetof(MazeBlock, locked) < offsetof(MazeBlock, home));
static_assert(offsetof(MazeBlock, home) < offsetof(MazeBlock, treasure_p2));
static_assert(offsetof(MazeBlock, treasure_p2) < offsetof(MazeBlock, treasure_p1));
static_assert(offsetof(MazeBlock, treasure_p1) < offsetof(MazeBlock, has_token));
static_assert(offsetof(MazeBlock, has_token) < offsetof(MazeBlock, has_key));
static_assert(offsetof(MazeBlock, has_key) < offsetof(MazeBlock, number));
static_assert(offsetof(MazeBlock, number) < offsetof(MazeBlock, type));
static_assert(sizeof(MazeBlock::squares) == 64 * sizeof(Square));

static_assert(std::is_same_v<decltype(PlayerState::winner), uint8_t>);
static_assert(offsetof(PlayerState, winner) < offsetof(PlayerState, treasures));
static_assert(offsetof(PlayerState, treasures) < offsetof(PlayerState, turns));
static_assert(offsetof(PlayerState, turns) < offsetof(PlayerState, items));
static_assert(offsetof(PlayerState, items) < offsetof(PlayerState, block_x));
static_assert(offsetof(PlayerState, block_x) < offsetof(PlayerState, block_y));
static_assert(offsetof(PlayerState, block_y) < offsetof(PlayerState, square_x));
static_assert(offsetof(PlayerState, square_x) < offsetof(PlayerState, square_y));
static_assert(offsetof(PlayerState, square_y) < offsetof(PlayerState, block_number));
static_assert(offsetof(PlayerState, block_number) < offsetof(PlayerState, actions));
static_assert(offsetof(PlayerState, actions) < offsetof(PlayerState, keys));
static_assert(offsetof(PlayerState, keys) < offsetof(PlayerState, sprite));
static_assert(std::is_same_v<decltype(current_player), uint8_t>);
static_assert(std::is_same_v<decltype(item_density), int32_t>);
static_assert(std::is_same_v<decltype(new_game_pending), uint8_t>);
static_assert(DIR_UP == 0 && DIR_RIGHT == 1 && DIR_LEFT == 2 && DIR_DOWN == 3);
static_assert(TOKEN == 2 && HOME_MARK == 3 && KEY == 4);
static_assert(DOOR_EW_CLOSED == 101 && DOOR_EW_POST == 102 && DOOR_EW_OPEN == 103);
static_assert(DOOR_NS_OPEN == 105 && DOOR_NS_POST == 106 && DOOR_NS_CLOSED == 107);

TEST(Records, NewSquareIsOpenAndEmpty) {
  const Square s;
  EXPECT_EQ(s.blocked, 0);
  EXPECT_EQ(s.content, 0);
}

TEST(Records, NewPlayerStandsOnFourFourOfBlockZero) {
  const PlayerState p;
  EXPECT_EQ(p.winner, 0);
  EXPECT_EQ(p.treasures, 0);
  EXPECT_EQ(p.turns, 0);
  EXPECT_EQ(p.items, 0);
  EXPECT_EQ(p.block_x, 0);
  EXPECT_EQ(p.block_y, 0);
  EXPECT_EQ(p.square_x, 4);
  EXPECT_EQ(p.square_y, 4);
  EXPECT_EQ(p.block_number, 4);
  EXPECT_EQ(p.actions, 1);
  EXPECT_EQ(p.keys, 0);
  for (auto* f : p.sprite.frames) {
    EXPECT_EQ(f, nullptr);
  }
  for (auto* s : p.sprite.sequences) {
    EXPECT_EQ(s, nullptr);
  }
}

TEST(Records, ConstructedBlockDrawsItsTypeAndLoadsItsTemplate) {
  GlobalsGuard guard;
  std::srand(99);
  const int expected_type = std::rand() % 15;
  std::srand(99);
  const MazeBlock b;
  EXPECT_EQ(b.type, expected_type);
  MazeBlock reference = Open_Block();
  reference.type = expected_type;
  std::srand(99);
  std::rand();
  reference.Load_Template();
  reference.number = b.number;
  EXPECT_TRUE(Same_Block(b, reference));
  EXPECT_EQ(b.special_placed + b.locked + b.home + b.treasure_p2 + b.treasure_p1, 0);
}

TEST(Records, BlockCopyIsIndependent) {
  MazeBlock a = Open_Block();
  a.number = 12;
  a.type = 8;
  a.locked = 1;
  a.has_key = 1;
  a.squares[2][3] = Square{1, 107};
  const MazeBlock copy = a;
  a.squares[2][3].content = 105;
  a.locked = 0;
  a.number = 13;
  EXPECT_EQ(copy.squares[2][3].content, 107);
  EXPECT_EQ(copy.squares[2][3].blocked, 1);
  EXPECT_EQ(copy.locked, 1);
  EXPECT_EQ(copy.has_key, 1);
  EXPECT_EQ(copy.number, 12);
  EXPECT_EQ(copy.type, 8);
}

TEST(Records, PlayerCopySharesTheSpriteFrames) {
  PlayerState p;
  Surface* fake = reinterpret_cast<Surface*>(&p);  // never dereferenced
  p.sprite.frames[2] = fake;
  PlayerState q = p;
  q.keys = 3;
  EXPECT_EQ(q.sprite.frames[2], fake);
  EXPECT_EQ(p.keys, 0);
}

TEST(StaticInitialisation, BoardThenPlayersThenCurrentBlock) {
  // Before the entry point the generator is unseeded (seed 1): the 64 board blocks draw first, in
  // storage order, each loading its template, then current_block.
  const Startup& s = Startup_State();
  GlobalsGuard guard;
  std::srand(1);
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

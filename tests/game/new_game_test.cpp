// New-game setup, for every item_density: block numbers, the order of random draws, the
// specials, the start blocks, the players, and a second game in the same run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "game/random.h"
#include "tests/game/support.h"

using namespace orvalis_test;

namespace {

int Z_Cells(int type) {
  const std::string text = Read_Text(std::to_string(type) + ".txt");
  int n = 0;
  for (std::size_t i = 0; i < text.size() && i < 72; ++i) n += text[i] == 'z';
  return n;
}

struct Placed {
  int type[8][8];
  char special[8][8];  // 0, '2' treasure p2, '1' treasure p1, 't' token, 'k' key
};

// Replays the new game's draws with nothing but rand and the template files' 'z' counts.
Placed Replay(unsigned seed, int density) {
  Placed p{};
  Seed_Random(seed);
  for (int by = 0; by < 8; ++by)
    for (int bx = 0; bx < 8; ++bx) {
      p.type[bx][by] = Random_Number() % 15;
      for (int z = Z_Cells(p.type[bx][by]); z > 0; --z) Random_Number();
    }
  const int n = density == 1 ? 10 : density == 2 ? 5 : 20;
  auto place = [&](int count, char what) {
    for (int i = 0; i < count; ++i)
      for (;;) {
        const int bx = Random_Number() % 8;
        const int by = Random_Number() % 8;
        if (p.special[bx][by]) continue;
        p.special[bx][by] = what;
        break;
      }
  };
  place(5, '2');
  place(5, '1');
  place(n, 't');
  place(n, 'k');
  for (int z = Z_Cells(11) + Z_Cells(13); z > 0; --z) Random_Number();
  return p;
}

class NewGameByDensity : public testing::TestWithParam<int> {};

}  // namespace

TEST_P(NewGameByDensity, FollowsTheRandomDrawsInOrder) {
  GlobalsGuard guard;
  const int density = GetParam();
  for (unsigned seed : {1u, 77u, 2024u}) {
    const Placed expected = Replay(seed, density);
    const int next_draw = Random_Number();
    item_density = density;
    Seed_Random(seed);
    New_Game(board);
    EXPECT_EQ(Random_Number(), next_draw) << "New_Game made a different number of draws";
    for (int bx = 0; bx < 8; ++bx)
      for (int by = 0; by < 8; ++by) {
        const MazeBlock& b = board.blocks[bx][by];
        const bool start = (bx == 0 && by == 0) || (bx == 7 && by == 7);
        if (!start) {
          EXPECT_EQ(b.type, expected.type[bx][by]) << bx << "," << by;
        }
        const char s = expected.special[bx][by];
        EXPECT_EQ(b.special_placed, s != 0 ? 1 : 0);
        EXPECT_EQ(b.treasure_p2, s == '2' ? 1 : 0);
        EXPECT_EQ(b.treasure_p1, s == '1' ? 1 : 0);
        EXPECT_EQ(b.has_token, s == 't' ? 1 : 0);
        EXPECT_EQ(b.has_key, s == 'k' ? 1 : 0);
        if (!start) {
          EXPECT_EQ(b.locked, (s == '1' || s == '2') ? 1 : 0);
        }
      }
  }
}

TEST_P(NewGameByDensity, Invariants) {
  GlobalsGuard guard;
  const int density = GetParam();
  const int n = Items_For_Density(density);
  EXPECT_EQ(n, density == 0 ? 20 : density == 1 ? 10 : 5);
  for (unsigned seed = 1; seed <= 40; ++seed) {
    item_density = density;
    new_game_pending = 1;
    Seed_Random(seed);
    New_Game(board);
    EXPECT_EQ(new_game_pending, 0);
    int specials = 0, t2 = 0, t1 = 0, tokens = 0, keys = 0;
    for (int by = 0; by < 8; ++by)
      for (int bx = 0; bx < 8; ++bx) {
        const MazeBlock& b = board.blocks[bx][by];
        EXPECT_EQ(b.number, by * 8 + bx + 1);
        EXPECT_GE(b.type, 0);
        EXPECT_LE(b.type, 14);
        EXPECT_LE(b.treasure_p2 + b.treasure_p1 + b.has_token + b.has_key, 1) << "two specials on one block";
        specials += b.special_placed;
        t2 += b.treasure_p2;
        t1 += b.treasure_p1;
        tokens += b.has_token;
        keys += b.has_key;
        if (b.home) continue;
        EXPECT_EQ(b.locked, b.treasure_p1 | b.treasure_p2);
        if (b.has_token) {
          EXPECT_EQ(b.squares[4][4].content, TOKEN);
        }
        if (b.has_key) {
          EXPECT_EQ(b.squares[4][4].content, KEY);
        }
        if (!b.has_token && !b.has_key) {
          EXPECT_NE(b.squares[4][4].content, TOKEN);
        }
      }
    // Counted as placed; a special on a start block keeps its flag and its mark.
    EXPECT_EQ(specials, 10 + 2 * n) << seed;
    EXPECT_EQ(t2, 5);
    EXPECT_EQ(t1, 5);
    EXPECT_EQ(tokens, n);
    EXPECT_EQ(keys, n);

    const MazeBlock& s2 = board.blocks[0][0];
    const MazeBlock& s1 = board.blocks[7][7];
    EXPECT_EQ(s2.type, 11);
    EXPECT_EQ(s1.type, 13);
    for (const MazeBlock* s : {&s2, &s1}) {
      EXPECT_EQ(s->home, 1);
      EXPECT_EQ(s->locked, 0);
      EXPECT_EQ(s->squares[3][4].content, HOME_MARK);
      EXPECT_EQ(s->squares[4][4].content, 0) << "a token or key on a start block is wiped";
    }
    EXPECT_EQ(s2.squares[4][6].content, DOOR_NS_CLOSED);
    EXPECT_EQ(s1.squares[4][1].content, DOOR_NS_CLOSED);
    int homes = 0;
    for (auto& col : board.blocks)
      for (const MazeBlock& b : col) homes += b.home;
    EXPECT_EQ(homes, 2);

    EXPECT_EQ(player2.block_x, 0);
    EXPECT_EQ(player2.block_y, 0);
    EXPECT_EQ(player1.block_x, 7);
    EXPECT_EQ(player1.block_y, 7);
    for (const PlayerState* p : {&player1, &player2}) {
      EXPECT_EQ(p->square_x, 4);
      EXPECT_EQ(p->square_y, 4);
      EXPECT_EQ(p->treasures, 0);
      EXPECT_EQ(p->turns, 0);
      EXPECT_EQ(p->items, 0);
      EXPECT_EQ(p->winner, 0);
    }
    EXPECT_EQ(player2.actions, 1);
    EXPECT_EQ(player2.keys, 1);
    EXPECT_EQ(player1.actions, 2);
    EXPECT_EQ(player1.keys, 0);
    EXPECT_EQ(current_player, 0);
    EXPECT_TRUE(Same_Block(current_block, board.blocks[0][0]));
  }
}

INSTANTIATE_TEST_SUITE_P(ItemDensity, NewGameByDensity, testing::Values(0, 1, 2));

TEST(NewGame, SameSeedSameBoard) {
  GlobalsGuard guard;
  Seed_Random(31337);
  New_Game(board);
  auto first = std::make_unique<Board>(board);
  Seed_Random(31337);
  New_Game(board);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_TRUE(Same_Block(first->blocks[x][y], board.blocks[x][y]));
    }
}

TEST(NewGame, StartBlockKeepsATreasureThatLandedOnIt) {
  GlobalsGuard guard;
  bool treasure = false, item = false;
  for (unsigned seed = 1; seed < 2000 && !(treasure && item); ++seed) {
    Seed_Random(seed);
    New_Game(board);
    const MazeBlock& s = board.blocks[0][0];
    if (s.treasure_p1 || s.treasure_p2) {
      treasure = true;
      EXPECT_EQ(s.locked, 0);
      EXPECT_EQ(s.special_placed, 1);
    }
    if (s.has_token || s.has_key) {
      item = true;
      EXPECT_EQ(s.squares[4][4].content, 0);
      EXPECT_EQ(s.special_placed, 1);
    }
  }
  EXPECT_TRUE(treasure);
  EXPECT_TRUE(item);
}

TEST(NewGame, SecondGameLeavesNothingOver) {
  GlobalsGuard guard;
  item_density = 0;
  Seed_Random(5);
  New_Game(board);
  // The first game leaves every flag a block can carry set, and the players played on.
  for (auto& col : board.blocks)
    for (MazeBlock& b : col) {
      b.locked = b.home = b.special_placed = 1;
      b.treasure_p1 = b.treasure_p2 = b.has_token = b.has_key = 1;
    }
  player2.treasures = 4;
  player2.keys = 3;
  player1.turns = 9;
  player1.winner = 1;
  current_player = 1;
  item_density = 2;
  Seed_Random(6);
  New_Game(board);
  int specials = 0, tokens = 0, keys = 0, treasures = 0, marks = 0;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      const MazeBlock& b = board.blocks[x][y];
      const bool start = (x == 0 && y == 0) || (x == 7 && y == 7);
      specials += b.special_placed;
      tokens += b.has_token;
      keys += b.has_key;
      treasures += b.treasure_p1 + b.treasure_p2;
      EXPECT_EQ(b.home, start ? 1 : 0) << x << "," << y;
      EXPECT_EQ(b.locked, start ? 0 : b.treasure_p1 | b.treasure_p2) << x << "," << y;
      for (auto& c : b.squares)
        for (const Square& q : c) marks += q.content == HOME_MARK;
    }
  EXPECT_EQ(specials, 20);
  EXPECT_EQ(tokens, 5);
  EXPECT_EQ(keys, 5);
  EXPECT_EQ(treasures, 10);
  EXPECT_EQ(marks, 2);
  EXPECT_EQ(player2.treasures, 0);
  EXPECT_EQ(player2.keys, 1);
  EXPECT_EQ(player1.turns, 0);
  EXPECT_EQ(player1.winner, 0);
  EXPECT_EQ(current_player, 0);
}

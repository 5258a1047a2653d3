// Reachability: through doors, into locked blocks with and without keys, across block edges by the
// neighbour's facing exit only, never across the board's edge; the mask form and the square search
// agreeing with each other and with the step rule on played boards; and the walk's steps, carried out
// by the playing input's move, arriving.
#include "game/reach.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "game/random.h"
#include "tests/game/support.h"

using namespace orvalis_test;

namespace {

class Reaching : public testing::Test {
 protected:
  void SetUp() override {
    Fill_Open_Board(board);
    reach_ = std::make_unique<Reach>();
    region_ = std::make_unique<ReachRegion>();
  }

  static PlayerState At(int bx, int by, int sx, int sy, int keys = 0) {
    PlayerState p;
    p.block_x = bx;
    p.block_y = by;
    p.square_x = sx;
    p.square_y = sy;
    p.keys = keys;
    return p;
  }
  // Block (3,3) gets a wall along row 4 with a north-south door, post (3,4) and closed leaf (4,4),
  // and opens only to the south: its upper room is entered through the door alone.
  static void Build_Room(bool locked) {
    MazeBlock& b = board.blocks[3][3];
    for (int x = 0; x < 8; ++x) b.squares[x][4] = Square{1, 0};
    b.squares[3][4].content = DOOR_NS_POST;
    b.squares[4][4].content = DOOR_NS_CLOSED;
    b.exit_north = b.exit_east = b.exit_west = 0;
    b.locked = locked ? 1 : 0;
  }
  int8_t Keys_To(int bx, int by, int sx, int sy) const { return reach_->keys[Reach_Index(bx, by, sx, sy)]; }
  bool In_Region(int bx, int by, int sx, int sy) const {
    return (region_->squares[bx][by] & Region_Bit(sx, sy)) != 0;
  }

  // Carries the walk's steps out as the playing input does, for player 2 on the global board.
  static bool Walk_And_Arrive(PlayerState p, int bx, int by, int sx, int sy, std::vector<int32_t>& steps) {
    if (!Walk_Steps(board, p, false, bx, by, sx, sy, steps)) return false;
    player2 = p;
    current_player = 0;
    for (const int32_t d : steps) Move(d);
    return player2.block_x == bx && player2.block_y == by && player2.square_x == sx && player2.square_y == sy;
  }

  // The squares the game's own step rule walks the player to without a key, on a copy of the board:
  // every step tried from every square found, a step that opens a door taken again to go through.
  static std::vector<bool> Stepped_Without_Keys(const PlayerState& from) {
    std::vector<bool> found(REACH_SQUARES, false);
    auto scratch = std::make_unique<Board>(board);
    std::vector<int> todo{Reach_Index(from.block_x, from.block_y, from.square_x, from.square_y)};
    found[todo[0]] = true;
    while (!todo.empty()) {
      const int s = todo.back();
      todo.pop_back();
      for (int32_t d = 0; d < 4; ++d) {
        PlayerState p = At(Reach_Block_X(s), Reach_Block_Y(s), Reach_Square_X(s), Reach_Square_Y(s));
        p.sprite.current_frame = d;
        for (int tries = 0; tries < 2; ++tries) {
          p = Step_Player(p, *scratch);
          const int t = Reach_Index(p.block_x, p.block_y, p.square_x, p.square_y);
          if (t == s) continue;
          if (!found[t]) todo.push_back(t);
          found[t] = true;
          break;
        }
      }
    }
    return found;
  }

  GlobalsGuard guard_;
  std::unique_ptr<Reach> reach_;
  std::unique_ptr<ReachRegion> region_;
};

}  // namespace

TEST_F(Reaching, DoorsOpenOnTheWayAndLockedOnesTakeAKey) {
  // Unlocked: the room costs nothing, and the walk steps twice into the door (open, then enter).
  Build_Room(false);
  const PlayerState outside = At(3, 4, 4, 4);
  Compute_Reach(board, outside, *reach_);
  EXPECT_EQ(Keys_To(3, 3, 4, 2), 0);
  std::vector<int32_t> steps;
  ASSERT_TRUE(Walk_And_Arrive(outside, 3, 3, 4, 2, steps));
  EXPECT_EQ(board.blocks[3][3].squares[4][4].content, DOOR_NS_OPEN);
  int ups_into_door = 0;
  for (size_t i = 0; i + 1 < steps.size(); ++i) ups_into_door += steps[i] == DIR_UP && steps[i + 1] == DIR_UP;
  EXPECT_GE(ups_into_door, 1);

  // Locked, no key anywhere: the room is out of reach in both forms, and the walk refuses.
  Fill_Open_Board(board);
  Build_Room(true);
  Compute_Reach(board, outside, *reach_);
  Compute_Region(board, outside, *region_);
  EXPECT_EQ(Keys_To(3, 3, 4, 2), REACH_NONE);
  EXPECT_FALSE(In_Region(3, 3, 4, 2));
  EXPECT_TRUE(In_Region(3, 3, 4, 6));  // the part below the wall is open
  EXPECT_FALSE(Walk_Steps(board, outside, false, 3, 3, 4, 2, steps));
  EXPECT_TRUE(steps.empty());

  // A key held: the room costs one.
  Compute_Reach(board, At(3, 4, 4, 4, 1), *reach_);
  EXPECT_EQ(Keys_To(3, 3, 4, 2), 1);
  EXPECT_EQ(Keys_To(3, 3, 4, 6), 0);

  // A key lying elsewhere: counted as spendable; the walk fetches it first, spends it and unlocks.
  board.blocks[6][6].Place_Key();
  Compute_Reach(board, outside, *reach_);
  Compute_Region(board, outside, *region_);
  EXPECT_EQ(reach_->keys_available, 1);
  EXPECT_EQ(region_->keys_available, 1);
  EXPECT_EQ(Keys_To(3, 3, 4, 2), 1);
  EXPECT_EQ(reach_->blocks[3][3], 0);
  ASSERT_TRUE(Walk_And_Arrive(outside, 3, 3, 4, 2, steps));
  EXPECT_EQ(board.blocks[6][6].squares[4][4].content, CONTENT_EMPTY);
  EXPECT_EQ(board.blocks[3][3].locked, 0);
  EXPECT_EQ(player2.keys, 0);
}

TEST_F(Reaching, CrossingNeedsOnlyTheNeighboursExitAndNeverWraps) {
  // Every block shut (no exits, every square a wall) but two: block (2,5) with no east exit and the
  // player on its east edge, and block (3,5) open to the west with a wall on the landing square.
  for (auto& column : board.blocks)
    for (MazeBlock& b : column) {
      b.exit_north = b.exit_east = b.exit_south = b.exit_west = 0;
      for (auto& squares : b.squares)
        for (Square& s : squares) s = Square{1, 0};
    }
  board.blocks[2][5].squares[7][3] = Square{};
  board.blocks[3][5].exit_west = 1;
  board.blocks[3][5].squares[1][3] = Square{};
  Compute_Reach(board, At(2, 5, 7, 3), *reach_);
  Compute_Region(board, At(2, 5, 7, 3), *region_);
  EXPECT_EQ(Keys_To(3, 5, 0, 3), 0);  // landed on a wall square
  EXPECT_EQ(Keys_To(3, 5, 1, 3), 0);
  EXPECT_EQ(reach_->count, 3);
  EXPECT_TRUE(In_Region(3, 5, 1, 3));
  // Nothing leads back: block (2,5) has no east exit, and the wall square is left, never entered.
  Compute_Reach(board, At(3, 5, 0, 3), *reach_);
  EXPECT_EQ(reach_->count, 2);
  Compute_Reach(board, At(3, 5, 1, 3), *reach_);
  EXPECT_EQ(reach_->count, 1);

  // The board's edge: a player on the west edge of column 0 reaches nothing in column 7, even where
  // that block opens to the east.
  board.blocks[0][2].squares[0][4] = Square{};
  board.blocks[0][2].exit_west = 1;
  board.blocks[7][2].exit_east = 1;
  board.blocks[7][2].squares[7][4] = Square{};
  Compute_Reach(board, At(0, 2, 0, 4), *reach_);
  Compute_Region(board, At(0, 2, 0, 4), *region_);
  EXPECT_EQ(reach_->count, 1);
  EXPECT_EQ(region_->blocks[7][2], REACH_NONE);
  // A player off the board reaches nothing and nothing is read outside it.
  Compute_Reach(board, At(8, 2, 0, 4), *reach_);
  Compute_Region(board, At(-1, 0, 0, 0), *region_);
  EXPECT_EQ(reach_->count, 0);
  EXPECT_EQ(region_->blocks[0][0], REACH_NONE);
}

TEST_F(Reaching, MasksAgreeWithTheSquareSearchAndWalksArriveOnPlayedBoards) {
  // Boards from New_Game, then shifted, turned and walked on; players on every kind of open square.
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    Seed_Random(seed);
    item_density = static_cast<int32_t>(seed % 3);
    New_Game(board);
    for (int round = 0; round < 30; ++round) {
      switch (Random_Number() % 3) {
        case 0:
          Shift_Column(1 + Random_Number() % 8, static_cast<uint8_t>(Random_Number() % 2), board);
          break;
        case 1:
          Shift_Row(1 + Random_Number() % 8, static_cast<uint8_t>(Random_Number() % 2), board);
          break;
        default:
          board.blocks[Random_Number() % 8][Random_Number() % 8].Rotate();
      }
      PlayerState p = At(Random_Number() % 8, Random_Number() % 8, Random_Number() % 8, Random_Number() % 8,
                         Random_Number() % 3);
      const Square& under = board.blocks[p.block_x][p.block_y].squares[p.square_x][p.square_y];
      if (under.blocked != 0 || under.content >= 100) continue;  // players stand on open squares
      Compute_Reach(board, p, *reach_);
      Compute_Region(board, p, *region_);
      ASSERT_EQ(reach_->keys_available, region_->keys_available) << seed << " " << round;
      // Both against the step rule itself: what no key is spent on is exactly what steps reach.
      const std::vector<bool> stepped = Stepped_Without_Keys(p);
      for (int i = 0; i < REACH_SQUARES; ++i) {
        const int bx = Reach_Block_X(i), by = Reach_Block_Y(i), sx = Reach_Square_X(i),
                  sy = Reach_Square_Y(i);
        ASSERT_EQ(reach_->keys[i] != REACH_NONE, In_Region(bx, by, sx, sy))
            << seed << " " << round << " " << i;
        ASSERT_EQ(reach_->keys[i] == 0, (region_->free_squares[bx][by] & Region_Bit(sx, sy)) != 0);
        ASSERT_EQ(reach_->keys[i] == 0, stepped[i]) << seed << " " << round << " " << i;
      }
      // A reachable square picked at random: the walk gets there through the real moves.
      const int target = reach_->order[Random_Number() % reach_->count];
      std::vector<int32_t> steps;
      const Board before = board;
      ASSERT_TRUE(Walk_And_Arrive(p, Reach_Block_X(target), Reach_Block_Y(target), Reach_Square_X(target),
                                  Reach_Square_Y(target), steps))
          << seed << " " << round;
      board = before;
    }
  }
}

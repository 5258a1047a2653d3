// Helpers shared by the game-model tests, and the test program's entry point, which records the
// globals as static initialisation built them before any test changes them.
#include "tests/game/support.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/files.h"

namespace orvalis_test {

namespace {
Startup* startup = nullptr;

void Save(Startup& s) {
  s.board = board;
  s.player1 = player1;
  s.player2 = player2;
  s.current_block = current_block;
  s.current_player = current_player;
  s.item_density = item_density;
  s.new_game_pending = new_game_pending;
}
void Restore(const Startup& s) {
  board = s.board;
  player1 = s.player1;
  player2 = s.player2;
  current_block = s.current_block;
  current_player = s.current_player;
  item_density = s.item_density;
  new_game_pending = s.new_game_pending;
}
}  // namespace

const Startup& Startup_State() { return *startup; }

// Startup holds MazeBlocks, whose constructor draws; it is only ever made by copying.
GlobalsGuard::GlobalsGuard() : saved_(static_cast<Startup*>(::operator new(sizeof(Startup)))) {
  new (saved_) Startup(*startup);
  Save(*saved_);
}
GlobalsGuard::~GlobalsGuard() {
  Restore(*saved_);
  saved_->~Startup();
  ::operator delete(saved_);
}

MazeBlock Open_Block() {
  MazeBlock b = current_block;
  for (auto& column : b.squares)
    for (Square& s : column) s = Square{};
  b.exit_north = b.exit_east = b.exit_south = b.exit_west = 1;
  b.special_placed = b.locked = b.home = b.treasure_p2 = b.treasure_p1 = b.has_token = b.has_key = 0;
  b.number = 0;
  b.type = 0;
  return b;
}

void Fill_Open_Board(Board& b) {
  const MazeBlock open = Open_Block();
  for (int by = 0; by < 8; ++by)
    for (int bx = 0; bx < 8; ++bx) {
      b.blocks[bx][by] = open;
      b.blocks[bx][by].number = by * 8 + bx + 1;
    }
}

std::string Write_Temp_File(const std::string& name, const std::string& bytes) {
  static test_support::TempDir dir("game");
  test_support::Write_File(dir.Path() / name, bytes);
  return dir.File(name);
}

}  // namespace orvalis_test

int main(int argc, char** argv) {
  // Copy construction only: a default-constructed Startup would construct blocks and draw.
  alignas(orvalis_test::Startup) static unsigned char storage[sizeof(orvalis_test::Startup)];
  orvalis_test::Startup* s = reinterpret_cast<orvalis_test::Startup*>(storage);
  std::memset(storage, 0, sizeof storage);
  orvalis_test::Save(*s);
  orvalis_test::startup = s;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

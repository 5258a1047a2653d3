// Helpers shared by the game-model tests: snapshots of the globals, blocks drawn by hand, the
// shipped template text, and (from the planner) the frame steps the playing screen runs around the model.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "game/model.h"
#include "tests/game/planner.h"
#include "tests/support/files.h"

namespace orvalis_test {

// The model's globals as static initialisation left them (taken in main, before any test runs).
struct Startup {
  Board board;
  PlayerState player1, player2;
  MazeBlock current_block;
  uint8_t current_player;
  int32_t item_density;
  uint8_t new_game_pending;
};
const Startup& Startup_State();

// Saves every model global and puts it back when the test ends, so tests do not leak into others
// when the whole program runs in one process.
class GlobalsGuard {
 public:
  GlobalsGuard();
  ~GlobalsGuard();
  GlobalsGuard(const GlobalsGuard&) = delete;
  GlobalsGuard& operator=(const GlobalsGuard&) = delete;

 private:
  Startup* saved_;
};

// A block with every square open and empty, all exits, no flags, number 0, type 0. Made by copying
// the global current_block so no random draw is made.
MazeBlock Open_Block();

// A board of open blocks numbered 1..64 row by row, all exits.
void Fill_Open_Board(Board& b);

// The shipped file's text (from the run folder the tests run in); empty when missing.
inline std::string Read_Text(const std::string& name) { return test_support::Read_File(name); }

// A file in the program's temporary folder holding `bytes`; returns its path.
std::string Write_Temp_File(const std::string& name, const std::string& bytes);

inline bool Same_Block(const MazeBlock& a, const MazeBlock& b) {
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if (a.squares[x][y].blocked != b.squares[x][y].blocked ||
          a.squares[x][y].content != b.squares[x][y].content)
        return false;
  return a.exit_north == b.exit_north && a.exit_east == b.exit_east && a.exit_south == b.exit_south &&
         a.exit_west == b.exit_west && a.special_placed == b.special_placed && a.locked == b.locked &&
         a.home == b.home && a.treasure_p2 == b.treasure_p2 && a.treasure_p1 == b.treasure_p1 &&
         a.has_token == b.has_token && a.has_key == b.has_key && a.number == b.number && a.type == b.type;
}

}  // namespace orvalis_test

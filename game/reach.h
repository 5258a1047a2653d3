// Where a player can walk this turn: every square it reaches by steps from where it stands, opening
// doors and spending keys as the step rule does, with the fewest keys each square costs; and the
// arrow steps that walk there. Walking is free and unlimited within a turn, so this is the whole of
// what a player can do without an action. The help overlay lights these squares; the computer
// opponent plans its walks with them.
#pragma once

#include <cstdint>
#include <vector>

#include "game/model.h"

// A square of the board as one number: ((block_x * 8 + block_y) * 8 + square_x) * 8 + square_y.
constexpr int REACH_SQUARES = 4096;
constexpr int Reach_Index(int32_t bx, int32_t by, int32_t sx, int32_t sy) {
  return ((bx * 8 + by) * 8 + sx) * 8 + sy;
}
constexpr int32_t Reach_Block_X(int i) { return i >> 9; }
constexpr int32_t Reach_Block_Y(int i) { return (i >> 6) & 7; }
constexpr int32_t Reach_Square_X(int i) { return (i >> 3) & 7; }
constexpr int32_t Reach_Square_Y(int i) { return i & 7; }

constexpr int8_t REACH_NONE = -1;

// The step rule read without changing anything: where one step from a square leads and what it
// takes. REACH_STEP_DOOR opens a closed door with one step and enters with the next;
// REACH_STEP_LOCKED_DOOR does the same but spends a key (the block's door is locked).
enum ReachStep : uint8_t { REACH_STEP_NONE, REACH_STEP_FREE, REACH_STEP_DOOR, REACH_STEP_LOCKED_DOOR };
ReachStep Reach_Step(const Board& b, int from, int32_t direction, int& to);

struct Reach {
  // Fewest keys spent on the way to stand on the square; REACH_NONE where it cannot be reached (also
  // where a locked door would need more keys than the walk can find).
  int8_t keys[REACH_SQUARES];
  // Steps of the walk found there (a closed door costs two: the step that opens it, the one that
  // enters), its last step's direction and the square it comes from. Valid where keys is set.
  uint16_t steps[REACH_SQUARES];
  uint8_t last_step[REACH_SQUARES];
  uint16_t came_from[REACH_SQUARES];
  // The reachable squares in the order found: by keys spent, then roughly by steps.
  uint16_t order[REACH_SQUARES];
  int32_t count;
  // The fewest keys any square of the block costs; REACH_NONE where the block holds none.
  int8_t blocks[8][8];
  // Keys the walk can spend: those held plus those lying on squares reachable without a key. A key
  // picked up beyond the limit of 5 stays on its square until one is spent, and the walk is free to
  // come back for it, so the limit never stops a door from opening.
  int32_t keys_available;
  int32_t start;  // the square the player stands on
};

// Fills `out` for the player on the board. A player standing off the board reaches nothing.
//
// Exact for the boards and positions the game makes, where a locked block is a dead end with one door
// and holds a treasure but never a key, and a player stands on a square it could walk back onto.
// Elsewhere: keys lying behind a locked door are not counted as spendable, and a second door of a
// block whose first door a key already opened is charged a key again (both report less than can be
// reached); and from a wall square the player stands on (which the game makes only when a turned
// block draws a solid object under a player), a key the walk must fetch may lie where the square
// cannot be walked back to, so a square behind a locked door can be reported that the walk cannot
// reach (Walk_Steps then says so).
void Compute_Reach(const Board& b, const PlayerState& p, Reach& out);

inline bool Reachable(const Reach& r, int32_t bx, int32_t by, int32_t sx, int32_t sy) {
  return bx >= 0 && bx < 8 && by >= 0 && by < 8 && sx >= 0 && sx < 8 && sy >= 0 && sy < 8 &&
         r.keys[Reach_Index(bx, by, sx, sy)] != REACH_NONE;
}

// The same reach as bit masks, one 64-bit word per block (bit sy * 8 + sx), without the walks: the
// squares and the fewest keys agree with Compute_Reach on every board, at a fraction of the cost, for
// planners that ask thousands of times a turn.
struct ReachRegion {
  uint64_t squares[8][8];       // [block_x][block_y]: reachable squares
  uint64_t free_squares[8][8];  // those reachable without spending a key
  int8_t blocks[8][8];          // the fewest keys of any square of the block, REACH_NONE where none
  int32_t keys_available;       // as in Reach
  int32_t tokens;               // tokens lying on squares reachable without a key
  int32_t start_block_x, start_block_y;
};
constexpr uint64_t Region_Bit(int32_t sx, int32_t sy) { return uint64_t{1} << (sy * 8 + sx); }

// A block's squares by what a step may do there, as the step rule reads them.
struct BlockMasks {
  uint64_t vertical;    // a step up or down enters: open floor, the open north-south door
  uint64_t horizontal;  // a step right or left enters: open floor, the open east-west door
  uint64_t door_v;      // closed north-south doors: a vertical step opens, the next enters
  uint64_t door_h;      // closed east-west doors
  uint64_t keys, tokens;
};
BlockMasks Masks_Of(const MazeBlock& block);

// The masks of blocks by their number (1..64), kept while only shifts move the blocks around. Whoever
// changes a block's squares (a step that opens a door, a pickup, a rotation) or gives numbers that
// are not each block's own must Forget them.
struct MaskCache {
  BlockMasks masks[65];
  uint8_t known[65] = {};
  void Forget(int32_t number) {
    if (number >= 0 && number <= 64) known[number] = 0;
  }
  void Forget_All() {
    for (uint8_t& k : known) k = 0;
  }
};

void Compute_Region(const Board& b, const PlayerState& p, ReachRegion& out, MaskCache* cache = nullptr);
// The squares of the block that steps inside it reach from the squares `from` without a key (a
// closed door of an unlocked block opens on the way), `from` included.
uint64_t Block_Flood(const MazeBlock& block, uint64_t from);

// The arrow steps (direction codes) that walk the player from where it stands to the square, as the
// playing input makes them: a closed door takes one step to open and one to enter, keys are picked up
// on the way before a locked door needs one. Found by carrying the walk out on a copy of the board
// with the step and pickup rules, so the steps are exactly those the game will take. False (and no
// steps) when the square cannot be reached; true with no steps when the player already stands there.
bool Walk_Steps(const Board& b, const PlayerState& p, bool is_player1, int32_t bx, int32_t by, int32_t sx,
                int32_t sy, std::vector<int32_t>& steps);

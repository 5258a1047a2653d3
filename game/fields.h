// The fields of a block and of a player, listed once. The saved game copies, writes and reads them by
// these lists, the state dump names them by them, and the planner compares positions by them, so a
// field added to the model and to its list is kept everywhere. A list visits two records at a time of
// any types that name their fields as the model does (the model's own, the saved game's): a copy or a
// comparison visits two, a writer or a reader one record twice.
#pragma once

#include <cstdint>

#include "game/model.h"

// The model's records as the lists below know them: a field added to one belongs in its list, and
// then the size here changes with it. The sizes are those of a 64-bit build (a 32-bit one, such as
// the browser's, pads the records otherwise); the desktop build checks them.
static_assert(sizeof(void*) != 8 || sizeof(MazeBlock) == sizeof(Square) * 64 + 12 + 2 * sizeof(int32_t),
              "a new MazeBlock field: add it to the lists below");
static_assert(sizeof(void*) != 8 || sizeof(PlayerState) == 48 + sizeof(BOB),
              "a new PlayerState field: add it to the lists below");

// The range of a number, and whether the playing screen works it out afresh every frame from the
// rest of the game (a comparison of positions leaves such a number out).
struct FieldRange {
  int64_t low, high;
  bool derived;
};

// Counters a turn raises stay far below the largest number, so they can never overflow.
constexpr int64_t FIELD_COUNT_LIMIT = 1000000000;

// A block's numbers, with their ranges.
template <typename A, typename B, typename Visit>
void Visit_Block_Numbers(A& a, B& b, Visit&& visit) {
  visit("number", a.number, b.number, FieldRange{1, 64, false});
  visit("type", a.type, b.type, FieldRange{0, BLOCK_TYPE_COUNT - 1, false});
}

// A block's flags, each 0 or 1.
template <typename A, typename B, typename Visit>
void Visit_Block_Flags(A& a, B& b, Visit&& visit) {
  visit("exit_north", a.exit_north, b.exit_north);
  visit("exit_east", a.exit_east, b.exit_east);
  visit("exit_south", a.exit_south, b.exit_south);
  visit("exit_west", a.exit_west, b.exit_west);
  visit("special_placed", a.special_placed, b.special_placed);
  visit("locked", a.locked, b.locked);
  visit("home", a.home, b.home);
  visit("treasure_p1", a.treasure_p1, b.treasure_p1);
  visit("treasure_p2", a.treasure_p2, b.treasure_p2);
  visit("has_token", a.has_token, b.has_token);
  visit("has_key", a.has_key, b.has_key);
}

// A player's flags, each 0 or 1.
template <typename A, typename B, typename Visit>
void Visit_Player_Flags(A& a, B& b, Visit&& visit) {
  visit("winner", a.winner, b.winner);
}

// A player's numbers, with their ranges. (The facing is the sprite's frame, which each record keeps
// in its own way.)
template <typename A, typename B, typename Visit>
void Visit_Player_Numbers(A& a, B& b, Visit&& visit) {
  visit("treasures", a.treasures, b.treasures, FieldRange{0, MAX_TREASURES, false});
  visit("turns", a.turns, b.turns, FieldRange{0, FIELD_COUNT_LIMIT, false});
  visit("items", a.items, b.items, FieldRange{0, FIELD_COUNT_LIMIT, false});
  visit("block_x", a.block_x, b.block_x, FieldRange{0, 7, false});
  visit("block_y", a.block_y, b.block_y, FieldRange{0, 7, false});
  visit("square_x", a.square_x, b.square_x, FieldRange{0, 7, false});
  visit("square_y", a.square_y, b.square_y, FieldRange{0, 7, false});
  visit("block_number", a.block_number, b.block_number, FieldRange{1, 64, true});
  visit("actions", a.actions, b.actions, FieldRange{0, MAX_ACTIONS, false});
  visit("keys", a.keys, b.keys, FieldRange{0, MAX_KEYS, false});
}

// The blocks' numbers and flags agree (not their squares).
bool Same_Block_Fields(const MazeBlock& a, const MazeBlock& b);
// The players' flags and numbers agree, all but the derived ones.
bool Same_Player_Fields(const PlayerState& a, const PlayerState& b);

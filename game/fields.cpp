#include "game/fields.h"

bool Same_Block_Fields(const MazeBlock& a, const MazeBlock& b) {
  bool same = true;
  Visit_Block_Numbers(a, b, [&](const char*, int32_t x, int32_t y, FieldRange) { same = same && x == y; });
  Visit_Block_Flags(a, b, [&](const char*, uint8_t x, uint8_t y) { same = same && x == y; });
  return same;
}

bool Same_Player_Fields(const PlayerState& a, const PlayerState& b) {
  bool same = true;
  Visit_Player_Flags(a, b, [&](const char*, uint8_t x, uint8_t y) { same = same && x == y; });
  Visit_Player_Numbers(a, b, [&](const char*, int32_t x, int32_t y, FieldRange range) {
    same = same && (range.derived || x == y);
  });
  return same;
}

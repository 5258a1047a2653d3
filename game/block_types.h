// The fifteen block types: the sides each one opens to, and the door (a post that never opens and a
// leaf that does) a dead end carries one square inside its single exit. The model loads blocks from
// this table and the art generator draws the overview miniatures from it.
#pragma once

#include <cstdint>

#include "game/content_codes.h"

// Block types: 0..3 corners, 4..7 T-junctions, 8 and 9 straights, 10 the crossing,
// 11..14 dead ends with a door.
constexpr int32_t BLOCK_TYPE_COUNT = 15;
constexpr int32_t BLOCK_CROSSING = 10;
constexpr int32_t START_BLOCK_P2 = 11;  // dead end open to the south, board block (0,0)
constexpr int32_t START_BLOCK_P1 = 13;  // dead end open to the north, board block (7,7)

struct BlockLayout {
  uint8_t north, east, south, west;       // 1 = the side has an opening
  int8_t post_x, post_y, leaf_x, leaf_y;  // the door's squares; -1 = no door
  int32_t post, leaf;                     // the codes written there
};

inline constexpr BlockLayout block_layouts[BLOCK_TYPE_COUNT] = {
    {0, 1, 1, 0, -1, -1, -1, -1, 0, 0},                      // 0 corner east-south
    {0, 0, 1, 1, -1, -1, -1, -1, 0, 0},                      // 1 corner south-west
    {1, 1, 0, 0, -1, -1, -1, -1, 0, 0},                      // 2 corner north-east
    {1, 0, 0, 1, -1, -1, -1, -1, 0, 0},                      // 3 corner north-west
    {0, 1, 1, 1, -1, -1, -1, -1, 0, 0},                      // 4 T without north
    {1, 1, 1, 0, -1, -1, -1, -1, 0, 0},                      // 5 T without west
    {1, 1, 0, 1, -1, -1, -1, -1, 0, 0},                      // 6 T without south
    {1, 0, 1, 1, -1, -1, -1, -1, 0, 0},                      // 7 T without east
    {0, 1, 0, 1, -1, -1, -1, -1, 0, 0},                      // 8 straight east-west
    {1, 0, 1, 0, -1, -1, -1, -1, 0, 0},                      // 9 straight north-south
    {1, 1, 1, 1, -1, -1, -1, -1, 0, 0},                      // 10 crossing
    {0, 0, 1, 0, 3, 6, 4, 6, DOOR_NS_POST, DOOR_NS_CLOSED},  // 11 dead end open south
    {0, 1, 0, 0, 6, 3, 6, 4, DOOR_EW_POST, DOOR_EW_CLOSED},  // 12 dead end open east
    {1, 0, 0, 0, 3, 1, 4, 1, DOOR_NS_POST, DOOR_NS_CLOSED},  // 13 dead end open north
    {0, 0, 0, 1, 1, 3, 1, 4, DOOR_EW_POST, DOOR_EW_CLOSED},  // 14 dead end open west
};

constexpr bool Has_Door(int32_t type) {
  return type >= 0 && type < BLOCK_TYPE_COUNT && block_layouts[type].post_x >= 0;
}

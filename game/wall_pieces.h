// The wall pieces of the detail view: what each digit of a block template stands for, and how a
// piece changes when its block is turned a quarter anticlockwise ((x, y) -> (y, 7 - x)).
// The block templates are written with these digits and the art generator draws these pictures;
// this table is the one place both follow. In a block template the other cells are '0' floor,
// 'a' a solid object (its own picture) and 'z' a random-object spot.
#pragma once

#include <cstdint>

// Frame k of the wall pictures is template digit k + 1; frames 9..12 are decorations used only by
// the crossing's overlay layer (letters 'j'..'m'; 'a'..'i' name frames 0..8 there too).
enum WallPiece : int32_t {
  WALL_BLOCK = 0,          // '1' solid masonry, fills the square; reads the same after any turn
  WALL_FACE_SOUTH = 1,     // '2' masonry whose lit face (the floor side) is its bottom edge
  WALL_FACE_EAST = 2,      // '3' lit face on the right edge
  WALL_FACE_NORTH = 3,     // '4' lit face on the top edge
  WALL_FACE_WEST = 4,      // '5' lit face on the left edge
  WALL_MOSSY = 5,          // '6' solid masonry overgrown with moss; turn-invariant
  WALL_CRACKED = 6,        // '7' solid masonry with cracks; turn-invariant
  WALL_PILLAR = 7,         // '8' a round stone pillar standing free on transparent corners
  WALL_RUBBLE = 8,         // '9' a heap of fallen stones, transparent around it
  WALL_DECOR_VINES = 9,    // overlay 'j': hanging vines, mostly transparent
  WALL_DECOR_MOSAIC = 10,  // overlay 'k': a floor mosaic ring, mostly transparent
  WALL_DECOR_RUNE = 11,    // overlay 'l': a glowing floor rune, mostly transparent
  WALL_DECOR_SKULL = 12,   // overlay 'm': bones on the floor, mostly transparent
  WALL_PIECE_COUNT = 13,
};

constexpr bool Is_Wall_Digit(char digit) { return digit >= '1' && digit <= '9'; }
// The wall picture a template digit '1'..'9' draws (frames 0..8), -1 for any other character.
constexpr int32_t Wall_Frame_Of_Digit(char digit) { return Is_Wall_Digit(digit) ? digit - '1' : -1; }

// The side a piece's lit face looks to, as a step on the block grid (x to the east, y to the
// south); (0, 0) for the pieces without a face. The square on that side is floor.
struct WallFace {
  int32_t dx, dy;
};
constexpr WallFace Lit_Face(char digit) {
  switch (digit) {
    case '2':
      return {0, 1};
    case '3':
      return {1, 0};
    case '4':
      return {0, -1};
    case '5':
      return {-1, 0};
    default:
      return {0, 0};
  }
}

// The digit a piece takes after its block is turned a quarter anticlockwise: a lit face moves
// south -> east -> north -> west -> south; the other pieces look the same from every side.
constexpr char Rotated_Wall_Digit(char digit) {
  switch (digit) {
    case '2':
      return '3';
    case '3':
      return '4';
    case '4':
      return '5';
    case '5':
      return '2';
    default:
      return digit;
  }
}

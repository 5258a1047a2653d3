// A maze block's own operations: construction, the quarter turn, and the placing of specials.
#include "game/model.h"
#include "game/random.h"

MazeBlock::MazeBlock() {
  special_placed = 0;
  locked = 0;
  home = 0;
  treasure_p2 = 0;
  treasure_p1 = 0;
  type = Random_Number() % 15;
  Load_Template();
}

// A quarter turn counter-clockwise; -1 for the crossing, which keeps its type.
int32_t Turned_Type(int32_t type) {
  switch (type) {
    case 1:
      return 0;  // corners 1 -> 0 -> 2 -> 3 -> 1
    case 0:
      return 2;
    case 2:
      return 3;
    case 3:
      return 1;
    case 4:
      return 5;  // T-junctions 4 -> 5 -> 6 -> 7 -> 4
    case 5:
      return 6;
    case 6:
      return 7;
    case 7:
      return 4;
    case 8:
      return 9;  // straights 8 <-> 9
    case 9:
      return 8;
    case 11:
      return 12;  // dead ends 11 -> 12 -> 13 -> 14 -> 11
    case 12:
      return 13;
    case 13:
      return 14;
    case 14:
      return 11;
    default:
      return -1;
  }
}

bool Block_Turns(const MazeBlock& block) { return block.home == 0 && Turned_Type(block.type) >= 0; }

uint8_t MazeBlock::Rotate() { return Rotate_Block(*this, Load_Template_From_File); }

uint8_t Rotate_Block(MazeBlock& block, TemplateLoader load) {
  if (block.home == 1) return 0;
  uint8_t turned = 0;
  const int32_t next = Turned_Type(block.type);
  if (next >= 0) {
    block.type = next;
    load(block);
    turned = 1;
  }
  if (block.has_token == 1) {
    block.Place_Token();
  } else if (block.has_key == 1) {
    block.Place_Key();
  }
  return turned;
}

void MazeBlock::Place_Treasure_P1() {
  locked = 1;
  treasure_p1 = 1;
}

void MazeBlock::Place_Treasure_P2() {
  locked = 1;
  treasure_p2 = 1;
}

void MazeBlock::Place_Token() {
  squares[ITEM_SQUARE_X][ITEM_SQUARE_Y].content = TOKEN;
  has_token = 1;
}

void MazeBlock::Place_Key() {
  squares[ITEM_SQUARE_X][ITEM_SQUARE_Y].content = KEY;
  has_key = 1;
}

// What a square can hold: the content codes of the model, and the item picture the detail view draws
// for each code below 100 (the picture's frame is the code). The model, the playing screen and the
// art generator all name contents from here.
#pragma once

#include <cstdint>

// Square contents: every value the game produces. 6..14 are the random objects of 'z' cells.
enum : int32_t {
  CONTENT_EMPTY = 0,
  TOKEN = 2,
  HOME_MARK = 3,
  KEY = 4,
  OBJECT_FIRST = 6,
  OBJECT_LAST = 14,
  DOOR_EW_CLOSED = 101,
  DOOR_EW_POST = 102,
  DOOR_EW_OPEN = 103,
  DOOR_NS_OPEN = 105,
  DOOR_NS_POST = 106,
  DOOR_NS_CLOSED = 107,
};

// True for every content code the game puts on a square.
constexpr bool Is_Content_Code(int64_t c) {
  switch (c) {
    case CONTENT_EMPTY:
    case TOKEN:
    case HOME_MARK:
    case KEY:
    case DOOR_EW_CLOSED:
    case DOOR_EW_POST:
    case DOOR_EW_OPEN:
    case DOOR_NS_OPEN:
    case DOOR_NS_POST:
    case DOOR_NS_CLOSED:
      return true;
    default:
      return c >= OBJECT_FIRST && c <= OBJECT_LAST;
  }
}

// The item pictures, by content code. The objects a 'z' cell draws are 6..14; of those the barrel,
// the urn and the brazier stand in the way (their squares are blocked). Frame 5 is the solid object
// of a template's 'a' cells; 1, 15 and 16 are drawn by no code the model makes.
enum ItemPicture : int32_t {
  ITEM_NONE = CONTENT_EMPTY,
  ITEM_COINS = 1,
  ITEM_TOKEN = TOKEN,
  ITEM_HOME_MARK = HOME_MARK,
  ITEM_KEY = KEY,
  ITEM_SOLID_OBJECT = 5,
  ITEM_COIN_HEAP = 6,
  ITEM_SCROLL = 7,
  ITEM_BARREL = 8,
  ITEM_SWORD = 9,
  ITEM_URN = 10,
  ITEM_BRAZIER = 11,
  ITEM_MUSHROOMS = 12,
  ITEM_COBWEB = 13,
  ITEM_PUDDLE = 14,
  ITEM_CANDLE = 15,
  ITEM_RUG = 16,
  ITEM_PICTURE_COUNT = 17,
};

// The random objects that block their square.
constexpr bool Is_Solid_Object(int32_t content) {
  return content == ITEM_BARREL || content == ITEM_URN || content == ITEM_BRAZIER;
}

// The game model: squares, maze blocks, the board, the players, and the rules that change them.
// Pure and deterministic: no graphics and no platform; randomness comes from the C library's rand.
#pragma once

#include <cstdint>

#include "graphics/bob.h"

// Square contents.
enum : int32_t {
  CONTENT_EMPTY = 0,
  TOKEN = 2,
  HOME_MARK = 3,
  KEY = 4,
  DOOR_EW_CLOSED = 101,
  DOOR_EW_POST = 102,
  DOOR_EW_OPEN = 103,
  DOOR_NS_OPEN = 105,
  DOOR_NS_POST = 106,
  DOOR_NS_CLOSED = 107,
};

// Step directions, also the frame of a player's sprite. Not clockwise.
enum Direction : int32_t { DIR_UP = 0, DIR_RIGHT = 1, DIR_LEFT = 2, DIR_DOWN = 3 };

struct Square {
  uint8_t blocked = 0;
  int32_t content = 0;
};

struct MazeBlock {
  Square squares[8][8];  // [x][y]
  uint8_t exit_north = 0;
  uint8_t exit_east = 0;
  uint8_t exit_south = 0;
  uint8_t exit_west = 0;
  uint8_t special_placed = 0;
  uint8_t locked = 0;
  uint8_t home = 0;
  uint8_t treasure_p2 = 0;
  uint8_t treasure_p1 = 0;
  uint8_t has_token = 0;
  uint8_t has_key = 0;
  int32_t number = 0;
  int32_t type = 0;

  // Draws a random type (rand() % 15) and loads its template.
  MazeBlock();
  void Load_Template();
  // A quarter turn counter-clockwise by a change of type; 1 when the block turned.
  uint8_t Rotate();
  void Place_Treasure_P1();
  void Place_Treasure_P2();
  void Place_Token();
  void Place_Key();
};

struct Board {
  MazeBlock blocks[8][8];  // [x][y]
};

struct PlayerState {
  uint8_t winner = 0;
  int32_t treasures = 0;
  int32_t turns = 0;
  int32_t items = 0;
  int32_t block_x = 0;
  int32_t block_y = 0;
  int32_t square_x = 4;
  int32_t square_y = 4;
  int32_t block_number = 4;
  int32_t actions = 1;
  int32_t keys = 0;
  BOB sprite;  // frame surfaces shared by copies, never released by them
};

// The model's globals, built at static initialisation in this order: board, player 1, player 2,
// current_block.
extern Board board;
extern PlayerState player1;
extern PlayerState player2;
extern MazeBlock current_block;
extern uint8_t current_player;  // 1 = player 1 to move, 0 = player 2
extern int32_t item_density;    // 0, 1, 2 -> 20, 10, 5 tokens and keys
extern uint8_t new_game_pending;

// Template files (the character format of the block and layer files).
void Read_Block_File(MazeBlock& block, const char* filename);
void Read_Value_Grid(const char* filename, int32_t grid[8][8]);

void New_Game(Board& b);

PlayerState Step_Player(PlayerState player, Board& b);
MazeBlock Move_Current_Player(int32_t direction, MazeBlock block, Board& b);
void Shift_Column(int column, uint8_t down, Board& b);
void Shift_Row(int row, uint8_t right, Board& b);
// Turns a square with its block: (x, y) -> (y, 7 - x).
void Rotate_Square(int32_t& square_x, int32_t& square_y);

// Pickups for the player to move (treasure, then key, then token; at most one per call).
void Apply_Pickups(Board& b);
// The end-of-game test, player 2 first; 1 when a player has just been made the winner.
int Check_Winner(Board& b);
// Hands the turn to the other player.
void End_Turn(Board& b);

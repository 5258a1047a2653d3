// A game in progress as a file: every block of the board with its squares, both players, who is to
// move, the block on show, the amount of items, who the computer plays and at what level, and where
// the random generator stands, so that a resumed game goes on exactly as it would have. The file is
// JSON with the state dump's names and a format version; the reader takes bytes and refuses anything
// it cannot resume whole, saying what is wrong.
#pragma once

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

#include "game/model.h"

// The version this game writes and the only one it reads.
constexpr int SAVED_GAME_VERSION = 1;
// The most random draws a save may claim: far more than any game makes, few enough to replay fast.
constexpr uint64_t SAVED_GAME_MAX_DRAWS = 100000000;
// A file larger than this is not a save (one is about 100 KB).
constexpr size_t SAVED_GAME_MAX_BYTES = 4u << 20;

struct SavedBlock {
  uint8_t blocked[8][8] = {};  // [x][y]
  int32_t content[8][8] = {};
  uint8_t exit_north = 0, exit_east = 0, exit_south = 0, exit_west = 0;
  uint8_t special_placed = 0, locked = 0, home = 0, treasure_p1 = 0, treasure_p2 = 0;
  uint8_t has_token = 0, has_key = 0;
  int32_t number = 1;
  int32_t type = 0;
};

struct SavedPlayer {
  uint8_t winner = 0;
  int32_t treasures = 0, turns = 0, items = 0;
  int32_t block_x = 0, block_y = 0, square_x = 4, square_y = 4, block_number = 4;
  int32_t actions = 1, keys = 0;
  int32_t facing = 0;  // the sprite's frame: the direction of the next step
};

struct SavedGame {
  SavedBlock board[8][8];  // [x][y]
  SavedPlayer player1, player2;
  SavedBlock current_block;
  uint8_t current_player = 0;
  int32_t item_density = 0;
  int32_t computer_player = 0;  // COMPUTER_NONE, _PLAYER_1, _PLAYER_2 or _BOTH
  int32_t computer_level = 1;   // LEVEL_EASY, _NORMAL or _HARD
  uint32_t random_seed = 0;
  uint64_t random_draws = 0;
};

// Between the model and the record. Restoring a player keeps its sprite's pictures and sets its frame.
SavedBlock Saved_Block(const MazeBlock& block);
void Restore_Block(const SavedBlock& saved, MazeBlock* block);
SavedPlayer Saved_Player(const PlayerState& player);
void Restore_Player(const SavedPlayer& saved, PlayerState* player);

// The model's game now: board, players, current block, player to move, item density and the random
// generator. The computer's side and level are the caller's to fill in.
SavedGame Capture_Game();
// Puts a saved game back into the model and the random generator (the computer is the caller's).
void Restore_Game(const SavedGame& saved);

// A block, a player and the board ([x][y]) as JSON, with the names the state dump uses.
nlohmann::json Saved_Block_Json(const SavedBlock& block);
nlohmann::json Saved_Player_Json(const SavedPlayer& player);
nlohmann::json Saved_Board_Json(const SavedGame& game);

// The whole game against what the rules can reach: every block number once, no player inside a wall,
// five treasures a player between the board and the player (none more on the board), no more tokens
// and keys on the board than the game dealt, a winner only where one has won. True when it holds;
// else false with *error saying what does not.
bool Check_Saved_Game_Rules(const SavedGame& game, std::string* error);

// The file's text.
std::string Saved_Game_Text(const SavedGame& saved);
// Reads a save from its bytes. Returns 1 with *out filled; 0 with *error saying what is wrong
// (not JSON, cut short, another format or version, a value missing or out of range, a game the rules
// cannot reach) and *out untouched.
int Parse_Saved_Game(std::string_view bytes, SavedGame* out, std::string* error);

// The same from a document already parsed (the fuzz target edits one in place).
int Read_Saved_Game_Json(const nlohmann::json& root, SavedGame* out, std::string* error);

// Writes the save atomically (the folder is created when missing). 1 on success, else 0 with *error.
int Write_Saved_Game(const std::string& path, const SavedGame& saved, std::string* error);
// Reads and parses the file: a regular file only, of at most SAVED_GAME_MAX_BYTES (a FIFO or a device
// is refused without waiting on it). A missing or unreadable file is an error like any other.
int Read_Saved_Game(const std::string& path, SavedGame* out, std::string* error);

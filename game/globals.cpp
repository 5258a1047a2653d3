// The model's global instances. They live in this one translation unit so that static
// initialisation builds them in the order the game gives: the board (each of its 64 blocks drawing
// its type from rand and loading its template from the working directory), player 1, player 2,
// then current_block.
#include "game/model.h"

Board board;
PlayerState player1;
PlayerState player2;
MazeBlock current_block;
uint8_t current_player = 0;
int32_t item_density = 0;
uint8_t new_game_pending = 1;

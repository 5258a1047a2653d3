// The game model: squares, maze blocks, the board, the players, the block template files and the
// rules that change them (new game, steps and doors, shifts, rotations, pickups, the end test, the
// change of turn). Deterministic and free of the platform and of drawing: the only engine piece it
// holds is the BOB record of a player's sprite (a plain record; the model never draws it). It reads
// the block template files from the working directory, and its randomness is the C library's rand,
// drawn in the order the rules give.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string_view>

#include "game/block_types.h"
#include "game/content_codes.h"
#include "graphics/bob.h"

// Step directions, also the frame of a player's sprite. Not the clockwise order.
enum Direction : int32_t { DIR_UP = 0, DIR_RIGHT = 1, DIR_LEFT = 2, DIR_DOWN = 3 };

struct Square {
  uint8_t blocked = 0;  // 1 = cannot be entered (wall or solid object)
  int32_t content = 0;  // one of the content codes
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

  // Clears the flags, draws a random type (rand() % 15) and loads its template.
  MazeBlock();
  // Exits to 0, the type's template from "<type>.txt", the type's exits, then its door codes.
  void Load_Template();
  // A quarter turn counter-clockwise by a change of type; 1 when the block turned. Home blocks and
  // the crossing return 0. A token or key still on the block is put back on square (4,4).
  // The template is read from its file, drawing rand for the 'z' cells (Rotate_Block with
  // Load_Template_From_File).
  uint8_t Rotate();
  void Place_Treasure_P1();
  void Place_Treasure_P2();
  void Place_Token();
  void Place_Key();
};

struct Board {
  MazeBlock blocks[8][8];  // [x][y]: blocks[bx][by], bx the board column, by the board row
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
  BOB sprite;  // filled by asset loading; copies share its frame surfaces and never release them;
               // its current_frame is the facing and the direction of the next step
};

// Limits of the counters.
constexpr int32_t MAX_TREASURES = 5;
constexpr int32_t MAX_KEYS = 5;
constexpr int32_t MAX_ACTIONS = 5;

// The square of a block its treasure is taken on, and the square its token or key lies on.
constexpr int32_t TREASURE_SQUARE_X = 3, TREASURE_SQUARE_Y = 3;
constexpr int32_t ITEM_SQUARE_X = 4, ITEM_SQUARE_Y = 4;

// The most moves (walks, shifts, quarter turns) a player that plays by program makes in one turn; the
// turn then ends, whatever its plan says. A person's turn has no limit.
constexpr int32_t MAX_PROGRAM_MOVES_PER_TURN = 64;

// The model's globals, all defined in one translation unit and so built at static initialisation
// in this order: the board (64 blocks, each drawing its type and loading its template from the
// working directory), player 1, player 2, current_block.
extern Board board;
extern PlayerState player1;
extern PlayerState player2;
extern MazeBlock current_block;   // a copy of the block the detail view shows
extern uint8_t current_player;    // 1 = player 1 to move, 0 = player 2
extern int32_t item_density;      // 0, 1, 2 -> 20, 10, 5 tokens and as many keys
extern uint8_t new_game_pending;  // 1 = a new game must be set up before play (initially 1)

// ---- Template files ------------------------------------------------------------------
// The readers parse bytes from a stream or from memory; the file-name forms open the file by name
// (in binary, doing the text-mode carriage-return drop themselves), read, and always close it. A
// missing file reads as end of input everywhere. Exactly 64 cells are read, in reading order.

// Fills the 64 squares of the block (blocked, content); touches nothing else of the block. Every
// 'z' cell draws rand() % 15 + 6, in reading order.
void Read_Block_File(MazeBlock& block, const char* filename);
// Where the file readers name a template or layer file that is missing, short, or holds a
// character no template uses: once per file name for the whole run. Null (the default) reports
// nothing; the shell points it at the debug output. What is read does not change.
extern void (*template_report)(const char* message);
// Forgets which files were named, so that a run started over in the same process names them again.
void Forget_Template_Reports();
void Read_Block_Stream(MazeBlock& block, std::istream& in);
void Read_Block_Bytes(MazeBlock& block, std::string_view bytes);

// Fills a [x][y] grid of 64 values: 'a'..'z' give 97..122, any other character its code minus '0'
// (digits 0..9; end of input -49).
void Read_Value_Grid(const char* filename, int32_t grid[8][8]);
void Read_Value_Stream(std::istream& in, int32_t grid[8][8]);
void Read_Value_Bytes(std::string_view bytes, int32_t grid[8][8]);

// The value a character cell gives in a value grid, and the end-of-input value of a cell read.
constexpr int32_t CELL_END_OF_INPUT = -1;
constexpr int32_t Cell_Value(int32_t cell) { return (cell >= 'a' && cell <= 'z') ? cell : cell - '0'; }

// Where a block's squares come from when its template loads. The game reads the file every time and
// draws rand for each 'z' cell; a planner that must not draw reads a cached copy of the files.
using TemplateLoader = void (*)(MazeBlock& block);
// MazeBlock::Load_Template: the file, read now, with its random objects drawn.
void Load_Template_From_File(MazeBlock& block);
// The same squares, exits and doors from each type's file as first read in this run, drawing
// nothing: a 'z' cell, whose object is not known before the real draw, is taken as blocked with no
// content (the worst case: a solid object). A planner's path through such a block can then only be
// shorter in the real game, never cut.
void Load_Template_Cached(MazeBlock& block);
// Whether square (x, y) of a block of the type is a 'z' cell of the cached template: what a planner's
// rotation left unknown there, the real one draws.
bool Template_Square_Random(int32_t type, int32_t x, int32_t y);

// ---- New game ------------------------------------------------------------------------
// Tokens and keys placed for an item_density: 0 -> 20, 1 -> 10, 2 -> 5.
int32_t Items_For_Density(int32_t density);
void New_Game(Board& b);

// ---- Movement, shifting and rotation --------------------------------------------------
// Each rule has an explicit form that changes only what it is given (a board, both players, whose
// turn it is), and the global form the playing screen calls, which passes the model's globals.

// Both players and whose turn it is, by reference: what the turn rules read and change besides the
// board. Global_Players() names the model's globals.
struct Players {
  PlayerState& player1;
  PlayerState& player2;
  uint8_t& current_player;
};
Players Global_Players();

// What one step from a square does, read without changing anything: nothing; onto a square (the
// next one inside the block, or across its edge onto the neighbour that opens towards it); or a
// closed door of the step's axis opened in place (STEP_UNLOCKS_DOOR: the block is locked, so only with
// a key, which the step spends). The square is the one entered, or the door's.
enum StepOutcome : uint8_t { STEP_NONE, STEP_ENTERS, STEP_OPENS_DOOR, STEP_UNLOCKS_DOOR };
struct StepLook {
  StepOutcome outcome = STEP_NONE;
  int32_t block_x = 0, block_y = 0, square_x = 0, square_y = 0;
};
StepLook Look_Step(const Board& b, int32_t block_x, int32_t block_y, int32_t square_x, int32_t square_y,
                   int32_t direction);
// The step rule's parts: whether a step in the direction enters the square inside its block (open
// floor, or the open door of the step's axis); the closed and the open door of the step's axis; the
// exit of a neighbour in the direction that lets a step across the edge into it.
bool Step_Enters(const Square& square, int32_t direction);
int32_t Closed_Door_Of(int32_t direction);
int32_t Open_Door_Of(int32_t direction);
uint8_t Facing_Exit(const MazeBlock& neighbour, int32_t direction);
// One step in the direction of the player's sprite frame; may open a door or spend a key.
PlayerState Step_Player(PlayerState player, Board& b);
// Turns the player to move to the direction, steps it, and returns a copy of its block afterwards
// (the caller stores it in current_block). With current_player neither 0 nor 1, returns `block`.
MazeBlock Move_Current_Player(int32_t direction, MazeBlock block, Board& b);
// The explicit form: turns and steps the player to move of `players`; returns it, or null when
// current_player is neither 0 nor 1.
PlayerState* Move_Player_To_Move(int32_t direction, Board& b, const Players& players);
// column / row 1..8 (index - 1 is moved); down / right: 1 = down / right, 0 = up / left. Players in
// the moved line travel with their blocks, wrapping around. Other values do nothing.
void Shift_Column(int column, uint8_t down, Board& b);
void Shift_Row(int row, uint8_t right, Board& b);
// The explicit forms: the players given travel with their blocks.
void Shift_Column(int column, uint8_t down, Board& b, PlayerState& p1, PlayerState& p2);
void Shift_Row(int row, uint8_t right, Board& b, PlayerState& p1, PlayerState& p2);
// A quarter turn of `block` as MazeBlock::Rotate makes it, its template loaded by `load`.
uint8_t Rotate_Block(MazeBlock& block, TemplateLoader load);
// Whether a quarter turn turns the block: not a home block, not the crossing, a type the game knows.
bool Block_Turns(const MazeBlock& block);
// The type a quarter turn gives the block's type; -1 where it keeps its type (the crossing, or a
// type the game does not know).
int32_t Turned_Type(int32_t type);
// Turns a square with its block: (x, y) -> (y, 7 - x).
void Rotate_Square(int32_t& square_x, int32_t& square_y);
// After a successful rotation of `block`: turns the square of every player whose block_number is
// the block's number, player 1 first. Returns a mask: 1 = player 1 turned, 2 = player 2 turned.
uint8_t Rotate_Players_In_Block(const MazeBlock& block);
uint8_t Rotate_Players_In_Block(const MazeBlock& block, PlayerState& p1, PlayerState& p2);

// ---- Turn actions --------------------------------------------------------------------
// Whether the player stands on a square of the board (the game never puts one elsewhere).
bool Stands_On_Board(const PlayerState& p);
// The player whose turn it is: player 1 when current_player is 1, player 2 when it is 0, else null.
PlayerState* Player_To_Move();
PlayerState* Player_To_Move(const Players& players);
// A shift button's action: when the player to move has an action left, shifts column or row `line`
// (1..8, as Shift_Column and Shift_Row take it) in `direction` and charges one. 1 when it shifted; a
// line or direction no button has shifts nothing and costs nothing.
int Paid_Shift(bool column, int line, uint8_t direction, Board& b);
int Paid_Shift(bool column, int line, uint8_t direction, Board& b, const Players& players);
// A right click's action on block (bx, by): when the player to move has an action left and the
// block turns, charges one and turns the squares of the players standing in it. Returns the mask of
// players whose squares turned (1 player 1, 2 player 2, 0 nobody), or -1 when nothing turned.
int Paid_Rotate(int bx, int by, Board& b);
// The explicit form, the turned block's template loaded by `load`.
int Paid_Rotate(int bx, int by, Board& b, const Players& players, TemplateLoader load);
// The pickup rules for the player to move: treasure, then key, then token; at most one per call,
// each blocked by its counter's limit.
void Apply_Pickups(Board& b);
// The pickup rules for player `p`, who is player 1 when `is_player1` (whose treasure it takes).
void Apply_Pickups(Board& b, PlayerState& p, bool is_player1);
// The end-of-game test, player 2 first: sets `winner` and returns 1 when a player with 5 treasures
// stands on a home mark (content 3); otherwise 0. The playing frame then switches to the results.
int Check_Winner(Board& b);
int Check_Winner(Board& b, PlayerState& p1, PlayerState& p2);
// The model's work in a frame after its input: the pickups of the player to move, then the end test;
// 1 when a player won.
int Pickups_And_End_Test(Board& b, const Players& players);
// The board numbers of the blocks the players stand in (a player off the board keeps its number). The
// playing screen refreshes them once a frame, after the overview's clicks; a right click compares
// with the last refresh.
void Refresh_Block_Numbers(const Board& b, PlayerState& p1, PlayerState& p2);
// A whole frame of the model after one input, as the playing screen makes it: Pickups_And_End_Test,
// then Refresh_Block_Numbers. 1 when a player won.
int Frame_After_Input(Board& b, const Players& players);
// The end test for one player: five treasures, standing on a home mark.
bool Has_Won(const PlayerState& p, const Board& b);
// Hands the turn to the other player: its turns + 1, current_block = its block, actions 0 -> 1,
// current_player switches.
void End_Turn(Board& b);
// The explicit form; `shown` receives the incoming player's block (current_block for the game).
void End_Turn(Board& b, const Players& players, MazeBlock& shown);

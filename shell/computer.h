// The computer opponent in the shell: which side it plays and at what level, and its hand, which
// carries the planner's moves out as real input one pass of the main loop at a time: arrow keys
// pressed and released, a pointer that glides to a control and clicks it, Return. The game cannot
// tell its turns from a person's turns made of the same input.
#pragma once

#include <cstdint>
#include <string>

#include "opponent/opponent.h"

// Who the computer plays: 0 nobody, 1 player 1, 2 player 2, 3 both.
enum : int32_t { COMPUTER_NONE = 0, COMPUTER_PLAYER_1 = 1, COMPUTER_PLAYER_2 = 2, COMPUTER_BOTH = 3 };

// Parses "1", "2", "both" or "off" (COMPUTER_NONE); -1 for anything else.
int32_t Parse_Computer_Side(const std::string& text);
// Parses "easy", "normal" or "hard"; -1 for anything else.
int32_t Parse_Computer_Level(const std::string& text);
const char* Computer_Side_Name(int32_t side);  // "1", "2", "both", "off"
const char* Computer_Level_Name(int32_t level);

// The run's settings: the side the computer plays when the options row shows VS COMPUTER (1, 2 or
// both), and its level. Configure_Computer with COMPUTER_NONE leaves the side as it was and shows the
// row's first picture (two people); any other side shows VS COMPUTER. A side or level of -1 leaves
// that setting as it is.
void Configure_Computer(int32_t side, int32_t level);
int32_t Computer_Side_When_On();
int32_t Computer_Level();

// Fixes who the computer plays in the game that starts now, from the options row. The main loop
// calls it whenever play begins from the menu.
void Computer_Game_Started();
// Who the computer plays: in the game being played or shown in the results, else in the next game
// the options row would start.
int32_t Computer_Player();
// Sets who the computer plays in the game in progress (a resumed game).
void Set_Computer_Player(int32_t side);
// Who the computer plays in the game last started or resumed, whatever the screen.
int32_t Computer_Game_Player();

// True when the game is being played and the player to move is the computer's.
bool Computer_Moves_Now();
// Runs the hand for the coming pass of the main loop: thinks a slice, or gives the game the key
// state and at most one message of its next move. While the computer moves it holds the game's
// input (Platform_Set_Input_Owner); Space held by the person hurries the rest of its turn.
void Computer_Before_Pass();
// Drops whatever the hand was doing and gives the input back to the person.
void Reset_Computer_Hand();

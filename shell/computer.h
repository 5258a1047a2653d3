// The computer opponent in the shell: which side it plays and at what level, and its hand, which
// carries the planner's moves out as real input one pass of the main loop at a time: arrow keys held
// step by step, a pointer that glides to a control and clicks it, Return. Its input goes under its own
// source (SOURCE_COMPUTER); the game cannot tell its turns from a person's turns made of the same input.
#pragma once

#include <cstdint>
#include <string>

#include "opponent/opponent.h"

// Who the computer plays: 0 nobody, 1 player 1, 2 player 2, 3 both (the values of the setting).
enum : int32_t { COMPUTER_NONE = 0, COMPUTER_PLAYER_1 = 1, COMPUTER_PLAYER_2 = 2, COMPUTER_BOTH = 3 };

// Parses "1", "2", "both" or "off" (COMPUTER_NONE); -1 for anything else.
int32_t Parse_Computer_Side(const std::string& text);
// Parses "easy", "normal" or "hard"; -1 for anything else.
int32_t Parse_Computer_Level(const std::string& text);
const char* Computer_Side_Name(int32_t side);  // "1", "2", "both", "off"
const char* Computer_Level_Name(int32_t level);

// The settings own who the computer plays and at what level (computer.side, computer.level; the
// options row of the menu shows and changes the side for the run). Sets them for this run only (-1
// leaves one as it is), as the command line does.
void Configure_Computer(int32_t side, int32_t level);

// A game starts: it is played with the side the settings give now (a later change of side waits for
// the next game) and their level.
void Computer_Game_Started();
// A saved game is resumed: played with the side and level it was saved with, the settings for later
// games left as they are.
void Resume_Computer(int32_t side, int32_t level);
// The level setting changed: the game in progress takes it from the computer's next turn.
void Computer_Level_Changed();
// Who the computer plays: in the game being played or shown in the results, else in the next game.
int32_t Computer_Player();
// Who it plays in the game last started or resumed, whatever the screen.
int32_t Computer_Game_Player();
// Its level: the game's in play or in the results, else the next game's.
int32_t Computer_Level();

// True when the game is being played and the player to move is the computer's.
bool Computer_Moves_Now();
// Runs the hand for the coming pass of the main loop: thinks a slice, or gives the game the keys it
// holds and at most one message of its next move. Space held by the person hurries the rest of its
// turn: no glide, no pause, each step as soon as the game takes it.
void Computer_Before_Pass();
// The hand rests this pass: with its turn still on (the help or the question before leaving is up)
// it lets go of its keys and goes on where it was when it acts again; with no turn of its own it
// drops whatever it was doing.
void Computer_Rests();
// Drops whatever the hand was doing and forgets the game played so far.
void Reset_Computer_Hand();
// The moves the planner readied that did not land where it predicted, since the run began.
int64_t Computer_Mispredictions();

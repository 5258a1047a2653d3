// The game in progress between runs: saved when a turn ends and whenever the run leaves play (to the
// menu, or ending in any way), deleted when the game is won, and resumed on request.
#pragma once

#include <string>

// Whether the run keeps its game: the game binary turns it on; a program that plays the game in its
// own process (a test, the soak, a benchmark) saves nothing unless it does too.
void Enable_Saved_Games(bool enabled);

// $XDG_STATE_HOME/orvalis/saved-game.json (~/.local/state/orvalis/ when the variable is unset).
std::string Saved_Game_Path();
// True when a saved game file is there (whether it can be resumed shows when it is read).
bool Saved_Game_Exists();
// Saves the game in progress (when enabled). A failure is named on the debug output, once until a save
// succeeds again; the game goes on either way.
bool Save_Game_In_Progress();
// The game in progress was won: nothing is left to resume (when enabled).
void Delete_Saved_Game();

// Takes up the saved game from the menu: the model, the random generator, the computer's side and
// level and the options rows become the saved game's, and the state becomes STATE_PLAYING with no
// new game pending, so the state machine runs the usual transition into play. A save that is
// missing or cannot be resumed is refused with one message naming the file and what is wrong (also
// in a message box in a window); the file is kept, the game stays in the menu, and false returns.
bool Resume_Saved_Game();
// Asks the next pass of the main loop in the menu to resume the saved game (--resume).
void Request_Resume();
bool Take_Resume_Request();

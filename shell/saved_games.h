// The games in progress between runs. Each game has a file of its own on the shelf of unfinished
// games (save/shelf.h) in $XDG_STATE_HOME/orvalis (~/.local/state/orvalis when the variable is unset),
// locked by the run that plays it: it is saved when a turn ends and whenever the run leaves play (to
// the menu, or ending in any way), deleted when it is won, and taken up again on request. Starting a
// new game never touches another game's file, so two copies of the game never write over each other.
#pragma once

#include <string>
#include <vector>

#include "save/shelf.h"

// Whether the run keeps its games: the game binary turns it on; a program that plays the game in its
// own process (a test, the soak, a benchmark) saves nothing unless it does too.
void Enable_Saved_Games(bool enabled);

// The folder of the unfinished games.
std::string Saved_Games_Folder();
// At the start of a run that keeps its games: removes the temporary files killed runs left there,
// reads the shelf (a file that cannot be read is set aside, said in the window and on the debug
// output) and offers the newest game on the title and the menu.
void Open_Saved_Games();
// The unfinished games this run may take up (not those another copy of the game is playing), newest
// first, as last read.
const std::vector<ShelfGame>& Unfinished_Games();

// Saves the game in progress (when enabled) into its own file, which its first save creates (the
// oldest games past the last ten then go). A failure is said in the window and on the debug output,
// once until a save succeeds again; the game goes on either way.
bool Save_Game_In_Progress();
// Saves the game when one is being played (the run ends).
void Save_Game_If_Playing();
// A new game was set up: its first save goes to a file of its own; the last game's file stays.
void Saved_Game_New();
// The game in progress was won: its file goes (when enabled).
void Delete_Saved_Game();
// Deletes an unfinished game from the shelf (the settings page); false when another copy plays it.
bool Forget_Saved_Game(const std::string& path);

// Takes up a saved game ("" for the newest) from the menu: the model, the random generator, the
// computer's side and level and the options rows become the saved game's, and the state becomes
// STATE_PLAYING with no new game pending, so the state machine runs the usual transition into play.
// A game that is missing, played by another copy, or cannot be resumed is refused with one message
// naming the file and what is wrong (in a message box for --resume in a window, else in the window);
// a file that cannot be read is kept, set aside; the game stays in the menu, and false returns.
bool Resume_Saved_Game(const std::string& path);
// Asks the next pass of the main loop in the menu to resume a saved game ("" for the newest; from
// --resume, a message box says why it cannot).
void Request_Resume(const std::string& path = "", bool from_command_line = false);
bool Take_Resume_Request(std::string* path);

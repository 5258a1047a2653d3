// Finding the folder with the game's art and templates, the folder the game then runs in, and the
// folders it writes to.
#pragma once

#include <string>
#include <vector>

// A folder holds the game's data when it has the menu picture and the crossing's template.
bool Is_Data_Dir(const std::string& dir);
// Without --data: next to the binary (a build tree), then the installed data folder, first by the way
// `from_exe` leads there from the binary's folder (as installed: "../share/games/orvalis"), then the
// configured `install_dir`. Returns the first that holds the data, or "" with *tried listing every
// folder looked at.
std::string Find_Data_Dir(const std::string& exe_dir, const std::string& from_exe,
                          const std::string& install_dir, std::vector<std::string>* tried);
// Where F12 screenshots go: the XDG pictures folder, else the data home; created when missing.
std::string Screenshot_Dir();
// Creates the debug log "d-bug_log.txt" empty (as at every start) in `run_dir`, the folder the game
// runs in, when it is given and can be written there, else in `state_dir` (created when missing).
// Returns the file's path, or "" when neither folder takes it.
std::string Create_Debug_Log(const std::string& run_dir, const std::string& state_dir);

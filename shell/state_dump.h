// The game state as JSON, for scripted runs and their tests.
#pragma once

#include <string>

// The whole state: screen state, players, board, current block and menu, as a JSON text.
std::string Game_State_Json();
// Writes Game_State_Json to a file (atomically); 1 on success.
int Write_Game_State(const char* path);
// Writes the last presented frame as a 640 x 480 PNG (atomically); 1 on success, else 0 with *error
// (when given) saying why.
int Write_Screenshot(const char* path, std::string* error = nullptr);

// Start-up and shutdown of the art: Game_Init brings up the display, seeds the random generator and
// loads every art file into the global BOBs; Game_Shutdown releases them and the display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/bobs.h"

// The seed Game_Init gives the random generator; -1 (the default) takes the tick count, which
// Game_Init then stores here.
extern int64_t start_seed;

int Game_Init();
int Game_Shutdown();
// The art files the last Game_Init could not load (missing or damaged), in loading order, and how
// many art files it loads in all.
const std::vector<std::string>& Unreadable_Art_Files();
int Art_File_Count();

// The shelf of unfinished games: a folder with one file a game (game-ID.json, and saved-game.json as
// earlier versions of the game wrote their one save), listed newest first with what a player needs to
// choose one. A file that cannot be read is moved aside under a numbered name that no other file has,
// so that it is kept and never written over; each game has a lock file, held by the copy of the game
// that plays it, so two copies never play (and save) one game; past the last ten the oldest go.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "save/saved_game.h"

// How many unfinished games the shelf keeps.
constexpr int SHELF_KEEP = 10;

struct ShelfGame {
  std::string path;
  int64_t saved_at = 0;  // the file's time, seconds since 1970
  uint8_t current_player = 0;
  int32_t round = 1;          // the turn as the scoreboard counts it: blue's turns, plus one
  int32_t treasures[2] = {};  // player 1's, player 2's
  int32_t computer_player = 0;
  bool elsewhere = false;  // being played by another copy of the game now
};

// What the shelf did with a file it could not read: named with why, and where it is kept now (or
// "" when it could not be moved).
struct ShelfProblem {
  std::string path, why, kept_as;
};

// What the shelf tells of a game (its file's time as it is now).
ShelfGame Shelf_Summary(const std::string& path, const SavedGame& game);
// The game files of the folder, newest first (nothing is read).
std::vector<std::string> Shelf_Files(const std::string& folder);
// The unfinished games of the folder, newest first, up to `count` that are not being played elsewhere
// (a game whose lock another process holds is listed too, with `elsewhere`; `own_game` is the game
// file this process plays, whose lock is not another's). A file that cannot be read is moved aside
// (saved-game-unreadable-STAMP.json, -2, -3, ...) and told in *problems.
std::vector<ShelfGame> Read_Shelf(const std::string& folder, const std::string& own_game,
                                  std::vector<ShelfProblem>* problems, size_t count = SHELF_KEEP);

// A file name for a new game in the folder: game-ID.json with an identity no file has.
std::string New_Shelf_Path(const std::string& folder);
// The lock file of a game's file.
std::string Shelf_Lock_Path(const std::string& game_path);
// Removes the lock files no game file goes with (the game was deleted by hand) and no one holds.
void Remove_Orphan_Locks(const std::string& folder);
// Removes a game's file and its lock file (which the caller holds and releases after).
void Remove_Shelf_Game(const std::string& game_path);
// Removes the oldest games of the folder past the newest `keep`, never `protect` (which counts among
// them) nor a game another copy is playing; a file among them that cannot be read is set aside, not
// removed (told in *problems). Returns how many went.
int Drop_Oldest_Games(const std::string& folder, const std::string& protect, int keep,
                      std::vector<ShelfProblem>* problems);

// The help overlay's pages, drawn over whatever the back surface holds: page one tells how to play
// with the game's own pictures beside the words; page two lists every setting with its value, which a
// click changes; page three lists the unfinished games, to continue or delete. The shell runs the overlay (screens/front draws it and says what lies under a point).
#pragma once

#include <cstdint>

enum HelpPage : int32_t { HELP_HOW_TO_PLAY = 0, HELP_SETTINGS = 1, HELP_GAMES = 2, HELP_PAGE_COUNT = 3 };

#include <string>
#include <vector>

// An unfinished game as the games page lists it.
struct HelpGame {
  std::string when;    // "today 14:02", "2024-05-03 21:40"
  std::string detail;  // which turn, whose turn, the treasures, in few words
  std::string about;   // the same in a sentence, shown while the pointer is on its row
};

// What the pages offer besides the settings: the lines about the settings file (its faults, by
// line), the window scale the screen leaves room for when it is not the one asked for, the gamepad's
// controls (when one is plugged in), and the unfinished games with their buttons to continue or
// delete each (the buttons only while `games_open`; a delete asks first: `delete_armed` is the row
// whose button now says so).
struct HelpExtras {
  std::vector<std::string> status;
  std::string scale_used;  // "1.95 x", or "" when the window has the scale asked for
  std::vector<std::string> pad_lines;
  std::vector<HelpGame> games;
  bool games_open = false;
  int delete_armed = -1;
};

// What lies under a point of the overlay: a tab (the page it shows), a setting's row (its SettingId),
// a game's continue or delete button (its row), or nothing (-1).
struct HelpHit {
  int32_t page = -1;
  int32_t setting = -1;
  int32_t continue_game = -1;
  int32_t delete_game = -1;
};
HelpHit Help_Hit(int32_t page, int x, int y, const HelpExtras& extras);

// Draws the page and the pointer at (pointer_x, pointer_y) onto the back surface. Every BOB it draws
// keeps its position and frame.
void Draw_Help(int32_t page, int pointer_x, int pointer_y, const HelpExtras& extras);

// F1 as the overlay sees it: whether the person pressed it since the last look. The brick-wall
// transitions look at every frame they show, so a press during one waits until it has ended.
void Watch_Help_Key();
bool Take_Help_Key();

// The help overlay's pages, drawn over whatever the back surface holds: page one tells how to play
// with the game's own pictures beside the words; page two lists every setting with its value, which a
// click changes. The shell runs the overlay (screens/front draws it and says what lies under a point).
#pragma once

#include <cstdint>

enum HelpPage : int32_t { HELP_HOW_TO_PLAY = 0, HELP_SETTINGS = 1, HELP_PAGE_COUNT = 2 };

#include <string>
#include <vector>

// What the settings page offers besides the settings: the line about the settings file, the button
// that resumes the last game (when there is one to resume), and the gamepad's controls (when one is
// plugged in).
struct HelpExtras {
  std::string status;
  bool can_resume = false;
  std::vector<std::string> pad_lines;
};

// What lies under a point of the overlay: a tab (the page it shows), a setting's row (its SettingId),
// the resume button, or nothing (-1, false).
struct HelpHit {
  int32_t page = -1;
  int32_t setting = -1;
  bool resume = false;
};
HelpHit Help_Hit(int32_t page, int x, int y, const HelpExtras& extras);

// Draws the page and the pointer at (pointer_x, pointer_y) onto the back surface. Every BOB it draws
// keeps its position and frame.
void Draw_Help(int32_t page, int pointer_x, int pointer_y, const HelpExtras& extras);

// F1 as the overlay sees it: whether the person pressed it since the last look. The brick-wall
// transitions look at every frame they show, so a press during one waits until it has ended.
void Watch_Help_Key();
bool Take_Help_Key();

// The computer's levels as tables of named settings: how widely a turn is searched, how much the
// opponent counts, and how a position is valued.
#pragma once

#include <cstdint>

#include "opponent/opponent.h"
#include "opponent/simulate.h"

// How widely one turn is searched.
struct Breadth {
  bool stand_anywhere = true;  // may walk anywhere in the region before an action (else acts where it stands)
  int max_stands = 12;         // standing squares tried per position
  int build = 6;               // candidates made into whole positions per depth
  int beam = 2;                // positions carried to the next depth
  int max_depth = 5;           // actions searched in a row
  double noise = 0;            // up to this much added to or taken from a candidate's score
  double opponent = 0;         // how much the opponent's score counts against its own
  int64_t unit_cap = 6000;     // the most units the search spends; past it, the best position found so far
  int64_t way_out_units = 3000;  // when no action gets further than standing still: units spent on a way out
};

struct Params {
  Breadth turn;                 // its own turn
  int outlooks = 0;             // the best plans judged again by what follows them
  Breadth answer;               // the opponent's turn, searched as the normal level would play it
  int next_stands = 0;          // its own next action after that: standing squares tried
  double outlook_opponent = 0;  // how much the opponent's score counts in that judgement
  Weights weights;
  bool restless = false;  // a long game: noise, and never a turn without an action
};

// The level's table.
Params Level_Params(ComputerLevel level);
// The level's table for a turn of a game in which the player has played `turns_played` turns, against
// an opponent that has let the board be for `idle_answers` of its turns in a row (a side that only
// ends its turn: nothing to weigh against, nothing to foresee).
Params Turn_Params(ComputerLevel level, int32_t turns_played, int32_t idle_answers);

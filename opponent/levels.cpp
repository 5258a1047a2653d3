// The levels: easy picks one noisy action at a time from where it stands; normal searches its own
// shifts, turns and walks of the turn; hard searches wider, weighs the opponent's position and judges
// its best plans by the opponent's answer and its own next action.
#include "opponent/levels.h"

#include <algorithm>

namespace {

constexpr Breadth kNormal{};

// The opponent's turn as hard foresees it: the normal level's search, in less work.
constexpr Breadth kAnswer{.unit_cap = 3000, .way_out_units = 0};

constexpr Breadth kEasy{.stand_anywhere = false,
                        .max_stands = 1,
                        .build = 1,
                        .beam = 1,
                        .max_depth = 5,
                        .noise = 800.0,
                        .unit_cap = 600,
                        .way_out_units = 300};

constexpr Breadth kHard{
    .max_stands = 32, .build = 12, .beam = 5, .opponent = 0.3, .unit_cap = 25000, .way_out_units = 10000};

// A last resort, which the planner's memory of the game makes unneeded in the games measured: a game
// this long has gone round in circles that no plan breaks. From here on every level lets noise into
// its choice, more with each turn, as easy always does, so the circle breaks and the game goes on.
constexpr int32_t RESTLESS_AFTER_TURNS = 100;
constexpr double RESTLESS_NOISE_PER_TURN = 8.0;

}  // namespace

Params Level_Params(ComputerLevel level) {
  switch (level) {
    case LEVEL_EASY:
      return Params{.turn = kEasy, .answer = kNormal};
    case LEVEL_HARD:
      return Params{
          .turn = kHard, .outlooks = 12, .answer = kAnswer, .next_stands = 16, .outlook_opponent = 0.5};
    default:
      return Params{.turn = kNormal, .answer = kNormal};
  }
}

// Turns in a row an opponent leaves the board as it was before the hard level stops weighing it.
constexpr int32_t IDLE_OPPONENT_TURNS = 1;

Params Turn_Params(ComputerLevel level, int32_t turns_played, int32_t idle_answers) {
  Params p = Level_Params(level);
  // Against an opponent that does nothing, what the hard level weighs of it, and its wider searches for
  // a better score, only cost it turns (measured alone: about half a turn a game): it plays the normal
  // level's turn then.
  if (level == LEVEL_HARD && idle_answers >= IDLE_OPPONENT_TURNS) p = Level_Params(LEVEL_NORMAL);
  p.restless = turns_played > RESTLESS_AFTER_TURNS;
  if (p.restless)
    p.turn.noise =
        std::max(p.turn.noise, std::min(Level_Params(LEVEL_EASY).turn.noise,
                                        RESTLESS_NOISE_PER_TURN * (turns_played - RESTLESS_AFTER_TURNS)));
  return p;
}

// The soak: random but legal play of the real game on the headless backend, driven through the
// shell's window procedure and state frames one message per pass, with the game's invariants
// checked after every pass and every transition frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SoakConfig {
  uint32_t seed = 1;
  int64_t frames = 20000;    // passes of the main loop
  int keep_violations = 20;  // how many violation messages the report keeps
  // The computer plays both sides of every game, its level going round easy, normal, hard; the random
  // hand only works the menu and the results. The soak then ends after `games` games have ended (won
  // or stopped), or after `frames` passes.
  bool computer = false;
  int64_t games = 0;
  int64_t stop_after_turns = 400;  // a game whose players have ended this many turns between them is left
  int64_t turn_limit = 300;        // a computer game that reaches this many turns breaks the soak's checks
};

struct SoakReport {
  int64_t frames = 0;
  int64_t transition_frames = 0;
  int64_t games_started = 0;
  int64_t games_won = 0;
  int64_t games_left = 0;     // left for the menu with Escape
  int64_t games_stopped = 0;  // computer games left at the turn limit without a winner
  int64_t turns_ended = 0;
  int64_t moves = 0;  // steps that changed a player's square or block
  int64_t shifts = 0;
  int64_t rotations = 0;
  int64_t cheats = 0;  // games in which the cheat key was held
  int64_t quits = 0;   // quit requests taken from the queue (the soak plays on)
  int64_t violations = 0;
  std::vector<std::string> first_violations;
};

// What the checks remember from one look at the game to the next.
struct SoakWatch {
  int32_t last_state = 9;
  bool game_started = false;   // New_Game has run: numbers, positions and the board are real
  bool cheated = false;        // the cheat key was held in the game being played
  int32_t turns_checked = -1;  // the turn count at which the game was last checked as a save
};

// Checks every invariant of the game's globals; appends one message per broken one. `pass_end` is
// true after a whole pass (the state may have changed), false inside a transition.
void Check_Invariants(SoakWatch& watch, bool pass_end, std::vector<std::string>* broken);

// Opens the headless backend, starts the game (the working directory must hold its data), plays
// for config.frames passes and shuts down. Returns the report.
SoakReport Run_Soak(const SoakConfig& config);

// The report as a few lines of text.
std::string Format_Soak_Report(const SoakReport& report);

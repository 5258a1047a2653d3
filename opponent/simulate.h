// The planner's own copy of a game: moves carried out on it exactly as the playing screen carries
// them out (through the rules' explicit forms), and the scoring of a position for one player.
#pragma once

#include <cstdint>
#include <vector>

#include "game/reach.h"
#include "opponent/opponent.h"

// A position the planner plays forward. Only ever made by copying (a default Board would draw rand).
struct Sim {
  Board board;
  PlayerState p1, p2;
  uint8_t current;

  explicit Sim(const PlanPosition& p);
  Sim(const Sim&) = default;
  Sim& operator=(const Sim&) = default;

  Players View() { return Players{p1, p2, current}; }
  PlayerState& Mover() { return current == 1 ? p1 : p2; }
  const PlayerState& Mover() const { return current == 1 ? p1 : p2; }
  PlayerState& Other() { return current == 1 ? p2 : p1; }
  const PlayerState& Other() const { return current == 1 ? p2 : p1; }
  bool Mover_Is_P1() const { return current == 1; }
  bool Over() const { return p1.winner != 0 || p2.winner != 0; }
};

// The model's work after each input, as the playing frame does it: pickups for the player to move,
// the end test, and both players' block numbers.
void Frame(Sim& s);
// The two positions agree in everything the planner reads (the sprites and block numbers aside).
bool Same_Position(const Sim& s, const PlanPosition& p);
bool Same_Position(const Sim& a, const Sim& b);
// The same, except that where the planner's rotation left a square unknown (a 'z' cell taken as
// blocked), the real position may hold whatever the real rotation drew there.
bool As_Predicted(const Sim& s, const PlanPosition& p);

// Whether the move is legal, affordable and changes something now.
bool Move_Allowed(const Sim& s, const ComputerMove& m);
// Carries the move out as the shell would: a walk step by step with a frame after each (stopping at
// a win), a paid shift or rotation with a frame after it (a rotation's new 'z' squares taken as
// blocked), or the end of the turn. False, with nothing done, when the move is not allowed.
bool Carry_Out(Sim& s, const ComputerMove& m, std::vector<int32_t>& scratch_steps);

ComputerMove Walk_Move(int square);
ComputerMove Shift_Move(bool column, int32_t line, uint8_t direction);
ComputerMove Rotate_Move(int32_t bx, int32_t by);
ComputerMove End_Turn_Move();

// ---- Scoring -------------------------------------------------------------------------------------

// How a level values a position; a treasure is worth 1000.
struct Weights {
  double treasure = 1000;
  double distance_first = 70;  // per action the way to the nearest goal needs (a goal block in the
                               // region whose square is out of reach counts as one)
  double distance_rest = 12;   // per action to each further goal
  double action = 45;          // per action beyond the one every turn brings
  double key_needed = 160;     // per key held or reachable, up to the locked goals that need one
  double key_spare = 12;       // per key beyond that
  double key_missing = 90;     // per locked goal with no key for it, plus the way to the nearest key
  double region_block = 4;     // per block the region spans
  double round_trip = 600;     // a turn the opponent's answer would undo, everything back as it was
  double repeat = 300;         // a plan that leads back to a position of this game seen before
  int32_t stall_turns = 3;     // turns without getting further along its goals before a side presses on
  double step = 1.0;           // per arrow step the turn's walks take: a person watches every one
  int32_t near_steps = 16;     // a token or key further than this is fetched only when it is needed
  int32_t turn_steps = 60;     // a treasure beyond the turn's walking so far and this waits for a later turn
  int32_t long_walk = 80;      // nor does the turn's first walk go further for one: it walks towards it
  double end_step = 0.8;       // the walk to where the turn ends: per step, against a square nearer the goal
  int32_t end_steps = 20;      // and at most this long
  double next_action = 0.5;    // the share of what the next turn's first action adds
  double outlook_share = 0.5;  // the share of the outlook in judging a plan, beyond its own score
  double outlook_doubt = 100;  // outlook differences up to this are within its guesswork
  double way_out = 30;         // what two actions must gain over one before a step back is taken
};
constexpr double SCORE_WIN = 1.0e6;

// What a position is worth to one player standing where it stands, counting everything its walk can
// still take without an action (treasures, keys, tokens) as taken; SCORE_WIN when the walk ends the
// game. `reach` is that player's reach on the board. `actions` are the actions it will have. With
// `progress`, also how far along its goals it is (which other gains do not move): the treasures it
// takes by 256, less the way to the nearest goal left in quarters of an action; PROGRESS_WIN for a win.
double Score_Position(const Board& b, const PlayerState& p, bool is_player1, const ReachRegion& reach,
                      int32_t actions, const Weights& w, int32_t* progress = nullptr);
constexpr int32_t PROGRESS_WIN = 1 << 20;
// The goal the player heads for next (nearest by blocks): a block of its treasure, else a home mark's
// block. False when there is none.
bool Next_Goal(const Board& b, const PlayerState& p, bool is_player1, const ReachRegion& reach, int32_t& gx,
               int32_t& gy);

// The modern comforts of the playing screen, each a setting that is off by default (and all off, the
// playing screen is the classic one): the question before leaving a game, the feedback line and the
// scoreboard, the marks on the board overview and the reachable squares, the moves shown. The step delay and
// the W A S D keys live in the input step.
#pragma once

#include <cstdint>
#include <string>

#include "game/model.h"

// ---- Ask before leaving ----

enum LeaveKind : int32_t { LEAVE_NONE = 0, LEAVE_TO_MENU = 1, LEAVE_QUIT = 2 };
// Whether the question is up (the game underneath waits, the computer's hand too).
bool Leave_Question_Open();
// Asks before leaving the game for the menu, or before quitting (the window was closed). Asked to
// quit while the question to quit is already up, it quits.
void Ask_Before_Leaving(LeaveKind kind);
// The question's input for a frame, while it is up: Return leaves, Escape stays (each on release).
void Leave_Question_Input();
void Draw_Leave_Question();
// Forgets the question (a run that starts over).
void Reset_Comforts();

// ---- Feedback and scoreboard ----

// A short line shown for a while on the playing screen when the feedback comfort is on.
void Note_Feedback(const char* text);
// The line on show now, or "".
const char* Feedback_Line();
// What the player to move holds before the frame's actions, and the line their change gives after.
struct MoverCounts {
  uint8_t player = 2;
  int32_t treasures = 0, keys = 0, actions = 0;
};
MoverCounts Mover_Counts();
void Note_Gains(const MoverCounts& before);
// A step that went nowhere because a locked door needs a key the player does not have.
void Note_Step(const PlayerState& before, const PlayerState& after, int32_t direction, const Board& b);
// A shift or a turn that was refused: why.
void Note_Refused_Shift();
void Note_Refused_Turn(const MazeBlock& block);
// The feedback line and the scoreboard, over the top of the playing screen.
void Draw_Feedback_And_Scores();

// ---- Show moves ----

// After the overview is drawn, with the comfort on: the slide of the row or column shifted since the
// last frame, or the turn of the block turned since, over their cells for a few frames. Drawing only.
void Show_Moves(const Board& b);
void Reset_Show_Moves();

// ---- Board marks and reachable squares ----

// Works out, once a frame, what the marks of this frame need (the squares the player to move reaches).
void Prepare_Board_Marks(const Board& b);
// Whether the overview tints the cell under the pointer (not when the board marks show it instead).
bool Hover_Tint_Shown();
// The marks of overview cell (bx, by) at (x, y): pawns, the shown block, keys, tokens, locked
// blocks, the pointer's cell and the blocks in reach.
void Draw_Cell_Marks(const Board& b, int bx, int by, int x, int y, bool pointer_over);
// The light on square (sx, sy) of the block the detail view shows, at (x, y), when it is in reach.
void Draw_Square_Reach(const MazeBlock& shown, int sx, int sy, int x, int y);

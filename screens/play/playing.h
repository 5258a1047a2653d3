// The playing screen: its input step (keys, the end-of-turn button), the drawing pass with the
// shift buttons and overview cells, and the frame function of the playing state.
#pragma once

#include <cstdint>

#include "game/model.h"

// Latches of the playing screen; they live for the whole run and a new game does not clear them.
extern uint8_t return_latch, left_key_latch, right_key_latch, up_key_latch, down_key_latch;
extern uint8_t left_press_latch, right_press_latch;
extern int32_t press_x, press_y;
// The last layer files read by the detail view, [x][y].
extern int32_t wall_layer[8][8];
extern int32_t floor_layer[8][8];

int Playing_Input(Board& b);
void Draw_Playing_Screen(Board& b);
void Draw_Block_Detail(MazeBlock block);
void Draw_Panel(int x, int y, int rows, int cols);
void Draw_Actions_Row();
void Draw_Treasures_Row();
void Draw_Keys_Row();
// The frame function of the playing state; the argument is not used.
int Play_Frame(int unused);

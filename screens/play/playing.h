// The playing screen: its input step (keys, the end-of-turn button), the drawing pass with the
// shift buttons and overview cells, and the frame function of the playing state.
#pragma once

#include <cstdint>

#include "game/model.h"
#include "screens/play/layout.h"

// Latches of the playing screen; they live for the whole run and a new game does not clear them.
extern uint8_t return_latch, left_key_latch, right_key_latch, up_key_latch, down_key_latch;
extern uint8_t left_press_latch, right_press_latch;
extern int32_t press_x, press_y;
// The last layer files read by the detail view, [x][y].
extern int32_t wall_layer[8][8];
extern int32_t floor_layer[8][8];


// Clears the playing screen's latches and the recorded press, and shows the end-of-turn button up, for
// a run that starts over in the same process.
void Reset_Play_State();

int Playing_Input(Board& b);
void Draw_Playing_Screen(Board& b);
void Draw_Block_Detail(MazeBlock block);
void Draw_Panel(int x, int y, int rows, int cols);
void Draw_Actions_Row();
void Draw_Treasures_Row();
void Draw_Keys_Row();
// The frame function of the playing state; the argument is not used.
int Play_Frame(int unused);

// Shared by the input step and the drawing pass.

// The pointer strictly inside the rectangle: left < x < left + width, top < y < top + height.
bool Pointer_Over(int left, int top, int width, int height);

enum ClickResult { CLICK_NONE = 0, CLICK_PRESSED = 1, CLICK_FIRED = 2 };
// One frame of the click protocol for one control: a press (button state equal to `button`) over it
// records the pointer and sets the latch; a release on exactly the recorded pixel over it clears the
// latch and fires.
ClickResult Click_Control(int left, int top, int width, int height, int32_t button, uint8_t& latch);
// Draws a BOB in the given frame; a frame the BOB does not have draws nothing. Returns 1 when drawn.
int Draw_Frame_BOB(BOB& bob, int32_t frame);

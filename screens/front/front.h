// The front-end screens: the main menu with its options overlay, the results screen, and the
// brick-wall transitions between states.
#pragma once

#include <cstdint>

// Menu globals; they keep their values for the whole run.
extern uint8_t menu_open, options_open, options_click_latch, start_armed;
extern int32_t menu_panel_w, menu_panel_h, menu_button_w, menu_button_h;
extern int32_t menu_origin_x, menu_origin_y;

// Puts the menu's globals, the menu panel's position and both option rows back to their start-up
// values (a closed, ungrown menu, the first picture of each option, item_density 0), for a run that
// starts over in the same process.
void Reset_Menu_State();

void Menu_Frame();
// Background, stretched panel and the three buttons; (w, h) are clamped to 76 x 35 locally.
void Draw_Menu(int x, int y, int w, int h);
// Hit-tests the three buttons; returns the new value of options_open.
uint8_t Menu_Input(uint8_t overlay);
void Draw_Options(int x, int y);
// Hit-tests the two option rows; returns the new value of options_click_latch.
uint8_t Options_Input(uint8_t latch);

void Results_Frame();
// The results content over whatever the back surface holds (no fill).
void Draw_Results();
// The grade letter, padded with a space each side, for a winner's turn count: A up to 25, B up to 49,
// C up to 99, F from 100.
const char* Results_Grade(int32_t turns);

void Menu_To_Game();
void Game_To_Menu();
void Game_To_Results();
void Results_To_Menu();
// Whether a transition has frames left to draw, and its next frame. The transitions above run whole
// unless the host draws one frame a pass (Platform_One_Frame_Per_Pass): then they only start, and the
// main loop draws a frame a pass until the last.
bool Transition_Running();
void Transition_Frame();

// Called after each flipped frame of a transition with its index, 0 to 78; null unless a tool or a
// test wants to see the frames the blocking loop otherwise keeps to itself.
extern void (*transition_frame_hook)(int frame);

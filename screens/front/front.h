// The front-end screens: the main menu with its options overlay, the results screen, and the
// brick-wall transitions between states.
#pragma once

#include <cstdint>

// Menu globals; they keep their values for the whole run.
extern uint8_t menu_open, options_open, options_click_latch, start_armed;
extern int32_t menu_panel_w, menu_panel_h, menu_button_w, menu_button_h;
extern int32_t menu_origin_x, menu_origin_y;

void Menu_Frame();
void Draw_Menu(int x, int y, int w, int h);
uint8_t Menu_Input(uint8_t overlay);
void Draw_Options(int x, int y);
uint8_t Options_Input(uint8_t latch);

void Results_Frame();
void Draw_Results();

void Menu_To_Game();
void Game_To_Menu();
void Game_To_Results();
void Results_To_Menu();

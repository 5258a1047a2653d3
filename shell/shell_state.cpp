#include "shell/shell_state.h"

GameState game_state = STATE_MAIN_MENU;
int32_t mouse_x = 0;
int32_t mouse_y = 0;
int32_t mouse_buttons = 0;
uint8_t escape_latch = 0;

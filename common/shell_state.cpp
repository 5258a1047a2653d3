#include "common/shell_state.h"

#include "platform/platform.h"

GameState game_state = STATE_MAIN_MENU;
int32_t mouse_x = 0;
int32_t mouse_y = 0;
int32_t mouse_buttons = 0;
uint8_t escape_latch = 0;
ContinueOffer continue_offer;
bool game_kept = false;

void Request_Quit() { Platform_Post_Quit(0); }

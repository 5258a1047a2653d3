// The main menu: the slide-in panel with its start, options and quit buttons, and the options
// overlay that chooses the token and key amount of a new game.
#include <algorithm>
#include <string>

#include "common/bobs.h"
#include "common/panel_text.h"
#include "common/shell_state.h"
#include "game/model.h"
#include "graphics/bob.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "platform/platform.h"
#include "screens/front/front.h"
#include "settings/settings.h"
#include "sound/sound.h"

uint8_t menu_open = 0;
uint8_t options_open = 0;
uint8_t options_click_latch = 0;
uint8_t start_armed = 0;
int32_t menu_panel_w = 0, menu_panel_h = 0;
int32_t menu_button_w = 0, menu_button_h = 0;
int32_t menu_origin_x = 335, menu_origin_y = 250;

namespace {

// The options row's second picture shows what the settings say: two people, or VS COMPUTER.
void Show_Computer_Side() {
  BOB_option_switch.current_frame = Active_Setting(SETTING_COMPUTER_SIDE) != 0 ? 1 : 0;
}

// Hit boxes: the buttons' boxes keep this size whatever size the pictures are drawn at.
constexpr int BUTTON_HIT_W = 76, BUTTON_HIT_H = 35;
constexpr int OPTION_W = 150, OPTION_H = 35, SWITCH_HIT_W = 170;
// The growth stops at the first panel width not below this (240 after 30 steps).
constexpr int PANEL_GROWN_W = 235;

// Strict on all four sides: the edges themselves miss.
bool Hit(const BOB& bob, int width, int height) {
  return mouse_x > bob.x && mouse_x < bob.x + width && mouse_y > bob.y && mouse_y < bob.y + height;
}

// ---- The offer to continue an unfinished game, drawn only while there is one ----

constexpr int OFFER_RIGHT = 630, OFFER_Y = 432, OFFER_LINE = 18;
constexpr uint32_t OFFER_GOLD = Text_Rgb(255, 214, 120), OFFER_LIGHT = Text_Rgb(236, 222, 196);
constexpr uint32_t OFFER_SHADOW = Text_Rgb(12, 8, 4);
bool offer_key_held = false;

int Offer_Left() {
  const int w = std::max(Text_Width(continue_offer.title.c_str()), Text_Width(continue_offer.detail.c_str()));
  return OFFER_RIGHT - w;
}

void Draw_Offer_Line(const std::string& text, int y, uint32_t color) {
  const int x = OFFER_RIGHT - Text_Width(text.c_str());
  Draw_Text_RGB(text.c_str(), x + 1, y + 1, OFFER_SHADOW, display.back_surface);
  Draw_Text_RGB(text.c_str(), x, y, color, display.back_surface);
}

void Draw_Continue_Offer() {
  if (!continue_offer.shown) return;
  Draw_Offer_Line(continue_offer.title, OFFER_Y, OFFER_GOLD);
  Draw_Offer_Line(continue_offer.detail, OFFER_Y + OFFER_LINE, OFFER_LIGHT);
}

// The offer is taken by its key, C, on the press, or by a left press on its two lines.
void Continue_Offer_Input() {
  const bool held = Platform_Key_Held(VK_C);
  const bool pressed = held && !offer_key_held;
  offer_key_held = held;
  if (!continue_offer.shown) return;
  const bool clicked = mouse_buttons == 1 && mouse_x >= Offer_Left() - 4 && mouse_x <= OFFER_RIGHT + 4 &&
                       mouse_y >= OFFER_Y - 4 && mouse_y < OFFER_Y + 2 * OFFER_LINE + 2;
  if (pressed || clicked) continue_offer.taken = true;
}

void Draw_Background_And_Panel() {
  Draw_BOB(&BOB_menu_background, display.back_surface);
  Draw_Scaled_BOB(&BOB_menu_panel, menu_panel_w, menu_panel_h, display.back_surface, 1);
}

}  // namespace

void Reset_Menu_State() {
  menu_open = options_open = options_click_latch = start_armed = 0;
  menu_panel_w = menu_panel_h = menu_button_w = menu_button_h = 0;
  menu_origin_x = 335;
  menu_origin_y = 250;
  BOB_menu_panel.x = 340;
  BOB_menu_panel.y = 355;
  BOB_option_amount.current_frame = 0;
  BOB_option_switch.current_frame = 0;
  item_density = 0;
  offer_key_held = false;
}

void Menu_Frame() {
  Draw_BOB(&BOB_menu_background, display.back_surface);

  if (options_open == 0 && menu_open == 1) {
    if (menu_panel_w < PANEL_GROWN_W) {
      menu_panel_w += 8;
      menu_panel_h += 8;
      menu_button_w += 2;
      menu_button_h += 2;
      BOB_menu_panel.x -= 4;
      BOB_menu_panel.y -= 4;
      menu_origin_x -= 1;
      menu_origin_y -= 1;
    }
    Draw_Menu(menu_origin_x, menu_origin_y, menu_button_w, menu_button_h);
  } else if (options_open == 1 && menu_open == 1) {
    Draw_Options(menu_origin_x, menu_origin_y);
  }

  // Escape acts once, on release: it closes the overlay, or with the overlay closed ends the run.
  if (Platform_Key_Held(VK_ESCAPE)) {
    escape_latch = 1;
  } else if (escape_latch == 1 && options_open == 1) {
    options_open = 0;
    escape_latch = 0;
  } else if (escape_latch == 1 && options_open == 0) {
    escape_latch = 0;
    Request_Quit();
  }

  if (options_open == 0 && menu_open == 1) {
    options_open = Menu_Input(options_open);
  } else if (options_open == 1 && menu_open == 1) {
    options_click_latch = Options_Input(options_click_latch);
  }

  // The growth starts with the next frame.
  if (Platform_Key_Held(VK_RETURN) && menu_open == 0) {
    menu_open = 1;
    Play_Sound(SOUND_PANEL_GROW);
  }

  // Draw_Menu and Draw_Options show the offer; the title shows it here.
  if (menu_open == 0) Draw_Continue_Offer();
  Continue_Offer_Input();

  BOB_mouse.x = mouse_x;
  BOB_mouse.y = mouse_y;
  Draw_BOB(&BOB_mouse, display.back_surface);

  Wait_For_Vsync();
  Flip_Display();
  Wait_Clock(60);
}

void Draw_Menu(int x, int y, int w, int h) {
  Draw_Background_And_Panel();

  // The buttons stop growing at 76 x 35 and then stand at fixed places; the globals grow on.
  if (w >= 77) {
    w = 76;
    x = 295;
  }
  if (h >= 36) {
    h = 35;
    y = 235;
  }

  BOB_button_start.x = x;
  BOB_button_start.y = y + 50;
  BOB_button_options.x = x;
  BOB_button_options.y = y + 100;
  BOB_button_quit.x = x;
  BOB_button_quit.y = y + 150;

  Draw_Scaled_BOB(&BOB_button_start, w, h, display.back_surface, 1);
  Draw_Scaled_BOB(&BOB_button_options, w, h, display.back_surface, 1);
  Draw_Scaled_BOB(&BOB_button_quit, w, h, display.back_surface, 1);
  Draw_Continue_Offer();
}

uint8_t Menu_Input(uint8_t overlay) {
  // The hit boxes keep their full size however small the pictures are drawn.
  const bool start_hit = Hit(BOB_button_start, BUTTON_HIT_W, BUTTON_HIT_H);

  if (start_hit && mouse_buttons == 1) {
    if (BOB_button_start.current_frame != 1) Play_Sound(SOUND_BUTTON);
    start_armed = 1;
    BOB_button_start.current_frame = 1;
  }
  // Start acts on release, and only after a press (or a held drag) over it.
  if (start_hit && mouse_buttons == 0 && start_armed == 1) {
    start_armed = 0;
    new_game_pending = 1;
    game_state = STATE_PLAYING;
    return overlay;
  }
  if (Hit(BOB_button_options, BUTTON_HIT_W, BUTTON_HIT_H) && mouse_buttons == 1) {
    if (BOB_button_options.current_frame != 1) Play_Sound(SOUND_BUTTON);
    BOB_button_options.current_frame = 1;
    return 1;
  }
  if (Hit(BOB_button_quit, BUTTON_HIT_W, BUTTON_HIT_H) && mouse_buttons == 1) {
    if (BOB_button_quit.current_frame != 1) Play_Sound(SOUND_BUTTON);
    BOB_button_quit.current_frame = 1;
    Request_Quit();
    return overlay;
  }
  if (mouse_buttons == 0) {
    BOB_button_start.current_frame = 0;
    BOB_button_options.current_frame = 0;
    BOB_button_quit.current_frame = 0;
    start_armed = 0;
  }
  return overlay;
}

void Draw_Options(int x, int y) {
  Draw_Background_And_Panel();

  BOB_option_amount.x = x - 55;
  BOB_option_amount.y = y + 80;
  BOB_option_switch.x = x - 55;
  BOB_option_switch.y = y + 160;
  Show_Computer_Side();

  Draw_Scaled_BOB(&BOB_option_amount, OPTION_W, OPTION_H, display.back_surface, 1);
  Draw_Scaled_BOB(&BOB_option_switch, OPTION_W, OPTION_H, display.back_surface, 1);
  Draw_Continue_Offer();
}

uint8_t Options_Input(uint8_t latch) {
  // One press steps an option once; the latch holds until the button is up.
  if (Hit(BOB_option_amount, OPTION_W, OPTION_H) && mouse_buttons == 1 && latch == 0) {
    BOB_option_amount.current_frame += 1;
    if (BOB_option_amount.current_frame == 1 || BOB_option_amount.current_frame == 2) {
      item_density = BOB_option_amount.current_frame;
    } else {
      BOB_option_amount.current_frame = 0;
      item_density = 0;
    }
    Play_Sound(SOUND_OPTION);
    return 1;
  }
  if (Hit(BOB_option_switch, SWITCH_HIT_W, OPTION_H) && mouse_buttons == 1 && latch == 0) {
    // The row changes who the computer plays for this run: player 1 against the person, or nobody.
    Settings s = Active_Settings();
    s.value[SETTING_COMPUTER_SIDE] = s.value[SETTING_COMPUTER_SIDE] == 0 ? 1 : 0;
    Set_Active_Settings(s);
    Show_Computer_Side();
    Play_Sound(SOUND_OPTION);
    return 1;
  }
  if (mouse_buttons == 0) return 0;
  return latch;
}

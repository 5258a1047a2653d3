// The brick-wall transitions: two walls close over the old screen, hold, and open over the new one.
// Each is a run of 79 flipped frames that reads no keys and takes no messages: a blocking loop, or,
// where the host draws the frames (the browser), one frame a pass of the main loop.
#include "game/model.h"
#include "graphics/bob.h"
#include "graphics/display.h"
#include "graphics/palette_lines.h"
#include "platform/platform.h"
#include "screens/front/front.h"
#include "screens/front/help.h"
#include "screens/play/playing.h"
#include "sound/sound.h"
#include "common/bobs.h"

void (*transition_frame_hook)(int frame) = nullptr;

namespace {

constexpr int CLOSE_FRAMES = 32, HOLD_FRAMES = 15, OPEN_FRAMES = 32;
constexpr int WALL_STEP = 10;
// The walls are drawn stretched a little past the screen so the seam and the edges stay covered.
constexpr int WALL_DRAWN_W = 650, WALL_DRAWN_H = 490;

using Screen_Pass = void (*)();

void Menu_Screen() { Draw_Menu(menu_origin_x, menu_origin_y, menu_button_w, menu_button_h); }
void Game_Screen() { Draw_Playing_Screen(board); }
void Results_Screen() { Draw_Results(); }

void Draw_Walls() {
  Draw_Scaled_BOB(&BOB_wall_left, WALL_DRAWN_W, WALL_DRAWN_H, display.back_surface, 1);
  Draw_Scaled_BOB(&BOB_wall_right, WALL_DRAWN_W, WALL_DRAWN_H, display.back_surface, 1);
}

// The transition under way: its two screens, the new screen's theme and the next frame's index.
struct Transition {
  Screen_Pass old_screen = nullptr;
  Screen_Pass new_screen = nullptr;
  MusicId new_theme = MUSIC_MENU;
  int frame = 0;
  bool running = false;
};
Transition transition;

void Present(int& frame) {
  Wait_For_Vsync();
  Flip_Display();
  Watch_Help_Key();
  if (transition_frame_hook) transition_frame_hook(frame);
  ++frame;
}

void Run_Transition(Screen_Pass old_screen, Screen_Pass new_screen, bool draw_panel, MusicId new_theme) {
  if (draw_panel) Draw_BOB(&BOB_menu_panel, display.back_surface);

  Show_BOB(&BOB_wall_right);
  Show_BOB(&BOB_wall_left);
  BOB_wall_left.current_frame = 0;
  BOB_wall_right.current_frame = 0;
  BOB_wall_left.x = -320;
  BOB_wall_right.x = 320;

  transition = Transition{old_screen, new_screen, new_theme, 0, true};
  Play_Sound(SOUND_WALLS_CLOSE);
  // Where the host draws the frames (the browser), the main loop runs the rest a pass at a time.
  if (Platform_One_Frame_Per_Pass()) return;
  while (transition.running) Transition_Frame();
}

}  // namespace

bool Transition_Running() { return transition.running; }

// The walls close over the old screen, hold, and open over the new one, a frame a call.
void Transition_Frame() {
  Transition& t = transition;
  if (!t.running) return;
  if (t.frame < CLOSE_FRAMES) {
    t.old_screen();
    Draw_Walls();
    Present(t.frame);
    BOB_wall_left.x += WALL_STEP;
    BOB_wall_right.x -= WALL_STEP;
  } else if (t.frame < CLOSE_FRAMES + HOLD_FRAMES) {
    // Nothing is drawn under the closed walls; the back surface keeps what it holds.
    if (t.frame == CLOSE_FRAMES) Play_Sound(SOUND_WALLS_SLAM);
    Draw_Walls();
    Present(t.frame);
  } else {
    if (t.frame == CLOSE_FRAMES + HOLD_FRAMES) {
      Set_Palette(black_palette);
      Draw_BOB(&BOB_wall_left, display.back_surface);
      Draw_BOB(&BOB_wall_right, display.back_surface);
      Play_Sound(SOUND_WALLS_OPEN);
      Play_Theme(t.new_theme);
    }
    t.new_screen();
    Draw_Walls();
    Present(t.frame);
    BOB_wall_left.x -= WALL_STEP;
    BOB_wall_right.x += WALL_STEP;
  }
  if (t.frame < CLOSE_FRAMES + HOLD_FRAMES + OPEN_FRAMES) return;
  t.running = false;
  Hide_BOB(&BOB_wall_right);
  Hide_BOB(&BOB_wall_left);
}

void Menu_To_Game() { Run_Transition(Menu_Screen, Game_Screen, true, MUSIC_PLAY); }
void Game_To_Menu() { Run_Transition(Game_Screen, Menu_Screen, true, MUSIC_MENU); }
void Game_To_Results() { Run_Transition(Game_Screen, Results_Screen, false, MUSIC_RESULTS); }
void Results_To_Menu() { Run_Transition(Results_Screen, Menu_Screen, false, MUSIC_MENU); }

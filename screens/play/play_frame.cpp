// The frame function of the playing state: input, pickups, the end-of-game test, drawing, presenting.
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "screens/play/comforts.h"
#include "screens/play/playing.h"
#include "common/shell_state.h"

int Play_Frame(int /*unused*/) {
  Playing_Input(board);
  const MoverCounts before = Mover_Counts();
  Apply_Pickups(board);
  Note_Gains(before);
  if (Check_Winner(board) == 1) game_state = STATE_RESULTS;
  Draw_Playing_Screen(board);
  Start_Clock();
  Wait_For_Vsync();
  Flip_Display();
  return 1;
}

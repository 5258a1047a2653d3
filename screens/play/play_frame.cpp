// The frame function of the playing state: input, pickups, the end-of-game test, drawing, presenting.
#include "common/shell_state.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "screens/play/comforts.h"
#include "screens/play/playing.h"
#include "sound/sound.h"

// The sound of what the player to move picked up in this frame, if anything.
static void Pickup_Sound(const PlayerState& before, const PlayerState& after) {
  if (after.treasures > before.treasures)
    Play_Sound(SOUND_TREASURE_TAKEN);
  else if (after.keys > before.keys)
    Play_Sound(SOUND_KEY_TAKEN);
  else if (after.items > before.items)
    Play_Sound(SOUND_TOKEN_TAKEN);
}

int Play_Frame(int /*unused*/) {
  Playing_Input(board);
  const PlayerState* mover = Player_To_Move();
  const PlayerState before = mover ? *mover : PlayerState{};
  const MoverCounts counts = Mover_Counts();
  const int won = Pickups_And_End_Test(board, Global_Players());
  if (mover) Pickup_Sound(before, *mover);
  Note_Gains(counts);
  if (won == 1) {
    game_state = STATE_RESULTS;
    Play_Sound(SOUND_WIN);
  }
  Draw_Playing_Screen(board);
  Start_Clock();
  Wait_For_Vsync();
  Flip_Display();
  return 1;
}

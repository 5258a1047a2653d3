// The computer's turns as a person watches them: each game set up as the menu's start sets it up,
// then played pass by pass as the main loop plays it (the hand, one message, the state's frame).
#include "bench/arena/watch.h"

#include <algorithm>
#include <vector>

#include "common/shell_state.h"
#include "game/model.h"
#include "game/random.h"
#include "opponent/opponent.h"
#include "platform/platform.h"
#include "screens/play/playing.h"
#include "settings/settings.h"
#include "shell/assets.h"
#include "shell/computer.h"
#include "shell/hands.h"
#include "shell/main_loop.h"

namespace {

// ---- Who plays: the computer on both sides at one level, for the game that starts now ----------

void Computer_Plays_Both(int32_t level) { Configure_Computer(COMPUTER_BOTH, level); }

// --------------------------------------------------------------------------------------------------

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t i = static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

struct Turns {
  std::vector<double> seconds, first_seconds;
  int unfinished = 0;
};

// One game from its seed; the seconds of each turn played in it go into `out` until it holds `want`.
void Play_Game(const WatchOptions& o, int32_t level, uint32_t seed, int32_t density, size_t want,
               Turns& out) {
  start_seed = seed;
  Seed_Random(seed);
  item_density = density;
  Computer_Plays_Both(level);
  New_Game(board);
  Reset_Play_State();
  game_state = STATE_PLAYING;
  Computer_Game_Started();
  Platform_Set_Key(VK_SPACE, false);

  uint8_t mover = current_player;
  int32_t turns = player1.turns + player2.turns;
  uint32_t started = Platform_Get_Ticks();
  int played = 0;
  PlatformMessage msg;
  const int64_t max_passes = 200000;  // a turn that never ends is counted, never waited for
  int64_t passes_in_turn = 0;
  int steps = 0, actions = 0;
  while (game_state == STATE_PLAYING && played < o.max_game_turns && out.seconds.size() < want) {
    if (o.hurried) Platform_Set_Key(VK_SPACE, true);
    Hands_Before_Pass();
    if (Platform_Peek_Message(&msg) != 0 && msg.message != MSG_QUIT && Message_Acts(msg))
      Window_Proc(msg.message, msg.wparam, msg.lparam);
    const PlayerState was = current_player == 1 ? player1 : player2;
    const int32_t actions_before = was.actions;
    Run_State_Frame();
    const PlayerState& is = current_player == 1 ? player1 : player2;
    if (&is == (mover == 1 ? &player1 : &player2)) {
      steps += is.square_x != was.square_x || is.square_y != was.square_y;
      actions += is.actions < actions_before;
    }
    ++passes_in_turn;
    const bool ended =
        current_player != mover || player1.turns + player2.turns != turns || game_state != STATE_PLAYING;
    if (!ended && passes_in_turn < max_passes) continue;
    if (!ended) ++out.unfinished;
    const uint32_t now = Platform_Get_Ticks();
    const double seconds = static_cast<double>(now - started) / 1000.0;
    out.seconds.push_back(seconds);
    if (played < 2) out.first_seconds.push_back(seconds);
    if (o.csv)
      std::fprintf(o.csv, "watch,%s,%d,%u,%d,%d,%.3f,%d,%d\n", LEVEL_NAMES[level], o.hurried ? 1 : 0, seed,
                   density, played, seconds, steps, actions);
    steps = actions = 0;
    ++played;
    mover = current_player;
    turns = player1.turns + player2.turns;
    started = now;
    passes_in_turn = 0;
    if (!ended) break;
  }
  Platform_Set_Key(VK_SPACE, false);
  Reset_Computer_Hand();
  game_state = STATE_MAIN_MENU;
}

}  // namespace

int Watch(const WatchOptions& o) {
  PlatformConfig config;
  config.backend = BACKEND_HEADLESS;
  Platform_Open(config);
  Set_Active_Settings(Default_Settings());
  start_seed = o.seed;
  Game_Init();
  std::printf(
      "watch time of a turn through the real hand, %d turns per level, computer against itself%s\n"
      "(seconds of the game's own clock: 60 passes a second, 100 ms after each step)\n",
      o.turns, o.hurried ? ", Space held from each turn's start" : "");
  std::printf("%-8s %8s %8s %8s %8s %8s %10s %8s\n", "level", "games", "median", "p95", "max", "mean",
              "first med", "first max");
  int unfinished = 0;
  for (int32_t level = LEVEL_EASY; level <= LEVEL_HARD; ++level) {
    if (o.level >= 0 && level != o.level) continue;
    Turns t;
    uint32_t seed = o.seed;
    int games = 0;
    while (static_cast<int>(t.seconds.size()) < o.turns) {
      const int32_t density = o.density >= 0 ? o.density : static_cast<int32_t>(seed % 3);
      Play_Game(o, level, seed, density, static_cast<size_t>(o.turns), t);
      ++seed;
      ++games;
    }
    double sum = 0;
    for (double s : t.seconds) sum += s;
    std::printf("%-8s %8d %8.1f %8.1f %8.1f %8.1f %10.1f %8.1f\n", LEVEL_NAMES[level], games,
                Percentile(t.seconds, 0.5), Percentile(t.seconds, 0.95), Percentile(t.seconds, 1.0),
                sum / static_cast<double>(t.seconds.size()), Percentile(t.first_seconds, 0.5),
                Percentile(t.first_seconds, 1.0));
    std::fflush(stdout);
    unfinished += t.unfinished;
  }
  Game_Shutdown();
  Platform_Close();
  if (unfinished > 0) std::printf("turns that never ended: %d\n", unfinished);
  return unfinished;
}

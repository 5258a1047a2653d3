// The soak driver: a random hand on the keys and the pointer that aims at the controls of the screen
// shown, and the checks of the game's invariants after every pass.
#include "tests/stress/soak.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <random>
#include <string>

#include "common/shell_state.h"
#include "game/model.h"
#include "platform/platform.h"
#include "save/saved_game.h"
#include "screens/front/front.h"
#include "screens/play/playing.h"
#include "shell/assets.h"
#include "shell/computer.h"
#include "shell/hands.h"
#include "shell/main_loop.h"
#include "tests/support/game.h"

namespace {

// ---- The checks -----------------------------------------------------------------------------------

bool In_Board(int32_t v) { return v >= 0 && v < 8; }

bool Content_Possible(int32_t c) { return Is_Content_Code(c); }

void Check_Player(const char* name, const PlayerState& p, const SoakWatch& watch, bool pass_end,
                  std::vector<std::string>* broken) {
  auto fail = [&](const std::string& what) { broken->push_back(std::string(name) + ": " + what); };
  if (!In_Board(p.block_x) || !In_Board(p.block_y))
    fail("block (" + std::to_string(p.block_x) + ", " + std::to_string(p.block_y) + ") off the board");
  if (!In_Board(p.square_x) || !In_Board(p.square_y))
    fail("square (" + std::to_string(p.square_x) + ", " + std::to_string(p.square_y) + ") off the block");
  if (p.treasures < 0 || p.treasures > MAX_TREASURES) fail("treasures " + std::to_string(p.treasures));
  if (p.keys < 0 || p.keys > MAX_KEYS) fail("keys " + std::to_string(p.keys));
  // The cheat sets the actions to exactly the limit, so the limit holds with it too.
  if (p.actions < 0 || p.actions > MAX_ACTIONS) fail("actions " + std::to_string(p.actions));
  if (p.turns < 0) fail("turns " + std::to_string(p.turns));
  if (p.items < 0) fail("items " + std::to_string(p.items));
  if (p.winner > 1) fail("winner flag " + std::to_string(p.winner));
  // Refreshed by every drawing pass; inside a transition the old screen may still be drawn over a new game.
  if (!pass_end || !watch.game_started || !In_Board(p.block_x) || !In_Board(p.block_y)) return;
  const int32_t number = board.blocks[p.block_x][p.block_y].number;
  if (p.block_number != number)
    fail("block_number " + std::to_string(p.block_number) + " but stands in block " + std::to_string(number));
}

void Check_Board(const SoakWatch& watch, std::vector<std::string>* broken) {
  bool seen[65] = {};
  int treasures_p1 = 0, treasures_p2 = 0;
  for (int bx = 0; bx < 8; ++bx) {
    for (int by = 0; by < 8; ++by) {
      const MazeBlock& b = board.blocks[bx][by];
      const std::string where = "block [" + std::to_string(bx) + "][" + std::to_string(by) + "]";
      if (b.number < 1 || b.number > 64 || seen[b.number]) {
        broken->push_back(where + ": number " + std::to_string(b.number) +
                          " breaks the permutation of 1..64");
      } else {
        seen[b.number] = true;
      }
      if (b.type < 0 || b.type >= BLOCK_TYPE_COUNT)
        broken->push_back(where + ": type " + std::to_string(b.type));
      for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
          const Square& s = b.squares[x][y];
          if (s.blocked > 1 || !Content_Possible(s.content))
            broken->push_back(where + ": square (" + std::to_string(x) + ", " + std::to_string(y) +
                              ") holds " + std::to_string(s.blocked) + "/" + std::to_string(s.content));
        }
      }
      treasures_p1 += b.treasure_p1;
      treasures_p2 += b.treasure_p2;
    }
  }
  // Without the cheat a treasure is either still on the board or carried by its player.
  if (!watch.cheated) {
    if (treasures_p1 + player1.treasures != MAX_TREASURES)
      broken->push_back("player 1's treasures: " + std::to_string(treasures_p1) + " on the board and " +
                        std::to_string(player1.treasures) + " carried");
    if (treasures_p2 + player2.treasures != MAX_TREASURES)
      broken->push_back("player 2's treasures: " + std::to_string(treasures_p2) + " on the board and " +
                        std::to_string(player2.treasures) + " carried");
  }
}

bool Has_Won(const PlayerState& p) {
  return p.winner == 1 && p.treasures == MAX_TREASURES && In_Board(p.block_x) && In_Board(p.block_y) &&
         In_Board(p.square_x) && In_Board(p.square_y) &&
         board.blocks[p.block_x][p.block_y].squares[p.square_x][p.square_y].content == HOME_MARK;
}

}  // namespace

void Check_Invariants(SoakWatch& watch, bool pass_end, std::vector<std::string>* broken) {
  const size_t before = broken->size();
  const int32_t now = game_state;
  if (now != STATE_PLAYING && now != STATE_MAIN_MENU && now != STATE_RESULTS)
    broken->push_back("game_state " + std::to_string(now));
  if (pass_end && now != watch.last_state) {
    const int32_t was = watch.last_state;
    const bool allowed = (was == STATE_MAIN_MENU && now == STATE_PLAYING) ||
                         (was == STATE_PLAYING && now == STATE_MAIN_MENU) ||
                         (was == STATE_PLAYING && now == STATE_RESULTS) ||
                         (was == STATE_RESULTS && now == STATE_MAIN_MENU);
    if (!allowed) broken->push_back("state " + std::to_string(was) + " -> " + std::to_string(now));
    if (now == STATE_PLAYING) {
      watch.game_started = true;
      watch.cheated = false;
    }
    if (now == STATE_RESULTS && !Has_Won(player1) && !Has_Won(player2))
      broken->push_back("the results screen with no player standing home with five treasures");
    watch.last_state = now;
  }
  if (item_density < 0 || item_density > 2) broken->push_back("item_density " + std::to_string(item_density));
  Check_Player("player 1", player1, watch, pass_end, broken);
  Check_Player("player 2", player2, watch, pass_end, broken);
  if (!watch.game_started) return;
  if (current_player > 1) broken->push_back("current_player " + std::to_string(current_player));
  Check_Board(watch, broken);
  // Whenever a turn ends the game is saved: the save reader must take every game the rules reach.
  // (Past a fault named above, its save would be refused for that fault again.)
  const int32_t turns = player1.turns + player2.turns;
  if (pass_end && now == STATE_PLAYING && turns != watch.turns_checked && broken->size() == before) {
    watch.turns_checked = turns;
    std::string why;
    if (!Check_Saved_Game_Rules(Capture_Game(), &why)) broken->push_back("its save would be refused: " + why);
  }
}

namespace {

// ---- The hand -------------------------------------------------------------------------------------

enum StepKind { STEP_WAIT, STEP_MOVE, STEP_DOWN, STEP_UP, STEP_KEY_DOWN, STEP_KEY_UP, STEP_HOME };

struct Step {
  StepKind kind;
  int a = 0, b = 0;  // wait: passes; move: x, y; down/up: 0 left, 1 right; keys: the key
};

struct Soak {
  std::mt19937 random;
  std::deque<Step> plan;
  int pointer_x = 320, pointer_y = 240;
  uint32_t buttons = 0;  // key-state word of the held buttons
  bool keys_held[256] = {};
  int64_t game_passes = 0;  // passes played in the current game
  int64_t game_length = 0;  // passes of random play before the game is finished off
  int home_tries = 0;

  int Below(int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }

  void Post(uint32_t message, uint32_t wparam) {
    PlatformMessage m;
    m.message = message;
    m.wparam = wparam;
    m.lparam = static_cast<uint32_t>(pointer_x) | static_cast<uint32_t>(pointer_y) << 16;
    Platform_Post_Message(m);
  }

  void Key(int key, bool held) {
    Platform_Set_Key(key, held);
    keys_held[key] = held;
  }

  void Release_All() {
    for (int k = 0; k < 256; ++k)
      if (keys_held[k]) Key(k, false);
  }

  // ---- Gestures: a few steps each, one step a pass.

  void Wait(int passes) { plan.push_back({STEP_WAIT, passes}); }

  void Tap(int key, int hold) {
    plan.push_back({STEP_KEY_DOWN, key});
    Wait(hold);
    plan.push_back({STEP_KEY_UP, key});
    Wait(1);
  }

  // A point strictly inside the rectangle, as the hit tests want it.
  void Aim(int left, int top, int width, int height) {
    plan.push_back({STEP_MOVE, left + 1 + Below(width - 1), top + 1 + Below(height - 1)});
  }

  // Press and release on the control; now and then the pointer slips before the release.
  void Click(int left, int top, int width, int height, int button) {
    Aim(left, top, width, height);
    Wait(Below(3));
    plan.push_back({STEP_DOWN, button});
    Wait(Below(4));
    if (Chance(8)) plan.push_back({STEP_MOVE, left + Below(width + 2), top + Below(height + 2)});
    plan.push_back({STEP_UP, button});
    Wait(1 + Below(3));
  }

  // Pointer moves anywhere, now and then with a button held down through them.
  void Wander() {
    const int n = 1 + Below(4);
    const int button = Chance(25) ? Below(2) : -1;
    if (button >= 0) plan.push_back({STEP_DOWN, button});
    for (int i = 0; i < n; ++i) plan.push_back({STEP_MOVE, Below(640), Below(480)});
    if (button >= 0) plan.push_back({STEP_UP, button});
  }

  void Menu_Gesture() {
    const int r = Below(1000);
    if (menu_open == 0) {
      if (r < 500)
        Tap(VK_RETURN, 1 + Below(2));
      else if (r < 600)
        Wander();
      else
        Wait(1 + Below(5));
      return;
    }
    if (options_open == 1) {
      if (r < 300)
        Click(BOB_option_amount.x, BOB_option_amount.y, 150, 35, 0);
      else if (r < 550)
        Click(BOB_option_switch.x, BOB_option_switch.y, 170, 35, 0);
      else if (r < 800)
        Tap(VK_ESCAPE, 1 + Below(3));
      else if (r < 900)
        Wander();
      else
        Wait(1 + Below(5));
      return;
    }
    if (r < 550)
      Click(BOB_button_start.x, BOB_button_start.y, 76, 35, 0);
    else if (r < 750)
      Click(BOB_button_options.x, BOB_button_options.y, 76, 35, 0);
    else if (r < 752)
      Click(BOB_button_quit.x, BOB_button_quit.y, 76, 35, 0);
    else if (r < 753)
      Tap(VK_ESCAPE, 1);
    else if (r < 800)
      Tap(VK_RETURN, 1);
    else if (r < 900)
      Wander();
    else
      Wait(1 + Below(8));
  }

  void Playing_Gesture() {
    if (game_passes > game_length) {
      Finish_Game();
      return;
    }
    const int r = Below(1000);
    const int n = 1 + Below(8);
    if (r < 330) {
      const int keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
      Tap(keys[Below(4)], 1 + Below(4));
    } else if (r < 400) {
      Tap(VK_RETURN, 1 + Below(2));
    } else if (r < 560) {
      switch (Below(4)) {  // the 32 shift buttons
        case 0:
          Click(317 + 32 * n, 75, 32, 32, 0);
          break;
        case 1:
          Click(317 + 32 * n, 363, 32, 32, 0);
          break;
        case 2:
          Click(317, 75 + 32 * n, 32, 32, 0);
          break;
        default:
          Click(605, 75 + 32 * n, 32, 32, 0);
          break;
      }
    } else if (r < 680) {
      Click(OVERVIEW_X + CELL_SIZE * Below(8), OVERVIEW_Y + CELL_SIZE * Below(8), CELL_SIZE, CELL_SIZE, 1);
    } else if (r < 760) {
      Click(OVERVIEW_X + CELL_SIZE * Below(8), OVERVIEW_Y + CELL_SIZE * Below(8), CELL_SIZE, CELL_SIZE, 0);
    } else if (r < 840) {
      Click(END_TURN_X, END_TURN_Y, END_TURN_W, END_TURN_H, 0);
    } else if (r < 842) {
      Tap(VK_A, 1);
    } else if (r < 843) {
      Tap(VK_ESCAPE, 1 + Below(3));
    } else if (r < 920) {
      Wander();
    } else {
      Wait(1 + Below(6));
    }
  }

  // Most games are won with the cheat and a walk home; the others are left with Escape.
  void Finish_Game() {
    if (Chance(20)) {
      Tap(VK_ESCAPE, 1 + Below(2));
      game_length = game_passes + 200;  // should the Escape be lost, the next finish comes later
      return;
    }
    Tap(VK_A, 1);
    home_tries = 0;
    plan.push_back({STEP_HOME});
    game_length = game_passes + 600;
  }

  // The first step of the shortest walk, inside its block, from the player to move to a home mark;
  // -1 when there is none (or it stands on one).
  int Home_Direction() {
    const PlayerState* p = Player_To_Move();
    if (p == nullptr || !In_Board(p->block_x) || !In_Board(p->block_y) || !In_Board(p->square_x) ||
        !In_Board(p->square_y))
      return -1;
    const MazeBlock& b = board.blocks[p->block_x][p->block_y];
    const int dx[4] = {0, 1, -1, 0}, dy[4] = {-1, 0, 0, 1};
    int first[8][8];
    for (auto& column : first) std::fill(std::begin(column), std::end(column), -2);
    std::deque<std::pair<int, int>> open;
    first[p->square_x][p->square_y] = -1;
    open.push_back({p->square_x, p->square_y});
    while (!open.empty()) {
      const auto [x, y] = open.front();
      open.pop_front();
      if (b.squares[x][y].content == HOME_MARK) return first[x][y];
      for (int d = 0; d < 4; ++d) {
        const int tx = x + dx[d], ty = y + dy[d];
        if (!In_Board(tx) || !In_Board(ty) || first[tx][ty] != -2) continue;
        const Square& s = b.squares[tx][ty];
        const bool across = d == DIR_LEFT || d == DIR_RIGHT;
        const bool door = across ? (s.content == DOOR_EW_OPEN || s.content == DOOR_EW_CLOSED)
                                 : (s.content == DOOR_NS_OPEN || s.content == DOOR_NS_CLOSED);
        if (!((s.blocked == 0 && s.content < 100) || door)) continue;
        first[tx][ty] = first[x][y] == -1 ? d : first[x][y];
        open.push_back({tx, ty});
      }
    }
    return -1;
  }

  // One step of the walk home: an arrow tap and the next look; when the player to move has no way
  // home, the cheat again and the turn handed over; Escape when that leads nowhere either.
  void Home_Step() {
    if (game_state != STATE_PLAYING) return;
    if (++home_tries > 80) {
      Tap(VK_ESCAPE, 1);
      return;
    }
    const int d = Home_Direction();
    if (d >= 0) {
      const int keys[4] = {VK_UP, VK_RIGHT, VK_LEFT, VK_DOWN};
      Tap(keys[d], 1);
    } else {
      Tap(VK_A, 1);
      Tap(VK_RETURN, 1);
    }
    plan.push_back({STEP_HOME});
  }

  // After a change of screen the rest of the plan is dropped, but never the release of what is held.
  void Drop_Plan() {
    std::deque<Step> kept;
    for (const Step& s : plan)
      if (s.kind == STEP_UP || s.kind == STEP_KEY_UP) kept.push_back(s);
    plan.swap(kept);
  }

  void Results_Gesture() {
    const int r = Below(100);
    if (r < 40)
      Tap(VK_ESCAPE, 1 + Below(3));
    else if (r < 60)
      Wander();
    else
      Wait(1 + Below(20));
  }

  // Runs the plan's next step; one that only waits or holds keys leaves the pass to the game.
  void Next_Step() {
    if (plan.empty()) {
      switch (game_state) {
        case STATE_MAIN_MENU:
          Menu_Gesture();
          break;
        case STATE_PLAYING:
          Playing_Gesture();
          break;
        default:
          Results_Gesture();
          break;
      }
    }
    if (plan.empty()) return;
    Step& s = plan.front();
    switch (s.kind) {
      case STEP_WAIT:
        if (s.a-- > 0) return;
        break;
      case STEP_MOVE:
        pointer_x = s.a;
        pointer_y = s.b;
        Post(MSG_MOUSEMOVE, buttons);
        break;
      case STEP_DOWN:
        buttons |= s.a == 0 ? MK_LBUTTON : MK_RBUTTON;
        Post(s.a == 0 ? MSG_LBUTTONDOWN : MSG_RBUTTONDOWN, buttons);
        break;
      case STEP_UP:
        buttons &= ~(s.a == 0 ? MK_LBUTTON : MK_RBUTTON);
        Post(s.a == 0 ? MSG_LBUTTONUP : MSG_RBUTTONUP, buttons);
        break;
      case STEP_KEY_DOWN:
        Key(s.a, true);
        break;
      case STEP_KEY_UP:
        Key(s.a, false);
        break;
      case STEP_HOME:
        plan.pop_front();
        Home_Step();
        return;
    }
    plan.pop_front();
  }
};

SoakReport* transition_report = nullptr;
SoakWatch* transition_watch = nullptr;
int transition_keep = 0;

void Record(SoakReport& report, int keep, const std::vector<std::string>& broken, const char* when) {
  report.violations += static_cast<int64_t>(broken.size());
  for (const std::string& b : broken) {
    if (static_cast<int>(report.first_violations.size()) >= keep) break;
    report.first_violations.push_back("frame " + std::to_string(report.frames) + when + ": " + b);
  }
}

void Check_Transition_Frame(int /*frame*/) {
  ++transition_report->transition_frames;
  std::vector<std::string> broken;
  Check_Invariants(*transition_watch, false, &broken);
  if (!broken.empty()) Record(*transition_report, transition_keep, broken, " (in a transition)");
}

// A fingerprint of the board's order and turns, to count the shifts and rotations a pass made.
struct BoardLook {
  int32_t numbers[8][8];
  int32_t types[8][8];
  int32_t p1_block_x, p1_block_y, p1_square_x, p1_square_y;
  int32_t p2_block_x, p2_block_y, p2_square_x, p2_square_y;
  uint8_t player;
};

BoardLook Look() {
  BoardLook l;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      l.numbers[x][y] = board.blocks[x][y].number, l.types[x][y] = board.blocks[x][y].type;
  l.p1_block_x = player1.block_x, l.p1_block_y = player1.block_y;
  l.p1_square_x = player1.square_x, l.p1_square_y = player1.square_y;
  l.p2_block_x = player2.block_x, l.p2_block_y = player2.block_y;
  l.p2_square_x = player2.square_x, l.p2_square_y = player2.square_y;
  l.player = current_player;
  return l;
}

void Count_Changes(const BoardLook& a, const BoardLook& b, SoakReport& report) {
  bool shifted = false, rotated = false;
  for (int x = 0; x < 8; ++x) {
    for (int y = 0; y < 8; ++y) {
      if (a.numbers[x][y] != b.numbers[x][y])
        shifted = true;
      else if (a.types[x][y] != b.types[x][y])
        rotated = true;
    }
  }
  report.shifts += shifted;
  report.rotations += rotated;
  report.turns_ended += a.player != b.player;
  const bool p1_moved = a.p1_square_x != b.p1_square_x || a.p1_square_y != b.p1_square_y ||
                        ((a.p1_block_x != b.p1_block_x || a.p1_block_y != b.p1_block_y) && !shifted);
  const bool p2_moved = a.p2_square_x != b.p2_square_x || a.p2_square_y != b.p2_square_y ||
                        ((a.p2_block_x != b.p2_block_x || a.p2_block_y != b.p2_block_y) && !shifted);
  report.moves += (p1_moved || p2_moved) && !rotated;
}

}  // namespace

SoakReport Run_Soak(const SoakConfig& config) {
  SoakReport report;
  SoakWatch watch;
  Soak hand;
  hand.random.seed(config.seed);

  test_support::Start_Headless_Game(config.seed);
  watch.last_state = game_state;

  transition_report = &report;
  transition_watch = &watch;
  transition_keep = config.keep_violations;
  transition_frame_hook = Check_Transition_Frame;

  std::vector<std::string> broken;
  PlatformMessage msg;
  bool stopping = false;    // the hand is leaving a computer game at the turn limit
  bool over_limit = false;  // the game in play has reached the turn limit (said once)
  int64_t mispredictions = Computer_Mispredictions();
  while (report.frames < config.frames &&
         (!config.computer || config.games <= 0 || report.games_won + report.games_stopped < config.games)) {
    if (!config.computer || game_state != STATE_PLAYING) {
      hand.Next_Step();
    } else if (!stopping && player1.turns + player2.turns >= config.stop_after_turns) {
      stopping = true;
      hand.Drop_Plan();
      hand.Tap(VK_ESCAPE, 2);
    } else if (stopping) {
      hand.Next_Step();
    }
    if (config.computer) {
      if (game_state == STATE_MAIN_MENU) {
        Configure_Computer(COMPUTER_BOTH, static_cast<int32_t>(report.games_started % 3));
        stopping = false;
        over_limit = false;
      }
      // Space held: the computer plays without its pauses, as a person may hurry it.
      if (game_state == STATE_PLAYING && !stopping) hand.Key(VK_SPACE, true);
      if (game_state != STATE_PLAYING && hand.keys_held[VK_SPACE]) hand.Key(VK_SPACE, false);
    }
    Hands_Before_Pass();
    // The cheat acts on every playing frame that sees the key held.
    if (game_state == STATE_PLAYING && Platform_Key_Held(VK_A) && !watch.cheated) {
      watch.cheated = true;
      ++report.cheats;
    }
    const int32_t before = game_state;
    const BoardLook look = Look();
    if (Platform_Peek_Message(&msg)) {
      if (msg.message == MSG_QUIT) {
        ++report.quits;
      } else if (Message_Acts(msg)) {
        Window_Proc(msg.message, msg.wparam, msg.lparam);
      }
    }
    Run_State_Frame();
    ++report.frames;

    broken.clear();
    Check_Invariants(watch, true, &broken);
    // Every move of the computer's hand lands where its planner predicted, and its games end.
    if (Computer_Mispredictions() != mispredictions) {
      mispredictions = Computer_Mispredictions();
      broken.push_back("a move of the computer's hand did not land where its planner predicted");
    }
    if (config.computer && game_state == STATE_PLAYING && !over_limit &&
        player1.turns + player2.turns >= config.turn_limit) {
      over_limit = true;
      broken.push_back("a computer game reached " + std::to_string(config.turn_limit) + " turns");
    }
    if (!broken.empty()) Record(report, config.keep_violations, broken, "");

    const int32_t after = game_state;
    if (before == STATE_PLAYING && after == STATE_PLAYING) Count_Changes(look, Look(), report);
    if (before == STATE_PLAYING) ++hand.game_passes;
    if (before == STATE_MAIN_MENU && after == STATE_PLAYING) {
      ++report.games_started;
      hand.game_passes = 0;
      // Short games and long ones: some are finished off at once, some wander for thousands of passes.
      hand.game_length = hand.Chance(25) ? hand.Below(50) : 100 + hand.Below(hand.Chance(50) ? 600 : 5000);
      hand.Drop_Plan();
    }
    if (before == STATE_PLAYING && after == STATE_RESULTS) ++report.games_won;
    if (before == STATE_PLAYING && after == STATE_MAIN_MENU)
      ++(stopping ? report.games_stopped : report.games_left);
    if (before != after && after != STATE_PLAYING) hand.Drop_Plan();
  }

  transition_frame_hook = nullptr;
  transition_report = nullptr;
  transition_watch = nullptr;
  hand.Release_All();
  Reset_Computer_Hand();
  Configure_Computer(COMPUTER_NONE, LEVEL_NORMAL);
  test_support::Stop_Headless_Game();
  return report;
}

std::string Format_Soak_Report(const SoakReport& r) {
  char text[1024];
  std::snprintf(
      text, sizeof text,
      "frames %lld (and %lld in transitions), games started %lld, won %lld, left %lld, stopped %lld\n"
      "turns ended %lld, moves %lld, shifts %lld, rotations %lld, games with the cheat %lld, "
      "quit requests %lld\nviolations %lld\n",
      static_cast<long long>(r.frames), static_cast<long long>(r.transition_frames),
      static_cast<long long>(r.games_started), static_cast<long long>(r.games_won),
      static_cast<long long>(r.games_left), static_cast<long long>(r.games_stopped),
      static_cast<long long>(r.turns_ended), static_cast<long long>(r.moves),
      static_cast<long long>(r.shifts), static_cast<long long>(r.rotations), static_cast<long long>(r.cheats),
      static_cast<long long>(r.quits), static_cast<long long>(r.violations));
  std::string out = text;
  for (const std::string& v : r.first_violations) out += "  " + v + "\n";
  return out;
}

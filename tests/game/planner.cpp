#include "tests/game/planner.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/random.h"

namespace orvalis_test {

int Model_Frame() { return Frame_After_Input(board, Global_Players()); }

int Move(int32_t direction) {
  current_block = Move_Current_Player(direction, current_block, board);
  return Model_Frame();
}

int Right_Click_Rotate(int bx, int by) {
  const int result = Paid_Rotate(bx, by, board);
  current_block = board.blocks[bx][by];
  Model_Frame();
  return result;
}

int Shift_Button(bool column, int index, uint8_t flag) {
  const int shifted = Paid_Shift(column, index, flag, board);
  if (shifted) Model_Frame();
  return shifted;
}

namespace {

constexpr int kSquares = 64 * 64;
int Index(int gx, int gy) { return gx * 64 + gy; }

// Squares reachable from the player by the step rules, with the first direction of a shortest path.
// A closed door counts as passed when it opens (a locked one only with a key in hand); the walk then
// steps onto it twice.
struct Paths {
  int from[kSquares];  // index of the previous square, -1 unreached, -2 the start
  int dir[kSquares];   // direction taken into the square
};

void Find_Paths(const PlayerState& p, Paths& out) {
  std::fill(std::begin(out.from), std::end(out.from), -1);
  const int start = Index(p.block_x * 8 + p.square_x, p.block_y * 8 + p.square_y);
  std::vector<int> queue{start};
  out.from[start] = -2;
  for (std::size_t head = 0; head < queue.size(); ++head) {
    const int i = queue[head];
    const int gx = i / 64, gy = i % 64;
    for (int d = 0; d < 4; ++d) {
      const StepLook look = Look_Step(board, gx / 8, gy / 8, gx % 8, gy % 8, d);
      if (look.outcome == STEP_NONE || (look.outcome == STEP_UNLOCKS_DOOR && p.keys <= 0)) continue;
      const int ngx = look.block_x * 8 + look.square_x, ngy = look.block_y * 8 + look.square_y;
      const int j = Index(ngx, ngy);
      if (out.from[j] != -1) continue;
      out.from[j] = i;
      out.dir[j] = d;
      queue.push_back(j);
    }
  }
}

// ORVALIS_TRACE=1 prints the planner's pickups and actions.
bool Tracing() { return std::getenv("ORVALIS_TRACE") != nullptr; }

class Planner {
 public:
  explicit Planner(uint32_t seed) : lcg_(seed) {}

  // Plays one turn of the player to move; returns true when the game was won in it.
  bool Play_Turn() {
    PlayerState& p = *Player_To_Move();
    if (Walk_To_Goals()) return true;
    while (p.actions > 0) {
      Spend_Action();
      if (won_) return true;
      if (Walk_To_Goals()) return true;
    }
    Walk_Closer();
    if (won_) return true;
    End_Turn(board);
    Model_Frame();
    return won_;
  }

  int steps = 0, shifts = 0, rotations = 0, unpaid = 0;

 private:
  uint32_t Next() { return lcg_ = lcg_ * 1664525u + 1013904223u; }

  static std::vector<int> Goals(const PlayerState& p, bool own) {
    std::vector<int> g;
    const bool is_p1 = &p == &player1;
    for (int bx = 0; bx < 8; ++bx)
      for (int by = 0; by < 8; ++by) {
        const MazeBlock& b = board.blocks[bx][by];
        if (own) {
          if (p.treasures < 5 && (is_p1 ? b.treasure_p1 : b.treasure_p2))
            g.push_back(Index(bx * 8 + TREASURE_SQUARE_X, by * 8 + TREASURE_SQUARE_Y));
          if (p.treasures == 5)
            for (int x = 0; x < 8; ++x)
              for (int y = 0; y < 8; ++y)
                if (b.squares[x][y].content == HOME_MARK) g.push_back(Index(bx * 8 + x, by * 8 + y));
        } else {
          const int32_t c = b.squares[ITEM_SQUARE_X][ITEM_SQUARE_Y].content;
          if ((c == KEY && p.keys < 2) || (c == TOKEN && p.actions < 5))
            g.push_back(Index(bx * 8 + ITEM_SQUARE_X, by * 8 + ITEM_SQUARE_Y));
        }
      }
    return g;
  }

  // Walks the shortest path to square `goal`; false when a step did not go as planned.
  bool Walk(const Paths& paths, int goal) {
    std::vector<int> dirs;
    for (int i = goal; paths.from[i] >= 0; i = paths.from[i]) dirs.push_back(paths.dir[i]);
    std::reverse(dirs.begin(), dirs.end());
    PlayerState& p = *Player_To_Move();
    for (int d : dirs) {
      for (int attempt = 0;; ++attempt) {
        const int bx = p.block_x, by = p.block_y, sx = p.square_x, sy = p.square_y;
        const int tr = p.treasures, it = p.items;
        if (Move(d)) won_ = true;
        ++steps;
        if (Tracing() && (p.treasures != tr || p.items != it))
          std::printf("  P%d picks at block %d,%d sq %d,%d: treasures %d items %d actions %d keys %d\n",
                      current_player ? 1 : 2, p.block_x, p.block_y, p.square_x, p.square_y, p.treasures,
                      p.items, p.actions, p.keys);
        if (won_) return true;
        if (p.block_x != bx || p.block_y != by || p.square_x != sx || p.square_y != sy) break;
        if (attempt == 1) return false;  // a door that did not open
      }
    }
    return true;
  }

  // Walks to reachable treasures (or home), then keys and tokens, while any is reachable.
  bool Walk_To_Goals() {
    for (int guard = 0; guard < 64 && !won_; ++guard) {
      PlayerState& p = *Player_To_Move();
      Find_Paths(p, paths_);
      int target = -1;
      for (bool own : {true, false}) {
        for (int g : Goals(p, own))
          if (paths_.from[g] != -1 && paths_.from[g] != -2) target = g;
        if (target >= 0) break;
      }
      if (target < 0) break;
      if (!Walk(paths_, target)) break;
    }
    return won_;
  }

  // How far the reachable squares are from the nearest own goal (0: one is reachable).
  int Score() {
    const PlayerState& p = *Player_To_Move();
    const std::vector<int> goals = Goals(p, true);
    Find_Paths(p, paths_);
    int best = INT_MAX;
    for (int i = 0; i < kSquares; ++i) {
      if (paths_.from[i] == -1) continue;
      for (int g : goals) best = std::min(best, std::abs(i / 64 - g / 64) + std::abs(i % 64 - g % 64));
    }
    return best;
  }

  struct Action {
    int kind;  // 0 column, 1 row, 2 rotation
    int a, b;
  };

  // Tries one action and undoes it; returns its score.
  int Try(const Action& act) {
    Model_Frame();
    if (act.kind < 2) {
      const bool column = act.kind == 0;
      column ? Shift_Column(act.a, static_cast<uint8_t>(act.b), board)
             : Shift_Row(act.a, static_cast<uint8_t>(act.b), board);
      const int s = Score();
      column ? Shift_Column(act.a, static_cast<uint8_t>(1 - act.b), board)
             : Shift_Row(act.a, static_cast<uint8_t>(1 - act.b), board);
      return s;
    }
    MazeBlock& block = board.blocks[act.a][act.b];
    const MazeBlock saved = block;
    const PlayerState s1 = player1, s2 = player2;
    int s = INT_MAX;
    if (block.Rotate()) {
      Rotate_Players_In_Block(block);
      s = Score();
    }
    block = saved;
    player1 = s1;
    player2 = s2;
    return s;
  }

  void Spend_Action() {
    std::vector<Action> actions;
    for (int i = 1; i <= 8; ++i)
      for (int f = 0; f <= 1; ++f) {
        actions.push_back({0, i, f});
        actions.push_back({1, i, f});
      }
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y)
        if (Block_Turns(board.blocks[x][y])) actions.push_back({2, x, y});
    int best = INT_MAX;
    std::vector<Action> best_actions;
    for (const Action& a : actions) {
      const int s = Try(a);
      if (s < best) {
        best = s;
        best_actions.clear();
      }
      if (s == best) best_actions.push_back(a);
    }
    const Action chosen = best_actions[Next() % best_actions.size()];
    PlayerState& p = *Player_To_Move();
    const int before = p.actions;
    if (Tracing())
      std::printf("  P%d action kind %d %d,%d score %d\n", current_player ? 1 : 2, chosen.kind, chosen.a,
                  chosen.b, best);
    if (chosen.kind < 2) {
      Shift_Button(chosen.kind == 0, chosen.a, static_cast<uint8_t>(chosen.b));
      ++shifts;
    } else {
      Right_Click_Rotate(chosen.a, chosen.b);
      ++rotations;
    }
    if (p.actions != before - 1) ++unpaid;
    if (Model_Frame()) won_ = true;
  }

  // Ends the turn on the reachable square nearest an own goal.
  void Walk_Closer() {
    const PlayerState& p = *Player_To_Move();
    const std::vector<int> goals = Goals(p, true);
    Find_Paths(p, paths_);
    int best = INT_MAX, target = -1;
    for (int i = 0; i < kSquares; ++i) {
      if (paths_.from[i] == -1) continue;
      for (int g : goals) {
        const int d = std::abs(i / 64 - g / 64) + std::abs(i % 64 - g % 64);
        if (d < best) best = d, target = i;
      }
    }
    if (target >= 0 && paths_.from[target] != -2) Walk(paths_, target);
  }

  uint32_t lcg_;
  bool won_ = false;
  Paths paths_;
};

// Where a player stands on masonry (a square blocked with no object or door on it), or empty.
std::string Standing_Fault() {
  for (const PlayerState* p : {&player1, &player2}) {
    if (p->block_x < 0 || p->block_x > 7 || p->block_y < 0 || p->block_y > 7 || p->square_x < 0 ||
        p->square_x > 7 || p->square_y < 0 || p->square_y > 7)
      return "a player stands off the board";
    const Square& s = board.blocks[p->block_x][p->block_y].squares[p->square_x][p->square_y];
    if (s.blocked == 1 && s.content == 0)
      return "a player stands in a wall at block " + std::to_string(p->block_x) + "," +
             std::to_string(p->block_y) + " square " + std::to_string(p->square_x) + "," +
             std::to_string(p->square_y);
  }
  return "";
}

}  // namespace

PlannedGame Play_Planned_Game(unsigned seed, int density, int max_turns) {
  PlannedGame r;
  item_density = density;
  Seed_Random(seed);
  New_Game(board);
  Model_Frame();
  Planner planner(seed);
  for (r.turns = 1; r.turns <= max_turns; ++r.turns) {
    const bool won = planner.Play_Turn();
    if (r.fault.empty()) r.fault = Standing_Fault();
    if (won) {
      r.won = true;
      break;
    }
  }
  r.steps = planner.steps;
  r.shifts = planner.shifts;
  r.rotations = planner.rotations;
  r.unpaid = planner.unpaid;
  return r;
}

}  // namespace orvalis_test

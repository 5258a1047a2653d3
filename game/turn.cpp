// Turn actions: who is to move, the paid shifts and rotations, the pickup rules for the player to
// move, the end-of-game test, and the change of turn.
#include "game/model.h"

namespace {

bool Stands_On_Board(const PlayerState& p) {
  return p.block_x >= 0 && p.block_x < 8 && p.block_y >= 0 && p.block_y < 8 && p.square_x >= 0 &&
         p.square_x < 8 && p.square_y >= 0 && p.square_y < 8;
}

}  // namespace

PlayerState* Player_To_Move() {
  if (current_player == 1) return &player1;
  if (current_player == 0) return &player2;
  return nullptr;
}

int Paid_Shift(bool column, int line, uint8_t direction, Board& b) {
  PlayerState* p = Player_To_Move();
  if (p == nullptr || p->actions <= 0) return 0;
  if (column)
    Shift_Column(line, direction, b);
  else
    Shift_Row(line, direction, b);
  p->actions -= 1;
  return 1;
}

int Paid_Rotate(int bx, int by, Board& b) {
  PlayerState* p = Player_To_Move();
  if (p == nullptr || p->actions <= 0 || bx < 0 || bx > 7 || by < 0 || by > 7) return -1;
  MazeBlock& block = b.blocks[bx][by];
  if (block.Rotate() != 1) return -1;
  p->actions -= 1;
  return Rotate_Players_In_Block(block);
}

void Apply_Pickups(Board& b) {
  PlayerState* p = Player_To_Move();
  if (p == nullptr || !Stands_On_Board(*p)) return;
  MazeBlock& block = b.blocks[p->block_x][p->block_y];
  Square& s = block.squares[p->square_x][p->square_y];
  uint8_t& treasure = current_player == 1 ? block.treasure_p1 : block.treasure_p2;

  if (treasure == 1 && p->square_x == 3 && p->square_y == 3 && p->treasures < MAX_TREASURES) {
    treasure = 0;
    p->treasures += 1;
  } else if (s.content == KEY && p->keys < MAX_KEYS) {
    s.content = CONTENT_EMPTY;
    block.has_key = 0;
    p->keys += 1;
    p->items += 1;
  } else if (s.content == TOKEN && p->actions < MAX_ACTIONS) {
    s.content = CONTENT_EMPTY;
    block.has_token = 0;
    p->actions += 1;
    p->items += 1;
  }
}

namespace {
bool Has_Won(const PlayerState& p, const Board& b) {
  return p.treasures == MAX_TREASURES && Stands_On_Board(p) &&
         b.blocks[p.block_x][p.block_y].squares[p.square_x][p.square_y].content == HOME_MARK;
}
}  // namespace

int Check_Winner(Board& b) {
  if (Has_Won(player2, b)) {
    player2.winner = 1;
    return 1;
  }
  if (Has_Won(player1, b)) {
    player1.winner = 1;
    return 1;
  }
  return 0;
}

void End_Turn(Board& b) {
  PlayerState& next = current_player == 1 ? player2 : player1;
  next.turns += 1;
  if (Stands_On_Board(next)) current_block = b.blocks[next.block_x][next.block_y];
  if (next.actions == 0) next.actions = 1;
  current_player = current_player == 1 ? 0 : 1;
}

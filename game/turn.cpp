// Turn actions: who is to move, the paid shifts and rotations, the pickup rules for the player to
// move, the end-of-game test, and the change of turn.
#include "game/model.h"

bool Stands_On_Board(const PlayerState& p) {
  return p.block_x >= 0 && p.block_x < 8 && p.block_y >= 0 && p.block_y < 8 && p.square_x >= 0 &&
         p.square_x < 8 && p.square_y >= 0 && p.square_y < 8;
}

PlayerState* Player_To_Move() { return Player_To_Move(Global_Players()); }

PlayerState* Player_To_Move(const Players& players) {
  if (players.current_player == 1) return &players.player1;
  if (players.current_player == 0) return &players.player2;
  return nullptr;
}

int Paid_Shift(bool column, int line, uint8_t direction, Board& b) {
  return Paid_Shift(column, line, direction, b, Global_Players());
}

int Paid_Shift(bool column, int line, uint8_t direction, Board& b, const Players& players) {
  PlayerState* p = Player_To_Move(players);
  if (p == nullptr || p->actions <= 0 || line < 1 || line > 8 || direction > 1) return 0;
  if (column)
    Shift_Column(line, direction, b, players.player1, players.player2);
  else
    Shift_Row(line, direction, b, players.player1, players.player2);
  p->actions -= 1;
  return 1;
}

int Paid_Rotate(int bx, int by, Board& b) {
  return Paid_Rotate(bx, by, b, Global_Players(), Load_Template_From_File);
}

int Paid_Rotate(int bx, int by, Board& b, const Players& players, TemplateLoader load) {
  PlayerState* p = Player_To_Move(players);
  if (p == nullptr || p->actions <= 0 || bx < 0 || bx > 7 || by < 0 || by > 7) return -1;
  MazeBlock& block = b.blocks[bx][by];
  if (Rotate_Block(block, load) != 1) return -1;
  p->actions -= 1;
  return Rotate_Players_In_Block(block, players.player1, players.player2);
}

void Apply_Pickups(Board& b) {
  PlayerState* p = Player_To_Move();
  if (p != nullptr) Apply_Pickups(b, *p, current_player == 1);
}

void Apply_Pickups(Board& b, PlayerState& p, bool is_player1) {
  if (!Stands_On_Board(p)) return;
  MazeBlock& block = b.blocks[p.block_x][p.block_y];
  Square& s = block.squares[p.square_x][p.square_y];
  uint8_t& treasure = is_player1 ? block.treasure_p1 : block.treasure_p2;

  if (treasure == 1 && p.square_x == TREASURE_SQUARE_X && p.square_y == TREASURE_SQUARE_Y &&
      p.treasures < MAX_TREASURES) {
    treasure = 0;
    p.treasures += 1;
  } else if (s.content == KEY && p.keys < MAX_KEYS) {
    s.content = CONTENT_EMPTY;
    block.has_key = 0;
    p.keys += 1;
    p.items += 1;
  } else if (s.content == TOKEN && p.actions < MAX_ACTIONS) {
    s.content = CONTENT_EMPTY;
    block.has_token = 0;
    p.actions += 1;
    p.items += 1;
  }
}

bool Has_Won(const PlayerState& p, const Board& b) {
  return p.treasures == MAX_TREASURES && Stands_On_Board(p) &&
         b.blocks[p.block_x][p.block_y].squares[p.square_x][p.square_y].content == HOME_MARK;
}

int Check_Winner(Board& b) { return Check_Winner(b, player1, player2); }

int Check_Winner(Board& b, PlayerState& p1, PlayerState& p2) {
  if (Has_Won(p2, b)) {
    p2.winner = 1;
    return 1;
  }
  if (Has_Won(p1, b)) {
    p1.winner = 1;
    return 1;
  }
  return 0;
}

int Pickups_And_End_Test(Board& b, const Players& players) {
  PlayerState* mover = Player_To_Move(players);
  if (mover != nullptr) Apply_Pickups(b, *mover, players.current_player == 1);
  return Check_Winner(b, players.player1, players.player2);
}

void Refresh_Block_Numbers(const Board& b, PlayerState& p1, PlayerState& p2) {
  for (PlayerState* p : {&p1, &p2})
    if (p->block_x >= 0 && p->block_x < 8 && p->block_y >= 0 && p->block_y < 8)
      p->block_number = b.blocks[p->block_x][p->block_y].number;
}

int Frame_After_Input(Board& b, const Players& players) {
  const int won = Pickups_And_End_Test(b, players);
  Refresh_Block_Numbers(b, players.player1, players.player2);
  return won;
}

void End_Turn(Board& b) { End_Turn(b, Global_Players(), current_block); }

void End_Turn(Board& b, const Players& players, MazeBlock& shown) {
  PlayerState& next = players.current_player == 1 ? players.player2 : players.player1;
  next.turns += 1;
  if (Stands_On_Board(next)) shown = b.blocks[next.block_x][next.block_y];
  if (next.actions == 0) next.actions = 1;
  players.current_player = players.current_player == 1 ? 0 : 1;
}

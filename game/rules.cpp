// Movement and board interaction: one step with its doors and block crossings, the
// shifting of rows and columns, and the turning of players' squares with a rotated block.
#include "game/model.h"

namespace {

bool In_Range(int32_t v) { return v >= 0 && v < 8; }

// One direction of a step: its change, the neighbour's facing exit, and its door codes.
struct StepRule {
  int32_t dx, dy;
  uint8_t MazeBlock::*facing_exit;  // the neighbour's exit that faces the player
  int32_t open_door, closed_door;
};

constexpr StepRule kSteps[4] = {
    {0, -1, &MazeBlock::exit_south, DOOR_NS_OPEN, DOOR_NS_CLOSED},  // 0 up
    {1, 0, &MazeBlock::exit_west, DOOR_EW_OPEN, DOOR_EW_CLOSED},    // 1 right
    {-1, 0, &MazeBlock::exit_east, DOOR_EW_OPEN, DOOR_EW_CLOSED},   // 2 left
    {0, 1, &MazeBlock::exit_north, DOOR_NS_OPEN, DOOR_NS_CLOSED},   // 3 down
};

bool Direction_Known(int32_t d) { return d >= 0 && d <= 3; }

}  // namespace

bool Step_Enters(const Square& square, int32_t direction) {
  return Direction_Known(direction) &&
         ((square.blocked == 0 && square.content < 100) || square.content == kSteps[direction].open_door);
}

int32_t Closed_Door_Of(int32_t direction) {
  return Direction_Known(direction) ? kSteps[direction].closed_door : -1;
}

int32_t Open_Door_Of(int32_t direction) {
  return Direction_Known(direction) ? kSteps[direction].open_door : -1;
}

uint8_t Facing_Exit(const MazeBlock& neighbour, int32_t direction) {
  return Direction_Known(direction) ? neighbour.*kSteps[direction].facing_exit : 0;
}

StepLook Look_Step(const Board& b, int32_t bx, int32_t by, int32_t sx, int32_t sy, int32_t d) {
  StepLook look;
  // Never produced by the game; refused rather than read outside the board.
  if (!Direction_Known(d) || !In_Range(bx) || !In_Range(by) || !In_Range(sx) || !In_Range(sy)) return look;
  const StepRule& rule = kSteps[d];
  const int32_t tx = sx + rule.dx, ty = sy + rule.dy;
  // 1. On the edge in the step's direction: into the neighbour when it has the facing exit. Nothing
  // else is looked at: not this block's own exit, not the square landed on.
  if (!In_Range(tx) || !In_Range(ty)) {
    const int32_t nbx = bx + rule.dx, nby = by + rule.dy;
    if (!In_Range(nbx) || !In_Range(nby) || b.blocks[nbx][nby].*rule.facing_exit != 1) return look;
    return StepLook{STEP_ENTERS, nbx, nby, (tx + 8) & 7, (ty + 8) & 7};
  }
  const MazeBlock& block = b.blocks[bx][by];
  const Square& target = block.squares[tx][ty];
  // 2. The target passes: open floor, or the open door of the step's axis.
  if (Step_Enters(target, d)) return StepLook{STEP_ENTERS, bx, by, tx, ty};
  // 3. and 4. A closed door of the step's axis opens in place, with a key when the block is locked.
  if (target.content == rule.closed_door)
    return StepLook{block.locked == 0 ? STEP_OPENS_DOOR : STEP_UNLOCKS_DOOR, bx, by, tx, ty};
  // 5. Anything else stops the step.
  return look;
}

PlayerState Step_Player(PlayerState player, Board& b) {
  const int32_t d = player.sprite.current_frame;
  const StepLook look = Look_Step(b, player.block_x, player.block_y, player.square_x, player.square_y, d);
  switch (look.outcome) {
    case STEP_ENTERS:
      player.block_x = look.block_x;
      player.block_y = look.block_y;
      player.square_x = look.square_x;
      player.square_y = look.square_y;
      break;
    case STEP_UNLOCKS_DOOR:
      if (player.keys <= 0) break;
      player.keys -= 1;
      b.blocks[look.block_x][look.block_y].locked = 0;
      b.blocks[look.block_x][look.block_y].squares[look.square_x][look.square_y].content = Open_Door_Of(d);
      break;
    case STEP_OPENS_DOOR:
      b.blocks[look.block_x][look.block_y].squares[look.square_x][look.square_y].content = Open_Door_Of(d);
      break;
    case STEP_NONE:
      break;
  }
  return player;
}

Players Global_Players() { return Players{player1, player2, current_player}; }

PlayerState* Move_Player_To_Move(int32_t direction, Board& b, const Players& players) {
  PlayerState* mover = Player_To_Move(players);
  if (mover == nullptr) return nullptr;
  mover->sprite.current_frame = direction;
  *mover = Step_Player(*mover, b);
  return mover;
}

MazeBlock Move_Current_Player(int32_t direction, MazeBlock block, Board& b) {
  const PlayerState* mover = Move_Player_To_Move(direction, b, Global_Players());
  if (mover == nullptr || !In_Range(mover->block_x) || !In_Range(mover->block_y)) return block;
  return b.blocks[mover->block_x][mover->block_y];
}

namespace {
int32_t Wrap(int32_t v) { return (v % 8 + 8) % 8; }
}  // namespace

void Shift_Column(int column, uint8_t down, Board& b) { Shift_Column(column, down, b, player1, player2); }

void Shift_Row(int row, uint8_t right, Board& b) { Shift_Row(row, right, b, player1, player2); }

void Shift_Column(int column, uint8_t down, Board& b, PlayerState& p1, PlayerState& p2) {
  const int x = column - 1;
  if (!In_Range(x) || down > 1) return;
  if (down == 1) {
    const MazeBlock aside = b.blocks[x][7];
    for (int y = 7; y >= 1; --y) b.blocks[x][y] = b.blocks[x][y - 1];
    b.blocks[x][0] = aside;
  } else {
    const MazeBlock aside = b.blocks[x][0];
    for (int y = 0; y <= 6; ++y) b.blocks[x][y] = b.blocks[x][y + 1];
    b.blocks[x][7] = aside;
  }
  const int32_t delta = down == 1 ? 1 : -1;
  for (PlayerState* p : {&p1, &p2}) {
    if (p->block_x == x) p->block_y = Wrap(p->block_y + delta);
  }
}

void Shift_Row(int row, uint8_t right, Board& b, PlayerState& p1, PlayerState& p2) {
  const int y = row - 1;
  if (!In_Range(y) || right > 1) return;
  if (right == 1) {
    const MazeBlock aside = b.blocks[7][y];
    for (int x = 7; x >= 1; --x) b.blocks[x][y] = b.blocks[x - 1][y];
    b.blocks[0][y] = aside;
  } else {
    const MazeBlock aside = b.blocks[0][y];
    for (int x = 0; x <= 6; ++x) b.blocks[x][y] = b.blocks[x + 1][y];
    b.blocks[7][y] = aside;
  }
  const int32_t delta = right == 1 ? 1 : -1;
  for (PlayerState* p : {&p1, &p2}) {
    if (p->block_y == y) p->block_x = Wrap(p->block_x + delta);
  }
}

void Rotate_Square(int32_t& square_x, int32_t& square_y) {
  const int32_t x = square_x;
  square_x = square_y;
  square_y = 7 - x;
}

uint8_t Rotate_Players_In_Block(const MazeBlock& block) {
  return Rotate_Players_In_Block(block, player1, player2);
}

uint8_t Rotate_Players_In_Block(const MazeBlock& block, PlayerState& p1, PlayerState& p2) {
  uint8_t turned = 0;
  if (p1.block_number == block.number) {
    Rotate_Square(p1.square_x, p1.square_y);
    turned |= 1;
  }
  if (p2.block_number == block.number) {
    Rotate_Square(p2.square_x, p2.square_y);
    turned |= 2;
  }
  return turned;
}

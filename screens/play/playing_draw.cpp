// The drawing pass of the playing screen: background, detail view, board overview with its shift
// buttons and cells (hit-tested as they are drawn), counter rows, end-of-turn button and pointer.
#include <cstdio>

#include "common/bobs.h"
#include "common/shell_state.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "platform/platform.h"
#include "screens/play/comforts.h"
#include "screens/play/playing.h"
#include "sound/sound.h"

int32_t wall_layer[8][8];
int32_t floor_layer[8][8];

int Draw_Frame_BOB(BOB& bob, int32_t frame) {
  if (frame < 0 || frame >= bob.frame_count || frame >= BOB_MAX_FRAMES) return 0;
  bob.current_frame = frame;
  return Draw_BOB(&bob, display.back_surface);
}

static int Draw_At(BOB& bob, int x, int y, int32_t frame) {
  bob.x = x;
  bob.y = y;
  return Draw_Frame_BOB(bob, frame);
}

static bool Is_Letter(int32_t v) { return v >= 'a' && v <= 'z'; }

void Draw_Panel(int x, int y, int rows, int cols) {
  if (rows <= 0 || cols < 0) return;
  for (int r = 0; r < rows; ++r) {
    // Frames of the left end, the run across and the right end of this tile row.
    int left = 4, across = 8, right = 6;
    if (r == 0) {
      left = 0, across = 7, right = 1;
    } else if (r == rows - 1) {
      left = 2, across = 5, right = 3;
    }
    for (int j = 0; j <= cols; ++j) {
      const int frame = j == 0 ? left : (j == cols ? right : across);
      Draw_At(BOB_message, x + 32 * j, y + 32 * r, frame);
    }
  }
}

// Five empty slots, then one filled slot per unit of the value from slot 0 on. Slots past the right
// edge of the screen would be clipped away, so the run stops there.
static void Draw_Counter_Slots(int y, int32_t value, int32_t filled_frame) {
  for (int k = 0; k < COUNTER_SLOTS; ++k)
    Draw_At(BOB_counters, COUNTER_SLOT_X + COUNTER_SLOT_PITCH * k, y, 0);
  for (int32_t k = 0; k < value && COUNTER_SLOT_X + COUNTER_SLOT_PITCH * k < SCREEN_WIDTH; ++k)
    Draw_At(BOB_counters, COUNTER_SLOT_X + COUNTER_SLOT_PITCH * k, y, filled_frame);
}

void Draw_Actions_Row() {
  Draw_Panel(COUNTER_PANEL_X, COUNTER_PANEL_Y, COUNTER_PANEL_ROWS, COUNTER_PANEL_COLS);
  Draw_At(BOB_artifacts, COUNTER_LABEL_X, ACTIONS_ROW_Y, 2);
  const PlayerState* p = Player_To_Move();
  Draw_Counter_Slots(ACTIONS_ROW_Y, p ? p->actions : 0, current_player == 1 ? 3 : 1);
}

void Draw_Treasures_Row() {
  Draw_At(BOB_artifacts, COUNTER_LABEL_X, TREASURES_ROW_Y, current_player == 1 ? 5 : 3);
  const PlayerState* p = Player_To_Move();
  Draw_Counter_Slots(TREASURES_ROW_Y, p ? p->treasures : 0, current_player == 1 ? 5 : 2);
}

void Draw_Keys_Row() {
  Draw_At(BOB_artifacts, COUNTER_LABEL_X, KEYS_LABEL_Y, 4);
  const PlayerState* p = Player_To_Move();
  Draw_Counter_Slots(KEYS_ROW_Y, p ? p->keys : 0, 4);
}

// Reads the picture layers of a block type afresh; a type outside 0..14 is drawn as type 10.
static int32_t Read_Layers(int32_t type, int32_t overlay[8][8]) {
  const int32_t t = (type >= 0 && type <= 14) ? type : 10;
  char name[16];
  std::snprintf(name, sizeof name, "%d.txt", static_cast<int>(t));
  Read_Value_Grid(name, wall_layer);
  std::snprintf(name, sizeof name, "%db.txt", static_cast<int>(t));
  Read_Value_Grid(name, floor_layer);
  if (t == 10) Read_Value_Grid("10c.txt", overlay);
  return t;
}

static bool Stands_On(const PlayerState& p, const MazeBlock& block, int sx, int sy) {
  return p.block_number == block.number && p.square_x == sx && p.square_y == sy;
}

void Draw_Block_Detail(MazeBlock block) {
  int32_t overlay_layer[8][8] = {};
  const int32_t t = Read_Layers(block.type, overlay_layer);
  BOB* const layers[] = {&BOB_walls, &BOB_floor, &BOB_artifacts2, &BOB_artifacts, &BOB_doors};

  for (int sy = 0; sy < 8; ++sy) {
    for (int sx = 0; sx < 8; ++sx) {
      const int x = DETAIL_X + SQUARE_PITCH * sx, y = DETAIL_Y + SQUARE_PITCH * sy;
      for (BOB* bob : layers) bob->x = x, bob->y = y;
      const int32_t f = floor_layer[sx][sy];
      if (Is_Letter(f)) Draw_Frame_BOB(BOB_floor, f - 'a');
      Draw_Square_Reach(block, sx, sy, x, y);
      const int32_t v = block.squares[sx][sy].content;
      if (v != 0 && v < 99) Draw_Frame_BOB(BOB_artifacts2, v);
      if (sx == TREASURE_SQUARE_X && sy == TREASURE_SQUARE_Y) {
        if (block.treasure_p1 == 1) Draw_At(BOB_artifacts, DETAIL_TREASURE_X, DETAIL_TREASURE_Y, 5);
        if (block.treasure_p2 == 1) Draw_At(BOB_artifacts, DETAIL_TREASURE_X, DETAIL_TREASURE_Y, 3);
      }
      if (Stands_On(player1, block, sx, sy)) Draw_At(BOB_player1, x, y, BOB_player1.current_frame);
      if (Stands_On(player2, block, sx, sy)) Draw_At(BOB_player2, x, y, BOB_player2.current_frame);
      const int32_t w = wall_layer[sx][sy];
      if (w >= 1 && w <= 9)
        Draw_Frame_BOB(BOB_walls, w - 1);
      else if (w == 'a')
        Draw_Frame_BOB(BOB_artifacts2, ITEM_SOLID_OBJECT);
      if (t == 10 && Is_Letter(overlay_layer[sx][sy])) Draw_Frame_BOB(BOB_walls, overlay_layer[sx][sy] - 'a');
      if (v > 99) Draw_Frame_BOB(BOB_doors, v - 100);
    }
  }
}

// The shift buttons, line by line: each runs its click protocol, then draws its face. Only a player
// with actions left can shift.
static void Draw_Shift_Buttons(Board& b) {
  for (const ShiftLine& line : shift_lines) {
    for (int n = 1; n <= 8; ++n) {
      const int x = line.x0 + line.dx * n, y = line.y0 + line.dy * n;
      const ClickResult click =
          Click_Control(x, y, SHIFT_BUTTON_SIZE, SHIFT_BUTTON_SIZE, 1, left_press_latch);
      if (click == CLICK_FIRED) {
        const bool paid = Paid_Shift(line.column, n, line.direction, b);
        Play_Sound(paid ? SOUND_SHIFT : SOUND_REFUSED);
        if (!paid) Note_Refused_Shift();
      }
      Draw_At(BOB_game_buttons, x, y, click == CLICK_PRESSED ? line.normal_frame + 4 : line.normal_frame);
    }
  }
}

// Writes the 8 x 8 marker grid of a player's square to the debug output.
static void Dump_Square(const PlayerState& p) {
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) Debug_Print(x == p.square_x && y == p.square_y ? "1" : "0");
    Debug_Print("\n");
  }
  Debug_Print("\n");
}

// A right click turns the block when the player to move has an action left, carrying the squares of
// both players who stand in it; the view switches to the block either way.
static void Rotate_Cell(Board& b, int bx, int by) {
  const int turned = Paid_Rotate(bx, by, b);
  Play_Sound(turned >= 0 ? SOUND_ROTATE : SOUND_REFUSED);
  if (turned < 0) Note_Refused_Turn(b.blocks[bx][by]);
  if (turned > 0 && (turned & 1)) Dump_Square(player1);
  if (turned > 0 && (turned & 2)) Dump_Square(player2);
  current_block = b.blocks[bx][by];
}

static bool Stands_In(const PlayerState& p, int bx, int by) { return p.block_x == bx && p.block_y == by; }

static void Draw_Overview(Board& b) {
  for (int by = 0; by < 8; ++by) {
    for (int bx = 0; bx < 8; ++bx) {
      const int x = OVERVIEW_X + CELL_SIZE * bx, y = OVERVIEW_Y + CELL_SIZE * by;
      const bool over = Pointer_Over(x, y, CELL_SIZE, CELL_SIZE);
      int back = 2;
      if (Stands_In(player2, bx, by))
        back = 0;
      else if (Stands_In(player1, bx, by))
        back = 1;
      else if (over && current_player == 1 && Hover_Tint_Shown())
        back = 1;
      else if (over && current_player == 0 && Hover_Tint_Shown())
        back = 0;

      if (Click_Control(x, y, CELL_SIZE, CELL_SIZE, 1, left_press_latch) == CLICK_FIRED)
        current_block = b.blocks[bx][by];
      if (Click_Control(x, y, CELL_SIZE, CELL_SIZE, 2, right_press_latch) == CLICK_FIRED)
        Rotate_Cell(b, bx, by);

      const MazeBlock& block = b.blocks[bx][by];
      Draw_At(BOB_block_back, x, y, back);
      Draw_At(BOB_pasigas, x, y, block.type);
      if (block.treasure_p2 == 1)
        Draw_At(BOB_treasure, x, y, 0);
      else if (block.treasure_p1 == 1)
        Draw_At(BOB_treasure, x, y, 1);
      Draw_Cell_Marks(b, bx, by, x, y, over);
    }
  }
}

void Draw_Playing_Screen(Board& b) {
  BOB& rock = current_player == 1 ? BOB_rock1 : BOB_rock2;
  for (int r = 0; r < BACKGROUND_ROWS; ++r) {
    for (int q = 0; q < BACKGROUND_COLUMNS; ++q) {
      rock.x = BACKGROUND_PITCH * q;
      rock.y = BACKGROUND_PITCH * r;
      Draw_Scaled_BOB(&rock, BACKGROUND_TILE, BACKGROUND_TILE, display.back_surface, 0);
    }
  }
  BOB_rock1.x = BOB_rock1.y = BOB_rock2.x = BOB_rock2.y = 0;

  Fill_Rect(DETAIL_X, DETAIL_Y, DETAIL_RIGHT, DETAIL_BOTTOM, DETAIL_GROUND_COLOR, display.back_surface);
  Draw_Panel(BOARD_PANEL_X, BOARD_PANEL_Y, BOARD_PANEL_ROWS, BOARD_PANEL_COLS);
  Draw_Shift_Buttons(b);
  Prepare_Board_Marks(b);
  Draw_Overview(b);
  Show_Moves(b);
  Refresh_Block_Numbers(b, player1, player2);
  Draw_Block_Detail(current_block);
  Draw_Actions_Row();
  Draw_Treasures_Row();
  Draw_Keys_Row();
  Draw_Feedback_And_Scores();

  BOB_mouse.current_frame = 0;
  BOB_mouse.x = mouse_x;
  BOB_mouse.y = mouse_y;
  Draw_At(BOB_end_turn, END_TURN_X, END_TURN_Y, BOB_end_turn.current_frame);
  Draw_Leave_Question();
  Draw_Frame_BOB(BOB_mouse, 0);
}

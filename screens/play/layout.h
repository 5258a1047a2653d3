// Where everything on the playing screen stands, in pixels of the 640 x 480 screen. The drawing pass,
// its hit tests, the benchmarks and anything that points at a control read the places from here.
#pragma once

#include <cstdint>

// The rock background: 100 x 100 tiles on a 99-pixel grid, 7 across and 5 down.
constexpr int BACKGROUND_TILE = 100, BACKGROUND_PITCH = 99, BACKGROUND_COLUMNS = 7, BACKGROUND_ROWS = 5;

// The panel of tiles behind the detail view and the board: Draw_Panel(x, y, rows, cols).
constexpr int BOARD_PANEL_X = 0, BOARD_PANEL_Y = 57, BOARD_PANEL_ROWS = 9, BOARD_PANEL_COLS = 8;

// The detail view: square (sx, sy) at (DETAIL_X + SQUARE_PITCH * sx, DETAIL_Y + SQUARE_PITCH * sy) on
// a ground filled from (DETAIL_X, DETAIL_Y) to (DETAIL_RIGHT, DETAIL_BOTTOM), exclusive.
constexpr int DETAIL_X = 20, DETAIL_Y = 75, SQUARE_PITCH = 31;
constexpr int DETAIL_RIGHT = 268, DETAIL_BOTTOM = 323;
constexpr uint16_t DETAIL_GROUND_COLOR = 45;
// The treasure mark of the shown block, over square (3, 3).
constexpr int DETAIL_TREASURE_X = 113, DETAIL_TREASURE_Y = 168;

// The board overview: cell (bx, by) at (OVERVIEW_X + CELL_SIZE * bx, OVERVIEW_Y + CELL_SIZE * by).
constexpr int OVERVIEW_X = 349, OVERVIEW_Y = 107, CELL_SIZE = 32;

// The four lines of shift buttons around the overview, in the order the drawing pass handles them.
// Button n (1..8) of a line stands at (x0 + dx * n, y0 + dy * n) and shifts column or row n - 1.
struct ShiftLine {
  int x0, y0, dx, dy;
  int32_t normal_frame;  // the pressed face is normal_frame + 4
  bool column;           // true: shifts a column; false: a row
  uint8_t direction;     // Shift_Column: 1 down, 0 up; Shift_Row: 1 right, 0 left
};
inline constexpr ShiftLine shift_lines[4] = {
    {317, 75, 32, 0, 2, true, 1},    // top: the column moves down
    {317, 363, 32, 0, 3, true, 0},   // bottom: the column moves up
    {317, 75, 0, 32, 1, false, 1},   // left: the row moves right
    {605, 75, 0, 32, 0, false, 0},   // right: the row moves left
};
constexpr int SHIFT_BUTTON_SIZE = 32;

// The counter box and its three rows: a label at COUNTER_LABEL_X, five slots from COUNTER_SLOT_X on
// a COUNTER_SLOT_PITCH pitch.
constexpr int COUNTER_PANEL_X = 30, COUNTER_PANEL_Y = 355, COUNTER_PANEL_ROWS = 4, COUNTER_PANEL_COLS = 7;
constexpr int COUNTER_LABEL_X = 60, COUNTER_SLOT_X = 100, COUNTER_SLOT_PITCH = 31, COUNTER_SLOTS = 5;
constexpr int ACTIONS_ROW_Y = 370, TREASURES_ROW_Y = 401, KEYS_ROW_Y = 433, KEYS_LABEL_Y = 440;

// The end-of-turn button.
constexpr int END_TURN_X = 420, END_TURN_Y = 420, END_TURN_W = 96, END_TURN_H = 48;

// The show moves comfort: a shifted row or column slides into place in the board overview, a turned
// block turns, over a few frames, so a person sees what the other player (or the computer) did.
// Drawing only: the board has changed at once, as always; this draws over the overview's cells what
// lay between the old picture and the new, from what the last frame showed.
#include <cmath>

#include "common/bobs.h"
#include "graphics/display.h"
#include "screens/play/comforts.h"
#include "screens/play/layout.h"
#include "settings/settings.h"

namespace {

constexpr int MOVE_FRAMES = 8;  // frames a slide or a turn takes to show
constexpr double PI = 3.14159265358979323846;

enum MoveShown { SHOWN_NONE, SHOWN_SHIFT, SHOWN_TURN };

struct Shown {
  int32_t numbers[8][8] = {}, types[8][8] = {};
  bool known = false;  // the last frame's board is above
  MoveShown kind = SHOWN_NONE;
  bool column = false;
  int line = 0, step = 0;  // the line moved and which way (+1 down or right, -1 up or left)
  int bx = 0, by = 0;      // the block turned
  int32_t old_type = 0;
  int frame = 0;
};
Shown shown;

// The line shifted since the last frame, when exactly one moved and nothing else changed.
bool Find_Shift(const Board& b) {
  int found = 0;
  for (const bool column : {true, false})
    for (int line = 0; line < 8; ++line)
      for (const int step : {1, -1}) {
        bool moved = true, changed = false;
        for (int i = 0; i < 8 && moved; ++i) {
          const int from = (i - step + 8) % 8;
          const int32_t now = column ? b.blocks[line][i].number : b.blocks[i][line].number;
          const int32_t was = column ? shown.numbers[line][from] : shown.numbers[from][line];
          const int32_t before = column ? shown.numbers[line][i] : shown.numbers[i][line];
          moved = now == was;
          changed = changed || now != before;
        }
        if (!moved || !changed) continue;
        ++found;
        shown.column = column;
        shown.line = line;
        shown.step = step;
      }
  if (found != 1) return false;
  // Everything off the line stands as it stood.
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if ((shown.column ? x : y) != shown.line && b.blocks[x][y].number != shown.numbers[x][y]) return false;
  return true;
}

// The one block turned since the last frame (its number kept, its type changed), when nothing moved.
bool Find_Turn(const Board& b) {
  int found = 0;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      if (b.blocks[x][y].number != shown.numbers[x][y]) return false;
      if (b.blocks[x][y].type == shown.types[x][y]) continue;
      ++found;
      shown.bx = x;
      shown.by = y;
      shown.old_type = shown.types[x][y];
    }
  return found == 1;
}

bool Keyed(const Surface& s, uint16_t p) {
  return s.has_color_key && p >= s.color_key_low && p <= s.color_key_high;
}

// Copies a frame of `bob` with its top left at (x, y), its colour key left out, into the back surface
// where it falls inside the rectangle [left, right) x [top, bottom). With `turn`, the picture is turned
// anticlockwise by that many radians about its middle first.
void Draw_Clipped(const BOB& bob, int32_t frame, int x, int y, int left, int top, int right, int bottom,
                  double turn = 0) {
  if (frame < 0 || frame >= bob.frame_count || frame >= BOB_MAX_FRAMES || !bob.frames[frame]) return;
  const Surface& src = *bob.frames[frame];
  Surface& dst = *display.back_surface;
  const double c = std::cos(turn), s = std::sin(turn);
  const double mx = (src.width - 1) / 2.0, my = (src.height - 1) / 2.0;
  for (int dy = 0; dy < src.height; ++dy)
    for (int dx = 0; dx < src.width; ++dx) {
      const int tx = x + dx, ty = y + dy;
      if (tx < left || tx >= right || ty < top || ty >= bottom || tx < 0 || ty < 0 || tx >= dst.width ||
          ty >= dst.height)
        continue;
      // The source pixel the turn brings here.
      const double rx = dx - mx, ry = dy - my;
      const int sx = static_cast<int>(std::lround(mx + rx * c - ry * s));
      const int sy = static_cast<int>(std::lround(my + rx * s + ry * c));
      if (sx < 0 || sy < 0 || sx >= src.width || sy >= src.height) continue;
      const uint16_t p = src.pixels[static_cast<size_t>(sy) * (src.pitch / 2) + sx];
      if (Keyed(src, p)) continue;
      dst.pixels[static_cast<size_t>(ty) * (dst.pitch / 2) + tx] = p;
    }
}

// The ground of a block's cell: in the colour of the player standing in it, player 2 first.
int32_t Back_Frame(const Board& b, int32_t number) {
  for (const PlayerState* p : {&player2, &player1}) {
    if (p->block_x < 0 || p->block_x > 7 || p->block_y < 0 || p->block_y > 7) continue;
    if (b.blocks[p->block_x][p->block_y].number == number) return p == &player2 ? 0 : 1;
  }
  return 2;
}

// A block's cell picture (ground, type, treasure) at (x, y), inside the clip rectangle.
void Draw_Cell(const Board& b, const MazeBlock& block, int x, int y, int left, int top, int right, int bottom,
               int32_t type, double turn) {
  Draw_Clipped(BOB_block_back, Back_Frame(b, block.number), x, y, left, top, right, bottom);
  Draw_Clipped(BOB_pasigas, type, x, y, left, top, right, bottom, turn);
  if (block.treasure_p2 == 1)
    Draw_Clipped(BOB_treasure, 0, x, y, left, top, right, bottom);
  else if (block.treasure_p1 == 1)
    Draw_Clipped(BOB_treasure, 1, x, y, left, top, right, bottom);
}

void Draw_Shift(const Board& b, double t) {
  const int offset = static_cast<int>(std::lround((1.0 - t) * CELL_SIZE)) * shown.step;
  const int left = OVERVIEW_X + (shown.column ? CELL_SIZE * shown.line : 0);
  const int top = OVERVIEW_Y + (shown.column ? 0 : CELL_SIZE * shown.line);
  const int right = left + (shown.column ? CELL_SIZE : 8 * CELL_SIZE);
  const int bottom = top + (shown.column ? 8 * CELL_SIZE : CELL_SIZE);
  for (int i = 0; i < 8; ++i) {
    const MazeBlock& block = shown.column ? b.blocks[shown.line][i] : b.blocks[i][shown.line];
    // Slid back towards where it stood, and the block that went round the edge at both ends.
    for (const int wrap : {0, 8, -8}) {
      const int along = CELL_SIZE * (i + wrap) - offset;
      const int x = shown.column ? left : OVERVIEW_X + along, y = shown.column ? OVERVIEW_Y + along : top;
      Draw_Cell(b, block, x, y, left, top, right, bottom, block.type, 0);
    }
  }
}

void Draw_Turn(const Board& b, double t) {
  const MazeBlock& block = b.blocks[shown.bx][shown.by];
  const int x = OVERVIEW_X + CELL_SIZE * shown.bx, y = OVERVIEW_Y + CELL_SIZE * shown.by;
  Draw_Cell(b, block, x, y, x, y, x + CELL_SIZE, y + CELL_SIZE, shown.old_type, t * PI / 2);
}

void Remember(const Board& b) {
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      shown.numbers[x][y] = b.blocks[x][y].number;
      shown.types[x][y] = b.blocks[x][y].type;
    }
  shown.known = true;
}

}  // namespace

void Show_Moves(const Board& b) {
  if (!Comfort_On(SETTING_SHOW_MOVES) || !display.back_surface) {
    shown.kind = SHOWN_NONE;
    Remember(b);
    return;
  }
  if (shown.known) {
    if (Find_Shift(b)) {
      shown.kind = SHOWN_SHIFT;
      shown.frame = 0;
    } else if (Find_Turn(b)) {
      shown.kind = SHOWN_TURN;
      shown.frame = 0;
    }
  }
  Remember(b);
  if (shown.kind == SHOWN_NONE) return;
  const double t = static_cast<double>(shown.frame) / MOVE_FRAMES;
  if (shown.kind == SHOWN_SHIFT)
    Draw_Shift(b, t);
  else
    Draw_Turn(b, t);
  Touch_Surface(display.back_surface);
  if (++shown.frame >= MOVE_FRAMES) shown.kind = SHOWN_NONE;
}

void Reset_Show_Moves() { shown = Shown{}; }

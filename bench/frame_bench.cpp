// The cost of one playing frame drawn into the back surface: 35 opaque stretched 253 x 253 rock
// tiles, 350 keyed 32 x 32 tiles laid out like the playing screen, one keyed 640 x 480 picture and a
// few fills. The same list of blits is run through SDL2's software blitter (RLE on for its keyed
// surfaces) in the same run, as the figure to beat.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "graphics/bob.h"
#include "graphics/display.h"
#include "screens/play/layout.h"

namespace {

constexpr int TILE_KINDS = 12;

// The parts of a frame, so that each can also be timed alone.
enum : int { PART_STRETCHED = 1, PART_TILES = 2, PART_PICTURE = 4, PART_FILLS = 8, PART_ALL = 15 };

struct Placement {
  int kind, x, y;
};

// The frame's colour fills: the detail view's ground, a backing under the board and one under the
// end-of-turn button (right and bottom exclusive).
struct FillPart {
  int left, top, right, bottom;
  uint16_t color;
};
constexpr FillPart fills[3] = {
    {DETAIL_X, DETAIL_Y, DETAIL_RIGHT, DETAIL_BOTTOM, DETAIL_GROUND_COLOR},
    {OVERVIEW_X, OVERVIEW_Y, OVERVIEW_X + 8 * CELL_SIZE, OVERVIEW_Y + 8 * CELL_SIZE, 0x18E3},
    {END_TURN_X, END_TURN_Y, END_TURN_X + END_TURN_W, END_TURN_Y + END_TURN_H, 0x7BEF},
};

// The playing screen's keyed 32 x 32 draws: the detail panel, the shift buttons, the board overview
// (cell back and block picture), the detail view's layers and the counter box, which runs off the
// bottom edge.
std::vector<Placement> Playing_Screen_Tiles() {
  std::vector<Placement> tiles;
  for (int r = 0; r < BOARD_PANEL_ROWS; ++r) {
    for (int c = 0; c <= BOARD_PANEL_COLS; ++c) tiles.push_back({0, BOARD_PANEL_X + 32 * c, BOARD_PANEL_Y + 32 * r});
  }
  for (const ShiftLine& line : shift_lines) {
    for (int n = 1; n <= 8; ++n) tiles.push_back({line.column ? 1 : 2, line.x0 + line.dx * n, line.y0 + line.dy * n});
  }
  for (int by = 0; by < 8; ++by) {
    for (int bx = 0; bx < 8; ++bx) {
      tiles.push_back({3, OVERVIEW_X + CELL_SIZE * bx, OVERVIEW_Y + CELL_SIZE * by});
      tiles.push_back({4 + (bx + by) % 3, OVERVIEW_X + CELL_SIZE * bx, OVERVIEW_Y + CELL_SIZE * by});
    }
  }
  for (int sy = 0; sy < 8; ++sy) {
    for (int sx = 0; sx < 8; ++sx) {
      const int x = DETAIL_X + SQUARE_PITCH * sx, y = DETAIL_Y + SQUARE_PITCH * sy;
      tiles.push_back({7, x, y});
      if ((sx + 2 * sy) % 2 == 0) tiles.push_back({8 + (sx + sy) % 3, x, y});
    }
  }
  const int counter_box_bottom = COUNTER_PANEL_Y + 32 * (COUNTER_PANEL_ROWS - 1);
  for (int j = 0; j <= COUNTER_PANEL_COLS && tiles.size() < 350; ++j)
    tiles.push_back({0, COUNTER_PANEL_X + 32 * j, counter_box_bottom});
  for (int k = 0; tiles.size() < 350; ++k)
    tiles.push_back({11, COUNTER_SLOT_X + COUNTER_SLOT_PITCH * (k % COUNTER_SLOTS), ACTIONS_ROW_Y + 31 * (k / 5 % 3)});
  return tiles;
}

// Deterministic pictures: what is transparent (0) follows the kind of tile.
uint16_t Tile_Pixel(int kind, int x, int y) {
  uint32_t h = static_cast<uint32_t>(kind * 7919 + x * 131 + y * 9973);
  h = (h ^ (h >> 7)) * 2654435761u;
  uint16_t colour = static_cast<uint16_t>((h >> 8) | 0x0821);  // never 0
  int dx = 2 * x - 31, dy = 2 * y - 31;
  switch (kind % 4) {
    case 0:  // a panel or floor tile: opaque
      return colour;
    case 1:  // a round button: transparent corners
      return dx * dx + dy * dy <= 31 * 31 ? colour : 0;
    case 2:  // a wall piece: an 8-pixel strip
      return x >= 12 && x < 20 ? colour : 0;
    default:  // an item: a small figure in the middle
      return dx * dx + 2 * dy * dy <= 18 * 18 ? colour : 0;
  }
}

uint16_t Wall_Pixel(int x, int y) {
  int edge = 300 + (y / 16 % 2) * 24;  // a brick wall over the left half with a jagged edge
  return x < edge ? static_cast<uint16_t>(0x8410 + ((x / 32 + y / 16) % 4) * 0x0841) : 0;
}

uint16_t Rock_Pixel(int x, int y) {
  uint32_t h = static_cast<uint32_t>(x * 73856093u ^ y * 19349663u);
  return static_cast<uint16_t>(0x4208 + (h >> 20) % 0x1000);
}

struct EngineScene {
  BOB rock, wall, tiles[TILE_KINDS];
  std::vector<Placement> placements = Playing_Screen_Tiles();

  EngineScene() {
    Init_Display(640, 480, 16, 1);
    RECT whole{0, 0, 640, 480};
    display.dd_clipper = Attach_Clipper(display.back_surface, 1, &whole);
    Create_BOB(&rock, 0, 0, 253, 253, 1, BOB_STILL | BOB_VISIBLE, DDSCAPS_SYSTEMMEMORY);
    Create_BOB(&wall, 0, 0, 640, 480, 1, BOB_STILL | BOB_VISIBLE, DDSCAPS_SYSTEMMEMORY);
    Paint(&rock, [](int x, int y) { return Rock_Pixel(x, y); });
    Paint(&wall, [](int x, int y) { return Wall_Pixel(x, y); });
    for (int k = 0; k < TILE_KINDS; ++k) {
      Create_BOB(&tiles[k], 0, 0, 32, 32, 1, BOB_STILL | BOB_VISIBLE, DDSCAPS_SYSTEMMEMORY);
      Paint(&tiles[k], [k](int x, int y) { return Tile_Pixel(k, x, y); });
    }
  }
  ~EngineScene() {
    Destroy_BOB(&rock);
    Destroy_BOB(&wall);
    for (BOB& t : tiles) Destroy_BOB(&t);
    Shutdown_Display();
  }
  template <typename F>
  static void Paint(BOB* bob, F pixel) {
    Surface* s = bob->frames[0];
    for (int y = 0; y < bob->height; ++y) {
      for (int x = 0; x < bob->width; ++x) s->pixels[y * (s->pitch / 2) + x] = pixel(x, y);
    }
    Touch_Surface(s);
  }

  void Draw_Frame(int parts) {
    Surface* back = display.back_surface;
    for (int r = 0; r < BACKGROUND_ROWS && (parts & PART_STRETCHED); ++r) {
      for (int q = 0; q < BACKGROUND_COLUMNS; ++q) {
        Set_Pos_BOB(&rock, BACKGROUND_PITCH * q, BACKGROUND_PITCH * r);
        Draw_Scaled_BOB(&rock, BACKGROUND_TILE, BACKGROUND_TILE, back, 0);
      }
    }
    if (parts & PART_FILLS) {
      for (const FillPart& f : fills) Fill_Rect(f.left, f.top, f.right, f.bottom, f.color, back);
    }
    for (size_t i = 0; i < placements.size() && (parts & PART_TILES); ++i) {
      BOB& t = tiles[placements[i].kind];
      t.x = placements[i].x;
      t.y = placements[i].y;
      Draw_BOB(&t, back);
    }
    if (parts & PART_PICTURE) Draw_BOB(&wall, back);
  }
};

struct SdlScene {
  SDL_Surface* back = nullptr;
  SDL_Surface* rock = nullptr;
  SDL_Surface* wall = nullptr;
  SDL_Surface* tiles[TILE_KINDS] = {};
  std::vector<Placement> placements = Playing_Screen_Tiles();

  static SDL_Surface* Make(int w, int h, bool keyed, uint16_t (*pixel)(int, int, int), int kind) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
      for (int x = 0; x < w; ++x) row[x] = pixel(kind, x, y);
    }
    if (keyed) {
      SDL_SetColorKey(s, SDL_TRUE, 0);
      SDL_SetSurfaceRLE(s, 1);
    }
    return s;
  }

  SdlScene() {
    back = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    rock = Make(
        253, 253, false, [](int, int x, int y) { return Rock_Pixel(x, y); }, 0);
    wall = Make(
        640, 480, true, [](int, int x, int y) { return Wall_Pixel(x, y); }, 0);
    for (int k = 0; k < TILE_KINDS; ++k) tiles[k] = Make(32, 32, true, Tile_Pixel, k);
  }
  ~SdlScene() {
    SDL_FreeSurface(back);
    SDL_FreeSurface(rock);
    SDL_FreeSurface(wall);
    for (SDL_Surface* t : tiles) SDL_FreeSurface(t);
  }

  void Draw_Frame(int parts) {
    SDL_Rect rock_source{0, 0, 252, 252};
    for (int r = 0; r < BACKGROUND_ROWS && (parts & PART_STRETCHED); ++r) {
      for (int q = 0; q < BACKGROUND_COLUMNS; ++q) {
        SDL_Rect d{BACKGROUND_PITCH * q, BACKGROUND_PITCH * r, BACKGROUND_PITCH, BACKGROUND_PITCH};
        SDL_BlitScaled(rock, &rock_source, back, &d);
      }
    }
    if (parts & PART_FILLS) {
      for (const FillPart& f : fills) {
        SDL_Rect d{f.left, f.top, f.right - f.left, f.bottom - f.top};
        SDL_FillRect(back, &d, f.color);
      }
    }
    for (size_t i = 0; i < placements.size() && (parts & PART_TILES); ++i) {
      SDL_Rect d{placements[i].x, placements[i].y, 32, 32};
      SDL_BlitSurface(tiles[placements[i].kind], nullptr, back, &d);
    }
    SDL_Rect whole{0, 0, 640, 480};
    if (parts & PART_PICTURE) SDL_BlitSurface(wall, nullptr, back, &whole);
  }
};

void Count_Frames(benchmark::State& state) {
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A whole frame by the engine, by its reference blitter, and by SDL2.
void BM_Engine_Frame(benchmark::State& state) {
  EngineScene scene;
  blit_force_reference = false;
  for (auto _ : state) {
    scene.Draw_Frame(PART_ALL);
    benchmark::DoNotOptimize(display.back_surface->pixels[0]);
    benchmark::ClobberMemory();
  }
  Count_Frames(state);
}
BENCHMARK(BM_Engine_Frame)->Unit(benchmark::kMicrosecond);

void BM_Engine_Frame_Reference(benchmark::State& state) {
  EngineScene scene;
  blit_force_reference = true;
  for (auto _ : state) {
    scene.Draw_Frame(PART_ALL);
    benchmark::DoNotOptimize(display.back_surface->pixels[0]);
    benchmark::ClobberMemory();
  }
  blit_force_reference = false;
  Count_Frames(state);
}
BENCHMARK(BM_Engine_Frame_Reference)->Unit(benchmark::kMicrosecond);

void BM_SDL2_Frame(benchmark::State& state) {
  SdlScene scene;
  for (auto _ : state) {
    scene.Draw_Frame(PART_ALL);
    benchmark::DoNotOptimize(static_cast<uint16_t*>(scene.back->pixels)[0]);
    benchmark::ClobberMemory();
  }
  Count_Frames(state);
}
BENCHMARK(BM_SDL2_Frame)->Unit(benchmark::kMicrosecond);

// One part of the frame alone: 1 the stretched tiles, 2 the keyed tiles, 4 the keyed picture, 8 the fills.
void BM_Engine_Part(benchmark::State& state) {
  EngineScene scene;
  for (auto _ : state) {
    scene.Draw_Frame(static_cast<int>(state.range(0)));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Engine_Part)
    ->Arg(PART_STRETCHED)
    ->Arg(PART_TILES)
    ->Arg(PART_PICTURE)
    ->Arg(PART_FILLS)
    ->Unit(benchmark::kMicrosecond);

void BM_SDL2_Part(benchmark::State& state) {
  SdlScene scene;
  for (auto _ : state) {
    scene.Draw_Frame(static_cast<int>(state.range(0)));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SDL2_Part)
    ->Arg(PART_STRETCHED)
    ->Arg(PART_TILES)
    ->Arg(PART_PICTURE)
    ->Arg(PART_FILLS)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// Whole frames of the real game on the headless backend, with the art and templates of the run folder:
// a playing frame, the grown menu, a frame of closing walls over the playing screen and the results
// screen. Each frame's draws are recorded once through the engine's trace hook and the same list is
// replayed by the engine's blitter alone and by SDL2's software blitter (RLE on for keyed sources),
// in the same run. Also start-up (Game_Init to the first menu frame) and a scripted headless game.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/model.h"
#include "graphics/bob.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "graphics/palette_lines.h"
#include "platform/platform.h"
#include "screens/front/front.h"
#include "screens/play/playing.h"
#include "shell/assets.h"
#include "shell/main_loop.h"
#include "shell/script.h"
#include "common/shell_state.h"

#ifndef ORVALIS_RUN_DIR
#define ORVALIS_RUN_DIR "."
#endif
#ifndef ORVALIS_BENCH_DIR
#define ORVALIS_BENCH_DIR "."
#endif

namespace {

constexpr int64_t SEED = 1234;

enum Screen : int { SCREEN_PLAYING, SCREEN_PLAYING_CROSSING, SCREEN_MENU, SCREEN_TRANSITION, SCREEN_RESULTS };

// The folder with the art and the templates: $ORVALIS_RUN_DIR, else the build's run folder.
bool Enter_Run_Dir() {
  const char* dir = std::getenv("ORVALIS_RUN_DIR");
  std::error_code ec;
  std::filesystem::current_path(dir != nullptr ? dir : ORVALIS_RUN_DIR, ec);
  return !ec;
}

int Art_Files_Present() {
  int n = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(".", ec))
    n += entry.path().extension() == ".bmp";
  return n;
}

// A fresh start: the headless backend, Game_Init with a fixed seed, a new game, the menu called up and
// grown by 31 real menu frames, and the pointer resting over an overview cell.
bool Start_Session(benchmark::State& state) {
  if (!Enter_Run_Dir()) {
    state.SkipWithError("cannot enter the run folder (set ORVALIS_RUN_DIR)");
    return false;
  }
  if (Platform_Is_Open()) {
    Game_Shutdown();
    Platform_Close();
  }
  PlatformConfig config;
  config.backend = BACKEND_HEADLESS;
  if (!Platform_Open(config)) {
    state.SkipWithError("cannot open the headless backend");
    return false;
  }
  start_seed = SEED;
  Game_Init();
  Reset_Menu_State();
  Reset_Play_State();
  mouse_x = 452;
  mouse_y = 210;
  mouse_buttons = 0;
  escape_latch = 0;
  game_state = STATE_MAIN_MENU;
  Platform_Set_Key(VK_RETURN, true);
  Menu_Frame();
  Platform_Set_Key(VK_RETURN, false);
  for (int i = 0; i < 30; ++i) Menu_Frame();
  New_Game(board);
  game_state = STATE_PLAYING;
  player1.winner = 1;  // read only by the results screen
  player1.turns = 37;
  player1.items = 9;
  state.counters["art_files"] = Art_Files_Present();
  return true;
}

void Draw_Walls() {
  Draw_Scaled_BOB(&BOB_wall_left, 650, 490, display.back_surface, 1);
  Draw_Scaled_BOB(&BOB_wall_right, 650, 490, display.back_surface, 1);
}

// Puts the game in the state the screen needs (once, before timing).
void Prepare(Screen screen) {
  Hide_BOB(&BOB_wall_left);
  Hide_BOB(&BOB_wall_right);
  current_block = board.blocks[0][0];
  switch (screen) {
    case SCREEN_PLAYING_CROSSING:
      // The crossing reads three layer files, the most a block type reads.
      current_block.type = 10;
      break;
    case SCREEN_TRANSITION:
      // The sixteenth of the 32 closing frames: each wall halfway in.
      Show_BOB(&BOB_wall_left);
      Show_BOB(&BOB_wall_right);
      BOB_wall_left.x = -320 + 10 * 16;
      BOB_wall_right.x = 320 - 10 * 16;
      break;
    case SCREEN_RESULTS:
      Set_Palette(black_palette);
      break;
    default:
      break;
  }
}

// What the game draws for the screen, without the vertical-blank wait and the flip.
void Draw_Screen(Screen screen) {
  switch (screen) {
    case SCREEN_PLAYING:
    case SCREEN_PLAYING_CROSSING:
      Draw_Playing_Screen(board);
      break;
    case SCREEN_MENU:
      Draw_Menu(menu_origin_x, menu_origin_y, menu_button_w, menu_button_h);
      break;
    case SCREEN_TRANSITION:
      Draw_Playing_Screen(board);
      Draw_Walls();
      break;
    case SCREEN_RESULTS:
      Fill_Rect(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 200, display.back_surface);
      Draw_Results();
      break;
  }
}

struct Traced {
  DrawRecord record;
  std::string text;
};
std::vector<Traced>* recording = nullptr;

void Record_Draw(const DrawRecord& r) {
  recording->push_back(Traced{r, r.text != nullptr ? std::string(r.text) : std::string()});
}

// One frame's draws, in order.
std::vector<Traced> Record_Frame(Screen screen) {
  std::vector<Traced> trace;
  recording = &trace;
  draw_trace_hook = Record_Draw;
  Draw_Screen(screen);
  draw_trace_hook = nullptr;
  recording = nullptr;
  return trace;
}

struct TraceSummary {
  int blits = 0, scaled = 0, keyed = 0, fills = 0, texts = 0;
  double pixels = 0;  // destination pixels asked for, before clipping
};

TraceSummary Summarise(const std::vector<Traced>& trace) {
  TraceSummary s;
  for (const Traced& t : trace) {
    const RECT& d = t.record.dest_rect;
    if (t.record.kind == DRAW_FILL) ++s.fills;
    if (t.record.kind == DRAW_TEXT) ++s.texts;
    if (t.record.kind != DRAW_BLIT) continue;
    ++s.blits;
    const RECT& r = t.record.src_rect;
    s.scaled += (d.right - d.left != r.right - r.left || d.bottom - d.top != r.bottom - r.top);
    s.keyed += (t.record.flags & DDBLT_KEYSRC) != 0;
    s.pixels += double(d.right - d.left) * double(d.bottom - d.top);
  }
  return s;
}

void Put_Summary(benchmark::State& state, const std::vector<Traced>& trace) {
  TraceSummary s = Summarise(trace);
  state.counters["blits"] = s.blits;
  state.counters["scaled"] = s.scaled;
  state.counters["keyed"] = s.keyed;
  state.counters["fills"] = s.fills;
  state.counters["texts"] = s.texts;
}

void Count_Frames(benchmark::State& state) {
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The engine's draws replayed: the same calls with the same rectangles, nothing of the game around them.
void Replay_Engine(const std::vector<Traced>& trace) {
  for (const Traced& t : trace) {
    const DrawRecord& r = t.record;
    switch (r.kind) {
      case DRAW_BLIT:
        Blit_Surface(r.dest, &r.dest_rect, r.src, &r.src_rect, r.flags);
        break;
      case DRAW_FILL:
        Fill_Rect(r.dest_rect.left, r.dest_rect.top, r.dest_rect.right, r.dest_rect.bottom, r.color, r.dest);
        break;
      case DRAW_TEXT:
        Draw_Text_RGB(t.text.c_str(), r.dest_rect.left, r.dest_rect.top, r.rgb, r.dest);
        break;
    }
  }
}

SDL_Rect To_Sdl(const RECT& r) { return SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// The same list on SDL surfaces made from the same pixels: 1:1 blits with SDL_BlitSurface, stretched ones
// with SDL_BlitScaled, fills with SDL_FillRect, text as a pre-rendered ARGB picture blended with
// SDL_BlitSurface (SDL_ttf's way; its rasterising is left out, the engine's is not).
struct SdlReplay {
  struct Op {
    DrawKind kind;
    SDL_Surface* src;
    SDL_Rect s, d;
    bool scaled;
    uint32_t color;
  };
  SDL_Surface* back = nullptr;
  std::vector<Op> ops;
  std::map<std::pair<const Surface*, bool>, SDL_Surface*> sources;
  std::vector<SDL_Surface*> owned;

  explicit SdlReplay(const std::vector<Traced>& trace) {
    back = SDL_CreateRGBSurfaceWithFormat(0, SCREEN_WIDTH, SCREEN_HEIGHT, 16, SDL_PIXELFORMAT_RGB565);
    owned.push_back(back);
    for (const Traced& t : trace) {
      const DrawRecord& r = t.record;
      Op op{r.kind, nullptr, To_Sdl(r.src_rect), To_Sdl(r.dest_rect), false, r.color};
      if (r.kind == DRAW_BLIT) {
        op.src = Source(r.src, (r.flags & DDBLT_KEYSRC) != 0);
        op.scaled = op.s.w != op.d.w || op.s.h != op.d.h;
      } else if (r.kind == DRAW_TEXT) {
        op.src = Text(t.text, r.rgb);
        if (op.src == nullptr) continue;
        op.s = SDL_Rect{0, 0, op.src->w, op.src->h};
        op.d = SDL_Rect{r.dest_rect.left, r.dest_rect.top, op.src->w, op.src->h};
      }
      ops.push_back(op);
    }
  }
  ~SdlReplay() {
    for (SDL_Surface* s : owned) SDL_FreeSurface(s);
  }

  SDL_Surface* Source(const Surface* from, bool keyed) {
    auto found = sources.find({from, keyed});
    if (found != sources.end()) return found->second;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, from->width, from->height, 16, SDL_PIXELFORMAT_RGB565);
    for (int y = 0; y < from->height; ++y) {
      auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
      for (int x = 0; x < from->width; ++x) row[x] = from->pixels[y * (from->pitch / 2) + x];
    }
    if (keyed) {
      SDL_SetColorKey(s, SDL_TRUE, 0);
      SDL_SetSurfaceRLE(s, 1);
    }
    owned.push_back(s);
    sources[{from, keyed}] = s;
    return s;
  }

  SDL_Surface* Text(const std::string& text, uint32_t rgb) {
    TextMask mask;
    if (!Platform_Render_Text(text.c_str(), 0, &mask) || mask.width <= 0) return nullptr;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, mask.width, mask.height, 32, SDL_PIXELFORMAT_ARGB8888);
    uint32_t colour = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
    for (int y = 0; y < mask.height; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
      for (int x = 0; x < mask.width; ++x)
        row[x] = uint32_t{mask.coverage[static_cast<size_t>(y * mask.width + x)]} << 24 | colour;
    }
    SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
    owned.push_back(s);
    return s;
  }

  void Run() {
    for (Op& op : ops) {
      SDL_Rect s = op.s, d = op.d;  // the blits clip them in place
      switch (op.kind) {
        case DRAW_FILL:
          SDL_FillRect(back, &d, op.color);
          break;
        case DRAW_BLIT:
          if (op.scaled) {
            SDL_BlitScaled(op.src, &s, back, &d);
          } else {
            SDL_BlitSurface(op.src, &s, back, &d);
          }
          break;
        case DRAW_TEXT:
          SDL_BlitSurface(op.src, &s, back, &d);
          break;
      }
    }
  }

  // The share of the frame where SDL's picture equals the engine's back surface.
  double Agreement() const {
    const Surface* engine = display.back_surface;
    int same = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
      const auto* row =
          reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(back->pixels) + y * back->pitch);
      for (int x = 0; x < SCREEN_WIDTH; ++x) same += row[x] == engine->pixels[y * (engine->pitch / 2) + x];
    }
    return double(same) / (SCREEN_WIDTH * SCREEN_HEIGHT);
  }
};

// The share of the frame that the fast paths (kept pictures in use) draw exactly as the reference
// blitter does; anything below 1 is a fault.
double Agreement_With_Reference(Screen screen) {
  const Surface* back = display.back_surface;
  const size_t words = static_cast<size_t>(back->pitch / 2) * SCREEN_HEIGHT;
  blit_force_reference = true;
  Draw_Screen(screen);
  blit_force_reference = false;
  std::vector<uint16_t> reference(back->pixels, back->pixels + words);
  for (int i = 0; i < 3; ++i) Draw_Screen(screen);
  size_t same = 0;
  for (size_t i = 0; i < words; ++i) same += back->pixels[i] == reference[i];
  return double(same) / double(words);
}

// The whole frame as the game draws it: layer-file reads, hit tests and all.
void BM_Game_Frame(benchmark::State& state, Screen screen) {
  if (!Start_Session(state)) return;
  Prepare(screen);
  Put_Summary(state, Record_Frame(screen));
  state.counters["same_as_reference"] = Agreement_With_Reference(screen);
  for (auto _ : state) {
    Draw_Screen(screen);
    benchmark::DoNotOptimize(display.back_surface->pixels[0]);
    benchmark::ClobberMemory();
  }
  Count_Frames(state);
}

// The frame's draws alone, through the engine's blitter.
void BM_Engine_Replay(benchmark::State& state, Screen screen) {
  if (!Start_Session(state)) return;
  Prepare(screen);
  std::vector<Traced> trace = Record_Frame(screen);
  Put_Summary(state, trace);
  for (auto _ : state) {
    Replay_Engine(trace);
    benchmark::DoNotOptimize(display.back_surface->pixels[0]);
    benchmark::ClobberMemory();
  }
  Count_Frames(state);
}

// The frame's draws through SDL2's software blitter.
void BM_SDL2_Replay(benchmark::State& state, Screen screen) {
  if (!Start_Session(state)) return;
  Prepare(screen);
  std::vector<Traced> trace = Record_Frame(screen);
  Put_Summary(state, trace);
  SdlReplay sdl(trace);
  // Both start from the same picture, so what they draw can be compared.
  for (int y = 0; y < SCREEN_HEIGHT; ++y)
    std::memcpy(static_cast<uint8_t*>(sdl.back->pixels) + y * sdl.back->pitch,
                display.back_surface->pixels + y * (display.back_surface->pitch / 2), SCREEN_WIDTH * 2);
  Draw_Screen(screen);
  sdl.Run();
  state.counters["same_pixels"] = sdl.Agreement();
  for (auto _ : state) {
    sdl.Run();
    benchmark::DoNotOptimize(static_cast<uint16_t*>(sdl.back->pixels)[0]);
    benchmark::ClobberMemory();
  }
  Count_Frames(state);
}

#define SCREEN_BENCHMARKS(name, screen)                                             \
  BENCHMARK_CAPTURE(BM_Game_Frame, name, screen)->Unit(benchmark::kMicrosecond);    \
  BENCHMARK_CAPTURE(BM_Engine_Replay, name, screen)->Unit(benchmark::kMicrosecond); \
  BENCHMARK_CAPTURE(BM_SDL2_Replay, name, screen)->Unit(benchmark::kMicrosecond)

SCREEN_BENCHMARKS(playing, SCREEN_PLAYING);
SCREEN_BENCHMARKS(playing_crossing, SCREEN_PLAYING_CROSSING);
SCREEN_BENCHMARKS(menu, SCREEN_MENU);
SCREEN_BENCHMARKS(transition, SCREEN_TRANSITION);
SCREEN_BENCHMARKS(results, SCREEN_RESULTS);

// The detail view's layer files, read the way every playing frame reads them.
void BM_Layer_File_Read(benchmark::State& state) {
  if (!Enter_Run_Dir()) {
    state.SkipWithError("cannot enter the run folder");
    return;
  }
  int32_t grid[8][8];
  for (auto _ : state) {
    Read_Value_Grid("11.txt", grid);
    benchmark::DoNotOptimize(grid);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Layer_File_Read)->Unit(benchmark::kMicrosecond);

// From a closed platform to the first presented frame: the headless backend, Game_Init (every art
// file read and cut into frames) and one menu frame; the shutdown is left out of the time.
void BM_Start_Up(benchmark::State& state) {
  if (!Enter_Run_Dir()) {
    state.SkipWithError("cannot enter the run folder");
    return;
  }
  if (Platform_Is_Open()) {
    Game_Shutdown();
    Platform_Close();
  }
  PlatformConfig config;
  config.backend = BACKEND_HEADLESS;
  for (auto _ : state) {
    Platform_Open(config);
    start_seed = SEED;
    Game_Init();
    game_state = STATE_MAIN_MENU;
    Menu_Frame();
    benchmark::DoNotOptimize(Platform_Last_Frame().data());
    state.PauseTiming();
    Game_Shutdown();
    Platform_Close();
    state.ResumeTiming();
  }
  state.counters["art_files"] = Art_Files_Present();
}
BENCHMARK(BM_Start_Up)->Unit(benchmark::kMillisecond);

// A scripted headless game through the real main loop (bench/headless_game.txt: the menu called
// up and grown, a game started, moves, shifts, turns, a rotation, back to the menu and quit), with
// frames counted as presented.
std::string Game_Script_Text() {
  std::string text;
  if (FILE* f = std::fopen(ORVALIS_BENCH_DIR "/headless_game.txt", "rb")) {
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    std::fclose(f);
  }
  return text;
}

int transitions_run = 0;
void Count_Transition(int frame) { transitions_run += frame == 0; }

void BM_Headless_Game(benchmark::State& state) {
  if (!Start_Session(state)) return;
  Script script;
  std::string error;
  const std::string text = Game_Script_Text();
  if (text.empty()) {
    state.SkipWithError("cannot read bench/headless_game.txt");
    return;
  }
  if (!Parse_Script(text, "headless_game.txt", &script, &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  uint64_t frames = 0;
  transitions_run = 0;
  transition_frame_hook = Count_Transition;
  for (auto _ : state) {
    state.PauseTiming();
    Game_Shutdown();
    Platform_Close();
    PlatformConfig config;
    config.backend = BACKEND_HEADLESS;
    Platform_Open(config);
    start_seed = SEED;
    Game_Init();
    Reset_Menu_State();
    Reset_Play_State();
    escape_latch = 0;
    game_state = STATE_MAIN_MENU;
    ScriptRunner runner;
    runner.script = &script;
    const uint64_t before = flip_count;
    state.ResumeTiming();
    Main_Loop(&runner, nullptr);
    frames += flip_count - before;
  }
  transition_frame_hook = nullptr;
  const double runs = static_cast<double>(state.iterations());
  state.counters["frames"] = static_cast<double>(frames) / runs;
  state.counters["transitions"] = transitions_run / runs;
  state.counters["turns_passed"] = player1.turns + player2.turns;
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Headless_Game)->Unit(benchmark::kMillisecond);

}  // namespace

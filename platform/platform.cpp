// The backend-independent half of the platform layer: the message queue, key polling dispatch,
// the frame copy, the debug-output sink and the pointer mapping.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/platform_internal.h"

namespace platform_detail {

State& S() {
  static State state = [] {
    State fresh;
    fresh.routes.fill(ALL_SOURCES);
    return fresh;
  }();
  return state;
}

void Queue_Push(const PlatformMessage& msg, bool system_pointer_move) {
  State& s = S();
  PlatformMessage m = msg;
  m.serial = s.next_serial++;
  if (system_pointer_move && s.tail_mergeable && !s.queue.empty() &&
      s.queue.back().message == MSG_MOUSEMOVE) {
    s.queue.back() = m;
  } else {
    s.queue.push_back(m);
  }
  s.tail_mergeable = system_pointer_move;
}

void Reset_Keys() {
  State& s = S();
  for (auto& keys : s.source_keys) keys.fill(false);
  for (auto& keys : s.stale) keys.fill(false);
  s.routes.fill(ALL_SOURCES);
}

namespace {

// Changed rows fewer than this apart share a rectangle; beyond this many rectangles, one covers all.
constexpr int DAMAGE_ROW_GAP = 8;
constexpr size_t MAX_DAMAGE_RECTS = 8;

void Add_Damage(std::vector<FrameRect>& damage, int y, int left, int right) {
  if (!damage.empty() && y - damage.back().bottom < DAMAGE_ROW_GAP) {
    FrameRect& r = damage.back();
    r.left = std::min(r.left, left);
    r.right = std::max(r.right, right);
    r.bottom = y + 1;
  } else {
    damage.push_back(FrameRect{left, y, right, y + 1});
  }
}

void Merge_Damage(std::vector<FrameRect>& damage) {
  if (damage.size() <= MAX_DAMAGE_RECTS) return;
  FrameRect all = damage.front();
  for (const FrameRect& r : damage) {
    all.left = std::min(all.left, r.left);
    all.right = std::max(all.right, r.right);
  }
  all.bottom = damage.back().bottom;
  damage.assign(1, all);
}

}  // namespace

bool Keep_Frame(const uint16_t* pixels, int pitch_bytes) {
  State& s = S();
  if (!pixels) return false;
  s.damage.clear();
  const bool first = s.last_frame.empty();
  s.last_frame.resize(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT);
  const auto* src = reinterpret_cast<const uint8_t*>(pixels);
  const size_t bytes = SCREEN_WIDTH * sizeof(uint16_t);
  for (int y = 0; y < SCREEN_HEIGHT; ++y) {
    auto* row = reinterpret_cast<uint8_t*>(&s.last_frame[static_cast<size_t>(y) * SCREEN_WIDTH]);
    const uint8_t* from = src + static_cast<ptrdiff_t>(y) * pitch_bytes;
    if (!first) {
      if (std::memcmp(row, from, bytes) == 0) continue;
      size_t left = 0, right = bytes;
      while (row[left] == from[left]) ++left;
      while (row[right - 1] == from[right - 1]) --right;
      Add_Damage(s.damage, y, static_cast<int>(left / 2), static_cast<int>((right + 1) / 2));
    }
    std::memcpy(row, from, bytes);
  }
  if (first) s.damage.assign(1, FrameRect{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT});
  Merge_Damage(s.damage);
  return !s.damage.empty();
}

}  // namespace platform_detail

using namespace platform_detail;

int Platform_Open(const PlatformConfig& config) {
  State& s = S();
  if (s.open) Platform_Close();
  s.config = config;
  s.backend = config.backend;
  s.queue.clear();
  s.tail_mergeable = false;
  Reset_Keys();
  s.last_frame.clear();
  s.virtual_ticks = 0;
  s.fullscreen = config.fullscreen;
  s.presents = 0;
  s.chosen = config.backend;
  Pad_Reset();
  if (config.backend == BACKEND_SDL) {
    if (!Sdl_Open(config)) {
      s.backend = BACKEND_HEADLESS;
      return 0;
    }
  }
  s.open = true;
  Queue_Push(PlatformMessage{MSG_CREATE, 0, 0}, false);
  return 1;
}

void Platform_Close() {
  State& s = S();
  Audio_Shutdown();  // before SDL itself goes
  if (s.open && s.backend == BACKEND_SDL) Sdl_Close();
  s.open = false;
  s.backend = BACKEND_HEADLESS;
  s.queue.clear();
  s.tail_mergeable = false;
  Reset_Keys();
  Pad_Reset();
  Text_Shutdown();
}

int Platform_Is_Open() { return S().open ? 1 : 0; }

PlatformBackend Platform_Backend() { return S().backend; }

static bool Sdl_Active() { return S().open && S().backend == BACKEND_SDL; }

int Platform_Peek_Message(PlatformMessage* msg) {
  State& s = S();
  if (Sdl_Active()) Sdl_Pump();
  Pad_Move_Pointer(Platform_Get_Ticks());
  if (s.queue.empty()) {
    s.tail_mergeable = false;
    return 0;
  }
  const PlatformMessage& taken = s.queue.front();
  // The gamepads move this machine's pointer on from where the devices last put it.
  if (taken.source == INPUT_DEVICES && (taken.message == MSG_MOUSEMOVE ||
                                        (taken.message >= MSG_LBUTTONDOWN && taken.message <= MSG_RBUTTONUP)))
    Pad_Saw_Pointer(taken.lparam);
  if (msg) *msg = taken;
  s.queue.pop_front();
  if (s.queue.empty()) s.tail_mergeable = false;
  return 1;
}

void Platform_Post_Quit(int exit_code) {
  Queue_Push(PlatformMessage{MSG_QUIT, static_cast<uint32_t>(exit_code), 0}, false);
}

void Platform_Post_Message(const PlatformMessage& msg) { Queue_Push(msg, false); }

void Platform_Allow_Close() {
  if (Sdl_Active()) Sdl_Allow_Close();
}

bool Platform_Source_Key_Held(InputSource source, int virtual_key) {
  State& s = S();
  if (virtual_key < 0 || virtual_key > 255 || source >= INPUT_SOURCE_COUNT) return false;
  bool held = s.source_keys[source][static_cast<size_t>(virtual_key)];
  if (!held && source == INPUT_DEVICES)
    held = Pad_Key_Held(virtual_key) || (Sdl_Active() && Sdl_Key_Held(virtual_key));
  return held;
}

int16_t Platform_Get_Key_State(int virtual_key) {
  State& s = S();
  if (virtual_key < 0 || virtual_key > 255) return 0;
  const size_t k = static_cast<size_t>(virtual_key);
  bool held = false;
  for (InputSource source = 0; source < INPUT_SOURCE_COUNT; ++source) {
    if (!(s.routes[k] & Source_Bit(source))) continue;
    const bool down = Platform_Source_Key_Held(source, virtual_key);
    if (!down) s.stale[source][k] = false;
    held = held || (down && !s.stale[source][k]);
  }
  return held ? static_cast<int16_t>(0x8000) : static_cast<int16_t>(0);
}

void Platform_Set_Key(int virtual_key, bool held) {
  Platform_Set_Source_Key(INPUT_DEVICES, virtual_key, held);
}

void Platform_Set_Source_Key(InputSource source, int virtual_key, bool held) {
  if (virtual_key < 0 || virtual_key > 255 || source >= INPUT_SOURCE_COUNT) return;
  S().source_keys[source][static_cast<size_t>(virtual_key)] = held;
}

void Platform_Route_Key(int virtual_key, uint32_t sources) {
  State& s = S();
  if (virtual_key < 0 || virtual_key > 255) return;
  const size_t k = static_cast<size_t>(virtual_key);
  const uint32_t joining = sources & ~s.routes[k];
  for (InputSource source = 0; source < INPUT_SOURCE_COUNT; ++source)
    if (joining & Source_Bit(source)) s.stale[source][k] = Platform_Source_Key_Held(source, virtual_key);
  s.routes[k] = sources & ALL_SOURCES;
}

uint32_t Platform_Next_Serial() { return S().next_serial; }

uint32_t Platform_Get_Ticks() {
  if (Sdl_Active()) return Sdl_Get_Ticks();
  return S().virtual_ticks;
}

void Platform_Set_Ticks(uint32_t ticks) {
  if (Sdl_Active()) {
    Sdl_Set_Ticks(ticks);
    return;
  }
  S().virtual_ticks = ticks;
}

void Platform_Wait_Until(uint32_t target) {
  if (Sdl_Active()) {
    Sdl_Wait_Until(target);
    return;
  }
  State& s = S();
  if (static_cast<int32_t>(target - s.virtual_ticks) > 0) s.virtual_ticks = target;
}

void Platform_Wait_Vblank() {
  if (Sdl_Active()) {
    Sdl_Wait_Vblank();
    return;
  }
  State& s = S();
  s.virtual_ticks = Headless_Next_Vblank(s.virtual_ticks);
}

void Platform_Present(const uint16_t* pixels, int pitch_bytes) {
  if (!pixels) return;
  ++S().presents;
  const bool changed = Keep_Frame(pixels, pitch_bytes);
  if (Sdl_Active()) Sdl_Present(changed);
}

const std::vector<uint16_t>& Platform_Last_Frame() { return S().last_frame; }

void Platform_Debug_Output(const char* text) {
  if (!text) return;
  std::fputs(text, stderr);
  std::fflush(stderr);
}

void Platform_Choose_Backend(PlatformBackend backend) { S().chosen = backend; }

#ifndef __EMSCRIPTEN__
namespace {

// The processor time of the calling thread, in milliseconds.
double Thread_Cpu_Ms() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

}  // namespace

// With ORVALIS_PASS_TIMES=FILE each pass's time in milliseconds goes to FILE, a line a pass: its
// wall time less what the window slept or waited to pace its frames, and its processor time.
// web/bench.mjs compares them with the browser's passes, which never wait.
int Platform_Run_Passes(int (*pass)(), int (*finish)(int code)) {
  const char* times_path = std::getenv("ORVALIS_PASS_TIMES");
  std::FILE* times = nullptr;
  if (times_path && *times_path && !(times = std::fopen(times_path, "w")))
    std::fprintf(stderr, "orvalis: cannot write the pass times to %s\n", times_path);
  auto waited = [] { return Sdl_Active() ? Sdl_Waited_Ms() : 0.0; };
  int code = PLATFORM_PASS_GOES_ON;
  do {
    const auto began = std::chrono::steady_clock::now();
    const double waited_before = waited(), cpu_before = Thread_Cpu_Ms();
    code = pass();
    if (times) {
      const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - began;
      std::fprintf(times, "%.4f %.4f\n", took.count() - (waited() - waited_before),
                   Thread_Cpu_Ms() - cpu_before);
    }
  } while (code == PLATFORM_PASS_GOES_ON);
  if (times) std::fclose(times);
  return finish(code);
}

bool Platform_One_Frame_Per_Pass() { return false; }

bool Platform_Offer_File(const char* /*path*/, const char* /*name*/) { return false; }
#endif

void Platform_End_Window_Run(int exit_code) {
  // A page has no process to end: the browser's run shuts down as a headless one does.
  if (!Sdl_Active() || Platform_One_Frame_Per_Pass()) return;
  Sdl_Hide();
  std::fflush(nullptr);
  std::_Exit(exit_code);
}

void Platform_Show_Error(const char* title, const char* text) {
  // Headless runs, tests and tools never stop for a box.
  if (S().open ? S().backend != BACKEND_SDL : S().chosen != BACKEND_SDL) return;
  Sdl_Show_Error(title ? title : "Orvalis", text ? text : "");
}

void Platform_Set_Fullscreen(bool fullscreen) {
  if (Sdl_Active()) {
    Sdl_Set_Fullscreen(fullscreen);
    return;
  }
  S().fullscreen = fullscreen;
}

int Platform_Is_Fullscreen() { return S().fullscreen ? 1 : 0; }

bool Platform_Window_Active() { return Sdl_Active() ? Sdl_Window_Active() : true; }
void Platform_Set_Scaling(int scale, bool integer_scaling, bool smooth) {
  State& s = S();
  s.config.scale = std::clamp(scale, 1, 8);
  s.config.integer_scaling = integer_scaling;
  s.config.smooth = smooth;
  if (Sdl_Active()) Sdl_Apply_Scaling();
}

PlatformConfig Platform_Config() { return S().config; }

PlatformViewport Platform_Fit_Picture(int output_w, int output_h, bool integer_scaling) {
  PlatformViewport v;
  if (output_w <= 0 || output_h <= 0) return v;
  if (integer_scaling) {
    int k = std::min(output_w / SCREEN_WIDTH, output_h / SCREEN_HEIGHT);
    if (k >= 1) {
      v.w = SCREEN_WIDTH * k;
      v.h = SCREEN_HEIGHT * k;
      v.x = (output_w - v.w) / 2;
      v.y = (output_h - v.h) / 2;
      return v;
    }
  }
  // Wider than 4:3: full height, bars left and right; otherwise full width, bars top and bottom.
  if (static_cast<int64_t>(output_w) * SCREEN_HEIGHT > static_cast<int64_t>(output_h) * SCREEN_WIDTH) {
    v.h = output_h;
    v.w =
        static_cast<int>((static_cast<int64_t>(output_h) * SCREEN_WIDTH + SCREEN_HEIGHT / 2) / SCREEN_HEIGHT);
  } else {
    v.w = output_w;
    v.h =
        static_cast<int>((static_cast<int64_t>(output_w) * SCREEN_HEIGHT + SCREEN_WIDTH / 2) / SCREEN_WIDTH);
  }
  v.w = std::max(v.w, 1);
  v.h = std::max(v.h, 1);
  v.x = (output_w - v.w) / 2;
  v.y = (output_h - v.h) / 2;
  return v;
}

PlatformSize Platform_Fit_Window(int scale, int usable_w, int usable_h, int frame_w, int frame_h) {
  const int k = std::max(scale, 1);
  const int room_w = usable_w - frame_w, room_h = usable_h - frame_h;
  // The widest window of the picture's shape (a width of four times a whole number) in the room.
  int w = std::min({SCREEN_WIDTH * k, room_w, room_h * SCREEN_WIDTH / SCREEN_HEIGHT}) / 4 * 4;
  w = std::max(w, SCREEN_WIDTH);
  return PlatformSize{w, w * SCREEN_HEIGHT / SCREEN_WIDTH};
}

void Platform_On_Display_Lost(void (*save)()) { Sdl_Before_Lost_Exit(save); }

double Platform_Window_Scale() { return Sdl_Active() ? Sdl_Window_Scale() : 0.0; }

void Platform_Map_Pointer(const PlatformViewport& viewport, int window_w, int window_h, int output_w,
                          int output_h, int window_x, int window_y, int* game_x, int* game_y) {
  // The centre of the window point, in output pixels, then its place in the picture.
  double sx = (window_w > 0 && output_w > 0) ? static_cast<double>(output_w) / window_w : 1.0;
  double sy = (window_h > 0 && output_h > 0) ? static_cast<double>(output_h) / window_h : 1.0;
  double px = (window_x + 0.5) * sx;
  double py = (window_y + 0.5) * sy;
  double vw = viewport.w > 0 ? viewport.w : SCREEN_WIDTH;
  double vh = viewport.h > 0 ? viewport.h : SCREEN_HEIGHT;
  double gx = std::floor((px - viewport.x) * SCREEN_WIDTH / vw);
  double gy = std::floor((py - viewport.y) * SCREEN_HEIGHT / vh);
  gx = std::clamp(gx, 0.0, static_cast<double>(SCREEN_WIDTH - 1));
  gy = std::clamp(gy, 0.0, static_cast<double>(SCREEN_HEIGHT - 1));
  if (game_x) *game_x = static_cast<int>(gx);
  if (game_y) *game_y = static_cast<int>(gy);
}

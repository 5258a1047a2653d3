// The SDL2 backend, opened on SDL's dummy and offscreen video drivers so that it is built and run in
// CI: open, present, the message translation (pointer moves merge, buttons never do, no middle
// button or double-click messages, closing posts the destroy), the full-screen toggle, the clock.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

bool Driver_Available(const char* name) {
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i)
    if (std::string(SDL_GetVideoDriver(i)) == name) return true;
  return false;
}

class SdlBackend : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!Driver_Available(GetParam())) GTEST_SKIP() << GetParam() << " video driver not compiled into SDL";
    setenv("SDL_VIDEODRIVER", GetParam(), 1);
    // SDL's own software renderer: the offscreen driver would otherwise pick an EGL renderer, whose
    // Mesa drivers leave allocations behind that the leak checker of the sanitizer build reports; and
    // the window surface without a texture behind it, for the same reason.
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
  }
  void TearDown() override {
    Platform_Close();
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("SDL_RENDER_DRIVER");
    unsetenv("SDL_FRAMEBUFFER_ACCELERATION");
  }
  static bool Open(bool fullscreen, bool whole_frames = false) {
    PlatformConfig config;
    config.backend = BACKEND_SDL;
    config.fullscreen = fullscreen;
    config.whole_frames = whole_frames;
    config.scale = 1;
    return Platform_Open(config) == 1;
  }
  static std::vector<PlatformMessage> Drain() {
    std::vector<PlatformMessage> all;
    PlatformMessage m;
    while (Platform_Peek_Message(&m)) all.push_back(m);
    return all;
  }
  static void Motion(int x, int y, Uint32 state) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = state;
    SDL_PushEvent(&e);
  }
  static void Button(bool down, Uint8 button, int x, int y, Uint8 clicks = 1) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }
  static void Key(SDL_Keycode sym, Uint16 mod) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
  }
};

TEST_P(SdlBackend, OpensPresentsPostsAndCloses) {
  ASSERT_TRUE(Open(true));
  EXPECT_EQ(Platform_Is_Open(), 1);
  EXPECT_EQ(Platform_Backend(), BACKEND_SDL);
  EXPECT_EQ(Platform_Is_Fullscreen(), 1);
  PlatformMessage m;
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.message, MSG_CREATE);
  Drain();  // whatever the driver adds (a paint on exposure)

  std::vector<uint16_t> frame(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint16_t>(i * 31);
  for (int i = 0; i < 3; ++i) {
    Platform_Wait_Vblank();
    Platform_Present(frame.data(), SCREEN_WIDTH * 2);
  }
  EXPECT_EQ(Platform_Last_Frame(), frame);

  Platform_Post_Message({MSG_MOUSEMOVE, 1, 5u | (6u << 16)});
  Platform_Post_Quit(7);
  std::vector<PlatformMessage> got;
  for (const PlatformMessage& x : Drain())
    if (x.message != MSG_PAINT) got.push_back(x);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, MSG_MOUSEMOVE);
  EXPECT_EQ(got[0].lparam, 5u | (6u << 16));
  EXPECT_EQ(got[1].message, MSG_QUIT);
  EXPECT_EQ(got[1].wparam, 7u);

  Platform_Close();
  EXPECT_EQ(Platform_Is_Open(), 0);
  EXPECT_EQ(Platform_Backend(), BACKEND_HEADLESS);
  // And again: a second open in the same process works.
  ASSERT_TRUE(Open(false));
  EXPECT_EQ(Platform_Is_Fullscreen(), 0);
}

TEST_P(SdlBackend, PointerMovesMergeButtonsNeverDo) {
  ASSERT_TRUE(Open(false));  // a 640 x 480 window: game pixels are window pixels
  Drain();
  Motion(10, 10, 0);
  Motion(11, 12, 0);
  Motion(12, 14, 0);  // only this one is left
  Button(true, SDL_BUTTON_LEFT, 12, 14);
  Motion(20, 30, SDL_BUTTON_LMASK);
  Motion(21, 31, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK);
  Button(false, SDL_BUTTON_LEFT, 21, 31);
  Button(true, SDL_BUTTON_MIDDLE, 21, 31);  // no message
  Button(false, SDL_BUTTON_MIDDLE, 21, 31);
  // A double click's second press is a double-click message nobody takes: only its release arrives.
  // The third press of a triple click is an ordinary press again.
  Button(true, SDL_BUTTON_LEFT, 21, 31, 2);
  Button(false, SDL_BUTTON_LEFT, 21, 31, 2);
  Button(true, SDL_BUTTON_LEFT, 21, 31, 3);
  Button(false, SDL_BUTTON_LEFT, 21, 31, 3);
  Button(true, SDL_BUTTON_RIGHT, 21, 31);
  Button(false, SDL_BUTTON_RIGHT, 21, 31);
  Button(true, SDL_BUTTON_RIGHT, 21, 31, 2);
  Button(false, SDL_BUTTON_RIGHT, 21, 31, 2);
  Motion(639, 479, 0);
  std::vector<PlatformMessage> got;
  for (const PlatformMessage& x : Drain())
    if (x.message != MSG_PAINT) got.push_back(x);
  std::vector<uint32_t> kinds;
  for (const PlatformMessage& x : got) kinds.push_back(x.message);
  EXPECT_EQ(kinds, (std::vector<uint32_t>{MSG_MOUSEMOVE, MSG_LBUTTONDOWN, MSG_MOUSEMOVE, MSG_LBUTTONUP,
                                          MSG_LBUTTONUP, MSG_LBUTTONDOWN, MSG_LBUTTONUP, MSG_RBUTTONDOWN,
                                          MSG_RBUTTONUP, MSG_RBUTTONUP, MSG_MOUSEMOVE}));
  ASSERT_EQ(got.size(), 11u);
  EXPECT_EQ(got[0].lparam, 12u | (14u << 16));
  EXPECT_EQ(got[0].wparam, 0u);
  EXPECT_EQ(got[2].lparam, 21u | (31u << 16));
  EXPECT_EQ(got[2].wparam, static_cast<uint32_t>(MK_LBUTTON | MK_RBUTTON));
  EXPECT_EQ(got[10].lparam, 639u | (479u << 16));

  // A move taken by the game is not merged with a later one.
  Motion(1, 2, 0);
  PlatformMessage m;
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.lparam, 1u | (2u << 16));
  Motion(3, 4, 0);
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.lparam, 3u | (4u << 16));
  // A posted move (a script's) is never replaced by a system one.
  Platform_Post_Message({MSG_MOUSEMOVE, 0, 100u | (100u << 16)});
  Motion(5, 6, 0);
  got = Drain();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].lparam, 100u | (100u << 16));
  EXPECT_EQ(got[1].lparam, 5u | (6u << 16));
}

TEST_P(SdlBackend, FullScreenPointerMapsIntoThePicture) {
  ASSERT_TRUE(Open(true));
  Drain();
  SDL_DisplayMode mode;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &mode), 0);
  PlatformViewport v = Platform_Fit_Picture(mode.w, mode.h, false);
  auto expect = [&](int x, int y) {
    int gx = 0, gy = 0;
    Platform_Map_Pointer(v, mode.w, mode.h, mode.w, mode.h, x, y, &gx, &gy);
    return static_cast<uint32_t>(gx) | (static_cast<uint32_t>(gy) << 16);
  };
  const int points[][2] = {{0, 0}, {mode.w / 2, mode.h / 2}, {mode.w - 1, mode.h - 1}, {v.x + 3, v.y + 3}};
  for (const auto& p : points) {
    Motion(p[0], p[1], 0);
    PlatformMessage m{};
    while (Platform_Peek_Message(&m) && m.message != MSG_MOUSEMOVE) {
    }
    EXPECT_EQ(m.message, MSG_MOUSEMOVE);
    EXPECT_EQ(m.lparam, expect(p[0], p[1])) << p[0] << "," << p[1];
  }
  Motion(mode.w / 2, mode.h / 2, 0);
  std::vector<PlatformMessage> got = Drain();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back().lparam & 0xFFFF, 320u);
  EXPECT_EQ(got.back().lparam >> 16, 240u);
}

TEST_P(SdlBackend, ClosingTheWindowPostsDestroyOnce) {
  ASSERT_TRUE(Open(false));
  Drain();
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  SDL_PushEvent(&e);
  int destroys = 0;
  for (const PlatformMessage& m : Drain()) destroys += m.message == MSG_DESTROY;
  EXPECT_EQ(destroys, 1);
}

TEST_P(SdlBackend, F11AndAltEnterToggleFullScreen) {
  ASSERT_TRUE(Open(false));
  Drain();
  EXPECT_EQ(Platform_Is_Fullscreen(), 0);
  Key(SDLK_F11, 0);
  Drain();
  EXPECT_EQ(Platform_Is_Fullscreen(), 1);
  Key(SDLK_RETURN, KMOD_LALT);
  Drain();
  EXPECT_EQ(Platform_Is_Fullscreen(), 0);
  Key(SDLK_RETURN, 0);  // Return alone is the game's
  Drain();
  EXPECT_EQ(Platform_Is_Fullscreen(), 0);
  Platform_Set_Fullscreen(true);
  EXPECT_EQ(Platform_Is_Fullscreen(), 1);
}

TEST_P(SdlBackend, KeysInjectedOrRealAndNoneStuckWithoutFocus) {
  ASSERT_TRUE(Open(false));
  for (int vk : {VK_ESCAPE, VK_RETURN, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_A})
    EXPECT_EQ(Platform_Get_Key_State(vk), 0);
  Platform_Set_Key(VK_A, true);  // a script played visibly
  EXPECT_TRUE(Platform_Get_Key_State(VK_A) & 0x8000);
  Platform_Set_Key(VK_A, false);
  EXPECT_EQ(Platform_Get_Key_State(VK_A), 0);
}

// Wait_Until blocks until the tick count reaches its target, across the wrap. How fast frames are
// paced is a matter of the machine and the display: bench/pacing_bench.cpp shows it.
TEST_P(SdlBackend, ClockWaitsForRealAndWraps) {
  ASSERT_TRUE(Open(false));
  Platform_Set_Ticks(0xFFFFFFF0u);
  uint32_t start = Platform_Get_Ticks();
  EXPECT_GE(start, 0xFFFFFFF0u);
  Platform_Wait_Until(start + 40);  // across the wrap
  uint32_t waited = Platform_Get_Ticks() - start;
  EXPECT_GE(waited, 40u);
  EXPECT_LT(Platform_Get_Ticks(), 0x80000000u);  // wrapped

  // Waits and presents, changed pictures and unchanged ones, keep the last picture shown.
  std::vector<uint16_t> frame(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT, 0x07E0);
  Platform_Present(frame.data(), SCREEN_WIDTH * 2);
  for (int i = 0; i < 20; ++i) {
    frame[static_cast<size_t>(i)] = 0xFFFF;  // a changed picture every frame, then ten unchanged ones
    Platform_Wait_Vblank();
    Platform_Present(frame.data(), SCREEN_WIDTH * 2);
  }
  for (int i = 0; i < 10; ++i) {
    Platform_Wait_Vblank();
    Platform_Present(frame.data(), SCREEN_WIDTH * 2);
  }
  EXPECT_EQ(Platform_Last_Frame(), frame);
}

// A present draws only what changed where the window keeps its picture; the window must then hold
// exactly what drawing every frame whole gives: at the window's own scale, in a full screen of 1.6,
// and in a window resized to a scale of 2 between two presents.
TEST_P(SdlBackend, PresentsOfChangedPartsShowWhatWholeOnesShow) {
  auto window = [] {
    for (Uint32 id = 1; id < 1000; ++id)
      if (SDL_Window* w = SDL_GetWindowFromID(id)) return w;
    return static_cast<SDL_Window*>(nullptr);
  };
  auto window_pixels = [&] {
    SDL_Renderer* renderer = window() ? SDL_GetRenderer(window()) : nullptr;
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    if (renderer == nullptr || SDL_GetRendererOutputSize(renderer, &w, &h) != 0) return pixels;
    pixels.resize(static_cast<size_t>(w) * h);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), w * 4) != 0)
      pixels.clear();
    return pixels;
  };
  std::mt19937 rng(14);
  auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::vector<uint16_t> frame(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT);
  for (uint16_t& p : frame) p = static_cast<uint16_t>(rnd(0, 65535));
  for (int setup = 0; setup < 3; ++setup) {
    ASSERT_TRUE(Open(setup == 1));
    for (int round = 0; round < 12; ++round) {
      if (setup == 2 && round == 4) SDL_SetWindowSize(window(), 2 * SCREEN_WIDTH, 2 * SCREEN_HEIGHT);
      for (int n = rnd(1, 3); n > 0; --n) {  // small changes, some at the edges, some of one bit
        const int w = rnd(1, 40), h = rnd(1, 40), bit = rnd(0, 1);
        const int x = rnd(0, 1) ? rnd(0, SCREEN_WIDTH - w) : (rnd(0, 1) ? 0 : SCREEN_WIDTH - w);
        const int y = rnd(0, 1) ? rnd(0, SCREEN_HEIGHT - h) : (rnd(0, 1) ? 0 : SCREEN_HEIGHT - h);
        for (int r = y; r < y + h; ++r) {
          for (int c = x; c < x + w; ++c) {
            uint16_t& p = frame[static_cast<size_t>(r) * SCREEN_WIDTH + c];
            p = static_cast<uint16_t>(bit ? p ^ 1 : rnd(0, 65535));
          }
        }
      }
      Platform_Present(frame.data(), SCREEN_WIDTH * 2);
    }
    const std::vector<uint32_t> parts = window_pixels();
    ASSERT_TRUE(Open(setup == 1, true));
    if (setup == 2) SDL_SetWindowSize(window(), 2 * SCREEN_WIDTH, 2 * SCREEN_HEIGHT);
    Platform_Present(frame.data(), SCREEN_WIDTH * 2);
    const std::vector<uint32_t> whole = window_pixels();
    ASSERT_FALSE(whole.empty());
    ASSERT_TRUE(parts == whole) << "setup " << setup;
    if (setup == 0) {  // the window's own scale: each window pixel is its frame pixel
      ASSERT_EQ(whole.size(), frame.size());
      for (size_t i = 0; i < frame.size(); ++i) {
        const uint32_t rgb = (whole[i] >> 19 & 31) << 11 | (whole[i] >> 10 & 63) << 5 | (whole[i] >> 3 & 31);
        ASSERT_EQ(rgb, frame[i]) << i;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Drivers, SdlBackend, ::testing::Values("dummy", "offscreen"),
                         [](const ::testing::TestParamInfo<const char*>& p) { return std::string(p.param); });

}  // namespace

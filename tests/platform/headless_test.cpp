// The headless backend: the virtual clock, the message queue, injected keys and the kept frame.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "tests/support/game.h"

namespace {

using Headless = test_support::HeadlessPlatform;

TEST_F(Headless, OpensWithoutWindowAndPostsCreate) {
  EXPECT_EQ(Platform_Is_Open(), 1);
  EXPECT_EQ(Platform_Backend(), BACKEND_HEADLESS);
  PlatformMessage m;
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.message, MSG_CREATE);
  EXPECT_EQ(Platform_Peek_Message(&m), 0);
}

TEST_F(Headless, ClockStartsAtZeroAndStandsStillUntilAWait) {
  EXPECT_EQ(Platform_Get_Ticks(), 0u);
  EXPECT_EQ(Platform_Get_Ticks(), 0u);
}

TEST_F(Headless, VblankMovesToTheNext60HzTick) {
  std::vector<uint32_t> seen;
  for (int i = 0; i < 6; ++i) {
    Platform_Wait_Vblank();
    seen.push_back(Platform_Get_Ticks());
  }
  EXPECT_EQ(seen, (std::vector<uint32_t>{17, 34, 50, 67, 84, 100}));
  // 60 waits make exactly one second.
  Platform_Set_Ticks(0);
  for (int i = 0; i < 60; ++i) Platform_Wait_Vblank();
  EXPECT_EQ(Platform_Get_Ticks(), 1000u);
}

TEST_F(Headless, VblankFromBetweenTicksGoesToTheNextOne) {
  Platform_Set_Ticks(20);
  Platform_Wait_Vblank();
  EXPECT_EQ(Platform_Get_Ticks(), 34u);
  Platform_Set_Ticks(34);
  Platform_Wait_Vblank();
  EXPECT_EQ(Platform_Get_Ticks(), 50u);
}

TEST_F(Headless, WaitUntilMovesToItsTargetAndNeverBack) {
  Platform_Wait_Until(100);
  EXPECT_EQ(Platform_Get_Ticks(), 100u);
  Platform_Wait_Until(50);  // already past
  EXPECT_EQ(Platform_Get_Ticks(), 100u);
  Platform_Wait_Until(100);
  EXPECT_EQ(Platform_Get_Ticks(), 100u);
}

TEST_F(Headless, ClockWrapsAround) {
  Platform_Set_Ticks(0xFFFFFFF0u);
  Platform_Wait_Until(0xFFFFFFF0u + 100u);  // target past the wrap
  EXPECT_EQ(Platform_Get_Ticks(), 84u);
  Platform_Set_Ticks(0xFFFFFFFFu);
  Platform_Wait_Vblank();
  uint32_t after = Platform_Get_Ticks();
  EXPECT_LT(after, 20u);  // wrapped, moved forward by at most one tick
  Platform_Set_Ticks(10);
  Platform_Wait_Until(0xFFFFFFF0u);  // "before" 10 across the wrap: no wait
  EXPECT_EQ(Platform_Get_Ticks(), 10u);
}

TEST_F(Headless, QueueIsFirstInFirstOutAndQuitCarriesTheExitCode) {
  PlatformMessage m;
  ASSERT_EQ(Platform_Peek_Message(&m), 1);  // MSG_CREATE
  Platform_Post_Message({MSG_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 10u | (20u << 16)});
  Platform_Post_Message({MSG_MOUSEMOVE, 0, 11u | (21u << 16)});  // posted moves are never merged
  Platform_Post_Message({MSG_LBUTTONDOWN, 0, 0});
  Platform_Post_Quit(3);
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.message, MSG_MOUSEMOVE);
  EXPECT_EQ(m.wparam, 5u);
  EXPECT_EQ(m.lparam & 0xFFFF, 10u);
  EXPECT_EQ(m.lparam >> 16, 20u);
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.message, MSG_MOUSEMOVE);
  EXPECT_EQ(m.lparam, 11u | (21u << 16));
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.message, MSG_LBUTTONDOWN);
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.message, MSG_QUIT);
  EXPECT_EQ(m.wparam, 3u);
  EXPECT_EQ(Platform_Peek_Message(&m), 0);
  EXPECT_EQ(Platform_Peek_Message(nullptr), 0);
}

TEST_F(Headless, KeysAreHeldUntilReleased) {
  for (int vk : {VK_ESCAPE, VK_RETURN, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_A}) {
    EXPECT_EQ(Platform_Get_Key_State(vk), 0) << vk;
    Platform_Set_Key(vk, true);
    EXPECT_TRUE(Platform_Get_Key_State(vk) & 0x8000) << vk;
    EXPECT_TRUE(Platform_Get_Key_State(vk) & 0x8000) << vk;
    Platform_Set_Key(vk, false);
    EXPECT_EQ(Platform_Get_Key_State(vk), 0) << vk;
  }
  EXPECT_EQ(Platform_Get_Key_State(-1), 0);
  EXPECT_EQ(Platform_Get_Key_State(1000), 0);
  Platform_Set_Key(1000, true);  // ignored, no fault
}

TEST_F(Headless, CloseReleasesKeysAndQueue) {
  Platform_Set_Key(VK_A, true);
  Platform_Post_Quit(0);
  Platform_Close();
  EXPECT_EQ(Platform_Is_Open(), 0);
  EXPECT_EQ(Platform_Get_Key_State(VK_A), 0);
  EXPECT_EQ(Platform_Peek_Message(nullptr), 0);
  Platform_Close();  // safe twice
}

TEST_F(Headless, PresentKeepsTheFrame) {
  EXPECT_TRUE(Platform_Last_Frame().empty());
  // A padded source: pitch of 1300 bytes.
  const int pitch = 1300;
  std::vector<uint8_t> buffer(static_cast<size_t>(pitch) * SCREEN_HEIGHT, 0xEE);
  for (int y = 0; y < SCREEN_HEIGHT; ++y)
    for (int x = 0; x < SCREEN_WIDTH; ++x) {
      uint16_t v = static_cast<uint16_t>(x * 7 + y * 13);
      std::memcpy(&buffer[static_cast<size_t>(y) * pitch + x * 2], &v, 2);
    }
  Platform_Present(reinterpret_cast<const uint16_t*>(buffer.data()), pitch);
  const auto& frame = Platform_Last_Frame();
  ASSERT_EQ(frame.size(), static_cast<size_t>(SCREEN_WIDTH * SCREEN_HEIGHT));
  EXPECT_EQ(frame[0], 0);
  EXPECT_EQ(frame[639], static_cast<uint16_t>(639 * 7));
  EXPECT_EQ(frame[479 * 640 + 639], static_cast<uint16_t>(639 * 7 + 479 * 13));
  Platform_Present(nullptr, 0);  // ignored
  EXPECT_EQ(Platform_Last_Frame().size(), frame.size());
}

TEST(HeadlessRuns, RepeatExactly) {
  auto run = [] {
    PlatformConfig config;
    config.backend = BACKEND_HEADLESS;
    Platform_Open(config);
    std::vector<uint32_t> trace;
    Platform_Wait_Until(5);
    for (int i = 0; i < 100; ++i) {
      Platform_Wait_Vblank();
      if (i % 7 == 0) Platform_Wait_Until(Platform_Get_Ticks() + 100);
      trace.push_back(Platform_Get_Ticks());
    }
    Platform_Close();
    return trace;
  };
  EXPECT_EQ(run(), run());
}

}  // namespace

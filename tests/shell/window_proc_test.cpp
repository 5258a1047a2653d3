// The window procedure's effect on the pointer state, and the quit it posts for a closed window.
#include <gtest/gtest.h>

#include "common/shell_state.h"
#include "platform/platform.h"
#include "shell/main_loop.h"
#include "tests/support/game.h"

namespace {

class WindowProc : public test_support::HeadlessPlatform {
 protected:
  void SetUp() override {
    HeadlessPlatform::SetUp();
    PlatformMessage m;
    while (Platform_Peek_Message(&m)) {
    }
  }
};

TEST_F(WindowProc, PointerMoveStoresPositionAndKeyStateWord) {
  Window_Proc(MSG_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 421u | (440u << 16));
  EXPECT_EQ(mouse_x, 421);
  EXPECT_EQ(mouse_y, 440);
  EXPECT_EQ(mouse_buttons, 5);  // left held with Shift: no screen takes this as the left button
  Window_Proc(MSG_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, 0xFFFFu | (0xFFFFu << 16));
  EXPECT_EQ(mouse_x, 65535);  // the halves are unsigned 16-bit values
  EXPECT_EQ(mouse_y, 65535);
  EXPECT_EQ(mouse_buttons, 3);
}

TEST_F(WindowProc, ButtonsStoreCodesAndLeaveThePosition) {
  Window_Proc(MSG_MOUSEMOVE, 0, 10u | (20u << 16));
  Window_Proc(MSG_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(mouse_buttons, 1);
  Window_Proc(MSG_LBUTTONUP, 0, 0);
  EXPECT_EQ(mouse_buttons, 0);
  Window_Proc(MSG_RBUTTONDOWN, 0, 0);
  EXPECT_EQ(mouse_buttons, 2);
  Window_Proc(MSG_RBUTTONUP, 0, 0);
  EXPECT_EQ(mouse_buttons, 0);
  Window_Proc(519 /* middle button down */, 0, 0);
  Window_Proc(515 /* left double click */, 0, 0);
  EXPECT_EQ(mouse_buttons, 0);
  EXPECT_EQ(mouse_x, 10);
  EXPECT_EQ(mouse_y, 20);
}

TEST_F(WindowProc, DestroyPostsQuitWithCodeZero) {
  PlatformMessage m;
  EXPECT_EQ(Platform_Peek_Message(&m), 0);
  Window_Proc(MSG_DESTROY, 0, 0);
  ASSERT_EQ(Platform_Peek_Message(&m), 1);
  EXPECT_EQ(m.message, static_cast<uint32_t>(MSG_QUIT));
  EXPECT_EQ(m.wparam, 0u);
}

}  // namespace

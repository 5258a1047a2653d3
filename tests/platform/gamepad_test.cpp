// Controllers on the headless backend: injected controller events become the game's own input the
// same way the SDL backend's do.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"

namespace {

class Gamepad : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformConfig config;
    config.backend = BACKEND_HEADLESS;
    ASSERT_EQ(Platform_Open(config), 1);
    Drain();
    Platform_Pad_Connected(PAD, true);
  }
  void TearDown() override { Platform_Close(); }

  // The messages the game would take next.
  std::vector<PlatformMessage> Drain() {
    std::vector<PlatformMessage> out;
    PlatformMessage m;
    while (Platform_Peek_Message(&m)) out.push_back(m);
    return out;
  }
  // One pass of the main loop a frame later.
  std::vector<PlatformMessage> Frame() {
    Platform_Wait_Vblank();
    return Drain();
  }

  static constexpr int PAD = 7;
};

int X_Of(const PlatformMessage& m) { return static_cast<int>(m.lparam & 0xFFFF); }
int Y_Of(const PlatformMessage& m) { return static_cast<int>(m.lparam >> 16); }

TEST_F(Gamepad, ButtonsHoldTheKeysTheGamePolls) {
  const struct {
    PlatformPadButton button;
    int key;
  } map[] = {{PAD_BUTTON_DPAD_UP, VK_UP},     {PAD_BUTTON_DPAD_DOWN, VK_DOWN},
             {PAD_BUTTON_DPAD_LEFT, VK_LEFT}, {PAD_BUTTON_DPAD_RIGHT, VK_RIGHT},
             {PAD_BUTTON_START, VK_RETURN},   {PAD_BUTTON_EAST, VK_ESCAPE},
             {PAD_BUTTON_BACK, VK_ESCAPE}};
  for (const auto& m : map) {
    EXPECT_FALSE(Platform_Key_Held(m.key));
    Platform_Pad_Button(PAD, m.button, true);
    EXPECT_TRUE(Platform_Key_Held(m.key)) << m.button;
    Platform_Pad_Button(PAD, m.button, false);
    EXPECT_FALSE(Platform_Key_Held(m.key)) << m.button;
  }
  Platform_Pad_Button(PAD, PAD_BUTTON_NORTH, true);  // not mapped: nothing held, nothing posted
  for (int key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN, VK_ESCAPE, VK_SPACE})
    EXPECT_FALSE(Platform_Key_Held(key));
  EXPECT_TRUE(Drain().empty());
  // The pad's keys are this machine's devices': a key routed to another source reads up while the pad
  // holds it, and routed back, it stays up until the pad lets go of it and presses it again.
  constexpr InputSource OTHER = 2;
  Platform_Pad_Button(PAD, PAD_BUTTON_EAST, true);
  Platform_Pad_Button(PAD, PAD_BUTTON_DPAD_UP, true);
  Platform_Route_Key(VK_UP, Source_Bit(OTHER));
  EXPECT_TRUE(Platform_Key_Held(VK_ESCAPE));
  EXPECT_FALSE(Platform_Key_Held(VK_UP));
  Platform_Set_Source_Key(OTHER, VK_UP, true);
  EXPECT_TRUE(Platform_Key_Held(VK_UP));
  Platform_Set_Source_Key(OTHER, VK_UP, false);
  Platform_Route_Key(VK_UP, Source_Bit(INPUT_DEVICES));
  EXPECT_FALSE(Platform_Key_Held(VK_UP));
  Platform_Pad_Button(PAD, PAD_BUTTON_DPAD_UP, false);
  EXPECT_FALSE(Platform_Key_Held(VK_UP));
  Platform_Pad_Button(PAD, PAD_BUTTON_DPAD_UP, true);
  EXPECT_TRUE(Platform_Key_Held(VK_UP));
}

TEST_F(Gamepad, SouthAndWestClickAtThePointer) {
  Platform_Post_Message(PlatformMessage{MSG_MOUSEMOVE, 0, 100u | (200u << 16)});
  Drain();
  Platform_Pad_Button(PAD, PAD_BUTTON_SOUTH, true);
  Platform_Pad_Button(PAD, PAD_BUTTON_SOUTH, false);
  Platform_Pad_Button(PAD, PAD_BUTTON_WEST, true);
  Platform_Pad_Button(PAD, PAD_BUTTON_WEST, false);
  const std::vector<PlatformMessage> got = Drain();
  ASSERT_EQ(got.size(), 4u);
  const uint32_t expected[4][2] = {
      {MSG_LBUTTONDOWN, MK_LBUTTON}, {MSG_LBUTTONUP, 0}, {MSG_RBUTTONDOWN, MK_RBUTTON}, {MSG_RBUTTONUP, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(got[i].message, expected[i][0]);
    EXPECT_EQ(got[i].wparam, expected[i][1]);
    EXPECT_EQ(X_Of(got[i]), 100);
    EXPECT_EQ(Y_Of(got[i]), 200);
    EXPECT_EQ(got[i].source, INPUT_DEVICES);
  }
}

TEST_F(Gamepad, LeftStickHoldsTheArrowOfItsStrongerAxis) {
  Platform_Pad_Axis(PAD, PAD_AXIS_LEFT_X, -15000);  // inside the press point: nothing
  EXPECT_FALSE(Platform_Key_Held(VK_LEFT));
  Platform_Pad_Axis(PAD, PAD_AXIS_LEFT_X, -20000);
  EXPECT_TRUE(Platform_Key_Held(VK_LEFT));
  Platform_Pad_Axis(PAD, PAD_AXIS_LEFT_X, -13000);  // eased back, still past the release point
  EXPECT_TRUE(Platform_Key_Held(VK_LEFT));
  Platform_Pad_Axis(PAD, PAD_AXIS_LEFT_Y, 30000);  // down is stronger now
  EXPECT_FALSE(Platform_Key_Held(VK_LEFT));
  EXPECT_TRUE(Platform_Key_Held(VK_DOWN));
  Platform_Pad_Axis(PAD, PAD_AXIS_LEFT_Y, 0);
  Platform_Pad_Axis(PAD, PAD_AXIS_LEFT_X, 5000);
  for (int key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) EXPECT_FALSE(Platform_Key_Held(key));
  EXPECT_TRUE(Drain().empty());  // the left stick never moves the pointer
}

TEST_F(Gamepad, RightStickGlidesThePointerSmoothly) {
  Platform_Post_Message(PlatformMessage{MSG_MOUSEMOVE, 0, 100u | (400u << 16)});
  Drain();
  Platform_Pad_Axis(PAD, PAD_AXIS_RIGHT_X, 2000);  // inside the dead zone
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(Frame().empty());
  Platform_Pad_Axis(PAD, PAD_AXIS_RIGHT_X, 32767);
  Platform_Pad_Axis(PAD, PAD_AXIS_RIGHT_Y, -32768);
  Frame();  // the push starts: its time is taken
  int last_x = 100, last_y = 400;
  for (int i = 0; i < 30; ++i) {
    const std::vector<PlatformMessage> got = Frame();
    ASSERT_EQ(got.size(), 1u);  // one move a frame, a few pixels on
    EXPECT_EQ(got[0].message, MSG_MOUSEMOVE);
    EXPECT_GT(X_Of(got[0]), last_x);
    EXPECT_LE(X_Of(got[0]), last_x + 12);
    EXPECT_LT(Y_Of(got[0]), last_y);
    last_x = X_Of(got[0]);
    last_y = Y_Of(got[0]);
  }
  EXPECT_NEAR(last_x, 100 + 320, 12);  // half a second at full push: half the screen's width
  EXPECT_NEAR(last_y, 400 - 320, 12);
  for (int i = 0; i < 60; ++i) Frame();
  Platform_Pad_Button(PAD, PAD_BUTTON_SOUTH, true);
  std::vector<PlatformMessage> click = Drain();
  ASSERT_EQ(click.size(), 1u);
  EXPECT_EQ(X_Of(click[0]), SCREEN_WIDTH - 1);  // it stops at the edges
  EXPECT_EQ(Y_Of(click[0]), 0);
  Platform_Pad_Button(PAD, PAD_BUTTON_SOUTH, false);
  // A half push is much slower; the pointer goes on from wherever the mouse put it.
  Platform_Post_Message(PlatformMessage{MSG_MOUSEMOVE, 0, 10u | (300u << 16)});
  Platform_Pad_Axis(PAD, PAD_AXIS_RIGHT_Y, 0);
  Platform_Pad_Axis(PAD, PAD_AXIS_RIGHT_X, 16000);
  Drain();
  for (int i = 0; i < 30; ++i) Frame();
  Platform_Pad_Axis(PAD, PAD_AXIS_RIGHT_X, 0);
  Platform_Pad_Button(PAD, PAD_BUTTON_SOUTH, true);
  click = Drain();
  ASSERT_EQ(click.size(), 1u);
  EXPECT_GT(X_Of(click[0]), 10 + 10);
  EXPECT_LT(X_Of(click[0]), 10 + 100);
  EXPECT_EQ(Y_Of(click[0]), 300);
}

TEST_F(Gamepad, UnpluggingLetsGoOfEverythingItHeld) {
  Platform_Pad_Connected(PAD + 1, true);
  EXPECT_EQ(Platform_Pad_Count(), 2);
  Platform_Pad_Button(PAD, PAD_BUTTON_START, true);
  Platform_Pad_Button(PAD, PAD_BUTTON_SOUTH, true);
  Platform_Pad_Axis(PAD, PAD_AXIS_LEFT_X, 32767);
  Platform_Pad_Button(PAD + 1, PAD_BUTTON_DPAD_UP, true);
  Drain();
  Platform_Pad_Connected(PAD, false);
  EXPECT_EQ(Platform_Pad_Count(), 1);
  EXPECT_FALSE(Platform_Key_Held(VK_RETURN));
  EXPECT_FALSE(Platform_Key_Held(VK_RIGHT));
  EXPECT_TRUE(Platform_Key_Held(VK_UP));  // the other controller's button stays held
  const std::vector<PlatformMessage> got = Drain();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, MSG_LBUTTONUP);
  Platform_Pad_Button(PAD, PAD_BUTTON_START, true);  // events of a controller that is gone do nothing
  EXPECT_FALSE(Platform_Key_Held(VK_RETURN));
  EXPECT_EQ(Platform_Pad_Help_Lines().size(), 6u);
}

}  // namespace

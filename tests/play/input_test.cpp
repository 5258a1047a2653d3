// The key chain of the playing input and the end-of-turn button's click protocol.
#include "graphics/clock_text.h"
#include "play_fixture.h"

using KeyChain = PlayScreen;
using EndTurnButton = PlayScreen;

TEST_F(KeyChain, EscapeLeavesOnceOnRelease) {
  Platform_Set_Key(VK_ESCAPE, true);
  for (int i = 0; i < 3; ++i) Play_Frame(0);
  EXPECT_EQ(game_state, STATE_PLAYING);
  EXPECT_EQ(escape_latch, 1);
  Platform_Set_Key(VK_ESCAPE, false);
  Play_Frame(0);
  EXPECT_EQ(game_state, STATE_MAIN_MENU);
  EXPECT_EQ(escape_latch, 0);

  game_state = STATE_PLAYING;  // a press never seen held does nothing
  Play_Frame(0);
  EXPECT_EQ(game_state, STATE_PLAYING);
}

TEST_F(KeyChain, ReturnEndsTheTurnOnRelease) {
  Platform_Set_Key(VK_RETURN, true);
  Play_Frame(0);
  Play_Frame(0);
  EXPECT_EQ(current_player, 0);
  Platform_Set_Key(VK_RETURN, false);
  Play_Frame(0);
  EXPECT_EQ(current_player, 1);
  EXPECT_EQ(player1.turns, 1);
  EXPECT_EQ(player2.turns, 0);
  EXPECT_EQ(current_block.number, board.blocks[7][7].number);
  Play_Frame(0);
  EXPECT_EQ(current_player, 1);
}

TEST_F(KeyChain, AHeldArrowMovesEveryFrameAtMostTenTimesASecond) {
  Platform_Set_Key(VK_RIGHT, true);
  Play_Frame(0);
  uint32_t last_start = frame_start;
  for (int expected_x = 6; expected_x <= 7; ++expected_x) {
    Play_Frame(0);
    EXPECT_EQ(player2.square_x, expected_x);
    EXPECT_GE(frame_start - last_start, 100u);
    last_start = frame_start;
  }
  Play_Frame(0);  // across the block edge into block (1,0)
  EXPECT_EQ(player2.block_x, 1);
  EXPECT_EQ(player2.square_x, 0);
  EXPECT_EQ(player2.sprite.current_frame, DIR_RIGHT);
  EXPECT_EQ(current_block.number, board.blocks[1][0].number);
  EXPECT_EQ(player1.square_x, 4);  // only the player to move
}

TEST_F(KeyChain, CheatAndReturnHoldTheArrowsBack) {
  Platform_Set_Key(VK_A, true);
  Platform_Set_Key(VK_DOWN, true);
  Play_Frame(0);
  EXPECT_EQ(player2.square_y, 4);
  EXPECT_EQ(player1.turns, 105);
  EXPECT_EQ(player2.turns, 15);
  for (const PlayerState* p : {&player1, &player2}) {
    EXPECT_EQ(p->treasures, 5);
    EXPECT_EQ(p->items, 20);
    EXPECT_EQ(p->actions, 5);
    EXPECT_EQ(p->keys, 5);
  }
  EXPECT_EQ(current_player, 0);

  Platform_Set_Key(VK_A, false);
  Platform_Set_Key(VK_RETURN, true);
  Play_Frame(0);
  EXPECT_EQ(player2.square_y, 4);
  Platform_Set_Key(VK_RETURN, false);
  Play_Frame(0);  // the release ends the turn; the arrow waits for the next frame
  EXPECT_EQ(current_player, 1);
  EXPECT_EQ(player2.square_y, 4);
  Play_Frame(0);
  EXPECT_EQ(player1.square_y, 5);
}

TEST_F(KeyChain, TheFrameThatClearsAnArrowLatchExaminesNoFurtherArrow) {
  Platform_Set_Key(VK_LEFT, true);
  Play_Frame(0);
  EXPECT_EQ(player2.square_x, 3);
  Platform_Set_Key(VK_LEFT, false);
  Platform_Set_Key(VK_UP, true);
  Play_Frame(0);
  EXPECT_EQ(left_key_latch, 0);
  EXPECT_EQ(player2.square_y, 4);
  Play_Frame(0);
  EXPECT_EQ(player2.square_y, 3);
  EXPECT_EQ(player2.sprite.current_frame, DIR_UP);
}

TEST_F(EndTurnButton, FiresOnThePixelOfTheLastHeldFrame) {
  Pointer(430, 440, 1);
  Play_Frame(0);
  EXPECT_EQ(BOB_end_turn.current_frame, 1);
  EXPECT_EQ(Shown_Pixel(500, 460), Colour_Of(BOB_end_turn, 1));
  Pointer(431, 441, 1);  // the recorded pixel follows the held pointer
  Play_Frame(0);
  EXPECT_EQ(current_player, 0);
  Pointer(431, 441, 0);
  Play_Frame(0);
  EXPECT_EQ(current_player, 1);
  EXPECT_EQ(left_press_latch, 0);
  EXPECT_EQ(BOB_end_turn.current_frame, 0);
  Play_Frame(0);  // fires once
  EXPECT_EQ(current_player, 1);
}

TEST_F(EndTurnButton, AMoveBeforeTheReleaseCancelsAndTheLatchWaits) {
  Pointer(430, 440, 1);
  Play_Frame(0);
  Pointer(432, 440, 0);  // moved between the last held frame and the release
  Play_Frame(0);
  EXPECT_EQ(current_player, 0);
  EXPECT_EQ(BOB_end_turn.current_frame, 1);  // pressed face stays while over the button

  Pointer(600, 20, 0);  // off the button
  Play_Frame(0);
  EXPECT_EQ(BOB_end_turn.current_frame, 0);
  EXPECT_EQ(left_press_latch, 1);
  EXPECT_EQ(current_player, 0);

  Pointer(430, 440, 0);  // resting later on the recorded pixel fires the click
  Play_Frame(0);
  EXPECT_EQ(current_player, 1);
  EXPECT_EQ(left_press_latch, 0);
}

TEST_F(EndTurnButton, HitBoxExcludesItsTopAndLeftEdges) {
  const struct {
    int x, y;
    bool over;
  } points[] = {{420, 440, false}, {421, 440, true},  {515, 467, true},
                {516, 467, false}, {440, 420, false}, {440, 468, false}};
  for (const auto& pt : points) {
    left_press_latch = 0;
    Pointer(pt.x, pt.y, 1);
    Playing_Input(board);
    EXPECT_EQ(left_press_latch, pt.over ? 1 : 0) << pt.x << "," << pt.y;
    const uint8_t before = current_player;
    Pointer(pt.x, pt.y, 0);
    press_x = pt.x, press_y = pt.y, left_press_latch = 1;
    Playing_Input(board);
    EXPECT_EQ(current_player != before, pt.over) << pt.x << "," << pt.y;
  }
}

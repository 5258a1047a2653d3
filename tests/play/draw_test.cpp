// The drawing pass: the background of the turn, the detail view's layers, the counter rows, and the
// playing frame as a whole.
#include <climits>

#include "play_fixture.h"

using PlayDrawing = PlayScreen;
using PlayFrame = PlayScreen;

TEST_F(PlayDrawing, TheBackgroundSwitchesInTheFrameTheTurnPasses) {
  Play_Frame(0);
  for (int x : {0, 98, 99, 630}) EXPECT_EQ(Shown_Pixel(x, 20), Colour_Of(BOB_rock2, 0)) << x;
  EXPECT_EQ(Shown_Pixel(639, 479), Colour_Of(BOB_rock2, 0));
  Platform_Set_Key(VK_RETURN, true);
  Play_Frame(0);
  Platform_Set_Key(VK_RETURN, false);
  Play_Frame(0);
  EXPECT_EQ(Shown_Pixel(630, 20), Colour_Of(BOB_rock1, 0));
  EXPECT_EQ(Shown_Pixel(150, 30), Colour_Of(BOB_rock1, 0));
}

TEST_F(PlayDrawing, DetailViewDrawsTheLayersAndWhatTheBlockHolds) {
  Write_File("3.txt", "12000000\na0000000\nz9000000\n00000000\n00000000\n00000000\n00000000\n00000000\n");
  Write_File("3b.txt", "bbbbbbbb\nbbbbbbbb\nbbbbbbbb\ndddddddd\nbbbbbbbb\nbbbbbbbb\nbbbbbbbb\nbbbbbbbb\n");
  MazeBlock& block = board.blocks[0][0];
  block.type = 3;
  block.squares[2][4].content = KEY;
  block.squares[3][4].content = 99;
  block.squares[4][4].content = 100;
  block.squares[5][4].content = DOOR_EW_OPEN;
  block.treasure_p1 = 1;
  Place(player2, 0, 0, 1, 0);  // under a wall of its own square
  Place(player1, 0, 0, 6, 6);
  BOB_player1.current_frame = DIR_DOWN;
  current_block = block;
  Play_Frame(0);

  EXPECT_EQ(Square_Pixel(0, 0), Colour_Of(BOB_walls, 0));
  EXPECT_EQ(Square_Pixel(1, 0), Colour_Of(BOB_walls, 1));
  EXPECT_EQ(Square_Pixel(0, 1), Colour_Of(BOB_artifacts2, 5));
  EXPECT_EQ(Square_Pixel(0, 2), Colour_Of(BOB_floor, 1));  // 'z' marks an object spot, not a picture
  EXPECT_EQ(Square_Pixel(1, 2), Colour_Of(BOB_walls, 8));
  EXPECT_EQ(Square_Pixel(5, 3), Colour_Of(BOB_floor, 3));
  EXPECT_EQ(Square_Pixel(2, 4), Colour_Of(BOB_artifacts2, KEY));
  EXPECT_EQ(Square_Pixel(3, 4), Colour_Of(BOB_floor, 1));
  EXPECT_EQ(Square_Pixel(4, 4), Colour_Of(BOB_doors, 0));
  EXPECT_EQ(Square_Pixel(5, 4), Colour_Of(BOB_doors, 3));
  EXPECT_EQ(Square_Pixel(3, 3), Colour_Of(BOB_artifacts, 5));
  EXPECT_EQ(Square_Pixel(6, 6), Colour_Of(BOB_player1, DIR_DOWN));

  // The files are read again on every frame, and the view shows the copy until it is refreshed.
  Write_File("3.txt", "00000000\n");
  board.blocks[0][0].treasure_p2 = 1;
  current_block.treasure_p2 = 1;
  board.blocks[0][0].squares[2][4].content = 0;
  Play_Frame(0);
  EXPECT_EQ(Square_Pixel(0, 0), Colour_Of(BOB_floor, 1));
  EXPECT_EQ(Square_Pixel(1, 0), Colour_Of(BOB_player2, player2.sprite.current_frame));
  EXPECT_EQ(Square_Pixel(3, 3), Colour_Of(BOB_artifacts, 3));
  EXPECT_EQ(Square_Pixel(2, 4), Colour_Of(BOB_artifacts2, KEY));
}

TEST_F(PlayDrawing, LayerValuesBeyondThePicturesDrawNothing) {
  Write_File("10.txt", "b0000000\n");
  Write_File("10b.txt", "efz#0000\n");
  Write_File("10c.txt", "00000000\nmn000000\n");
  MazeBlock& block = board.blocks[0][0];
  block.type = 42;  // drawn as the crossing
  const int32_t contents[] = {-5, 17, 108, 1000, 16, DOOR_NS_CLOSED};
  for (int x = 0; x < 6; ++x) block.squares[x][2].content = contents[x];
  Place(player2, 0, 0, 7, 7);
  current_block = block;
  Play_Frame(0);

  for (int x = 0; x < 4; ++x) EXPECT_EQ(Square_Pixel(x, 0), GROUND) << x;
  EXPECT_EQ(Square_Pixel(0, 1), Colour_Of(BOB_walls, 12));
  EXPECT_EQ(Square_Pixel(1, 1), GROUND);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(Square_Pixel(x, 2), GROUND) << contents[x];
  EXPECT_EQ(Square_Pixel(4, 2), Colour_Of(BOB_artifacts2, 16));
  EXPECT_EQ(Square_Pixel(5, 2), Colour_Of(BOB_doors, 7));

  board.blocks[0][0].type = -3;
  current_block = board.blocks[0][0];
  Play_Frame(0);
  EXPECT_EQ(Square_Pixel(0, 1), Colour_Of(BOB_walls, 12));
}

TEST_F(PlayDrawing, CounterRowsShowThePlayerToMove) {
  player2.actions = 2, player2.treasures = 1, player2.keys = 3;
  player1.actions = 4, player1.treasures = 0, player1.keys = 5;
  auto slot = [this](int k, int y) { return Shown_Pixel(100 + 31 * k + 16, y + 16); };
  auto expect_row = [&](int y, int filled, int full_frame) {
    for (int k = 0; k < 5; ++k)
      EXPECT_EQ(slot(k, y), Colour_Of(BOB_counters, k < filled ? full_frame : 0))
          << "row " << y << " slot " << k;
  };
  Play_Frame(0);
  expect_row(370, 2, 1);
  expect_row(401, 1, 2);
  expect_row(433, 3, 4);
  EXPECT_EQ(Shown_Pixel(76, 386), Colour_Of(BOB_artifacts, 2));
  EXPECT_EQ(Shown_Pixel(76, 417), Colour_Of(BOB_artifacts, 3));
  EXPECT_EQ(Shown_Pixel(76, 460), Colour_Of(BOB_artifacts, 4));

  current_player = 1;
  Play_Frame(0);
  expect_row(370, 4, 3);
  expect_row(401, 0, 5);
  expect_row(433, 5, 4);
  EXPECT_EQ(Shown_Pixel(76, 417), Colour_Of(BOB_artifacts, 5));

  player1.actions = INT_MAX;  // runs on to the right edge of the screen and no further
  Play_Frame(0);
  EXPECT_EQ(slot(5, 370), Colour_Of(BOB_counters, 3));
  EXPECT_EQ(Shown_Pixel(635, 386), Colour_Of(BOB_counters, 3));
}

TEST_F(PlayFrame, APickupAndAStepOntoHomeEndTheGame) {
  MazeBlock& home = board.blocks[0][0];
  home.treasure_p2 = 1;
  home.squares[3][4].content = HOME_MARK;
  Place(player2, 0, 0, 3, 2);
  player2.treasures = 4;
  Platform_Set_Key(VK_DOWN, true);
  EXPECT_EQ(Play_Frame(0), 1);
  EXPECT_EQ(player2.treasures, 5);
  EXPECT_EQ(home.treasure_p2, 0);
  EXPECT_EQ(game_state, STATE_PLAYING);
  Play_Frame(0);
  EXPECT_EQ(player2.square_y, 4);
  EXPECT_EQ(player2.winner, 1);
  EXPECT_EQ(player1.winner, 0);
  EXPECT_EQ(game_state, STATE_RESULTS);
  EXPECT_FALSE(Platform_Last_Frame().empty());
}

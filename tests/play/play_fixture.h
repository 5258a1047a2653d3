// A playing screen on the headless backend: the real start-up, every BOB frame painted in a colour of
// its own so pixels tell which picture was drawn, an open board and both players placed by hand.
// Each test runs in an empty folder of its own, so the layer files it reads are the ones it writes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/asset_manifest.h"
#include "common/shell_state.h"
#include "game/model.h"
#include "graphics/display.h"
#include "platform/platform.h"
#include "screens/play/layout.h"
#include "screens/play/playing.h"
#include "shell/assets.h"
#include "tests/support/game.h"

// The colour frame f of manifest row r is painted in: unique, never 0 (transparent) or 45 (ground).
inline uint16_t Paint_Colour(int row, int frame) {
  return static_cast<uint16_t>(((row + 1) << 6) | (frame + 1));
}

inline uint16_t Colour_Of(const BOB& bob, int frame) {
  for (int r = 0; r < MANIFEST_BOB_COUNT; ++r)
    if (Manifest_BOB(r) == &bob) return Paint_Colour(r, frame);
  ADD_FAILURE() << "not a manifest BOB";
  return 0;
}

constexpr uint16_t GROUND = 45;

// The top left corner of overview cell (bx, by).
inline int Cell_X(int bx) { return OVERVIEW_X + CELL_SIZE * bx; }
inline int Cell_Y(int by) { return OVERVIEW_Y + CELL_SIZE * by; }

class PlayScreen : public test_support::HeadlessGame {
 protected:
  void SetUp() override {
    HeadlessGame::SetUp();
    template_report = nullptr;  // each test writes only the layer files it needs; the rest are missing
    for (int r = 0; r < MANIFEST_BOB_COUNT; ++r) {
      BOB* bob = Manifest_BOB(r);
      for (int f = 0; f < bob->frame_count; ++f) Fill_Surface(bob->frames[f], Paint_Colour(r, f));
    }
    Fill_Surface(BOB_message.frames[8], 0);  // the panel's inside is see-through, as in the art
    Hide_BOB(&BOB_mouse);                    // the pointer would cover the pixels under it
    std::filesystem::current_path(dir_.Path());

    game_state = STATE_PLAYING;
    Pointer(630, 10, 0);
    for (int bx = 0; bx < 8; ++bx)
      for (int by = 0; by < 8; ++by) Open_Block(board.blocks[bx][by], 1 + bx + 8 * by, 8);
    Place(player2, 0, 0, 4, 4);
    Place(player1, 7, 7, 4, 4);
    player1.actions = 2;
    current_player = 0;
    current_block = board.blocks[0][0];
  }

  void TearDown() override {
    std::filesystem::current_path(ORVALIS_RUN_DIR);
    HeadlessGame::TearDown();
  }

  // A block with every square open and empty and all four exits.
  static void Open_Block(MazeBlock& block, int32_t number, int32_t type) {
    for (auto& column : block.squares)
      for (Square& s : column) s = Square{};
    block.exit_north = block.exit_east = block.exit_south = block.exit_west = 1;
    block.special_placed = block.locked = block.home = 0;
    block.treasure_p1 = block.treasure_p2 = block.has_token = block.has_key = 0;
    block.number = number;
    block.type = type;
  }

  // A player at the start of a game, standing where given; its sprite stays as loaded.
  static void Place(PlayerState& p, int bx, int by, int sx, int sy) {
    p.winner = 0;
    p.treasures = p.turns = p.items = p.keys = 0;
    p.actions = 1;
    p.block_x = bx, p.block_y = by, p.square_x = sx, p.square_y = sy;
    p.block_number = board.blocks[bx][by].number;
  }

  static void Pointer(int x, int y, int32_t buttons) {
    mouse_x = x;
    mouse_y = y;
    mouse_buttons = buttons;
  }

  // A click as the window procedure reports it: a frame held on the pixel, then a frame released there.
  static void Click(int x, int y, int32_t button = 1) {
    Pointer(x, y, button);
    Play_Frame(0);
    Pointer(x, y, 0);
    Play_Frame(0);
  }

  static void Write_File(const char* name, const std::string& text) { test_support::Write_File(name, text); }

  // A pixel of the last presented frame.
  static uint16_t Shown_Pixel(int x, int y) { return Platform_Last_Frame().at(y * SCREEN_WIDTH + x); }
  // The middle of square (sx, sy) of the detail view, clear of the one-pixel overlaps.
  static uint16_t Square_Pixel(int sx, int sy) {
    return Shown_Pixel(DETAIL_X + SQUARE_PITCH * sx + 15, DETAIL_Y + SQUARE_PITCH * sy + 15);
  }

 private:
  test_support::TempDir dir_{"play"};
};

// The generated art as the game loads it: every file of the manifest read through the engine's
// bitmap loader and cut into BOB frames, then checked for what the screens rely on.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/wall_pieces.h"
#include "tests/art/loaded_art.h"

namespace {

using namespace art_test;

TEST(ArtFiles, EveryFileIsA24BitBitmapThatHoldsEveryFrameCutFromIt) {
  for (int r = 0; r < MANIFEST_BOB_COUNT; ++r) {
    const char* file = Manifest_File(r);
    SCOPED_TRACE(file);
    // The raw header, independent of how a reader treats it.
    std::ifstream in(Run_Path(file), std::ios::binary);
    ASSERT_TRUE(in.good()) << "missing";
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 54u);
    auto u32 = [&](size_t o) {
      return bytes[o] | bytes[o + 1] << 8 | bytes[o + 2] << 16 | uint32_t{bytes[o + 3]} << 24;
    };
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(u32(2), bytes.size());
    EXPECT_EQ(u32(10), 54u);
    const int32_t width = static_cast<int32_t>(u32(18)), height = static_cast<int32_t>(u32(22));
    EXPECT_GT(height, 0) << "rows must be bottom-up";
    // Rows of a multiple of 4 bytes need no padding, so every reader sees the same pixels.
    EXPECT_EQ(width % 4, 0);
    EXPECT_EQ(bytes.size(), 54u + static_cast<size_t>(width) * static_cast<size_t>(height) * 3u);

    BitmapFile bitmap{};
    ASSERT_EQ(Load_Bitmap_File(&bitmap, Run_Path(file).c_str()), 1);
    // The headers are packed: read their fields by value.
    const int bits = bitmap.bitmapinfoheader.biBitCount;
    const int32_t loaded_w = bitmap.bitmapinfoheader.biWidth, loaded_h = bitmap.bitmapinfoheader.biHeight;
    EXPECT_EQ(bits, 24);
    const ManifestEntry& e = asset_manifest[r];
    for (int f = 0; f < e.frame_count; ++f) {
      int32_t px = 0, py = 0;
      Manifest_Frame_Pixel(r, f, &px, &py);
      EXPECT_LE(px + e.width, loaded_w) << e.bob_name << " frame " << f;
      EXPECT_LE(py + e.height, loaded_h) << e.bob_name << " frame " << f;
    }
    Unload_Bitmap_File(&bitmap);
  }
}

TEST(ArtFiles, BackgroundsDrawnOverNothingOrDrawnOpaqueHaveNoTransparentPixel) {
  const char* opaque[] = {"BOB_menu_background", "BOB_results_background", "BOB_rock1", "BOB_rock2"};
  for (const char* bob : opaque) {
    Frame f = Get(bob, 0);
    ASSERT_FRAME(f);
    EXPECT_EQ(f.Count_Clear(), 0) << bob;
  }
  for (int p = 0; p < 2; ++p) {
    Frame f = Get("BOB_portraits", p);
    ASSERT_FRAME(f);
    EXPECT_EQ(f.Count_Clear(), 0) << "portrait " << p;
  }
}

TEST(ArtFiles, WallPiecesAreBrickOrSeeThroughAsTheirMeaningSays) {
  // Solid pieces fill the whole tile, so neighbouring wall squares join on the 31-pixel pitch.
  for (int piece : {WALL_BLOCK, WALL_FACE_SOUTH, WALL_FACE_EAST, WALL_FACE_NORTH, WALL_FACE_WEST, WALL_MOSSY,
                    WALL_CRACKED}) {
    Frame f = Get("BOB_walls", piece);
    ASSERT_FRAME(f);
    EXPECT_EQ(f.Count_Clear(), 0) << "piece " << piece;
  }
  // Free-standing pieces and decorations let the floor show at their corners.
  for (int piece :
       {WALL_PILLAR, WALL_RUBBLE, WALL_DECOR_VINES, WALL_DECOR_MOSAIC, WALL_DECOR_RUNE, WALL_DECOR_SKULL}) {
    Frame f = Get("BOB_walls", piece);
    ASSERT_FRAME(f);
    EXPECT_TRUE(f.Clear(0, 0) && f.Clear(31, 0) && f.Clear(0, 31) && f.Clear(31, 31)) << "piece " << piece;
    EXPECT_GT(f.Count_Clear(), 0) << "piece " << piece;
  }
  for (int piece : {WALL_PILLAR, WALL_RUBBLE}) EXPECT_FALSE(Get("BOB_walls", piece).Clear(15, 15)) << piece;
  for (int piece : {WALL_DECOR_VINES, WALL_DECOR_MOSAIC, WALL_DECOR_RUNE, WALL_DECOR_SKULL})
    EXPECT_GT(Get("BOB_walls", piece).Count_Clear(), 32 * 32 / 2)
        << "decoration " << piece << " is mostly see-through";
}

TEST(ArtFiles, LitWallFacesLieOnTheSideTheirPieceNames) {
  // A band of 5 pixels along each edge, inside the 31 x 31 part a square shows and clear of the
  // dark line at the wall's foot.
  auto band = [](const Frame& f, int side) {
    switch (side) {
      case 0:
        return f.Brightness(0, 24, 31, 29);  // south
      case 1:
        return f.Brightness(24, 0, 29, 31);  // east
      case 2:
        return f.Brightness(0, 2, 31, 7);  // north
      default:
        return f.Brightness(2, 0, 7, 31);  // west
    }
  };
  const int pieces[4] = {WALL_FACE_SOUTH, WALL_FACE_EAST, WALL_FACE_NORTH, WALL_FACE_WEST};
  for (int i = 0; i < 4; ++i) {
    Frame f = Get("BOB_walls", pieces[i]);
    ASSERT_FRAME(f);
    for (int other = 0; other < 4; ++other)
      if (other != i) {
        EXPECT_GT(band(f, i), band(f, other) + 2.0) << "piece " << pieces[i] << " side " << other;
      }
  }
}

TEST(ArtFiles, TransitionWallsMeetInTheMiddleWithoutGapOrOverlap) {
  Frame left = Get("BOB_wall_left", 0), right = Get("BOB_wall_right", 0);
  ASSERT_FRAME(left);
  ASSERT_FRAME(right);
  int both = 0, neither = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      bool l = !left.Clear(x, y), r = !right.Clear(x, y);
      both += l && r;
      neither += !l && !r;
      if (x < 280) {
        EXPECT_TRUE(l && !r) << x << "," << y;
      }
      if (x >= 360) {
        EXPECT_TRUE(r && !l) << x << "," << y;
      }
      if (::testing::Test::HasFailure()) return;
    }
  EXPECT_EQ(both, 0);
  EXPECT_EQ(neither, 0);
}

TEST(ArtFiles, OverviewMiniaturesOpenOnTheirBlockTypesExits) {
  // Exits per block type: 1 north, 2 east, 4 south, 8 west.
  const int exits[15] = {6, 12, 3, 9, 14, 7, 11, 13, 10, 5, 15, 4, 2, 1, 8};
  for (int type = 0; type < 15; ++type) {
    Frame f = Get("BOB_pasigas", type);
    ASSERT_FRAME(f);
    SCOPED_TRACE(type);
    EXPECT_TRUE(f.Clear(15, 15)) << "the centre is open";
    EXPECT_EQ(f.Clear(15, 0), (exits[type] & 1) != 0);
    EXPECT_EQ(f.Clear(30, 15), (exits[type] & 2) != 0);
    EXPECT_EQ(f.Clear(15, 30), (exits[type] & 4) != 0);
    EXPECT_EQ(f.Clear(0, 15), (exits[type] & 8) != 0);
    EXPECT_FALSE(f.Clear(0, 0) || f.Clear(30, 0) || f.Clear(0, 30) || f.Clear(30, 30)) << "corners are wall";
  }
  // Dead ends show their door across the path, one square inside the exit.
  EXPECT_FALSE(Get("BOB_pasigas", 11).Clear(15, 25));
  EXPECT_FALSE(Get("BOB_pasigas", 12).Clear(25, 15));
  EXPECT_FALSE(Get("BOB_pasigas", 13).Clear(15, 5));
  EXPECT_FALSE(Get("BOB_pasigas", 14).Clear(5, 15));
}

TEST(ArtFiles, PlayerOneIsRedAndPlayerTwoBlueEverywhere) {
  struct Pair {
    const char* bob;
    int p1_frame, p2_frame;
  };
  const Pair pairs[] = {
      {"BOB_block_back", 1, 0}, {"BOB_treasure", 1, 0},  {"BOB_counters", 3, 1},
      {"BOB_counters", 5, 2},   {"BOB_artifacts", 5, 3}, {"BOB_portraits", 0, 1},
  };
  // Each picture of a pair shows its player's colour more than the other one does.
  auto check = [](const Frame& p1, const Frame& p2, const std::string& what) {
    ASSERT_NE(p1.s, nullptr) << what;
    ASSERT_NE(p2.s, nullptr) << what;
    EXPECT_GT(p1.Count_Red(), p2.Count_Red() + 8) << what;
    EXPECT_GT(p2.Count_Blue(), p1.Count_Blue() + 8) << what;
  };
  for (const Pair& p : pairs) check(Get(p.bob, p.p1_frame), Get(p.bob, p.p2_frame), p.bob);
  for (int d = 0; d < 4; ++d)
    check(Get("BOB_player1", d), Get("BOB_player2", d), "figures facing " + std::to_string(d));
  check(Get("BOB_rock1", 0), Get("BOB_rock2", 0), "turn backgrounds");
}

TEST(ArtFiles, PointerAndOptionRowsHoldTheirEdges) {
  // The pointer's position is its fingertip: the top-left pixel is part of the hand.
  Frame mouse = Get("BOB_mouse", 0);
  ASSERT_FRAME(mouse);
  EXPECT_FALSE(mouse.Clear(0, 0));
  // The option rows share pixel rows in their file; each keeps its top and bottom rows clear so
  // that none shows a strip of its neighbour.
  for (int f = 0; f < 3; ++f) {
    Frame row = Get("BOB_option_amount", f);
    ASSERT_FRAME(row);
    for (int x = 0; x < row.w; ++x) {
      EXPECT_TRUE(row.Clear(x, 0) && row.Clear(x, 1) && row.Clear(x, 49) && row.Clear(x, 50))
          << f << " x " << x;
      if (::testing::Test::HasFailure()) return;
    }
  }
  Frame sw = Get("BOB_option_switch", 0);
  ASSERT_FRAME(sw);
  for (int x = 0; x < sw.w; ++x) EXPECT_TRUE(sw.Clear(x, 0)) << x;
}

}  // namespace

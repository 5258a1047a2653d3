// Blitter objects: frame surfaces, frame loading and its bounds, draws, animation, motion, collision.
#include "graphics/bob.h"

#include "graphics/bitmap.h"
#include "support.h"

namespace {

struct BobRecord {
  BOB bob;
  ~BobRecord() { Destroy_BOB(&bob); }
};

// A 24-bit picture whose pixel (x, y) has blue x, green y and red 200.
void Load_Coordinates(BitmapRecord* b, int width, int height) {
  std::vector<uint8_t> data = Make_Bmp(width, height, 24, [](int x, int y, int k) {
    return static_cast<uint8_t>(k == 0 ? x : k == 1 ? y : 200);
  });
  ASSERT_EQ(Load_Bitmap_Memory(&b->file, data.data(), data.size()), 1);
}

uint16_t Converted(int blue, int green, int red) {
  return static_cast<uint16_t>((blue >> 3) + ((green >> 3) << 6) + ((red >> 3) << 11));
}

}  // namespace

TEST(Bob, CreateSetsTheRecordAndPadsFrameWidths) {
  const int widths[] = {32, 105, 179, 253};
  const int pads[] = {0, 7, 5, 3};
  for (int i = 0; i < 4; ++i) {
    BobRecord b;
    b.bob.vel_x = 5;
    b.bob.current_frame = 3;
    ASSERT_EQ(Create_BOB(&b.bob, 4, 6, widths[i], 10, 2, BOB_CYCLE | BOB_VISIBLE, DDSCAPS_SYSTEMMEMORY), 1);
    EXPECT_EQ(b.bob.width_pad, pads[i]);
    ASSERT_NE(b.bob.frames[1], nullptr);
    EXPECT_EQ(b.bob.frames[0]->width, widths[i] + pads[i]);
    EXPECT_EQ(b.bob.frames[0]->height, 10);
    EXPECT_EQ(b.bob.frames[2], nullptr);
    EXPECT_EQ(b.bob.state, 1);
    EXPECT_EQ(b.bob.x, 4);
    EXPECT_EQ(b.bob.vel_x, 0);
    EXPECT_EQ(b.bob.current_frame, 0);
    EXPECT_EQ(b.bob.frame_count, 2);
    EXPECT_TRUE(b.bob.frames[0]->has_color_key);
  }
  BOB fresh;
  for (Surface* f : fresh.frames) EXPECT_EQ(f, nullptr);
  for (int32_t* s : fresh.sequences) EXPECT_EQ(s, nullptr);
  BobRecord too_many;
  EXPECT_EQ(Create_BOB(&too_many.bob, 0, 0, 8, 8, 65, 17, 0), 0);
  EXPECT_EQ(too_many.bob.frames[0], nullptr);
  EXPECT_EQ(Create_BOB(nullptr, 0, 0, 8, 8, 1, 17, 0), 0);
  BobRecord no_size;
  EXPECT_EQ(Create_BOB(&no_size.bob, 0, 0, 0, 8, 1, 17, 0), 0);
}

TEST(Bob, DestroyReleasesOnceAndClearsTheSlots) {
  BOB bob;
  ASSERT_EQ(Create_BOB(&bob, 0, 0, 8, 8, 3, 17, 0), 1);
  const int seq[] = {1, 2};
  ASSERT_EQ(Load_Animation_BOB(&bob, 2, 2, seq), 1);
  EXPECT_EQ(Destroy_BOB(&bob), 1);
  EXPECT_EQ(bob.frames[0], nullptr);
  EXPECT_EQ(bob.sequences[2], nullptr);
  EXPECT_EQ(Destroy_BOB(&bob), 1);
  EXPECT_EQ(Destroy_BOB(nullptr), 0);
}

TEST(Bob, LoadFrameConvertsTo565AndLeavesBitFiveClear) {
  BitmapRecord b;
  std::vector<uint8_t> data = Make_Bmp(3, 1, 24, [](int x, int, int k) {
    const uint8_t px[3][3] = {{255, 255, 255}, {8, 0, 0}, {7, 7, 7}};
    return px[x][k];
  });
  ASSERT_EQ(Load_Bitmap_Memory(&b.file, data.data(), data.size()), 1);
  BobRecord r;
  ASSERT_EQ(Create_BOB(&r.bob, 0, 0, 3, 1, 1, BOB_STILL | BOB_VISIBLE, DDSCAPS_SYSTEMMEMORY), 1);
  ASSERT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, 0, 0, 1), 1);
  Surface* f = r.bob.frames[0];
  EXPECT_EQ(Pixel(f, 0, 0), 0xFFDF);
  EXPECT_EQ(Pixel(f, 1, 0), 1);
  EXPECT_EQ(Pixel(f, 2, 0), 0);  // all channels below 8: the transparent colour
  EXPECT_EQ(Pixel(f, 3, 0), 0);  // the width_pad columns are left as the surface came
  EXPECT_TRUE(r.bob.attributes & BOB_LOADED);
  EXPECT_EQ(f->locked, 0);
}

TEST(Bob, CellModeAndPixelModePositions) {
  BitmapRecord b;
  Load_Coordinates(&b, 220, 150);
  BobRecord r;
  ASSERT_EQ(Create_BOB(&r.bob, 0, 0, 105, 47, 3, 18, DDSCAPS_SYSTEMMEMORY), 1);
  ASSERT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, 1, 0, 0), 1);
  ASSERT_EQ(Load_Frame_BOB(&r.bob, &b.file, 1, 0, 2, 0), 1);
  ASSERT_EQ(Load_Frame_BOB(&r.bob, &b.file, 2, 30, 40, 1), 1);
  EXPECT_EQ(Pixel(r.bob.frames[0], 0, 0), Converted(107, 1, 200));
  EXPECT_EQ(Pixel(r.bob.frames[0], 104, 46), Converted(211, 47, 200));
  EXPECT_EQ(Pixel(r.bob.frames[1], 0, 0), Converted(1, 97, 200));
  EXPECT_EQ(Pixel(r.bob.frames[2], 2, 3), Converted(32, 43, 200));
}

TEST(Bob, LoadFrameRefusesWhatDoesNotFitAndLeavesTheFrame) {
  BitmapRecord b;
  Load_Coordinates(&b, 64, 32);
  BobRecord r;
  ASSERT_EQ(Create_BOB(&r.bob, 0, 0, 32, 32, 2, 18, DDSCAPS_SYSTEMMEMORY), 1);
  Fill_Surface(r.bob.frames[0], 77);
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, 33, 0, 1), 0);  // one column past the right edge
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, 0, 1, 1), 0);   // one row past the bottom
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, -1, 0, 1), 0);
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, 1, 0, 0), 0);  // cell (1, 0) starts at 34
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, 2, 0, 0, 1), 0);  // beyond frame_count
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, 64, 0, 0, 1), 0);
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, -1, 0, 0, 1), 0);
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, 1 << 30, 1 << 30, 0), 0);
  EXPECT_EQ(Pixel(r.bob.frames[0], 0, 0), 77);
  EXPECT_FALSE(r.bob.attributes & BOB_LOADED);
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, 32, 0, 1), 1);  // exactly fits
  EXPECT_EQ(Pixel(r.bob.frames[0], 31, 31), Converted(63, 31, 200));

  Unload_Bitmap_File(&b.file);
  Fill_Surface(r.bob.frames[1], 5);
  EXPECT_EQ(Load_Frame_BOB(&r.bob, &b.file, 1, 0, 0, 1), 0);  // empty BitmapFile
  EXPECT_EQ(Pixel(r.bob.frames[1], 0, 0), 5);
}

TEST(Bob, TwentyFourBitFramesConvertEveryPixelUpToTheLastByteOfThePicture) {
  // Odd width, so the rows are padded in the file; random bytes, so every channel bit counts.
  const int width = 67, height = 23;
  std::vector<uint8_t> bytes(static_cast<size_t>(width) * height * 3);
  uint32_t h = 12345;
  for (uint8_t& v : bytes) v = static_cast<uint8_t>((h = h * 1103515245u + 12345u) >> 23);
  auto byte = [&](int x, int y, int k) { return bytes[(static_cast<size_t>(y) * width + x) * 3 + k]; };
  BitmapRecord b;
  std::vector<uint8_t> data = Make_Bmp(width, height, 24, byte);
  ASSERT_EQ(Load_Bitmap_Memory(&b.file, data.data(), data.size()), 1);
  BobRecord r;
  ASSERT_EQ(Create_BOB(&r.bob, 0, 0, 21, 10, 3, BOB_STILL | BOB_VISIBLE, DDSCAPS_SYSTEMMEMORY), 1);
  // Cell (2, 1) ends at pixel (65, 21); pixel position (46, 13) ends at the last pixel of the file.
  const int origins[3][2] = {{1, 1}, {2 * 22 + 1, 1 * 11 + 1}, {width - 21, height - 10}};
  ASSERT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, 0, 0, 0), 1);
  ASSERT_EQ(Load_Frame_BOB(&r.bob, &b.file, 1, 2, 1, 0), 1);
  ASSERT_EQ(Load_Frame_BOB(&r.bob, &b.file, 2, width - 21, height - 10, 1), 1);
  for (int f = 0; f < 3; ++f) {
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 21; ++x) {
        const int px = origins[f][0] + x, py = origins[f][1] + y;
        ASSERT_EQ(Pixel(r.bob.frames[f], x, y), Converted(byte(px, py, 0), byte(px, py, 1), byte(px, py, 2)))
            << "frame " << f << " at " << x << "," << y;
      }
    }
  }
}

TEST(Bob, EightBitFramesReadThreeBytesAtTheirStrideWithinTheBuffer) {
  BitmapRecord b;
  std::vector<uint8_t> data =
      Make_Bmp(4, 1, 8, [](int x, int, int) { return static_cast<uint8_t>(64 + 8 * x); });
  ASSERT_EQ(Load_Bitmap_Memory(&b.file, data.data(), data.size()), 1);
  BobRecord r;
  ASSERT_EQ(Create_BOB(&r.bob, 0, 0, 4, 1, 1, 17, 0), 1);
  ASSERT_EQ(Load_Frame_BOB(&r.bob, &b.file, 0, 0, 0, 1), 1);
  EXPECT_EQ(Pixel(r.bob.frames[0], 0, 0), Converted(64, 72, 80));
  EXPECT_EQ(Pixel(r.bob.frames[0], 3, 0), Converted(88, 0, 0));  // past the buffer's end reads 0
}

TEST(Bob, DrawIsKeyedAndScaledDrawIsOnePixelShort) {
  BobRecord r;
  ASSERT_EQ(Create_BOB(&r.bob, 2, 3, 4, 4, 2, BOB_STILL | BOB_VISIBLE, 0), 1);
  Fill_Surface(r.bob.frames[0], 50);
  Pixel(r.bob.frames[0], 0, 0) = 0;
  SurfacePtr dest = Make_Surface(10, 10, 9);
  EXPECT_EQ(Draw_BOB(&r.bob, dest.get()), 1);
  EXPECT_EQ(Pixel(dest.get(), 2, 3), 9);
  EXPECT_EQ(Pixel(dest.get(), 3, 3), 50);
  EXPECT_EQ(Pixel(dest.get(), 5, 6), 50);
  EXPECT_EQ(Pixel(dest.get(), 6, 6), 9);

  Fill_Surface(dest.get(), 9);
  EXPECT_EQ(Draw_Scaled_BOB(&r.bob, 4, 4, dest.get(), 0), 1);  // opaque, 3 x 3
  EXPECT_EQ(Pixel(dest.get(), 2, 3), 0);
  EXPECT_EQ(Pixel(dest.get(), 4, 5), 50);
  EXPECT_EQ(Pixel(dest.get(), 5, 5), 9);
  EXPECT_EQ(Pixel(dest.get(), 4, 6), 9);

  Fill_Surface(dest.get(), 9);
  EXPECT_EQ(Draw_Scaled_BOB(&r.bob, 7, 7, dest.get(), 1), 1);  // keyed, 6 x 6 from 3 x 3
  EXPECT_EQ(Pixel(dest.get(), 3, 4), 9);
  EXPECT_EQ(Pixel(dest.get(), 4, 5), 50);
  EXPECT_EQ(Pixel(dest.get(), 7, 8), 50);
  EXPECT_EQ(Pixel(dest.get(), 8, 8), 9);

  Fill_Surface(dest.get(), 9);
  EXPECT_EQ(Draw_Scaled_BOB(&r.bob, 4, 4, dest.get(), 2), 1);  // neither keyed nor opaque
  Hide_BOB(&r.bob);
  EXPECT_EQ(Draw_BOB(&r.bob, dest.get()), 1);
  EXPECT_EQ(Draw_Scaled_BOB(&r.bob, 4, 4, dest.get(), 0), 1);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(Pixel(dest.get(), x, y), 9);
  }
}

TEST(Bob, FramesThatNameNoSurfaceDrawNothing) {
  BobRecord r;
  ASSERT_EQ(Create_BOB(&r.bob, 0, 0, 4, 4, 2, BOB_VISIBLE, 0), 1);
  SurfacePtr dest = Make_Surface(8, 8, 9);
  for (int frame : {2, 63, 64, 1000, -1}) {
    r.bob.current_frame = frame;
    EXPECT_EQ(Draw_BOB(&r.bob, dest.get()), 0) << frame;
    EXPECT_EQ(Draw_Scaled_BOB(&r.bob, 4, 4, dest.get(), 1), 0) << frame;
  }
  r.bob.current_frame = 0;
  EXPECT_EQ(Draw_BOB(&r.bob, nullptr), 0);
  EXPECT_EQ(Pixel(dest.get(), 0, 0), 9);
}

TEST(Bob, AnimationMachines) {
  BobRecord r;
  ASSERT_EQ(Create_BOB(&r.bob, 0, 0, 4, 4, 3, BOB_CYCLE | BOB_VISIBLE, 0), 1);
  Set_Anim_Speed_BOB(&r.bob, 2);
  const int cycle[] = {0, 1, 1, 2, 2, 0, 0, 1};
  for (int expected : cycle) {
    Animate_BOB(&r.bob);
    EXPECT_EQ(r.bob.current_frame, expected);
  }

  r.bob.attributes = BOB_STILL;
  r.bob.current_frame = 2;
  Animate_BOB(&r.bob);
  EXPECT_EQ(r.bob.current_frame, 0);

  const int seq[] = {4, 5, 6};
  ASSERT_EQ(Load_Animation_BOB(&r.bob, 3, 3, seq), 1);
  EXPECT_EQ(r.bob.sequences[3][3], -1);
  r.bob.attributes = BOB_SEQUENCED | BOB_ONCE;
  Set_Anim_Speed_BOB(&r.bob, 1);
  ASSERT_EQ(Set_Animation_BOB(&r.bob, 3), 1);
  const int once[] = {5, 6, 6, 6};
  for (int expected : once) {
    Animate_BOB(&r.bob);
    EXPECT_EQ(r.bob.current_frame, expected);
  }
  EXPECT_EQ(r.bob.anim_done, 1);

  r.bob.attributes = BOB_SEQUENCED;
  r.bob.anim_done = 0;
  Set_Animation_BOB(&r.bob, 3);
  const int looped[] = {5, 6, 4, 5, 6, 4};
  for (int expected : looped) {
    Animate_BOB(&r.bob);
    EXPECT_EQ(r.bob.current_frame, expected);
  }
  EXPECT_EQ(r.bob.anim_done, 0);

  // A position left over from a longer sequence is taken as the end of a shorter one.
  const int two[] = {8, 9};
  ASSERT_EQ(Load_Animation_BOB(&r.bob, 4, 2, two), 1);
  r.bob.current_sequence = 4;
  r.bob.sequence_pos = 7;
  Animate_BOB(&r.bob);
  EXPECT_EQ(r.bob.current_frame, 8);

  r.bob.current_sequence = 5;  // no sequence there
  EXPECT_EQ(Animate_BOB(&r.bob), 0);
  EXPECT_EQ(r.bob.current_frame, 8);
  EXPECT_EQ(Set_Animation_BOB(&r.bob, 16), 0);
  EXPECT_EQ(Load_Animation_BOB(&r.bob, 16, 2, two), 0);
  EXPECT_EQ(Load_Animation_BOB(&r.bob, -1, 2, two), 0);
  EXPECT_EQ(Load_Animation_BOB(&r.bob, 1, 2, nullptr), 0);
}

TEST(Bob, MotionWrapsOrBounces) {
  BOB bob;
  bob.width = 32;
  bob.height = 32;
  bob.attributes = BOB_WRAP | BOB_BOUNCE;
  Set_Pos_BOB(&bob, 630, 100);
  Set_Vel_BOB(&bob, 10, 0);
  Move_BOB(&bob);
  EXPECT_EQ(bob.x, -32);
  Set_Pos_BOB(&bob, -30, 100);
  Set_Vel_BOB(&bob, -3, 0);
  Move_BOB(&bob);
  EXPECT_EQ(bob.x, 639);
  Set_Pos_BOB(&bob, 5, 475);
  Set_Vel_BOB(&bob, 0, 5);
  Move_BOB(&bob);
  EXPECT_EQ(bob.y, -32);

  bob.attributes = BOB_BOUNCE;
  Set_Pos_BOB(&bob, 600, 0);
  Set_Vel_BOB(&bob, 8, -1);
  Move_BOB(&bob);
  EXPECT_EQ(bob.x, 608);  // the position is not corrected
  EXPECT_EQ(bob.vel_x, -8);
  EXPECT_EQ(bob.vel_y, 1);
  Move_BOB(&bob);
  EXPECT_EQ(bob.vel_x, -8);  // 600 is inside again
  EXPECT_EQ(Move_BOB(nullptr), 0);
}

TEST(Bob, CollisionUsesThreeEighthsHalfExtents) {
  BOB a, b;
  a.width = a.height = b.width = b.height = 32;
  Set_Pos_BOB(&a, 100, 50);
  Set_Pos_BOB(&b, 123, 50);
  EXPECT_EQ(Collide_BOBs(&a, &b), 1);
  Set_Pos_BOB(&b, 124, 50);
  EXPECT_EQ(Collide_BOBs(&a, &b), 0);
  Set_Pos_BOB(&b, 77, 73);
  EXPECT_EQ(Collide_BOBs(&a, &b), 1);
  Set_Pos_BOB(&b, 100, 74);
  EXPECT_EQ(Collide_BOBs(&a, &b), 0);
  EXPECT_EQ(Collide_BOBs(&a, nullptr), 0);
}

TEST(Bob, VisibilityAndTheShowMessage) {
  BOB bob;
  bob.attributes = BOB_CYCLE | BOB_VISIBLE;
  EXPECT_EQ(Hide_BOB(&bob), 1);
  EXPECT_EQ(bob.attributes, BOB_CYCLE);
  EXPECT_EQ(Show_BOB(&bob), 1);
  EXPECT_EQ(bob.attributes, 18);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Hide_BOB(nullptr), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Show_BOB(nullptr), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "error ocurd when Show_BOB waas run\n");
}

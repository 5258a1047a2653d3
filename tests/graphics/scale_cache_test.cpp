// Stretched blits served from kept pictures, the generation stamps that keep them honest, the
// whole-rectangle keyed kernels, and the draw trace.
#include <random>
#include <string>

#include "graphics/bitmap.h"
#include "graphics/bob.h"
#include "graphics/clock_text.h"
#include "platform/platform.h"
#include "support.h"
#include "tests/support/game.h"

namespace {

// A source of random pixels, a quarter of them the key colour 0.
SurfacePtr Random_Source(int width, int height, uint32_t seed) {
  std::mt19937 rng(seed);
  SurfacePtr s = Make_Surface(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      Pixel(s.get(), x, y) = rng() % 4 == 0 ? 0 : static_cast<uint16_t>(1 + rng() % 65535);
  }
  Touch_Surface(s.get());
  return s;
}

// Draws the blit with the fast paths and with the reference onto equal copies of `before` and
// expects the same pixels and the same result.
void Expect_Blit_As_Reference(Surface* before, const RECT& d, Surface* src, const RECT& s, uint32_t flags,
                              const std::string& what) {
  SurfacePtr fast = Make_Surface(before->width, before->height);
  SurfacePtr reference = Make_Surface(before->width, before->height);
  for (Surface* out : {fast.get(), reference.get()}) {
    Blit_Surface(out, nullptr, before, nullptr, 0);
    if (before->clipper != nullptr)
      Attach_Clipper(out, static_cast<int>(before->clipper->rects.size()), before->clipper->rects.data());
  }
  blit_force_reference = false;
  const int r1 = Blit_Surface(fast.get(), &d, src, &s, flags);
  blit_force_reference = true;
  const int r2 = Blit_Surface(reference.get(), &d, src, &s, flags);
  blit_force_reference = false;
  ASSERT_EQ(r1, r2) << what;
  for (int y = 0; y < before->height; ++y) {
    for (int x = 0; x < before->width; ++x)
      ASSERT_EQ(Pixel(fast.get(), x, y), Pixel(reference.get(), x, y)) << what << " at " << x << "," << y;
  }
}

struct ScaleCacheTest : ::testing::Test {
  void SetUp() override { Flush_Scale_Cache(); }
  void TearDown() override {
    Flush_Scale_Cache();
    blit_force_reference = false;
  }
};

}  // namespace

TEST_F(ScaleCacheTest, KeptPicturesGiveTheReferencePixelsWhereverTheyAreDrawnAndClipped) {
  std::mt19937 rng(77);
  auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  SurfacePtr src = Random_Source(53, 41, 5);
  SurfacePtr back = Random_Source(90, 70, 6);
  // A few stretches, each drawn many times at different places, keyed and opaque, through random
  // clip lists, so most draws come from a kept picture.
  const RECT sources[] = {{0, 0, 52, 40}, {3, 5, 40, 41}, {10, 2, 11, 30}};
  const int sizes[][2] = {{20, 20}, {99, 31}, {7, 83}};
  for (int round = 0; round < 300; ++round) {
    const RECT& s = sources[round % 3];
    const int* size = sizes[round % 3];
    const int x = rnd(-60, 80), y = rnd(-60, 60);
    RECT d{x, y, x + size[0], y + size[1]};
    std::vector<RECT> clips;
    for (int i = rnd(0, 2); i > 0; --i) {
      int cl = rnd(-10, 70), ct = rnd(-10, 60);
      clips.push_back(RECT{cl, ct, cl + rnd(0, 50), ct + rnd(0, 50)});
    }
    Release_Clipper(back->clipper);
    if (!clips.empty()) Attach_Clipper(back.get(), static_cast<int>(clips.size()), clips.data());
    const uint32_t flags = rnd(0, 1) ? uint32_t{DDBLT_KEYSRC} : 0u;
    Expect_Blit_As_Reference(back.get(), d, src.get(), s, flags, "round " + std::to_string(round));
    if (HasFatalFailure()) return;
  }
  BlitCacheStats stats = Scale_Cache_Stats();
  EXPECT_EQ(stats.builds, 3u);
  EXPECT_GT(stats.hits, 250u);
}

TEST_F(ScaleCacheTest, EveryWriteToTheSourceIsSeenByTheNextStretch) {
  test_support::Open_Headless();
  SurfacePtr back = Make_Surface(64, 48, 9);
  const RECT d{2, 3, 40, 30};
  struct Change {
    const char* name;
    void (*apply)(Surface* src);
  };
  const Change changes[] = {
      {"Fill_Surface", [](Surface* s) { Fill_Surface(s, 1234); }},
      {"Fill_Rect", [](Surface* s) { Fill_Rect(5, 5, 9, 9, 4321, s); }},
      {"a blit into it",
       [](Surface* s) {
         SurfacePtr other = Make_Surface(8, 8, 777);
         Blit_Surface(s, nullptr, other.get(), nullptr, 0);
       }},
      {"a write under a lock",
       [](Surface* s) {
         int pitch = 0;
         uint8_t* memory = Lock_Surface(s, &pitch);
         reinterpret_cast<uint16_t*>(memory + 6 * pitch)[6] = 999;
         Unlock_Surface(s, memory);
       }},
      {"text", [](Surface* s) { Draw_Text_RGB("W", 0, 0, 0xFFFFFF, s); }},
      {"a direct write and Touch_Surface",
       [](Surface* s) {
         Pixel(s, 7, 7) = 31;
         Touch_Surface(s);
       }},
  };
  for (const Change& change : changes) {
    SurfacePtr src = Random_Source(30, 20, 11);
    const RECT s{0, 0, 29, 19};
    for (int i = 0; i < 3; ++i) Blit_Surface(back.get(), &d, src.get(), &s, 0);  // now kept
    const uint64_t stamp = src->generation;
    change.apply(src.get());
    EXPECT_NE(src->generation, stamp) << change.name;
    Expect_Blit_As_Reference(back.get(), d, src.get(), s, 0, change.name);
    Expect_Blit_As_Reference(back.get(), d, src.get(), s, 0, change.name);
  }

  // A frame loaded into a BOB, kept scaled, then loaded again from another picture.
  BOB bob;
  ASSERT_EQ(Create_BOB(&bob, 0, 0, 16, 16, 1, BOB_STILL | BOB_VISIBLE, DDSCAPS_SYSTEMMEMORY), 1);
  for (int colour : {40, 200}) {
    BitmapFile file{};
    std::vector<uint8_t> bmp = Make_Bmp(18, 18, 24, [&](int x, int y, int k) {
      return static_cast<uint8_t>(k == 0 ? colour : (x * 13 + y * 7 + colour) % 256);
    });
    ASSERT_EQ(Load_Bitmap_Memory(&file, bmp.data(), bmp.size()), 1);
    ASSERT_EQ(Load_Frame_BOB(&bob, &file, 0, 0, 0, 0), 1);
    Unload_Bitmap_File(&file);
    for (int i = 0; i < 2; ++i) Draw_Scaled_BOB(&bob, 33, 21, back.get(), 0);
    // The rectangles of that draw, once more: from the kept picture, which must be this frame's.
    const RECT bd{0, 0, 32, 20}, bs{0, 0, 15, 15};
    Expect_Blit_As_Reference(back.get(), bd, bob.frames[0], bs, 0, "Load_Frame_BOB");
  }
  Destroy_BOB(&bob);

  // The page flip swaps the pixels of the two pages: a stretch of the back page sees the new ones.
  ASSERT_EQ(Init_Display(64, 48, 16, 1), 1);
  Fill_Surface(display.back_surface, 100);
  Fill_Surface(display.primary_surface, 200);
  SurfacePtr out = Make_Surface(64, 48);
  const RECT half{0, 0, 32, 24};
  for (int i = 0; i < 2; ++i) Blit_Surface(out.get(), &half, display.back_surface, nullptr, 0);
  EXPECT_EQ(Pixel(out.get(), 5, 5), 100);
  ASSERT_EQ(Flip_Display(), 1);
  Blit_Surface(out.get(), &half, display.back_surface, nullptr, 0);
  EXPECT_EQ(Pixel(out.get(), 5, 5), 200);
  Shutdown_Display();
  Platform_Close();
}

TEST_F(ScaleCacheTest, ReadingASourceKeepsItsStampAndANewSurfaceNeverGetsAnOldPicture) {
  SurfacePtr back = Make_Surface(40, 40);
  SurfacePtr src = Random_Source(20, 20, 3);
  const uint64_t stamp = src->generation;
  const RECT d{0, 0, 30, 30};
  for (int i = 0; i < 3; ++i) Blit_Surface(back.get(), &d, src.get(), nullptr, DDBLT_KEYSRC);
  EXPECT_EQ(src->generation, stamp);
  EXPECT_NE(back->generation, stamp);
  EXPECT_EQ(Scale_Cache_Stats().builds, 1u);

  // The released surface's memory is likely to come back for the next one of the same size.
  src.reset();
  for (int i = 0; i < 5; ++i) {
    SurfacePtr next = Make_Surface(20, 20, static_cast<uint16_t>(500 + i));
    Expect_Blit_As_Reference(back.get(), d, next.get(), RECT{0, 0, 20, 20}, 0,
                             "new surface " + std::to_string(i));
  }
}

TEST_F(ScaleCacheTest, SizesDrawnOnceCostNoPictureAndTheMemoryStaysBounded) {
  SurfacePtr back = Make_Surface(400, 300);
  SurfacePtr src = Random_Source(340, 400, 8);
  // A panel growing by 8 pixels a frame: every size is new, nothing is made, and the pictures in
  // use (two background tiles) are still there afterwards.
  const RECT tile{0, 0, 99, 99}, other{0, 0, 50, 60};
  for (int i = 0; i < 2; ++i) {
    Blit_Surface(back.get(), &tile, src.get(), nullptr, 0);
    Blit_Surface(back.get(), &other, src.get(), nullptr, 0);
  }
  ASSERT_EQ(Scale_Cache_Stats().builds, 2u);
  const size_t in_use = Scale_Cache_Stats().bytes;
  for (int k = 1; k <= 30; ++k) {
    const RECT d{0, 0, 8 * k - 1, 8 * k - 1};
    Blit_Surface(back.get(), &d, src.get(), nullptr, DDBLT_KEYSRC);
  }
  EXPECT_EQ(Scale_Cache_Stats().builds, 2u);
  EXPECT_EQ(Scale_Cache_Stats().bytes, in_use);
  const uint64_t hits = Scale_Cache_Stats().hits;
  Blit_Surface(back.get(), &tile, src.get(), nullptr, 0);
  Blit_Surface(back.get(), &other, src.get(), nullptr, 0);
  EXPECT_EQ(Scale_Cache_Stats().hits, hits + 2);
  Flush_Scale_Cache();

  // Many sizes drawn twice: the number and memory of kept pictures stay within their limits.
  for (int k = 1; k <= 60; ++k) {
    const RECT d{0, 0, 300 + k, 250};
    for (int i = 0; i < 2; ++i) Blit_Surface(back.get(), &d, src.get(), nullptr, 0);
  }
  BlitCacheStats stats = Scale_Cache_Stats();
  EXPECT_EQ(stats.builds, 60u);
  EXPECT_LE(stats.entries, 24u);
  EXPECT_LE(stats.bytes, size_t{8} << 20);

  // A stretch too large to keep is drawn directly, every time.
  SurfacePtr huge = Make_Surface(2000, 1000);
  const RECT big{0, 0, 1999, 999};
  for (int i = 0; i < 3; ++i) Blit_Surface(huge.get(), &big, src.get(), nullptr, 0);
  EXPECT_EQ(Scale_Cache_Stats().builds, 60u);
  Expect_Blit_As_Reference(huge.get(), big, src.get(), RECT{0, 0, 340, 400}, DDBLT_KEYSRC, "too large");

  Flush_Scale_Cache();
  EXPECT_EQ(Scale_Cache_Stats().entries, 0u);
  EXPECT_EQ(Scale_Cache_Stats().bytes, 0u);
}

TEST(KeyedTiles, ThirtyTwoWideTilesMatchTheReferenceUnderEveryClip) {
  SurfacePtr tile = Random_Source(32, 32, 21);
  SurfacePtr back = Random_Source(100, 80, 22);
  for (int key : {0, 1}) {
    if (key == 1) Set_Color_Key(tile.get(), 100, 30000);
    for (int y = -33; y <= 81; y += 7) {
      for (int x = -33; x <= 101; x += 9) {
        const RECT d{x, y, x + 32, y + 32};
        Expect_Blit_As_Reference(back.get(), d, tile.get(), RECT{0, 0, 32, 32}, DDBLT_KEYSRC,
                                 "tile at " + std::to_string(x) + "," + std::to_string(y));
        if (HasFatalFailure()) return;
      }
    }
  }
}

namespace {

std::vector<DrawRecord> traced;
std::vector<std::string> traced_text;
void Keep_Record(const DrawRecord& r) {
  traced.push_back(r);
  traced_text.push_back(r.text ? r.text : "");
}

}  // namespace

TEST(DrawTrace, RecordsWhatIsCarriedOutInOrderAndNothingWhenOff) {
  test_support::Open_Headless();
  SurfacePtr back = Make_Surface(50, 40);
  SurfacePtr src = Random_Source(10, 10, 1);
  traced.clear();
  traced_text.clear();
  draw_trace_hook = Keep_Record;
  const RECT d{-5, 2, 15, 12}, s{1, 1, 9, 9}, bad{0, 0, 11, 10};
  Blit_Surface(back.get(), &d, src.get(), &s, DDBLT_KEYSRC);
  Blit_Surface(back.get(), &d, src.get(), &bad, 0);  // refused: no record
  Fill_Rect(-1, 3, 60, 4, 77, back.get());
  Lock_Surface(back.get(), nullptr);
  Fill_Surface(back.get(), 1);  // locked: nothing is filled, nothing recorded
  Unlock_Surface(back.get(), nullptr);
  Draw_Text_RGB("Hi", 4, 5, 0x00FF00, back.get());
  draw_trace_hook = nullptr;
  Blit_Surface(back.get(), &d, src.get(), &s, 0);
  Platform_Close();

  ASSERT_EQ(traced.size(), 3u);
  EXPECT_EQ(traced[0].kind, DRAW_BLIT);
  EXPECT_EQ(traced[0].dest, back.get());
  EXPECT_EQ(traced[0].src, src.get());
  EXPECT_EQ(traced[0].dest_rect.left, -5);
  EXPECT_EQ(traced[0].src_rect.right, 9);
  EXPECT_EQ(traced[0].flags, uint32_t{DDBLT_KEYSRC});
  EXPECT_EQ(traced[1].kind, DRAW_FILL);
  EXPECT_EQ(traced[1].color, 77);
  EXPECT_EQ(traced[1].dest_rect.right, 60);  // as asked for, before clipping
  EXPECT_EQ(traced[2].kind, DRAW_TEXT);
  EXPECT_EQ(traced_text[2], "Hi");
  EXPECT_EQ(traced[2].dest_rect.left, 4);
  EXPECT_EQ(traced[2].dest_rect.top, 5);
  EXPECT_EQ(traced[2].rgb, 0x00FF00u);
}

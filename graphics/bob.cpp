// The blitter object operations: frames in off-screen surfaces, keyed and scaled draws, and the
// animation and motion machines.
#include "graphics/bob.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>

#include "graphics/bitmap.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"

// x86-64 builds carry an AVX2 copy of the pixel conversion besides the baseline one.
#if defined(__x86_64__) && defined(__GNUC__)
#define ROW_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define ROW_KERNEL
#endif

namespace {

// One row of 24-bit pixels (b0 first) to 16-bit words: b0 to bits 0-4, b1 to 6-10, b2 to 11-15.
ROW_KERNEL void Convert_Row_24(uint16_t* __restrict out, const uint8_t* __restrict in, int n) {
  for (int j = 0; j < n; ++j) {
    const uint32_t b0 = in[3 * j], b1 = in[3 * j + 1], b2 = in[3 * j + 2];
    out[j] = static_cast<uint16_t>((b0 >> 3) + ((b1 >> 3) << 6) + ((b2 >> 3) << 11));
  }
}

// The frame the BOB draws, or null when current_frame names no surface.
Surface* Current_Frame(const BOB* bob) {
  if (bob->current_frame < 0 || bob->current_frame >= BOB_MAX_FRAMES) return nullptr;
  return bob->frames[bob->current_frame];
}

// x + d for rectangle edges, held inside the 32-bit range.
int32_t Edge(int32_t x, int64_t d) {
  int64_t e = int64_t{x} + d;
  return static_cast<int32_t>(std::clamp<int64_t>(e, INT32_MIN, INT32_MAX));
}

// Index of the -1 that ends a sequence.
int Sequence_End(const int32_t* sequence) {
  int end = 0;
  while (sequence[end] != -1) ++end;
  return end;
}

}  // namespace

int Create_BOB(BOB* bob, int x, int y, int width, int height, int num_frames, int attributes,
               uint32_t mem_flags) {
  if (bob == nullptr || num_frames < 0 || num_frames > BOB_MAX_FRAMES) return 0;
  bob->state = 1;
  bob->attributes = attributes;
  bob->frame_count = num_frames;
  bob->x = x;
  bob->y = y;
  bob->width = width;
  bob->height = height;
  bob->anim_done = 0;
  for (int32_t& c : bob->counters) c = 0;
  bob->current_frame = 0;
  bob->current_sequence = 0;
  bob->tick_count = 0;
  bob->sequence_pos = 0;
  bob->ticks_per_frame = 0;
  bob->vel_x = 0;
  bob->vel_y = 0;
  for (Surface*& f : bob->frames) f = nullptr;
  for (int32_t*& s : bob->sequences) s = nullptr;

  bob->width_pad = (8 - width % 8) % 8;
  if (bob->width_pad < 0) bob->width_pad = 0;  // a negative width makes no surface anyway
  Write_Error("\nCreate BOB %d", bob->width_pad);

  for (int i = 0; i < num_frames; ++i) {
    bob->frames[i] = Create_Surface(Edge(width, bob->width_pad), height, mem_flags | DDSCAPS_OFFSCREENPLAIN);
    if (bob->frames[i] == nullptr) return 0;
    Set_Color_Key(bob->frames[i], 0, 0);
  }
  return 1;
}

int Destroy_BOB(BOB* bob) {
  if (bob == nullptr) return 0;
  // The slots are cleared so that a second destroy releases nothing twice.
  for (Surface*& f : bob->frames) {
    Release_Surface(f);
    f = nullptr;
  }
  for (int32_t*& s : bob->sequences) {
    delete[] s;
    s = nullptr;
  }
  return 1;
}

int Load_Frame_BOB(BOB* bob, const BitmapFile* bitmap, int frame, int cx, int cy, int mode) {
  if (bob == nullptr || bitmap == nullptr || bitmap->buffer == nullptr) return 0;
  if (frame < 0 || frame >= BOB_MAX_FRAMES || frame >= bob->frame_count) return 0;
  Surface* surface = bob->frames[frame];
  if (surface == nullptr || bob->width <= 0 || bob->height <= 0) return 0;
  if (surface->width < bob->width || surface->height < bob->height) return 0;

  const BITMAPINFOHEADER& info = bitmap->bitmapinfoheader;
  int64_t bytes_per_pixel = info.biBitCount / 8;
  if (bytes_per_pixel < 1 || info.biWidth <= 0 || info.biHeight <= 0) return 0;
  int64_t row_bytes = info.biWidth * bytes_per_pixel;
  int64_t x = cx, y = cy;
  if (mode == 0) {
    x = x * (bob->width + 1) + 1;
    y = y * (bob->height + 1) + 1;
  }
  // The frame must lie inside the picture, and every byte read inside the buffer.
  if (x < 0 || y < 0 || x + bob->width > info.biWidth || y + bob->height > info.biHeight) return 0;
  int64_t buffer_size = info.biSizeImage;
  if ((y + bob->height - 1) * row_bytes + (x + bob->width) * bytes_per_pixel > buffer_size) return 0;

  // Three bytes are read per pixel at the file's pixel stride; for 8- and 16-bit pictures the last
  // pixels of the buffer read zeros past its end.
  auto byte_at = [&](int64_t offset) -> uint32_t {
    return offset < buffer_size ? bitmap->buffer[offset] : 0u;
  };
  auto convert = [](uint32_t b0, uint32_t b1, uint32_t b2) {
    return static_cast<uint16_t>((b0 >> 3) + ((b1 >> 3) << 6) + ((b2 >> 3) << 11));
  };
  int pitch = 0;
  uint8_t* memory = Lock_Surface(surface, &pitch);
  for (int i = 0; i < bob->height; ++i) {
    uint16_t* row = reinterpret_cast<uint16_t*>(memory + static_cast<ptrdiff_t>(i) * pitch);
    int64_t source = (y + i) * row_bytes + x * bytes_per_pixel;
    if (bytes_per_pixel == 3) {
      // Three bytes a pixel: the test above keeps every byte read inside the buffer.
      Convert_Row_24(row, bitmap->buffer + source, bob->width);
    } else {
      for (int j = 0; j < bob->width; ++j, source += bytes_per_pixel)
        row[j] = convert(byte_at(source), byte_at(source + 1), byte_at(source + 2));
    }
  }
  Unlock_Surface(surface, memory);
  bob->attributes |= BOB_LOADED;
  return 1;
}

int Draw_BOB(BOB* bob, Surface* dest) {
  if (bob == nullptr) return 0;
  if (!(bob->attributes & BOB_VISIBLE)) return 1;
  Surface* frame = Current_Frame(bob);
  if (frame == nullptr) return 0;
  RECT dest_rect{bob->x, bob->y, Edge(bob->x, bob->width), Edge(bob->y, bob->height)};
  RECT src_rect{0, 0, bob->width, bob->height};
  return Blit_Surface(dest, &dest_rect, frame, &src_rect, DDBLT_WAIT | DDBLT_KEYSRC);
}

int Draw_Scaled_BOB(BOB* bob, int drawn_width, int drawn_height, Surface* dest, uint8_t keyed) {
  if (bob == nullptr) return 0;
  if (!(bob->attributes & BOB_VISIBLE)) return 1;
  if (keyed != 0 && keyed != 1) return 1;
  Surface* frame = Current_Frame(bob);
  if (frame == nullptr) return 0;
  // Both rectangles end one pixel short of the BOB's size.
  RECT dest_rect{bob->x, bob->y, Edge(bob->x, int64_t{drawn_width} - 1),
                 Edge(bob->y, int64_t{drawn_height} - 1)};
  RECT src_rect{0, 0, Edge(bob->width, -1), Edge(bob->height, -1)};
  uint32_t flags = keyed == 1 ? DDBLT_WAIT | DDBLT_KEYSRC : DDBLT_WAIT;
  return Blit_Surface(dest, &dest_rect, frame, &src_rect, flags);
}

int Animate_BOB(BOB* bob) {
  if (bob == nullptr) return 0;
  if (bob->attributes & BOB_STILL) {
    bob->current_frame = 0;
  } else if (bob->attributes & BOB_CYCLE) {
    if (++bob->tick_count >= bob->ticks_per_frame) {
      bob->tick_count = 0;
      if (++bob->current_frame >= bob->frame_count) bob->current_frame = 0;
    }
  } else if (bob->attributes & BOB_SEQUENCED) {
    if (bob->current_sequence < 0 || bob->current_sequence >= BOB_MAX_SEQUENCES) return 0;
    const int32_t* sequence = bob->sequences[bob->current_sequence];
    if (sequence == nullptr) return 0;  // no sequence in the slot: nothing to walk
    int end = Sequence_End(sequence);
    if (end == 0) return 1;
    if (++bob->tick_count >= bob->ticks_per_frame) {
      bob->tick_count = 0;
      // A position beyond the end (from a longer sequence selected before) counts as the end.
      int pos = bob->sequence_pos + 1;
      if (pos < 0 || pos > end) pos = end;
      if (sequence[pos] == -1) {
        if (bob->attributes & BOB_ONCE) {
          bob->anim_done = 1;
          pos = end - 1;
        } else {
          pos = 0;
        }
      }
      bob->sequence_pos = pos;
      bob->current_frame = sequence[pos];
    }
  }
  return 1;
}

int Move_BOB(BOB* bob) {
  if (bob == nullptr) return 0;
  bob->x += bob->vel_x;
  bob->y += bob->vel_y;
  if (bob->attributes & BOB_WRAP) {
    if (bob->x > display.clip_max_x) {
      bob->x = display.clip_min_x - bob->width;
    } else if (bob->x < display.clip_min_x - bob->width) {
      bob->x = display.clip_max_x;
    }
    if (bob->y > display.clip_max_y) {
      bob->y = display.clip_min_y - bob->height;
    } else if (bob->y < display.clip_min_y - bob->height) {
      bob->y = display.clip_max_y;
    }
  } else if (bob->attributes & BOB_BOUNCE) {
    if (bob->x > display.clip_max_x - bob->width || bob->x < display.clip_min_x) bob->vel_x = -bob->vel_x;
    if (bob->y > display.clip_max_y - bob->height || bob->y < display.clip_min_y) bob->vel_y = -bob->vel_y;
  }
  return 1;
}

int Load_Animation_BOB(BOB* bob, int sequence, int num_frames, const int* frame_indices) {
  if (bob == nullptr || sequence < 0 || sequence >= BOB_MAX_SEQUENCES || num_frames < 0) return 0;
  if (num_frames > 0 && frame_indices == nullptr) return 0;
  delete[] bob->sequences[sequence];
  bob->sequences[sequence] = new (std::nothrow) int32_t[static_cast<size_t>(num_frames) + 1];
  if (bob->sequences[sequence] == nullptr) return 0;
  for (int i = 0; i < num_frames; ++i) bob->sequences[sequence][i] = frame_indices[i];
  bob->sequences[sequence][num_frames] = -1;
  return 1;
}

int Set_Pos_BOB(BOB* bob, int x, int y) {
  if (bob == nullptr) return 0;
  bob->x = x;
  bob->y = y;
  return 1;
}

int Set_Vel_BOB(BOB* bob, int vel_x, int vel_y) {
  if (bob == nullptr) return 0;
  bob->vel_x = vel_x;
  bob->vel_y = vel_y;
  return 1;
}

int Set_Anim_Speed_BOB(BOB* bob, int speed) {
  if (bob == nullptr) return 0;
  bob->ticks_per_frame = speed;
  return 1;
}

int Set_Animation_BOB(BOB* bob, int sequence) {
  if (bob == nullptr || sequence < 0 || sequence >= BOB_MAX_SEQUENCES) return 0;
  bob->current_sequence = sequence;
  bob->sequence_pos = 0;
  return 1;
}

int Hide_BOB(BOB* bob) {
  if (bob == nullptr) return 0;
  bob->attributes &= ~BOB_VISIBLE;
  return 1;
}

int Show_BOB(BOB* bob) {
  if (bob == nullptr) {
    Debug_Print("error ocurd when Show_BOB waas run\n");
    return 0;
  }
  bob->attributes |= BOB_VISIBLE;
  return 1;
}

int Collide_BOBs(const BOB* a, const BOB* b) {
  if (a == nullptr || b == nullptr) return 0;
  int64_t ahx = (a->width >> 1) - (a->width >> 3), ahy = (a->height >> 1) - (a->height >> 3);
  int64_t bhx = (b->width >> 1) - (b->width >> 3), bhy = (b->height >> 1) - (b->height >> 3);
  int64_t dx = (int64_t{b->x} + bhx) - (int64_t{a->x} + ahx);
  int64_t dy = (int64_t{b->y} + bhy) - (int64_t{a->y} + ahy);
  if (dx < 0) dx = -dx;
  if (dy < 0) dy = -dy;
  return dx < ahx + bhx && dy < ahy + bhy ? 1 : 0;
}

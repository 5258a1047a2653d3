// The blitter object (BOB): the engine's sprite record, its attribute bits, and its operations.
// The game model embeds the record in each player; only the graphics library implements the operations.
#pragma once

#include <cstdint>

struct Surface;
struct BitmapFile;

constexpr int BOB_MAX_FRAMES = 64;
constexpr int BOB_MAX_SEQUENCES = 16;

// Attribute bits.
enum : int32_t {
  BOB_STILL = 0x01,      // Animate_BOB holds frame 0
  BOB_CYCLE = 0x02,      // Animate_BOB cycles through all frames
  BOB_SEQUENCED = 0x04,  // Animate_BOB walks the current sequence
  BOB_ONCE = 0x08,       // with BOB_SEQUENCED: stop on the last entry
  BOB_VISIBLE = 0x10,    // the draw operations draw only when set
  BOB_BOUNCE = 0x20,     // Move_BOB reverses the velocity at the clip rectangle
  BOB_WRAP = 0x40,       // Move_BOB wraps around the clip rectangle; tested before BOB_BOUNCE
  BOB_LOADED = 0x80,     // set by Load_Frame_BOB
};

struct BOB {
  int32_t state = 0;
  int32_t anim_done = 0;
  int32_t attributes = 0;
  int32_t x = 0, y = 0;
  int32_t vel_x = 0, vel_y = 0;
  int32_t width = 0, height = 0;
  int32_t width_pad = 0;
  int32_t counters[4] = {};
  int32_t scratch[32] = {};
  int32_t current_frame = 0;
  int32_t frame_count = 0;
  int32_t current_sequence = 0;
  int32_t tick_count = 0;
  int32_t sequence_pos = 0;
  int32_t ticks_per_frame = 0;
  int32_t* sequences[BOB_MAX_SEQUENCES] = {};
  Surface* frames[BOB_MAX_FRAMES] = {};
};

// Memory flag for frame surfaces in system memory.
constexpr uint32_t DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;

int Create_BOB(BOB* bob, int x, int y, int width, int height, int num_frames, int attributes,
               uint32_t mem_flags);
int Destroy_BOB(BOB* bob);
// mode 0: (cx, cy) is a cell of a grid with one-pixel borders; mode 1: a pixel position.
int Load_Frame_BOB(BOB* bob, const BitmapFile* bitmap, int frame, int cx, int cy, int mode);
int Draw_BOB(BOB* bob, Surface* dest);
// keyed 1: colour-keyed; 0: opaque; anything else draws nothing and returns 1.
int Draw_Scaled_BOB(BOB* bob, int drawn_width, int drawn_height, Surface* dest, uint8_t keyed);
int Animate_BOB(BOB* bob);
int Move_BOB(BOB* bob);
int Load_Animation_BOB(BOB* bob, int sequence, int num_frames, const int* frame_indices);
int Set_Pos_BOB(BOB* bob, int x, int y);
int Set_Vel_BOB(BOB* bob, int vel_x, int vel_y);
int Set_Anim_Speed_BOB(BOB* bob, int speed);
int Set_Animation_BOB(BOB* bob, int sequence);
int Hide_BOB(BOB* bob);
int Show_BOB(BOB* bob);
int Collide_BOBs(const BOB* a, const BOB* b);

// The display device: a primary surface with one back surface swapped by Flip_Display, off-screen
// RGB565 surfaces with a source colour key, fills, plain/keyed/stretched blits clipped by a per-surface
// clip list, locks, a 256-entry palette object and the vertical-blank wait. Pixels are presented
// through the platform layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RECT {
  int32_t left, top, right, bottom;  // right and bottom exclusive
};

struct PALETTEENTRY {
  uint8_t peRed, peGreen, peBlue, peFlags;
};
constexpr uint8_t PC_NOCOLLAPSE = 4;

struct Surface;

// A clip list: the rectangles a surface may be drawn into, and their bounding rectangle. The surface
// it is attached to owns it; releasing the surface releases its clipper.
struct Clipper {
  std::vector<RECT> rects;
  RECT bound{64000, 64000, -64000, -64000};
  Surface* surface = nullptr;  // the surface it is attached to
};

// An RGB565 surface. Pixels are owned; pitch is in bytes (rows padded to an even word count).
struct Surface {
  int width = 0;
  int height = 0;
  int pitch = 0;
  uint16_t* pixels = nullptr;
  bool has_color_key = false;
  uint16_t color_key_low = 0;
  uint16_t color_key_high = 0;
  Clipper* clipper = nullptr;  // owned; null means the surface's own bounds clip
  int locked = 0;              // lock count; blits, text and flips are refused while locked
  // A stamp unique to this surface and its current pixels: every engine write (locks, fills, blits
  // and text into it, flips) takes a new one, so whatever was made from the old pixels can tell it
  // is out of date. Code that writes `pixels` directly must call Touch_Surface afterwards.
  uint64_t generation = 0;
};

struct Palette {
  PALETTEENTRY entries[256];
};

struct Device {
  int width = 0, height = 0, bpp = 0;
  int fullscreen = 0;
};

// Stand-in for the shared surface description record that the lock operations read.
struct SurfaceDesc {
  uint32_t dwSize;
  uint32_t dwFlags;
  uint32_t dwHeight;
  uint32_t dwWidth;
  int32_t lPitch;
  uint32_t dwBackBufferCount;
  void* lpSurface;
  uint32_t dwCaps;
};

struct DisplayState {
  Device* dd_object = nullptr;
  Surface* primary_surface = nullptr;
  Surface* back_surface = nullptr;
  Palette* dd_palette = nullptr;
  Clipper* dd_clipper = nullptr;
  PALETTEENTRY shadow_palette[256] = {};
  SurfaceDesc surface_desc = {};
  uint8_t* primary_buffer = nullptr;
  int32_t primary_pitch = 0;
  uint8_t* back_buffer = nullptr;
  int32_t back_pitch = 0;
  int32_t clip_min_x = 0, clip_min_y = 0, clip_max_x = 639, clip_max_y = 479;
};

extern DisplayState display;
// Frames presented by Flip_Display since the program started.
extern uint64_t flip_count;

// Blit flags of the device.
enum : uint32_t { DDBLT_WAIT = 0x01000000, DDBLT_KEYSRC = 0x00008000, DDBLT_COLORFILL = 0x00000400 };

int Init_Display(int width, int height, int bpp, int fullscreen);
// Releases the clipper kept in dd_clipper, the palette and the surfaces, and clears their pointers.
int Shutdown_Display();
// Makes a clip list of num_rects rectangles and attaches it to the surface, replacing (and releasing)
// the one it had. Null for a null surface, a negative count or a missing rectangle array.
Clipper* Attach_Clipper(Surface* surface, int num_rects, const RECT* clip_list);
// Detaches a clipper from its surface and releases it (the device's Release).
void Release_Clipper(Clipper* clipper);
// An off-screen surface, cleared to 0, with the source colour key 0. Null for sizes outside 1..16384.
Surface* Create_Surface(int width, int height, uint32_t mem_flags);
// Releases a surface made by Create_Surface (the device's Release), with its clipper.
void Release_Surface(Surface* surface);
// The source colour key of keyed blits: source pixels from low to high are not drawn.
int Set_Color_Key(Surface* surface, uint16_t low, uint16_t high);
// Colour fills with raw 16-bit values, clipped like blits; right and bottom are exclusive. A locked
// surface is left unfilled (the result stays 1).
int Fill_Surface(Surface* surface, uint16_t color);
int Fill_Rect(int left, int top, int right, int bottom, uint16_t color, Surface* surface);
uint8_t* Lock_Surface(Surface* surface, int* pitch);
int Unlock_Surface(Surface* surface, uint8_t* memory);
uint8_t* Lock_Primary();
int Unlock_Primary();
uint8_t* Lock_Back();
int Unlock_Back();
// Swaps the primary and back pages' pixels and presents the new primary; 0 while either is locked.
int Flip_Display();

// Something drawn over every presented frame, on a copy of it, so that no page of the game ever
// holds it (messages the person must see whatever screen is up). `shown` says whether there is
// anything to draw now; `draw` draws it onto the 640 x 480 copy. Null: nothing is drawn.
struct PresentOverlay {
  bool (*shown)() = nullptr;
  void (*draw)(Surface* frame) = nullptr;
};
extern PresentOverlay present_overlay;
int Wait_For_Vsync();

// The device's rectangle blit: source rectangle to destination rectangle, stretched (nearest
// neighbour, sampling the source under each destination pixel's centre) when the sizes differ,
// colour-keyed with DDBLT_KEYSRC, clipped by each rectangle of the destination's clip list (by the
// surface's bounds when it has none); clipping never changes the source mapping. Returns 1 on success,
// 0 when refused (null surfaces, an empty or invalid source rectangle, an empty destination
// rectangle, DDBLT_KEYSRC from a surface without a key, a locked surface).
int Blit_Surface(Surface* dest, const RECT* dest_rect, Surface* src, const RECT* src_rect, uint32_t flags);
// Forces the straightforward reference blitter, so that tests can compare it with the fast paths.
extern bool blit_force_reference;

// Marks a surface's pixels as changed (a new generation stamp).
void Touch_Surface(Surface* surface);

// Stretched blits keep the scaled picture of a source they are asked for again (same source pixels,
// source rectangle and drawn size) and copy it from then on. Keyed 1:1 blits from a large source
// asked for again with the same pixels and key keep a list of its opaque spans, row by row, and copy
// only those (short transparent gaps inside a span are drawn through the key). Flush_Scale_Cache
// (also run by Shutdown_Display) drops the pictures and the span lists and starts the counts again.
struct BlitCacheStats {
  uint64_t hits = 0;    // blits served from a kept picture or span list
  uint64_t builds = 0;  // pictures or span lists made
  size_t entries = 0;   // kept now
  size_t bytes = 0;     // their memory
};
BlitCacheStats Scale_Cache_Stats();
BlitCacheStats Span_Cache_Stats();
void Flush_Scale_Cache();

// One drawing operation as it is carried out, for tools that record what a frame draws (the
// benchmarks replay the record through another blitter). Blits and fills give the rectangles as
// asked for, before clipping; text gives its top-left corner in dest_rect.left and top.
enum DrawKind { DRAW_BLIT, DRAW_FILL, DRAW_TEXT };
struct DrawRecord {
  DrawKind kind = DRAW_BLIT;
  Surface* dest = nullptr;
  RECT dest_rect{};
  Surface* src = nullptr;  // blits only
  RECT src_rect{};
  uint32_t flags = 0;          // blits: DDBLT_KEYSRC when keyed
  uint16_t color = 0;          // fills: the raw pixel value
  uint32_t rgb = 0;            // text: red | green << 8 | blue << 16
  const char* text = nullptr;  // valid during the call only
};
// Called with each blit, fill and text draw that is not refused; null (the default) records nothing.
extern void (*draw_trace_hook)(const DrawRecord& record);

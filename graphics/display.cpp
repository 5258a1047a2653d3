// The display device: a software RGB565 device whose primary surface is shown through the platform.
#include "graphics/display.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <utility>

#include "graphics/clock_text.h"
#include "graphics/row_kernel.h"
#include "platform/platform.h"

DisplayState display;
PresentOverlay present_overlay;
uint64_t flip_count = 0;
void (*draw_trace_hook)(const DrawRecord& record) = nullptr;

namespace {

constexpr int MAX_SURFACE_SIDE = 16384;

// Generation stamps are drawn from one counter, so no two surfaces ever share one.
uint64_t last_generation = 0;

// The start palette: red, green, blue and grey ramps of 64 entries each.
void Build_Start_Palette(PALETTEENTRY* palette) {
  std::memset(palette, 0, 256 * sizeof(PALETTEENTRY));
  for (int i = 0; i < 256; ++i) {
    uint8_t level = static_cast<uint8_t>(4 * (i % 64));
    PALETTEENTRY& e = palette[i];
    if (i < 64) {
      e.peRed = level;
    } else if (i < 128) {
      e.peGreen = level;
    } else if (i < 192) {
      e.peBlue = level;
    } else {
      e.peRed = e.peGreen = e.peBlue = level;
    }
    e.peFlags = PC_NOCOLLAPSE;
  }
}

// Only the 16-bit RGB565 modes exist on this device.
bool Mode_Supported(int width, int height, int bpp) {
  return bpp == 16 && width > 0 && height > 0 && width <= MAX_SURFACE_SIDE && height <= MAX_SURFACE_SIDE;
}

Surface* New_Surface(int width, int height) {
  if (width <= 0 || height <= 0 || width > MAX_SURFACE_SIDE || height > MAX_SURFACE_SIDE) return nullptr;
  Surface* surface = new (std::nothrow) Surface;
  if (surface == nullptr) return nullptr;
  int words_per_row = (width + 1) & ~1;
  surface->pixels = new (std::nothrow) uint16_t[static_cast<size_t>(words_per_row) * height]();
  if (surface->pixels == nullptr) {
    delete surface;
    return nullptr;
  }
  surface->width = width;
  surface->height = height;
  surface->pitch = words_per_row * 2;
  Touch_Surface(surface);
  return surface;
}

// The holder of a lock may write anything, so both ends of it count as a change.
void Lock(Surface* surface) {
  Touch_Surface(surface);
  ++surface->locked;
  SurfaceDesc& desc = display.surface_desc;
  desc.dwFlags = 0x100F;  // caps, height, width, pitch, pixel memory
  desc.dwWidth = static_cast<uint32_t>(surface->width);
  desc.dwHeight = static_cast<uint32_t>(surface->height);
  desc.lPitch = surface->pitch;
  desc.lpSurface = surface->pixels;
}

void Unlock(Surface* surface) {
  Touch_Surface(surface);
  if (surface->locked > 0) --surface->locked;
}

ROW_KERNEL void Fill_Rows(uint16_t* row, ptrdiff_t words, int n, int rows, uint16_t color) {
  for (int y = 0; y < rows; ++y, row += words) std::fill(row, row + n, color);
}

// Fills the part of the rectangle that lies inside the surface and its clip list.
void Fill(Surface* surface, RECT rect, uint16_t color) {
  if (surface->locked) return;
  Touch_Surface(surface);
  if (draw_trace_hook != nullptr) {
    DrawRecord record;
    record.kind = DRAW_FILL;
    record.dest = surface;
    record.dest_rect = rect;
    record.color = color;
    draw_trace_hook(record);
  }
  auto fill_part = [&](RECT clip) {
    int left = std::max({rect.left, clip.left, 0});
    int top = std::max({rect.top, clip.top, 0});
    int right = std::min({rect.right, clip.right, surface->width});
    int bottom = std::min({rect.bottom, clip.bottom, surface->height});
    if (left >= right || top >= bottom) return;
    const int words = surface->pitch / 2;
    Fill_Rows(surface->pixels + static_cast<ptrdiff_t>(top) * words + left, words, right - left, bottom - top,
              color);
  };
  if (surface->clipper == nullptr) {
    fill_part(RECT{0, 0, surface->width, surface->height});
  } else {
    for (const RECT& clip : surface->clipper->rects) fill_part(clip);
  }
}

// The primary surface as a 640 x 480 frame: other sizes are shown from the top-left corner.
// The frame with the overlay drawn over a copy of it.
void Present_With_Overlay(const Surface* primary) {
  static std::vector<uint16_t> pixels;
  pixels.assign(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT, 0);
  const int width = std::min(primary->width, SCREEN_WIDTH), height = std::min(primary->height, SCREEN_HEIGHT);
  for (int y = 0; y < height; ++y) {
    const uint16_t* row = primary->pixels + static_cast<size_t>(y) * (primary->pitch / 2);
    std::copy(row, row + width, pixels.begin() + static_cast<ptrdiff_t>(y) * SCREEN_WIDTH);
  }
  Surface copy;
  copy.width = SCREEN_WIDTH;
  copy.height = SCREEN_HEIGHT;
  copy.pitch = SCREEN_WIDTH * 2;
  copy.pixels = pixels.data();
  present_overlay.draw(&copy);
  Platform_Present(pixels.data(), SCREEN_WIDTH * 2);
}

void Present(const Surface* primary) {
  if (present_overlay.shown && present_overlay.draw && present_overlay.shown()) {
    Present_With_Overlay(primary);
    return;
  }
  if (primary->width == SCREEN_WIDTH && primary->height == SCREEN_HEIGHT) {
    Platform_Present(primary->pixels, primary->pitch);
    return;
  }
  static std::vector<uint16_t> frame;
  frame.assign(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT, 0);
  int width = std::min(primary->width, SCREEN_WIDTH);
  int height = std::min(primary->height, SCREEN_HEIGHT);
  for (int y = 0; y < height; ++y) {
    const uint16_t* row = primary->pixels + static_cast<size_t>(y) * (primary->pitch / 2);
    std::copy(row, row + width, frame.begin() + static_cast<ptrdiff_t>(y) * SCREEN_WIDTH);
  }
  Platform_Present(frame.data(), SCREEN_WIDTH * 2);
}

}  // namespace

void Touch_Surface(Surface* surface) {
  if (surface != nullptr) surface->generation = ++last_generation;
}

int Init_Display(int width, int height, int bpp, int fullscreen) {
  if (display.dd_object != nullptr) Shutdown_Display();

  display.dd_object = new (std::nothrow) Device;
  if (display.dd_object == nullptr) {
    Debug_Print("error ocurd in DirectDrawCreate \n");
    return 0;
  }
  Device& device = *display.dd_object;
  device.width = width;
  device.height = height;
  device.bpp = bpp;

  // The cooperative level always succeeds on this device: it has no other clients.
  int mode = fullscreen & 0xFF;
  device.fullscreen = mode == 1 ? 1 : 0;
  if (mode == 1 && !Mode_Supported(width, height, bpp)) {
    Debug_Print("error ocurd in SetDisplayMode\n");
    return 0;
  }

  SurfaceDesc& desc = display.surface_desc;
  desc = SurfaceDesc{};
  desc.dwSize = 108;
  desc.dwFlags = 0x21;
  desc.dwBackBufferCount = 1;
  desc.dwCaps = 0x218;
  display.primary_surface = New_Surface(width, height);
  display.back_surface = display.primary_surface ? New_Surface(width, height) : nullptr;
  if (display.back_surface == nullptr) {
    // The primary chain cannot be built (no memory, or a size no surface can have).
    Debug_Print("error ocurd in CreateSurface \n");
    return 0;
  }

  Build_Start_Palette(display.shadow_palette);
  display.dd_palette = new (std::nothrow) Palette;
  if (display.dd_palette == nullptr) {
    Debug_Print("error ocurd in CreatePalette \n");
    return 0;
  }
  std::memcpy(display.dd_palette->entries, display.shadow_palette, sizeof(display.shadow_palette));
  // SetPalette: the 16-bit primary accepts the palette object (it only keeps the table).

  Fill_Surface(display.primary_surface, 0);
  Fill_Surface(display.back_surface, 0);
  return 1;
}

int Shutdown_Display() {
  Flush_Scale_Cache();
  if (display.dd_clipper != nullptr) Release_Clipper(display.dd_clipper);
  display.dd_clipper = nullptr;
  delete display.dd_palette;
  display.dd_palette = nullptr;
  Release_Surface(display.back_surface);
  display.back_surface = nullptr;
  Release_Surface(display.primary_surface);
  display.primary_surface = nullptr;
  delete display.dd_object;
  display.dd_object = nullptr;
  display.primary_buffer = display.back_buffer = nullptr;
  display.primary_pitch = display.back_pitch = 0;
  return 1;
}

Clipper* Attach_Clipper(Surface* surface, int num_rects, const RECT* clip_list) {
  if (surface == nullptr || num_rects < 0 || (num_rects > 0 && clip_list == nullptr)) return nullptr;
  Clipper* clipper = new (std::nothrow) Clipper;
  if (clipper == nullptr) return nullptr;
  clipper->rects.assign(clip_list, clip_list + num_rects);
  for (const RECT& r : clipper->rects) {
    clipper->bound.left = std::min(clipper->bound.left, r.left);
    clipper->bound.top = std::min(clipper->bound.top, r.top);
    clipper->bound.right = std::max(clipper->bound.right, r.right);
    clipper->bound.bottom = std::max(clipper->bound.bottom, r.bottom);
  }
  if (surface->clipper != nullptr) Release_Clipper(surface->clipper);
  clipper->surface = surface;
  surface->clipper = clipper;
  return clipper;
}

void Release_Clipper(Clipper* clipper) {
  if (clipper == nullptr) return;
  if (clipper->surface != nullptr && clipper->surface->clipper == clipper)
    clipper->surface->clipper = nullptr;
  if (display.dd_clipper == clipper) display.dd_clipper = nullptr;
  delete clipper;
}

Surface* Create_Surface(int width, int height, uint32_t mem_flags) {
  (void)mem_flags;  // every surface of this device lives in system memory
  Surface* surface = New_Surface(width, height);
  if (surface != nullptr) Set_Color_Key(surface, 0, 0);
  return surface;
}

void Release_Surface(Surface* surface) {
  if (surface == nullptr) return;
  Release_Clipper(surface->clipper);
  delete[] surface->pixels;
  delete surface;
}

int Set_Color_Key(Surface* surface, uint16_t low, uint16_t high) {
  if (surface == nullptr) return 0;
  surface->has_color_key = true;
  surface->color_key_low = low;
  surface->color_key_high = high;
  return 1;
}

int Fill_Surface(Surface* surface, uint16_t color) {
  if (surface != nullptr) Fill(surface, RECT{0, 0, surface->width, surface->height}, color);
  return 1;
}

int Fill_Rect(int left, int top, int right, int bottom, uint16_t color, Surface* surface) {
  if (surface != nullptr) Fill(surface, RECT{left, top, right, bottom}, color);
  return 1;
}

uint8_t* Lock_Surface(Surface* surface, int* pitch) {
  if (surface == nullptr) return nullptr;
  display.surface_desc = SurfaceDesc{};
  display.surface_desc.dwSize = 108;
  Lock(surface);
  if (pitch != nullptr) *pitch = display.surface_desc.lPitch;
  return static_cast<uint8_t*>(display.surface_desc.lpSurface);
}

int Unlock_Surface(Surface* surface, uint8_t* memory) {
  (void)memory;
  if (surface == nullptr) return 0;
  Unlock(surface);
  return 1;
}

uint8_t* Lock_Primary() {
  if (display.primary_buffer != nullptr) return display.primary_buffer;
  display.primary_buffer = Lock_Surface(display.primary_surface, &display.primary_pitch);
  return display.primary_buffer;
}

int Unlock_Primary() {
  if (display.primary_buffer == nullptr) return 0;
  Unlock(display.primary_surface);
  display.primary_buffer = nullptr;
  display.primary_pitch = 0;
  return 1;
}

uint8_t* Lock_Back() {
  if (display.back_buffer != nullptr) return display.back_buffer;
  display.back_buffer = Lock_Surface(display.back_surface, &display.back_pitch);
  return display.back_buffer;
}

int Unlock_Back() {
  if (display.back_buffer == nullptr) return 0;
  Unlock(display.back_surface);
  display.back_buffer = nullptr;
  display.back_pitch = 0;
  return 1;
}

int Flip_Display() {
  if (display.primary_buffer != nullptr || display.back_buffer != nullptr) return 0;
  Surface* primary = display.primary_surface;
  Surface* back = display.back_surface;
  // A flip that can never succeed (no surfaces, or one locked through Lock_Surface) is refused
  // rather than retried for ever.
  if (primary == nullptr || back == nullptr || primary->locked || back->locked) return 0;
  std::swap(primary->pixels, back->pixels);
  Touch_Surface(primary);
  Touch_Surface(back);
  ++flip_count;
  Present(primary);
  return 1;
}

int Wait_For_Vsync() {
  Platform_Wait_Vblank();
  return 1;
}


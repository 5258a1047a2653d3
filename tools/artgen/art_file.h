// One art file in the making: its canvas, sized from the asset manifest, and the frames put into it
// at the positions the manifest cuts them from; and its encoding as a 24-bit bitmap file.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/artgen/raster.h"

struct PlacedFrame {
  int row;  // manifest row
  int frame;
  Canvas picture;
};

struct ArtFile {
  const char* file = nullptr;
  Canvas canvas;
  std::vector<PlacedFrame> placed;
};

// The smallest size that holds every rectangle the manifest cuts from the file, its width rounded up
// to a multiple of 4 so that rows need no padding. 0 x 0 for a file the manifest does not name.
void File_Size(const char* file, int* width, int* height);
// A fresh, transparent canvas of the file's size.
ArtFile New_Art_File(const char* file);

// The manifest row of a BOB by name; reports an error and returns -1 when there is none.
int Bob_Row(const char* bob_name);
int Frame_Width(const char* bob_name);
int Frame_Height(const char* bob_name);
int Frame_Count(const char* bob_name);
// A transparent canvas of the BOB's frame size.
Canvas New_Frame(const char* bob_name);

// Puts a picture of the BOB's frame size where the manifest cuts frame `frame`, replacing what lay
// there. Reports a picture of the wrong size, a BOB from another file or a frame out of range.
void Put_Frame(ArtFile& art, const char* bob_name, int frame, const Canvas& picture);
// 1 when every frame put reads back from the finished file exactly as it was put (frames that
// share pixels agree there); otherwise reports the first that does not and returns 0.
int Check_Frames(const ArtFile& art);

// A pixel as the file stores it, blue, green, red: transparent (alpha below one half) becomes exact
// black; an opaque colour keeps at least 8 in its brightest channel, so it never reads as transparent.
void Flatten_Pixel(const Color& c, uint8_t bgr[3]);
// 1 when a stored pixel reads as transparent after the conversion to 5-6-5 (all channels below 8).
inline int Is_Key_Pixel(const uint8_t bgr[3]) { return bgr[0] < 8 && bgr[1] < 8 && bgr[2] < 8; }
// The canvas as a 24-bit bottom-up bitmap file. Empty for a width that is not a multiple of 4.
std::vector<uint8_t> Encode_BMP(const Canvas& canvas);
// Writes bytes to a file through a temporary name, so a failed run leaves no half-written file.
int Write_File(const char* path, const std::vector<uint8_t>& bytes);

// Labels for the pictures: text rasterised by the platform's font renderer, cropped to its ink,
// scaled into a box and painted with fill, outline and shadow.
#pragma once

#include "tools/artgen/raster.h"

// The text's coverage, cropped to the pixels the glyphs touch, rendered at point_size.
// Returns 0 (and reports it once through Artgen_Error) when no font can render it.
int Text_Ink(const char* text, int point_size, Mask* out);

// The text scaled to fit a box of box_w x box_h pixels. With keep_aspect the glyphs keep their
// shape (the result is as large as fits); without, they are stretched to fill the box exactly.
int Text_Fit(const char* text, int box_w, int box_h, bool keep_aspect, Mask* out);

// The text at the given ink height, its natural width, narrowed (not shortened) when wider than max_w.
int Text_Fit_Height(const char* text, int height, int max_w, Mask* out);

struct LabelStyle {
  Color fill = Rgb(255, 255, 255);
  Color fill_bottom = Rgb(255, 255, 255);  // vertical gradient from fill at the top
  Color outline = CLEAR;                   // alpha 0: none
  float outline_px = 0.f;
  Color shadow = CLEAR;  // alpha 0: none
  int shadow_dx = 0, shadow_dy = 0;
};

// Paints a label centred on (cx, cy), fitted into box_w x box_h. Returns 0 when the text failed.
int Draw_Label(Canvas& canvas, const char* text, float cx, float cy, int box_w, int box_h, bool keep_aspect,
               const LabelStyle& style);

// The same for a mask already fitted (Text_Fit_Height), centred on (cx, cy).
void Draw_Label_Mask(Canvas& canvas, const Mask& m, float cx, float cy, const LabelStyle& style);
// A label of the given ink height, as wide as it naturally is up to max_w, centred on (cx, cy).
int Draw_Label_Height(Canvas& canvas, const char* text, float cx, float cy, int height, int max_w,
                      const LabelStyle& style);

// Plain text with its top-left at (x, y), uncropped (so lines share a baseline), in one colour.
int Draw_Text_At(Canvas& canvas, const char* text, int x, int y, int point_size, Color c);

// Failures that must stop the generator: counted, each reported once on standard error.
void Artgen_Error(const char* message);
int Artgen_Error_Count();

// Palette operations and text files, and the line clipper with 8-bit line and pixel drawing.
#pragma once

#include <cstdint>

#include "graphics/display.h"

extern const PALETTEENTRY black_palette[256];

int Set_Palette_Entry(int index, const PALETTEENTRY* entry);
int Get_Palette_Entry(int index, PALETTEENTRY* entry);
int Set_Palette(const PALETTEENTRY* palette);
int Get_Palette(PALETTEENTRY* palette);
int Rotate_Colors(int start_index, int count);
int Load_Palette_File(const char* filename, PALETTEENTRY* palette);
int Save_Palette_File(const char* filename, const PALETTEENTRY* palette);
int Clip_Line(int& x0, int& y0, int& x1, int& y1);
int Draw_Line(int x0, int y0, int x1, int y1, uint8_t color, uint8_t* buffer, int pitch);
int Draw_Clip_Line(int x0, int y0, int x1, int y1, uint8_t color, uint8_t* buffer, int pitch);
int Draw_Pixel(int x, int y, uint8_t color, uint8_t* buffer, int pitch);

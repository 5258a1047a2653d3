// The frame clock, text drawn onto a surface, the optional error log and the debug output.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct Surface;

extern uint32_t frame_start;
extern FILE* error_log;

uint32_t Get_Clock();
uint32_t Start_Clock();
uint32_t Wait_Clock(uint32_t count);
// Draws only the glyphs, their box's top-left corner at (x, y), in the colour of
// shadow_palette[color_index], blended by the font's coverage and clipped to the surface. 0 for a
// null or locked surface, an index outside 0..255, or no font.
int Draw_Text(const char* text, int x, int y, int color_index, Surface* surface);
// The same with a colour value red | green << 8 | blue << 16.
int Draw_Text_RGB(const char* text, int x, int y, uint32_t color, Surface* surface);
// The width in pixels Draw_Text gives the text; 0 for no text or no font.
int Text_Width(const char* text);
// The text in lines no wider than max_w pixels, broken between words (a word longer than a line, such
// as a path, where it must), at most max_lines of them (the last ends in "..." when more was left).
std::vector<std::string> Wrap_Text(const std::string& text, int max_w, int max_lines);
int Open_Error_Log(const char* filename);
int Close_Error_Log();
int Write_Error(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Debug_Print(const char* format, ...) __attribute__((format(printf, 1, 2)));

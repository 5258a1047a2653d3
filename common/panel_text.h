// The colours of the words on the parchment panels the overlays draw (the help pages, the question
// before leaving), as Draw_Text_RGB takes them: red | green << 8 | blue << 16.
#pragma once

#include <cstdint>

constexpr uint32_t Text_Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }
constexpr uint32_t PANEL_INK = Text_Rgb(44, 28, 16);
constexpr uint32_t PANEL_HEADING = Text_Rgb(140, 40, 20);
constexpr uint32_t PANEL_QUIET = Text_Rgb(110, 78, 44);

// The look every picture shares: a warm torch-lit stone dungeon, parchment panels with gold trim,
// player 1 in red and player 2 in blue; and the motifs drawn in more than one picture.
#pragma once

#include "tools/artgen/raster.h"

namespace theme {
constexpr Color INK = Rgb(24, 16, 10);     // outlines and dark text
constexpr Color STONE = Rgb(104, 93, 82);  // wall caps
constexpr Color MORTAR = Rgb(40, 33, 28);
constexpr Color FLOOR = Rgb(156, 128, 94);  // sandstone flags
constexpr Color GROUT = Rgb(88, 70, 52);
constexpr Color PARCHMENT = Rgb(228, 207, 160);
constexpr Color PARCHMENT_DARK = Rgb(190, 158, 108);
constexpr Color GOLD = Rgb(222, 168, 52);
constexpr Color GOLD_LIGHT = Rgb(255, 232, 140);
constexpr Color GOLD_DARK = Rgb(130, 82, 22);
constexpr Color WOOD = Rgb(110, 64, 34);
constexpr Color WOOD_DARK = Rgb(62, 34, 18);
constexpr Color IRON = Rgb(70, 68, 72);
constexpr Color P1 = Rgb(206, 40, 36);  // player 1: red
constexpr Color P1_LIGHT = Rgb(255, 120, 100);
constexpr Color P1_DARK = Rgb(112, 14, 16);
constexpr Color P2 = Rgb(44, 96, 220);  // player 2: blue
constexpr Color P2_LIGHT = Rgb(130, 180, 255);
constexpr Color P2_DARK = Rgb(18, 36, 110);
constexpr Color SKIN = Rgb(236, 188, 146);
constexpr Color SKIN_DARK = Rgb(186, 128, 90);
constexpr Color FLAME = Rgb(255, 190, 60);
}  // namespace theme

// The player colours, by player number (1 or 2).
Color Player_Color(int player);
Color Player_Light(int player);
Color Player_Dark(int player);

// Masonry seen from above, repeating every `period` pixels on both axes, at (x, y); the stones'
// tones vary by seed. Used by the wall pieces (period 31, the detail view's pitch) and elsewhere.
Color Masonry(float x, float y, int period, uint32_t seed);
// A face of small bricks lit by torchlight, courses running along x, at (x, y); depth 0 at the top
// of the face (the wall's edge), 1 at its foot.
Color Brick_Face(float x, float y, float depth, int period);
// Sandstone with soft blotches; repeats every `period` pixels when tile is set.
Color Sandstone(float x, float y, float period, uint32_t seed, bool tile);
// Parchment with blotches about period / 2 across; repeating every `period` pixels when tile is set.
Color Parchment(float x, float y, float period, uint32_t seed, bool tile = true);

// A faceted gem of radius r centred on (cx, cy) in the given colour family, gold set when set.
void Draw_Gem(Canvas& c, float cx, float cy, float r, Color base, Color light, Color dark, bool setting);
// A coin with two turning arrows (an action token) of radius r.
void Draw_Token(Canvas& c, float cx, float cy, float r, Color base, Color light, Color dark);
// A clockwork cog of outer radius r (eight teeth, a hub with a dark axle): the computer player.
void Draw_Cog(Canvas& c, float cx, float cy, float r, Color base, Color light, Color dark);
// A gold key lying diagonally, bow at the upper left, about `size` pixels long.
void Draw_Key(Canvas& c, float cx, float cy, float size);
// A rounded plate with a gold rim: the frame of buttons and plaques. Coordinates in pixels.
void Draw_Plate(Canvas& c, float x, float y, float w, float h, float radius, float rim, Color face_top,
                Color face_bottom, bool pressed);

// A maze on a cols x rows grid, carved by a depth-first walk from a fixed seed: for each cell, its
// open sides (1 north, 2 east, 4 south, 8 west).
std::vector<int> Make_Maze(int cols, int rows, uint64_t seed);

// The painters: one per art file, each drawing every frame the manifest cuts from its file.
#pragma once

#include "tools/artgen/art_file.h"

using Painter = void (*)(ArtFile& art);

struct PainterEntry {
  const char* file;
  Painter paint;
  bool opaque;  // drawn where nothing lies beneath (or drawn opaque): no pixel may be transparent
};

// The painter of a file, or null.
const PainterEntry* Find_Painter(const char* file);

// The board: backgrounds, overview, detail view, panels, shift buttons.
void Paint_Rock_1(ArtFile& art);
void Paint_Rock_2(ArtFile& art);
void Paint_Block_Back(ArtFile& art);
void Paint_Pasigas(ArtFile& art);
void Paint_Treasure_Marks(ArtFile& art);
void Paint_Floor(ArtFile& art);
void Paint_Walls(ArtFile& art);
void Paint_Doors(ArtFile& art);
void Paint_Message(ArtFile& art);
void Paint_Game_Buttons(ArtFile& art);

// Things on the board and the counters: items, treasure and counter pictures, figures, pointer.
void Paint_Artifacts_2(ArtFile& art);
void Paint_Artifacts(ArtFile& art);
void Paint_Counters(ArtFile& art);
void Paint_Player_1(ArtFile& art);
void Paint_Player_2(ArtFile& art);
void Paint_Mouse(ArtFile& art);
void Paint_End_Turn(ArtFile& art);

// The front end: menu, options, transitions, results.
void Paint_Menu_Background(ArtFile& art);
void Paint_Menu_Panel(ArtFile& art);
void Paint_Menu_Buttons(ArtFile& art);
void Paint_Options(ArtFile& art);
void Paint_Brick_Wall_Left(ArtFile& art);
void Paint_Brick_Wall_Right(ArtFile& art);
void Paint_Results(ArtFile& art);
void Paint_Portraits(ArtFile& art);

// The help overlay's page, tabs and value plates, and the comforts' marks on the board.
void Paint_Help_Art(ArtFile& art);
// Frame f of BOB_marks (MarkFrame), 32 x 32.
Canvas Comfort_Mark(int frame);

// A player figure of 32 x 32 facing a direction (0 up, 1 right, 2 left, 3 down), shared with the icons.
Canvas Figure(int player, int direction);
// A player's portrait of the given size, opaque.
Canvas Portrait(int player, int size);

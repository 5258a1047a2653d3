// The asset manifest: every art file, the BOBs cut from it, their frame sizes and frame sources.
// Game_Init loads from this table and the art generator draws to it, so the two cannot disagree.
#pragma once

#include <cstdint>

struct BOB;

enum ManifestAfter : int32_t {
  AFTER_NONE = 0,
  AFTER_PANEL_POSITION = 1,  // position set to (340, 355)
  AFTER_FRAME_ZERO = 2,      // current frame 0
  AFTER_HIDE_WALL = 3,       // y set to -1, then hidden
  AFTER_UNLOAD = 4,          // the shared bitmap is unloaded after this BOB
};

struct FrameSource {
  int32_t cx, cy;  // pixel position (mode 1) or cell (mode 0)
};

struct ManifestEntry {
  const char* file;      // null: cut from the previous row's file
  const char* bob_name;
  int32_t width, height;
  int32_t frame_count;
  int32_t attributes;
  int32_t mode;          // 1 pixel positions, 0 cells with one-pixel borders
  FrameSource frames[17];
  ManifestAfter after;
};

constexpr int MANIFEST_BOB_COUNT = 28;   // the classic BOBs, rows 0 to 27
constexpr int MANIFEST_FILE_COUNT = 25;  // and their files
// After them, the pictures of the help overlay and the board marks, from a file of their own.
constexpr int MANIFEST_ROW_COUNT = MANIFEST_BOB_COUNT + 4;

// Every row in load order: the 28 classic ones first.
extern const ManifestEntry asset_manifest[MANIFEST_ROW_COUNT];

// The file a row's frames are cut from (its own, or the last named one above it).
const char* Manifest_File(int row);
// The top-left pixel of frame f of row r in its file, after the cell arithmetic of mode 0.
void Manifest_Frame_Pixel(int row, int frame, int32_t* px, int32_t* py);
// The index of the row whose BOB has this name, or -1.
int Manifest_Find(const char* bob_name);

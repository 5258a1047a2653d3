// Pictures about the art, made from the written files as the engine loads them: the contact sheet
// of every frame and the desktop icons. (Whole screens come from the game itself, drawn headless by a
// script: see docs/screenshots.txt.)
#pragma once

// Loads every file of the manifest from art_dir through the engine's bitmap loader and BOB cutter
// and lays every frame out, labelled, on a checkerboard. Returns 0 with a message on failure.
int Write_Contact_Sheet(const char* art_dir, const char* png_path);
// The desktop icons, 48, 128 and 256 pixels square, as PNG files in out_dir.
int Write_Icons(const char* out_dir);

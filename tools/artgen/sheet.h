// Pictures about the art, made from the written files as the engine loads them: the contact sheet
// of every frame, mock screens composed at the sizes the game draws, and the desktop icons.
#pragma once

// Loads every file of the manifest from art_dir through the engine's bitmap loader and BOB cutter
// and lays every frame out, labelled, on a checkerboard. Returns 0 with a message on failure.
int Write_Contact_Sheet(const char* art_dir, const char* png_path);
// Mock screens (play, menu, options, results, transitions) drawn with the engine's blits, at the
// positions and sizes the game uses, into out_dir. Reads block templates from templates_dir.
int Write_Previews(const char* art_dir, const char* templates_dir, const char* out_dir);
// The desktop icons, 48, 128 and 256 pixels square, as PNG files in out_dir.
int Write_Icons(const char* out_dir);

// The game's sound: loads every effect and theme of the sound manifest from the folder the game runs
// in, plays an effect when something happens, keeps the theme that belongs on screen, and applies
// the player's sound settings (two volumes, all sound on or off, quiet while the window is in the
// background). Sound never changes the game: nothing here reads or writes the model or the input.
#pragma once

#include "sound/sound_manifest.h"

struct SoundSettings {
  int effects_volume = 80;          // 0..100
  int music_volume = 50;            // 0..100
  bool on = true;                   // all sound on or off (M switches it)
  bool pause_in_background = true;  // quiet while the window is minimised or has lost the focus
};

// Opens the sound output (none when `device` is false) and loads every file; a missing or damaged
// file is named once on the debug output and stays silent. Returns 1 when sound is heard (or, headless,
// recorded), 0 when the game runs silent.
int Sound_Open(bool device);
void Sound_Close();

void Play_Sound(SoundId id);
// Starts a theme unless it is already the one playing; the menu and play themes loop, the results
// fanfare plays once.
void Play_Theme(MusicId id);

void Set_Sound_Settings(const SoundSettings& settings);
const SoundSettings& Sound_Settings();
// Whether the window is in front (shown and focused); with pause_in_background set, sound pauses
// while it is not.
void Sound_Window_Active(bool active);

// The sound manifest: every sound effect and music theme of the game, the file each one lives in and
// its length. The sound generator writes these files and the game loads them from this one table, so
// the two cannot disagree.
#pragma once

#include <cstdint>

enum SoundId : int32_t {
  SOUND_STEP = 0,        // a step onto the next square
  SOUND_BUMP,            // a step into a wall or a closed door of the other axis
  SOUND_DOOR_OPEN,       // a door swings open
  SOUND_UNLOCK,          // a key is spent on a lock
  SOUND_KEY_TAKEN,       // a key is picked up
  SOUND_TOKEN_TAKEN,     // an action token is picked up
  SOUND_TREASURE_TAKEN,  // a treasure is picked up
  SOUND_SHIFT,           // a row or column of blocks shifts by one place
  SOUND_ROTATE,          // a block turns a quarter turn
  SOUND_REFUSED,         // an action that cannot be done
  SOUND_TURN_PASSES,     // the turn passes to the other player
  SOUND_WIN,             // a player has won
  SOUND_PANEL_GROW,      // the menu panel grows
  SOUND_BUTTON,          // a button is pressed
  SOUND_OPTION,          // an option is changed
  SOUND_WALLS_CLOSE,     // the transition walls slide together
  SOUND_WALLS_SLAM,      // the transition walls meet
  SOUND_WALLS_OPEN,      // the transition walls slide apart
  SOUND_COUNT
};

enum MusicId : int32_t {
  MUSIC_MENU = 0,  // the menu theme, looped
  MUSIC_PLAY,      // the quieter theme under play, looped
  MUSIC_RESULTS,   // the fanfare of the results screen, once
  MUSIC_COUNT
};

// Every file is 16-bit PCM, mono, at this rate (the browser's package has its themes at a lower one).
constexpr int32_t SOUND_SAMPLE_RATE = 44100;

struct SoundFile {
  const char* file;      // bare name, lower case, in the folder the game runs in
  int32_t milliseconds;  // exact length of the file; a theme that loops joins its end to its start
  bool loops;            // music only: played over and over
};

extern const SoundFile sound_manifest[SOUND_COUNT];
extern const SoundFile music_manifest[MUSIC_COUNT];

// The number of samples a file of the manifest holds.
constexpr int32_t Sound_Samples(const SoundFile& f) {
  return static_cast<int32_t>(static_cast<int64_t>(f.milliseconds) * SOUND_SAMPLE_RATE / 1000);
}

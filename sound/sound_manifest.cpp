#include "sound/sound_manifest.h"

// The effects are short; the slam, the bell and the win ring on. The walls take as long as their
// 32-frame slides.
const SoundFile sound_manifest[SOUND_COUNT] = {
    {"snd_step.wav", 140, false},           {"snd_bump.wav", 300, false},
    {"snd_door_open.wav", 600, false},      {"snd_unlock.wav", 420, false},
    {"snd_key_taken.wav", 520, false},      {"snd_token_taken.wav", 320, false},
    {"snd_treasure_taken.wav", 800, false}, {"snd_shift.wav", 560, false},
    {"snd_rotate.wav", 420, false},         {"snd_refused.wav", 300, false},
    {"snd_turn_passes.wav", 1000, false},   {"snd_win.wav", 2600, false},
    {"snd_panel_grow.wav", 450, false},     {"snd_button.wav", 90, false},
    {"snd_option.wav", 130, false},         {"snd_walls_close.wav", 560, false},
    {"snd_walls_slam.wav", 1300, false},    {"snd_walls_open.wav", 560, false},
};

// The menu theme: 8 bars of 16 steps of 150 ms (100 beats a minute); the play theme: 8 bars of 16
// steps of 200 ms (75 beats a minute); the fanfare rings out once.
const SoundFile music_manifest[MUSIC_COUNT] = {
    {"music_menu.wav", 19200, true},
    {"music_play.wav", 25600, true},
    {"music_results.wav", 4800, false},
};

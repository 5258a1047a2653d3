// The music: a step sequencer over a few voices, and the three pieces composed for it.
#pragma once

#include <string>

#include "sound/sound_manifest.h"
#include "tools/soundgen/synth.h"

// The finished piece, exactly as long as the manifest says; a looping theme ends where it begins.
// Empty, with the reason in *error, when a pattern does not fit the piece's steps.
Samples Render_Music(MusicId id, std::string* error);

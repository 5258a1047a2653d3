// The recipes of the sound effects: one small function per effect of the sound manifest.
#pragma once

#include "sound/sound_manifest.h"
#include "tools/soundgen/synth.h"

// The finished effect, exactly as long as the manifest says.
Samples Render_Effect(SoundId id);

// A change of sample rate for the generated sounds: a windowed-sinc low-pass below the lower rate's
// Nyquist frequency, evaluated at each new sample's position.
#pragma once

#include "tools/soundgen/synth.h"

// The signal at to_hz, from one at from_hz. A periodic signal (a theme that loops) is read round its
// end, so its seam stays as smooth as the rest, and keeps a whole period: its length becomes the
// nearest whole number of samples at the new rate, over which the old period is spread exactly.
Samples Resample(const Samples& in, double from_hz, double to_hz, bool periodic);

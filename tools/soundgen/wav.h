// The sound files: a signal as a 16-bit PCM mono WAV file (at 44100 Hz unless told otherwise).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/soundgen/synth.h"

// The whole file, header and samples (rounded to the nearest step, clamped to full scale).
std::vector<uint8_t> Encode_Wav(const Samples& s, uint32_t rate = static_cast<uint32_t>(RATE));
// Writes the bytes to the path; false when it cannot.
bool Write_Bytes(const std::string& path, const std::vector<uint8_t>& bytes);

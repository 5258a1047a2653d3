#include "tools/soundgen/voices.h"

#include <algorithm>
#include <cmath>

Envelope Struck(double decay, double curve, double attack) {
  return Envelope{.attack = attack, .decay = decay, .sustain = 0, .hold = 0, .release = 0, .curve = curve};
}

Envelope Held(double attack, double hold, double release) {
  return Envelope{.attack = attack, .decay = 0, .sustain = 1, .hold = hold, .release = release, .curve = 2};
}

Envelope Sustained(double attack, double decay, double sustain, double length, double release) {
  return Envelope{.attack = attack,
                  .decay = decay,
                  .sustain = sustain,
                  .hold = std::max(0.0, length - attack - decay),
                  .release = release};
}

void Mix(Samples& out, double at, const Samples& layer, double gain) {
  const long start = std::lround(at * RATE);
  for (size_t i = 0; i < layer.size(); ++i) {
    long n = start + static_cast<long>(i);
    if (n >= 0 && n < static_cast<long>(out.size()))
      out[static_cast<size_t>(n)] += static_cast<float>(layer[i] * gain);
  }
}

void Add_Noise(Samples& out, double at, Envelope env, double low, double high, double gain, uint32_t seed) {
  Add_Tone(out, at,
           Tone{.wave = WAVE_NOISE,
                .freq = WHITE,
                .env = env,
                .lowpass = high,
                .highpass = low,
                .gain = gain,
                .seed = seed});
}

void Add_Thump(Samples& out, double at, double freq, double slide, double decay, double gain) {
  Add_Tone(
      out, at,
      Tone{.wave = WAVE_SINE, .freq = freq, .slide = slide, .env = Struck(decay, 2.0, 0.001), .gain = gain});
}

void Add_Metal(Samples& out, double at, double freq, double amp, double t60) {
  Add_Ring(out, at, freq, amp, t60);
  Add_Ring(out, at, freq * 2.756, amp * 0.5, t60 * 0.6);
  Add_Ring(out, at, freq * 5.404, amp * 0.25, t60 * 0.35);
}

void Add_Bell(Samples& out, double at, double freq, double amp, double t60) {
  static const double ratio[] = {0.5, 1.0, 1.2, 1.5, 2.0, 2.66, 3.0};
  static const double level[] = {0.45, 1.0, 0.35, 0.22, 0.4, 0.14, 0.1};
  static const double life[] = {1.0, 0.95, 0.7, 0.6, 0.5, 0.35, 0.3};
  for (int k = 0; k < 7; ++k) Add_Ring(out, at, freq * ratio[k], amp * level[k], t60 * life[k]);
}

Tone Brass(double freq, double length, double gain) {
  return Tone{.wave = WAVE_SAW,
              .freq = freq,
              .vibrato_depth = 0.12,
              .vibrato_rate = 5.5,
              .vibrato_delay = 0.25,
              .detune = 8,
              .env = Sustained(0.03, 0.15, 0.75, length, 0.15),
              .lowpass = 450,
              .lowpass_env = 2.4,
              .lowpass_q = 0.9,
              .gain = gain};
}

// The synthesizer's building blocks, in the spirit of the classic retro effect generators: band-limited
// oscillators and sample-and-hold noise, envelopes, pitch slides, vibrato, arpeggio jumps, one-pole and
// biquad filters, ringing modes, an echo, a soft limiter and the finishing of a sound (no DC, a set
// peak, silence at its end). Everything is deterministic: noise comes from seeded generators only.
#pragma once

#include <cstdint>
#include <vector>

constexpr double RATE = 44100.0;

// A mono signal at RATE, full scale at +-1.
using Samples = std::vector<float>;

// xorshift32 noise from a fixed seed (never 0).
struct Rng {
  uint32_t state;
  explicit Rng(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
  uint32_t Next_U32();
  double Uniform();  // 0..1
  double Signed();   // -1..1
};

enum Wave { WAVE_SQUARE, WAVE_SAW, WAVE_TRIANGLE, WAVE_SINE, WAVE_NOISE };

// Attack to 1, decay to the sustain level, hold there, release to 0; decays and release follow a
// power curve (curve 1 = straight, larger = faster at first, like a struck thing).
struct Envelope {
  double attack = 0.005;
  double decay = 0.05;
  double sustain = 1.0;
  double hold = 0.0;
  double release = 0.05;
  double curve = 2.0;
  double Level(double t) const;
  double Length() const { return attack + decay + hold + release; }
};

// A second-order filter (the classic cookbook forms).
enum FilterKind { FILTER_LOWPASS, FILTER_HIGHPASS, FILTER_BANDPASS };
struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  void Set(FilterKind kind, double cutoff_hz, double q);
  double Run(double x);
};

// One voice: an oscillator whose pitch slides, wobbles and jumps, shaped by an envelope and filters.
struct Tone {
  Wave wave = WAVE_SQUARE;
  double freq = 440;       // Hz at the start; for noise, how often a new value is drawn
  double slide = 0;        // octaves a second
  double slide_accel = 0;  // octaves a second, a second
  double freq_min = 20;    // the slide stops at these bounds
  double freq_max = 20000;
  double vibrato_depth = 0;  // semitones either way
  double vibrato_rate = 0;   // Hz
  double vibrato_delay = 0;  // seconds before the vibrato starts
  double arp_ratio = 1;      // the pitch is multiplied by this...
  double arp_time = 0;       // ...from this many seconds on (0: never)
  double duty = 0.5;         // square: the fraction of a cycle spent high
  double duty_sweep = 0;     // per second
  double detune = 0;         // a second oscillator this many cents off (0: none), for width
  Envelope env;
  double lowpass = 0;        // biquad cutoff in Hz (0: none)
  double lowpass_sweep = 0;  // octaves a second
  double lowpass_env = 0;    // octaves the cutoff rises with the envelope's level (brass-like)
  double lowpass_q = 0.707;
  double highpass = 0;  // biquad cutoff in Hz (0: none)
  double highpass_sweep = 0;
  double tremolo_depth = 0;  // 0..1
  double tremolo_rate = 0;
  double gain = 1;
  uint32_t seed = 1;  // the noise generator's seed
};

// Adds the tone into out from time `at` (seconds) on, scaled by gain; what falls past the end is lost.
void Add_Tone(Samples& out, double at, const Tone& tone, double gain = 1.0);

// A ringing mode (a struck bar, bell or plate): a sine that starts with a 1 ms rise and fades by 60 dB
// in t60 seconds.
void Add_Ring(Samples& out, double at, double freq, double amp, double t60);

// Runs the signal through a biquad whose cutoff moves from `from` to `to` Hz (exponentially) over its
// length.
void Filter_Sweep(Samples& s, FilterKind kind, double from, double to, double q);
// Adds the output of a bank of resonant band-pass filters driven by the signal (a body that rings).
void Resonate(Samples& s, const double* freqs, const double* gains, int count, double q, double dry);
// A feedback echo of a stone hall: each repeat darker and quieter.
void Echo(Samples& s, double delay, double feedback, double wet);
// A raised-cosine fade over the stretch from..to (seconds): fading in, silence before it; fading out,
// silence after it.
void Fade(Samples& s, double from, double to, bool fade_in);

// Removes DC with a 20 Hz high-pass.
void Remove_DC(Samples& s);
// Leaves samples below the knee alone and bends larger ones smoothly towards 1.
void Soft_Limit(Samples& s, double knee);
double Peak(const Samples& s);
// Scales the signal so that its peak sits at the level in dBFS (a silent signal stays silent).
void Normalize(Samples& s, double peak_db);

// The last steps of every effect: DC removed, peaks softly limited, the peak set, a 30 ms fade and
// then 10 ms of digital silence at the end.
void Finish_Effect(Samples& s, double peak_db);

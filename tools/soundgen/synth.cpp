#include "tools/soundgen/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double PI = std::numbers::pi;

// The polynomial band-limited step: smooths the jumps of square and saw waves so that high notes do
// not alias into whistles.
double Poly_Blep(double phase, double dt) {
  if (phase < dt) {
    double t = phase / dt;
    return t + t - t * t - 1.0;
  }
  if (phase > 1.0 - dt) {
    double t = (phase - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

// One oscillator's running state.
struct Osc {
  double phase = 0;
  double held = 0;  // the noise value being held
  double Next(const Tone& tone, double freq, double duty, Rng& rng) {
    double dt = std::min(freq / RATE, 0.5);
    double v = 0;
    switch (tone.wave) {
      case WAVE_SQUARE: {
        v = phase < duty ? 1.0 : -1.0;
        v += Poly_Blep(phase, dt);
        double falling = phase - duty;
        if (falling < 0) falling += 1.0;
        v -= Poly_Blep(falling, dt);
        break;
      }
      case WAVE_SAW:
        v = 2.0 * phase - 1.0 - Poly_Blep(phase, dt);
        break;
      case WAVE_TRIANGLE:
        v = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        break;
      case WAVE_SINE:
        v = std::sin(2.0 * PI * phase);
        break;
      case WAVE_NOISE:
        v = held;
        break;
    }
    phase += freq / RATE;
    if (phase >= 1.0) {
      phase -= std::floor(phase);
      if (tone.wave == WAVE_NOISE) held = rng.Signed();
    }
    if (tone.wave == WAVE_NOISE && freq >= RATE) held = rng.Signed();
    return v;
  }
};

}  // namespace

uint32_t Rng::Next_U32() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

double Rng::Uniform() { return (Next_U32() >> 8) * (1.0 / 16777216.0); }

double Rng::Signed() { return Uniform() * 2.0 - 1.0; }

double Envelope::Level(double t) const {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  t -= attack;
  if (t < decay) return sustain + (1.0 - sustain) * std::pow(1.0 - t / decay, curve);
  t -= decay;
  if (t < hold) return sustain;
  t -= hold;
  if (t < release) return sustain * std::pow(1.0 - t / release, curve);
  return 0;
}

void Biquad::Set(FilterKind kind, double cutoff_hz, double q) {
  double f = std::clamp(cutoff_hz, 10.0, RATE * 0.45);
  double w = 2.0 * PI * f / RATE;
  double cw = std::cos(w), alpha = std::sin(w) / (2.0 * std::max(q, 0.05));
  double a0 = 1.0 + alpha;
  switch (kind) {
    case FILTER_LOWPASS:
      b0 = (1.0 - cw) / 2.0;
      b1 = 1.0 - cw;
      b2 = b0;
      break;
    case FILTER_HIGHPASS:
      b0 = (1.0 + cw) / 2.0;
      b1 = -(1.0 + cw);
      b2 = b0;
      break;
    case FILTER_BANDPASS:
      b0 = alpha;
      b1 = 0;
      b2 = -alpha;
      break;
  }
  a1 = -2.0 * cw;
  a2 = 1.0 - alpha;
  b0 /= a0;
  b1 /= a0;
  b2 /= a0;
  a1 /= a0;
  a2 /= a0;
}

double Biquad::Run(double x) {
  double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return y;
}

void Add_Tone(Samples& out, double at, const Tone& tone, double gain) {
  const long start = std::lround(at * RATE);
  const long count = std::lround(tone.env.Length() * RATE);
  Rng rng(tone.seed);
  Osc a, b;
  b.phase = 0.37;  // the detuned twin starts elsewhere in its cycle
  Biquad lp, hp;
  const double detune_ratio = std::pow(2.0, tone.detune / 1200.0);
  for (long i = 0; i < count; ++i) {
    long at_sample = start + i;
    if (at_sample >= static_cast<long>(out.size())) break;
    double t = i / RATE;
    double octaves = tone.slide * t + 0.5 * tone.slide_accel * t * t;
    double f = tone.freq * std::exp2(octaves);
    if (tone.arp_time > 0 && t >= tone.arp_time) f *= tone.arp_ratio;
    if (tone.vibrato_depth > 0 && t >= tone.vibrato_delay)
      f *= std::exp2(tone.vibrato_depth / 12.0 *
                     std::sin(2.0 * PI * tone.vibrato_rate * (t - tone.vibrato_delay)));
    f = std::clamp(f, tone.freq_min, tone.freq_max);
    double duty = std::clamp(tone.duty + tone.duty_sweep * t, 0.05, 0.95);
    double v = a.Next(tone, f, duty, rng);
    if (tone.detune != 0) v = 0.5 * (v + b.Next(tone, f * detune_ratio, duty, rng));
    double level = tone.env.Level(t);
    if ((i & 15) == 0) {
      if (tone.lowpass > 0)
        lp.Set(FILTER_LOWPASS, tone.lowpass * std::exp2(tone.lowpass_sweep * t + tone.lowpass_env * level),
               tone.lowpass_q);
      if (tone.highpass > 0)
        hp.Set(FILTER_HIGHPASS, tone.highpass * std::exp2(tone.highpass_sweep * t), 0.707);
    }
    if (tone.lowpass > 0) v = lp.Run(v);
    if (tone.highpass > 0) v = hp.Run(v);
    double trem = 1.0 - tone.tremolo_depth * 0.5 * (1.0 - std::cos(2.0 * PI * tone.tremolo_rate * t));
    if (at_sample >= 0)
      out[static_cast<size_t>(at_sample)] += static_cast<float>(v * level * trem * tone.gain * gain);
  }
}

void Add_Ring(Samples& out, double at, double freq, double amp, double t60) {
  const long start = std::lround(at * RATE);
  const long count = std::lround(t60 * RATE);
  const double k = std::log(1000.0) / (t60 * RATE);  // -60 dB over t60
  for (long i = 0; i < count; ++i) {
    long n = start + i;
    if (n >= static_cast<long>(out.size())) break;
    if (n < 0) continue;
    double rise = std::min(1.0, i / (0.001 * RATE));
    // The last fifth of the ring tapers to exactly zero.
    double tail = std::min(1.0, (count - i) / (0.2 * count));
    out[static_cast<size_t>(n)] +=
        static_cast<float>(amp * rise * tail * std::exp(-k * i) * std::sin(2.0 * PI * freq * i / RATE));
  }
}

void Filter_Sweep(Samples& s, FilterKind kind, double from, double to, double q) {
  Biquad f;
  const double n = static_cast<double>(std::max<size_t>(s.size(), 1));
  for (size_t i = 0; i < s.size(); ++i) {
    if ((i & 15) == 0) f.Set(kind, from * std::pow(to / from, i / n), q);
    s[i] = static_cast<float>(f.Run(s[i]));
  }
}

void Resonate(Samples& s, const double* freqs, const double* gains, int count, double q, double dry) {
  std::vector<Biquad> bank(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) bank[static_cast<size_t>(k)].Set(FILTER_BANDPASS, freqs[k], q);
  for (float& x : s) {
    double in = x, y = dry * in;
    for (int k = 0; k < count; ++k) y += gains[k] * bank[static_cast<size_t>(k)].Run(in);
    x = static_cast<float>(y);
  }
}

void Echo(Samples& s, double delay, double feedback, double wet) {
  const size_t d = static_cast<size_t>(std::lround(delay * RATE));
  if (d == 0 || d >= s.size()) return;
  std::vector<float> line(s.size(), 0.f);
  double dark = 0;  // a one-pole low-pass in the loop: stone swallows the highs
  for (size_t i = 0; i < s.size(); ++i) {
    double back = i >= d ? line[i - d] : 0.0;
    dark += 0.35 * (back - dark);
    line[i] = static_cast<float>(s[i] + feedback * dark);
    s[i] = static_cast<float>(s[i] + wet * dark);
  }
}

void Fade(Samples& s, double from, double to, bool fade_in) {
  const long a = std::lround(from * RATE), b = std::lround(to * RATE);
  for (long i = 0; i < static_cast<long>(s.size()); ++i) {
    double x = i <= a ? 0.0 : i >= b ? 1.0 : static_cast<double>(i - a) / static_cast<double>(b - a);
    double g = 0.5 - 0.5 * std::cos(PI * x);  // 0 before the stretch, 1 after it
    s[static_cast<size_t>(i)] *= static_cast<float>(fade_in ? g : 1.0 - g);
  }
}

void Remove_DC(Samples& s) {
  const double r = std::exp(-2.0 * PI * 20.0 / RATE);
  double x1 = 0, y1 = 0;
  for (float& x : s) {
    double y = x - x1 + r * y1;
    x1 = x;
    y1 = y;
    x = static_cast<float>(y);
  }
}

void Soft_Limit(Samples& s, double knee) {
  for (float& x : s) {
    double a = std::fabs(x);
    if (a <= knee) continue;
    double over = (a - knee) / (1.0 - knee);
    double bent = knee + (1.0 - knee) * std::tanh(over);
    x = static_cast<float>(x < 0 ? -bent : bent);
  }
}

double Peak(const Samples& s) {
  double p = 0;
  for (float x : s) p = std::max(p, static_cast<double>(std::fabs(x)));
  return p;
}

void Normalize(Samples& s, double peak_db) {
  double p = Peak(s);
  if (p <= 0) return;
  const double k = std::pow(10.0, peak_db / 20.0) / p;
  for (float& x : s) x = static_cast<float>(x * k);
}

void Finish_Effect(Samples& s, double peak_db) {
  Remove_DC(s);
  Normalize(s, 0.0);
  Soft_Limit(s, 0.7);
  Normalize(s, peak_db);
  const double end = s.size() / RATE;
  Fade(s, end - 0.04, end - 0.01, false);
}

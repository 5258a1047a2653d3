// The effects of a torch-lit stone dungeon: soft steps and thuds on stone, a creaking wooden door,
// metal keys and locks, grinding stone blocks, bells and brass.
#include "tools/soundgen/effects.h"

#include <cmath>
#include <numbers>

#include "tools/soundgen/voices.h"

namespace {

// Stone grinding on stone: noise in a band that moves from `low` to `high` Hz, roughened by random
// swells about `grain` times a second and sparse crackles of grit, over a low rumble; soft ends.
void Add_Grind(Samples& out, double at, double dur, double low, double high, double grain, double gain,
               uint32_t seed) {
  Samples g(static_cast<size_t>(std::lround(dur * RATE)), 0.f);
  Rng rng(seed), swells(seed * 31u + 7u), grit(seed * 131u + 3u);
  Biquad band, rough;
  double swell = 0.5, target = 0.5, next = 0, crack = 0, dull = 0;
  for (size_t i = 0; i < g.size(); ++i) {
    double t = i / RATE;
    if ((i & 15) == 0) {
      double centre = low * std::pow(high / low, t / dur);
      band.Set(FILTER_BANDPASS, centre, 1.4);
      rough.Set(FILTER_BANDPASS, centre * 3.1, 2.0);
    }
    if (t >= next) {
      target = 0.25 + 0.75 * swells.Uniform();
      next += (0.5 + swells.Uniform()) / grain;
    }
    swell += (target - swell) * 0.003;
    if (grit.Uniform() < 60.0 / RATE) crack = grit.Signed();
    crack *= 0.93;
    dull += 0.5 * (crack - dull);  // grit clicks, not sparks
    double n = rng.Signed();
    g[i] = static_cast<float>(swell * (band.Run(n) + 0.5 * rough.Run(n)) + 0.5 * dull);
  }
  Normalize(g, 0);
  Add_Tone(g, 0,
           Tone{.wave = WAVE_SAW,
                .freq = 52,
                .freq_min = 30,
                .vibrato_depth = 1.2,
                .vibrato_rate = 6.5,
                .env = Held(0.05, dur - 0.15, 0.1),
                .lowpass = 140,
                .gain = 0.2});
  Fade(g, 0, 0.05, true);
  Fade(g, dur - 0.1, dur, false);
  Normalize(g, 0);
  Mix(out, at, g, gain);
}

// A wooden creak: the stick-slip pulses of a hinge, rate rising from `rate_lo` to `rate_hi` and back,
// ringing the modes of a wooden door.
void Add_Creak(Samples& out, double at, double dur, double rate_lo, double rate_hi, double gain,
               uint32_t seed) {
  Samples c(static_cast<size_t>(std::lround(dur * RATE)), 0.f);
  Rng rng(seed);
  for (double t = 0.004; t < dur - 0.01;) {
    double x = t / dur;
    double rate = rate_lo + (rate_hi - rate_lo) * std::sin(std::numbers::pi * x);
    c[static_cast<size_t>(t * RATE)] += static_cast<float>(0.6 + 0.4 * rng.Uniform());
    t += (0.85 + 0.3 * rng.Uniform()) / rate;
  }
  Filter_Sweep(c, FILTER_LOWPASS, 4000, 4000, 0.707);
  static const double modes[] = {290, 610, 1040, 1650, 2480};
  static const double gains[] = {1.0, 0.8, 0.6, 0.35, 0.2};
  Resonate(c, modes, gains, 5, 14, 0.0);
  Fade(c, 0, 0.03, true);
  Fade(c, dur - 0.08, dur, false);
  Normalize(c, 0);
  Mix(out, at, c, gain);
}

void Step(Samples& s) {
  Add_Noise(s, 0, Struck(0.05, 3), 150, 900, 0.8, 11);
  Add_Thump(s, 0, 140, -4, 0.07, 0.7);
  Add_Noise(s, 0.004, Struck(0.015, 2), 1800, 3200, 0.18, 12);
  Finish_Effect(s, -8);
}

void Bump(Samples& s) {
  Add_Thump(s, 0, 95, -2.5, 0.22, 1.0);
  Add_Tone(s, 0, Tone{.wave = WAVE_TRIANGLE, .freq = 190, .slide = -3, .env = Struck(0.08), .gain = 0.35});
  Add_Noise(s, 0, Struck(0.04, 3), 0, 400, 0.5, 21);
  Add_Ring(s, 0.002, 230, 0.15, 0.15);
  Finish_Effect(s, -3);
}

void Door_Open(Samples& s) {
  Add_Creak(s, 0.0, 0.46, 45, 190, 0.8, 31);
  Add_Noise(s, 0.0, Struck(0.03), 200, 1500, 0.25, 32);  // the latch lifts
  Add_Thump(s, 0.46, 85, -1.5, 0.11, 0.7);               // the door meets its stop
  Add_Noise(s, 0.46, Struck(0.04, 3), 0, 700, 0.35, 33);
  Finish_Effect(s, -4);
}

void Unlock(Samples& s) {
  Add_Noise(s, 0.0, Struck(0.04, 1.5, 0.01), 2000, 7000, 0.25, 41);  // the key slides in
  Add_Noise(s, 0.05, Struck(0.004), 1500, 0, 0.6, 42);
  Add_Metal(s, 0.05, 2450, 0.35, 0.08);
  Add_Noise(s, 0.16, Struck(0.004), 1500, 0, 0.6, 43);
  Add_Metal(s, 0.16, 1830, 0.35, 0.09);
  Add_Thump(s, 0.19, 180, -1.5, 0.15, 0.8);  // the bolt draws back
  Add_Tone(s, 0.19, Tone{.wave = WAVE_SQUARE, .freq = 90, .env = Struck(0.05), .lowpass = 500, .gain = 0.3});
  Add_Ring(s, 0.19, 620, 0.18, 0.2);
  Finish_Effect(s, -3);
}

void Key_Taken(Samples& s) {
  static const double when[] = {0.0, 0.045, 0.09, 0.16, 0.21, 0.29};
  Rng rng(51);
  for (double t : when) {
    double f = 1500 + 1100 * rng.Uniform();
    Add_Noise(s, t, Struck(0.003), 3000, 0, 0.3, rng.Next_U32());
    Add_Metal(s, t, f, 0.3 + 0.2 * rng.Uniform(), 0.16 + 0.08 * rng.Uniform());
  }
  Finish_Effect(s, -4);
}

void Token_Taken(Samples& s) {
  // B5 then E6, the classic pickup blip, with a soft triangle an octave down for body.
  Add_Tone(
      s, 0,
      Tone{.wave = WAVE_SQUARE,
           .freq = 987.77,
           .arp_ratio = 1.3348,
           .arp_time = 0.07,
           .duty = 0.25,
           .env =
               Envelope{.attack = 0.001, .decay = 0.2, .sustain = 0, .hold = 0.06, .release = 0, .curve = 2},
           .lowpass = 4000,
           .gain = 0.5});
  Add_Tone(s, 0,
           Tone{.wave = WAVE_TRIANGLE,
                .freq = 493.88,
                .arp_ratio = 1.3348,
                .arp_time = 0.07,
                .env = Struck(0.22, 2, 0.001),
                .gain = 0.4});
  Finish_Effect(s, -5);
}

void Treasure_Taken(Samples& s) {
  static const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};  // C6 E6 G6 C7
  for (int i = 0; i < 4; ++i) {
    Add_Metal(s, 0.07 * i, notes[i], 0.4, 0.6);
    Add_Ring(s, 0.07 * i, notes[i] * 2.0, 0.12, 0.3);
  }
  Add_Ring(s, 0, 523.25, 0.25, 0.7);  // a warm C5 beneath
  // The sparkle: high glittering noise that flickers and fades.
  Add_Tone(s, 0.05,
           Tone{.wave = WAVE_NOISE,
                .freq = 9000,
                .env = Struck(0.6, 2, 0.05),
                .lowpass = 12000,
                .highpass = 5000,
                .tremolo_depth = 0.9,
                .tremolo_rate = 23,
                .gain = 0.1,
                .seed = 61});
  Finish_Effect(s, -3);
}

void Shift(Samples& s) {
  Add_Grind(s, 0, 0.46, 220, 420, 30, 1.0, 71);
  Add_Thump(s, 0.43, 110, -1.5, 0.09, 0.45);  // the blocks settle
  Finish_Effect(s, -4);
}

void Rotate(Samples& s) {
  // A lighter block turning on its seat: a higher grind with a groan that rises as it turns, and two
  // clacks as the quarter turn locks in.
  Add_Grind(s, 0, 0.28, 500, 1200, 50, 0.6, 81);
  Add_Tone(s, 0,
           Tone{.wave = WAVE_SAW,
                .freq = 95,
                .slide = 1.2,
                .vibrato_depth = 0.6,
                .vibrato_rate = 11,
                .env = Held(0.04, 0.18, 0.06),
                .lowpass = 700,
                .lowpass_q = 3,
                .gain = 0.35});
  for (int i = 0; i < 2; ++i) {
    Add_Noise(s, 0.27 + 0.045 * i, Struck(0.01), 400, 4000, 0.4, 82 + i);
    Add_Thump(s, 0.27 + 0.045 * i, 180 - 40 * i, -2, 0.05, 0.6);
  }
  Finish_Effect(s, -5);
}

void Refused(Samples& s) {
  // A soft, dull "uh-uh": two low muffled tones, the second lower.
  for (int i = 0; i < 2; ++i) {
    Add_Tone(s, 0.11 * i,
             Tone{.wave = WAVE_TRIANGLE,
                  .freq = i == 0 ? 233.08 : 185.0,
                  .slide = -0.3,
                  .env = Held(0.008, i == 0 ? 0.06 : 0.08, 0.05),
                  .lowpass = 700,
                  .gain = 0.8});
  }
  Finish_Effect(s, -6);
}

void Turn_Passes(Samples& s) {
  Add_Noise(s, 0, Struck(0.006), 0, 2000, 0.3, 101);  // the strike
  Add_Bell(s, 0, 392.0, 0.5, 0.94);                   // G4
  Finish_Effect(s, -4);
}

void Win(Samples& s) {
  // G4 C5 E5, then G5 over a held C major chord; a timpani roll leads to the big hit.
  static const double run[] = {392.0, 523.25, 659.26};
  for (int i = 0; i < 3; ++i) Add_Tone(s, 0.15 * i, Brass(run[i], 0.24, 0.5));
  Add_Tone(s, 0.45, Brass(783.99, 1.68, 0.55));
  static const double chord[] = {261.63, 329.63, 392.0, 523.25};
  for (double f : chord) Add_Tone(s, 0.45, Brass(f, 1.68, 0.3));
  for (int i = 0; i < 7; ++i) Add_Thump(s, 0.06 * i, 65.4, -0.2, 0.15, 0.15 + 0.04 * i);
  Add_Thump(s, 0.45, 65.4, -0.2, 1.2, 0.9);
  Add_Noise(s, 0.45, Struck(0.08, 3), 0, 600, 0.4, 111);
  Add_Tone(s, 0.3,
           Tone{.wave = WAVE_NOISE,
                .freq = WHITE,
                .env = Envelope{.attack = 0.15, .decay = 1.6, .sustain = 0, .curve = 2.5},
                .highpass = 4000,
                .gain = 0.1,
                .seed = 112});  // a cymbal swell
  Echo(s, 0.13, 0.3, 0.25);
  Finish_Effect(s, -1.5);
}

void Panel_Grow(Samples& s) {
  Add_Tone(s, 0,
           Tone{.wave = WAVE_NOISE,
                .freq = WHITE,
                .env = Envelope{.attack = 0.2, .decay = 0.2, .sustain = 0},
                .lowpass = 300,
                .lowpass_sweep = 5,
                .lowpass_q = 2.5,
                .highpass = 150,
                .gain = 0.8,
                .seed = 121});
  Add_Tone(s, 0,
           Tone{.wave = WAVE_TRIANGLE,
                .freq = 220,
                .slide = 2.0,
                .env = Held(0.15, 0.05, 0.2),
                .lowpass = 1500,
                .gain = 0.25});
  Finish_Effect(s, -8);
}

void Button(Samples& s) {
  Add_Tone(s, 0,
           Tone{.wave = WAVE_SQUARE,
                .freq = 1050,
                .slide = -6,
                .env = Struck(0.025, 2, 0.0005),
                .lowpass = 3000,
                .gain = 0.5});
  Add_Noise(s, 0, Struck(0.003), 3000, 0, 0.4, 131);
  Add_Ring(s, 0, 820, 0.3, 0.05);
  Finish_Effect(s, -6);
}

void Option(Samples& s) {
  Add_Tone(s, 0, Tone{.wave = WAVE_TRIANGLE, .freq = 1318.5, .env = Struck(0.03, 2, 0.001), .lowpass = 5000});
  Add_Tone(s, 0.05,
           Tone{.wave = WAVE_TRIANGLE, .freq = 1760, .env = Struck(0.035, 2, 0.001), .lowpass = 5000});
  Finish_Effect(s, -8);
}

void Walls_Close(Samples& s) {
  Add_Grind(s, 0, 0.54, 110, 320, 18, 1.0, 141);
  Fade(s, 0, 0.4, true);  // the grinding swells as the walls close in
  Add_Tone(s, 0,
           Tone{.wave = WAVE_SINE, .freq = 45, .slide = 0.8, .env = Held(0.35, 0.12, 0.05), .gain = 0.4});
  Finish_Effect(s, -3);
}

void Walls_Slam(Samples& s) {
  Add_Thump(s, 0, 70, -1.0, 0.9, 1.0);
  Add_Noise(s, 0, Struck(0.15, 3), 0, 1200, 1.0, 151);
  Add_Noise(s, 0, Struck(0.04, 3), 1000, 2500, 0.5, 152);  // the crack of stone on stone
  // Grit and pebbles fall afterwards, ringing small stones.
  Samples debris(s.size(), 0.f);
  Rng rng(153);
  for (int i = 0; i < 14; ++i)
    Add_Noise(debris, 0.08 + 0.6 * rng.Uniform(), Struck(0.004), 0, 0, 0.2 + 0.3 * rng.Uniform(),
              rng.Next_U32());
  static const double modes[] = {900, 1700, 2600};
  static const double gains[] = {1.0, 0.6, 0.4};
  Resonate(debris, modes, gains, 3, 8, 0.3);
  Mix(s, 0, debris, 0.5);
  Echo(s, 0.11, 0.35, 0.3);
  Normalize(s, 0);
  Soft_Limit(s, 0.5);  // more body in the boom
  Finish_Effect(s, -2);
}

void Walls_Open(Samples& s) {
  Add_Noise(s, 0, Struck(0.05), 0, 500, 0.5, 161);  // the walls heave free
  Add_Grind(s, 0.02, 0.52, 340, 130, 18, 0.9, 162);
  Fade(s, 0.1, 0.52, false);  // and grind away into the distance
  Add_Tone(s, 0.05,
           Tone{.wave = WAVE_NOISE,
                .freq = WHITE,
                .env = Envelope{.attack = 0.12, .decay = 0.3, .sustain = 0},
                .lowpass = 2500,
                .lowpass_sweep = -2,
                .highpass = 800,
                .gain = 0.25,
                .seed = 163});
  Finish_Effect(s, -4);
}

using Recipe = void (*)(Samples&);

constexpr Recipe recipes[SOUND_COUNT] = {
    Step,           Bump,   Door_Open, Unlock,      Key_Taken,   Token_Taken,
    Treasure_Taken, Shift,  Rotate,    Refused,     Turn_Passes, Win,
    Panel_Grow,     Button, Option,    Walls_Close, Walls_Slam,  Walls_Open,
};

}  // namespace

Samples Render_Effect(SoundId id) {
  Samples s(static_cast<size_t>(Sound_Samples(sound_manifest[id])), 0.f);
  recipes[id](s);
  return s;
}

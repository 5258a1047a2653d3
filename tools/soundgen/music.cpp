// The step sequencer and the pieces. A pattern is a line of tokens, one a step: a note ("D4", "C#5",
// "Bb3"), "-" to hold the note before, "." for silence, "x" or "X" for a soft or hard hit of a drum;
// "|" between bars is only for the reader. A looping theme is rendered three times over and the last
// pass kept, so that the echoes and the tails of its last notes sound under its first ones, exactly as
// they will when it plays again: its end joins its start with no click.
#include "tools/soundgen/music.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "tools/soundgen/voices.h"

namespace {

// Plays one note into out at `at` seconds: freq in Hz (a drum hit: 0, its own pitch), `length` seconds
// until the next note or silence of its track, velocity 0..1, and a seed for its noise.
using Instrument = void (*)(Samples& out, double at, double freq, double length, double velocity,
                            uint32_t seed);

struct Track {
  Instrument play;
  double gain;
  std::string pattern;
};

struct Piece {
  int steps;
  double peak_db;
  double echo_delay, echo_feedback, echo_wet;
  std::vector<Track> tracks;
};

struct Note {
  int step;
  int length;  // in steps
  double freq;
  double velocity;
};

// The frequency of a note name, or 0 when the token is not one.
double Note_Freq(const std::string& token) {
  static const int semitone[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (token.size() < 2 || token[0] < 'A' || token[0] > 'G') return 0;
  int n = semitone[token[0] - 'A'];
  size_t i = 1;
  if (token[i] == '#')
    ++n, ++i;
  else if (token[i] == 'b')
    --n, ++i;
  if (i + 1 != token.size() || token[i] < '0' || token[i] > '8') return 0;
  int midi = 12 * (token[i] - '0' + 1) + n;
  return 440.0 * std::exp2((midi - 69) / 12.0);
}

// The notes of a pattern; false with the reason when a token is unknown or the step count is wrong.
bool Parse(const std::string& pattern, int steps, std::vector<Note>* notes, std::string* error) {
  std::istringstream in(pattern);
  std::string token;
  int step = 0;
  bool held = false;  // a "-" may continue the last note
  while (in >> token) {
    if (token == "|") continue;
    if (token == "-") {
      if (held) ++notes->back().length;
    } else if (token == ".") {
      held = false;
    } else if (token == "x" || token == "X") {
      notes->push_back(Note{step, 1, 0, token == "X" ? 1.0 : 0.6});
      held = true;
    } else {
      double f = Note_Freq(token);
      if (f == 0) {
        *error = "unknown token \"" + token + "\"";
        return false;
      }
      notes->push_back(Note{step, 1, f, 1.0});
      held = true;
    }
    ++step;
  }
  if (step != steps) {
    *error = "a pattern of " + std::to_string(step) + " steps where the piece has " + std::to_string(steps);
    return false;
  }
  return true;
}

// ---- The instruments ----

void Pluck(Samples& out, double at, double f, double, double v, uint32_t) {
  Add_Tone(
      out, at,
      Tone{
          .wave = WAVE_SAW, .freq = f, .env = Struck(0.7, 3), .lowpass = 900, .lowpass_env = 1.5, .gain = v});
}

void Bass(Samples& out, double at, double f, double length, double v, uint32_t) {
  Add_Tone(out, at,
           Tone{.wave = WAVE_TRIANGLE,
                .freq = f,
                .env = Sustained(0.01, 0.15, 0.7, length - 0.05, 0.15),
                .lowpass = 800,
                .gain = v});
}

// A recorder: a soft triangle with a breath of vibrato.
void Recorder(Samples& out, double at, double f, double length, double v, uint32_t) {
  Add_Tone(out, at,
           Tone{.wave = WAVE_TRIANGLE,
                .freq = f,
                .vibrato_depth = 0.15,
                .vibrato_rate = 5,
                .vibrato_delay = 0.2,
                .env = Sustained(0.04, 0.08, 0.8, length - 0.04, 0.1),
                .lowpass = 2200,
                .gain = v});
}

// A flute: rounder than the recorder, mostly sine, with a little breath.
void Flute(Samples& out, double at, double f, double length, double v, uint32_t seed) {
  const Envelope env = Sustained(0.09, 0.1, 0.8, length - 0.06, 0.2);
  Add_Tone(out, at,
           Tone{.wave = WAVE_SINE,
                .freq = f,
                .vibrato_depth = 0.12,
                .vibrato_rate = 4.5,
                .vibrato_delay = 0.3,
                .env = env,
                .gain = 0.8 * v});
  Add_Tone(out, at,
           Tone{.wave = WAVE_NOISE,
                .freq = WHITE,
                .env = env,
                .lowpass = f * 3,
                .lowpass_q = 4,
                .highpass = f,
                .gain = 0.06 * v,
                .seed = seed});
}

// A drone of two detuned saws behind a closed filter, swelling in and out.
void Pad(Samples& out, double at, double f, double length, double v, uint32_t) {
  Add_Tone(out, at,
           Tone{.wave = WAVE_SAW,
                .freq = f,
                .detune = 12,
                .env = Sustained(0.5, 0.3, 0.7, length, 0.6),
                .lowpass = 420,
                .gain = v});
}

// A dulcimer-like struck string: a long ring with a few partials.
void Chime(Samples& out, double at, double f, double, double v, uint32_t) {
  Add_Ring(out, at, f, 0.5 * v, 1.6);
  Add_Ring(out, at, f * 2.0, 0.15 * v, 0.8);
  Add_Ring(out, at, f * 3.01, 0.06 * v, 0.4);
}

// A frame drum: a low skin thump and the slap of the hand.
void Drum(Samples& out, double at, double, double, double v, uint32_t seed) {
  Add_Thump(out, at, 100, -1.2, 0.3, v);
  Add_Noise(out, at, Struck(0.04, 3), 0, 600, 0.4 * v, seed);
}

void Shaker(Samples& out, double at, double, double, double v, uint32_t seed) {
  Add_Noise(out, at, Struck(0.05, 2, 0.004), 6000, 12000, 0.5 * v, seed);
}

void Horn(Samples& out, double at, double f, double length, double v, uint32_t) {
  Add_Tone(out, at, Brass(f, length - 0.02, v));
}

void Timpani(Samples& out, double at, double, double, double v, uint32_t seed) {
  Add_Thump(out, at, 73.4, -0.15, 1.0, v);
  Add_Noise(out, at, Struck(0.06, 3), 0, 500, 0.3 * v, seed);
}

// ---- The pieces ----

// The menu: D minor at 100 beats a minute, Dm Dm Bb C | Dm Gm A A; a recorder over a lute, a bass and a
// frame drum.
Piece Menu_Theme() {
  const std::string dm = "D3 . A3 . D4 . F4 . A4 . F4 . D4 . A3 . ";
  const std::string bb = "Bb2 . F3 . Bb3 . D4 . F4 . D4 . Bb3 . F3 . ";
  const std::string c = "C3 . G3 . C4 . E4 . G4 . E4 . C4 . G3 . ";
  const std::string gm = "G2 . D3 . G3 . Bb3 . D4 . Bb3 . G3 . D3 . ";
  const std::string a = "A2 . E3 . A3 . C#4 . E4 . C#4 . A3 . E3 . ";
  const std::string beat = "X . . . . . x . X . . . . . x . ";
  const std::string shake = ". . x . . . x . . . x . . . x . ";
  Piece p{128, -3, 0.3, 0.3, 0.22, {}};
  p.tracks.push_back({Recorder, 0.32,
                      "A4 - - - D5 - - - C5 - A4 - F4 - G4 - | A4 - - - - - - - . . F4 - E4 - D4 - | "
                      "F4 - - - Bb4 - - - A4 - G4 - F4 - D4 - | E4 - - - G4 - - - C5 - - - Bb4 - A4 - | "
                      "A4 - - - D5 - - - F5 - E5 - D5 - C5 - | Bb4 - - - D5 - - - G4 - - - Bb4 - A4 - | "
                      "A4 - - - C#5 - - - E5 - - - D5 - C#5 - | A4 - - - - - - - E4 - F4 - G4 - - -"});
  p.tracks.push_back({Pluck, 0.2, dm + dm + bb + c + dm + gm + a + a});
  p.tracks.push_back({Bass, 0.45,
                      "D2 - - - - - - - D2 - - - A1 - - - | D2 - - - - - - - D2 - - - F2 - - - | "
                      "Bb1 - - - - - - - Bb1 - - - F2 - - - | C2 - - - - - - - C2 - - - G1 - - - | "
                      "D2 - - - - - - - D2 - - - A1 - - - | G1 - - - - - - - G1 - - - D2 - - - | "
                      "A1 - - - - - - - A1 - - - E2 - - - | A1 - - - - - - - A1 - - - C#2 - - -"});
  p.tracks.push_back(
      {Drum, 0.5, beat + beat + beat + beat + beat + beat + beat + "X . . . . . x . X . . x X . x x"});
  std::string shakes;
  for (int bar = 0; bar < 8; ++bar) shakes += shake;
  p.tracks.push_back({Shaker, 0.18, shakes});
  return p;
}

// Play: A minor at 75 beats a minute, Am Am F G | Am Dm E E; a drone, a sparse dulcimer, a soft drum,
// and a flute only in the second half. Quieter than the menu, to sit under the game.
Piece Play_Theme() {
  auto held = [](const char* note) { return std::string(note) + " - - - - - - - - - - - - - - - | "; };
  auto ring = [](const char* a, const char* b, const char* c) {
    return std::string(a) + " . . . . . " + b + " . . . " + c + " . . . . . | ";
  };
  const std::string rest = ". . . . . . . . . . . . . . . . | ";
  std::string beat;
  for (int bar = 0; bar < 8; ++bar) beat += "x . . . . . . . . . x . . . . . | ";
  Piece p{128, -9, 0.4, 0.35, 0.3, {}};
  p.tracks.push_back({Pad, 0.3,
                      held("A2") + held("A2") + held("F2") + held("G2") + held("A2") + held("D2") +
                          held("E2") + held("E2")});
  p.tracks.push_back({Pad, 0.22,
                      held("E3") + held("E3") + held("C3") + held("D3") + held("E3") + held("A3") +
                          held("B2") + held("B2")});
  p.tracks.push_back({Chime, 0.35,
                      ring("A4", "E5", "C5") + ring("A4", "E5", "C5") + ring("A4", "F5", "C5") +
                          ring("G4", "D5", "B4") + ring("A4", "E5", "C5") + ring("F4", "D5", "A4") +
                          ring("G#4", "E5", "B4") + ring("G#4", "E5", "B4")});
  p.tracks.push_back({Flute, 0.3,
                      rest + rest + rest + rest +
                          "E5 - - - - - - - D5 - C5 - B4 - - - | A4 - - - - - - - F4 - - - A4 - - - | "
                          "G#4 - - - - - - - B4 - - - E5 - - - | D5 - - - C5 - - - B4 - - - - - - ."});
  p.tracks.push_back({Drum, 0.3, beat});
  return p;
}

// The results: a fanfare in D major for three horns, a trombone and the timpani.
Piece Results_Fanfare() {
  Piece p{40, -2, 0.17, 0.25, 0.2, {}};
  p.tracks.push_back({Horn, 0.5,
                      "A4 . A4 A4 D5 - - - F#5 - E5 D5 E5 - - - A5 - - - - - - - - - - - - - . . "
                      ". . . . . . . ."});
  p.tracks.push_back({Horn, 0.3,
                      ". . . . A4 - - - D5 - C#5 A4 C#5 - - - F#5 - - - - - - - - - - - - - . . "
                      ". . . . . . . ."});
  p.tracks.push_back({Horn, 0.3,
                      ". . . . F#4 - - - A4 - - - A4 - - - D5 - - - - - - - - - - - - - . . "
                      ". . . . . . . ."});
  p.tracks.push_back({Horn, 0.35,
                      ". . . . D3 - - - D3 - - - A2 - - - D3 - - - - - - - - - - - - - . . "
                      ". . . . . . . ."});
  p.tracks.push_back({Timpani, 0.6,
                      "x . x x X . . . . . . . x . x x X . . . . . . . x x x x X . . . "
                      ". . . . . . . ."});
  return p;
}

}  // namespace

Samples Render_Music(MusicId id, std::string* error) {
  const SoundFile& file = music_manifest[id];
  const Piece piece = id == MUSIC_MENU ? Menu_Theme() : id == MUSIC_PLAY ? Play_Theme() : Results_Fanfare();
  const long length = Sound_Samples(file);
  if (length % piece.steps != 0) {
    *error = "a length that is not a whole number of steps";
    return {};
  }
  const long step = length / piece.steps;
  const int passes = file.loops ? 3 : 1;
  std::vector<std::vector<Note>> notes(piece.tracks.size());
  for (size_t t = 0; t < piece.tracks.size(); ++t) {
    if (!Parse(piece.tracks[t].pattern, piece.steps, &notes[t], error)) {
      *error = "track " + std::to_string(t) + ": " + *error;
      return {};
    }
  }
  Samples all(static_cast<size_t>(length * passes), 0.f);
  for (int pass = 0; pass < passes; ++pass) {
    for (size_t t = 0; t < piece.tracks.size(); ++t) {
      for (const Note& n : notes[t]) {
        // Sample-exact starts and per-note seeds: every pass is the same as the one before.
        double at = static_cast<double>(pass * length + n.step * step) / RATE;
        uint32_t seed = static_cast<uint32_t>(t * 1000 + n.step + 1);
        piece.tracks[t].play(all, at, n.freq, n.length * step / RATE, n.velocity * piece.tracks[t].gain,
                             seed);
      }
    }
  }
  Echo(all, piece.echo_delay, piece.echo_feedback, piece.echo_wet);
  if (!file.loops) {
    Finish_Effect(all, piece.peak_db);
    return all;
  }
  // The DC filter runs over the passes before too, so the kept pass has no start-up step at its seam.
  Remove_DC(all);
  Samples out(all.end() - length, all.end());
  Normalize(out, 0);
  Soft_Limit(out, 0.8);
  Normalize(out, piece.peak_db);
  return out;
}

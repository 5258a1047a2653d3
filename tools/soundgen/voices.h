// Timbres shared by the effects and the music: envelopes of struck and held things, noise bands,
// thumps, struck metal, bells and brass.
#pragma once

#include <cstdint>

#include "tools/soundgen/synth.h"

// A noise tone that draws a new value every sample.
constexpr double WHITE = RATE;

// A struck envelope: a quick rise, then a fall to silence.
Envelope Struck(double decay, double curve = 2.5, double attack = 0.002);
// A held envelope: rise, hold, release.
Envelope Held(double attack, double hold, double release);
// A played note's envelope: attack, decay to the sustain level, held there until `length` seconds
// from the start, then the release.
Envelope Sustained(double attack, double decay, double sustain, double length, double release);

// Adds one signal into another from time `at` on.
void Mix(Samples& out, double at, const Samples& layer, double gain);
// Noise in the band low..high Hz (0: open) under an envelope: scrapes, clicks and hisses.
void Add_Noise(Samples& out, double at, Envelope env, double low, double high, double gain, uint32_t seed);
// A low thump: a sine that falls in pitch (slide, octaves a second) as it dies away.
void Add_Thump(Samples& out, double at, double freq, double slide, double decay, double gain);
// Struck metal: the modes of a free bar (1 : 2.76 : 5.40), the higher ones dying sooner.
void Add_Metal(Samples& out, double at, double freq, double amp, double t60);
// A cast bell: hum, prime, minor third, fifth and nominal partials, the low ones ringing longest.
void Add_Bell(Samples& out, double at, double freq, double amp, double t60);
// A brass note of `length` seconds: detuned saws whose filter opens with the note, a late vibrato.
Tone Brass(double freq, double length, double gain);

// The watch time of the computer's turns: whole games of the computer against itself played through
// its real hand and the real playing screen on the headless backend, whose virtual clock runs at the
// game's own pace (60 passes a second, 100 ms after each step), so a turn's time is what a person
// watching it would wait.
#pragma once

#include <cstdint>
#include <cstdio>

struct WatchOptions {
  int turns = 500;           // turns measured per level
  int level = -1;            // -1: easy, normal and hard in turn
  bool hurried = false;      // Space held from the start of every turn
  uint32_t seed = 1;         // the first game's seed; each further game takes the next
  int density = -1;          // -1: the densities in turn, game by game
  int max_game_turns = 200;  // a game still undecided after this many turns (both sides) is left
  std::FILE* csv = nullptr;  // one line a turn when given
};

// Plays and prints the figures; returns the number of turns that did not end (0 when all did).
int Watch(const WatchOptions& options);

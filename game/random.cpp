#include "game/random.h"

#include <cstdlib>

namespace {
uint32_t seed_given = 1;  // the C library's generator starts as if seeded with 1
uint64_t draws_since_seed = 0;
}  // namespace

void Seed_Random(uint32_t seed) {
  std::srand(seed);
  seed_given = seed;
  draws_since_seed = 0;
}

int Random_Number() {
  ++draws_since_seed;
  return std::rand();
}

uint32_t Random_Seed() { return seed_given; }

uint64_t Random_Draws() { return draws_since_seed; }

void Restore_Random(uint32_t seed, uint64_t draws) {
  Seed_Random(seed);
  for (uint64_t i = 0; i < draws; ++i) Random_Number();
}

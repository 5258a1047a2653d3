// The game's random numbers: the GNU C library's rand, the same in every build, counted since the
// last seeding, so that a saved game can put the generator back exactly where it stood.
#pragma once

#include <cstdint>

// Seeds the generator (as srand does) and starts the count of draws afresh.
void Seed_Random(uint32_t seed);
// The next number of the generator (as rand gives it, 0 to 2^31 - 1), counted.
int Random_Number();
// The seed last given and the numbers drawn since.
uint32_t Random_Seed();
uint64_t Random_Draws();
// Seeds the generator and draws `draws` numbers, leaving it where a run with that seed stood after
// that many draws.
void Restore_Random(uint32_t seed, uint64_t draws);

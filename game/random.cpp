#include "game/random.h"

namespace {

// The generator of the GNU C library's rand and srand, written out so that every build draws the
// same numbers from the same seed (emscripten's C library has another rand): an additive feedback
// generator over 31 words, seeded by a minimal-standard generator, its first 310 numbers dropped.
struct Generator {
  static constexpr int WORDS = 31, GAP = 3, DROPPED = 310;
  int32_t state[WORDS] = {};
  int front = GAP, rear = 0;
  bool seeded = false;  // unseeded, it starts as if seeded with 1

  void Seed(uint32_t seed) {
    int32_t word = static_cast<int32_t>(seed == 0 ? 1 : seed);
    state[0] = word;
    for (int i = 1; i < WORDS; ++i) {
      // 16807 * word mod (2^31 - 1), without overflow (Schrage's method), as the library does it.
      const int32_t hi = word / 127773, lo = word % 127773;
      word = 16807 * lo - 2836 * hi;
      if (word < 0) word += 2147483647;
      state[i] = word;
    }
    front = GAP;
    rear = 0;
    seeded = true;
    for (int i = 0; i < DROPPED; ++i) Next();
  }

  int Next() {
    if (!seeded) Seed(1);
    const uint32_t sum = static_cast<uint32_t>(state[front]) + static_cast<uint32_t>(state[rear]);
    state[front] = static_cast<int32_t>(sum);
    front = front + 1 == WORDS ? 0 : front + 1;
    rear = rear + 1 == WORDS ? 0 : rear + 1;
    return static_cast<int>(sum >> 1);
  }
};

// Constant-initialised: the board's blocks draw from it while other files' statics are built.
Generator generator;
uint32_t seed_given = 1;
uint64_t draws_since_seed = 0;

}  // namespace

void Seed_Random(uint32_t seed) {
  generator.Seed(seed);
  seed_given = seed;
  draws_since_seed = 0;
}

int Random_Number() {
  ++draws_since_seed;
  return generator.Next();
}

uint32_t Random_Seed() { return seed_given; }

uint64_t Random_Draws() { return draws_since_seed; }

void Restore_Random(uint32_t seed, uint64_t draws) {
  Seed_Random(seed);
  for (uint64_t i = 0; i < draws; ++i) Random_Number();
}

// Marks the engine's innermost pixel loops: x86-64 builds carry an AVX2 copy of each besides the
// baseline one, picked once at start-up where the processor has it. Private to graphics/.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__)
#define ROW_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define ROW_KERNEL
#endif

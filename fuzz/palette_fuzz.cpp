// The palette file reader fed arbitrary text through a file: it always succeeds, the entries it
// fills form a run from entry 0 and the rest keep what they held, and what it read survives a save
// and a second load unchanged.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "graphics/palette_lines.h"

namespace {

// Two different salts give tables that differ in every entry's red.
void Fill_Pattern(PALETTEENTRY* table, uint8_t salt) {
  for (int i = 0; i < 256; ++i)
    table[i] = PALETTEENTRY{static_cast<uint8_t>(i ^ salt), static_cast<uint8_t>(i + salt),
                            static_cast<uint8_t>(salt - i), static_cast<uint8_t>(i * 3 + salt)};
}

bool Same(const PALETTEENTRY& a, const PALETTEENTRY& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = Scratch_Path("palette-in.txt");
  static const std::string saved = Scratch_Path("palette-out.txt");
  FUZZ_CHECK(Write_Scratch(input, data, size));

  PALETTEENTRY first[256], second[256], pattern_first[256], pattern_second[256];
  Fill_Pattern(first, 0x5A);
  Fill_Pattern(pattern_first, 0x5A);
  Fill_Pattern(second, 0xC3);
  Fill_Pattern(pattern_second, 0xC3);
  FUZZ_CHECK(Load_Palette_File(input.c_str(), first) == 1);
  FUZZ_CHECK(Load_Palette_File(input.c_str(), second) == 1);

  // Entries the file gave are equal in both tables; from the first one it did not give, every entry
  // still holds its table's own pattern.
  int read = 0;
  while (read < 256 && Same(first[read], second[read])) ++read;
  for (int i = read; i < 256; ++i) {
    FUZZ_CHECK(Same(first[i], pattern_first[i]));
    FUZZ_CHECK(Same(second[i], pattern_second[i]));
  }

  FUZZ_CHECK(Save_Palette_File(saved.c_str(), first) == 1);
  PALETTEENTRY again[256];
  Fill_Pattern(again, 0x17);
  FUZZ_CHECK(Load_Palette_File(saved.c_str(), again) == 1);
  FUZZ_CHECK(std::memcmp(first, again, sizeof first) == 0);
  return 0;
}

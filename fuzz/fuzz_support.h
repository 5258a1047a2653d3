// Helpers shared by the fuzz targets: a scratch file of the process's own, and a check that stops
// the run with a message libFuzzer keeps next to the input that broke it.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Aborts with the broken property named; libFuzzer then saves the input as a finding.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

// A file name in the temporary folder that no other process uses; `tag` tells two files apart.
inline std::string Scratch_Path(const char* tag) {
  const char* dir = std::getenv("TMPDIR");
  std::string base = (dir && *dir) ? dir : "/tmp";
  return base + "/orvalis-fuzz-" + std::to_string(::getpid()) + "-" + tag;
}

// Writes the bytes to the file, replacing it; false when it cannot.
inline bool Write_Scratch(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

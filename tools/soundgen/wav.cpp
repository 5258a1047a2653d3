#include "tools/soundgen/wav.h"

#include <cmath>
#include <cstdio>

namespace {

void Put(std::vector<uint8_t>& v, uint32_t x, int bytes) {
  for (int i = 0; i < bytes; ++i) v.push_back(static_cast<uint8_t>((x >> (8 * i)) & 0xFF));
}

void Put_Tag(std::vector<uint8_t>& v, const char* tag) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> Encode_Wav(const Samples& s, uint32_t rate) {
  const uint32_t data_bytes = static_cast<uint32_t>(s.size() * 2);
  std::vector<uint8_t> v;
  v.reserve(44 + data_bytes);
  Put_Tag(v, "RIFF");
  Put(v, 36 + data_bytes, 4);
  Put_Tag(v, "WAVE");
  Put_Tag(v, "fmt ");
  Put(v, 16, 4);
  Put(v, 1, 2);  // integer PCM
  Put(v, 1, 2);  // mono
  Put(v, rate, 4);
  Put(v, rate * 2, 4);  // bytes a second
  Put(v, 2, 2);         // bytes a frame
  Put(v, 16, 2);        // bits a sample
  Put_Tag(v, "data");
  Put(v, data_bytes, 4);
  for (float x : s) {
    long q = std::lround(static_cast<double>(x) * 32767.0);
    q = q > 32767 ? 32767 : q < -32768 ? -32768 : q;
    Put(v, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(q))), 2);
  }
  return v;
}

bool Write_Bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

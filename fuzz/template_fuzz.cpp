// The block template and value-grid readers fed arbitrary bytes: from memory, from a stream and
// from a file they must read alike, and every square and value must be one the format can give.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "game/random.h"
#include "fuzz/fuzz_support.h"
#include "game/model.h"

namespace {

bool Same_Squares(const MazeBlock& a, const MazeBlock& b) {
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if (a.squares[x][y].blocked != b.squares[x][y].blocked ||
          a.squares[x][y].content != b.squares[x][y].content)
        return false;
  return true;
}

bool Same_Grid(const int32_t a[8][8], const int32_t b[8][8]) {
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if (a[x][y] != b[x][y]) return false;
  return true;
}

// What a 'z' cell or any other cell can leave in a square.
bool Square_Possible(const Square& s) {
  if (s.blocked == 1)
    return s.content == CONTENT_EMPTY || s.content == 8 || s.content == 10 || s.content == 11;
  if (s.blocked != 0) return false;
  switch (s.content) {
    case CONTENT_EMPTY:
    case 6:
    case 7:
    case 9:
    case 12:
    case 13:
    case 14:
      return true;
    default:
      return false;
  }
}

// A value grid holds letters as their codes, other bytes less '0', and -49 for end of input.
bool Value_Possible(int32_t v) {
  if (v >= 'a' && v <= 'z') return true;
  if (v == CELL_END_OF_INPUT - '0') return true;
  const int32_t c = v + '0';
  return c >= 0 && c <= 255 && !(c >= 'a' && c <= 'z');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text(bytes);
  static const std::string path = Scratch_Path("template.txt");
  FUZZ_CHECK(Write_Scratch(path, data, size));

  // One block for each way in, built once: the constructor reads a template file of its own.
  static MazeBlock from_bytes, from_stream, from_file;
  const MazeBlock untouched = from_bytes;

  Seed_Random(7);
  Read_Block_Bytes(from_bytes, bytes);
  Seed_Random(7);
  std::istringstream stream(text);
  Read_Block_Stream(from_stream, stream);
  Seed_Random(7);
  Read_Block_File(from_file, path.c_str());

  FUZZ_CHECK(Same_Squares(from_bytes, from_stream));
  FUZZ_CHECK(Same_Squares(from_bytes, from_file));
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) FUZZ_CHECK(Square_Possible(from_bytes.squares[x][y]));
  // Only the squares are the reader's to change.
  FUZZ_CHECK(from_bytes.type == untouched.type && from_bytes.number == untouched.number &&
             from_bytes.exit_north == untouched.exit_north && from_bytes.exit_west == untouched.exit_west &&
             from_bytes.locked == untouched.locked && from_bytes.has_key == untouched.has_key);

  int32_t grid_bytes[8][8], grid_stream[8][8], grid_file[8][8];
  Read_Value_Bytes(bytes, grid_bytes);
  std::istringstream stream2(text);
  Read_Value_Stream(stream2, grid_stream);
  Read_Value_Grid(path.c_str(), grid_file);
  FUZZ_CHECK(Same_Grid(grid_bytes, grid_stream));
  FUZZ_CHECK(Same_Grid(grid_bytes, grid_file));
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) FUZZ_CHECK(Value_Possible(grid_bytes[x][y]));

  // The two readers agree on where the cells are: a cell the grid reads as '0' is open floor.
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if (grid_bytes[x][y] == 0) FUZZ_CHECK(from_bytes.squares[x][y].blocked == 0);
  return 0;
}

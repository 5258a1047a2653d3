// The character format of the block template and picture-layer files, and the loading of a type's
// template, exits and doors into a block.
#include <cstdio>
#include <istream>
#include <set>
#include <streambuf>
#include <string>

#include "game/model.h"
#include "game/random.h"

namespace {

// A read-only stream buffer over bytes in memory, so the readers can parse without a file.
class MemoryBuffer : public std::streambuf {
 public:
  MemoryBuffer(const char* data, std::size_t size) {
    char* begin = const_cast<char*>(data);  // the get area is never written through
    setg(begin, begin, begin + size);
  }
};

// Bytes from a stream buffer; a null buffer is a stream that could not be opened.
struct StreamBytes {
  std::streambuf* buffer;
  bool Open() const { return buffer != nullptr; }
  int Next() { return buffer->sbumpc(); }
  int Peek() { return buffer->sgetc(); }
};

// A file opened for one read and closed with the object. Its stream reads through a buffer of the
// object's own, large enough for any template in one read, so a read costs an open, one read and a
// close, and nothing is allocated for the buffer.
class FileBytes {
 public:
  explicit FileBytes(const char* filename) : file_(filename ? std::fopen(filename, "rb") : nullptr) {
    if (file_ != nullptr) std::setvbuf(file_, buffer_, _IOFBF, sizeof buffer_);
  }
  ~FileBytes() {
    if (file_ != nullptr) std::fclose(file_);
  }
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  bool Open() const { return file_ != nullptr; }
  int Next() { return std::getc(file_); }
  int Peek() {
    const int c = std::getc(file_);
    if (c != EOF) std::ungetc(c, file_);
    return c;
  }

 private:
  FILE* file_;
  char buffer_[512];
};

// Characters as text-mode input gives them: a carriage return before a newline is dropped. Input
// that could not be opened ends at once.
template <typename Bytes>
class CharSource {
 public:
  explicit CharSource(Bytes& bytes) : bytes_(bytes), ended_(!bytes.Open()) {}

  // The next character (0..255), or CELL_END_OF_INPUT.
  int32_t Get() {
    if (ended_) return CELL_END_OF_INPUT;
    const int c = bytes_.Next();
    if (c == EOF) {
      ended_ = true;
      return CELL_END_OF_INPUT;
    }
    if (c == '\r' && bytes_.Peek() == '\n') {
      bytes_.Next();
      return '\n';
    }
    return c;
  }

 private:
  Bytes& bytes_;
  bool ended_;
};

bool Is_Space(int32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// One cell: the next character unchanged; after a comma or a newline, the next character that is
// not whitespace instead. When input ends while skipping, the separator itself is the cell.
template <typename Source>
int32_t Read_Cell(Source& in) {
  int32_t c = in.Get();
  if (c == ',' || c == '\n') {
    int32_t next = in.Get();
    while (next != CELL_END_OF_INPUT && Is_Space(next)) next = in.Get();
    if (next != CELL_END_OF_INPUT) c = next;
  }
  return c;
}

// What a read found wrong with its input: nothing, a file that could not be opened, fewer than 64
// cells, or a cell character no template uses. The readers' results do not depend on it.
struct ReadCheck {
  bool opened = true;
  int cells = 64;     // cells read before the input ended
  int bad_cell = -1;  // the first cell outside '0'..'9' and 'a'..'z'
  int32_t bad_char = 0;
  void Note(int k, int32_t c) {
    if (c == CELL_END_OF_INPUT) {
      if (cells == 64) cells = k;
    } else if (bad_cell < 0 && !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) {
      bad_cell = k;
      bad_char = c;
    }
  }
};

// The 64 cell characters of a template, in reading order.
template <typename Bytes>
void Read_Cells(Bytes& bytes, int32_t cells[64], ReadCheck* check = nullptr) {
  CharSource<Bytes> in(bytes);
  for (int k = 0; k < 64; ++k) {
    cells[k] = Read_Cell(in);
    if (check) check->Note(k, cells[k]);
  }
}

// Fills the squares from the cells. A 'z' cell draws rand() % 15 + 6, in reading order, when `draw`;
// otherwise it is taken as blocked with no content.
void Fill_Squares(MazeBlock& block, const int32_t cells[64], bool draw) {
  for (int k = 0; k < 64; ++k) {
    const int32_t c = cells[k];
    Square& s = block.squares[k % 8][k / 8];
    s.blocked = 0;
    s.content = CONTENT_EMPTY;
    if (c == '0' || (c >= 'b' && c <= 'y')) continue;
    if (c == 'z' && draw) {
      const int32_t r = Random_Number() % 15 + 6;
      if (Is_Solid_Object(r)) {
        s.content = r;
        s.blocked = 1;
      } else if (r <= OBJECT_LAST) {
        s.content = r;
      }
      continue;
    }
    s.blocked = 1;  // 'a', every other character, end of input, and an undrawn 'z'
  }
}

template <typename Bytes>
void Read_Block_Source(MazeBlock& block, Bytes& bytes, ReadCheck* check = nullptr) {
  int32_t cells[64];
  Read_Cells(bytes, cells, check);
  Fill_Squares(block, cells, true);
}

template <typename Bytes>
void Read_Value_Source(Bytes& bytes, int32_t grid[8][8], ReadCheck* check = nullptr) {
  CharSource<Bytes> in(bytes);
  for (int k = 0; k < 64; ++k) {
    const int32_t c = Read_Cell(in);
    if (check) check->Note(k, c);
    grid[k % 8][k / 8] = Cell_Value(c);
  }
}

// The files already named since start-up (or since Forget_Template_Reports).
std::set<std::string> reported;

// Names a file whose read went wrong, once per file name for the whole run.
void Report(const char* filename, const ReadCheck& check) {
  if (!template_report || !filename || (check.opened && check.cells == 64 && check.bad_cell < 0)) return;
  if (!reported.insert(filename).second) return;
  char message[200];
  if (!check.opened)
    std::snprintf(message, sizeof message,
                  "orvalis: cannot read the template file \"%.64s\"; it reads as blocked\n", filename);
  else if (check.cells < 64)
    std::snprintf(
        message, sizeof message,
        "orvalis: the template file \"%.64s\" ends after %d of its 64 cells; the rest read as blocked\n",
        filename, check.cells);
  else
    std::snprintf(
        message, sizeof message,
        "orvalis: the template file \"%.64s\" holds character %d at cell %d, which no template uses\n",
        filename, static_cast<int>(check.bad_char), check.bad_cell);
  template_report(message);
}

std::streambuf* Buffer_Of(std::istream& in) { return in ? in.rdbuf() : nullptr; }

}  // namespace

void Read_Block_Stream(MazeBlock& block, std::istream& in) {
  StreamBytes bytes{Buffer_Of(in)};
  Read_Block_Source(block, bytes);
}

void Read_Block_Bytes(MazeBlock& block, std::string_view bytes) {
  MemoryBuffer buffer(bytes.data(), bytes.size());
  StreamBytes source{&buffer};
  Read_Block_Source(block, source);
}

void (*template_report)(const char* message) = nullptr;

void Forget_Template_Reports() { reported.clear(); }

void Read_Block_File(MazeBlock& block, const char* filename) {
  FileBytes file(filename);
  ReadCheck check;
  check.opened = file.Open();
  Read_Block_Source(block, file, &check);
  Report(filename, check);
}

void Read_Value_Stream(std::istream& in, int32_t grid[8][8]) {
  StreamBytes bytes{Buffer_Of(in)};
  Read_Value_Source(bytes, grid);
}

void Read_Value_Bytes(std::string_view bytes, int32_t grid[8][8]) {
  MemoryBuffer buffer(bytes.data(), bytes.size());
  StreamBytes source{&buffer};
  Read_Value_Source(source, grid);
}

void Read_Value_Grid(const char* filename, int32_t grid[8][8]) {
  FileBytes file(filename);
  ReadCheck check;
  check.opened = file.Open();
  Read_Value_Source(file, grid, &check);
  Report(filename, check);
}

namespace {

void Template_Name(int32_t type, char (&name)[24]) {
  std::snprintf(name, sizeof name, "%d.txt", static_cast<int>(type));
}

// The exits of the block's type, and its door codes over the squares the template gave.
void Apply_Layout(MazeBlock& block) {
  const int32_t type = block.type;
  if (type < 0 || type >= BLOCK_TYPE_COUNT) return;
  const BlockLayout& t = block_layouts[type];
  block.exit_north = t.north;
  block.exit_east = t.east;
  block.exit_south = t.south;
  block.exit_west = t.west;
  if (t.post_x >= 0) {
    block.squares[t.post_x][t.post_y].content = t.post;
    block.squares[t.leaf_x][t.leaf_y].content = t.leaf;
  }
}

// The cells of every type's template as first read in this run.
struct TemplateCache {
  int32_t cells[BLOCK_TYPE_COUNT][64];
  TemplateCache() {
    for (int32_t type = 0; type < BLOCK_TYPE_COUNT; ++type) {
      char name[24];
      Template_Name(type, name);
      FileBytes file(name);
      Read_Cells(file, cells[type]);
    }
  }
};

}  // namespace

void MazeBlock::Load_Template() {
  exit_north = exit_east = exit_south = exit_west = 0;
  char name[24];
  Template_Name(type, name);
  Read_Block_File(*this, name);
  Apply_Layout(*this);
}

void Load_Template_From_File(MazeBlock& block) { block.Load_Template(); }

namespace {
const TemplateCache& Cache() {
  static const TemplateCache cache;
  return cache;
}
}  // namespace

void Load_Template_Cached(MazeBlock& block) {
  const TemplateCache& cache = Cache();
  block.exit_north = block.exit_east = block.exit_south = block.exit_west = 0;
  if (block.type >= 0 && block.type < BLOCK_TYPE_COUNT) {
    Fill_Squares(block, cache.cells[block.type], false);
  } else {
    const int32_t missing[64] = {};  // an unknown type has no file: every square blocked
    Fill_Squares(block, missing, false);
  }
  Apply_Layout(block);
}

bool Template_Square_Random(int32_t type, int32_t x, int32_t y) {
  if (type < 0 || type >= BLOCK_TYPE_COUNT || x < 0 || x > 7 || y < 0 || y > 7) return false;
  return Cache().cells[type][y * 8 + x] == 'z';
}

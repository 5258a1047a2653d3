// Template reading: the character format, the cell meanings of both readers, the
// transposition into [x][y], the 'z' draws, the door codes, and bad input of every kind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/random.h"
#include "tests/game/support.h"

using namespace orvalis_test;

namespace {

std::string Rows(const char* const rows[8], const char* eol = "\n") {
  std::string s;
  for (int i = 0; i < 8; ++i) s += std::string(rows[i]) + eol;
  return s;
}

MazeBlock Read(std::string_view bytes) {
  MazeBlock b = Open_Block();
  Read_Block_Bytes(b, bytes);
  return b;
}

void Expect_All_Blocked_From(const MazeBlock& b, int first_cell) {
  for (int k = first_cell; k < 64; ++k) {
    EXPECT_EQ(b.squares[k % 8][k / 8].blocked, 1) << "cell " << k;
    EXPECT_EQ(b.squares[k % 8][k / 8].content, 0) << "cell " << k;
  }
}

const char* const kMixed[8] = {"0abcdefz", "12345678", "9yxw0000", "0000a000",
                               "00000000", "00000000", "00000000", "0000000a"};

}  // namespace

TEST(TemplateReading, CellMeaningsForTheModel) {
  GlobalsGuard guard;
  Seed_Random(7);
  const MazeBlock b = Read(Rows(kMixed));
  EXPECT_EQ(b.squares[0][0].blocked, 0);                                    // '0'
  EXPECT_EQ(b.squares[1][0].blocked, 1);                                    // 'a'
  for (int x = 2; x <= 6; ++x) EXPECT_EQ(b.squares[x][0].blocked, 0) << x;  // 'b'..'f'
  for (int x = 0; x < 8; ++x) EXPECT_EQ(b.squares[x][1].blocked, 1) << x;   // digits 1..8
  EXPECT_EQ(b.squares[0][2].blocked, 1);                                    // '9'
  for (int x = 1; x <= 3; ++x) EXPECT_EQ(b.squares[x][2].blocked, 0) << x;  // 'y', 'x', 'w'
  EXPECT_EQ(b.squares[4][3].blocked, 1);
  EXPECT_EQ(b.squares[7][7].blocked, 1);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if (!(x == 7 && y == 0)) {
        EXPECT_EQ(b.squares[x][y].content, 0);
      }
}

TEST(TemplateReading, RowsAreTransposedIntoXY) {
  // Cell 5 of line 2 is square (5,2), not (2,5).
  const char* const rows[8] = {"00000000", "00000000", "00000a00", "00000000",
                               "00000000", "00000000", "00000000", "00000000"};
  const MazeBlock b = Read(Rows(rows));
  EXPECT_EQ(b.squares[5][2].blocked, 1);
  EXPECT_EQ(b.squares[2][5].blocked, 0);
  int blocked = 0;
  for (auto& col : b.squares)
    for (const Square& s : col) blocked += s.blocked;
  EXPECT_EQ(blocked, 1);
}

TEST(TemplateReading, ShippedFilesAreTransposed) {
  // Cell x of line y of every shipped file becomes grid[x][y]; the files are not symmetric, so a
  // reader that swapped the axes would show.
  int asymmetric = 0;
  for (const std::string name : {"4.txt", "4b.txt", "11.txt", "12.txt", "10c.txt"}) {
    const std::string text = Read_Text(name);
    ASSERT_GE(text.size(), 72u) << name;
    int32_t grid[8][8];
    Read_Value_Grid(name.c_str(), grid);
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(grid[x][y], Cell_Value(static_cast<unsigned char>(text[y * 9 + x]))) << name;
        asymmetric += text[y * 9 + x] != text[x * 9 + y];
      }
  }
  EXPECT_GT(asymmetric, 0);
}

TEST(TemplateReading, CommasBetweenCellsReadAlike) {
  GlobalsGuard guard;
  const char* const comma[8] = {"0,a,b,c,d,e,f,z", "1,2,3,4,5,6,7,8", "9,y,x,w,0,0,0,0", "0,0,0,0,a,0,0,0",
                                "0,0,0,0,0,0,0,0", "0,0,0,0,0,0,0,0", "0,0,0,0,0,0,0,0", "0,0,0,0,0,0,0,a"};
  Seed_Random(3);
  const MazeBlock plain = Read(Rows(kMixed));
  Seed_Random(3);
  const MazeBlock commas = Read(Rows(comma));
  Seed_Random(3);
  const MazeBlock spaced = Read(Rows(comma, "\n  \n\t"));  // whitespace after a separator is skipped
  EXPECT_TRUE(Same_Block(plain, commas));
  EXPECT_TRUE(Same_Block(plain, spaced));
}

TEST(TemplateReading, CarriageReturnsAreDropped) {
  GlobalsGuard guard;
  Seed_Random(5);
  const MazeBlock unix_lines = Read(Rows(kMixed));
  Seed_Random(5);
  const MazeBlock dos_lines = Read(Rows(kMixed, "\r\n"));
  EXPECT_TRUE(Same_Block(unix_lines, dos_lines));
  int32_t a[8][8], b[8][8];
  Read_Value_Bytes(Rows(kMixed), a);
  Read_Value_Bytes(Rows(kMixed, "\r\n"), b);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(a[x][y], b[x][y]);
    }
}

TEST(TemplateReading, TwoCommasMakeTheSecondACell) {
  // "0,,0..." : the second comma is a cell of its own (blocked), shifting the rest along.
  const MazeBlock b = Read("0,,0000000\n" + std::string(7 * 9, '0'));
  EXPECT_EQ(b.squares[0][0].blocked, 0);
  EXPECT_EQ(b.squares[1][0].blocked, 1);
  EXPECT_EQ(b.squares[2][0].blocked, 0);
  int32_t grid[8][8];
  Read_Value_Bytes("0,,0000000\n", grid);
  EXPECT_EQ(grid[1][0], ',' - '0');
}

TEST(TemplateReading, ASpaceInsideALineIsABlockedCell) {
  const char* const rows[8] = {"000 0000", "00000000", "00000000", "00000000",
                               "00000000", "00000000", "00000000", "00000000"};
  const MazeBlock b = Read(Rows(rows));
  EXPECT_EQ(b.squares[3][0].blocked, 1);
  EXPECT_EQ(b.squares[4][0].blocked, 0);
  EXPECT_EQ(b.squares[7][0].blocked, 0);
}

TEST(TemplateReading, ZCellsDrawInReadingOrder) {
  GlobalsGuard guard;
  // Two 'z' cells: (7,0) is read before (0,1).
  const char* const rows[8] = {"0000000z", "z0000000", "00000000", "00000000",
                               "00000000", "00000000", "00000000", "00000000"};
  Seed_Random(11);
  const int first = Random_Number() % 15 + 6;
  const int second = Random_Number() % 15 + 6;
  Seed_Random(11);
  const MazeBlock b = Read(Rows(rows));
  auto expect = [](const Square& s, int r) {
    if (r == 8 || r == 10 || r == 11) {
      EXPECT_EQ(s.content, r);
      EXPECT_EQ(s.blocked, 1);
    } else if (r <= 14) {
      EXPECT_EQ(s.content, r);
      EXPECT_EQ(s.blocked, 0);
    } else {
      EXPECT_EQ(s.content, 0);
      EXPECT_EQ(s.blocked, 0);
    }
  };
  expect(b.squares[7][0], first);
  expect(b.squares[0][1], second);
}

TEST(TemplateReading, ZCellOutcomesOverManySeeds) {
  GlobalsGuard guard;
  // Every outcome 6..20 appears, and each gives the square it should.
  bool seen[21] = {};
  const std::string one_z = "z" + std::string(63, '0');
  for (unsigned seed = 1; seed < 400; ++seed) {
    Seed_Random(seed);
    const int r = Random_Number() % 15 + 6;
    seen[r] = true;
    Seed_Random(seed);
    const MazeBlock b = Read(one_z);
    const Square& s = b.squares[0][0];
    if (r >= 15) {
      EXPECT_EQ(s.content, 0);
      EXPECT_EQ(s.blocked, 0);
    } else {
      EXPECT_EQ(s.content, r);
      EXPECT_EQ(s.blocked, (r == 8 || r == 10 || r == 11) ? 1 : 0);
    }
  }
  for (int r = 6; r <= 20; ++r) {
    EXPECT_TRUE(seen[r]) << r;
  }
}

TEST(TemplateReading, NoDrawWithoutZ) {
  GlobalsGuard guard;
  Seed_Random(9);
  const int expected = Random_Number();
  Seed_Random(9);
  std::string no_z = Rows(kMixed);
  no_z[7] = '0';  // kMixed without its one 'z'
  Read(no_z);
  EXPECT_EQ(Random_Number(), expected);
}

TEST(TemplateReading, ValueGridMeanings) {
  int32_t g[8][8];
  Read_Value_Bytes(Rows(kMixed), g);
  EXPECT_EQ(g[0][0], 0);
  EXPECT_EQ(g[1][0], 'a');
  EXPECT_EQ(g[7][0], 'z');
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(g[x][1], x + 1);
  }
  EXPECT_EQ(g[0][2], 9);
  EXPECT_EQ(g[1][2], 'y');
  // Other characters: their code minus '0'.
  Read_Value_Bytes("#A*" + std::string(61, '0'), g);
  EXPECT_EQ(g[0][0], '#' - '0');
  EXPECT_EQ(g[1][0], 'A' - '0');
  EXPECT_EQ(g[2][0], '*' - '0');
}

TEST(TemplateReading, StreamFormReadsLikeBytes) {
  GlobalsGuard guard;
  std::istringstream in(Rows(kMixed));
  Seed_Random(2);
  MazeBlock from_stream = Open_Block();
  Read_Block_Stream(from_stream, in);
  Seed_Random(2);
  EXPECT_TRUE(Same_Block(from_stream, Read(Rows(kMixed))));
  std::istringstream in2(Rows(kMixed));
  int32_t a[8][8], b[8][8];
  Read_Value_Stream(in2, a);
  Read_Value_Bytes(Rows(kMixed), b);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(a[x][y], b[x][y]);
    }
  // A stream already failed reads as end of input.
  std::istringstream bad("00000000");
  bad.setstate(std::ios::failbit);
  Read_Value_Stream(bad, a);
  EXPECT_EQ(a[0][0], -49);
}

TEST(TemplateReading, FileFormReadsLikeBytes) {
  GlobalsGuard guard;
  const std::string path = Write_Temp_File("t.txt", Rows(kMixed, "\r\n"));
  Seed_Random(4);
  MazeBlock from_file = Open_Block();
  Read_Block_File(from_file, path.c_str());
  Seed_Random(4);
  EXPECT_TRUE(Same_Block(from_file, Read(Rows(kMixed))));
}

TEST(TemplateReading, ReadTouchesOnlyTheSquares) {
  MazeBlock b = Open_Block();
  b.exit_north = 0;
  b.exit_east = 1;
  b.locked = 1;
  b.home = 1;
  b.treasure_p1 = 1;
  b.has_key = 1;
  b.number = 42;
  b.type = 9;
  Read_Block_Bytes(b, "");
  EXPECT_EQ(b.exit_north, 0);
  EXPECT_EQ(b.exit_east, 1);
  EXPECT_EQ(b.locked, 1);
  EXPECT_EQ(b.home, 1);
  EXPECT_EQ(b.treasure_p1, 1);
  EXPECT_EQ(b.has_key, 1);
  EXPECT_EQ(b.number, 42);
  EXPECT_EQ(b.type, 9);
}

TEST(TemplateReading, ExactlySixtyFourCellsAreRead) {
  GlobalsGuard guard;
  // Anything after the 64th cell is ignored, 'z' cells included (no draw).
  Seed_Random(21);
  const int expected = Random_Number();
  Seed_Random(21);
  const MazeBlock b = Read(std::string(64, '0') + "zzzzzzzz\naaaa");
  EXPECT_EQ(Random_Number(), expected);
  Expect_All_Blocked_From(b, 64);
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(b.squares[k % 8][k / 8].blocked, 0);
  }
}

// ---- Load_Template ------------------------------------------------------------------------------

// The table of block types is checked against the shipped files in shipped_data_test.cpp.
TEST(LoadTemplate, ExitsAndDoorsOfEveryTypeComeFromTheTable) {
  for (int t = 0; t < BLOCK_TYPE_COUNT; ++t) {
    const BlockLayout& l = block_layouts[t];
    MazeBlock b = Open_Block();
    b.type = t;
    b.Load_Template();
    EXPECT_EQ(b.exit_north, l.north) << t;
    EXPECT_EQ(b.exit_east, l.east) << t;
    EXPECT_EQ(b.exit_south, l.south) << t;
    EXPECT_EQ(b.exit_west, l.west) << t;
    if (!Has_Door(t)) continue;
    EXPECT_EQ(b.squares[l.post_x][l.post_y].content, l.post) << t;
    EXPECT_EQ(b.squares[l.leaf_x][l.leaf_y].content, l.leaf) << t;
  }
}

TEST(LoadTemplate, FlagsNumberAndTypeAreKept) {
  MazeBlock b = Open_Block();
  b.type = 5;
  b.special_placed = b.locked = b.home = b.treasure_p2 = b.treasure_p1 = b.has_token = b.has_key = 1;
  b.number = 17;
  b.Load_Template();
  EXPECT_EQ(b.type, 5);
  EXPECT_EQ(b.number, 17);
  EXPECT_EQ(b.special_placed + b.locked + b.home + b.treasure_p2 + b.treasure_p1 + b.has_token + b.has_key,
            7);
}

TEST(LoadTemplate, DoorsOverwriteWhateverTheTemplateHad) {
  // With a missing template every square is blocked, yet the exits and doors of the type are set;
  // the door squares keep the template's blocked byte.
  const std::string dir = Write_Temp_File("placeholder", "");
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::path(dir).parent_path());
  MazeBlock b = Open_Block();
  b.type = 12;
  b.Load_Template();
  std::filesystem::current_path(cwd);
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(b.squares[k % 8][k / 8].blocked, 1);
  }
  EXPECT_EQ(b.exit_east, 1);
  EXPECT_EQ(b.exit_north + b.exit_south + b.exit_west, 0);
  EXPECT_EQ(b.squares[6][4].content, DOOR_EW_CLOSED);
  EXPECT_EQ(b.squares[6][3].content, DOOR_EW_POST);
}

// ---- Bad input ------------------------------------------------------------------------------------

TEST(TemplateBadInput, MissingFile) {
  MazeBlock b = Open_Block();
  Read_Block_File(b, "no such template.txt");
  Expect_All_Blocked_From(b, 0);
  Read_Block_File(b, nullptr);
  Expect_All_Blocked_From(b, 0);
  int32_t g[8][8];
  Read_Value_Grid("no such layer.txt", g);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(g[x][y], -49);
    }
}

TEST(TemplateBadInput, EmptyFile) {
  const std::string path = Write_Temp_File("empty.txt", "");
  MazeBlock b = Open_Block();
  Read_Block_File(b, path.c_str());
  Expect_All_Blocked_From(b, 0);
  int32_t g[8][8];
  Read_Value_Grid(path.c_str(), g);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(g[x][y], -49);
    }
}

TEST(TemplateBadInput, SevenLineFileLeavesTheEighthRowBlocked) {
  const std::string seven =
      std::string("00000000\n") + "00000000\n00000000\n00000000\n00000000\n00000000\n00000000\n";
  const std::string path = Write_Temp_File("seven.txt", seven);
  MazeBlock b = Open_Block();
  Read_Block_File(b, path.c_str());
  for (int k = 0; k < 56; ++k) {
    EXPECT_EQ(b.squares[k % 8][k / 8].blocked, 0) << k;
  }
  Expect_All_Blocked_From(b, 56);
  // In the value grid the first cell after the trailing newline keeps the newline as its character,
  // the rest are the end-of-input value.
  int32_t g[8][8];
  Read_Value_Grid(path.c_str(), g);
  EXPECT_EQ(g[0][6], 0);
  EXPECT_EQ(g[0][7], '\n' - '0');
  for (int x = 1; x < 8; ++x) {
    EXPECT_EQ(g[x][7], -49) << x;
  }
  // Without the trailing newline: all eight cells are end of input.
  Read_Value_Bytes(seven.substr(0, seven.size() - 1), g);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(g[x][7], -49) << x;
  }
}

TEST(TemplateBadInput, BinaryJunk) {
  GlobalsGuard guard;
  std::string junk;
  uint32_t h = 2166136261u;
  for (int i = 0; i < 4096; ++i) {
    h = (h ^ static_cast<uint32_t>(i)) * 16777619u;
    junk += static_cast<char>(h >> 24);
  }
  junk += std::string("\0\xff\r\n,,\r\r\n", 9);
  const std::string path = Write_Temp_File("junk.txt", junk);
  MazeBlock b = Open_Block();
  Read_Block_File(b, path.c_str());
  for (int k = 0; k < 64; ++k) {
    const Square& s = b.squares[k % 8][k / 8];
    EXPECT_TRUE(s.blocked == 0 || s.blocked == 1);
    EXPECT_TRUE(s.content == 0 || (s.content >= 6 && s.content <= 14));
  }
  int32_t g[8][8];
  Read_Value_Grid(path.c_str(), g);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      EXPECT_TRUE(g[x][y] >= -49 && g[x][y] <= 255 - '0') << g[x][y];
    }
  // Every prefix of the junk, fed from memory, reads without a fault (the sanitizer build checks).
  for (std::size_t n = 0; n < 300; ++n) {
    Read_Block_Bytes(b, std::string_view(junk).substr(0, n));
    Read_Value_Bytes(std::string_view(junk).substr(0, n), g);
  }
}

TEST(TemplateBadInput, VeryLongLines) {
  // One line of 100000 floor cells and a second of walls: the 64 cells are simply the first 64
  // characters; the rest is ignored.
  const std::string text = std::string(100000, '0') + "\n" + std::string(100000, '1') + "\n";
  const std::string path = Write_Temp_File("long.txt", text);
  MazeBlock b = Open_Block();
  for (auto& col : b.squares)
    for (Square& s : col) s.blocked = 1;
  Read_Block_File(b, path.c_str());
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(b.squares[k % 8][k / 8].blocked, 0) << k;
  }
  // Long lines of separators collapse into nothing: the cells come after them.
  std::string spaced(50001, '\n');
  spaced.append(64, 'a');
  MazeBlock c = Open_Block();
  Read_Block_Bytes(c, spaced);
  Expect_All_Blocked_From(c, 0);
  int32_t g[8][8];
  Read_Value_Bytes(spaced, g);
  EXPECT_EQ(g[0][0], 'a');
  EXPECT_EQ(g[7][7], 'a');
}

namespace {

std::vector<std::string> reports;
void Collect(const char* message) { reports.push_back(message); }

// Writes a file into the working folder for the reports test, and removes it afterwards.
struct ScratchFile {
  std::string name;
  ScratchFile(std::string n, const std::string& text) : name(std::move(n)) {
    std::ofstream(name, std::ios::binary) << text;
  }
  ~ScratchFile() { std::remove(name.c_str()); }
};

TEST(TemplateReports, NamesMissingShortAndJunkFilesOnceEach) {
  reports.clear();
  template_report = Collect;
  const std::string good =
      "1111,1111\n"
      "10000001\n"
      "10000001\n"
      "10000001\n"
      "10000001\n"
      "10000001\n"
      "10000001\n"
      "11111111\n";
  ScratchFile ok("report_ok.txt", good);
  ScratchFile shortf("report_short.txt", "11111111\n10000001\n");
  ScratchFile junk("report_junk.txt", std::string("1111\x01\xff"
                                                  "11\n") +
                                          good);
  MazeBlock b;
  int32_t grid[8][8];
  Read_Block_File(b, "report_ok.txt");
  Read_Value_Grid("report_ok.txt", grid);
  EXPECT_TRUE(reports.empty()) << reports.front();
  for (int i = 0; i < 3; ++i) {  // the detail view reads every frame: one report per file name
    Read_Value_Grid("report_missing.txt", grid);
    Read_Block_File(b, "report_short.txt");
    Read_Value_Grid("report_junk.txt", grid);
  }
  template_report = nullptr;
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_NE(reports[0].find("\"report_missing.txt\""), std::string::npos) << reports[0];
  EXPECT_NE(reports[1].find("\"report_short.txt\" ends after"), std::string::npos) << reports[1];
  EXPECT_NE(reports[2].find("\"report_junk.txt\" holds character 1 at cell 4"), std::string::npos)
      << reports[2];
  // Reporting changes nothing that is read.
  EXPECT_EQ(grid[4][0], 1 - '0');
  EXPECT_EQ(b.squares[0][2].blocked, 1);
}

}  // namespace

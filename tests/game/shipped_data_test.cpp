// The shipped templates (data/templates, copied flat into the run folder): their format, the
// outer ring with its openings, the open centre squares, reachability by the stepping rules
// with every 'z' spot counted as blocked, the dead ends' doors, the exact quarter turns of each
// family, and wall digits that mean what game/wall_pieces.h says.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/wall_pieces.h"
#include "tests/game/support.h"

using namespace orvalis_test;

namespace {

struct Grid {
  char c[8][8];  // [x][y]
};

Grid Load_Grid(const std::string& name) {
  const std::string text = Read_Text(name);
  Grid g{};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const std::size_t i = static_cast<std::size_t>(y * 9 + x);
      g.c[x][y] = i < text.size() ? text[i] : '\0';
    }
  return g;
}

std::vector<std::string> All_Files() {
  std::vector<std::string> names;
  for (int t = 0; t < 15; ++t) {
    names.push_back(std::to_string(t) + ".txt");
    names.push_back(std::to_string(t) + "b.txt");
  }
  names.push_back("10c.txt");
  return names;
}

bool Is_Wall_Piece(char c) { return c >= '1' && c <= '9'; }
bool Is_Solid_Masonry(char c) { return c >= '1' && c <= '7'; }

// The opening squares of a type: two on each edge with an exit.
std::vector<std::pair<int, int>> Openings(int type) {
  std::vector<std::pair<int, int>> v;
  const BlockLayout& l = block_layouts[type];
  if (l.north) v.insert(v.end(), {{3, 0}, {4, 0}});
  if (l.east) v.insert(v.end(), {{7, 3}, {7, 4}});
  if (l.south) v.insert(v.end(), {{3, 7}, {4, 7}});
  if (l.west) v.insert(v.end(), {{0, 3}, {0, 4}});
  return v;
}

bool Is_Opening(int type, int x, int y) {
  for (auto [ox, oy] : Openings(type))
    if (ox == x && oy == y) return true;
  return false;
}

MazeBlock Loaded(int type) {
  MazeBlock b = Open_Block();
  b.type = type;
  b.Load_Template();
  return b;
}

// The squares a player reaches from (x, y) inside the block, stepping by the rules: a square passes
// when open (and not a 'z' spot), or when it holds a door of the step's axis (a closed one opens
// first). `leaf_shut` treats the door leaf as a wall.
struct InBlock {
  bool r[8][8] = {};
};
InBlock Reachable_In_Block(const MazeBlock& b, const Grid& chars, int x0, int y0, bool leaf_shut = false) {
  static const int dx[4] = {0, 1, -1, 0}, dy[4] = {-1, 0, 0, 1};
  InBlock out;
  std::vector<std::pair<int, int>> todo{{x0, y0}};
  out.r[x0][y0] = true;
  while (!todo.empty()) {
    auto [x, y] = todo.back();
    todo.pop_back();
    for (int d = 0; d < 4; ++d) {
      const int tx = x + dx[d], ty = y + dy[d];
      if (tx < 0 || tx > 7 || ty < 0 || ty > 7 || out.r[tx][ty]) continue;
      const Square& t = b.squares[tx][ty];
      const bool vertical = d == 0 || d == 3;
      const bool axis_door = vertical ? (t.content == DOOR_NS_OPEN || t.content == DOOR_NS_CLOSED)
                                      : (t.content == DOOR_EW_OPEN || t.content == DOOR_EW_CLOSED);
      bool pass = (t.blocked == 0 && t.content < 100 && chars.c[tx][ty] != 'z') || axis_door;
      if (leaf_shut && (t.content == DOOR_NS_CLOSED || t.content == DOOR_EW_CLOSED)) pass = false;
      if (!pass) continue;
      out.r[tx][ty] = true;
      todo.push_back({tx, ty});
    }
  }
  return out;
}

}  // namespace

TEST(ShippedTemplates, AllThirtyOneFilesAreEightLinesOfEightCells) {
  for (const std::string& name : All_Files()) {
    const std::string text = Read_Text(name);
    ASSERT_EQ(text.size(), 72u) << name << " is missing or not 8 lines of 8 cells";
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(text[static_cast<std::size_t>(y * 9 + 8)], '\n') << name << " line " << y;
      for (int x = 0; x < 8; ++x) {
        const char c = text[static_cast<std::size_t>(y * 9 + x)];
        EXPECT_TRUE(c != '\n' && c != '\r' && c != ',' && c != ' ') << name << " (" << x << "," << y << ")";
      }
    }
  }
}

TEST(ShippedTemplates, CharactersOfEachKindOfFile) {
  for (int t = 0; t < 15; ++t) {
    const Grid tpl = Load_Grid(std::to_string(t) + ".txt");
    const Grid floor = Load_Grid(std::to_string(t) + "b.txt");
    int objects = 0, spots = 0;
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        const char c = tpl.c[x][y];
        EXPECT_TRUE(c == '0' || Is_Wall_Piece(c) || c == 'a' || c == 'z') << t << ": '" << c << "'";
        objects += c == 'a';
        spots += c == 'z';
        EXPECT_TRUE(floor.c[x][y] >= 'a' && floor.c[x][y] <= 'd') << t << "b: '" << floor.c[x][y] << "'";
      }
    // Some life in every block: solid objects and random-object spots.
    EXPECT_GE(objects, 1) << t;
    EXPECT_GE(spots, 1) << t;
  }
  const Grid decor = Load_Grid("10c.txt");
  int decorations = 0;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      const char c = decor.c[x][y];
      EXPECT_TRUE(c == '0' || (c >= 'a' && c <= 'm')) << "10c: '" << c << "'";
      decorations += c >= 'a' && c <= 'm';
    }
  EXPECT_GE(decorations, 4);
}

TEST(ShippedTemplates, FloorFilesHaveAPattern) {
  // Mostly the plain tile, with paved lanes and accents: at least three tiles in every floor.
  for (int t = 0; t < 15; ++t) {
    const Grid floor = Load_Grid(std::to_string(t) + "b.txt");
    int count[4] = {};
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) ++count[floor.c[x][y] - 'a'];
    EXPECT_GT(count[0], 32) << t;
    EXPECT_GE((count[1] > 0) + (count[2] > 0) + (count[3] > 0), 2) << t;
  }
}

TEST(ShippedTemplates, OuterRingIsWallExceptTheOpeningsOfTheExits) {
  for (int t = 0; t < 15; ++t) {
    const Grid g = Load_Grid(std::to_string(t) + ".txt");
    const MazeBlock b = Loaded(t);
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        if (x != 0 && x != 7 && y != 0 && y != 7) continue;
        if (Is_Opening(t, x, y)) {
          EXPECT_EQ(g.c[x][y], '0') << "type " << t << " opening (" << x << "," << y << ")";
          EXPECT_EQ(b.squares[x][y].blocked, 0);
          EXPECT_EQ(b.squares[x][y].content, 0);
        } else {
          EXPECT_TRUE(Is_Wall_Piece(g.c[x][y])) << "type " << t << " ring (" << x << "," << y << ")";
          EXPECT_EQ(b.squares[x][y].blocked, 1);
        }
      }
  }
}

TEST(ShippedTemplates, CentreSquaresAreOpenFloor) {
  // (3,3) treasure, (3,4) home mark, (4,4) start, token and key; (4,3) is where (4,4) turns to.
  for (int t = 0; t < 15; ++t) {
    const Grid g = Load_Grid(std::to_string(t) + ".txt");
    for (auto [x, y] : {std::pair{3, 3}, {3, 4}, {4, 4}, {4, 3}}) {
      EXPECT_EQ(g.c[x][y], '0') << t << " " << x << y;
    }
  }
}

TEST(ShippedTemplates, EveryExitReachesTheCentreAndEveryOtherExit) {
  for (int t = 0; t < 15; ++t) {
    const Grid g = Load_Grid(std::to_string(t) + ".txt");
    MazeBlock b = Loaded(t);
    b.locked = 1;  // reachability ignores keys: a locked door opens with one
    for (auto [ox, oy] : Openings(t)) {
      const InBlock r = Reachable_In_Block(b, g, ox, oy);
      for (auto [x, y] : {std::pair{3, 3}, {3, 4}, {4, 4}})
        EXPECT_TRUE(r.r[x][y]) << "type " << t << ": (" << ox << "," << oy << ") does not reach (" << x << ","
                               << y << ")";
      for (auto [px, py] : Openings(t))
        EXPECT_TRUE(r.r[px][py]) << "type " << t << ": (" << ox << "," << oy << ") does not reach (" << px
                                 << "," << py << ")";
    }
    // And back out: from the start square every exit is reached.
    const InBlock from_centre = Reachable_In_Block(b, g, 4, 4);
    for (auto [px, py] : Openings(t)) {
      EXPECT_TRUE(from_centre.r[px][py]) << t;
    }
  }
}

TEST(ShippedTemplates, DeadEndsAreEnteredOnlyThroughTheDoorLeaf) {
  struct Door {
    int type, post_x, post_y, leaf_x, leaf_y, outside_x, outside_y;
  };
  // The leaf lies one square inside the exit; the square beyond it is an opening square.
  const Door doors[4] = {
      {11, 3, 6, 4, 6, 4, 7}, {12, 6, 3, 6, 4, 7, 4}, {13, 3, 1, 4, 1, 4, 0}, {14, 1, 3, 1, 4, 0, 4}};
  for (const Door& d : doors) {
    const Grid g = Load_Grid(std::to_string(d.type) + ".txt");
    const MazeBlock b = Loaded(d.type);
    EXPECT_TRUE(Is_Opening(d.type, d.outside_x, d.outside_y));
    EXPECT_EQ(g.c[d.post_x][d.post_y], '0') << "door squares are drawn on floor";
    EXPECT_EQ(g.c[d.leaf_x][d.leaf_y], '0');
    // The post never opens.
    const int32_t post = b.squares[d.post_x][d.post_y].content;
    EXPECT_TRUE(post == DOOR_NS_POST || post == DOOR_EW_POST) << d.type;
    for (auto [ox, oy] : Openings(d.type)) {
      const InBlock shut = Reachable_In_Block(b, g, ox, oy, /*leaf_shut=*/true);
      EXPECT_FALSE(shut.r[4][4]) << "type " << d.type << " can be entered around its door";
      EXPECT_FALSE(shut.r[3][3]) << d.type;
      EXPECT_FALSE(shut.r[d.post_x][d.post_y]) << d.type;
    }
  }
}

TEST(ShippedTemplates, FamiliesAreExactQuarterTurns) {
  for (int t = 0; t < 15; ++t) {
    const int u = Turned_Type(t);
    if (u < 0) continue;
    const Grid a = Load_Grid(std::to_string(t) + ".txt"), b = Load_Grid(std::to_string(u) + ".txt");
    const Grid fa = Load_Grid(std::to_string(t) + "b.txt"), fb = Load_Grid(std::to_string(u) + "b.txt");
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(b.c[y][7 - x], Rotated_Wall_Digit(a.c[x][y]))
            << "type " << t << " (" << x << "," << y << ") turned is not type " << u << " (" << y << ","
            << 7 - x << ")";
        EXPECT_EQ(fb.c[y][7 - x], fa.c[x][y]) << "floor of " << t << " turned is not the floor of " << u;
      }
  }
}

TEST(ShippedTemplates, TurnedPatternsMatchInTheModel) {
  // Blocked onto blocked, open onto open, 'z' onto 'z', as the model loads them.
  for (int t = 0; t < 15; ++t) {
    const int u = Turned_Type(t);
    if (u < 0) continue;
    const Grid ga = Load_Grid(std::to_string(t) + ".txt"), gb = Load_Grid(std::to_string(u) + ".txt");
    const MazeBlock a = Loaded(t), b = Loaded(u);
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(ga.c[x][y] == 'z', gb.c[y][7 - x] == 'z') << t;
        if (ga.c[x][y] == 'z') continue;
        EXPECT_EQ(a.squares[x][y].blocked, b.squares[y][7 - x].blocked) << t << " (" << x << "," << y << ")";
      }
  }
}

TEST(ShippedTemplates, WallDigitsMeanWhatTheWallPiecesSay) {
  for (int t = 0; t < 15; ++t) {
    const Grid g = Load_Grid(std::to_string(t) + ".txt");
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) {
        const char c = g.c[x][y];
        const WallFace f = Lit_Face(c);
        if (f.dx != 0 || f.dy != 0) {
          // A lit face looks onto floor inside the block.
          const int fx = x + f.dx, fy = y + f.dy;
          ASSERT_TRUE(fx >= 0 && fx < 8 && fy >= 0 && fy < 8)
              << "type " << t << " (" << x << "," << y << ") faces out";
          EXPECT_FALSE(Is_Solid_Masonry(g.c[fx][fy]))
              << "type " << t << " (" << x << "," << y << ") faces a wall";
        } else if (c == '1' || c == '6' || c == '7') {
          // Faceless masonry only inside thick walls: no floor beside it.
          const int dx[4] = {0, 1, -1, 0}, dy[4] = {-1, 0, 0, 1};
          for (int d = 0; d < 4; ++d) {
            const int nx = x + dx[d], ny = y + dy[d];
            if (nx < 0 || nx > 7 || ny < 0 || ny > 7) continue;
            EXPECT_TRUE(Is_Solid_Masonry(g.c[nx][ny]))
                << "type " << t << " (" << x << "," << y << ") borders floor";
          }
        }
      }
  }
  // A lit face turns with its block.
  for (char c : {'2', '3', '4', '5'}) {
    // (x, y) -> (y, 7 - x) turns a step (dx, dy) into (dy, -dx).
    const WallFace f = Lit_Face(c), r = Lit_Face(Rotated_Wall_Digit(c));
    EXPECT_EQ(r.dx, f.dy);
    EXPECT_EQ(r.dy, -f.dx);
  }
}

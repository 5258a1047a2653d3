// A saved game checked as a whole against what the rules can reach: values each in range are not
// enough (a block numbered twice, a player inside a wall, a treasure that no longer exists, a winner
// in a game still being played all pass that test one field at a time).
#include <string>

#include "save/saved_game.h"

namespace {

std::string Player_Name(int which) { return which == 1 ? "player 1" : "player 2"; }

// The square a player stands on: a wall is blocked with nothing on it. A random object that blocks
// its square may stand where a player is (a block turned while the player stood on its square draws
// the object afresh), and so may a door (it closes when its block turns).
bool Stands_In_Wall(const SavedGame& g, const SavedPlayer& p) {
  const SavedBlock& block = g.board[p.block_x][p.block_y];
  return block.blocked[p.square_x][p.square_y] == 1 && block.content[p.square_x][p.square_y] == CONTENT_EMPTY;
}

bool Stands_Home_With_All(const SavedGame& g, const SavedPlayer& p) {
  return p.treasures == MAX_TREASURES &&
         g.board[p.block_x][p.block_y].content[p.square_x][p.square_y] == HOME_MARK;
}

std::string Place(const SavedPlayer& p) {
  return "board[" + std::to_string(p.block_x) + "][" + std::to_string(p.block_y) + "], square (" +
         std::to_string(p.square_x) + ", " + std::to_string(p.square_y) + ")";
}

}  // namespace

bool Check_Saved_Game_Rules(const SavedGame& g, std::string* error) {
  auto fail = [&](const std::string& what) {
    *error = what;
    return false;
  };
  bool seen[65] = {};
  int treasures[2] = {}, tokens = 0, keys = 0;  // treasures of player 1, player 2 on the board
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      const SavedBlock& b = g.board[x][y];
      const std::string name = "board[" + std::to_string(x) + "][" + std::to_string(y) + "]";
      if (b.number < 1 || b.number > 64) return fail(name + ".number is " + std::to_string(b.number));
      // Shifts move blocks but never copy one: the board holds each number once.
      if (seen[b.number])
        return fail(name + ".number " + std::to_string(b.number) + " is on the board twice");
      seen[b.number] = true;
      treasures[0] += b.treasure_p1;
      treasures[1] += b.treasure_p2;
      tokens += b.has_token;
      keys += b.has_key;
    }
  const SavedPlayer* players[2] = {&g.player1, &g.player2};
  for (int i = 0; i < 2; ++i) {
    const SavedPlayer& p = *players[i];
    const std::string who = Player_Name(i + 1);
    if (p.block_x < 0 || p.block_x > 7 || p.block_y < 0 || p.block_y > 7 || p.square_x < 0 ||
        p.square_x > 7 || p.square_y < 0 || p.square_y > 7)
      return fail(who + " stands off the board");
    if (Stands_In_Wall(g, p)) return fail(who + " stands inside a wall (" + Place(p) + ")");
    // The game deals five treasures a player: none more, and without all five no one can win.
    if (treasures[i] > MAX_TREASURES)
      return fail("the board holds " + std::to_string(treasures[i]) + " treasures of " + who +
                  " (the game deals five)");
    if (treasures[i] + p.treasures < MAX_TREASURES)
      return fail(who + " can never win: " + std::to_string(p.treasures) + " treasures carried and " +
                  std::to_string(treasures[i]) + " on the board, of the five needed");
    if (p.winner == 1 && !Stands_Home_With_All(g, p))
      return fail(who + " is marked the winner but has not won (" + Place(p) + ")");
  }
  if (g.player1.winner == 1 && g.player2.winner == 1) return fail("both players are marked the winner");
  const int32_t dealt = Items_For_Density(g.item_density);
  if (tokens > dealt)
    return fail("the board holds " + std::to_string(tokens) + " action tokens; this game dealt " +
                std::to_string(dealt));
  if (keys > dealt)
    return fail("the board holds " + std::to_string(keys) + " keys; this game dealt " +
                std::to_string(dealt));
  return true;
}

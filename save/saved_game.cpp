#include "save/saved_game.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "game/fields.h"
#include "game/random.h"
#include "opponent/opponent.h"
#include "platform/platform.h"

using nlohmann::json;

namespace {

constexpr const char* FORMAT_NAME = "orvalis saved game";

json Grid_Json(const SavedBlock& b, bool blocked) {
  json cols = json::array();
  for (int x = 0; x < 8; ++x) {
    json col = json::array();
    for (int y = 0; y < 8; ++y) col.push_back(blocked ? json(b.blocked[x][y]) : json(b.content[x][y]));
    cols.push_back(col);
  }
  return cols;
}

// ---- Reading: each value found, typed and in range, or the first thing wrong, by its place ----

struct Reader {
  std::string error;  // the first problem found; once set, the rest is not looked at

  bool Fail(const std::string& what) {
    if (error.empty()) error = what;
    return false;
  }

  static std::string Name(const std::string& where, const char* key) {
    return where.empty() ? key : where + "." + key;
  }

  // Names are made only for what is wrong: a save holds thousands of values.
  const json* Member(const json& object, const char* key, const std::string& where) {
    if (!object.is_object()) return Fail((where.empty() ? "the file" : where) + " is not an object"), nullptr;
    const auto it = object.find(key);
    if (it == object.end()) return Fail(Name(where, key) + " is missing"), nullptr;
    return &*it;
  }

  bool Number(const json& value, const std::string& name, int64_t lo, int64_t hi, int64_t* out) {
    if (value.is_number_unsigned()) {
      // Every value at or above zero comes as unsigned: both ends of the range apply to it.
      const uint64_t u = value.get<uint64_t>();
      if (u > static_cast<uint64_t>(hi) || (lo > 0 && u < static_cast<uint64_t>(lo)))
        return Fail(name + " is " + std::to_string(u) + Range(lo, hi));
      *out = static_cast<int64_t>(u);
      return true;
    }
    if (!value.is_number_integer()) return Fail(name + " is not a whole number");
    const int64_t v = value.get<int64_t>();
    if (v < lo || v > hi) return Fail(name + " is " + std::to_string(v) + Range(lo, hi));
    *out = v;
    return true;
  }

  static std::string Range(int64_t lo, int64_t hi) {
    return " (it must be " + (lo + 1 == hi ? std::to_string(lo) + " or " : std::to_string(lo) + " to ") +
           std::to_string(hi) + ")";
  }

  template <typename T>
  bool Field(const json& object, const char* key, const std::string& where, int64_t lo, int64_t hi, T* out) {
    const json* v = Member(object, key, where);
    if (!v) return false;
    if (v->is_number_integer()) {
      const int64_t n = v->get<int64_t>();
      // A value past the largest signed number reads as negative here, and is named below.
      if (n >= lo && n <= hi && (n >= 0 || !v->is_number_unsigned())) {
        *out = static_cast<T>(n);
        return true;
      }
    }
    int64_t n = 0;
    if (!Number(*v, Name(where, key), lo, hi, &n)) return false;
    *out = static_cast<T>(n);
    return true;
  }

  // An array of exactly `count` elements.
  const json* Array(const json& value, const std::string& name, size_t count) {
    if (!value.is_array()) return Fail(name + " is not a list"), nullptr;
    if (value.size() != count)
      return Fail(name + " has " + std::to_string(value.size()) + " entries (it must have " +
                  std::to_string(count) + ")"),
             nullptr;
    return &value;
  }

  template <typename T>
  bool Grid(const json& object, const char* key, const std::string& where, bool (*valid)(int64_t), int64_t lo,
            int64_t hi, T grid[8][8]) {
    const json* v = Member(object, key, where);
    if (!v) return false;
    const std::string name = where + "." + key;
    if (!Array(*v, name, 8)) return false;
    for (int x = 0; x < 8; ++x) {
      const json& column = (*v)[x];
      if (!column.is_array() || column.size() != 8)
        return Array(column, name + "[" + std::to_string(x) + "]", 8) != nullptr;
      for (int y = 0; y < 8; ++y) {
        const json& value = column[y];
        // The cell's name is made only when something is wrong with it: a save has 8192 cells.
        if (value.is_number_integer()) {
          const int64_t n = value.get<int64_t>();
          if (n >= lo && n <= hi && valid(n)) {
            grid[x][y] = static_cast<T>(n);
            continue;
          }
        }
        const std::string cell = name + "[" + std::to_string(x) + "][" + std::to_string(y) + "]";
        int64_t n = 0;
        if (!Number(value, cell, lo, hi, &n)) return false;
        return Fail(cell + " is " + std::to_string(n) + ", which no square holds");
      }
    }
    return true;
  }

  static bool Any(int64_t) { return true; }

  bool Block(const json& value, const std::string& name, SavedBlock* b) {
    if (!value.is_object()) return Fail(name + " is not an object");
    bool ok = true;
    Visit_Block_Numbers(*b, *b, [&](const char* key, int32_t& field, int32_t&, FieldRange r) {
      ok = ok && Field(value, key, name, r.low, r.high, &field);
    });
    Visit_Block_Flags(*b, *b, [&](const char* key, uint8_t& field, uint8_t&) {
      ok = ok && Field(value, key, name, 0, 1, &field);
    });
    return ok && Grid(value, "blocked", name, Any, 0, 1, b->blocked) &&
           Grid(value, "content", name, Is_Content_Code, 0, DOOR_NS_CLOSED, b->content);
  }

  bool Player(const json& players, const char* key, SavedPlayer* p) {
    const std::string name = std::string("players.") + key;
    const json* v = Member(players, key, "players");
    if (!v || !Field(*v, "facing", name, 0, 3, &p->facing)) return false;
    bool ok = true;
    Visit_Player_Flags(*p, *p, [&](const char* field_name, uint8_t& field, uint8_t&) {
      ok = ok && Field(*v, field_name, name, 0, 1, &field);
    });
    Visit_Player_Numbers(*p, *p, [&](const char* field_name, int32_t& field, int32_t&, FieldRange r) {
      ok = ok && Field(*v, field_name, name, r.low, r.high, &field);
    });
    return ok;
  }

  bool Game(const json& root, SavedGame* g) {
    const json* format = Member(root, "format", "");
    if (!format) return false;
    if (!format->is_string() || format->get<std::string>() != FORMAT_NAME)
      return Fail("it is not an Orvalis saved game (its \"format\" is not \"" + std::string(FORMAT_NAME) +
                  "\")");
    const json* version = Member(root, "version", "");
    if (!version) return false;
    if (!version->is_number_integer() || version->get<int64_t>() != SAVED_GAME_VERSION)
      return Fail("it is of format version " + version->dump() + "; this game reads version " +
                  std::to_string(SAVED_GAME_VERSION));
    const json* level_value = Member(root, "computer_level", "");
    if (!level_value) return false;
    g->computer_level = level_value->is_string() ? Level_Of_Name(level_value->get<std::string>()) : -1;
    if (g->computer_level < 0)
      return Fail("computer_level is " + level_value->dump() + " (it must be easy, normal or hard)");
    const json* players = Member(root, "players", "");
    const json* random = Member(root, "random", "");
    if (!players || !random || !Field(root, "current_player", "", 0, 1, &g->current_player) ||
        !Field(root, "item_density", "", 0, 2, &g->item_density) ||
        !Field(root, "computer_player", "", 0, 3, &g->computer_player) ||
        !Field(*random, "seed", "random", 0, UINT32_MAX, &g->random_seed) ||
        !Field(*random, "draws", "random", 0, static_cast<int64_t>(SAVED_GAME_MAX_DRAWS), &g->random_draws) ||
        !Player(*players, "1", &g->player1) || !Player(*players, "2", &g->player2))
      return false;
    const json* board = Member(root, "board", "");
    if (!board || !Array(*board, "board", 8)) return false;
    for (int x = 0; x < 8; ++x) {
      const std::string column = "board[" + std::to_string(x) + "]";
      if (!Array((*board)[x], column, 8)) return false;
      for (int y = 0; y < 8; ++y)
        if (!Block((*board)[x][y], column + "[" + std::to_string(y) + "]", &g->board[x][y])) return false;
    }
    const json* current = Member(root, "current_block", "");
    return current && Block(*current, "current_block", &g->current_block);
  }
};

// Where a JSON text stops making sense, in the parser's words.
struct Syntax_Error : nlohmann::json_sax<json> {
  std::string message;
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return true; }
  bool key(string_t&) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    message = e.what();
    const size_t cut = message.find("] ");
    if (cut != std::string::npos) message.erase(0, cut + 2);
    return false;
  }
};

// Deeper than any save goes: such a text is refused before it is built.
constexpr int MAX_DEPTH = 8;

}  // namespace

SavedBlock Saved_Block(const MazeBlock& block) {
  SavedBlock s;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      s.blocked[x][y] = block.squares[x][y].blocked;
      s.content[x][y] = block.squares[x][y].content;
    }
  Visit_Block_Numbers(s, block, [](const char*, int32_t& to, int32_t from, FieldRange) { to = from; });
  Visit_Block_Flags(s, block, [](const char*, uint8_t& to, uint8_t from) { to = from; });
  return s;
}

void Restore_Block(const SavedBlock& s, MazeBlock* block) {
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      block->squares[x][y].blocked = s.blocked[x][y];
      block->squares[x][y].content = s.content[x][y];
    }
  Visit_Block_Numbers(*block, s, [](const char*, int32_t& to, int32_t from, FieldRange) { to = from; });
  Visit_Block_Flags(*block, s, [](const char*, uint8_t& to, uint8_t from) { to = from; });
}

SavedPlayer Saved_Player(const PlayerState& p) {
  SavedPlayer s;
  Visit_Player_Flags(s, p, [](const char*, uint8_t& to, uint8_t from) { to = from; });
  Visit_Player_Numbers(s, p, [](const char*, int32_t& to, int32_t from, FieldRange) { to = from; });
  s.facing = p.sprite.current_frame;
  return s;
}

void Restore_Player(const SavedPlayer& s, PlayerState* p) {
  Visit_Player_Flags(*p, s, [](const char*, uint8_t& to, uint8_t from) { to = from; });
  Visit_Player_Numbers(*p, s, [](const char*, int32_t& to, int32_t from, FieldRange) { to = from; });
  p->sprite.current_frame = s.facing;
}

SavedGame Capture_Game() {
  SavedGame g;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) g.board[x][y] = Saved_Block(board.blocks[x][y]);
  g.player1 = Saved_Player(player1);
  g.player2 = Saved_Player(player2);
  g.current_block = Saved_Block(current_block);
  g.current_player = current_player;
  g.item_density = item_density;
  g.random_seed = Random_Seed();
  g.random_draws = Random_Draws();
  return g;
}

void Restore_Game(const SavedGame& g) {
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) Restore_Block(g.board[x][y], &board.blocks[x][y]);
  Restore_Player(g.player1, &player1);
  Restore_Player(g.player2, &player2);
  Restore_Block(g.current_block, &current_block);
  current_player = g.current_player;
  item_density = g.item_density;
  Restore_Random(g.random_seed, g.random_draws);
}

json Saved_Block_Json(const SavedBlock& b) {
  json j{{"blocked", Grid_Json(b, true)}, {"content", Grid_Json(b, false)}};
  Visit_Block_Numbers(b, b, [&](const char* name, int32_t v, int32_t, FieldRange) { j[name] = v; });
  Visit_Block_Flags(b, b, [&](const char* name, uint8_t v, uint8_t) { j[name] = v; });
  return j;
}

json Saved_Player_Json(const SavedPlayer& p) {
  json j{{"facing", p.facing}};
  Visit_Player_Flags(p, p, [&](const char* name, uint8_t v, uint8_t) { j[name] = v; });
  Visit_Player_Numbers(p, p, [&](const char* name, int32_t v, int32_t, FieldRange) { j[name] = v; });
  return j;
}

json Saved_Board_Json(const SavedGame& g) {
  json board_json = json::array();
  for (int x = 0; x < 8; ++x) {
    json col = json::array();
    for (int y = 0; y < 8; ++y) col.push_back(Saved_Block_Json(g.board[x][y]));
    board_json.push_back(col);
  }
  return board_json;
}

std::string Saved_Game_Text(const SavedGame& g) {
  const int level = g.computer_level >= 0 && g.computer_level <= 2 ? g.computer_level : 1;
  // Kept in this order (the format and version first) for anyone who opens the file.
  const nlohmann::ordered_json root{
      {"format", FORMAT_NAME},
      {"version", SAVED_GAME_VERSION},
      {"current_player", g.current_player},
      {"item_density", g.item_density},
      {"computer_player", g.computer_player},
      {"computer_level", LEVEL_NAMES[level]},
      {"random", {{"seed", g.random_seed}, {"draws", g.random_draws}}},
      {"players", nlohmann::ordered_json(
                      json{{"1", Saved_Player_Json(g.player1)}, {"2", Saved_Player_Json(g.player2)}})},
      {"board", nlohmann::ordered_json(Saved_Board_Json(g))},
      {"current_block", nlohmann::ordered_json(Saved_Block_Json(g.current_block))}};
  return root.dump(1) + "\n";
}

int Parse_Saved_Game(std::string_view bytes, SavedGame* out, std::string* error) {
  if (bytes.empty()) {
    *error = "it is empty";
    return 0;
  }
  if (bytes.size() > SAVED_GAME_MAX_BYTES) {
    *error = "it is " + std::to_string(bytes.size()) + " bytes long, far more than a saved game";
    return 0;
  }
  bool too_deep = false;
  const json::parser_callback_t depth_check = [&too_deep](int depth, json::parse_event_t, json&) {
    if (depth > MAX_DEPTH) too_deep = true;
    return !too_deep;  // past the limit nothing more is kept
  };
  const json root = json::parse(bytes.begin(), bytes.end(), depth_check, false);
  if (too_deep) {
    *error = "it nests deeper than a saved game does";
    return 0;
  }
  if (root.is_discarded()) {
    Syntax_Error syntax;
    json::sax_parse(bytes.begin(), bytes.end(), &syntax);
    *error = "it is not whole JSON (" +
             (syntax.message.empty() ? std::string("parse error") : syntax.message) + ")";
    return 0;
  }
  return Read_Saved_Game_Json(root, out, error);
}

int Read_Saved_Game_Json(const json& root, SavedGame* out, std::string* error) {
  SavedGame g;
  Reader reader;
  if (!reader.Game(root, &g)) {
    *error = reader.error;
    return 0;
  }
  if (!Check_Saved_Game_Rules(g, error)) return 0;
  *out = g;
  return 1;
}

int Write_Saved_Game(const std::string& path, const SavedGame& saved, std::string* error) {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) {
    *error = "cannot create the folder " + folder.string() + ": " + ec.message();
    return 0;
  }
  return Platform_Write_File_Atomic(path, Saved_Game_Text(saved), error);
}

int Read_Saved_Game(const std::string& path, SavedGame* out, std::string* error) {
  std::string bytes;
  if (Platform_Read_Regular_File(path, SAVED_GAME_MAX_BYTES, &bytes, error) != PLATFORM_READ_OK) return 0;
  return Parse_Saved_Game(bytes, out, error);
}

// Looks at a folder of saved games after the game was killed or run twice at once: how many games
// read whole, how many do not, how many temporary files are there, and for each state dump given,
// whether one game holds its players and board (a game as it stood when its run ended).
// Usage: orvalis_saves_check FOLDER [STATE.json...]   (exits 1 when a game is damaged or a state missing)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "save/saved_game.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

json Read_Json(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return json::parse(text.str(), nullptr, false);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: orvalis_saves_check FOLDER [STATE.json...]\n");
    return 64;
  }
  int whole = 0, damaged = 0, temporaries = 0, set_aside = 0;
  std::vector<json> games;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(argv[1], ec)) {
    const std::string name = e.path().filename().string();
    if (name.find(".tmp-") != std::string::npos) {
      ++temporaries;
      continue;
    }
    if (name.find("unreadable") != std::string::npos) {
      ++set_aside;
      continue;
    }
    if (e.path().extension() != ".json") continue;
    SavedGame game;
    std::string why;
    if (Read_Saved_Game(e.path().string(), &game, &why)) {
      ++whole;
      games.push_back(Read_Json(e.path()));
    } else {
      ++damaged;
      std::printf("damaged: %s: %s\n", e.path().c_str(), why.c_str());
    }
  }
  int missing = 0;
  for (int i = 2; i < argc; ++i) {
    const json state = Read_Json(argv[i]);
    bool found = false;
    for (const json& g : games)
      found =
          found || (state.is_object() && g["players"] == state["players"] && g["board"] == state["board"]);
    if (!found) {
      ++missing;
      std::printf("no game holds the state %s\n", argv[i]);
    }
  }
  std::printf("games %d whole, %d damaged, %d set aside as unreadable, %d temporary files", whole, damaged,
              set_aside, temporaries);
  if (argc > 2) std::printf(", %d of %d states held", argc - 2 - missing, argc - 2);
  std::printf("\n");
  return damaged > 0 || missing > 0 ? 1 : 0;
}

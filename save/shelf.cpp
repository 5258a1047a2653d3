#include "save/shelf.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <utility>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* LEGACY_NAME = "saved-game.json";

bool Is_Game_File(const std::string& name) {
  if (name == LEGACY_NAME) return true;
  return name.size() > 10 && name.rfind("game-", 0) == 0 && name.compare(name.size() - 5, 5, ".json") == 0;
}

}  // namespace

ShelfGame Shelf_Summary(const std::string& path, const SavedGame& g) {
  ShelfGame s;
  s.path = path;
  s.saved_at = Platform_File_Written(path);
  s.current_player = g.current_player;
  s.round = g.player2.turns + 1;
  s.treasures[0] = g.player1.treasures;
  s.treasures[1] = g.player2.treasures;
  s.computer_player = g.computer_player;
  return s;
}

std::string Shelf_Lock_Path(const std::string& game_path) {
  const fs::path p(game_path);
  return (p.parent_path() / (p.stem().string() + ".lock")).string();
}

std::vector<std::string> Shelf_Files(const std::string& folder) {
  std::vector<std::pair<int64_t, std::string>> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (Is_Game_File(it->path().filename().string()))
      files.emplace_back(Platform_File_Written(it->path().string()), it->path().string());
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second > b.second;
  });
  std::vector<std::string> paths;
  for (const auto& f : files) paths.push_back(f.second);
  return paths;
}

namespace {

// Sets aside a file that cannot be read, under a name of its own; says so in *problems.
void Set_Aside(const std::string& folder, const std::string& path, const std::string& why,
               std::vector<ShelfProblem>* problems) {
  // A file another copy of the game is writing is renamed into place whole: what cannot be read now
  // never will be.
  ShelfProblem problem{path, why, ""};
  std::string error;
  const std::string stem =
      (fs::path(folder) / ("saved-game-unreadable-" + Platform_Local_Time_Stamp())).string();
  if (!Platform_Move_Aside(path, stem, ".json", "-", &problem.kept_as, &error)) problem.why += "; " + error;
  if (problems) problems->push_back(problem);
}

}  // namespace

std::vector<ShelfGame> Read_Shelf(const std::string& folder, const std::string& own_game,
                                  std::vector<ShelfProblem>* problems, size_t count) {
  std::vector<ShelfGame> games;
  size_t free_games = 0;
  for (const std::string& path : Shelf_Files(folder)) {
    if (free_games >= count) break;
    SavedGame g;
    std::string why;
    if (!Read_Saved_Game(path, &g, &why)) {
      // Missing by now: another copy of the game won or deleted it.
      if (fs::exists(fs::symlink_status(path))) Set_Aside(folder, path, why, problems);
      continue;
    }
    ShelfGame s = Shelf_Summary(path, g);
    s.elsewhere = path != own_game && Platform_File_Locked(Shelf_Lock_Path(path));
    free_games += s.elsewhere ? 0 : 1;
    games.push_back(s);
  }
  return games;
}

std::string New_Shelf_Path(const std::string& folder) {
  std::random_device device;
  std::mt19937_64 mix((static_cast<uint64_t>(device()) << 32 | device()) ^
                      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (;;) {
    char id[17];
    std::snprintf(id, sizeof id, "%016llx", static_cast<unsigned long long>(mix()));
    const fs::path path = fs::path(folder) / (std::string("game-") + id + ".json");
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return path.string();
  }
}

void Remove_Orphan_Locks(const std::string& folder) {
  std::error_code ec;
  std::vector<fs::path> orphans;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    if (p.extension() == ".lock" && !fs::exists(fs::path(p).replace_extension(".json"), ec))
      orphans.push_back(p);
  }
  for (const fs::path& p : orphans) {
    // Only a lock no one holds: a copy that holds one may be about to save its game.
    const int lock = Platform_Lock_File(p.string());
    if (lock < 0) continue;
    fs::remove(p, ec);
    Platform_Unlock_File(lock);
  }
}

void Remove_Shelf_Game(const std::string& game_path) {
  std::error_code ec;
  fs::remove(game_path, ec);
  fs::remove(Shelf_Lock_Path(game_path), ec);
}

int Drop_Oldest_Games(const std::string& folder, const std::string& protect, int keep,
                      std::vector<ShelfProblem>* problems) {
  const std::vector<std::string> files = Shelf_Files(folder);
  int room = keep, dropped = 0;
  for (const std::string& f : files) room -= f == protect ? 1 : 0;  // the run's own game stays
  for (const std::string& path : files) {
    if (path == protect) continue;
    if (room > 0) {
      --room;
      continue;
    }
    // Its lock, taken first, keeps another copy from taking the game up while it goes; a game another
    // copy plays stays.
    const int lock = Platform_Lock_File(Shelf_Lock_Path(path));
    if (lock < 0) continue;
    SavedGame g;
    std::string why;
    if (Read_Saved_Game(path, &g, &why)) {
      Remove_Shelf_Game(path);
      ++dropped;
    } else {
      Set_Aside(folder, path, why, problems);  // not a game to drop: a file to keep
      std::error_code ec;
      fs::remove(Shelf_Lock_Path(path), ec);
    }
    Platform_Unlock_File(lock);
  }
  return dropped;
}

#include "tests/support/files.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace test_support {

TempDir::TempDir(const std::string& tag) {
  std::string pattern = (fs::temp_directory_path() / ("orvalis-" + tag + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

std::string Read_File(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool Write_File(const fs::path& path, std::string_view bytes) {
  std::error_code ignored;
  fs::remove(path, ignored);
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return f.flush().good();
}

std::vector<fs::path> Unfinished_Game_Files(const fs::path& folder) {
  std::vector<fs::path> games;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (it->path().extension() == ".json" && name.find("unreadable") == std::string::npos)
      games.push_back(it->path());
  }
  std::sort(games.begin(), games.end());
  return games;
}

std::string Run_Path(const std::string& file) { return std::string(ORVALIS_RUN_DIR) + "/" + file; }

void Link_Run_Data(const fs::path& dir) {
  for (const fs::directory_entry& e : fs::directory_iterator(ORVALIS_RUN_DIR)) {
    const std::string ext = e.path().extension().string();
    if (e.is_regular_file() && (ext == ".bmp" || ext == ".txt" || ext == ".wav") &&
        e.path().filename() != "d-bug_log.txt")
      fs::create_symlink(e.path(), dir / e.path().filename());
  }
}

}  // namespace test_support

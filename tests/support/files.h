// Files for the tests: a temporary folder that goes with its object, whole-file reads and writes, and
// a folder holding the build's run folder data (the art and the templates) to run the game in.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it by the destructor.
class TempDir {
 public:
  explicit TempDir(const std::string& tag = "test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

// The whole file; empty when it cannot be read.
std::string Read_File(const fs::path& path);
// Replaces the file (never writing through a link) with the bytes; true when all were written.
bool Write_File(const fs::path& path, std::string_view bytes);

// The unfinished games' files in a saved-games folder, by name: every .json file but those set aside
// as unreadable.
std::vector<fs::path> Unfinished_Game_Files(const fs::path& folder);

// A file of the build's run folder, where the game, its art and its templates are.
std::string Run_Path(const std::string& file);
// Puts the run folder's art, template and sound files into `dir` as links to the originals, without the
// debug log. Write_File replaces a link with a file of its own, so the originals are never touched.
void Link_Run_Data(const fs::path& dir);

}  // namespace test_support

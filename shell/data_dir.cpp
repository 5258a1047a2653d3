#include "shell/data_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

bool Is_Data_Dir(const std::string& dir) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(dir) / "mm_main.bmp", ec) && fs::is_regular_file(fs::path(dir) / "10.txt", ec);
}

std::string Find_Data_Dir(const std::string& exe_dir, const std::string& install_dir,
                          std::vector<std::string>* tried) {
  std::vector<std::string> candidates;
  if (!exe_dir.empty()) {
    candidates.push_back(exe_dir);
    candidates.push_back((fs::path(exe_dir) / ".." / "share" / "orvalis").lexically_normal().string());
  }
  if (!install_dir.empty()) candidates.push_back(install_dir);
  for (const std::string& c : candidates) {
    if (Is_Data_Dir(c)) return c;
    tried->push_back(c);
  }
  return "";
}

std::string Executable_Dir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? "" : exe.parent_path().string();
}

namespace {
std::string Home() {
  const char* h = std::getenv("HOME");
  return h && *h ? h : ".";
}

// XDG_PICTURES_DIR from the user-dirs file, with $HOME expanded; "" when not set there.
std::string Xdg_Pictures_Dir() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const fs::path file = fs::path(config && *config ? config : Home() + "/.config") / "user-dirs.dirs";
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    const std::string key = "XDG_PICTURES_DIR=";
    if (line.rfind(key, 0) != 0) continue;
    std::string v = line.substr(key.size());
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    if (v.rfind("$HOME", 0) == 0) v = Home() + v.substr(5);
    return v;
  }
  return "";
}
}  // namespace

std::string Screenshot_Dir() {
  std::error_code ec;
  std::string dir = Xdg_Pictures_Dir();
  if (dir.empty() || !fs::is_directory(dir, ec)) {
    const char* data = std::getenv("XDG_DATA_HOME");
    dir = (fs::path(data && *data ? data : Home() + "/.local/share") / "orvalis" / "screenshots").string();
  }
  fs::create_directories(dir, ec);
  return dir;
}

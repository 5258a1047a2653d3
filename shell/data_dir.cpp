#include "shell/data_dir.h"

#include <filesystem>
#include <fstream>

#include "platform/platform.h"

namespace fs = std::filesystem;

bool Is_Data_Dir(const std::string& dir) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(dir) / "mm_main.bmp", ec) && fs::is_regular_file(fs::path(dir) / "10.txt", ec);
}

std::string Find_Data_Dir(const std::string& exe_dir, const std::string& from_exe,
                          const std::string& install_dir, std::vector<std::string>* tried) {
  std::vector<std::string> candidates;
  if (!exe_dir.empty()) {
    candidates.push_back(exe_dir);
    if (!from_exe.empty()) candidates.push_back((fs::path(exe_dir) / from_exe).lexically_normal().string());
  }
  if (!install_dir.empty()) candidates.push_back(install_dir);
  for (const std::string& c : candidates) {
    if (Is_Data_Dir(c)) return c;
    tried->push_back(c);
  }
  return "";
}

std::string Screenshot_Dir() {
  std::error_code ec;
  std::string dir = Platform_User_Dir(USER_DIR_PICTURES);
  if (dir.empty() || !fs::is_directory(dir, ec))
    dir = (fs::path(Platform_User_Dir(USER_DIR_DATA)) / "orvalis" / "screenshots").string();
  fs::create_directories(dir, ec);
  return dir;
}

std::string Create_Debug_Log(const std::string& run_dir, const std::string& state_dir) {
  for (const std::string& dir : {run_dir, state_dir}) {
    if (dir.empty()) continue;
    std::error_code ec;
    if (dir == state_dir) fs::create_directories(dir, ec);
    const fs::path file = fs::path(dir) / "d-bug_log.txt";
    if (std::ofstream(file, std::ios::trunc)) return file.string();
  }
  return "";
}

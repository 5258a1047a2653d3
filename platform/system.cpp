// What the game asks the operating system besides the window: where the binary lives, the user's
// XDG folders, the local time for file names, and a clock that differs at every launch.
#include <time.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v && *v ? v : "";
}

std::string Home() {
  const std::string h = Env("HOME");
  return h.empty() ? "." : h;
}

// XDG_PICTURES_DIR from the user-dirs file, with $HOME expanded; "" when not set there.
std::string Pictures_From_User_Dirs(const std::string& config_home) {
  std::ifstream in(fs::path(config_home) / "user-dirs.dirs");
  std::string line;
  const std::string key = "XDG_PICTURES_DIR=";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) != 0) continue;
    std::string v = line.substr(key.size());
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    if (v.rfind("$HOME", 0) == 0) v = Home() + v.substr(5);
    return v;
  }
  return "";
}

}  // namespace

std::string Platform_Executable_Dir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? "" : exe.parent_path().string();
}

std::string Platform_User_Dir(PlatformUserDir which) {
  const std::string config = Env("XDG_CONFIG_HOME").empty() ? Home() + "/.config" : Env("XDG_CONFIG_HOME");
  switch (which) {
    case USER_DIR_CONFIG: return config;
    case USER_DIR_STATE: return Env("XDG_STATE_HOME").empty() ? Home() + "/.local/state" : Env("XDG_STATE_HOME");
    case USER_DIR_DATA: return Env("XDG_DATA_HOME").empty() ? Home() + "/.local/share" : Env("XDG_DATA_HOME");
    case USER_DIR_PICTURES: return Pictures_From_User_Dirs(config);
  }
  return "";
}

std::string Platform_Local_Time_Stamp() {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return stamp;
}

uint32_t Platform_Launch_Clock() {
  // Milliseconds since the machine started, which differ at every launch; the wall clock where the
  // system keeps no boot clock.
  timespec t{};
  if (clock_gettime(CLOCK_BOOTTIME, &t) != 0 && clock_gettime(CLOCK_REALTIME, &t) != 0) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(t.tv_sec) * 1000u + static_cast<uint64_t>(t.tv_nsec) / 1000000u);
}

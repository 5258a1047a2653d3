// What the game asks the operating system besides the window: where the binary lives, the user's
// XDG folders, the local time for file names, a clock that differs at every launch, the stop
// signals.
#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/platform_internal.h"

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

// An XDG folder variable, or the fallback under the home folder. The rules ignore a relative value:
// taken from the folder the game runs in, it would put the player's files among the game's data.
std::string Xdg_Dir(const char* variable, const char* under_home) {
  const std::string v = Env(variable);
  return v.empty() || v[0] != '/' ? Home() + under_home : v;
}

}  // namespace

std::string Platform_Executable_Dir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? "" : exe.parent_path().string();
}

std::string Platform_User_Dir(PlatformUserDir which) {
  const std::string config = Xdg_Dir("XDG_CONFIG_HOME", "/.config");
  switch (which) {
    case USER_DIR_CONFIG:
      return config;
    case USER_DIR_STATE:
      return Xdg_Dir("XDG_STATE_HOME", "/.local/state");
    case USER_DIR_DATA:
      return Xdg_Dir("XDG_DATA_HOME", "/.local/share");
    case USER_DIR_PICTURES:
      return Pictures_From_User_Dirs(config);
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

int64_t Platform_Now() { return static_cast<int64_t>(std::time(nullptr)); }

std::string Platform_Local_Time_Text(int64_t seconds) {
  char text[32];
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&t, &local);
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

uint32_t Platform_Launch_Clock() {
  // Milliseconds since the machine started, which differ at every launch; the wall clock where the
  // system keeps no boot clock.
  timespec t{};
  if (clock_gettime(CLOCK_BOOTTIME, &t) != 0 && clock_gettime(CLOCK_REALTIME, &t) != 0) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(t.tv_sec) * 1000u +
                               static_cast<uint64_t>(t.tv_nsec) / 1000000u);
}

namespace {
volatile sig_atomic_t stop_signal = 0;
constexpr int STOP_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

void Set_Stop_Handler(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (int s : STOP_SIGNALS) sigaction(s, &action, nullptr);
}

// Only async-signal-safe work here: the flag, and the default handlers back (sigaction is safe), so
// a second stop signal ends a game that does not end by itself.
void On_Stop_Signal(int signal_number) {
  if (stop_signal == 0) stop_signal = signal_number;
  Set_Stop_Handler(SIG_DFL);
}
}  // namespace

void Platform_Catch_Stop_Signals() { Set_Stop_Handler(On_Stop_Signal); }

void platform_detail::Note_Stop_Signal(int signal_number) {
  if (stop_signal == 0) stop_signal = signal_number;
}

int Platform_Stop_Signal() { return stop_signal; }

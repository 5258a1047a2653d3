#include "settings/settings.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* side_names[] = {"off", "1", "2", "both"};
constexpr const char* level_names[] = {"easy", "normal", "hard"};

}  // namespace

const SettingInfo setting_info[SETTING_COUNT] = {
    {"comforts", "all", SETTING_BOOL, 0, 1, 1, 0, nullptr, "All seven comforts below at once."},
    {"comforts", "step_delay", SETTING_BOOL, 0, 1, 1, 0, nullptr,
     "A held arrow repeats only after 250 ms, so a normal press is one step."},
    {"comforts", "board_marks", SETTING_BOOL, 0, 1, 1, 0, nullptr,
     "Pawns, the shown block, keys, tokens and locked blocks marked in the board overview."},
    {"comforts", "reachable_squares", SETTING_BOOL, 0, 1, 1, 0, nullptr,
     "The squares the player to move can reach this turn lit, their blocks marked."},
    {"comforts", "feedback", SETTING_BOOL, 0, 1, 1, 0, nullptr,
     "A line when an action is refused or something is gained; treasures and the turn shown."},
    {"comforts", "ask_before_leaving", SETTING_BOOL, 0, 1, 1, 0, nullptr,
     "Escape or closing the window during a game asks first."},
    {"comforts", "wasd", SETTING_BOOL, 0, 1, 1, 0, nullptr,
     "W A S D walk too (and the A key then cheats no more)."},
    {"comforts", "show_moves", SETTING_BOOL, 0, 1, 1, 0, nullptr,
     "A shifted row or column slides and a turned block turns in the overview, so every move is seen."},
    {"computer", "side", SETTING_CHOICE, 0, 3, 1, 0, side_names,
     "Whom the computer plays: \"off\", \"1\", \"2\" or \"both\"."},
    {"computer", "level", SETTING_CHOICE, 0, 2, 1, 1, level_names, "\"easy\", \"normal\" or \"hard\"."},
    {"display", "fullscreen", SETTING_BOOL, 0, 1, 1, 1, nullptr, "Full screen, or a window."},
    {"display", "scale", SETTING_NUMBER, 1, 8, 1, 2, nullptr, "The window is 640 x 480 times this, 1 to 8."},
    {"display", "integer_scaling", SETTING_BOOL, 0, 1, 1, 0, nullptr,
     "Scale the picture by whole multiples only."},
    {"display", "smooth", SETTING_BOOL, 0, 1, 1, 0, nullptr, "Linear filtering instead of sharp pixels."},
    {"sound", "on", SETTING_BOOL, 0, 1, 1, 1, nullptr, "All sound on or off."},
    {"sound", "effects_volume", SETTING_NUMBER, 0, 100, 10, 80, nullptr, "0 to 100."},
    {"sound", "music_volume", SETTING_NUMBER, 0, 100, 10, 50, nullptr, "0 to 100."},
    {"sound", "pause_when_unfocused", SETTING_BOOL, 0, 1, 1, 1, nullptr,
     "Pause the sound while the window is minimised or loses the focus."},
};

Settings Default_Settings() {
  Settings s;
  for (int i = 0; i < SETTING_COUNT; ++i) s.value[i] = setting_info[i].fallback;
  return s;
}

bool operator==(const Settings& a, const Settings& b) {
  return std::memcmp(a.value, b.value, sizeof a.value) == 0;
}

std::string Setting_Text(SettingId id, int32_t value) {
  const SettingInfo& info = setting_info[id];
  switch (info.kind) {
    case SETTING_BOOL:
      return value ? "true" : "false";
    case SETTING_CHOICE:
      if (value >= info.low && value <= info.high) return std::string("\"") + info.choices[value] + "\"";
      return "\"\"";
    case SETTING_NUMBER:
      break;
  }
  return std::to_string(value);
}

int32_t Next_Setting_Value(SettingId id, int32_t value, bool up) {
  const SettingInfo& info = setting_info[id];
  if (value < info.low || value > info.high) return info.fallback;
  if (up) return value >= info.high ? info.low : std::min(info.high, value + info.step);
  return value <= info.low ? info.high : std::max(info.low, value - info.step);
}

namespace {
Settings active = Default_Settings();
}  // namespace

const Settings& Active_Settings() { return active; }

void Set_Active_Settings(const Settings& settings) { active = settings; }

int32_t Active_Setting(SettingId id) { return active.value[id]; }

bool Comfort_On(SettingId comfort) {
  return active.value[SETTING_COMFORTS] != 0 ||
         (comfort >= 0 && comfort < SETTING_COUNT && active.value[comfort] != 0);
}

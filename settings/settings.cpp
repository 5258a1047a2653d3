#include "settings/settings.h"

#include <toml++/toml.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

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

std::string Place(const std::string& name, const toml::source_region& where) {
  return name + ":" + std::to_string(where.begin.line) + ":" + std::to_string(where.begin.column) + ": ";
}

int Find_Setting(std::string_view section, std::string_view key) {
  for (int i = 0; i < SETTING_COUNT; ++i)
    if (section == setting_info[i].section && key == setting_info[i].key) return i;
  return -1;
}

bool Known_Section(std::string_view section) {
  for (const SettingInfo& info : setting_info)
    if (section == info.section) return true;
  return false;
}

// What a setting takes, for the message about a value it cannot take.
std::string Expected(const SettingInfo& info) {
  switch (info.kind) {
    case SETTING_BOOL:
      return "true or false";
    case SETTING_NUMBER:
      return "a whole number from " + std::to_string(info.low) + " to " + std::to_string(info.high);
    case SETTING_CHOICE:
      break;
  }
  std::string s;
  for (int32_t c = info.low; c <= info.high; ++c)
    s += std::string(c == info.low ? "" : c == info.high ? " or " : ", ") + "\"" + info.choices[c] + "\"";
  return s;
}

// The value of a setting's node; false when the node holds nothing the setting can take.
bool Value_Of(const SettingInfo& info, const toml::node& node, int32_t* out) {
  switch (info.kind) {
    case SETTING_BOOL:
      if (const auto* b = node.as_boolean()) {
        *out = b->get() ? 1 : 0;
        return true;
      }
      return false;
    case SETTING_NUMBER:
      if (const auto* n = node.as_integer()) {
        if (n->get() < info.low || n->get() > info.high) return false;
        *out = static_cast<int32_t>(n->get());
        return true;
      }
      return false;
    case SETTING_CHOICE:
      break;
  }
  if (const auto* s = node.as_string()) {
    for (int32_t c = info.low; c <= info.high; ++c)
      if (s->get() == info.choices[c]) {
        *out = c;
        return true;
      }
  }
  return false;
}

}  // namespace

bool Read_Settings_Text(const std::string& text, const std::string& name, Settings* settings,
                        std::vector<std::string>* problems) {
  const size_t before = problems->size();
  toml::table root;
  try {
    root = toml::parse(text, name);
  } catch (const toml::parse_error& e) {
    problems->push_back(Place(name, e.source()) + std::string(e.description()) + "; the defaults are used");
    return false;
  }
  for (const auto& [section, node] : root) {
    const toml::table* table = node.as_table();
    if (!table || !Known_Section(section.str())) {
      problems->push_back(Place(name, node.source()) + "unknown setting '" + std::string(section.str()) +
                          "', left out");
      continue;
    }
    for (const auto& [key, value] : *table) {
      const int id = Find_Setting(section.str(), key.str());
      const std::string full = std::string(section.str()) + "." + std::string(key.str());
      if (id < 0) {
        problems->push_back(Place(name, value.source()) + "unknown setting '" + full + "', left out");
        continue;
      }
      const SettingInfo& info = setting_info[id];
      int32_t v = 0;
      if (!Value_Of(info, value, &v)) {
        problems->push_back(Place(name, value.source()) + full + " takes " + Expected(info) + "; " +
                            (settings->value[id] == info.fallback ? "the default " : "") +
                            Setting_Text(static_cast<SettingId>(id), settings->value[id]) + " is used");
        continue;
      }
      settings->value[id] = v;
    }
  }
  return problems->size() == before;
}

SettingsFile Load_Settings_File(const std::string& path) {
  SettingsFile f;
  f.settings = Default_Settings();
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (!fs::exists(st)) return f;
  f.found = true;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (in && fs::is_regular_file(st)) text << in.rdbuf();
  if (!in || !fs::is_regular_file(st) || in.bad()) {
    f.faulty = true;
    f.problems.push_back(path + ":0:0: cannot be read (" +
                         (fs::is_regular_file(st) ? std::string(std::strerror(errno)) : "not a file") +
                         "); the defaults are used");
    return f;
  }
  f.faulty = !Read_Settings_Text(text.str(), path, &f.settings, &f.problems);
  return f;
}

std::string Settings_File_Text(const Settings& settings) {
  std::string s =
      "# Orvalis settings. The game writes this file when a setting is changed on its settings page (F1).\n"
      "# Options given on the command line count for one run and are not written here.\n";
  const char* section = "";
  for (int i = 0; i < SETTING_COUNT; ++i) {
    const SettingInfo& info = setting_info[i];
    if (std::strcmp(section, info.section) != 0) {
      section = info.section;
      s += std::string("\n[") + section + "]\n";
    }
    s += std::string("# ") + info.comment + "\n";
    s += std::string(info.key) + " = " + Setting_Text(static_cast<SettingId>(i), settings.value[i]) + "\n";
  }
  return s;
}

namespace {

std::string Free_Bad_Name(const std::string& path) {
  std::error_code ec;
  std::string name = path + ".bad";
  for (int n = 2; fs::exists(fs::symlink_status(name, ec)); ++n) name = path + ".bad." + std::to_string(n);
  return name;
}

}  // namespace

bool Save_Settings_File(const std::string& path, const Settings& settings, bool keep_original,
                        std::string* error, std::string* kept_as) {
  std::error_code ec;
  const fs::path target(path);
  if (target.has_parent_path()) {
    fs::create_directories(target.parent_path(), ec);
    if (ec) {
      *error = "cannot create the folder " + target.parent_path().string() + ": " + ec.message();
      return false;
    }
  }
  std::random_device random;
  const std::string temp = path + ".new-" + std::to_string(random() % 1000000u);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      *error = "cannot write " + temp + ": " + std::strerror(errno);
      return false;
    }
    out << Settings_File_Text(settings);
    out.close();
    if (!out) {
      *error = "cannot write " + temp + " whole";
      fs::remove(temp, ec);
      return false;
    }
  }
  std::string bad;
  if (keep_original && fs::exists(fs::symlink_status(target, ec))) {
    bad = Free_Bad_Name(path);
    fs::rename(target, bad, ec);
    if (ec) {
      *error = "cannot keep " + path + " as " + bad + ": " + ec.message();
      fs::remove(temp, ec);
      return false;
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    *error = "cannot replace " + path + ": " + ec.message();
    fs::remove(temp, ec);
    if (!bad.empty()) fs::rename(bad, target, ec);  // the original back in its place
    return false;
  }
  if (kept_as) *kept_as = bad;
  return true;
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

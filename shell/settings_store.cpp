#include "shell/settings_store.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "platform/platform.h"
#include "shell/computer.h"
#include "shell/notices.h"
#include "sound/sound.h"

namespace {

std::string path;
Settings stored;      // what the file holds, with the changes made on the settings page
bool faulty = false;  // the file on disk could not be read whole: keep it aside before replacing it
std::string status;
std::vector<std::string> faults;  // the file's faults for the settings page: "line 3: ..."

void Say(const std::string& line) { Platform_Debug_Output(("orvalis: " + line + "\n").c_str()); }

// A fault as the settings page tells it: its line, without the file's name and column.
std::string Page_Fault(const std::string& problem) {
  if (problem.rfind(path + ":", 0) != 0) return problem;
  std::string rest = problem.substr(path.size() + 1);
  const size_t line_end = rest.find(':'), column_end = rest.find(": ", line_end + 1);
  if (line_end == std::string::npos || column_end == std::string::npos) return rest;
  const std::string line = rest.substr(0, line_end);
  rest = rest.substr(column_end + 2);
  // The parser's own words, after the plain ones, stay on the debug output.
  const size_t parser = rest.find(" (Error "), parser_end = rest.find(");", parser);
  if (parser != std::string::npos && parser_end != std::string::npos)
    rest.erase(parser, parser_end + 1 - parser);
  return line == "0" ? rest : "line " + line + ": " + rest;
}

}  // namespace

std::string Default_Settings_Path() {
  return (std::filesystem::path(Platform_User_Dir(USER_DIR_CONFIG)) / "orvalis" / "settings.toml").string();
}

void Start_Settings(const std::string& file, const std::vector<std::string>& overrides) {
  path = file;
  faulty = false;
  stored = Default_Settings();
  status = path.empty() ? "This run reads and writes no settings file." : "Changes are saved in " + path;
  faults.clear();
  if (!path.empty()) {
    // What a write killed half-way left beside the file.
    Platform_Remove_Stale_Temporaries(
        std::filesystem::path(Platform_Write_Target(path)).parent_path().string());
    SettingsFile f = Load_Settings_File(path);
    for (const std::string& p : f.problems) Say(p);
    stored = f.settings;
    faulty = f.faulty;
    for (const std::string& p : f.problems) faults.push_back(Page_Fault(p));
    if (faulty) {
      status = path +
               " has faults (above); every other setting in it is used. It is kept as .bad when a "
               "setting changes.";
      Post_Notice("the settings file " + path + " has faults (F1, SETTINGS names each): " + faults.front() +
                      (faults.size() > 1 ? "; and " + std::to_string(faults.size() - 1) + " more" : ""),
                  false);
    }
  }
  Settings run = stored;
  std::vector<std::string> problems;
  for (const std::string& line : overrides) Read_Settings_Text(line, "command line", &run, &problems);
  for (const std::string& p : problems) Say(p);
  Set_Active_Settings(run);
}

namespace {
// The run's sound settings, into the sound output.
void Apply_Sound_Settings() {
  const Settings& s = Active_Settings();
  SoundSettings sound;
  sound.on = s.value[SETTING_SOUND] != 0;
  sound.effects_volume = s.value[SETTING_EFFECTS_VOLUME];
  sound.music_volume = s.value[SETTING_MUSIC_VOLUME];
  sound.pause_in_background = s.value[SETTING_PAUSE_UNFOCUSED] != 0;
  Set_Sound_Settings(sound);
}
}  // namespace

void Apply_Run_Settings() { Apply_Sound_Settings(); }

namespace {
// Puts a changed setting into effect: the computer's level from its next turn (its side waits for the
// next game, which reads it when it starts), the display's and the sound's now. (The comforts are read
// where they act.)
void Apply_Setting(SettingId id) {
  const Settings& s = Active_Settings();
  switch (id) {
    case SETTING_COMPUTER_LEVEL:
      Computer_Level_Changed();
      break;
    case SETTING_FULLSCREEN:
      Platform_Set_Fullscreen(s.value[SETTING_FULLSCREEN] != 0);
      break;
    case SETTING_SCALE:
    case SETTING_INTEGER_SCALING:
    case SETTING_SMOOTH:
      Platform_Set_Scaling(s.value[SETTING_SCALE], s.value[SETTING_INTEGER_SCALING] != 0,
                           s.value[SETTING_SMOOTH] != 0);
      break;
    case SETTING_SOUND:
    case SETTING_EFFECTS_VOLUME:
    case SETTING_MUSIC_VOLUME:
    case SETTING_PAUSE_UNFOCUSED:
      Apply_Sound_Settings();
      break;
    default:
      break;
  }
}
}  // namespace

void Sync_Run_Settings() {
  Settings s = Active_Settings();
  s.value[SETTING_FULLSCREEN] = Platform_Is_Fullscreen();
  Set_Active_Settings(s);
}

void Change_Setting(SettingId id, int32_t value) {
  if (id < 0 || id >= SETTING_COUNT) return;
  Settings run = Active_Settings();
  run.value[id] = value;
  stored.value[id] = value;
  Set_Active_Settings(run);
  Apply_Setting(id);
}

void Save_Settings() {
  if (path.empty()) return;
  std::string error, kept_as;
  if (!Save_Settings_File(path, stored, faulty, &error, &kept_as)) {
    status = "Not saved: " + error;
    Say("cannot save the settings: " + error);
    return;
  }
  if (!kept_as.empty()) Say("the settings file " + path + " had faults; what it held is kept as " + kept_as);
  faulty = false;
  faults.clear();
  status = "Changes are saved in " + path +
           (kept_as.empty() ? "" : "; the file with faults is kept as " + kept_as);
}

const std::string& Settings_Status() { return status; }

std::vector<std::string> Settings_Status_Lines() {
  std::vector<std::string> lines{status};
  lines.insert(lines.end(), faults.begin(), faults.end());
  return lines;
}

std::string Scale_Used_Text() {
  const double used = Platform_Window_Scale();
  if (used <= 0 || std::abs(used - Active_Setting(SETTING_SCALE)) < 0.005) return "";
  char number[16];
  std::snprintf(number, sizeof number, "%.2f", used);
  std::string text = number;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text + " x";
}

const std::string& Settings_Path() { return path; }

#include "shell/settings_store.h"

#include <filesystem>

#include "platform/platform.h"
#include "shell/computer.h"
#include "sound/sound.h"

namespace {

std::string path;
Settings stored;      // what the file holds, with the changes made on the settings page
bool faulty = false;  // the file on disk could not be read whole: keep it aside before replacing it
std::string status;

void Say(const std::string& line) { Platform_Debug_Output(("orvalis: " + line + "\n").c_str()); }

}  // namespace

std::string Default_Settings_Path() {
  return (std::filesystem::path(Platform_User_Dir(USER_DIR_CONFIG)) / "orvalis" / "settings.toml").string();
}

void Start_Settings(const std::string& file, const std::vector<std::string>& overrides) {
  path = file;
  faulty = false;
  stored = Default_Settings();
  status = path.empty() ? "This run reads and writes no settings file." : "Changes are saved in " + path;
  if (!path.empty()) {
    SettingsFile f = Load_Settings_File(path);
    for (const std::string& p : f.problems) Say(p);
    stored = f.settings;
    faulty = f.faulty;
    if (faulty)
      status = path + " has faults (named on the debug output); it is kept as .bad when a setting changes.";
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
  status = "Changes are saved in " + path;
}

const std::string& Settings_Status() { return status; }

const std::string& Settings_Path() { return path; }

// The player's settings: one table of every setting (its place in the TOML file, its values and its
// default, which is always the classic game), the reading of a settings file that names every fault
// by line and column, the atomic writing of one, and the settings the running game uses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum SettingId : int32_t {
  SETTING_COMFORTS,  // the one switch that turns on all seven comforts below
  SETTING_STEP_DELAY,
  SETTING_BOARD_MARKS,
  SETTING_REACHABLE_SQUARES,
  SETTING_FEEDBACK,
  SETTING_ASK_BEFORE_LEAVING,
  SETTING_WASD,
  SETTING_SHOW_MOVES,
  SETTING_COMPUTER_SIDE,   // 0 off (two people), 1 player 1, 2 player 2, 3 both
  SETTING_COMPUTER_LEVEL,  // 0 easy, 1 normal, 2 hard
  SETTING_FULLSCREEN,
  SETTING_SCALE,
  SETTING_INTEGER_SCALING,
  SETTING_SMOOTH,
  SETTING_SOUND,  // all sound on or off
  SETTING_EFFECTS_VOLUME,
  SETTING_MUSIC_VOLUME,
  SETTING_PAUSE_UNFOCUSED,  // pause the sound while the window is minimised or loses the focus
  SETTING_COUNT
};

enum SettingKind : int32_t { SETTING_BOOL, SETTING_NUMBER, SETTING_CHOICE };

struct SettingInfo {
  const char* section;
  const char* key;
  SettingKind kind;
  int32_t low, high;           // the values allowed; a choice's are the indices of `choices`
  int32_t step;                // a number's step on the settings page
  int32_t fallback;            // the default
  const char* const* choices;  // a choice's values as the file spells them
  const char* comment;         // the line written above the setting in the file
};
extern const SettingInfo setting_info[SETTING_COUNT];

struct Settings {
  int32_t value[SETTING_COUNT];
};
Settings Default_Settings();
bool operator==(const Settings& a, const Settings& b);

// The value as the file spells it: true, 80, "both".
std::string Setting_Text(SettingId id, int32_t value);
// The value a step up (or down) from this one: the next choice, the other truth value, the number a
// step on; the ends wrap round.
int32_t Next_Setting_Value(SettingId id, int32_t value, bool up);

// Reads TOML text over *settings: every setting it gives well replaces the one in *settings; the rest
// stay as they are. A line the TOML parser refuses is left out and the rest read without it. Each fault
// (a line that is not TOML, an unknown setting, a value of the wrong type or out of range) is added to
// *problems as "NAME:LINE:COLUMN: what is wrong", in plain words, in line order (past forty, the rest
// are counted in one line). True when there was none.
bool Read_Settings_Text(const std::string& text, const std::string& name, Settings* settings,
                        std::vector<std::string>* problems);

struct SettingsFile {
  Settings settings;                  // the defaults, with what the file gives well over them
  std::vector<std::string> problems;  // as Read_Settings_Text names them, or the reason it cannot be read
  bool found = false;                 // something stands at the path
  bool faulty = false;                // it stands there but could not be read, or read whole
};
// The largest settings file read: a thousand times what the game writes.
constexpr size_t SETTINGS_MAX_BYTES = 1u << 20;
// Reads the settings file at path: a regular file of at most SETTINGS_MAX_BYTES (anything else is
// refused without waiting on it, and the defaults used). A missing file is no fault: the defaults.
SettingsFile Load_Settings_File(const std::string& path);

// The file's text for these settings, every setting with the comment above it.
std::string Settings_File_Text(const Settings& settings);
// Writes the settings atomically (Platform_Write_File_Atomic: through a symbolic link to its target,
// flushed to the disk with its folder); the folder is created when missing, and anything but a regular
// file at the path is left alone. With keep_original, the file there is first moved aside to PATH.bad
// (or PATH.bad.2, PATH.bad.3, ... when that is taken), never lost.
// True on success (*kept_as, when given, names where the original went, or is ""); false with *error
// saying what failed, the old file then left as it was.
bool Save_Settings_File(const std::string& path, const Settings& settings, bool keep_original,
                        std::string* error, std::string* kept_as = nullptr);

// The settings the running game uses (the defaults until set).
const Settings& Active_Settings();
void Set_Active_Settings(const Settings& settings);
int32_t Active_Setting(SettingId id);
// The comforts the switch of all turns on: SETTING_FIRST_COMFORT to SETTING_LAST_COMFORT.
constexpr SettingId SETTING_FIRST_COMFORT = SETTING_STEP_DELAY, SETTING_LAST_COMFORT = SETTING_SHOW_MOVES;
// Whether a comfort is on: its own setting, or the switch of all seven.
bool Comfort_On(SettingId comfort);

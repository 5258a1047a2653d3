// The run's settings in the shell: read from the player's settings file at start-up with the command
// line's options laid over them for this run only, applied to the display and the computer opponent,
// and changed from the settings page, which writes the file.
#pragma once

#include <string>
#include <vector>

#include "settings/settings.h"

// The settings file in the player's configuration folder ($XDG_CONFIG_HOME/orvalis/settings.toml).
std::string Default_Settings_Path();
// Reads the file at path ("" for none: the defaults, and nothing is ever written) and lays the
// overrides over them for this run (TOML lines such as "comforts.all = true", named by `source`).
// Every fault goes to the debug output, and the first to the window's notices. The file is not
// touched; temporary files a killed run left beside it are removed.
void Start_Settings(const std::string& path, const std::vector<std::string>& overrides);
// Applies the run's sound settings, after the window is open (it opens with the display's).
void Apply_Run_Settings();
// Takes into the run's settings what was changed elsewhere: full screen (F11, Alt+Enter).
void Sync_Run_Settings();
// Sets one setting for this run and for the file, and applies it at once.
void Change_Setting(SettingId id, int32_t value);
// Writes the file with every change made so far (a faulty original is first kept as .bad); a failure
// is named on the debug output and in the status line, and the game goes on.
void Save_Settings();
// A line about the file for the settings page.
const std::string& Settings_Status();
// That line, then the file's faults, one a line ("line 3: ...").
std::vector<std::string> Settings_Status_Lines();
// The window scale in use when it is not the one asked for ("1.95 x": the screen has no room for
// more), else "".
std::string Scale_Used_Text();
// The file the run reads and writes, or "".
const std::string& Settings_Path();

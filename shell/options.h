// The command line: one table of options that --help prints, and the parsed settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

struct Options {
  PlatformConfig platform;
  int64_t seed = -1;  // -1: the tick count seeds the game
  std::string script;
  std::string data_dir;  // empty: search next to the binary, then the installed share folder
  std::string record;
  int32_t computer = -1;      // COMPUTER_* from --computer; -1 when not given
  int32_t level = -1;         // LEVEL_* from --level; -1 when not given
  bool resume = false;        // start in the saved game
  std::string settings_file;  // --settings: the settings file instead of the one in the user's folder
  // The settings the command line gives, as TOML lines ("display.scale = 3"): laid over the settings
  // file for this run, never written to it.
  std::vector<std::string> setting_lines;
  bool help = false;
  bool version = false;
};

struct OptionInfo {
  const char* name;
  const char* argument;  // null when the option takes none
  const char* help;
};
extern const OptionInfo option_table[];
extern const int option_count;

// Parses argv; 1 on success, 0 with *error set to a one-line message.
int Parse_Options(int argc, const char* const* argv, Options* out, std::string* error);
std::string Usage_Line();
std::string Help_Text();

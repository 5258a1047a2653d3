#include "shell/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "shell/computer.h"

const OptionInfo option_table[] = {
    {"--fullscreen", nullptr, "full screen at the desktop's own resolution (the default)"},
    {"--windowed", nullptr, "a window of 640 x 480 times the scale"},
    {"--scale", "N", "window size multiplier, 1 to 8 (default 2)"},
    {"--integer-scaling", nullptr, "scale the picture by whole multiples only"},
    {"--smooth", nullptr, "linear filtering instead of sharp pixels"},
    {"--comforts", nullptr, "turn on all the modern comforts for this run (see the settings page, F1)"},
    {"--settings", "FILE", "read and write the settings in FILE (default: ~/.config/orvalis/settings.toml)"},
    {"--seed", "N", "seed the random generator with N instead of the clock"},
    {"--computer", "SIDE", "the computer plays player 1, 2, both or off (default: as the options say)"},
    {"--level", "LEVEL", "the computer's level: easy, normal (the default) or hard"},
    {"--effects-volume", "N", "the loudness of the sound effects, 0 to 100 (default 80)"},
    {"--music-volume", "N", "the loudness of the music, 0 to 100 (default 50)"},
    {"--mute", nullptr, "start with all sound off (M switches it on and off)"},
    {"--resume", nullptr,
     "go on with the game saved when the last one was left (starts normally when there is none)"},
    {"--headless", nullptr, "run without a window (needs --script)"},
    {"--script", "FILE", "play the input script FILE (visibly, unless --headless)"},
    {"--record", "FILE", "record everything you do as a script FILE that replays the same game"},
    {"--data", "DIR", "the folder with the art and templates (the game runs in it)"},
    {"--help", nullptr, "print this help and exit"},
    {"--version", nullptr, "print the version and exit"},
};
const int option_count = static_cast<int>(sizeof(option_table) / sizeof(option_table[0]));

namespace {
bool Parse_Number(const char* s, long long lo, long long hi, long long* out) {
  if (!s || !*s) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(s, &end, 10);
  if (errno || *end || v < lo || v > hi) return false;
  *out = v;
  return true;
}
}  // namespace

int Parse_Options(int argc, const char* const* argv, Options* out, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const OptionInfo* info = nullptr;
    for (int k = 0; k < option_count; ++k)
      if (a == option_table[k].name) info = &option_table[k];
    if (!info) {
      *error = "unknown option '" + a + "'";
      return 0;
    }
    const char* value = nullptr;
    if (info->argument) {
      if (i + 1 >= argc) {
        *error = "option " + a + " needs an argument " + info->argument;
        return 0;
      }
      value = argv[++i];
    }
    long long n = 0;
    if (a == "--fullscreen" || a == "--windowed") {
      out->platform.fullscreen = a == "--fullscreen";
      out->setting_lines.push_back(std::string("display.fullscreen = ") +
                                   (out->platform.fullscreen ? "true" : "false"));
    } else if (a == "--integer-scaling") {
      out->platform.integer_scaling = true;
      out->setting_lines.push_back("display.integer_scaling = true");
    } else if (a == "--smooth") {
      out->platform.smooth = true;
      out->setting_lines.push_back("display.smooth = true");
    } else if (a == "--comforts")
      out->setting_lines.push_back("comforts.all = true");
    else if (a == "--settings")
      out->settings_file = value;
    else if (a == "--headless")
      out->platform.backend = BACKEND_HEADLESS;
    else if (a == "--mute")
      out->setting_lines.push_back("sound.on = false");
    else if (a == "--resume")
      out->resume = true;
    else if (a == "--help")
      out->help = true;
    else if (a == "--version")
      out->version = true;
    else if (a == "--script")
      out->script = value;
    else if (a == "--record")
      out->record = value;
    else if (a == "--data")
      out->data_dir = value;
    else if (a == "--computer") {
      out->computer = Parse_Computer_Side(value);
      if (out->computer < 0) {
        *error = "--computer takes 1, 2, both or off, not '" + std::string(value) + "'";
        return 0;
      }
      out->setting_lines.push_back(std::string("computer.side = \"") + Computer_Side_Name(out->computer) +
                                   "\"");
    } else if (a == "--level") {
      out->level = Parse_Computer_Level(value);
      if (out->level < 0) {
        *error = "--level takes easy, normal or hard, not '" + std::string(value) + "'";
        return 0;
      }
      out->setting_lines.push_back(std::string("computer.level = \"") + Computer_Level_Name(out->level) +
                                   "\"");
    } else if (a == "--scale") {
      if (!Parse_Number(value, 1, 8, &n)) {
        *error = "--scale takes a whole number from 1 to 8, not '" + std::string(value) + "'";
        return 0;
      }
      out->platform.scale = static_cast<int>(n);
      out->setting_lines.push_back("display.scale = " + std::to_string(n));
    } else if (a == "--effects-volume" || a == "--music-volume") {
      if (!Parse_Number(value, 0, 100, &n)) {
        *error = a + " takes a whole number from 0 to 100, not '" + std::string(value) + "'";
        return 0;
      }
      out->setting_lines.push_back(
          std::string(a == "--effects-volume" ? "sound.effects_volume = " : "sound.music_volume = ") +
          std::to_string(n));
    } else if (a == "--seed") {
      if (!Parse_Number(value, 0, 4294967295LL, &n)) {
        *error = "--seed takes a whole number from 0 to 4294967295, not '" + std::string(value) + "'";
        return 0;
      }
      out->seed = n;
    }
  }
  if (out->resume && !out->record.empty()) {
    // A recording replays from a new game, which a resumed game does not start with.
    *error = "--resume and --record cannot go together: a recording replays a game from its start";
    return 0;
  }
  return 1;
}

std::string Usage_Line() {
  std::string s = "usage: orvalis";
  for (int k = 0; k < option_count; ++k) {
    s += " [";
    s += option_table[k].name;
    if (option_table[k].argument) {
      s += " ";
      s += option_table[k].argument;
    }
    s += "]";
  }
  return s;
}

std::string Help_Text() {
  std::string s = Usage_Line() + "\n\nOrvalis, a two-player maze board game.\n\n";
  for (int k = 0; k < option_count; ++k) {
    std::string left = std::string("  ") + option_table[k].name;
    if (option_table[k].argument) left += std::string(" ") + option_table[k].argument;
    if (left.size() < 24) left.resize(24, ' ');
    s += left + option_table[k].help + "\n";
  }
  return s;
}

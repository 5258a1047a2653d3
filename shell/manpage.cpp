// Writes the manual page orvalis(6) from the option table that --help prints.
#include <cstdio>
#include <string>

#include "shell/options.h"

namespace {
// Escapes the characters roff gives a meaning to.
std::string Roff(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '-') out += "\\-";
    else if (c == '\\') out += "\\e";
    else out += c;
  }
  return out;
}
}  // namespace

int main(int argc, char** argv) {
  std::FILE* out = argc > 1 ? std::fopen(argv[1], "w") : stdout;
  if (!out) {
    std::fprintf(stderr, "orvalis_manpage: cannot create %s\n", argv[1]);
    return 1;
  }
  std::fprintf(out, ".TH ORVALIS 6 \"%s\" \"Orvalis %s\" \"Games\"\n", ORVALIS_RELEASE_DATE, ORVALIS_VERSION);
  std::fputs(".SH NAME\norvalis \\- a two-player maze board game\n.SH SYNOPSIS\n.B orvalis\n", out);
  for (int k = 0; k < option_count; ++k) {
    std::fprintf(out, "[\\fB%s\\fR%s%s]\n", Roff(option_table[k].name).c_str(), option_table[k].argument ? " \\fI" : "",
                 option_table[k].argument ? (std::string(option_table[k].argument) + "\\fR").c_str() : "");
  }
  std::fputs(
      ".SH DESCRIPTION\nTwo players share one machine and take turns. The board is 8 by 8 maze blocks of 8 by 8 "
      "squares. Walk with the arrow keys, open doors with keys, shift rows and columns of blocks with the arrows "
      "around the board overview, turn a block with a right click, and end a turn with Return or the END TURN "
      "button. The first player home with five treasures wins.\n.SH OPTIONS\n",
      out);
  for (int k = 0; k < option_count; ++k) {
    std::fprintf(out, ".TP\n.B %s%s%s\n%s\n", Roff(option_table[k].name).c_str(), option_table[k].argument ? " " : "",
                 option_table[k].argument ? option_table[k].argument : "", Roff(option_table[k].help).c_str());
  }
  std::fputs(
      ".SH KEYS\n.TP\n.B Return\nCall up the menu; end the turn.\n.TP\n.B Escape\nBack to the menu; close the "
      "options; quit from the menu.\n.TP\n.B F1\nHow to play, and the settings.\n.TP\n.B M\nAll sound off, or "
      "back on.\n.TP\n.B Space\nHurry the computer through the rest of its turn.\n.TP\n.B F11, Alt+Enter\n"
      "Toggle full screen.\n.TP\n.B F12\nSave a screenshot in the pictures folder.\n"
      ".SH GAMEPAD\nThe D\\-pad and the left stick walk, the right stick moves the pointer, the south button "
      "(A) is a left click and the west button (X) a right click, Start is Return, and the east button (B) or "
      "Back is Escape.\n"
      ".SH FILES\nThe art (*.bmp), the sounds (*.wav) and the block templates (*.txt) are read from the data "
      "folder, " ORVALIS_INSTALL_DATADIR " as installed. d\\-bug_log.txt is created empty at every start in "
      "$XDG_STATE_HOME/orvalis; a game run from its build folder or with \\-\\-data writes it into the data "
      "folder when it can. The settings are kept in $XDG_CONFIG_HOME/orvalis/settings.toml "
      "(~/.config/orvalis/settings.toml when it is not set); a damaged file is kept beside it as "
      "settings.toml.bad before it is replaced. The game in progress is kept in "
      "$XDG_STATE_HOME/orvalis/saved\\-game.json (~/.local/state/orvalis when the variable is unset) and taken "
      "up again with \\-\\-resume.\n",
      out);
  if (out != stdout) std::fclose(out);
  return 0;
}

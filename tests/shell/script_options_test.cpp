// The script language and the command line: what is accepted, and what is refused with the line.
#include <gtest/gtest.h>

#include "shell/options.h"
#include "shell/script.h"

namespace {

Script Parse_Ok(const std::string& text) {
  Script s;
  std::string error;
  EXPECT_EQ(Parse_Script(text, "t.txt", &s, &error), 1) << error;
  return s;
}

std::string Parse_Error(const std::string& text) {
  Script s;
  std::string error;
  EXPECT_EQ(Parse_Script(text, "t.txt", &s, &error), 0);
  return error;
}

TEST(Script, ReadsEveryCommandSkippingBlanksAndComments) {
  Script s = Parse_Ok(
      "# a comment line\n"
      "\n"
      "key down RETURN   # trailing comment\n"
      "key up A\r\n"
      "mouse move 421 440\n"
      "mouse down left\n"
      "mouse up right\n"
      "frames 30\n"
      "screenshot out dir/shot one.png\n"
      "state s.json\n"
      "seed 4294967295\n"
      "close\n");
  ASSERT_EQ(s.commands.size(), 10u);
  EXPECT_EQ(s.commands[0].op, SCRIPT_KEY_DOWN);
  EXPECT_EQ(s.commands[0].a, 13);
  EXPECT_EQ(s.commands[0].line, 3);
  EXPECT_EQ(s.commands[1].op, SCRIPT_KEY_UP);
  EXPECT_EQ(s.commands[1].a, 65);
  EXPECT_EQ(s.commands[2].op, SCRIPT_MOUSE_MOVE);
  EXPECT_EQ(s.commands[2].a, 421);
  EXPECT_EQ(s.commands[2].b, 440);
  EXPECT_EQ(s.commands[3].op, SCRIPT_MOUSE_DOWN);
  EXPECT_EQ(s.commands[3].a, 0);
  EXPECT_EQ(s.commands[4].op, SCRIPT_MOUSE_UP);
  EXPECT_EQ(s.commands[4].a, 1);
  EXPECT_EQ(s.commands[5].a, 30);
  EXPECT_EQ(s.commands[6].path, "out dir/shot one.png");
  EXPECT_EQ(s.commands[7].op, SCRIPT_STATE);
  EXPECT_EQ(s.commands[8].a, 4294967295LL);
  EXPECT_EQ(s.commands[9].op, SCRIPT_CLOSE);
}

TEST(Script, NamesTheLineOfEachMistake) {
  EXPECT_EQ(Parse_Error("frames 1\nkey down Q\n"),
            "t.txt:2: unknown key 'Q' (ESCAPE, RETURN, LEFT, RIGHT, UP, DOWN, A, SPACE, F1, W, S, D, C)");
  EXPECT_EQ(Parse_Error("setting display.scale 9\n").rfind("t.txt:1: setting needs a setting and a value", 0),
            0u);
  EXPECT_EQ(Parse_Error("jump 3\n"), "t.txt:1: unknown command 'jump'");
  EXPECT_NE(Parse_Error("\n\nframes -1\n").find("t.txt:3:"), std::string::npos);
  EXPECT_NE(Parse_Error("frames 12x\n").find("t.txt:1:"), std::string::npos);
  EXPECT_NE(Parse_Error("frames 99999999999\n").find("t.txt:1:"), std::string::npos);
  EXPECT_NE(Parse_Error("mouse move 10\n").find("t.txt:1:"), std::string::npos);
  EXPECT_NE(Parse_Error("mouse move 10 70000\n").find("t.txt:1:"), std::string::npos);
  EXPECT_NE(Parse_Error("mouse down middle\n").find("t.txt:1:"), std::string::npos);
  EXPECT_NE(Parse_Error("screenshot\n").find("t.txt:1:"), std::string::npos);
  EXPECT_NE(Parse_Error("close now\n").find("t.txt:1:"), std::string::npos);
  EXPECT_NE(Parse_Error("seed -4\n").find("t.txt:1:"), std::string::npos);
}

TEST(Script, UnreadableFileIsAnErrorNamingIt) {
  Script s;
  std::string error;
  EXPECT_EQ(Load_Script("/nonexistent/dir/script.txt", &s, &error), 0);
  EXPECT_NE(error.find("/nonexistent/dir/script.txt"), std::string::npos);
  // A folder is no empty script, and an endless device is not read until memory runs out.
  for (const char* path : {"/", "/dev/zero"}) {
    error.clear();
    EXPECT_EQ(Load_Script(path, &s, &error), 0) << path;
    EXPECT_NE(error.find(path), std::string::npos) << error;
  }
}

int Parse(std::vector<const char*> args, Options* o, std::string* error) {
  args.insert(args.begin(), "orvalis");
  return Parse_Options(static_cast<int>(args.size()), args.data(), o, error);
}

TEST(Options, EveryOptionSetsItsField) {
  Options o;
  std::string error;
  ASSERT_EQ(Parse({"--windowed", "--scale", "3", "--integer-scaling", "--smooth", "--seed", "77",
                   "--headless", "--script", "a.txt"},
                  &o, &error),
            1)
      << error;
  EXPECT_FALSE(o.platform.fullscreen);
  EXPECT_EQ(o.platform.scale, 3);
  EXPECT_TRUE(o.platform.integer_scaling);
  EXPECT_TRUE(o.platform.smooth);
  EXPECT_EQ(o.seed, 77);
  EXPECT_EQ(o.platform.backend, BACKEND_HEADLESS);
  EXPECT_EQ(o.script, "a.txt");
  // The display options are also the run's settings, laid over the settings file.
  EXPECT_EQ(o.setting_lines,
            (std::vector<std::string>{"display.fullscreen = false", "display.scale = 3",
                                      "display.integer_scaling = true", "display.smooth = true"}));

  Options c;
  ASSERT_EQ(Parse({"--comforts", "--settings", "s.toml", "--computer", "both"}, &c, &error), 1) << error;
  EXPECT_EQ(c.settings_file, "s.toml");
  EXPECT_EQ(c.setting_lines, (std::vector<std::string>{"comforts.all = true", "computer.side = \"both\""}));

  Options d;
  ASSERT_EQ(Parse({}, &d, &error), 1);
  EXPECT_TRUE(d.platform.fullscreen);
  EXPECT_EQ(d.platform.backend, BACKEND_SDL);
  EXPECT_EQ(d.seed, -1);
  EXPECT_TRUE(d.setting_lines.empty());
}

TEST(Options, BadValuesAndUnknownOptionsAreRefused) {
  Options o;
  std::string error;
  EXPECT_EQ(Parse({"--frobnicate"}, &o, &error), 0);
  EXPECT_EQ(error, "unknown option '--frobnicate'");
  EXPECT_EQ(Parse({"--seed"}, &o, &error), 0);
  EXPECT_EQ(error, "option --seed needs an argument N");
  EXPECT_EQ(Parse({"--scale", "0"}, &o, &error), 0);
  EXPECT_EQ(Parse({"--scale", "two"}, &o, &error), 0);
  EXPECT_EQ(Parse({"--seed", "-1"}, &o, &error), 0);
  EXPECT_EQ(Parse({"--seed", "4294967296"}, &o, &error), 0);
}

TEST(Options, HelpListsEveryOptionOnItsOwnLine) {
  const std::string help = Help_Text();
  for (int k = 0; k < option_count; ++k) {
    const std::string line = std::string("\n  ") + option_table[k].name;
    EXPECT_NE(help.find(line), std::string::npos) << option_table[k].name;
  }
  EXPECT_EQ(Usage_Line().rfind("usage: orvalis", 0), 0u);
}

}  // namespace

#include "shell/script.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "platform/platform.h"
#include "settings/settings.h"
#include "shell/computer.h"
#include "shell/hands.h"
#include "shell/state_dump.h"

const ScriptKey script_keys[SCRIPT_KEY_COUNT] = {
    {"ESCAPE", VK_ESCAPE}, {"RETURN", VK_RETURN}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT},
    {"UP", VK_UP},         {"DOWN", VK_DOWN},     {"A", VK_A},       {"SPACE", VK_SPACE},
    {"F1", VK_F1},         {"W", VK_W},           {"S", VK_S},       {"D", VK_D},
    {"C", VK_C}};

namespace {

bool Parse_Int(const std::string& word, long long lo, long long hi, int64_t* out) {
  if (word.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(word.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  *out = v;
  return true;
}

// The rest of the line after the command word, trimmed: a path may hold spaces.
std::string Rest_Of_Line(const std::string& line, size_t after_word) {
  size_t b = line.find_first_not_of(" \t", after_word);
  if (b == std::string::npos) return "";
  size_t e = line.find_last_not_of(" \t");
  return line.substr(b, e - b + 1);
}

}  // namespace

int Parse_Script(const std::string& text, const std::string& name, Script* out, std::string* error) {
  out->commands.clear();
  std::istringstream in(text);
  std::string raw;
  int line_no = 0;
  auto fail = [&](const std::string& what) {
    *error = name + ":" + std::to_string(line_no) + ": " + what;
    return 0;
  };
  while (std::getline(in, raw)) {
    ++line_no;
    std::string line = raw.substr(0, raw.find('#'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    if (w.empty()) continue;

    ScriptCommand c{};
    c.line = line_no;
    const std::string& cmd = w[0];
    if (cmd == "key") {
      if (w.size() != 3 || (w[1] != "down" && w[1] != "up"))
        return fail("expected 'key down NAME' or 'key up NAME'");
      c.op = w[1] == "down" ? SCRIPT_KEY_DOWN : SCRIPT_KEY_UP;
      c.a = -1;
      std::string known;
      for (const ScriptKey& k : script_keys) {
        if (w[2] == k.name) c.a = k.code;
        known += std::string(known.empty() ? "" : ", ") + k.name;
      }
      if (c.a < 0) return fail("unknown key '" + w[2] + "' (" + known + ")");
    } else if (cmd == "mouse") {
      if (w.size() == 4 && w[1] == "move") {
        c.op = SCRIPT_MOUSE_MOVE;
        if (!Parse_Int(w[2], 0, 65535, &c.a) || !Parse_Int(w[3], 0, 65535, &c.b))
          return fail("mouse move needs two coordinates from 0 to 65535");
      } else if (w.size() == 3 && (w[1] == "down" || w[1] == "up")) {
        c.op = w[1] == "down" ? SCRIPT_MOUSE_DOWN : SCRIPT_MOUSE_UP;
        if (w[2] == "left") c.a = 0;
        else if (w[2] == "right") c.a = 1;
        else return fail("expected 'left' or 'right', not '" + w[2] + "'");
      } else {
        return fail("expected 'mouse move X Y', 'mouse down left|right' or 'mouse up left|right'");
      }
    } else if (cmd == "frames") {
      c.op = SCRIPT_FRAMES;
      if (w.size() != 2 || !Parse_Int(w[1], 0, INT_MAX, &c.a)) return fail("frames needs a count from 0 up");
    } else if (cmd == "seed") {
      c.op = SCRIPT_SEED;
      if (w.size() != 2 || !Parse_Int(w[1], 0, UINT32_MAX, &c.a))
        return fail("seed needs a number from 0 to 4294967295");
    } else if (cmd == "computer") {
      c.op = SCRIPT_COMPUTER;
      c.a = w.size() == 2 ? Parse_Computer_Side(w[1]) : -1;
      if (c.a < 0) return fail("computer needs 1, 2, both or off");
    } else if (cmd == "level") {
      c.op = SCRIPT_LEVEL;
      c.a = w.size() == 2 ? Parse_Computer_Level(w[1]) : -1;
      if (c.a < 0) return fail("level needs easy, normal or hard");
    } else if (cmd == "setting") {
      c.op = SCRIPT_SETTING;
      c.path =
          w.size() >= 3
              ? w[1] + " = " + Rest_Of_Line(line, line.find(w[1], line.find(cmd) + cmd.size()) + w[1].size())
              : "";
      Settings scratch = Default_Settings();
      std::vector<std::string> problems;
      if (c.path.empty() || !Read_Settings_Text(c.path, "setting", &scratch, &problems))
        return fail("setting needs a setting and a value it takes, as the settings file spells them" +
                    (problems.empty() ? std::string() : " (" + problems.front() + ")"));
    } else if (cmd == "screenshot" || cmd == "state") {
      c.op = cmd == "screenshot" ? SCRIPT_SCREENSHOT : SCRIPT_STATE;
      c.path = Rest_Of_Line(line, line.find(cmd) + cmd.size());
      if (c.path.empty()) return fail(cmd + " needs a file path");
    } else if (cmd == "close") {
      if (w.size() != 1) return fail("close takes no arguments");
      c.op = SCRIPT_CLOSE;
    } else {
      return fail("unknown command '" + cmd + "'");
    }
    out->commands.push_back(c);
  }
  return 1;
}

int Load_Script(const char* path, Script* out, std::string* error) {
  std::string text, why;
  if (Platform_Read_Regular_File(path, SCRIPT_MAX_BYTES, &text, &why) != PLATFORM_READ_OK) {
    *error = std::string(path) + ": cannot read the script: " + why;
    return 0;
  }
  return Parse_Script(text, path, out, error);
}

namespace {
// After the window is closed the quit arrives within a few passes; this bounds a run whose
// game never takes it.
constexpr int64_t MAX_PASSES_AFTER_CLOSE = 100000;
int32_t script_pointer_x = 0, script_pointer_y = 0;

void Post(uint32_t message, uint32_t wparam) {
  PlatformMessage m;
  m.message = message;
  m.wparam = wparam;
  m.lparam = static_cast<uint32_t>(script_pointer_x) | (static_cast<uint32_t>(script_pointer_y) << 16);
  m.source = SOURCE_SCRIPT;
  Platform_Post_Message(m);
}
}  // namespace

int Script_Before_Pass(ScriptRunner* r) {
  if (r->closed) return ++r->passes_after_close <= MAX_PASSES_AFTER_CLOSE;
  if (r->frames_left > 0) {
    --r->frames_left;
    return 1;
  }
  while (r->next < r->script->commands.size()) {
    const ScriptCommand& c = r->script->commands[r->next++];
    switch (c.op) {
      case SCRIPT_KEY_DOWN: Platform_Set_Source_Key(SOURCE_SCRIPT, static_cast<int>(c.a), true); break;
      case SCRIPT_KEY_UP: Platform_Set_Source_Key(SOURCE_SCRIPT, static_cast<int>(c.a), false); break;
      case SCRIPT_MOUSE_MOVE:
        script_pointer_x = static_cast<int32_t>(c.a);
        script_pointer_y = static_cast<int32_t>(c.b);
        Post(MSG_MOUSEMOVE, r->buttons);
        break;
      case SCRIPT_MOUSE_DOWN:
        r->buttons |= c.a == 0 ? MK_LBUTTON : MK_RBUTTON;
        Post(c.a == 0 ? MSG_LBUTTONDOWN : MSG_RBUTTONDOWN, r->buttons);
        break;
      case SCRIPT_MOUSE_UP:
        r->buttons &= ~(c.a == 0 ? MK_LBUTTON : MK_RBUTTON);
        Post(c.a == 0 ? MSG_LBUTTONUP : MSG_RBUTTONUP, r->buttons);
        break;
      case SCRIPT_FRAMES:
        if (c.a > 0) {
          r->frames_left = c.a - 1;
          return 1;
        }
        break;
      case SCRIPT_SCREENSHOT:
        if (std::string error; !Write_Screenshot(c.path.c_str(), &error)) {
          Platform_Debug_Output(
              ("orvalis: cannot write the screenshot \"" + c.path + "\": " + error + "\n").c_str());
          ++r->failures;
        }
        break;
      case SCRIPT_STATE:
        if (!Write_Game_State(c.path.c_str())) {
          Platform_Debug_Output(("orvalis: cannot write the state \"" + c.path + "\"\n").c_str());
          ++r->failures;
        }
        break;
      case SCRIPT_SEED:
      case SCRIPT_COMPUTER:
      case SCRIPT_LEVEL:
      case SCRIPT_SETTING:
        break;  // taken before start-up
      case SCRIPT_CLOSE:
        // Closing the window, as a person does: the game may ask first, and the script goes on to
        // answer.
        Post(MSG_DESTROY, 0);
        return 1;
    }
  }
  // The script's end ends the run, whatever the game would ask.
  r->closed = true;
  Platform_Post_Quit(0);
  return 1;
}

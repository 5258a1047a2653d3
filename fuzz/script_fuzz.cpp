// The script parser fed arbitrary text: an accepted script holds only commands the runner can play,
// written back out it parses to the same commands, and a refused one names its line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/platform.h"
#include "shell/computer.h"
#include "shell/script.h"

namespace {

const char* Key_Name(int64_t code) {
  for (const ScriptKey& k : script_keys)
    if (k.code == code) return k.name;
  return nullptr;
}

// The command as a script line; lines end in CR LF so that a path ending in a carriage return keeps it.
std::string Write_Command(const ScriptCommand& c) {
  switch (c.op) {
    case SCRIPT_KEY_DOWN:
      return std::string("key down ") + Key_Name(c.a) + "\r\n";
    case SCRIPT_KEY_UP:
      return std::string("key up ") + Key_Name(c.a) + "\r\n";
    case SCRIPT_MOUSE_MOVE:
      return "mouse move " + std::to_string(c.a) + " " + std::to_string(c.b) + "\r\n";
    case SCRIPT_MOUSE_DOWN:
      return std::string("mouse down ") + (c.a == 0 ? "left" : "right") + "\r\n";
    case SCRIPT_MOUSE_UP:
      return std::string("mouse up ") + (c.a == 0 ? "left" : "right") + "\r\n";
    case SCRIPT_FRAMES:
      return "frames " + std::to_string(c.a) + "\r\n";
    case SCRIPT_SCREENSHOT:
      return "screenshot " + c.path + "\r\n";
    case SCRIPT_STATE:
      return "state " + c.path + "\r\n";
    case SCRIPT_CLOSE:
      return "close\r\n";
    case SCRIPT_SEED:
      return "seed " + std::to_string(c.a) + "\r\n";
    case SCRIPT_COMPUTER:
      return std::string("computer ") + Computer_Side_Name(static_cast<int32_t>(c.a)) + "\r\n";
    case SCRIPT_LEVEL:
      return std::string("level ") + Computer_Level_Name(static_cast<int32_t>(c.a)) + "\r\n";
    case SCRIPT_SETTING: {
      const size_t eq = c.path.find(" = ");
      return "setting " + c.path.substr(0, eq) + " " + c.path.substr(eq + 3) + "\r\n";
    }
  }
  return "";
}

void Check_Command(const ScriptCommand& c) {
  FUZZ_CHECK(c.line >= 1);
  switch (c.op) {
    case SCRIPT_KEY_DOWN:
    case SCRIPT_KEY_UP:
      FUZZ_CHECK(Key_Name(c.a) != nullptr);
      break;
    case SCRIPT_MOUSE_MOVE:
      FUZZ_CHECK(c.a >= 0 && c.a <= 65535 && c.b >= 0 && c.b <= 65535);
      break;
    case SCRIPT_MOUSE_DOWN:
    case SCRIPT_MOUSE_UP:
      FUZZ_CHECK(c.a == 0 || c.a == 1);
      break;
    case SCRIPT_FRAMES:
      FUZZ_CHECK(c.a >= 0 && c.a <= INT32_MAX);
      break;
    case SCRIPT_SEED:
      FUZZ_CHECK(c.a >= 0 && c.a <= UINT32_MAX);
      break;
    case SCRIPT_SCREENSHOT:
    case SCRIPT_STATE:
      FUZZ_CHECK(!c.path.empty() && c.path.find('\n') == std::string::npos &&
                 c.path.find('#') == std::string::npos);
      FUZZ_CHECK(c.path.front() != ' ' && c.path.front() != '\t' && c.path.back() != ' ' &&
                 c.path.back() != '\t');
      break;
    case SCRIPT_CLOSE:
      break;
    case SCRIPT_COMPUTER:
      FUZZ_CHECK(c.a >= COMPUTER_NONE && c.a <= COMPUTER_BOTH);
      break;
    case SCRIPT_LEVEL:
      FUZZ_CHECK(c.a >= LEVEL_EASY && c.a <= LEVEL_HARD);
      break;
    case SCRIPT_SETTING:
      FUZZ_CHECK(c.path.find(" = ") != std::string::npos && c.path.find('\n') == std::string::npos);
      break;
    default:
      FUZZ_CHECK(false);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Script script;
  std::string error;
  if (Parse_Script(text, "fuzz.txt", &script, &error) != 1) {
    // "fuzz.txt:LINE: what", the line counted from 1.
    FUZZ_CHECK(error.rfind("fuzz.txt:", 0) == 0);
    size_t i = 9;
    while (i < error.size() && error[i] >= '0' && error[i] <= '9') ++i;
    FUZZ_CHECK(i > 9 && error[9] != '0' && error.compare(i, 2, ": ") == 0 && error.size() > i + 2);
    return 0;
  }
  FUZZ_CHECK(error.empty());
  std::string written;
  for (const ScriptCommand& c : script.commands) {
    Check_Command(c);
    written += Write_Command(c);
  }
  Script again;
  FUZZ_CHECK(Parse_Script(written, "again.txt", &again, &error) == 1);
  FUZZ_CHECK(again.commands.size() == script.commands.size());
  for (size_t k = 0; k < again.commands.size(); ++k) {
    const ScriptCommand &a = script.commands[k], &b = again.commands[k];
    FUZZ_CHECK(a.op == b.op && a.a == b.a && a.b == b.b && a.path == b.path);
    FUZZ_CHECK(b.line == static_cast<int>(k) + 1);
  }
  return 0;
}

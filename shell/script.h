// Scripts of input for the headless (or demo) run: parsed before the game starts, then played
// between passes of the main loop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum ScriptOp : int32_t {
  SCRIPT_KEY_DOWN,
  SCRIPT_KEY_UP,
  SCRIPT_MOUSE_MOVE,
  SCRIPT_MOUSE_DOWN,
  SCRIPT_MOUSE_UP,
  SCRIPT_FRAMES,
  SCRIPT_SCREENSHOT,
  SCRIPT_STATE,
  SCRIPT_CLOSE,
  SCRIPT_SEED,
  SCRIPT_COMPUTER,  // who the computer plays (a = COMPUTER_*), taken before start-up
  SCRIPT_LEVEL,     // the computer's level (a = LEVEL_*), taken before start-up
  SCRIPT_SETTING,   // a setting for the run (path = "section.key = value"), taken before start-up
};

// The keys scripts press by name (and recordings record).
struct ScriptKey {
  const char* name;
  int code;
};
constexpr int SCRIPT_KEY_COUNT = 13;
extern const ScriptKey script_keys[SCRIPT_KEY_COUNT];

struct ScriptCommand {
  ScriptOp op;
  int64_t a = 0;     // key code, x, button (0 left, 1 right), frame count or seed
  int64_t b = 0;     // y
  std::string path;  // a screenshot's or state dump's file; a setting's line
  int line = 0;
};

struct Script {
  std::vector<ScriptCommand> commands;
};

// Parses script text; on failure returns 0 and sets *error to "NAME:LINE: what is wrong".
int Parse_Script(const std::string& text, const std::string& name, Script* out, std::string* error);
// The largest script read: far more than hours of recorded play.
constexpr size_t SCRIPT_MAX_BYTES = 64u << 20;
// Reads and parses a script file: a regular file of at most SCRIPT_MAX_BYTES (a folder, a FIFO or a
// device is refused without waiting on it); an unreadable file is an error naming it and why.
int Load_Script(const char* path, Script* out, std::string* error);

// Plays a script between passes of the main loop.
struct ScriptRunner {
  const Script* script = nullptr;
  size_t next = 0;
  int64_t frames_left = 0;
  uint32_t buttons = 0;  // key-state word of the buttons the script holds
  bool closed = false;
  int64_t passes_after_close = 0;
  int failures = 0;  // screenshots or state dumps that could not be written
};

// Runs the script's commands up to its next pass; returns 1 when the loop should run a pass,
// 0 when the run must end now (the script ended long ago and the quit was never taken).
int Script_Before_Pass(ScriptRunner* runner);

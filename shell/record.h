// Recording what the player does, in the script language, so that a headless run of the
// recording replays the same game: key changes and the input messages each pass took, with
// "frames N" between them and the start-up seed first.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/script.h"

constexpr int RECORDED_KEY_COUNT = SCRIPT_KEY_COUNT;

struct Recorder {
  std::FILE* out = nullptr;            // the temporary file the recording is written into
  PlatformAtomicFile file;             // which takes the recording's place when it is closed whole
  int64_t pending_frames = 0;          // passes since the last recorded event
  bool keys[RECORDED_KEY_COUNT] = {};  // the last seen state of the keys scripts know
  uint32_t buttons = 0;                // buttons held, as the replay will track them
};

// Creates a temporary file beside the recording's path (through a symbolic link to its target; what
// stands at the path is left as it is until the recording is closed whole) and writes the settings the
// replay needs first (the seed, who the computer plays and its level, and the given settings lines, as
// the script commands give them); 1 on success, else 0 with *error (when given).
int Open_Recorder(Recorder* r, const char* path, uint32_t seed, const char* computer, const char* level,
                  const std::vector<std::string>& settings = {}, std::string* error = nullptr);
// At the start of a pass: writes every key the person changed since the last pass.
void Record_Keys(Recorder* r);
// The message the pass took (pointer moves, buttons, and the window's close); the caller passes only
// the person's, not the computer's.
void Record_Message(Recorder* r, const PlatformMessage& msg);
// At the end of a pass.
void Record_Pass(Recorder* r);
// Writes the passes not yet written, closes the file and puts it in the recording's place; 1 when
// everything was written. When anything failed, the temporary file goes and the path keeps what it
// held (*error, when given, says why).
int Close_Recorder(Recorder* r, std::string* error = nullptr);

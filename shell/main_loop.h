// The shell: the window procedure, the main loop with its state machine, and the run from
// start-up to shutdown.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct ScriptRunner;
struct Recorder;

int32_t Window_Proc(uint32_t message, uint32_t wparam, uint32_t lparam);
// One frame of the current state and, when the frame changed the state, its transition.
void Run_State_Frame();
// Takes at most one message and runs one frame per pass until the quit message; returns its code.
// A script, when given, is played between passes; a recorder, when given, writes what happened.
int Main_Loop(ScriptRunner* runner, Recorder* recorder);

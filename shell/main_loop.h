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
// One pass of the main loop: takes at most one message and runs one frame of the current state.
// Returns PASS_GOES_ON, or the run's exit code once the quit message is taken. A script, when given,
// is played between passes; a recorder, when given, writes what happened.
constexpr int PASS_GOES_ON = PLATFORM_PASS_GOES_ON;
int Main_Loop_Pass(ScriptRunner* runner, Recorder* recorder);
// Runs passes back to back until the quit message; returns its code.
int Main_Loop(ScriptRunner* runner, Recorder* recorder);

// The F1 overlay in the main loop. F1 opens it in any state (after a brick-wall transition that was
// running, which it does not interrupt), F1 or Escape closes it. While it is open no frame of the game
// runs and nothing the game keeps changes; closing it puts back the very pictures that were on screen.
// Its settings page changes the run's settings and writes the settings file.
#pragma once

#include "platform/platform.h"

bool Help_Is_Open();
// At the start of a pass: opens the overlay when F1 was pressed.
void Help_Before_Pass();
// One pass of the open overlay, with the person's message the pass took (or null): pages, settings,
// closing, and a frame drawn and presented.
void Help_Pass(const PlatformMessage* msg);
// Closes the overlay (when open) and puts the game's pictures and input back.
void Close_Help();

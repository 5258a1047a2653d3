// Messages a person must see wherever they look: a failed save, a file set aside, a settings file
// with faults. Each goes to the debug output and stands over the top of whatever screen is up for a
// few seconds, one after another; it is drawn on the presented copy of the frame only, so no screen's
// pictures ever hold it.
#pragma once

#include <string>

// Says the text on the debug output (as "orvalis: TEXT"; not when the caller said it there already)
// and queues it for the window.
void Post_Notice(const std::string& text, bool on_debug_output = true);
// The notice on show now, or "".
const std::string& Notice_Shown();
// Forgets every notice (a run that starts over in the same process).
void Clear_Notices();
// From now on the notices are drawn over the presented frames.
void Show_Notices_In_Window();

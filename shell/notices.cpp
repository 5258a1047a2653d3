#include "shell/notices.h"

#include <algorithm>
#include <deque>

#include "common/panel_text.h"
#include "graphics/clock_text.h"
#include "graphics/display.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t SHOWN_MS = 8000;
constexpr int MARGIN = 8, LINE = 16, MAX_LINES = 3;
constexpr uint32_t LIGHT = Text_Rgb(255, 236, 180), SHADOW = Text_Rgb(8, 6, 4);

std::deque<std::string> waiting;
std::string shown;
uint32_t shown_since = 0;

// Moves on to the next notice when the one on show has stood long enough.
void Advance() {
  const uint32_t now = Platform_Get_Ticks();
  if (!shown.empty() && now - shown_since < SHOWN_MS) return;
  shown.clear();
  if (waiting.empty()) return;
  shown = waiting.front();
  waiting.pop_front();
  shown_since = now;
}

bool Notice_On_Show() {
  Advance();
  return !shown.empty();
}

// A dark band over the top of the frame with the notice in light letters.
void Draw_Notice(Surface* frame) {
  const std::vector<std::string> lines = Wrap_Text(shown, SCREEN_WIDTH - 2 * MARGIN, MAX_LINES);
  const int bottom = std::min(frame->height, MARGIN + LINE * static_cast<int>(lines.size()) + MARGIN / 2);
  for (int y = 0; y < bottom; ++y) {
    uint16_t* row = frame->pixels + static_cast<size_t>(y) * (frame->pitch / 2);
    for (int x = 0; x < frame->width; ++x) row[x] = static_cast<uint16_t>((row[x] >> 2) & 0x39E7);
  }
  int y = MARGIN / 2 + 2;
  for (const std::string& line : lines) {
    Draw_Text_RGB(line.c_str(), MARGIN + 1, y + 1, SHADOW, frame);
    Draw_Text_RGB(line.c_str(), MARGIN, y, LIGHT, frame);
    y += LINE;
  }
}

}  // namespace

void Post_Notice(const std::string& text, bool on_debug_output) {
  if (on_debug_output) Platform_Debug_Output(("orvalis: " + text + "\n").c_str());
  if (waiting.size() < 8) waiting.push_back(text);
}

const std::string& Notice_Shown() {
  Advance();
  return shown;
}

void Clear_Notices() {
  waiting.clear();
  shown.clear();
}

void Show_Notices_In_Window() {
  present_overlay.shown = Notice_On_Show;
  present_overlay.draw = Draw_Notice;
}

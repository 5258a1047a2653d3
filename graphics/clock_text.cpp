// The frame clock over the platform's tick count, text drawn from the platform's coverage masks, the
// optional error log and the debug output.
#include "graphics/clock_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/display.h"
#include "platform/platform.h"

uint32_t frame_start = 0;
FILE* error_log = nullptr;

uint32_t Get_Clock() { return Platform_Get_Ticks(); }

uint32_t Start_Clock() {
  frame_start = Get_Clock();
  return frame_start;
}

uint32_t Wait_Clock(uint32_t count) {
  // Unsigned differences, so the wrap of the tick count after 2^32 ms does not stall the wait. The
  // platform sleeps to the target rather than spinning (a virtual clock only moves when waited on).
  if (Get_Clock() - frame_start < count) Platform_Wait_Until(frame_start + count);
  return Get_Clock();
}

namespace {

// Masks of the strings drawn lately, most recent first: a screen draws the same labels and counters
// every frame, and rasterising them again costs more than blending them.
struct KeptMask {
  std::string text;
  TextMask mask;
};
constexpr size_t MAX_KEPT_MASKS = 32;
std::vector<KeptMask> kept_masks;

const TextMask* Text_Mask(const char* text) {
  auto found = std::find_if(kept_masks.begin(), kept_masks.end(),
                            [text](const KeptMask& k) { return k.text == text; });
  if (found != kept_masks.end()) {
    std::rotate(kept_masks.begin(), found, found + 1);
    return &kept_masks.front().mask;
  }
  TextMask mask;
  if (!Platform_Render_Text(text, 0, &mask)) return nullptr;
  if (kept_masks.size() == MAX_KEPT_MASKS) kept_masks.pop_back();
  kept_masks.insert(kept_masks.begin(), KeptMask{text, std::move(mask)});
  return &kept_masks.front().mask;
}

}  // namespace

int Draw_Text(const char* text, int x, int y, int color_index, Surface* surface) {
  if (color_index < 0 || color_index > 255) return 0;
  const PALETTEENTRY& e = display.shadow_palette[color_index];
  uint32_t color = e.peRed | static_cast<uint32_t>(e.peGreen) << 8 | static_cast<uint32_t>(e.peBlue) << 16;
  return Draw_Text_RGB(text, x, y, color, surface);
}

int Text_Width(const char* text) {
  TextMask mask;
  return text != nullptr && text[0] != '\0' && Platform_Render_Text(text, 0, &mask) ? mask.width : 0;
}

std::vector<std::string> Wrap_Text(const std::string& text, int max_w, int max_lines) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    std::string word = text.substr(at, end - at);
    at = end + 1;
    std::string longer = line.empty() ? word : line + " " + word;
    while (Text_Width(longer.c_str()) > max_w) {
      if (!line.empty()) {
        lines.push_back(line);
        line.clear();
        longer = word;
        continue;
      }
      size_t fit = longer.size();
      while (fit > 1 && Text_Width(longer.substr(0, fit).c_str()) > max_w) --fit;
      lines.push_back(longer.substr(0, fit));
      word = longer = longer.substr(fit);
    }
    line = longer;
  }
  if (!line.empty()) lines.push_back(line);
  if (static_cast<int>(lines.size()) > max_lines) {
    lines.resize(static_cast<size_t>(max_lines));
    std::string& last = lines.back();
    while (!last.empty() && Text_Width((last + " ...").c_str()) > max_w) last.pop_back();
    last += " ...";
  }
  return lines;
}

// The glyphs are blended into the surface by their coverage: full coverage gives exactly the colour,
// none leaves the pixel, and the edges mix the two per channel.
int Draw_Text_RGB(const char* text, int x, int y, uint32_t color, Surface* surface) {
  if (text == nullptr || surface == nullptr || surface->pixels == nullptr || surface->locked) return 0;
  if (text[0] == '\0') return 1;
  const TextMask* kept = Text_Mask(text);
  if (kept == nullptr) return 0;
  const TextMask& mask = *kept;
  if (mask.width <= 0 || mask.height <= 0 ||
      mask.coverage.size() < static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height)) {
    return 0;
  }
  Touch_Surface(surface);
  if (draw_trace_hook != nullptr) {
    DrawRecord record;
    record.kind = DRAW_TEXT;
    record.dest = surface;
    auto edge = [](int at, int size) {
      return static_cast<int32_t>(std::min<int64_t>(INT32_MAX, int64_t{at} + size));
    };
    record.dest_rect = RECT{x, y, edge(x, mask.width), edge(y, mask.height)};
    record.rgb = color;
    record.text = text;
    draw_trace_hook(record);
  }
  int red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
  int64_t left = std::max<int64_t>(0, x), top = std::max<int64_t>(0, y);
  int64_t right = std::min<int64_t>(surface->width, int64_t{x} + mask.width);
  int64_t bottom = std::min<int64_t>(surface->height, int64_t{y} + mask.height);
  int words = surface->pitch / 2;
  for (int64_t py = top; py < bottom; ++py) {
    const uint8_t* cover = mask.coverage.data() + (py - y) * mask.width;
    uint16_t* row = surface->pixels + py * words;
    for (int64_t px = left; px < right; ++px) {
      int a = cover[px - x];
      if (a == 0) continue;
      uint16_t d = row[px];
      int dr = (d >> 11) << 3 | (d >> 13), dg = ((d >> 5) & 63) << 2 | ((d >> 9) & 3);
      int db = (d & 31) << 3 | ((d >> 2) & 7);
      int r = dr + ((red - dr) * a) / 255, g = dg + ((green - dg) * a) / 255,
          b = db + ((blue - db) * a) / 255;
      row[px] = static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
    }
  }
  return 1;
}

int Open_Error_Log(const char* filename) {
  if (filename == nullptr) return 0;
  FILE* file = std::fopen(filename, "w");
  if (file == nullptr) return 0;
  if (error_log != nullptr) Close_Error_Log();
  error_log = file;
  Write_Error("\nOpening Error Output File (%s):\n", filename);
  return 1;
}

int Close_Error_Log() {
  if (error_log == nullptr) return 0;
  Write_Error("\nClosing Error Output File.");
  std::fclose(error_log);
  error_log = nullptr;
  return 1;
}

int Write_Error(const char* format, ...) {
  if (format == nullptr || error_log == nullptr) return 0;
  char buffer[80];  // longer messages are cut to 79 characters
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::fputs(buffer, error_log);
  return 1;
}

void Debug_Print(const char* format, ...) {
  if (format == nullptr) return;
  char buffer[1024];  // longer messages are cut to 1023 characters
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  Platform_Debug_Output(buffer);
}

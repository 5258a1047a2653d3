// Text rasterising with SDL2_ttf and a bold sans-serif face found through fontconfig. Needs no window
// and no SDL video: the headless backend and the art generator call it too. Opened fonts are cached
// by size and released in Platform_Close or at exit.
#include <SDL.h>
#include <SDL_ttf.h>
#ifndef ORVALIS_FONT_FILE
#include <fontconfig/fontconfig.h>
#endif

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform_internal.h"

namespace {

// The game's default size: DejaVu Sans Bold at 13 points (SDL_ttf counts 72 dots an inch, so points
// are pixels) gives a 16-pixel line with capitals 10 pixels tall, the measure of an 8 x 16 system font.
constexpr int kDefaultPointSize = 13;
constexpr int kMaxFonts = 16;

struct FontSlot {
  int size;
  TTF_Font* font;
};

// Plain storage, so that the exit handler never meets an already destroyed object.
FontSlot font_slots[kMaxFonts];
int font_count = 0;
bool ttf_started = false;
bool exit_handler_set = false;
bool font_missing_reported = false;
#ifndef ORVALIS_FONT_FILE
bool font_path_searched = false;
char font_path[4096];
#endif

void Release_All() {
  for (int i = 0; i < font_count; ++i) TTF_CloseFont(font_slots[i].font);
  font_count = 0;
  if (ttf_started) {
    TTF_Quit();
    ttf_started = false;
  }
}

// Asks fontconfig for the file of "sans-serif:bold" once; an empty path when it has none. A build
// that ships its own font file (the browser's, which has no fontconfig) names it instead.
const char* Font_Path() {
#ifdef ORVALIS_FONT_FILE
  return ORVALIS_FONT_FILE;
#else
  if (font_path_searched) return font_path;
  font_path_searched = true;
  font_path[0] = '\0';
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return font_path;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:bold"));
  if (pattern) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match) {
      FcChar8* file = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        std::string path(reinterpret_cast<const char*>(file));
        if (path.size() < sizeof(font_path)) std::memcpy(font_path, path.c_str(), path.size() + 1);
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  FcFini();
  return font_path;
#endif
}

TTF_Font* Font(int size) {
  for (int i = 0; i < font_count; ++i)
    if (font_slots[i].size == size) return font_slots[i].font;
  if (!ttf_started) {
    if (TTF_Init() != 0) return nullptr;
    ttf_started = true;
    if (!exit_handler_set) {
      exit_handler_set = true;
      std::atexit(Release_All);
    }
  }
  const char* path = Font_Path();
  if (!path[0]) {
    if (!font_missing_reported) {
      font_missing_reported = true;
      Platform_Debug_Output("error ocurd: no font found for \"sans-serif:bold\" through fontconfig\n");
    }
    return nullptr;
  }
  TTF_Font* font = TTF_OpenFont(path, size);
  if (!font) {
    if (!font_missing_reported) {
      font_missing_reported = true;
      std::string text = std::string("error ocurd: cannot open the font ") + path + " for \"sans-serif:bold\"\n";
      Platform_Debug_Output(text.c_str());
    }
    return nullptr;
  }
  TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
  if (font_count == kMaxFonts) {  // full: the oldest size makes room
    TTF_CloseFont(font_slots[0].font);
    for (int i = 1; i < kMaxFonts; ++i) font_slots[i - 1] = font_slots[i];
    --font_count;
  }
  font_slots[font_count++] = FontSlot{size, font};
  return font;
}

}  // namespace

namespace platform_detail {
void Text_Shutdown() { Release_All(); }
}  // namespace platform_detail

int Platform_Render_Text(const char* text, int point_size, TextMask* out) {
  if (!text || !out) return 0;
  if (point_size <= 0) point_size = kDefaultPointSize;
  if (point_size > 512) return 0;
  TTF_Font* font = Font(point_size);
  if (!font) return 0;
  out->width = 0;
  out->height = TTF_FontHeight(font);
  out->coverage.clear();
  if (!text[0]) return 1;
  // Blended rendering: the glyphs' anti-aliased coverage is the surface's alpha.
  SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text, SDL_Color{255, 255, 255, 255});
  if (!rendered) return 0;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (!argb) return 0;
  out->width = argb->w;
  out->height = argb->h;
  out->coverage.assign(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h), 0);
  if (SDL_LockSurface(argb) == 0) {
    for (int y = 0; y < argb->h; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                          static_cast<ptrdiff_t>(y) * argb->pitch);
      for (int x = 0; x < argb->w; ++x)
        out->coverage[static_cast<size_t>(y) * static_cast<size_t>(argb->w) + static_cast<size_t>(x)] =
            static_cast<uint8_t>(row[x] >> 24);
    }
    SDL_UnlockSurface(argb);
  }
  SDL_FreeSurface(argb);
  return 1;
}

// Sound: effects and music themes in numbered slots, played through SDL2_mixer in the SDL backend and
// recorded as events by the headless one. Every file is read and checked here first, so a missing or
// damaged file is treated alike in both backends: named once on the debug output, then silent. With no
// audio device the game runs silent; nothing here touches the message queue, the clock or the frame.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/platform_internal.h"

namespace {

using namespace platform_detail;

enum Output { OUTPUT_NONE, OUTPUT_MIXER, OUTPUT_RECORD };

struct SoundSlot {
  bool loaded = false;
  Mix_Chunk* chunk = nullptr;
};

struct MusicSlot {
  bool loaded = false;
  std::vector<uint8_t> bytes;  // the mixer streams the theme from these
  Mix_Music* music = nullptr;
};

struct Audio {
  Output output = OUTPUT_NONE;
  std::array<SoundSlot, PLATFORM_SOUND_SLOTS> sounds;
  std::array<MusicSlot, PLATFORM_MUSIC_SLOTS> themes;
  int effects_volume = 100, music_volume = 100;
  bool paused = false;
  int playing = -1;  // the theme started last, -1 for none
  bool playing_loops = false;
  std::set<std::string> reported;  // files already named on the debug output
};

Audio audio;

void Say(const std::string& line) { Platform_Debug_Output((line + "\n").c_str()); }

uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// The whole file, or false when it cannot be read (or is implausibly large for a sound).
bool Read_File(const char* path, std::vector<uint8_t>* bytes) {
  FILE* f = path ? std::fopen(path, "rb") : nullptr;
  if (!f) return false;
  constexpr size_t kLimit = 64u << 20;
  uint8_t chunk[65536];
  size_t n;
  bool ok = true;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    bytes->insert(bytes->end(), chunk, chunk + n);
    if (bytes->size() > kLimit) {
      ok = false;
      break;
    }
  }
  ok = ok && !std::ferror(f);
  std::fclose(f);
  return ok;
}

// Reads and checks a sound file; names it once on the debug output when it is missing or damaged.
bool Read_Sound_File(const char* path, std::vector<uint8_t>* bytes) {
  PlatformWav wav;
  if (Read_File(path, bytes) && Platform_Parse_WAV(bytes->data(), bytes->size(), &wav)) return true;
  std::string name = path ? path : "(no name)";
  if (audio.reported.insert(name).second)
    Say("sound: " + name + " is missing or damaged; that sound stays silent");
  return false;
}

// The mixer's volume for a level in percent, with the mix's headroom taken off.
int Mixer_Volume(int percent) {
  return static_cast<int>(std::lround(std::clamp(percent, 0, 100) * MIX_MAX_VOLUME / 100.0 * PLATFORM_MIX_HEADROOM));
}

PlatformLimiter limiter;

// The mixer's last step before the device: the headroom given back, under the limiter.
void Limit_Output(void*, Uint8* stream, int bytes) {
  Platform_Limit_Mix(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(bytes) / sizeof(int16_t), &limiter);
}

// Standard error silenced for the length of a call: the system's sound libraries print lines of their
// own when they find no device, and the game says it once, in its own words.
class Quiet_Stderr {
 public:
  Quiet_Stderr() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~Quiet_Stderr() {
    std::fflush(stderr);
    if (saved_ >= 0) {
      dup2(saved_, STDERR_FILENO);
      close(saved_);
    }
  }
  Quiet_Stderr(const Quiet_Stderr&) = delete;
  Quiet_Stderr& operator=(const Quiet_Stderr&) = delete;

 private:
  int saved_ = -1;
};

bool Mixer_Open() {
  std::string failure;
  {
    Quiet_Stderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      failure = std::string("no audio device (") + SDL_GetError() + ")";
    } else if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
      failure = std::string("the audio device does not open (") + Mix_GetError() + ")";
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
  }
  if (!failure.empty()) {
    Say("sound: " + failure + "; the game runs silent");
    return false;
  }
  Mix_AllocateChannels(16);
  limiter = PlatformLimiter{};
  Mix_SetPostMix(Limit_Output, nullptr);
  Mix_Volume(-1, Mixer_Volume(audio.effects_volume));
  Mix_VolumeMusic(Mixer_Volume(audio.music_volume));
  return true;
}

void Release_Slots() {
  if (audio.output == OUTPUT_MIXER) {
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
  }
  for (SoundSlot& s : audio.sounds) {
    if (s.chunk) Mix_FreeChunk(s.chunk);
    s = SoundSlot{};
  }
  for (MusicSlot& m : audio.themes) {
    if (m.music) Mix_FreeMusic(m.music);
    m = MusicSlot{};
  }
}

}  // namespace

namespace platform_detail {

void Audio_Shutdown() {
  Release_Slots();
  if (audio.output == OUTPUT_MIXER) {
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  audio.output = OUTPUT_NONE;
  audio.paused = false;
  audio.playing = -1;
  audio.reported.clear();
}

}  // namespace platform_detail

int Platform_Open_Audio(bool device) {
  Audio_Shutdown();
  S().audio_events.clear();
  if (!device) return 0;
  if (Platform_Backend() == BACKEND_SDL && Platform_Is_Open()) {
    if (!Mixer_Open()) return 0;
    audio.output = OUTPUT_MIXER;
  } else {
    audio.output = OUTPUT_RECORD;
  }
  return 1;
}

void Platform_Close_Audio() { Audio_Shutdown(); }

int Platform_Load_Sound(int id, const char* path) {
  if (id < 0 || id >= PLATFORM_SOUND_SLOTS) return 0;
  SoundSlot& slot = audio.sounds[static_cast<size_t>(id)];
  if (slot.chunk) Mix_FreeChunk(slot.chunk);
  slot = SoundSlot{};
  std::vector<uint8_t> bytes;
  if (!Read_Sound_File(path, &bytes)) return 0;
  if (audio.output == OUTPUT_MIXER) {
    slot.chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    if (!slot.chunk) {
      if (audio.reported.insert(path).second)
        Say(std::string("sound: the mixer cannot play ") + path + " (" + Mix_GetError() +
            "); that sound stays silent");
      return 0;
    }
  }
  slot.loaded = true;
  return 1;
}

int Platform_Load_Music(int id, const char* path) {
  if (id < 0 || id >= PLATFORM_MUSIC_SLOTS) return 0;
  if (audio.playing == id) Platform_Stop_Music();
  MusicSlot& slot = audio.themes[static_cast<size_t>(id)];
  if (slot.music) Mix_FreeMusic(slot.music);
  slot = MusicSlot{};
  if (!Read_Sound_File(path, &slot.bytes)) {
    slot.bytes.clear();
    return 0;
  }
  if (audio.output == OUTPUT_MIXER) {
    SDL_RWops* rw = SDL_RWFromConstMem(slot.bytes.data(), static_cast<int>(slot.bytes.size()));
    slot.music = Mix_LoadMUS_RW(rw, 1);
    if (!slot.music) {
      if (audio.reported.insert(path).second)
        Say(std::string("sound: the mixer cannot play ") + path + " (" + Mix_GetError() +
            "); that theme stays silent");
      slot.bytes.clear();
      return 0;
    }
  } else {
    slot.bytes.clear();  // nothing streams from them
  }
  slot.loaded = true;
  return 1;
}

void Platform_Play_Sound(int id) {
  if (id < 0 || id >= PLATFORM_SOUND_SLOTS || audio.paused) return;
  const SoundSlot& slot = audio.sounds[static_cast<size_t>(id)];
  if (!slot.loaded) return;
  if (audio.output == OUTPUT_RECORD) Headless_Record_Audio(AUDIO_EVENT_SOUND, id, false);
  // With every channel busy the effect is dropped rather than cutting another short.
  if (audio.output == OUTPUT_MIXER) Mix_PlayChannel(-1, slot.chunk, 0);
}

void Platform_Play_Music(int id, bool loop) {
  if (id < 0 || id >= PLATFORM_MUSIC_SLOTS || audio.output == OUTPUT_NONE) return;
  if (!audio.themes[static_cast<size_t>(id)].loaded) return;
  if (audio.playing == id && audio.playing_loops && loop) {
    if (audio.output == OUTPUT_RECORD || Mix_PlayingMusic()) return;
  }
  if (audio.output == OUTPUT_RECORD) {
    Headless_Record_Audio(AUDIO_EVENT_MUSIC_START, id, loop);
  } else {
    Mix_PlayMusic(audio.themes[static_cast<size_t>(id)].music, loop ? -1 : 1);
    if (audio.paused) Mix_PauseMusic();
  }
  audio.playing = id;
  audio.playing_loops = loop;
}

void Platform_Stop_Music() {
  if (audio.playing < 0) return;
  if (audio.output == OUTPUT_RECORD) Headless_Record_Audio(AUDIO_EVENT_MUSIC_STOP, audio.playing, false);
  if (audio.output == OUTPUT_MIXER) Mix_HaltMusic();
  audio.playing = -1;
}

void Platform_Set_Volumes(int effects, int music) {
  audio.effects_volume = std::clamp(effects, 0, 100);
  audio.music_volume = std::clamp(music, 0, 100);
  if (audio.output != OUTPUT_MIXER) return;
  Mix_Volume(-1, Mixer_Volume(audio.effects_volume));
  Mix_VolumeMusic(Mixer_Volume(audio.music_volume));
}

void Platform_Pause_Audio(bool paused) {
  if (audio.paused == paused) return;
  audio.paused = paused;
  if (audio.output != OUTPUT_MIXER) return;
  if (paused) {
    Mix_Pause(-1);
    Mix_PauseMusic();
  } else {
    Mix_Resume(-1);
    Mix_ResumeMusic();
  }
}

void Platform_Limit_Mix(int16_t* samples, size_t count, PlatformLimiter* state) {
  constexpr float MAKEUP = 1.f / PLATFORM_MIX_HEADROOM;
  // Back up to full level over about 50 ms (1 - e^(-1 / (0.05 * 44100)) a sample).
  constexpr float RELEASE = 0.000453f;
  float gain = state->gain;
  for (size_t i = 0; i + 1 < count; i += 2) {
    const float left = samples[i] * MAKEUP, right = samples[i + 1] * MAKEUP;
    const float peak = std::max(std::fabs(left), std::fabs(right));
    gain += (1.f - gain) * RELEASE;
    if (peak * gain > PLATFORM_MIX_CEILING) gain = PLATFORM_MIX_CEILING / peak;
    samples[i] = static_cast<int16_t>(std::lround(std::clamp(left * gain, -32768.f, 32767.f)));
    samples[i + 1] = static_cast<int16_t>(std::lround(std::clamp(right * gain, -32768.f, 32767.f)));
  }
  state->gain = gain;
}

const std::vector<PlatformAudioEvent>& Platform_Audio_Events() { return S().audio_events; }

void Platform_Clear_Audio_Events() { S().audio_events.clear(); }

int Platform_Parse_WAV(const uint8_t* bytes, std::size_t size, PlatformWav* out) {
  if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
    return 0;
  bool have_format = false;
  uint32_t format = 0, channels = 0, rate = 0, block = 0, bits = 0;
  for (size_t at = 12; at + 8 <= size;) {
    const uint8_t* tag = bytes + at;
    const uint32_t length = Le(bytes + at + 4, 4);
    const uint8_t* body = bytes + at + 8;
    if (length > size - at - 8) return 0;  // cut short
    if (std::memcmp(tag, "fmt ", 4) == 0) {
      if (length < 16) return 0;
      format = Le(body, 2);
      channels = Le(body + 2, 2);
      rate = Le(body + 4, 4);
      block = Le(body + 12, 2);
      bits = Le(body + 14, 2);
      have_format = true;
    } else if (std::memcmp(tag, "data", 4) == 0) {
      if (!have_format || format != 1 || bits != 16 || channels < 1 || channels > 2 || rate < 8000 ||
          rate > 192000 || block != 2 * channels || length == 0 || length % block != 0)
        return 0;
      if (out) {
        out->rate = static_cast<int>(rate);
        out->channels = static_cast<int>(channels);
        out->samples.resize(length / 2);
        for (size_t i = 0; i < out->samples.size(); ++i)
          out->samples[i] = static_cast<int16_t>(static_cast<uint16_t>(Le(body + 2 * i, 2)));
      }
      return 1;
    }
    at += 8 + static_cast<size_t>(length) + (length & 1);
  }
  return 0;
}

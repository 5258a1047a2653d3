#include "sound/sound.h"

#include "platform/platform.h"

namespace {

SoundSettings settings;
bool window_active = true;
int theme = -1;  // the theme started last

void Apply() {
  Platform_Set_Volumes(settings.effects_volume, settings.music_volume);
  Platform_Pause_Audio(!settings.on || (settings.pause_in_background && !window_active));
}

}  // namespace

int Sound_Open(bool device) {
  theme = -1;
  const int open = Platform_Open_Audio(device);
  if (!open) return 0;
  for (int id = 0; id < SOUND_COUNT; ++id) Platform_Load_Sound(id, sound_manifest[id].file);
  for (int id = 0; id < MUSIC_COUNT; ++id) Platform_Load_Music(id, music_manifest[id].file);
  Apply();
  return 1;
}

void Sound_Close() {
  Platform_Close_Audio();
  theme = -1;
}

void Play_Sound(SoundId id) { Platform_Play_Sound(id); }

void Play_Theme(MusicId id) {
  if (id == theme) return;
  theme = id;
  Platform_Play_Music(id, music_manifest[id].loops);
}

void Set_Sound_Settings(const SoundSettings& s) {
  settings = s;
  Apply();
}

const SoundSettings& Sound_Settings() { return settings; }

void Sound_Window_Active(bool active) {
  if (active == window_active) return;
  window_active = active;
  Apply();
}

// The headless backend: no window; a virtual millisecond clock that only moves when the game waits.
// Everything else (the queue, injected keys, the kept frame) lives in platform.cpp.
#include "platform/platform_internal.h"

namespace platform_detail {

// The next 60 Hz tick strictly after now. Tick k falls at ceil(k * 1000 / 60) ms, so the steps run
// 17, 17, 16 ms and three ticks make exactly 50 ms. The grid is laid over the 64-bit extension of
// now, so the result wraps at 2^32 like the clock.
uint32_t Headless_Next_Vblank(uint32_t now) {
  uint64_t t = now;
  uint64_t k = t * 3 / 50 + 1;          // the first tick index whose time is after now
  uint64_t at = (k * 50 + 2) / 3;       // ceil(k * 50 / 3)
  while (at <= t) at = (++k * 50 + 2) / 3;
  return static_cast<uint32_t>(at);
}

// Headless sound: nothing is heard; each event is kept, in order, with its frame number.
void Headless_Record_Audio(PlatformAudioKind kind, int id, bool loop) {
  S().audio_events.push_back(PlatformAudioEvent{S().presents, kind, id, loop});
}

}  // namespace platform_detail

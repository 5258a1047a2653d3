// The SDL2 backend (placeholder until the window lands).
#include "platform/platform_internal.h"

namespace platform_detail {
int Sdl_Open(const PlatformConfig&) {
  Platform_Debug_Output("error ocurd: the SDL2 backend is not built yet\n");
  return 0;
}
void Sdl_Close() {}
void Sdl_Pump() {}
bool Sdl_Key_Held(int) { return false; }
uint32_t Sdl_Get_Ticks() { return S().virtual_ticks; }
void Sdl_Set_Ticks(uint32_t t) { S().virtual_ticks = t; }
void Sdl_Wait_Until(uint32_t) {}
void Sdl_Wait_Vblank() {}
void Sdl_Present(const uint16_t*, int) {}
void Sdl_Set_Fullscreen(bool f) { S().fullscreen = f; }
}  // namespace platform_detail

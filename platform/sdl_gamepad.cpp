// SDL's game controllers, opened as they are plugged in (SDL reports those present at start-up as
// plugged in too) and closed as they are pulled out; their events go on to the Platform_Pad_*
// functions, which turn them into the game's input the same way for every backend.
#include <SDL.h>

#include <vector>

#include "platform/platform_internal.h"

namespace platform_detail {
namespace {

struct OpenPad {
  SDL_JoystickID id;
  SDL_GameController* controller;
};
std::vector<OpenPad> open_pads;
bool subsystem = false;

// SDL's names for the buttons and sticks, by their place on the pad.
constexpr SDL_GameControllerButton BUTTONS[PAD_BUTTON_COUNT] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_DPAD_UP,   SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
constexpr SDL_GameControllerAxis AXES[PAD_AXIS_COUNT] = {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY,
                                                         SDL_CONTROLLER_AXIS_RIGHTX,
                                                         SDL_CONTROLLER_AXIS_RIGHTY};

void Plugged_In(int device_index) {
  SDL_GameController* c = SDL_GameControllerOpen(device_index);
  if (!c) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
  for (const OpenPad& p : open_pads) {
    if (p.id == id) {  // already open: SDL reports some controllers twice
      SDL_GameControllerClose(c);
      return;
    }
  }
  open_pads.push_back(OpenPad{id, c});
  Platform_Pad_Connected(id, true);
}

void Pulled_Out(SDL_JoystickID id) {
  for (size_t i = 0; i < open_pads.size(); ++i) {
    if (open_pads[i].id != id) continue;
    SDL_GameControllerClose(open_pads[i].controller);
    open_pads.erase(open_pads.begin() + static_cast<std::ptrdiff_t>(i));
    Platform_Pad_Connected(id, false);
    return;
  }
}

}  // namespace

void Sdl_Pads_Open() {
  // Without the controller subsystem the game is played as before, by keyboard and mouse.
  subsystem = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

void Sdl_Pads_Close() {
  for (const OpenPad& p : open_pads) SDL_GameControllerClose(p.controller);
  open_pads.clear();
  if (subsystem) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  subsystem = false;
}

bool Sdl_Pad_Event(const void* sdl_event) {
  const SDL_Event& e = *static_cast<const SDL_Event*>(sdl_event);
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Plugged_In(e.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      Pulled_Out(e.cdevice.which);
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      for (int b = 0; b < PAD_BUTTON_COUNT; ++b)
        if (BUTTONS[b] == e.cbutton.button)
          Platform_Pad_Button(e.cbutton.which, static_cast<PlatformPadButton>(b),
                              e.type == SDL_CONTROLLERBUTTONDOWN);
      return true;
    case SDL_CONTROLLERAXISMOTION:
      for (int a = 0; a < PAD_AXIS_COUNT; ++a)
        if (AXES[a] == e.caxis.axis)
          Platform_Pad_Axis(e.caxis.which, static_cast<PlatformPadAxis>(a), e.caxis.value);
      return true;
    default:
      return false;
  }
}

}  // namespace platform_detail

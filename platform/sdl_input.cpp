// The SDL2 window's input: SDL's events become the game's messages (pointer positions mapped back
// into game pixels, the window's close, Alt+Enter and F11 for full screen), and whether a key is held.
#include "platform/sdl_window.h"

namespace platform_detail {
namespace {

uint32_t Key_State_Word() {
  uint32_t word = sdl.buttons;
  SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) word |= MK_SHIFT;
  if (mod & KMOD_CTRL) word |= MK_CONTROL;
  return word;
}

uint32_t Button_Bit(uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return MK_LBUTTON;
    case SDL_BUTTON_RIGHT:
      return MK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
      return MK_MBUTTON;
    default:
      return 0;
  }
}

uint32_t Game_Position(int window_x, int window_y) {
  int ww = 0, wh = 0, ow = 0, oh = 0;
  SDL_GetWindowSize(sdl.window, &ww, &wh);
  if (SDL_GetRendererOutputSize(sdl.renderer, &ow, &oh) != 0) {
    ow = ww;
    oh = wh;
  }
  PlatformViewport viewport = Platform_Fit_Picture(ow, oh, S().config.integer_scaling);
  int gx = 0, gy = 0;
  Platform_Map_Pointer(viewport, ww, wh, ow, oh, window_x, window_y, &gx, &gy);
  return static_cast<uint32_t>(gx) | (static_cast<uint32_t>(gy) << 16);
}

void Post_Destroy() {
  if (sdl.destroy_posted) return;
  sdl.destroy_posted = true;
  Queue_Push(PlatformMessage{MSG_DESTROY, 0, 0}, false);
}

// The scancodes of a virtual-key number (letters and digits through the keyboard layout, as the
// window system's virtual keys follow it). Returns how many were written.
int Scancodes(int vk, SDL_Scancode out[2]) {
  if (vk >= 'A' && vk <= 'Z') {
    out[0] = SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(SDLK_a + (vk - 'A')));
    return out[0] == SDL_SCANCODE_UNKNOWN ? 0 : 1;
  }
  if (vk >= '0' && vk <= '9') {
    out[0] = SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(SDLK_0 + (vk - '0')));
    return out[0] == SDL_SCANCODE_UNKNOWN ? 0 : 1;
  }
  if (vk >= 112 && vk <= 123) {  // F1 to F12
    out[0] = static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (vk - 112));
    return 1;
  }
  if (vk >= 96 && vk <= 105) {  // keypad digits
    out[0] = vk == 96 ? SDL_SCANCODE_KP_0 : static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (vk - 97));
    return 1;
  }
  switch (vk) {
    case 8:
      out[0] = SDL_SCANCODE_BACKSPACE;
      return 1;
    case 9:
      out[0] = SDL_SCANCODE_TAB;
      return 1;
    case 13:
      out[0] = SDL_SCANCODE_RETURN;
      out[1] = SDL_SCANCODE_KP_ENTER;
      return 2;
    case 16:
      out[0] = SDL_SCANCODE_LSHIFT;
      out[1] = SDL_SCANCODE_RSHIFT;
      return 2;
    case 17:
      out[0] = SDL_SCANCODE_LCTRL;
      out[1] = SDL_SCANCODE_RCTRL;
      return 2;
    case 18:
      out[0] = SDL_SCANCODE_LALT;
      out[1] = SDL_SCANCODE_RALT;
      return 2;
    case 27:
      out[0] = SDL_SCANCODE_ESCAPE;
      return 1;
    case 32:
      out[0] = SDL_SCANCODE_SPACE;
      return 1;
    case 33:
      out[0] = SDL_SCANCODE_PAGEUP;
      return 1;
    case 34:
      out[0] = SDL_SCANCODE_PAGEDOWN;
      return 1;
    case 35:
      out[0] = SDL_SCANCODE_END;
      return 1;
    case 36:
      out[0] = SDL_SCANCODE_HOME;
      return 1;
    case 37:
      out[0] = SDL_SCANCODE_LEFT;
      return 1;
    case 38:
      out[0] = SDL_SCANCODE_UP;
      return 1;
    case 39:
      out[0] = SDL_SCANCODE_RIGHT;
      return 1;
    case 40:
      out[0] = SDL_SCANCODE_DOWN;
      return 1;
    case 45:
      out[0] = SDL_SCANCODE_INSERT;
      return 1;
    case 46:
      out[0] = SDL_SCANCODE_DELETE;
      return 1;
    default:
      return 0;
  }
}

}  // namespace

void Translate(const SDL_Event& e) {
  if (Sdl_Pad_Event(&e)) return;
  const Uint32 our_window = SDL_GetWindowID(sdl.window);
  switch (e.type) {
    case SDL_QUIT:
      Post_Destroy();
      break;
    case SDL_WINDOWEVENT:
      if (e.window.windowID != our_window) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          Post_Destroy();
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          sdl.redraw = true;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          Draw(false);
          Queue_Push(PlatformMessage{MSG_PAINT, 0, 0}, false);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          sdl.return_suppressed = false;
          Pad_Release_All();  // no controller events come while unfocused: nothing may stay held
          break;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
          Read_Refresh_Rate();
          break;
        default:
          break;
      }
      break;
    case SDL_MOUSEMOTION: {
      if (e.motion.windowID != our_window && e.motion.windowID != 0) break;
      uint32_t word = 0;
      if (e.motion.state & SDL_BUTTON_LMASK) word |= MK_LBUTTON;
      if (e.motion.state & SDL_BUTTON_RMASK) word |= MK_RBUTTON;
      if (e.motion.state & SDL_BUTTON_MMASK) word |= MK_MBUTTON;
      SDL_Keymod mod = SDL_GetModState();
      if (mod & KMOD_SHIFT) word |= MK_SHIFT;
      if (mod & KMOD_CTRL) word |= MK_CONTROL;
      Queue_Push(PlatformMessage{MSG_MOUSEMOVE, word, Game_Position(e.motion.x, e.motion.y)}, true);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (e.button.windowID != our_window && e.button.windowID != 0) break;
      const bool down = e.type == SDL_MOUSEBUTTONDOWN;
      const uint32_t bit = Button_Bit(e.button.button);
      if (down) {
        sdl.buttons |= bit;
      } else {
        sdl.buttons &= ~bit;
      }
      // Left and right only; the middle and side buttons give no message. The second press of a
      // double click (SDL's click count 2, 4, ...) is a double-click message in the window system the
      // game was made for, which no screen takes: it gives no message either, and its release is an
      // ordinary release. So a quick double click on a control acts once.
      uint32_t message = 0;
      const bool double_click = down && e.button.clicks >= 2 && e.button.clicks % 2 == 0;
      if (e.button.button == SDL_BUTTON_LEFT && !double_click)
        message = down ? MSG_LBUTTONDOWN : MSG_LBUTTONUP;
      if (e.button.button == SDL_BUTTON_RIGHT && !double_click)
        message = down ? MSG_RBUTTONDOWN : MSG_RBUTTONUP;
      if (message)
        Queue_Push(PlatformMessage{message, Key_State_Word(), Game_Position(e.button.x, e.button.y)}, false);
      break;
    }
    case SDL_KEYDOWN:
#ifdef __EMSCRIPTEN__
      break;  // F11 is the page's: full screen needs the key's own browser event
#endif
      if (e.key.repeat) break;
      if (e.key.keysym.sym == SDLK_F11 ||
          ((e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER) &&
           (e.key.keysym.mod & KMOD_ALT))) {
        if (e.key.keysym.sym != SDLK_F11) sdl.return_suppressed = true;
        Sdl_Set_Fullscreen(!S().fullscreen);
      }
      break;
    case SDL_RENDER_TARGETS_RESET:
      sdl.redraw = true;
      break;
    case SDL_RENDER_DEVICE_RESET:
      Create_Texture();
      sdl.redraw = true;
      break;
    default:
      break;
  }
}

void Sdl_Pump() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) Translate(e);
  if (sdl.fit_pending) Fit_Frame();
  if (Sdl_Window_Lost()) {
    // The window is gone: the run ends as by the quit message, which saves a game in progress.
    Platform_Debug_Output("orvalis: the window was destroyed from outside; the game ends\n");
    Queue_Push(PlatformMessage{MSG_QUIT, 1, 0}, false);
  }
}

bool Sdl_Key_Held(int virtual_key) {
  SDL_PumpEvents();
  // A window without the keyboard focus sees no key held, so a key held while focus went elsewhere
  // never sticks.
  if (!(SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_INPUT_FOCUS)) return false;
  SDL_Scancode codes[2] = {SDL_SCANCODE_UNKNOWN, SDL_SCANCODE_UNKNOWN};
  const int n = Scancodes(virtual_key, codes);
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  bool held = false;
  for (int i = 0; i < n; ++i)
    if (codes[i] > SDL_SCANCODE_UNKNOWN && codes[i] < count && state[codes[i]]) held = true;
  if (virtual_key == VK_RETURN) {
    // Alt+Enter belongs to the display, not the game.
    if (!held) sdl.return_suppressed = false;
    if (held && (sdl.return_suppressed || (SDL_GetModState() & KMOD_ALT))) return false;
  }
  return held;
}

void Sdl_Allow_Close() { sdl.destroy_posted = false; }

}  // namespace platform_detail

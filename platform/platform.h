// The operating-system boundary: one window with a message queue, held keys, a millisecond clock,
// the presentation of finished 640 x 480 RGB565 frames, the vertical-blank wait, a debug-output sink,
// text rasterising and PNG writing. Two backends stand behind it: an SDL2 window and a headless twin
// with a virtual clock and injected input. Nothing here exposes an SDL or OS type.
#pragma once

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Window messages, numbered like the window system the game was written for.
enum : uint32_t {
  MSG_CREATE = 1,
  MSG_DESTROY = 2,
  MSG_PAINT = 15,
  MSG_QUIT = 18,
  MSG_MOUSEMOVE = 512,
  MSG_LBUTTONDOWN = 513,
  MSG_LBUTTONUP = 514,
  MSG_RBUTTONDOWN = 516,
  MSG_RBUTTONUP = 517,
};

// Key-state word bits of a pointer move.
enum : uint32_t { MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8, MK_MBUTTON = 16 };

// Virtual-key numbers of the keys the game polls.
enum : int {
  VK_RETURN = 13,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_A = 65,
  VK_C = 67,
  VK_D = 68,
  VK_S = 83,
  VK_W = 87,
  VK_F1 = 112,
};

// Where input comes from. Source 0 is this machine's own devices (keyboard, mouse, gamepads, and keys
// injected for them); the other numbers are for hands that post input of their own, which the
// platform keeps apart and does not interpret.
using InputSource = uint8_t;
constexpr InputSource INPUT_DEVICES = 0;
constexpr int INPUT_SOURCE_COUNT = 8;
constexpr uint32_t Source_Bit(InputSource source) { return 1u << source; }
constexpr uint32_t ALL_SOURCES = (1u << INPUT_SOURCE_COUNT) - 1;

struct PlatformMessage {
  uint32_t message = 0;
  uint32_t wparam = 0;  // key-state word for MSG_MOUSEMOVE, exit code for MSG_QUIT
  uint32_t lparam = 0;  // MSG_MOUSEMOVE: x in the low 16 bits, y in the high 16 bits
  InputSource source = INPUT_DEVICES;
  uint32_t serial = 0;  // the order messages were queued in, counted by the queue
};

enum PlatformBackend { BACKEND_HEADLESS = 0, BACKEND_SDL = 1 };

struct PlatformConfig {
  PlatformBackend backend = BACKEND_SDL;
  const char* title = "Orvalis Game Console";
  bool fullscreen = true;  // desktop-sized, no mode switch; the picture is scaled with its aspect kept
  int scale = 2;           // window size multiplier when not full screen
  bool integer_scaling = false;
  bool smooth = false;        // linear filtering instead of nearest neighbour
  bool whole_frames = false;  // SDL: upload and draw every changed frame whole (to compare the costs)
};

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;

// Opens the chosen backend and its window (none for headless). Posts MSG_CREATE.
// Returns 1 on success; 0 with a message on the debug output when it cannot.
int Platform_Open(const PlatformConfig& config);
// Closes the window and releases the backend. Safe to call when not open.
void Platform_Close();
int Platform_Is_Open();
PlatformBackend Platform_Backend();

// Takes the oldest queued message, if any, into *msg; 1 when one was taken, 0 when the queue is empty.
// The SDL backend first drains the system's events into the queue (consecutive pointer moves merge).
int Platform_Peek_Message(PlatformMessage* msg);
// Appends a quit message with the exit code to the queue.
void Platform_Post_Quit(int exit_code);
// After the game refused a close of the window (it asked first and the player stayed): the next
// close is posted again. SDL posts one MSG_DESTROY per run otherwise.
void Platform_Allow_Close();
// Appends a message (used by the window close, the headless input and the script runner). Posted
// messages are never merged: only the SDL backend's own consecutive pointer moves merge.
void Platform_Post_Message(const PlatformMessage& msg);

// The key's state as the game polls it: bit 15 (0x8000) set while held, 0 otherwise. A key counts as
// held when a source the key is routed from holds it.
int16_t Platform_Get_Key_State(int virtual_key);
// True while the key is held: bit 15 of its polled state.
inline bool Platform_Key_Held(int virtual_key) { return (Platform_Get_Key_State(virtual_key) & 0x8000) != 0; }
// Whether the source holds the key, whatever the routes. For INPUT_DEVICES: the keyboard (in the SDL
// backend), the gamepads, or an injected hold.
bool Platform_Source_Key_Held(InputSource source, int virtual_key);
// A source's own hold of a key (for INPUT_DEVICES, an injected one; see Platform_Set_Key).
void Platform_Set_Source_Key(InputSource source, int virtual_key, bool held);
// Which sources (a mask of Source_Bit) the poll of the key reads; every source until routed. A source
// that already holds the key when it is routed to it reads as up until it lets go: a key held across
// a change of routes acts only once released and pressed again.
void Platform_Route_Key(int virtual_key, uint32_t sources);
// The serial the next message queued will get.
uint32_t Platform_Next_Serial();

// Milliseconds since an arbitrary start, wrapping at 2^32. Headless: the virtual clock.
uint32_t Platform_Get_Ticks();
// Blocks until the tick count reaches target (unsigned wrap-around aware). Headless: sets the clock.
void Platform_Wait_Until(uint32_t target);
// Waits for the next vertical blank. SDL: the vsync of the next present, or a sleep to the next
// 60 Hz tick. Headless: moves the virtual clock to the next 60 Hz tick.
void Platform_Wait_Vblank();

// Shows a finished 640 x 480 RGB565 frame; pitch in bytes. SDL: also takes the system's events into
// the queue (so loops that take no messages keep the window alive); an unchanged frame is not drawn
// again, only its refresh waited for.
void Platform_Present(const uint16_t* pixels, int pitch_bytes);
// The last presented frame as 640 x 480 RGB565 words, row-major (empty before the first present).
const std::vector<uint16_t>& Platform_Last_Frame();

// Writes text to the debug output (standard error), unchanged.
void Platform_Debug_Output(const char* text);

// Input injection for this machine's devices: the key is seen held (or up) from now on. Headless, and
// also in the SDL backend, where a key counts as held when injected or really held.
void Platform_Set_Key(int virtual_key, bool held);
// Sets the tick count (tests of the wrap-around). Headless: the virtual clock itself; SDL: an offset
// added to the real clock from now on.
void Platform_Set_Ticks(uint32_t ticks);

// ---- Running the game's passes ----

// What a pass returns while the run goes on (any other value is the run's exit code).
constexpr int PLATFORM_PASS_GOES_ON = INT_MIN;
// Runs pass until it returns an exit code, then finish with that code, and returns what finish
// returns. A window or a headless run calls pass back to back, and each pass paces itself with the
// waits above. The browser calls it once an animation frame, none while a wait has not run out,
// and returns at once, before the first pass, leaving the page to go on: what the passes use must
// outlive the caller.
int Platform_Run_Passes(int (*pass)(), int (*finish)(int code));
// True where the host draws the frames (the browser): a pass must draw at most one frame and
// return, and a wait does not block but holds the next pass back until it runs out.
bool Platform_One_Frame_Per_Pass();
// Hands a file the game has written to the person where the file itself is out of their reach (the
// browser downloads it under the name given). Returns false where the file is theirs already, as
// written.
bool Platform_Offer_File(const char* path, const char* name);

// ---- The operating system besides the window ----

// The folder of the running binary, or "" when the system does not say.
std::string Platform_Executable_Dir();
// The user's folders as the XDG base-directory rules give them ($XDG_CONFIG_HOME or ~/.config,
// $XDG_STATE_HOME or ~/.local/state, $XDG_DATA_HOME or ~/.local/share, and the pictures folder named
// in user-dirs.dirs, "" when it names none). Nothing is created.
enum PlatformUserDir { USER_DIR_CONFIG, USER_DIR_STATE, USER_DIR_DATA, USER_DIR_PICTURES };
std::string Platform_User_Dir(PlatformUserDir which);
// The local date and time as "YYYYMMDD-HHMMSS", for file names.
std::string Platform_Local_Time_Stamp();
// Seconds since 1970 now, and such a time as local "YYYY-MM-DD HH:MM", for people.
int64_t Platform_Now();
std::string Platform_Local_Time_Text(int64_t seconds);
// A millisecond clock that differs at every launch (time since the machine started), for seeding.
uint32_t Platform_Launch_Clock();

// Text rasterised by a real font (a bold sans-serif face found through fontconfig, about the size
// of a classic 8 x 16 system font): a coverage mask of width x height bytes, 0 = none, 255 = full.
struct TextMask {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};
// point_size 0 picks the game's default text size. Returns 1 with the mask filled, 0 on failure
// (no font found: a message names what was searched for once on the debug output).
int Platform_Render_Text(const char* text, int point_size, TextMask* out);

// Writes a 24-bit RGB picture (rows top-down, 3 bytes a pixel, red first) as a PNG file, atomically
// (Platform_Write_File_Atomic). Returns 1 on success, 0 on failure with *error (when given) saying why;
// what stood at the path is then as it was.
int Platform_Write_PNG(const char* path, const uint8_t* rgb, int width, int height,
                       std::string* error = nullptr);

// ---- Extensions (display, pointer mapping, focus, screenshots) ----

// Where the 640 x 480 picture lands in an output of output_w x output_h pixels: aspect kept, centred,
// black bars around it. With integer_scaling only whole multiples are used (down to 1; an output
// smaller than 640 x 480 falls back to the largest fit with the aspect kept).
struct PlatformViewport {
  int x = 0, y = 0, w = SCREEN_WIDTH, h = SCREEN_HEIGHT;
};
PlatformViewport Platform_Fit_Picture(int output_w, int output_h, bool integer_scaling);
// Maps a pointer position in window coordinates (window_w x window_h points, which HiDPI screens
// back with output_w x output_h pixels) to the 640 x 480 game pixel under it, clamped to the picture.
void Platform_Map_Pointer(const PlatformViewport& viewport, int window_w, int window_h, int output_w,
                          int output_h, int window_x, int window_y, int* game_x, int* game_y);

// The window size for a scale: 640 x 480 times the scale when that window with its frame (frame_w x
// frame_h pixels of borders and title bar) fits a usable area of usable_w x usable_h; else the largest
// size of the picture's shape whose framed window fits (a scale that is not whole, so no part of the
// screen is given up for a whole one); 640 x 480 at the least.
struct PlatformSize {
  int w = SCREEN_WIDTH, h = SCREEN_HEIGHT;
};
PlatformSize Platform_Fit_Window(int scale, int usable_w, int usable_h, int frame_w, int frame_h);
// The scale of the window now, as its width over 640 (not whole when the screen has no room for the
// scale asked for); 0 when full screen or headless.
double Platform_Window_Scale();

// SDL: switches between desktop full screen and a window of 640 x 480 times the scale (Alt+Enter and
// F11 do the same at any time). Headless: only records the setting.
void Platform_Set_Fullscreen(bool fullscreen);
int Platform_Is_Fullscreen();
// True while the window is shown and has the focus (always true headless).
bool Platform_Window_Active();
// Changes the window scale (1 to 8; SDL: the window is resized when not full screen), the whole-multiple
// scaling and the smoothing from now on. Headless: only records them.
void Platform_Set_Scaling(int scale, bool integer_scaling, bool smooth);
PlatformConfig Platform_Config();

// ---- Sound (effects and music themes by slot number) ----

constexpr int PLATFORM_SOUND_SLOTS = 64;
constexpr int PLATFORM_MUSIC_SLOTS = 8;

// Opens the sound output, after Platform_Open. SDL backend with device true: the system's audio device
// through the mixer; when there is none (a server, CI, a broken setup) one line goes to the debug
// output and the game runs silent. Headless backend: nothing is heard; every sound event is recorded
// with its frame number instead. device false: silent in both. Returns 1 when sounds will be played or
// recorded, 0 when silent. Starts afresh: no sound loaded, no events recorded. Sound never blocks
// the game and never changes it.
int Platform_Open_Audio(bool device);
// Stops everything and forgets every loaded sound. Platform_Close does it too.
void Platform_Close_Audio();
// Loads a 16-bit PCM WAV file into a sound (or music) slot. Returns 1 when it is loaded; 0 when the
// file is missing or damaged, naming it once on the debug output: that slot stays silent.
int Platform_Load_Sound(int id, const char* path);
int Platform_Load_Music(int id, const char* path);
// Plays the sound once, over whatever else is playing.
void Platform_Play_Sound(int id);
// Starts a theme in place of the one playing, over and over or once. A looping theme that is already
// playing goes on undisturbed.
void Platform_Play_Music(int id, bool loop);
void Platform_Stop_Music();
// The effects and music volumes, 0 (silent) to 100 (as loud as the files), clamped.
void Platform_Set_Volumes(int effects, int music);
// Pauses all sound (a minimised or unfocused window) or resumes it; effects asked for while paused
// are dropped.
void Platform_Pause_Audio(bool paused);

// The mixer's output stage. Every sound and theme is mixed at PLATFORM_MIX_HEADROOM of its level, so
// that a few loud ones together (the win, the walls and a theme) do not clip in the sum; the sum is
// then brought back up and held under full scale by a limiter, which turns the level down at once where
// it would go over and back up over about 50 ms. Interleaved 16-bit stereo samples at 44100 Hz, in
// place; the limiter carries its level from one buffer to the next.
constexpr float PLATFORM_MIX_HEADROOM = 0.5f;
constexpr int PLATFORM_MIX_CEILING = 31130;  // about 95 % of full scale
struct PlatformLimiter {
  float gain = 1.f;
};
void Platform_Limit_Mix(int16_t* samples, size_t count, PlatformLimiter* limiter);

// What the headless backend recorded instead of playing: each event with the number of frames
// presented before it. Kept until the next Platform_Open_Audio or Platform_Clear_Audio_Events.
enum PlatformAudioKind { AUDIO_EVENT_SOUND = 0, AUDIO_EVENT_MUSIC_START = 1, AUDIO_EVENT_MUSIC_STOP = 2 };
struct PlatformAudioEvent {
  uint64_t frame = 0;
  PlatformAudioKind kind = AUDIO_EVENT_SOUND;
  int id = 0;         // the sound or music slot (for a stop: the theme that stopped)
  bool loop = false;  // a music start: looping
};
const std::vector<PlatformAudioEvent>& Platform_Audio_Events();
void Platform_Clear_Audio_Events();

// A WAV file as the sound loader reads it: integer PCM, 16 bits, mono or stereo (interleaved).
struct PlatformWav {
  int rate = 0;
  int channels = 0;
  std::vector<int16_t> samples;
};
// Parses the bytes of a WAV file. Returns 1 with *out filled, 0 when they are not such a file or are
// cut short.
int Platform_Parse_WAV(const uint8_t* bytes, std::size_t size, PlatformWav* out);

// ---- Gamepads (SDL's game controllers; the headless backend takes the same events injected) ----

// A controller's buttons and sticks by position (south is A on most pads, east B, west X, north Y).
enum PlatformPadButton : int {
  PAD_BUTTON_SOUTH,
  PAD_BUTTON_EAST,
  PAD_BUTTON_WEST,
  PAD_BUTTON_NORTH,
  PAD_BUTTON_BACK,
  PAD_BUTTON_START,
  PAD_BUTTON_DPAD_UP,
  PAD_BUTTON_DPAD_DOWN,
  PAD_BUTTON_DPAD_LEFT,
  PAD_BUTTON_DPAD_RIGHT,
  PAD_BUTTON_COUNT,
};
enum PlatformPadAxis : int {
  PAD_AXIS_LEFT_X,
  PAD_AXIS_LEFT_Y,
  PAD_AXIS_RIGHT_X,
  PAD_AXIS_RIGHT_Y,
  PAD_AXIS_COUNT
};

// Controller events, by the controller's id: plugged in or out, a button down or up, a stick axis
// from -32768 to 32767 (negative is left or up). The SDL backend feeds its controllers' events
// through here; tests inject them on the headless backend. They become the game's own input: the
// D-pad and the left stick hold the arrow keys, Start holds Return, the east button and Back hold
// Escape, the south and west buttons press the left and right mouse buttons at the pointer, and
// the right stick moves the pointer (a pointer move message whenever it reaches another pixel).
// Unplugging a controller lets go of everything it held.
void Platform_Pad_Connected(int pad, bool connected);
void Platform_Pad_Button(int pad, PlatformPadButton button, bool down);
void Platform_Pad_Axis(int pad, PlatformPadAxis axis, int value);
// How many controllers are plugged in.
int Platform_Pad_Count();
// The mapping above as lines for a help page: "control: what it does".
std::vector<std::string> Platform_Pad_Help_Lines();

// ---- Errors a desktop user sees, and stopping on a signal ----

// The backend the run will open, told before it opens, so that errors found before the window
// exists know whether to show a box. Platform_Open tells it too.
void Platform_Choose_Backend(PlatformBackend backend);
// Shows an error message box (SDL's simple message box) over the window, or on its own before the
// window opens, when the run is windowed; a headless run never shows one. Blocks until dismissed.
// The caller writes the same text to the debug output: the box is for those who never see it.
void Platform_Show_Error(const char* title, const char* text);

// From now on SIGTERM, SIGINT and SIGHUP only set a flag, so the game can save and end on its own;
// a second such signal ends the process at once.
void Platform_Catch_Stop_Signals();
// The number of the first stop signal that arrived, 0 while none has.
int Platform_Stop_Signal();
// What runs when the connection to the display is lost, just before the process ends (the window
// system gives the game no way on): the game saves there. A window destroyed from outside ends the run
// through the quit message with exit code 1 instead.
void Platform_On_Display_Lost(void (*save)());

// Ends a windowed run at once, once the game has written everything it keeps: the window is hidden,
// the standard streams flushed, and the process ends with the exit code without taking SDL and the
// graphics driver down piece by piece (the system reclaims the window, the devices and the memory),
// which takes longer than all the rest of the run's end. Returns, doing nothing, in a headless run
// or when nothing is open, so those end as usual (and leak checkers see the whole run), and in the
// browser, where the page stays.
void Platform_End_Window_Run(int exit_code);

// ---- The player's files ----

// Where a write to the path lands: the path itself, or the end of the chain of symbolic links that
// stands there (taken from each link's folder), so that a link to a file kept elsewhere stays a link.
std::string Platform_Write_Target(const std::string& path);

// A file being written atomically: the bytes go to PATH.tmp-PID in the folder of the path's write
// target, which takes the target's place only when it is finished.
struct PlatformAtomicFile {
  int fd = -1;            // the temporary file, open for writing (the caller closes it)
  std::string target;     // the file that is replaced
  std::string temporary;  // "" once renamed or abandoned
};
// Creates the temporary file. Refuses, writing nothing, a target that is not a regular file (a folder,
// a device, a FIFO). 1 on success; 0 with *error.
int Platform_Begin_Atomic(const std::string& path, PlatformAtomicFile* file, std::string* error);
// Flushes the temporary file to the disk, renames it over the target (which keeps its permissions)
// and flushes the folder, so a crash at any moment leaves the old file or the new one, never a part.
// On failure the temporary file is removed and the target left as it was: 0 with *error.
int Platform_Finish_Atomic(PlatformAtomicFile* file, std::string* error);
// Removes the temporary file; the target is left as it was.
void Platform_Abandon_Atomic(PlatformAtomicFile* file);
// A stdio stream writing the temporary file, which then owns its descriptor; nullptr, with the
// descriptor closed and the temporary file removed, when no stream can be made.
std::FILE* Platform_Atomic_Stream(PlatformAtomicFile* file);
// The three steps for bytes in memory, the file closed. The folder must exist. 1 on success; 0 with
// *error (the temporary file removed, the old file untouched).
int Platform_Write_File_Atomic(const std::string& path, const std::string& bytes, std::string* error);

// Reads a whole regular file of at most max_bytes. A FIFO, a device or a folder at the path is refused
// without waiting on it, as is a larger file; *error then says why in a few words.
enum PlatformRead { PLATFORM_READ_OK, PLATFORM_READ_MISSING, PLATFORM_READ_FAILED };
PlatformRead Platform_Read_Regular_File(const std::string& path, size_t max_bytes, std::string* bytes,
                                        std::string* error);

// Moves the file aside under the first free name of STEM + EXTENSION, STEM + SEPARATOR + 2 +
// EXTENSION, ... 3 ... (STEM a path in the same file system): never over a file that is there, even one
// another copy of the game puts there at the same moment. 1 with *aside naming it; 0 with *error.
int Platform_Move_Aside(const std::string& path, const std::string& stem, const std::string& extension,
                        const std::string& separator, std::string* aside, std::string* error);

// Removes from the folder the game's temporary files (NAME.tmp-PID) of processes that no longer run,
// as a killed run leaves them; returns how many.
int Platform_Remove_Stale_Temporaries(const std::string& folder);
// Whether a process of this id runs.
bool Platform_Process_Running(int pid);
// When the file was last written, in seconds since 1970 (0 when it cannot be told).
int64_t Platform_File_Written(const std::string& path);

// An exclusive lock on the file (created when missing), held by this process until unlocked or until
// it ends in any way: a handle, or -1 when another holder has it (or it cannot be made).
int Platform_Lock_File(const std::string& path);
void Platform_Unlock_File(int lock);
// Whether someone holds the lock on the file (this process too, through another handle).
bool Platform_File_Locked(const std::string& path);

// At the very start: a closed pipe no longer ends the process (a write to it fails instead), and a
// standard stream started closed gets /dev/null, so no file the game opens takes its number.
void Platform_Guard_Process();

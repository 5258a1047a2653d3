// The entry point: reads the command line and the script, finds the data folder and runs in it,
// opens the window, and runs the game from start-up to shutdown.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/assets.h"
#include "shell/computer.h"
#include "shell/data_dir.h"
#include "shell/hands.h"
#include "shell/main_loop.h"
#include "shell/notices.h"
#include "shell/options.h"
#include "shell/record.h"
#include "shell/saved_games.h"
#include "shell/script.h"
#include "shell/settings_store.h"
#include "sound/sound.h"

#ifndef ORVALIS_VERSION
#define ORVALIS_VERSION "0"
#endif
#ifndef ORVALIS_INSTALL_DATADIR
#define ORVALIS_INSTALL_DATADIR ""
#define ORVALIS_DATADIR_FROM_BIN ""
#endif

namespace {

// The comforts of the run as script lines, so that a recording replays with the same ones.
std::vector<std::string> Comfort_Lines() {
  std::vector<std::string> lines;
  for (int id = SETTING_COMFORTS; id <= SETTING_LAST_COMFORT; ++id) {
    const SettingInfo& info = setting_info[id];
    lines.push_back(std::string(info.section) + "." + info.key + " " +
                    Setting_Text(static_cast<SettingId>(id), Active_Setting(static_cast<SettingId>(id))));
  }
  return lines;
}

int Usage_Error(const std::string& message) {
  std::fprintf(stderr, "orvalis: %s\n%s\n", message.c_str(), Usage_Line().c_str());
  return 64;
}

// An error that stops the start-up: on the debug output, and in a message box when windowed.
void Start_Up_Error(const std::string& title, const std::string& text) {
  Platform_Debug_Output(("orvalis: " + text + "\n").c_str());
  std::string box = text;
  box[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(box[0])));
  Platform_Show_Error(title.c_str(), box.c_str());
}

// Changes into the data folder; 0 with a message when there is none. *installed tells whether it is
// the installed data folder rather than one beside the binary or given with --data.
int Enter_Data_Dir(const Options& options, bool* installed) {
  std::error_code ec;
  std::string dir = options.data_dir;
  if (dir.empty()) {
    std::vector<std::string> tried;
    const std::string exe_dir = Platform_Executable_Dir();
    dir = Find_Data_Dir(exe_dir, ORVALIS_DATADIR_FROM_BIN, ORVALIS_INSTALL_DATADIR, &tried);
    *installed = dir != exe_dir;
    if (dir.empty()) {
      std::string list;
      for (const std::string& t : tried) list += "\n  " + t;
      Start_Up_Error("Orvalis cannot start",
                     "cannot find the game's data (mm_main.bmp, 10.txt, ...); looked in:" + list +
                         "\nGive the folder with --data DIR.");
      return 0;
    }
  } else if (!std::filesystem::is_directory(dir, ec)) {
    Start_Up_Error("Orvalis cannot start", "--data " + dir + ": no such folder");
    return 0;
  }
  std::filesystem::current_path(dir, ec);
  if (ec) {
    Start_Up_Error("Orvalis cannot start", "cannot enter the data folder " + dir + ": " + ec.message());
    return 0;
  }
  return 1;
}

// Says which art files could not be loaded. With some missing the game goes on without their
// pictures (a window also shows a box naming them); with none loaded there would be nothing to see,
// so the run ends: returns 0.
int Check_Art() {
  const std::vector<std::string>& bad = Unreadable_Art_Files();
  if (bad.empty()) return 1;
  std::error_code ec;
  const std::string dir = std::filesystem::current_path(ec).string();
  if (static_cast<int>(bad.size()) >= Art_File_Count()) {
    Start_Up_Error("Orvalis cannot start",
                   "none of the game's " + std::to_string(Art_File_Count()) +
                       " art files (mm_main.bmp, ...) could be loaded from\n  " + dir +
                       "\nThey are missing or damaged. Give the folder with --data DIR.");
    return 0;
  }
  std::string list;
  for (const std::string& f : bad)
    list += "\n  " + f + (std::filesystem::exists(f, ec) ? " (damaged)" : " (missing)");
  // The debug output has named each file already.
  const std::string text = "These art files could not be loaded from " + dir + ":" + list +
                           "\nThe game goes on without their pictures.";
  Platform_Show_Error("Orvalis: art files missing or damaged", text.c_str());
  return 1;
}

// What the run's passes need, kept for the whole run: where the browser draws the frames, main
// returns before the first pass and its own locals are gone.
struct Run {
  Options options;
  Script script;
  ScriptRunner runner;
  Recorder recorder;
};
Run run;

int Pass() {
  return Main_Loop_Pass(run.runner.script ? &run.runner : nullptr,
                        run.recorder.out ? &run.recorder : nullptr);
}

// After the last pass: everything of the run is written, then the game shuts down.
int Finish(int code) {
  std::string record_error;
  const bool recorded = Close_Recorder(&run.recorder, &record_error);
  if (!recorded)
    std::fprintf(stderr,
                 "orvalis: the recording %s could not be written whole (%s); what stood there is kept\n",
                 run.options.record.c_str(), record_error.c_str());
  const int exit_code = run.runner.failures > 0 || !recorded ? 1 : code;
  // Everything of the run is written: a window goes at once, and its process ends there.
  Platform_End_Window_Run(exit_code);
  Sound_Close();
  Game_Shutdown();
  Platform_Close();
  return exit_code;
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything is opened or written: closed standard streams and closed pipes harm nothing.
  Platform_Guard_Process();
  Options& options = run.options;
  std::string error;
  if (!Parse_Options(argc, argv, &options, &error)) return Usage_Error(error);
  if (options.help) {
    std::fputs(Help_Text().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("orvalis %s\n", ORVALIS_VERSION);
    return 0;
  }
  if (options.platform.backend == BACKEND_HEADLESS && options.script.empty())
    return Usage_Error("--headless needs --script FILE (nothing else would ever end the run)");
  Platform_Choose_Backend(options.platform.backend);
  Platform_Catch_Stop_Signals();

  // Paths given on the command line are taken from the folder the game was started in.
  std::error_code ec;
  for (std::string* p : {&options.script, &options.record})
    if (!p->empty()) *p = std::filesystem::absolute(*p, ec).string();

  if (!options.settings_file.empty())
    options.settings_file = std::filesystem::absolute(options.settings_file, ec).string();

  Script& script = run.script;
  ScriptRunner& runner = run.runner;
  std::vector<std::string> setting_lines;  // the script's, then the command line's, which win
  if (!options.script.empty()) {
    if (!Load_Script(options.script.c_str(), &script, &error)) {
      std::fprintf(stderr, "orvalis: %s\n", error.c_str());
      return 2;
    }
    for (ScriptCommand& c : script.commands) {
      if (c.op == SCRIPT_SEED && options.seed < 0) options.seed = c.a;
      if (c.op == SCRIPT_COMPUTER && options.computer < 0) options.computer = static_cast<int32_t>(c.a);
      if (c.op == SCRIPT_LEVEL && options.level < 0) options.level = static_cast<int32_t>(c.a);
      if (c.op == SCRIPT_SETTING) setting_lines.push_back(c.path);
      if (!c.path.empty()) c.path = std::filesystem::absolute(c.path, ec).string();
    }
    runner.script = &script;
  }

  setting_lines.insert(setting_lines.end(), options.setting_lines.begin(), options.setting_lines.end());
  // A window reads the player's settings file; a headless run only the one it is given, so that scripts
  // and replays do not depend on the machine they run on.
  std::string settings_path = options.settings_file;
  if (settings_path.empty() && options.platform.backend == BACKEND_SDL)
    settings_path = Default_Settings_Path();
  Start_Settings(settings_path, setting_lines);
  options.platform.fullscreen = Active_Setting(SETTING_FULLSCREEN) != 0;
  options.platform.scale = Active_Setting(SETTING_SCALE);
  options.platform.integer_scaling = Active_Setting(SETTING_INTEGER_SCALING) != 0;
  options.platform.smooth = Active_Setting(SETTING_SMOOTH) != 0;

  bool installed = false;
  if (!Enter_Data_Dir(options, &installed)) return 1;
  // Created (or truncated) empty at every start where the game can write; never written. The installed
  // game writes nothing outside the player's own folders, so its log is always in the state folder.
  std::error_code cwd_error;
  if (Create_Debug_Log(installed ? "" : std::filesystem::current_path(cwd_error).string(),
                       (std::filesystem::path(Platform_User_Dir(USER_DIR_STATE)) / "orvalis").string())
          .empty())
    std::fprintf(stderr, "orvalis: cannot create d-bug_log.txt here or in the state folder\n");

  // Without --seed a window seeds from a clock that differs at every launch, so every run starts
  // with a new board; a headless run keeps its virtual clock's seed and stays repeatable.
  start_seed = options.seed;
  if (start_seed < 0 && options.platform.backend == BACKEND_SDL) start_seed = Platform_Launch_Clock();
  // The art is loaded before the window opens, so a run that has none ends without a black window.
  Game_Init();
  if (!Check_Art()) {
    Game_Shutdown();
    return 1;
  }
  if (!Platform_Open(options.platform)) {
    std::fprintf(stderr, "orvalis: cannot open the %s\n",
                 options.platform.backend == BACKEND_HEADLESS ? "headless backend" : "game window");
    Game_Shutdown();
    return 1;
  }
  Apply_Run_Settings();
  Reset_Hands();
  if (options.computer >= 0 || options.level >= 0) Configure_Computer(options.computer, options.level);
  Sound_Open(true);
  Play_Theme(MUSIC_MENU);
  Show_Notices_In_Window();
  Enable_Saved_Games(true);
  Open_Saved_Games();
  Platform_On_Display_Lost(Save_Game_If_Playing);
  if (options.resume) Request_Resume("", true);

  Recorder& recorder = run.recorder;
  const int32_t recorded_side = Computer_Player();
  std::string record_error;
  if (!options.record.empty() &&
      !Open_Recorder(&recorder, options.record.c_str(), static_cast<uint32_t>(start_seed),
                     Computer_Side_Name(recorded_side), Computer_Level_Name(Computer_Level()),
                     Comfort_Lines(), &record_error)) {
    std::fprintf(stderr, "orvalis: cannot create the recording %s: %s\n", options.record.c_str(),
                 record_error.c_str());
    Game_Shutdown();
    Platform_Close();
    return 1;
  }
  return Platform_Run_Passes(Pass, Finish);
}

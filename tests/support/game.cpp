#include "tests/support/game.h"

#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "common/shell_state.h"
#include "game/model.h"
#include "platform/platform.h"
#include "screens/front/front.h"
#include "screens/play/comforts.h"
#include "screens/play/playing.h"
#include "settings/settings.h"
#include "shell/assets.h"
#include "shell/computer.h"
#include "shell/hands.h"
#include "shell/help_overlay.h"
#include "shell/main_loop.h"
#include "shell/script.h"

namespace test_support {

nlohmann::json GameRun::Dump(const std::string& name) const {
  return nlohmann::json::parse(Read_File(dir / name), nullptr, false);
}

std::string Game_Binary() {
  const char* other = std::getenv("ORVALIS_TEST_GAME_BINARY");
  return other && *other ? other : Run_Path("orvalis");
}

GameRun Run_Game_Binary(const fs::path& dir, const std::string& script, const std::string& args,
                        const std::string& environment) {
  GameRun r;
  r.dir = dir;
  Write_File(dir / "script.txt", script);
  const std::string cmd = "cd '" + dir.string() + "' && " + environment + " '" + Game_Binary() +
                          "' --headless " + args + " --script script.txt 2>stderr.txt";
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.output = Read_File(dir / "stderr.txt");
  return r;
}

namespace {
// The script's screenshots and state dumps written into `dir`.
void Files_In(const fs::path& dir, Script* script) {
  for (ScriptCommand& c : script->commands)
    if (c.op == SCRIPT_SCREENSHOT || c.op == SCRIPT_STATE) c.path = (dir / c.path).string();
}
}  // namespace

GameRun Run_Game_In_Process(const fs::path& dir, const std::string& text) {
  GameRun r;
  r.dir = dir;
  Script script;
  if (!Parse_Script(text, "script.txt", &script, &r.output)) {
    r.status = 2;
    return r;
  }
  int64_t seed = -1;
  for (const ScriptCommand& c : script.commands)
    if (c.op == SCRIPT_SEED && seed < 0) seed = c.a;
  Files_In(dir, &script);
  const fs::path old_dir = fs::current_path();
  fs::current_path(dir);
  ::testing::internal::CaptureStderr();
  Start_Headless_Game(seed);
  ScriptRunner runner;
  runner.script = &script;
  const int code = Main_Loop(&runner, nullptr);
  Stop_Headless_Game();
  r.output = ::testing::internal::GetCapturedStderr();
  fs::current_path(old_dir);
  r.status = runner.failures > 0 ? 1 : code;
  return r;
}

ScriptRunner Play_Script(const std::string& text, const fs::path& dir) {
  Script script;
  std::string error;
  ScriptRunner runner;
  if (Parse_Script(text, "script", &script, &error) != 1) {
    ADD_FAILURE() << error;
    return runner;
  }
  if (!dir.empty()) Files_In(dir, &script);
  runner.script = &script;
  Main_Loop(&runner, nullptr);
  runner.script = nullptr;
  return runner;
}

void Open_Headless() {
  PlatformConfig config;
  config.backend = BACKEND_HEADLESS;
  Platform_Open(config);
  game_state = STATE_MAIN_MENU;
  mouse_x = mouse_y = mouse_buttons = 0;
  escape_latch = 0;
  new_game_pending = 1;
  transition_frame_hook = nullptr;
  Reset_Menu_State();
  Reset_Play_State();
  Reset_Comforts();
  Set_Active_Settings(Default_Settings());
  Computer_Game_Started();
  Reset_Hands();
  Close_Help();
}

void Start_Headless_Game(int64_t seed) {
  Open_Headless();
  start_seed = seed;
  Game_Init();
}

void Stop_Headless_Game() {
  Game_Shutdown();
  Platform_Close();
}

void HeadlessPlatform::TearDown() { Platform_Close(); }

void HeadlessGame::SetUp() {
  fs::current_path(ORVALIS_RUN_DIR);
  Start_Headless_Game(1);
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

}  // namespace test_support

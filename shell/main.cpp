// The entry point: reads the command line and the script, opens the window, and runs the game
// from start-up to shutdown.
#include <cstdio>
#include <string>

#include "shell/assets.h"
#include "shell/main_loop.h"
#include "shell/options.h"
#include "shell/script.h"

#ifndef ORVALIS_VERSION
#define ORVALIS_VERSION "0"
#endif

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!Parse_Options(argc, argv, &options, &error)) {
    std::fprintf(stderr, "orvalis: %s\n%s\n", error.c_str(), Usage_Line().c_str());
    return 64;
  }
  if (options.help) {
    std::fputs(Help_Text().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("orvalis %s\n", ORVALIS_VERSION);
    return 0;
  }
  if (options.platform.backend == BACKEND_HEADLESS && options.script.empty()) {
    std::fprintf(stderr, "orvalis: --headless needs --script FILE (nothing else would ever end the run)\n%s\n",
                 Usage_Line().c_str());
    return 64;
  }

  Script script;
  ScriptRunner runner;
  if (!options.script.empty()) {
    if (!Load_Script(options.script.c_str(), &script, &error)) {
      std::fprintf(stderr, "orvalis: %s\n", error.c_str());
      return 2;
    }
    for (const ScriptCommand& c : script.commands)
      if (c.op == SCRIPT_SEED && options.seed < 0) options.seed = c.a;
    runner.script = &script;
  }

  if (!Platform_Open(options.platform)) {
    std::fprintf(stderr, "orvalis: cannot open the %s\n",
                 options.platform.backend == BACKEND_HEADLESS ? "headless backend" : "game window");
    return 1;
  }
  start_seed = options.seed;
  Game_Init();
  const int code = Main_Loop(runner.script ? &runner : nullptr);
  Game_Shutdown();
  Platform_Close();
  if (runner.failures > 0) return 1;
  return code;
}

// The desktop services of the platform layer: the window scale that fits the screen with its frame,
// atomic file writes, and the stop signals.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/platform.h"

namespace fs = std::filesystem;

TEST(Desktop, TheLargestScaleWhoseFramedWindowFits) {
  EXPECT_EQ(Platform_Fit_Scale(2, 1280, 960, 0, 0), 2);
  EXPECT_EQ(Platform_Fit_Scale(2, 1280, 960, 0, 20), 1);  // a title bar pushes the bottom off screen
  EXPECT_EQ(Platform_Fit_Scale(8, 1920, 1080, 2, 30), 2);
  EXPECT_EQ(Platform_Fit_Scale(3, 2560, 1440, 4, 28), 2);
  EXPECT_EQ(Platform_Fit_Scale(3, 640, 400, 0, 0), 1);  // never below 1
}

TEST(Desktop, AtomicWritesReplaceWholeOrNotAtAll) {
  const fs::path dir = fs::temp_directory_path() / ("orvalis-atomic-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string path = (dir / "f.json").string();
  std::string error;
  ASSERT_EQ(Platform_Write_File_Atomic(path, "first", &error), 1) << error;
  ASSERT_EQ(Platform_Write_File_Atomic(path, "second", &error), 1) << error;
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  EXPECT_EQ(text.str(), "second");
  EXPECT_EQ(Platform_Write_File_Atomic((dir / "no" / "f.json").string(), "x", &error), 0);
  EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
  int entries = 0;
  for (const auto& e : fs::directory_iterator(dir)) entries += e.path().filename() != "no";
  EXPECT_EQ(entries, 1);  // nothing but the file itself
  fs::remove_all(dir);
}

TEST(Desktop, AStopSignalOnlySetsTheFlag) {
  Platform_Catch_Stop_Signals();
  EXPECT_EQ(Platform_Stop_Signal(), 0);
  std::raise(SIGTERM);  // the test goes on: the game ends in its own time
  EXPECT_EQ(Platform_Stop_Signal(), SIGTERM);
  // A second stop signal would end the process at once: the default handlers are back.
  for (int s : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction now {};
    sigaction(s, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL) << s;
  }
}

// The desktop services of the platform layer: the window that fits the screen with its frame, the
// player's files (atomic writes through links and never into anything but a regular file, bounded
// reads, numbered names for kept files, dead runs' temporary files, locks), and the stop signals.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/platform.h"

namespace fs = std::filesystem;

TEST(Desktop, TheLargestWindowWhoseFrameFitsTheScreen) {
  auto fit = [](int scale, int w, int h, int frame_w, int frame_h) {
    const PlatformSize s = Platform_Fit_Window(scale, w, h, frame_w, frame_h);
    return std::to_string(s.w) + "x" + std::to_string(s.h);
  };
  EXPECT_EQ(fit(2, 1280, 960, 0, 0), "1280x960");
  // A title bar pushes the bottom of a 2 x window off screen: the largest size that fits, not 1 x.
  EXPECT_EQ(fit(2, 1280, 960, 4, 24), "1248x936");
  EXPECT_EQ(fit(8, 1920, 1080, 2, 30), "1400x1050");
  EXPECT_EQ(fit(3, 2560, 1440, 4, 28), "1880x1410");
  EXPECT_EQ(fit(1, 2560, 1440, 4, 28), "640x480");  // never more than asked
  EXPECT_EQ(fit(3, 640, 400, 0, 0), "640x480");     // never below 1 x
}

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("orvalis-files-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Read(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  }
  int Entries() const { return static_cast<int>(std::distance(fs::directory_iterator(dir_), {})); }
  fs::path dir_;
};

TEST_F(Files, AtomicWritesReplaceWholeOrNotAtAllAndGoThroughLinks) {
  const std::string path = Path("f.json");
  std::string error;
  ASSERT_EQ(Platform_Write_File_Atomic(path, "first", &error), 1) << error;
  ASSERT_EQ(Platform_Write_File_Atomic(path, "second", &error), 1) << error;
  EXPECT_EQ(Read(path), "second");
  EXPECT_EQ(Platform_Write_File_Atomic(Path("no/f.json"), "x", &error), 0);
  EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
  EXPECT_EQ(Entries(), 1);  // nothing but the file itself

  // A link, as people keep their dotfiles, stays a link: the file it leads to takes the bytes.
  fs::create_directories(dir_ / "dotfiles");
  fs::create_symlink("dotfiles/settings.toml", Path("link.toml"));
  ASSERT_EQ(Platform_Write_File_Atomic(Path("link.toml"), "through", &error), 1) << error;
  EXPECT_TRUE(fs::is_symlink(Path("link.toml")));
  EXPECT_EQ(Read(Path("dotfiles/settings.toml")), "through");

  // Anything but a regular file is never written into, removed or replaced.
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/full", Path("device.png"));
  for (const char* name : {"fifo", "device.png"}) {
    EXPECT_EQ(Platform_Write_File_Atomic(Path(name), "x", &error), 0) << name;
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  }
  EXPECT_EQ(fs::status(Path("fifo")).type(), fs::file_type::fifo);
  EXPECT_TRUE(fs::is_symlink(Path("device.png")));
  const uint8_t pixel[3] = {1, 2, 3};
  EXPECT_EQ(Platform_Write_PNG(Path("device.png").c_str(), pixel, 1, 1), 0);
  EXPECT_TRUE(fs::exists("/dev/full"));
}

TEST_F(Files, ReadsTakeRegularFilesOfBoundedSizeOnly) {
  std::string bytes, error;
  EXPECT_EQ(Platform_Read_Regular_File(Path("missing"), 100, &bytes, &error), PLATFORM_READ_MISSING);
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);  // read without waiting for a writer: refused
  EXPECT_EQ(Platform_Read_Regular_File(Path("fifo"), 100, &bytes, &error), PLATFORM_READ_FAILED);
  EXPECT_EQ(Platform_Read_Regular_File(dir_.string(), 100, &bytes, &error), PLATFORM_READ_FAILED);
  EXPECT_EQ(error, "it is a folder, not a file");
  EXPECT_EQ(Platform_Read_Regular_File("/dev/zero", 100, &bytes, &error), PLATFORM_READ_FAILED);
  std::ofstream(Path("big")) << std::string(101, 'x');
  EXPECT_EQ(Platform_Read_Regular_File(Path("big"), 100, &bytes, &error), PLATFORM_READ_FAILED);
  EXPECT_NE(error.find("101 bytes"), std::string::npos) << error;
  EXPECT_EQ(Platform_Read_Regular_File(Path("big"), 101, &bytes, &error), PLATFORM_READ_OK);
  EXPECT_EQ(bytes.size(), 101u);
}

TEST_F(Files, KeptFilesAreNumberedAndOnlyDeadRunsTemporariesGo) {
  std::string aside, error;
  for (int i = 0; i < 3; ++i) {
    std::ofstream(Path("damaged.json")) << i;
    ASSERT_EQ(Platform_Move_Aside(Path("damaged.json"), Path("kept"), ".json", "-", &aside, &error), 1)
        << error;
    EXPECT_EQ(aside, Path(i == 0 ? "kept.json" : "kept-" + std::to_string(i + 1) + ".json"));
  }
  EXPECT_EQ(Read(Path("kept.json")) + Read(Path("kept-2.json")) + Read(Path("kept-3.json")), "012");
  EXPECT_FALSE(fs::exists(Path("damaged.json")));

  // A pid far above any the system hands out, and this process's own.
  std::ofstream(Path("saved.json.tmp-999999999")) << "killed";
  std::ofstream(Path("saved.json.tmp-" + std::to_string(::getppid()))) << "running";
  std::ofstream(Path("notes.tmp-x")) << "not ours";
  EXPECT_EQ(Platform_Remove_Stale_Temporaries(dir_.string()), 1);
  EXPECT_FALSE(fs::exists(Path("saved.json.tmp-999999999")));
  EXPECT_TRUE(fs::exists(Path("saved.json.tmp-" + std::to_string(::getppid()))));
  EXPECT_TRUE(fs::exists(Path("notes.tmp-x")));
}

TEST_F(Files, ALockIsHeldByOneHolderUntilReleased) {
  const std::string lock_path = Path("game.lock");
  EXPECT_FALSE(Platform_File_Locked(lock_path));
  const int lock = Platform_Lock_File(lock_path);
  ASSERT_GE(lock, 0);
  EXPECT_TRUE(Platform_File_Locked(lock_path));
  EXPECT_LT(Platform_Lock_File(lock_path), 0);
  Platform_Unlock_File(lock);
  EXPECT_FALSE(Platform_File_Locked(lock_path));
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

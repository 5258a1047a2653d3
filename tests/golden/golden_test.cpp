// The classic frames, drawn headless from the generated art with every setting at its default, compared
// pixel for pixel with the pictures committed in tests/golden/. ORVALIS_UPDATE_GOLDEN=1 rewrites the
// committed pictures from this run instead of comparing (for a deliberate change of a classic frame).
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "platform/platform.h"
#include "screens/front/front.h"
#include "shell/assets.h"
#include "shell/main_loop.h"
#include "shell/script.h"
#include "shell/state_dump.h"
#include "tests/support/game.h"

namespace fs = std::filesystem;

namespace {

const fs::path golden_dir = fs::path(ORVALIS_SOURCE_DIR) / "tests" / "golden";

// The frames, in the order the script below shows them.
const char* const frame_names[] = {"title",        "menu_grown", "options", "play_turn_p2",
                                   "play_turn_p1", "transition", "results"};

// The title, the grown menu, the options overlay, a game started, both players' first turns, then the
// cheat and a step onto the home mark: player 2 wins in 15 turns. The transition into the game is
// caught by the frame hook.
const char* const golden_script =
    "frames 3\nscreenshot title.png\n"
    "key down RETURN\nframes 1\nkey up RETURN\nframes 35\nscreenshot menu_grown.png\n"
    "mouse move 320 350\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\nscreenshot "
    "options.png\n"
    "key down ESCAPE\nframes 1\nkey up ESCAPE\nframes 2\n"
    "mouse move 320 300\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n"
    "mouse move 630 10\nframes 2\nscreenshot play_turn_p2.png\n"
    "key down RETURN\nframes 1\nkey up RETURN\nframes 2\nscreenshot play_turn_p1.png\n"
    "key down RETURN\nframes 1\nkey up RETURN\nframes 2\n"
    "key down A\nframes 1\nkey up A\nframes 1\nkey down LEFT\nframes 1\nkey up LEFT\nframes 3\n"
    "screenshot results.png\n";

fs::path out_dir;
bool transition_caught = false;

// The 61st frame of the first transition: the walls half open over the new playing screen.
void Catch_Transition(int frame) {
  if (frame != 60 || transition_caught) return;
  transition_caught = true;
  Write_Screenshot((out_dir / "transition.png").c_str());
}

// The RGB pixels of a PNG file, or empty.
std::vector<uint8_t> Read_Png(const fs::path& path, int* width, int* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return pixels;
}

TEST(Golden, ClassicFramesMatchTheCommittedPictures) {
  // Kept when a picture differs, to be looked at.
  out_dir = fs::temp_directory_path() / ("orvalis-golden-" + std::to_string(::getpid()));
  fs::remove_all(out_dir);
  fs::create_directories(out_dir);
  test_support::Start_Headless_Game(7);
  transition_frame_hook = Catch_Transition;
  const ScriptRunner runner = test_support::Play_Script(golden_script, out_dir);
  transition_frame_hook = nullptr;
  test_support::Stop_Headless_Game();
  ASSERT_EQ(runner.failures, 0);
  ASSERT_TRUE(transition_caught);
  ASSERT_EQ(game_state, STATE_RESULTS);

  const bool update = std::getenv("ORVALIS_UPDATE_GOLDEN") != nullptr;
  for (const char* name : frame_names) {
    const fs::path got = out_dir / (std::string(name) + ".png");
    const fs::path want = golden_dir / (std::string(name) + ".png");
    if (update) {
      fs::copy_file(got, want, fs::copy_options::overwrite_existing);
      continue;
    }
    int gw = 0, gh = 0, ww = 0, wh = 0;
    const std::vector<uint8_t> a = Read_Png(got, &gw, &gh), b = Read_Png(want, &ww, &wh);
    ASSERT_FALSE(a.empty()) << got;
    ASSERT_FALSE(b.empty()) << want << " is missing: run with ORVALIS_UPDATE_GOLDEN=1 to write it";
    ASSERT_EQ(gw, ww);
    ASSERT_EQ(gh, wh);
    size_t differ = 0;
    for (size_t i = 0; i < a.size(); i += 3)
      if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ++differ;
    EXPECT_EQ(differ, 0u) << name << ": " << differ << " pixels differ; this run's frame is " << got;
  }
  if (!::testing::Test::HasFailure()) fs::remove_all(out_dir);
}

}  // namespace

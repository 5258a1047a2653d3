// The settings reader fed arbitrary text: it never fails, every setting it gives is within its range,
// every fault is named by the file's name, its line and column, and says what is wrong; text without
// faults gives settings that, written to a file and read back, are the same; and the file it writes
// is always read without a fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "settings/settings.h"

namespace {

void Check_Ranges(const Settings& s) {
  for (int id = 0; id < SETTING_COUNT; ++id)
    FUZZ_CHECK(s.value[id] >= setting_info[id].low && s.value[id] <= setting_info[id].high);
}

// "NAME:LINE:COLUMN: what" (or, past the faults told one by one, "NAME: and N more faults").
bool Named(const std::string& problem) {
  if (problem.rfind("f:", 0) != 0) return false;
  if (problem.rfind("f: and ", 0) == 0) return true;
  size_t at = 2, digits = 0;
  for (int part = 0; part < 2; ++part, ++at) {
    for (digits = 0; at < problem.size() && problem[at] >= '0' && problem[at] <= '9'; ++at) ++digits;
    if (digits == 0 || at >= problem.size() || problem[at] != ':') return false;
  }
  return problem.size() > at + 1 && problem[at] == ' ';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Settings settings = Default_Settings();
  std::vector<std::string> problems;
  const bool whole = Read_Settings_Text(text, "f", &settings, &problems);
  FUZZ_CHECK(whole == problems.empty());
  FUZZ_CHECK(problems.size() <= 40);
  for (const std::string& p : problems) FUZZ_CHECK(Named(p));
  Check_Ranges(settings);

  // What the game would write for these settings reads back as the same, without a fault.
  Settings back = Default_Settings();
  std::vector<std::string> none;
  FUZZ_CHECK(Read_Settings_Text(Settings_File_Text(settings), "f", &back, &none));
  FUZZ_CHECK(none.empty() && back == settings);
  return 0;
}

// The settings file: TOML read line by line where it must be (a line the parser refuses is named and
// left out, and the rest is read again without it, so one bad character never costs the settings
// around it), every fault named by line and column in plain words, in line order; and the file written
// through the platform's one atomic writer.
#include <toml++/toml.h>

#include <algorithm>
#include <filesystem>

#include "platform/platform.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace {

// A fault with its place, so the faults can be told in line order.
struct Fault {
  uint32_t line = 0, column = 0;
  std::string text;
};

Fault At(const toml::source_region& where, std::string text) {
  return Fault{where.begin.line, where.begin.column, std::move(text)};
}

int Find_Setting(std::string_view section, std::string_view key) {
  for (int i = 0; i < SETTING_COUNT; ++i)
    if (section == setting_info[i].section && key == setting_info[i].key) return i;
  return -1;
}

bool Known_Section(std::string_view section) {
  for (const SettingInfo& info : setting_info)
    if (section == info.section) return true;
  return false;
}

// What a setting takes, for the message about a value it cannot take.
std::string Expected(const SettingInfo& info) {
  switch (info.kind) {
    case SETTING_BOOL:
      return "true or false";
    case SETTING_NUMBER:
      return "a whole number from " + std::to_string(info.low) + " to " + std::to_string(info.high);
    case SETTING_CHOICE:
      break;
  }
  std::string s;
  for (int32_t c = info.low; c <= info.high; ++c)
    s += std::string(c == info.low ? "" : c == info.high ? " or " : ", ") + "\"" + info.choices[c] + "\"";
  return s;
}

// The value of a setting's node; false when the node holds nothing the setting can take.
bool Value_Of(const SettingInfo& info, const toml::node& node, int32_t* out) {
  switch (info.kind) {
    case SETTING_BOOL:
      if (const auto* b = node.as_boolean()) {
        *out = b->get() ? 1 : 0;
        return true;
      }
      return false;
    case SETTING_NUMBER:
      if (const auto* n = node.as_integer()) {
        if (n->get() < info.low || n->get() > info.high) return false;
        *out = static_cast<int32_t>(n->get());
        return true;
      }
      return false;
    case SETTING_CHOICE:
      break;
  }
  if (const auto* s = node.as_string()) {
    for (int32_t c = info.low; c <= info.high; ++c)
      if (s->get() == info.choices[c]) {
        *out = c;
        return true;
      }
  }
  return false;
}

// What the parser's words for a fault mean to a person who edits the file.
std::string Plain_Words(std::string_view parser) {
  static const struct {
    const char* says;
    const char* means;
  } meanings[] = {
      {"control characters", "a text in quotes is not closed on its line"},
      {"expected ']'", "a [section] name is not closed with ]"},
      {"not representable in 64 bits", "the number is far too large"},
      {"invalid utf-8", "a character here is not valid UTF-8 text"},
      {"expected 'true'", "true is written in lower case, in full"},
      {"expected 'false'", "false is written in lower case, in full"},
      {"cannot redefine", "this setting or section is given twice"},
      {"expected '='", "a setting is written as name = value"},
      {"expected value", "the value after = is missing"},
      {"end-of-file", "the file ends before this value is closed"},
      {"could not determine value type",
       "the value cannot be read (text goes in quotes; true, false and numbers do not)"},
      {"expected keys, tables", "this line is neither a setting, a [section] nor a # comment"},
      {"expected a comment or whitespace",
       "something follows the value on this line (a comment starts with #)"},
      {"escape sequence", "a backslash in quotes starts an escape that does not exist"},
  };
  for (const auto& m : meanings)
    if (parser.find(m.says) != std::string_view::npos)
      return std::string(m.means) + " (" + std::string(parser) + ")";
  return std::string(parser);
}

// Empties line `line` (counted from 1) of the text, keeping the line count; false when there is no such
// line or it is empty already (leaving it out again would change nothing).
bool Blank_Line(std::string* text, uint32_t line) {
  size_t begin = 0;
  for (uint32_t l = 1; l < line; ++l) {
    begin = text->find('\n', begin);
    if (begin == std::string::npos) return false;
    ++begin;
  }
  size_t end = text->find('\n', begin);
  if (end == std::string::npos) end = text->size();
  if (begin >= end) return false;
  text->erase(begin, end - begin);
  return true;
}

// How many lines a file may lose to the parser before the rest is given up, and how many faults are
// told one by one.
constexpr int MAX_LEFT_OUT_LINES = 64;
constexpr size_t MAX_FAULTS_TOLD = 40;

// Parses the text, leaving out each line the parser refuses; adds a fault for each.
toml::table Parse_Tolerantly(std::string text, const std::string& name, std::vector<Fault>* faults) {
  for (int left_out = 0;; ++left_out) {
    try {
      return toml::parse(text, name);
    } catch (const toml::parse_error& e) {
      const uint32_t line = e.source().begin.line;
      if (left_out >= MAX_LEFT_OUT_LINES || !Blank_Line(&text, line)) {
        faults->push_back(At(
            e.source(),
            Plain_Words(e.description()) + "; the file is not read past this point, its settings fall back"));
        return toml::table{};
      }
      faults->push_back(At(e.source(), Plain_Words(e.description()) + "; the line is left out"));
    }
  }
}

}  // namespace

bool Read_Settings_Text(const std::string& text, const std::string& name, Settings* settings,
                        std::vector<std::string>* problems) {
  std::vector<Fault> faults;
  const toml::table root = Parse_Tolerantly(text, name, &faults);
  for (const auto& [section, node] : root) {
    const toml::table* table = node.as_table();
    if (!table || !Known_Section(section.str())) {
      faults.push_back(At(node.source(), "unknown setting '" + std::string(section.str()) + "', left out"));
      continue;
    }
    for (const auto& [key, value] : *table) {
      const int id = Find_Setting(section.str(), key.str());
      const std::string full = std::string(section.str()) + "." + std::string(key.str());
      if (id < 0) {
        faults.push_back(At(value.source(), "unknown setting '" + full + "', left out"));
        continue;
      }
      const SettingInfo& info = setting_info[id];
      int32_t v = 0;
      if (!Value_Of(info, value, &v)) {
        faults.push_back(At(value.source(),
                            full + " takes " + Expected(info) + "; " +
                                (settings->value[id] == info.fallback ? "the default " : "") +
                                Setting_Text(static_cast<SettingId>(id), settings->value[id]) + " is used"));
        continue;
      }
      settings->value[id] = v;
    }
  }
  std::stable_sort(faults.begin(), faults.end(), [](const Fault& a, const Fault& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
  });
  for (size_t i = 0; i < faults.size(); ++i) {
    if (i + 1 == MAX_FAULTS_TOLD && faults.size() > MAX_FAULTS_TOLD) {
      problems->push_back(name + ": and " + std::to_string(faults.size() - i) + " more faults");
      break;
    }
    const Fault& f = faults[i];
    problems->push_back(name + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) + ": " + f.text);
  }
  return faults.empty();
}

SettingsFile Load_Settings_File(const std::string& path) {
  SettingsFile f;
  f.settings = Default_Settings();
  std::string text, why;
  const PlatformRead read = Platform_Read_Regular_File(path, SETTINGS_MAX_BYTES, &text, &why);
  if (read == PLATFORM_READ_MISSING) return f;
  f.found = true;
  if (read != PLATFORM_READ_OK) {
    f.faulty = true;
    f.problems.push_back(path + ":0:0: " + why + "; the defaults are used");
    return f;
  }
  f.faulty = !Read_Settings_Text(text, path, &f.settings, &f.problems);
  return f;
}

std::string Settings_File_Text(const Settings& settings) {
  std::string s =
      "# Orvalis settings. The game writes this file when a setting is changed on its settings page (F1).\n"
      "# Options given on the command line count for one run and are not written here.\n";
  const char* section = "";
  for (int i = 0; i < SETTING_COUNT; ++i) {
    const SettingInfo& info = setting_info[i];
    if (std::string_view(section) != info.section) {
      section = info.section;
      s += std::string("\n[") + section + "]\n";
    }
    s += std::string("# ") + info.comment + "\n";
    s += std::string(info.key) + " = " + Setting_Text(static_cast<SettingId>(i), settings.value[i]) + "\n";
  }
  return s;
}

bool Save_Settings_File(const std::string& path, const Settings& settings, bool keep_original,
                        std::string* error, std::string* kept_as) {
  std::error_code ec;
  // Written through a symbolic link, into the folder of the file it leads to.
  const std::string target = Platform_Write_Target(path);
  const fs::path folder = fs::path(target).parent_path();
  if (!folder.empty()) {
    fs::create_directories(folder, ec);
    if (ec) {
      *error = "cannot create the folder " + folder.string() + ": " + ec.message();
      return false;
    }
  }
  const fs::file_status there = fs::symlink_status(target, ec);
  if (fs::exists(there) && !fs::is_regular_file(there)) {
    *error = target + " is not a regular file; nothing was written";
    return false;
  }
  std::string bad;
  if (keep_original && fs::exists(there) &&
      !Platform_Move_Aside(target, target + ".bad", "", ".", &bad, error)) {
    *error = "cannot keep " + target + ": " + *error;
    return false;
  }
  if (!Platform_Write_File_Atomic(target, Settings_File_Text(settings), error)) {
    if (!bad.empty()) fs::rename(bad, target, ec);  // the original back in its place
    return false;
  }
  if (kept_as) *kept_as = bad;
  return true;
}

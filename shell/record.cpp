#include "shell/record.h"

#include "shell/hands.h"

namespace {
void Flush_Frames(Recorder* r) {
  if (r->pending_frames > 0) std::fprintf(r->out, "frames %lld\n", static_cast<long long>(r->pending_frames));
  r->pending_frames = 0;
}
}  // namespace

int Open_Recorder(Recorder* r, const char* path, uint32_t seed, const char* computer, const char* level,
                  const std::vector<std::string>& settings, std::string* error) {
  std::string why;
  if (!Platform_Begin_Atomic(path, &r->file, &why)) {
    if (error) *error = why;
    return 0;
  }
  const std::string temporary = r->file.temporary;
  r->out = Platform_Atomic_Stream(&r->file);
  if (!r->out) {
    if (error) *error = "cannot write " + temporary;
    return 0;
  }
  std::fprintf(r->out, "seed %u\ncomputer %s\nlevel %s\n", seed, computer, level);
  for (const std::string& line : settings) std::fprintf(r->out, "setting %s\n", line.c_str());
  for (bool& k : r->keys) k = false;
  r->pending_frames = 0;
  r->buttons = 0;
  return 1;
}

void Record_Keys(Recorder* r) {
  if (!r->out) return;
  // Only what the person does: the computer's own keys and messages come from the game itself.
  for (int i = 0; i < RECORDED_KEY_COUNT; ++i) {
    const bool held = Person_Key_Held(script_keys[i].code);
    if (held == r->keys[i]) continue;
    Flush_Frames(r);
    std::fprintf(r->out, "key %s %s\n", held ? "down" : "up", script_keys[i].name);
    r->keys[i] = held;
  }
}

void Record_Message(Recorder* r, const PlatformMessage& m) {
  if (!r->out) return;
  switch (m.message) {
    case MSG_MOUSEMOVE:
      Flush_Frames(r);
      std::fprintf(r->out, "mouse move %u %u\n", m.lparam & 0xFFFFu, (m.lparam >> 16) & 0xFFFFu);
      break;
    case MSG_LBUTTONDOWN:
    case MSG_LBUTTONUP:
    case MSG_RBUTTONDOWN:
    case MSG_RBUTTONUP:
      Flush_Frames(r);
      std::fprintf(r->out, "mouse %s %s\n",
                   m.message == MSG_LBUTTONDOWN || m.message == MSG_RBUTTONDOWN ? "down" : "up",
                   m.message == MSG_LBUTTONDOWN || m.message == MSG_LBUTTONUP ? "left" : "right");
      break;
    case MSG_DESTROY:
      Flush_Frames(r);
      std::fputs("close\n", r->out);
      break;
    default:
      break;
  }
}

void Record_Pass(Recorder* r) {
  if (r->out) ++r->pending_frames;
}

int Close_Recorder(Recorder* r, std::string* error) {
  if (!r->out) return 1;
  Flush_Frames(r);
  std::string why = "it could not be written whole";
  bool ok = std::fflush(r->out) == 0 && std::ferror(r->out) == 0;
  ok = ok && Platform_Finish_Atomic(&r->file, &why);
  if (!ok) Platform_Abandon_Atomic(&r->file);
  ok = std::fclose(r->out) == 0 && ok;
  r->out = nullptr;
  if (!ok && error) *error = why;
  return ok;
}

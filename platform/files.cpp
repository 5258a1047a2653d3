// The player's files on disk: one atomic writer (a temporary file in the target's folder, flushed,
// renamed over the target, the folder flushed), which writes through symbolic links and never into
// anything but a regular file; bounded reads of regular files only; names that never replace a kept
// file; the removal of the game's own temporary files left by runs that were killed; and the locks
// that keep two copies of the game off one file.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* TEMP_MARK = ".tmp-";

std::string Error_Text(int code) { return std::strerror(code); }

// What a path holds, without following a link at its end; 0 with errno set when nothing (or an
// unreadable folder) is there.
bool Lstat(const std::string& path, struct stat* st) { return ::lstat(path.c_str(), st) == 0; }

void Sync_Folder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool Write_All(int fd, const char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string Platform_Write_Target(const std::string& path) {
  std::string at = path;
  // A chain of links is followed to its end (a loop gives up where the system does).
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (!Lstat(at, &st) || !S_ISLNK(st.st_mode)) return at;
    std::error_code ec;
    const fs::path next = fs::read_symlink(at, ec);
    if (ec) return at;
    at = next.is_absolute() ? next.string() : (fs::path(at).parent_path() / next).lexically_normal().string();
  }
  return at;
}

int Platform_Begin_Atomic(const std::string& path, PlatformAtomicFile* file, std::string* error) {
  *file = PlatformAtomicFile{};
  const std::string target = Platform_Write_Target(path);
  struct stat st {};
  if (Lstat(target, &st) && !S_ISREG(st.st_mode)) {
    *error = target + " is not a regular file; nothing was written";
    return 0;
  }
  const std::string temporary = target + TEMP_MARK + std::to_string(::getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) {
    *error = "cannot create " + temporary + ": " + Error_Text(errno);
    return 0;
  }
  file->fd = fd;
  file->target = target;
  file->temporary = temporary;
  return 1;
}

int Platform_Finish_Atomic(PlatformAtomicFile* file, std::string* error) {
  if (file->fd < 0) {
    *error = "nothing is being written";
    return 0;
  }
  if (::fsync(file->fd) != 0) {
    *error = "cannot write " + file->temporary + " to the disk: " + Error_Text(errno);
    Platform_Abandon_Atomic(file);
    return 0;
  }
  // A file given its mode by the player (read only for others, say) keeps it.
  struct stat st {};
  if (::stat(file->target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(file->fd, st.st_mode & 07777);
  if (::rename(file->temporary.c_str(), file->target.c_str()) != 0) {
    *error = "cannot replace " + file->target + ": " + Error_Text(errno);
    Platform_Abandon_Atomic(file);
    return 0;
  }
  file->temporary.clear();
  Sync_Folder(fs::path(file->target).parent_path().string());
  return 1;
}

void Platform_Abandon_Atomic(PlatformAtomicFile* file) {
  if (!file->temporary.empty()) ::unlink(file->temporary.c_str());
  file->temporary.clear();
}

std::FILE* Platform_Atomic_Stream(PlatformAtomicFile* file) {
  std::FILE* stream = ::fdopen(file->fd, "w");
  if (stream == nullptr) {
    ::close(file->fd);
    Platform_Abandon_Atomic(file);
  }
  return stream;
}

int Platform_Write_File_Atomic(const std::string& path, const std::string& bytes, std::string* error) {
  PlatformAtomicFile file;
  if (!Platform_Begin_Atomic(path, &file, error)) return 0;
  if (!Write_All(file.fd, bytes.data(), bytes.size())) {
    *error = "cannot write " + file.temporary + ": " + Error_Text(errno);
    Platform_Abandon_Atomic(&file);
    ::close(file.fd);
    return 0;
  }
  const int done = Platform_Finish_Atomic(&file, error);
  if (::close(file.fd) != 0 && done) {
    *error = "cannot close " + file.target + ": " + Error_Text(errno);
    return 0;
  }
  return done;
}

PlatformRead Platform_Read_Regular_File(const std::string& path, size_t max_bytes, std::string* bytes,
                                        std::string* error) {
  bytes->clear();
  // Opened without waiting: a FIFO or a device at the path is refused, never read from.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) {
      *error = "there is no such file";
      return PLATFORM_READ_MISSING;
    }
    *error = "it cannot be read (" + Error_Text(errno) + ")";
    return PLATFORM_READ_FAILED;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = S_ISDIR(st.st_mode) ? "it is a folder, not a file" : "it is not a regular file";
    ::close(fd);
    return PLATFORM_READ_FAILED;
  }
  if (static_cast<uint64_t>(st.st_size) > max_bytes) {
    *error = "it is " + std::to_string(st.st_size) + " bytes long, more than the " +
             std::to_string(max_bytes) + " bytes such a file can be";
    ::close(fd);
    return PLATFORM_READ_FAILED;
  }
  // The size can change while it is read: one byte past the limit is enough to know it grew too large.
  bytes->resize(max_bytes + 1);
  size_t got = 0;
  while (got < bytes->size()) {
    const ssize_t n = ::read(fd, bytes->data() + got, bytes->size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = "it cannot be read (" + Error_Text(errno) + ")";
      ::close(fd);
      bytes->clear();
      return PLATFORM_READ_FAILED;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes->resize(got);
  if (got > max_bytes) {
    *error = "it is more than the " + std::to_string(max_bytes) + " bytes such a file can be";
    bytes->clear();
    return PLATFORM_READ_FAILED;
  }
  return PLATFORM_READ_OK;
}

int Platform_Move_Aside(const std::string& path, const std::string& stem, const std::string& extension,
                        const std::string& separator, std::string* aside, std::string* error) {
  for (int n = 1; n < 10000; ++n) {
    std::string candidate = stem;
    if (n > 1) candidate.append(separator).append(std::to_string(n));
    candidate.append(extension);
    // A hard link takes a name only where none is: a kept file is never replaced, even by another copy
    // of the game doing the same at the same moment.
    if (::link(path.c_str(), candidate.c_str()) == 0) {
      ::unlink(path.c_str());
      *aside = candidate;
      return 1;
    }
    if (errno == EEXIST) continue;
    // A file system without hard links: a rename, after looking that the name is free.
    if (errno == EPERM || errno == EOPNOTSUPP || errno == EXDEV || errno == EMLINK) {
      struct stat st {};
      if (Lstat(candidate, &st)) continue;
      if (::rename(path.c_str(), candidate.c_str()) == 0) {
        *aside = candidate;
        return 1;
      }
    }
    *error = "cannot keep it as " + candidate + ": " + Error_Text(errno);
    return 0;
  }
  *error = "every name to keep it under is taken";
  return 0;
}

bool Platform_Process_Running(int pid) {
  if (pid <= 0) return false;
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

int64_t Platform_File_Written(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return 0;
  return static_cast<int64_t>(st.st_mtime);
}

int Platform_Remove_Stale_Temporaries(const std::string& folder) {
  std::error_code ec;
  int removed = 0;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const size_t mark = name.rfind(TEMP_MARK);
    if (mark == std::string::npos || mark == 0) continue;
    const std::string digits = name.substr(mark + std::strlen(TEMP_MARK));
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
      continue;
    const int pid = std::stoi(digits);
    if (pid == ::getpid() || Platform_Process_Running(pid)) continue;
    struct stat st {};
    if (!Lstat(it->path().string(), &st) || !S_ISREG(st.st_mode)) continue;
    if (::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

int Platform_Lock_File(const std::string& path) {
  // The lock file stays put: removing it while another copy waits to open it would let two copies
  // hold locks on two different files of one name.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void Platform_Unlock_File(int lock) {
  if (lock >= 0) ::close(lock);
}

bool Platform_File_Locked(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

void Platform_Guard_Process() {
  // A write to a pipe whose reader has gone fails with EPIPE instead of ending the game unsaved.
  ::signal(SIGPIPE, SIG_IGN);
  // A standard stream started closed: /dev/null takes its number, so that no file the game opens
  // (a recording, a save) gets it and receives the game's messages.
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int null = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (null >= 0 && null != fd) {
      ::dup2(null, fd);
      ::close(null);
    }
  }
}

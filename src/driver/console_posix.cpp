#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <csignal>

#include "driver/console.h"

namespace hostcode {

namespace {

// The Win32 code for an errno value, so that both builds name a failure alike.
int IoErrorCode(int error) {
  switch (error) {
    case EBADF:
      return 6;  // ERROR_INVALID_HANDLE
    case ENOSPC:
      return 112;  // ERROR_DISK_FULL
    case EPIPE:
      return 232;  // ERROR_NO_DATA, the pipe is being closed
    default:
      return 29;  // ERROR_WRITE_FAULT
  }
}

int WriteAll(int descriptor, std::string_view bytes) noexcept {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return IoErrorCode(written < 0 ? errno : EIO);
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

}  // namespace

StreamKind ProbeStandardOutput() noexcept {
  if (::fcntl(STDOUT_FILENO, F_GETFL) == -1) return StreamKind::kAbsent;
  return ::isatty(STDOUT_FILENO) ? StreamKind::kConsole : StreamKind::kOther;
}

int WriteStandardOutput(std::string_view bytes) noexcept { return WriteAll(STDOUT_FILENO, bytes); }

void WriteStandardError(std::string_view bytes) noexcept { WriteAll(STDERR_FILENO, bytes); }

std::string ProgramFileName() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path));
  if (length <= 0) return "hostcode";
  const std::string_view full(path, static_cast<std::size_t>(length));
  return std::string(full.substr(full.find_last_of('/') + 1));
}

void PrepareProcess() noexcept { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace hostcode

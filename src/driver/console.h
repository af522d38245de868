#pragma once

// The process's standard streams, one implementation per platform.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "driver/line_output.h"

namespace hostcode {

enum class StreamKind {
  kAbsent,   // no standard output at all
  kConsole,  // a terminal: each line is written when it ends
  kOther,    // a file or a pipe: written when the process ends
};

StreamKind ProbeStandardOutput() noexcept;

// Writes all bytes to standard output; 0, or the I/O error code of the failure.
int WriteStandardOutput(std::string_view bytes) noexcept;

// Writes a report to standard error (on Windows in the OEM code page); a
// failure is ignored, there being nowhere left to report it.
void WriteStandardError(std::string_view bytes) noexcept;

// The program's file name without its folder, e.g. "hostcode.exe".
std::string ProgramFileName();

// Process-wide start-up: a write to a pipe whose reader has gone must not end
// the process.
void PrepareProcess() noexcept;

// Standard output, buffered: on a console each line is written when it ends,
// so the check behind the line sees a failed write; on a file or a pipe the
// bytes are written when the object ends, and a failure then is reported
// nowhere. Without a standard output every write fails with I/O error 105.
class StandardOutput final : public LineOutput {
 public:
  StandardOutput() noexcept : kind_(ProbeStandardOutput()) {}
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;
  ~StandardOutput() override { Flush(); }

  void Append(std::string_view bytes) noexcept override;
  void EndLine() noexcept override;

 private:
  void Flush() noexcept;

  StreamKind kind_;
  std::array<char, 256> buffer_{};
  std::size_t used_ = 0;
};

}  // namespace hostcode

#pragma once

#include <string_view>

namespace hostcode {

// Standard output as the driver uses it: appending and ending a line never
// raise; a failed write is recorded, and Check() raises it.
class LineOutput {
 public:
  virtual ~LineOutput() = default;

  virtual void Append(std::string_view bytes) noexcept = 0;
  // Appends CR LF.
  virtual void EndLine() noexcept = 0;

  // Raises EInOutError for the most recently recorded write failure, and
  // clears it; does nothing when none is pending.
  void Check();

 protected:
  void RecordFailure(int code) noexcept { pendingFailure_ = code; }

 private:
  int pendingFailure_ = 0;
};

// The I/O error code for writing to a standard output that does not exist.
inline constexpr int kIoErrorFileNotOpenForOutput = 105;

}  // namespace hostcode

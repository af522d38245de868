#include "driver/console.h"

#include <algorithm>

namespace hostcode {

void StandardOutput::Append(std::string_view bytes) noexcept {
  if (kind_ == StreamKind::kAbsent) {
    if (!bytes.empty()) RecordFailure(kIoErrorFileNotOpenForOutput);
    return;
  }
  while (!bytes.empty()) {
    if (used_ == buffer_.size()) Flush();
    const std::size_t count = std::min(bytes.size(), buffer_.size() - used_);
    std::copy_n(bytes.data(), count, buffer_.data() + used_);
    used_ += count;
    bytes.remove_prefix(count);
  }
}

void StandardOutput::EndLine() noexcept {
  Append("\r\n");
  if (kind_ == StreamKind::kConsole) Flush();
}

void StandardOutput::Flush() noexcept {
  if (used_ == 0) return;
  const int code = WriteStandardOutput({buffer_.data(), used_});
  used_ = 0;
  if (code != 0) RecordFailure(code);
}

}  // namespace hostcode

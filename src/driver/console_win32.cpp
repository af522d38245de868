#include <windows.h>

#include <string>

#include "driver/console.h"

namespace hostcode {

namespace {

HANDLE StandardHandle(DWORD which) {
  const HANDLE handle = ::GetStdHandle(which);
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

int WriteAll(HANDLE handle, std::string_view bytes) noexcept {
  if (handle == nullptr) return kIoErrorFileNotOpenForOutput;
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      return static_cast<int>(::GetLastError());
    }
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return 0;
}

// The bytes, taken in the ANSI code page, converted to the OEM code page the
// console shows; unchanged when a conversion fails.
std::string ToOemCodePage(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::string(text);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), wideLength);
  const int oemLength =
      ::WideCharToMultiByte(CP_OEMCP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (oemLength <= 0) return std::string(text);
  std::string oem(static_cast<std::size_t>(oemLength), '\0');
  ::WideCharToMultiByte(CP_OEMCP, 0, wide.data(), wideLength, oem.data(), oemLength, nullptr,
                        nullptr);
  return oem;
}

}  // namespace

StreamKind ProbeStandardOutput() noexcept {
  const HANDLE handle = StandardHandle(STD_OUTPUT_HANDLE);
  if (handle == nullptr) return StreamKind::kAbsent;
  DWORD mode = 0;
  return ::GetConsoleMode(handle, &mode) ? StreamKind::kConsole : StreamKind::kOther;
}

int WriteStandardOutput(std::string_view bytes) noexcept {
  return WriteAll(StandardHandle(STD_OUTPUT_HANDLE), bytes);
}

void WriteStandardError(std::string_view bytes) noexcept {
  try {
    WriteAll(StandardHandle(STD_ERROR_HANDLE), ToOemCodePage(bytes));
  } catch (...) {
    WriteAll(StandardHandle(STD_ERROR_HANDLE), bytes);
  }
}

std::string ProgramFileName() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "hostcode.exe";
  const std::string_view full(path, length);
  return std::string(full.substr(full.find_last_of("\\/") + 1));
}

void PrepareProcess() noexcept {
  // A failed write to a pipe returns an error on Windows; nothing to set.
}

}  // namespace hostcode

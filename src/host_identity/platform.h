#pragma once

// The one seam between the logic and the operating system: the registry calls
// with their Win32 result codes, the version query and the user's decimal
// separator. The Windows build implements it with the real API calls; other
// builds and the tests use stand-ins.

#include <cstdint>

namespace hostcode {

// A registry key handle as the registry hands it out; 0 is no key.
using RegKey = std::uintptr_t;

// The predefined root every key here is opened from.
inline constexpr RegKey kHKeyLocalMachine = 0x80000002;

// True for the predefined roots (HKEY_CLASSES_ROOT and its siblings), which are
// never closed.
constexpr bool IsPredefinedKey(RegKey key) { return key >= 0x80000000u && key <= 0x8000000Fu; }

// Win32 result codes.
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorOutOfMemory = 14;
inline constexpr std::int32_t kErrorMoreData = 234;

// Access masks.
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyReadWithoutNotify = 0x20009;
inline constexpr std::uint32_t kKeyQueryValue = 0x1;

// Value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// The platform identifier of the 9x family (VER_PLATFORM_WIN32_WINDOWS).
inline constexpr std::uint32_t kVerPlatformWin32Windows = 1;

class Platform {
 public:
  virtual ~Platform() = default;

  // RegOpenKeyExA(parent, subKey, 0, access, &result): kErrorSuccess and a
  // handle in `result`, or a Win32 error code and `result` untouched.
  virtual std::int32_t RegOpenKeyExA(RegKey parent, const char* subKey, std::uint32_t access,
                                     RegKey& result) = 0;

  // RegQueryValueExA(key, valueName, nullptr, type, data, size). With `data`
  // null it is the size query: the value's type and size in bytes. Otherwise
  // *size is the buffer's size on entry and the count delivered on success;
  // ERROR_MORE_DATA when the buffer is too small. `type` may be null.
  virtual std::int32_t RegQueryValueExA(RegKey key, const char* valueName, std::uint32_t* type,
                                        unsigned char* data, std::uint32_t* size) = 0;

  // RegCloseKey(key); its result is not examined.
  virtual void RegCloseKey(RegKey key) noexcept = 0;

  // dwPlatformId of GetVersionExA, or 0 when the call fails.
  virtual std::uint32_t PlatformId() = 0;

  // The first character of the user's decimal separator, or '.' when it
  // cannot be had.
  virtual char DecimalSeparator() = 0;
};

// The platform this program runs on.
Platform& SystemPlatform();

}  // namespace hostcode

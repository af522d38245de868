// The platform on Windows: the real registry, version and locale calls.

#include <windows.h>

#include "host_identity/platform.h"

namespace hostcode {

namespace {

// A 64-bit build reads the same registry view as the 32-bit program, which is
// at home on every Windows: without this flag it would read the 64-bit view of
// HKLM\SOFTWARE and print another code on the same machine. 32-bit builds pass
// the masks unchanged (Windows 2000 and 9x reject the WOW64 flags).
#ifdef _WIN64
constexpr REGSAM kViewFlag = KEY_WOW64_32KEY;
#else
constexpr REGSAM kViewFlag = 0;
#endif

HKEY ToHkey(RegKey key) {
  return key == kHKeyLocalMachine ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(key);
}

class Win32Platform final : public Platform {
 public:
  std::int32_t RegOpenKeyExA(RegKey parent, const char* subKey, std::uint32_t access,
                             RegKey& result) override {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(ToHkey(parent), subKey, 0, access | kViewFlag, &opened);
    if (status == ERROR_SUCCESS) result = reinterpret_cast<RegKey>(opened);
    return status;
  }

  std::int32_t RegQueryValueExA(RegKey key, const char* valueName, std::uint32_t* type,
                                unsigned char* data, std::uint32_t* size) override {
    DWORD valueType = 0;
    DWORD valueSize = size != nullptr ? *size : 0;
    const LONG status =
        ::RegQueryValueExA(ToHkey(key), valueName, nullptr, type != nullptr ? &valueType : nullptr,
                           data, size != nullptr ? &valueSize : nullptr);
    if (type != nullptr) *type = valueType;
    if (size != nullptr) *size = valueSize;
    return status;
  }

  void RegCloseKey(RegKey key) noexcept override { ::RegCloseKey(ToHkey(key)); }

  std::uint32_t PlatformId() override {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);  // 148
    // GetVersionExA is deprecated for version checks; only the family is used here.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#elif defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    const BOOL ok = ::GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return ok ? info.dwPlatformId : 0;
  }

  char DecimalSeparator() override {
    char separator[2] = {};  // one character and its terminator
    if (::GetLocaleInfoA(::GetThreadLocale(), LOCALE_SDECIMAL, separator, sizeof(separator)) == 0) {
      return '.';
    }
    return separator[0];
  }
};

static_assert(sizeof(OSVERSIONINFOA) == 148);

}  // namespace

Platform& SystemPlatform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace hostcode

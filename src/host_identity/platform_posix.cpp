// The platform of a build without Windows: there is no registry, so every key
// is absent and the version query fails (the NT family); the decimal separator
// comes from the user's locale.

#include <clocale>
#include <cstring>
#include <string>

#include "host_identity/platform.h"

namespace hostcode {

namespace {

class PosixPlatform final : public Platform {
 public:
  std::int32_t RegOpenKeyExA(RegKey, const char*, std::uint32_t, RegKey&) override {
    return kErrorFileNotFound;
  }
  std::int32_t RegQueryValueExA(RegKey, const char*, std::uint32_t*, unsigned char*,
                                std::uint32_t*) override {
    return kErrorInvalidHandle;
  }
  void RegCloseKey(RegKey) noexcept override {}
  std::uint32_t PlatformId() override { return 0; }

  char DecimalSeparator() override {
    // Read the user's LC_NUMERIC setting without leaving it in force.
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string previous = current != nullptr ? current : "C";
    char separator = '.';
    if (std::setlocale(LC_NUMERIC, "") != nullptr) {
      const char* point = std::localeconv()->decimal_point;
      if (point != nullptr && std::strlen(point) == 1) separator = point[0];
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
    return separator;
  }
};

}  // namespace

Platform& SystemPlatform() {
  static PosixPlatform platform;
  return platform;
}

}  // namespace hostcode

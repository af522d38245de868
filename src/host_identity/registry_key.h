#pragma once

#include <utility>

#include "host_identity/platform.h"

namespace hostcode {

// Owns one open registry key and closes it when it goes out of scope; an empty
// RegistryKey owns nothing. Predefined roots are never closed.
class RegistryKey {
 public:
  RegistryKey() noexcept = default;
  RegistryKey(Platform& platform, RegKey key) noexcept : platform_(&platform), key_(key) {}
  RegistryKey(RegistryKey&& other) noexcept
      : platform_(other.platform_), key_(std::exchange(other.key_, 0)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      platform_ = other.platform_;
      key_ = std::exchange(other.key_, 0);
    }
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() { Close(); }

  bool IsOpen() const noexcept { return key_ != 0; }
  RegKey Get() const noexcept { return key_; }

 private:
  void Close() noexcept {
    if (key_ != 0 && !IsPredefinedKey(key_)) platform_->RegCloseKey(key_);
    key_ = 0;
  }

  Platform* platform_ = nullptr;
  RegKey key_ = 0;
};

// Opens `subKey` under `parent` with `access`; an empty key when it fails.
inline RegistryKey OpenRegistryKey(Platform& platform, RegKey parent, const char* subKey,
                                   std::uint32_t access) {
  RegKey key = 0;
  if (platform.RegOpenKeyExA(parent, subKey, access, key) != kErrorSuccess) return {};
  return RegistryKey(platform, key);
}

}  // namespace hostcode

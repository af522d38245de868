#include "host_identity/host_identity.h"

#include <algorithm>
#include <string_view>

#include "StringManip/StringManip.h"
#include "driver/failures.h"

namespace hostcode {

namespace {

constexpr const char* kProductKey9x = "software\\microsoft\\windows\\currentversion";
constexpr const char* kProductKeyNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kBiosKey = "HARDWARE\\DESCRIPTION\\system";
constexpr const char* kProductIdValue = "ProductID";
constexpr const char* kBiosVersionValue = "SystemBiosVersion";
constexpr std::string_view kBiosRemovalSet = " \r\n";

// Each line followed by CR LF, the last one too.
std::string JoinLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const auto& line : lines) {
    joined += line;
    joined += "\r\n";
  }
  return joined;
}

}  // namespace

bool KeyIsPresent(Platform& platform, const char* keyPath) {
  return OpenRegistryKey(platform, kHKeyLocalMachine, keyPath, kKeyReadWithoutNotify).IsOpen();
}

RegistryKey OpenKeyForReading(Platform& platform, const char* keyPath) {
  for (const std::uint32_t access : {kKeyRead, kKeyReadWithoutNotify, kKeyQueryValue}) {
    RegistryKey key = OpenRegistryKey(platform, kHKeyLocalMachine, keyPath, access);
    if (key.IsOpen()) return key;
  }
  return {};
}

std::string ReadTextValue(Platform& platform, const RegistryKey& key, const char* valueName) {
  if (!key.IsOpen()) return {};
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (platform.RegQueryValueExA(key.Get(), valueName, &type, nullptr, &size) != kErrorSuccess) {
    return {};
  }
  if (size == 0) return {};

  std::string text(size, '\0');
  std::uint32_t delivered = size;
  if (platform.RegQueryValueExA(key.Get(), valueName, &type,
                                reinterpret_cast<unsigned char*>(text.data()),
                                &delivered) != kErrorSuccess) {
    throw ERegistryException(std::string("Failed to get data for '") + valueName + "'");
  }
  if (type != kRegSz && type != kRegExpandSz) {
    throw ERegistryException(std::string("Invalid data type for '") + valueName + "'");
  }
  // A value that shrank since the size query is taken as delivered.
  text.resize(std::min(delivered, size));
  if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

void ReadMultiSzValue(Platform& platform, RegKey rootKey, const char* subKeyPath,
                      const char* valueName, std::vector<std::string>& lines) {
  lines.clear();
  const RegistryKey key = OpenRegistryKey(platform, rootKey, subKeyPath, kKeyRead);
  if (!key.IsOpen()) return;

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (platform.RegQueryValueExA(key.Get(), valueName, &type, nullptr, &size) != kErrorSuccess) {
    throw ERegistryException("Cannot Read MULTI_SZ Value");
  }
  if (type != kRegMultiSz) throw ERegistryException("Stringlist expected");
  if (size == 0) throw ERegistryException("Empty MULTI_SZ Value");

  // Exactly the reported size, with no terminator behind it to hide a read
  // past the data.
  std::vector<char> buffer(size);
  std::uint32_t delivered = size;
  if (platform.RegQueryValueExA(key.Get(), valueName, nullptr,
                                reinterpret_cast<unsigned char*>(buffer.data()),
                                &delivered) != kErrorSuccess) {
    throw ERegistryException("Cannot Read MULTI_SZ Value");
  }

  // Strings up to the first empty one; a last string without its NUL ends at
  // the end of the data delivered.
  const std::string_view data(buffer.data(), std::min(delivered, size));
  std::size_t position = 0;
  while (position < data.size() && data[position] != '\0') {
    const std::size_t end = std::min(data.find('\0', position), data.size());
    lines.emplace_back(data.substr(position, end - position));
    position = end + 1;
  }
}

std::string GetHostIdentity(Platform& platform, std::uint32_t platformId) {
  const bool family9x = platformId == kVerPlatformWin32Windows;
  const char* productKey = family9x ? kProductKey9x : kProductKeyNt;
  if (!KeyIsPresent(platform, productKey)) return kFallbackIdentity;

  RegistryKey reading;  // closed when this function returns, on every path
  std::string identity;
  try {
    reading = OpenKeyForReading(platform, productKey);
    identity = ReadTextValue(platform, reading, kProductIdValue);
    if (!family9x && identity.empty()) {
      std::vector<std::string> lines;
      ReadMultiSzValue(platform, kHKeyLocalMachine, kBiosKey, kBiosVersionValue, lines);
      identity = RemoveChars(JoinLines(lines), kBiosRemovalSet);
    }
  } catch (...) {
    // Whatever went wrong while reading, the identity is the fallback.
    identity = kFallbackIdentity;
  }
  return identity;
}

std::string GetHostIdentity() {
  static const std::uint32_t platformId = SystemPlatform().PlatformId();
  return GetHostIdentity(SystemPlatform(), platformId);
}

}  // namespace hostcode

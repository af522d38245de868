// libFuzzer target: GetHostIdentity over a registry described by the input.
// The identity must be the one the rules give for that registry, contain no
// NUL, and every key must be closed afterwards.
//
// Input: a flags byte, a byte for each of the two values (type and whether
// the value changes between its size query and its data query), then for
// ProductID and SystemBiosVersion in turn the data and the changed data, each
// as a length byte and that many bytes.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "StringManip/StringManip.h"
#include "host_identity/host_identity.h"
#include "host_identity/in_memory_platform.h"

namespace {

using namespace hostcode;

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }
  std::string Bytes() {
    const std::size_t wanted = Byte();  // read before the rest is measured
    const std::size_t length = std::min(wanted, rest_.size());
    std::string bytes(rest_.substr(0, length));
    rest_.remove_prefix(length);
    return bytes;
  }

 private:
  std::string_view rest_;
};

constexpr std::uint32_t kTypes[8] = {0,         kRegSz,      kRegExpandSz, kRegBinary,
                                     kRegDword, kRegMultiSz, kRegSz,       kRegMultiSz};

struct Value {
  std::uint32_t type = 0;  // 0: absent
  bool changes = false;
  std::string data;
  std::string changed;

  // What the data query delivers after a successful size query, or nothing
  // when the value grew and no longer fits.
  bool Delivered(std::string& delivered) const {
    if (!changes) {
      delivered = data;
      return true;
    }
    if (changed.size() > data.size()) return false;
    delivered = changed;
    return true;
  }
};

struct Registry {
  bool family9x = false;
  std::uint32_t platformId = 2;
  bool productKey = false;
  bool refuseProbeMask = false;
  bool refuseKeyRead = false;
  bool refuseQueryValue = false;
  bool biosKey = false;
  bool biosRefused = false;
  Value productId;
  Value bios;
};

Registry Describe(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  Registry r;
  const std::uint8_t flags = in.Byte();
  r.family9x = (flags & 1) != 0;
  r.platformId = r.family9x ? 1 : ((flags & 0x80) != 0 ? 0 : 2);
  r.productKey = (flags & 2) != 0;
  r.refuseProbeMask = (flags & 4) != 0;
  r.refuseKeyRead = (flags & 8) != 0;
  r.refuseQueryValue = (flags & 0x10) != 0;
  r.biosKey = (flags & 0x20) != 0;
  r.biosRefused = (flags & 0x40) != 0;
  for (Value* value : {&r.productId, &r.bios}) {
    const std::uint8_t shape = in.Byte();
    value->type = kTypes[shape & 7];
    value->changes = (shape & 8) != 0;
  }
  for (Value* value : {&r.productId, &r.bios}) {
    value->data = in.Bytes();
    value->changed = in.Bytes();
  }
  return r;
}

// The identity the rules give for the registry.
std::string ExpectedIdentity(const Registry& r) {
  if (!r.productKey || r.refuseProbeMask) return "xxx";
  // The probe's mask opened the key, so the reading open succeeds too.
  std::string text;
  if (r.productId.type != 0 && !r.productId.data.empty()) {
    std::string delivered;
    if (!r.productId.Delivered(delivered)) return "xxx";
    if (r.productId.type != kRegSz && r.productId.type != kRegExpandSz) return "xxx";
    text = delivered.substr(0, delivered.find('\0'));
  }
  if (r.family9x || !text.empty()) return text;

  if (!r.biosKey || r.biosRefused) return "";
  if (r.bios.type != kRegMultiSz || r.bios.data.empty()) return "xxx";
  std::string delivered;
  if (!r.bios.Delivered(delivered)) return "xxx";
  std::string joined;
  std::size_t position = 0;
  while (position < delivered.size() && delivered[position] != '\0') {
    const std::size_t end = std::min(delivered.find('\0', position), delivered.size());
    joined.append(delivered, position, end - position);
    position = end + 1;
  }
  std::erase_if(joined, [](char c) { return c == ' ' || c == '\r' || c == '\n'; });
  return joined;
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Registry r = Describe(data, size);
  const std::string key = r.family9x ? "software\\microsoft\\windows\\currentversion"
                                     : "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  const std::string biosKey = "HARDWARE\\DESCRIPTION\\system";
  InMemoryPlatform platform;
  if (r.productKey) platform.AddKey(key);
  if (r.refuseProbeMask) platform.RefuseAccess(key, kKeyReadWithoutNotify);
  if (r.refuseKeyRead) platform.RefuseAccess(key, kKeyRead);
  if (r.refuseQueryValue) platform.RefuseAccess(key, kKeyQueryValue);
  if (r.productKey && r.productId.type != 0) {
    platform.SetValue(key, "ProductID", r.productId.type, r.productId.data);
    if (r.productId.changes)
      platform.ChangeValueAfterSizeQuery(key, "ProductID", r.productId.changed);
  }
  if (r.biosKey) platform.AddKey(biosKey);
  if (r.biosRefused) platform.RefuseAccess(biosKey, kKeyRead);
  if (r.biosKey && r.bios.type != 0) {
    platform.SetValue(biosKey, "SystemBiosVersion", r.bios.type, r.bios.data);
    if (r.bios.changes)
      platform.ChangeValueAfterSizeQuery(biosKey, "SystemBiosVersion", r.bios.changed);
  }

  const std::string identity = GetHostIdentity(platform, r.platformId);
  const std::string expected = ExpectedIdentity(r);
  if (identity != expected) Fail("identity [" + identity + "], expected [" + expected + "]");
  if (identity.find('\0') != std::string::npos) Fail("identity holds a NUL");
  if (platform.OpenHandles() != 0) Fail("a key was left open");
  if (platform.BadCloses() != 0) Fail("a key was closed twice");
  return 0;
}

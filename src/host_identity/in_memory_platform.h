#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host_identity/platform.h"

namespace hostcode {

// A registry held in memory, with the version and the separator as plain
// settings, for tests and tools. Key paths are relative to HKEY_LOCAL_MACHINE
// and match without regard to ASCII case, as the registry's do. Calls can be
// made to fail, and every handle it gives out is counted until closed.
class InMemoryPlatform final : public Platform {
 public:
  enum class Call { kOpen, kSizeQuery, kDataQuery, kClose };

  struct CallRecord {
    Call call;
    std::string keyPath;  // the key opened, or the key queried or closed
    std::string detail;   // the value name of a query
    std::uint32_t access = 0;
    std::int32_t result = kErrorSuccess;
  };

  // --- contents
  void AddKey(const std::string& keyPath);
  // Sets a value (adding its key) to `type` and exactly `bytes`.
  void SetValue(const std::string& keyPath, const std::string& valueName, std::uint32_t type,
                std::string bytes);
  void SetPlatformId(std::uint32_t id) { platformId_ = id; }
  void SetDecimalSeparator(char separator) { separator_ = separator; }

  // --- faults
  // Every call of this kind fails with `code`.
  void FailCall(Call kind, std::int32_t code) { failingKinds_[kind] = code; }
  // The registry call with this index (from 0, counting opens, queries and
  // closes in the order made) fails with `code`.
  void FailCallAt(std::size_t index, std::int32_t code) { failingIndex_ = {index, code}; }
  // Opening `keyPath` with exactly `access` is refused with ERROR_ACCESS_DENIED.
  void RefuseAccess(const std::string& keyPath, std::uint32_t access);
  // Right after the next size query of the value, its data becomes `bytes`,
  // as if another program changed it between the two queries.
  void ChangeValueAfterSizeQuery(const std::string& keyPath, const std::string& valueName,
                                 std::string bytes);

  // --- observations
  std::size_t OpenHandles() const { return handles_.size(); }
  // Closes of handles that were not open (double closes, closed roots).
  std::size_t BadCloses() const { return badCloses_; }
  const std::vector<CallRecord>& Calls() const { return calls_; }

  // --- Platform
  std::int32_t RegOpenKeyExA(RegKey parent, const char* subKey, std::uint32_t access,
                             RegKey& result) override;
  std::int32_t RegQueryValueExA(RegKey key, const char* valueName, std::uint32_t* type,
                                unsigned char* data, std::uint32_t* size) override;
  void RegCloseKey(RegKey key) noexcept override;
  std::uint32_t PlatformId() override { return platformId_; }
  char DecimalSeparator() override { return separator_; }

 private:
  struct Value {
    std::uint32_t type = 0;
    std::string bytes;
  };
  struct Key {
    std::map<std::string, Value> values;  // by lower-case name
  };

  // The injected result of the call about to be made, if any.
  std::optional<std::int32_t> InjectedFault(Call kind);
  std::int32_t Record(CallRecord record);

  std::map<std::string, Key> keys_;  // by lower-case path
  std::map<RegKey, std::string> handles_;
  std::set<std::pair<std::string, std::uint32_t>> refused_;
  std::map<std::pair<std::string, std::string>, std::string> pendingChanges_;
  std::map<Call, std::int32_t> failingKinds_;
  std::optional<std::pair<std::size_t, std::int32_t>> failingIndex_;
  std::vector<CallRecord> calls_;
  RegKey nextHandle_ = 0x1000;
  std::size_t badCloses_ = 0;
  std::uint32_t platformId_ = 2;
  char separator_ = '.';
};

}  // namespace hostcode

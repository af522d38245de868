// Every registry call of a reading made to fail in turn, with each of the
// codes a registry call can return: the identity must be the one the failed
// call stands for, and no key may be left open.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_identity/host_identity.h"
#include "host_identity/in_memory_platform.h"
#include "registry_paths.h"

namespace hostcode {
namespace {

using Call = InMemoryPlatform::Call;

struct Scenario {
  std::string name;
  std::uint32_t platformId;
  std::string productId;     // REG_SZ bytes; no value when empty
  std::string bios;          // REG_MULTI_SZ bytes; no BIOS key when empty
  std::string identity;      // what the reading gives without failures
  std::string biosIdentity;  // what the BIOS reading gives without failures
};

const Scenario kScenarios[] = {
    {"NT, product identifier", 2, std::string("12345-OEM\0", 10), std::string("A B\0\0", 5),
     "12345-OEM", "AB"},
    {"NT, BIOS strings", 2, "", std::string("ABC - 1\0Ver 1.00\0\0", 18), "ABC-1Ver1.00",
     "ABC-1Ver1.00"},
    {"NT, no BIOS key", 2, "", "", "", ""},
    {"9x, product identifier", 1, std::string("98-OEM\0", 7), std::string("A\0\0", 3), "98-OEM",
     ""},
    {"9x, no product identifier", 1, "", std::string("A\0\0", 3), "", ""},
};

InMemoryPlatform Machine(const Scenario& scenario) {
  InMemoryPlatform platform;
  const std::string& key = scenario.platformId == 1 ? k9xKey : kNtKey;
  platform.AddKey(key);
  if (!scenario.productId.empty()) platform.SetValue(key, "ProductID", kRegSz, scenario.productId);
  if (!scenario.bios.empty()) {
    platform.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, scenario.bios);
  }
  return platform;
}

// The identity when `call` of an otherwise good reading fails.
std::string IdentityWhenFailing(const Scenario& scenario, const InMemoryPlatform::CallRecord& call,
                                std::size_t index) {
  const bool bios = call.keyPath == "hardware\\description\\system";
  const bool nt = scenario.platformId != 1;
  switch (call.call) {
    case Call::kClose:
      return scenario.identity;  // the result of a close is not examined
    case Call::kOpen:
      if (bios) return "";           // BIOS key unopenable: no lines
      if (index == 0) return "xxx";  // the presence probe
      // A reading open: the next mask opens the key just as well, unless this
      // was the last mask.
      if (call.access != kKeyQueryValue) return scenario.identity;
      return nt ? scenario.biosIdentity : "";
    case Call::kSizeQuery:
      if (bios) return "xxx";                  // "Cannot Read MULTI_SZ Value"
      return nt ? scenario.biosIdentity : "";  // ProductID reads as absent
    case Call::kDataQuery:
      return "xxx";  // "Failed to get data" / "Cannot Read MULTI_SZ Value"
  }
  return "?";
}

TEST(RegistryFaultSweep, EveryCallFailingWithEveryCode) {
  const std::int32_t codes[] = {kErrorFileNotFound, kErrorAccessDenied, kErrorMoreData,
                                kErrorOutOfMemory};
  for (const auto& scenario : kScenarios) {
    InMemoryPlatform baseline = Machine(scenario);
    ASSERT_EQ(GetHostIdentity(baseline, scenario.platformId), scenario.identity) << scenario.name;
    const auto calls = baseline.Calls();
    for (std::size_t index = 0; index < calls.size(); ++index) {
      for (const std::int32_t code : codes) {
        SCOPED_TRACE(scenario.name + ", call " + std::to_string(index) + " (" +
                     calls[index].keyPath + " " + calls[index].detail + "), code " +
                     std::to_string(code));
        InMemoryPlatform platform = Machine(scenario);
        platform.FailCallAt(index, code);
        EXPECT_EQ(GetHostIdentity(platform, scenario.platformId),
                  IdentityWhenFailing(scenario, calls[index], index));
        EXPECT_EQ(platform.OpenHandles(), 0u);
        EXPECT_EQ(platform.BadCloses(), 0u);
      }
    }
    // One index beyond the last call changes nothing.
    InMemoryPlatform beyond = Machine(scenario);
    beyond.FailCallAt(calls.size(), kErrorAccessDenied);
    EXPECT_EQ(GetHostIdentity(beyond, scenario.platformId), scenario.identity) << scenario.name;
  }
}

}  // namespace
}  // namespace hostcode

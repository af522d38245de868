#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host_identity/platform.h"
#include "host_identity/registry_key.h"

namespace hostcode {

// The identity used when the registry cannot be read as expected.
inline constexpr const char* kFallbackIdentity = "xxx";

// The host identity of the machine behind `platform`: the text of "ProductID"
// under the product key of the platform family (`platformId` 1 is the 9x
// family, every other value the NT family), or on the NT family, when that
// text is empty, the "SystemBiosVersion" strings joined and stripped of
// spaces, CR and LF. "xxx" when the product key is absent or a value cannot
// be read as expected. Registry failures never leave it; every key it opens is
// closed before it returns. Only memory exhaustion outside the reading can
// escape.
std::string GetHostIdentity(Platform& platform, std::uint32_t platformId);

// The host identity of the machine this process runs on: GetHostIdentity on
// the system's platform with its platform identifier, read once per process.
std::string GetHostIdentity();

// True when `keyPath` under HKEY_LOCAL_MACHINE opens with access 0x20009; the
// probe handle is closed at once.
bool KeyIsPresent(Platform& platform, const char* keyPath);

// Opens `keyPath` under HKEY_LOCAL_MACHINE with the first access mask that
// succeeds of KEY_READ, 0x20009 and KEY_QUERY_VALUE; empty when all fail.
RegistryKey OpenKeyForReading(Platform& platform, const char* keyPath);

// The text of a REG_SZ or REG_EXPAND_SZ value up to its first NUL (unexpanded).
// Empty when no key is open, the value is absent or of zero bytes. Raises
// ERegistryException "Failed to get data for '<name>'" when the data query
// fails and "Invalid data type for '<name>'" for any other type.
std::string ReadTextValue(Platform& platform, const RegistryKey& key, const char* valueName);

// Reads the REG_MULTI_SZ value `valueName` of `subKeyPath` under `rootKey`
// into `lines` (cleared first): its strings in order, up to the first empty
// one, never reading past the bytes delivered. Leaves `lines` empty when the
// key does not open with KEY_READ. Raises ERegistryException: "Cannot Read
// MULTI_SZ Value" when a query fails, "Stringlist expected" for another type,
// "Empty MULTI_SZ Value" for data of zero bytes.
void ReadMultiSzValue(Platform& platform, RegKey rootKey, const char* subKeyPath,
                      const char* valueName, std::vector<std::string>& lines);

}  // namespace hostcode

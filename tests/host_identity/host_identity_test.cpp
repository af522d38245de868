#include "host_identity/host_identity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "driver/failures.h"
#include "failing_allocator.h"
#include "host_code/host_code.h"
#include "host_identity/in_memory_platform.h"
#include "reference_host_code.h"
#include "registry_paths.h"

namespace hostcode {
namespace {

using Call = InMemoryPlatform::Call;

constexpr std::uint32_t kNt = 2;
constexpr std::uint32_t k9x = 1;

std::string Bytes(const char* text, std::size_t length) { return std::string(text, length); }

using Setup = std::function<void(InMemoryPlatform&, const std::string& productKey)>;

// A machine whose BIOS strings would give "BIOS1" when read.
InMemoryPlatform MachineWith(const Setup& setup, const std::string& productKey) {
  InMemoryPlatform platform;
  platform.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("BIOS 1\0\0", 8));
  setup(platform, productKey);
  return platform;
}

bool BiosWasRead(const InMemoryPlatform& platform) {
  const auto& calls = platform.Calls();
  return std::any_of(calls.begin(), calls.end(), [](const auto& call) {
    return call.keyPath == "hardware\\description\\system";
  });
}

void ExpectAllClosed(const InMemoryPlatform& platform) {
  EXPECT_EQ(platform.OpenHandles(), 0u);
  EXPECT_EQ(platform.BadCloses(), 0u);
}

struct ProductRow {
  std::string situation;
  Setup setup;
  std::string identity9x;
  std::string identityNt;  // "BIOS1" where the BIOS value is read
};

const ProductRow kProductRows[] = {
    {"product key absent", [](auto&, auto&) {}, "xxx", "xxx"},
    {"product key refuses the probe's access",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("ABC\0", 4));
       p.RefuseAccess(key, kKeyReadWithoutNotify);
     },
     "xxx", "xxx"},
    {"text with a blank, kept",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("AB 12-C\0", 8));
     },
     "AB 12-C", "AB 12-C"},
    {"expand-string taken unexpanded",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegExpandSz, Bytes("%X%abc\0", 7));
     },
     "%X%abc", "%X%abc"},
    {"text cut at its first NUL",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("AB\0CD\0", 6));
     },
     "AB", "AB"},
    {"text without terminator",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, "ABC");
     },
     "ABC", "ABC"},
    {"bytes above 0x7F kept",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("\xE9\xFF\x80\0", 4));
     },
     "\xE9\xFF\x80", "\xE9\xFF\x80"},
    {"DWORD",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegDword, Bytes("\x05\0\0\0", 4));
     },
     "xxx", "xxx"},
    {"binary with bytes",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegBinary, "AB");
     },
     "xxx", "xxx"},
    {"multi-string",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegMultiSz, Bytes("AB\0\0", 4));
     },
     "xxx", "xxx"},
    {"binary of zero bytes counts as empty",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegBinary, "");
     },
     "", "BIOS1"},
    {"ProductID absent", [](InMemoryPlatform& p, const std::string& key) { p.AddKey(key); }, "",
     "BIOS1"},
    {"text whose first byte is NUL",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("\0AB\0", 4));
     },
     "", "BIOS1"},
    {"data query fails after the size query",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("ABC\0", 4));
       p.FailCall(Call::kDataQuery, kErrorAccessDenied);
     },
     "xxx", "xxx"},
    {"value grew between the queries",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("ABC\0", 4));
       p.ChangeValueAfterSizeQuery(key, "ProductID", Bytes("ABCDEF\0", 7));
     },
     "xxx", "xxx"},
    {"value shrank between the queries: taken as delivered",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("ABCDEF\0", 7));
       p.ChangeValueAfterSizeQuery(key, "ProductID", "AB");
     },
     "AB", "AB"},
    {"probe passes but every reading open fails",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("ABC\0", 4));
       p.RefuseAccess(key, kKeyRead);
       p.RefuseAccess(key, kKeyQueryValue);
       p.FailCallAt(3, kErrorAccessDenied);  // the reading open with 0x20009
     },
     "", "BIOS1"},
    {"reading falls back to KEY_QUERY_VALUE",
     [](InMemoryPlatform& p, const std::string& key) {
       p.SetValue(key, "ProductID", kRegSz, Bytes("ABC\0", 4));
       p.RefuseAccess(key, kKeyRead);
       p.FailCallAt(3, kErrorAccessDenied);
     },
     "ABC", "ABC"},
};

TEST(GetHostIdentity, ProductIdentifierCasesOnBothBranches) {
  for (const auto& row : kProductRows) {
    for (const auto& [platformId, key, expected] :
         {std::tuple{k9x, k9xKey, row.identity9x}, std::tuple{kNt, kNtKey, row.identityNt}}) {
      SCOPED_TRACE(row.situation + (platformId == k9x ? " (9x)" : " (NT)"));
      InMemoryPlatform platform = MachineWith(row.setup, key);
      EXPECT_EQ(GetHostIdentity(platform, platformId), expected);
      EXPECT_EQ(BiosWasRead(platform), expected == "BIOS1");
      ExpectAllClosed(platform);
    }
  }
}

// The NT branch with "ProductID" absent: what the BIOS value gives.
TEST(GetHostIdentity, BiosVersionCasesOnTheNtBranch) {
  const struct {
    std::string situation;
    std::function<void(InMemoryPlatform&)> setup;
    std::string identity;
  } rows[] = {
      {"BIOS key absent", [](auto&) {}, ""},
      {"BIOS key refuses KEY_READ",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("A\0\0", 3));
         p.RefuseAccess(kBiosKey, kKeyRead);
       },
       ""},
      {"value absent", [](InMemoryPlatform& p) { p.AddKey(kBiosKey); }, "xxx"},
      {"value of type REG_SZ",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegSz, Bytes("A\0", 2));
       },
       "xxx"},
      {"value of zero bytes",
       [](InMemoryPlatform& p) { p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, ""); },
       "xxx"},
      {"first string empty",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("\0ABC\0\0", 6));
       },
       ""},
      {"only the closing NUL",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("\0", 1));
       },
       ""},
      {"two NULs",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("\0\0", 2));
       },
       ""},
      {"strings joined, blanks removed",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("ABC - 1\0Ver 1.00\0\0", 18));
       },
       "ABC-1Ver1.00"},
      {"CR and LF removed, tab kept, duplicates kept",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz,
                    Bytes("a\tb\r\nc\0a\tb\r\nc\0\0", 16));
       },
       "a\tbca\tbc"},
      {"strings after an empty one not read",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("A\0\0B\0\0", 6));
       },
       "A"},
      {"last string without its NUL ends at the data's end",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("AB\0CD", 5));
       },
       "ABCD"},
      {"data query fails",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("A\0\0", 3));
         p.FailCall(Call::kDataQuery, kErrorOutOfMemory);
       },
       "xxx"},
      {"value grew between the queries",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("A\0\0", 3));
         p.ChangeValueAfterSizeQuery(kBiosKey, "SystemBiosVersion", Bytes("ABCD\0\0", 6));
       },
       "xxx"},
      {"value shrank between the queries: only what was delivered",
       [](InMemoryPlatform& p) {
         p.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("ABCD\0EF\0\0", 9));
         p.ChangeValueAfterSizeQuery(kBiosKey, "SystemBiosVersion", "AB");
       },
       "AB"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    InMemoryPlatform platform;
    platform.AddKey(kNtKey);
    row.setup(platform);
    EXPECT_EQ(GetHostIdentity(platform, kNt), row.identity);
    ExpectAllClosed(platform);
  }
}

TEST(GetHostIdentity, OnlyPlatformIdentifierOneTakesThe9xBranch) {
  const struct {
    std::uint32_t platformId;
    std::string identity;
  } rows[] = {{0, "NT"}, {1, "9x"}, {2, "NT"}, {3, "NT"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.platformId);
    InMemoryPlatform platform;
    platform.SetValue(kNtKey, "ProductID", kRegSz, Bytes("NT\0", 3));
    platform.SetValue(k9xKey, "ProductID", kRegSz, Bytes("9x\0", 3));
    EXPECT_EQ(GetHostIdentity(platform, row.platformId), row.identity);
    ExpectAllClosed(platform);
  }
}

TEST(GetHostIdentity, OpensWithTheDocumentedMasksInOrder) {
  InMemoryPlatform platform;
  platform.SetValue(kNtKey, "ProductID", kRegSz, Bytes("ABC\0", 4));
  platform.RefuseAccess(kNtKey, kKeyRead);
  platform.FailCallAt(3, kErrorAccessDenied);
  ASSERT_EQ(GetHostIdentity(platform, kNt), "ABC");

  std::vector<std::uint32_t> masks;
  for (const auto& call : platform.Calls()) {
    if (call.call == Call::kOpen) masks.push_back(call.access);
  }
  EXPECT_EQ(masks, (std::vector<std::uint32_t>{kKeyReadWithoutNotify, kKeyRead,
                                               kKeyReadWithoutNotify, kKeyQueryValue}));
  ExpectAllClosed(platform);
}

TEST(GetHostIdentity, MissingProductKeyOnNtDoesNotConsultTheBios) {
  InMemoryPlatform platform;
  platform.SetValue(kBiosKey, "SystemBiosVersion", kRegMultiSz, Bytes("A\0\0", 3));
  EXPECT_EQ(GetHostIdentity(platform, kNt), "xxx");
  EXPECT_FALSE(BiosWasRead(platform));
  EXPECT_EQ(platform.Calls().size(), 1u);  // the probe alone
}

// A hostile size: the reading holds the data once (the buffer becomes the
// identity), and the code is still the rule's.
TEST(GetHostIdentity, HugeProductIdentifierIsReadWithoutExtraCopies) {
  const std::size_t size = std::size_t{64} << 20;
  std::string data(size, 'A');
  data[12345] = 'q';
  data.back() = '\0';
  InMemoryPlatform platform;
  platform.SetValue(kNtKey, "ProductID", kRegSz, std::move(data));
  std::string identity;
  std::size_t requested = 0;
  {
    testing::FailingAllocations counting(SIZE_MAX);
    identity = GetHostIdentity(platform, kNt);
    requested = counting.BytesRequested();
  }
  ASSERT_EQ(identity.size(), size - 1);
  EXPECT_EQ(identity[12345], 'q');
  EXPECT_LE(requested, 2 * size);
  ExpectAllClosed(platform);
  if (reference::Available()) {
    const double sum = reference::WeightedSum(identity);
    EXPECT_EQ(MakeHostCode(identity, '.'),
              reference::CutHostCode(reference::RenderQuotient(reference::Quotient(sum), '.')));
  }
}

TEST(ReadMultiSzValue, MessagesOfItsFailures) {
  const struct {
    std::string situation;
    std::function<void(InMemoryPlatform&)> setup;
    std::string message;
  } rows[] = {
      {"absent", [](InMemoryPlatform& p) { p.AddKey("K"); }, "Cannot Read MULTI_SZ Value"},
      {"wrong type", [](InMemoryPlatform& p) { p.SetValue("K", "V", kRegSz, "A"); },
       "Stringlist expected"},
      {"data query fails",
       [](InMemoryPlatform& p) {
         p.SetValue("K", "V", kRegMultiSz, Bytes("A\0\0", 3));
         p.FailCall(Call::kDataQuery, kErrorAccessDenied);
       },
       "Cannot Read MULTI_SZ Value"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    InMemoryPlatform platform;
    row.setup(platform);
    std::vector<std::string> lines{"stale"};
    try {
      ReadMultiSzValue(platform, kHKeyLocalMachine, "K", "V", lines);
      ADD_FAILURE() << "no failure raised";
    } catch (const ERegistryException& failure) {
      EXPECT_EQ(failure.Message(), row.message);
    }
    EXPECT_TRUE(lines.empty());
    ExpectAllClosed(platform);
  }
}

TEST(ReadTextValue, MessagesNameTheValue) {
  InMemoryPlatform platform;
  platform.SetValue("K", "ProductID", kRegDword, Bytes("\1\0\0\0", 4));
  platform.SetValue("K", "Other", kRegSz, Bytes("A\0", 2));
  platform.FailCallAt(4, kErrorAccessDenied);  // the data query of "Other"
  const RegistryKey key = OpenKeyForReading(platform, "K");
  try {
    ReadTextValue(platform, key, "ProductID");
    ADD_FAILURE() << "no failure raised";
  } catch (const ERegistryException& failure) {
    EXPECT_EQ(failure.Message(), "Invalid data type for 'ProductID'");
  }
  try {
    ReadTextValue(platform, key, "Other");
    ADD_FAILURE() << "no failure raised";
  } catch (const ERegistryException& failure) {
    EXPECT_EQ(failure.Message(), "Failed to get data for 'Other'");
  }
}

}  // namespace
}  // namespace hostcode

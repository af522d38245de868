#include "driver/driver.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "failing_allocator.h"
#include "host_code/host_code.h"
#include "host_identity/in_memory_platform.h"

namespace hostcode {
namespace {

// Standard output in memory. Lines are kept when they end; the lines whose
// index is in `failingLines` fail to be written, as on a console.
class RecordingOutput final : public LineOutput {
 public:
  explicit RecordingOutput(std::set<int> failingLines = {}, int code = 112)
      : failingLines_(std::move(failingLines)), code_(code) {
    written_.reserve(1024);  // no allocation while a test makes allocations fail
    line_.reserve(1024);
  }
  void Append(std::string_view bytes) noexcept override { line_.append(bytes); }
  void EndLine() noexcept override {
    line_ += "\r\n";
    if (failingLines_.count(lineIndex_++)) {
      RecordFailure(code_);
    } else {
      written_ += line_;
    }
    line_.clear();
  }
  const std::string& Written() const { return written_; }

 private:
  std::set<int> failingLines_;
  int code_;
  int lineIndex_ = 0;
  std::string line_;
  std::string written_;
};

RunSteps Steps(std::string identity) {
  return {[identity] { return identity; },
          [](const std::string& id) { return MakeHostCode(id, '.'); }};
}

TEST(RunDriver, WritesTheCodeLine) {
  RecordingOutput out;
  EXPECT_EQ(RunDriver(Steps("xxx"), out), 0);
  EXPECT_EQ(out.Written(), "197-4903-750\r\n");

  RecordingOutput empty;
  EXPECT_EQ(RunDriver(Steps(""), empty), 0);
  EXPECT_EQ(empty.Written(), "--\r\n");
}

TEST(RunDriver, WritesWhateverCodeItIsGivenUnchanged) {
  const std::string code("a\r\nb\0\xFF", 6);
  RecordingOutput out;
  const RunSteps steps{[] { return std::string(); }, [&](const std::string&) { return code; }};
  EXPECT_EQ(RunDriver(steps, out), 0);
  EXPECT_EQ(out.Written(), code + "\r\n");
}

TEST(RunDriver, WritesAFailureAsTypeNameAndMessage) {
  const struct {
    std::string situation;
    std::function<void()> raise;
    std::string line;
  } rows[] = {
      {"out of memory", [] { throw EOutOfMemory(); }, "EOutOfMemory: Out of memory\r\n"},
      {"message ending in a full stop", [] { throw Exception("Ends here."); },
       "Exception: Ends here.\r\n"},
      {"no full stop added", [] { throw EInOutError(112, "I/O error 112"); },
       "EInOutError: I/O error 112\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    bool codeMade = false;
    const RunSteps steps{[&]() -> std::string {
                           row.raise();
                           return "never";
                         },
                         [&](const std::string&) {
                           codeMade = true;
                           return std::string("never");
                         }};
    RecordingOutput out;
    EXPECT_EQ(RunDriver(steps, out), 0);
    EXPECT_EQ(out.Written(), row.line);
    EXPECT_FALSE(codeMade);
  }
}

TEST(RunDriver, AFailedCodeLineIsReportedOnTheNextLine) {
  RecordingOutput out({0});
  EXPECT_EQ(RunDriver(Steps("xxx"), out), 0);
  EXPECT_EQ(out.Written(), "EInOutError: I/O error 112\r\n");
}

TEST(RunDriver, AFailedFailureLineLeavesTheDriver) {
  RecordingOutput out({0, 1}, 6);
  try {
    RunDriver(Steps("xxx"), out);
    ADD_FAILURE() << "the second write failure was caught";
  } catch (const EInOutError& failure) {
    EXPECT_EQ(failure.Message(), "I/O error 6");
  }
  EXPECT_EQ(out.Written(), "");
}

TEST(RunDriver, MemoryExhaustedInMakeHostCodeGivesTheFailureLine) {
  InstallOutOfMemoryFailure();
  std::size_t refused = 0;
  // "A" renders as 0.0185370027092542: its 16 fraction digits need the heap.
  const RunSteps steps{[] { return std::string("A"); },
                       [&](const std::string& identity) {
                         testing::FailingAllocations failing(0);
                         try {
                           return MakeHostCode(identity, '.');
                         } catch (...) {
                           refused = failing.Refused();
                           throw;
                         }
                       }};
  RecordingOutput out;
  EXPECT_EQ(RunDriver(steps, out), 0);
  EXPECT_EQ(out.Written(), "EOutOfMemory: Out of memory\r\n");
  EXPECT_GT(refused, 0u);
}

// Every allocation of a whole run made to fail in turn, from the first until
// a run needs no more: the run always ends with one whole line and every key
// closed. Inside the registry reading the identity falls back to "xxx".
TEST(RunDriver, SurvivesEveryAllocationFailingInTurn) {
  InstallOutOfMemoryFailure();
  const std::string bios("Ver 1.00 with a text longer than fifteen bytes\0\0", 48);
  const std::string complete = MakeHostCode("Ver1.00withatextlongerthanfifteenbytes", '.') + "\r\n";
  const std::set<std::string> allowed = {"EOutOfMemory: Out of memory\r\n",
                                         MakeHostCode("xxx", '.') + "\r\n", complete};
  for (std::size_t first = 0;; ++first) {
    SCOPED_TRACE(first);
    InMemoryPlatform platform;
    platform.AddKey("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    platform.SetValue("HARDWARE\\DESCRIPTION\\system", "SystemBiosVersion", kRegMultiSz, bios);
    const RunSteps steps = SystemSteps(platform, {2, '.'});
    RecordingOutput out;
    std::size_t refused = 0;
    {
      testing::FailingAllocations failing(first);
      RunDriver(steps, out);
      refused = failing.Refused();
    }
    EXPECT_EQ(allowed.count(out.Written()), 1u) << out.Written();
    EXPECT_EQ(platform.OpenHandles(), 0u);
    if (refused == 0) {
      EXPECT_EQ(out.Written(), complete);
      break;
    }
  }
}

TEST(LastResortReport, HasTheFixedForm) {
  const struct {
    std::string message;
    std::uint32_t address;
    std::string report;
  } rows[] = {
      {"I/O error 105", 0x0040ABCD,
       "Exception EInOutError in module hostcode.exe at 0040ABCD.\r\nI/O error 105.\r\n\r\n"},
      {"Done.", 0xFFFFFFFF,
       "Exception EInOutError in module hostcode.exe at FFFFFFFF.\r\nDone.\r\n\r\n"},
      {"", 0x1A, "Exception EInOutError in module hostcode.exe at 0000001A.\r\n\r\n\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    EXPECT_EQ(LastResortReport(EInOutError(105, row.message), "hostcode.exe", row.address),
              row.report);
  }
}

}  // namespace
}  // namespace hostcode

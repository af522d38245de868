// The entry point: one run of the program driver, and the last-resort report
// of a failure that leaves it.

#include <cstdint>

#include "driver/console.h"
#include "driver/driver.h"

int main() {
  using namespace hostcode;
  PrepareProcess();
  InstallOutOfMemoryFailure();
  Platform& platform = SystemPlatform();
  const StartupSettings settings = ReadStartupSettings(platform);
  StandardOutput out;
  try {
    return RunDriver(SystemSteps(platform, settings), out);
  } catch (const Exception& failure) {
    // The low half of the driver's address stands for where the failure arose.
    const auto address = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&RunDriver));
    WriteStandardError(LastResortReport(failure, ProgramFileName(), address));
    return 1;
  }
}

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "driver/failures.h"
#include "driver/line_output.h"
#include "host_identity/platform.h"

namespace hostcode {

// What start-up reads once for the whole run.
struct StartupSettings {
  std::uint32_t platformId = 0;
  char decimalSeparator = '.';
};

StartupSettings ReadStartupSettings(Platform& platform);

// The two operations a run calls, once each and in this order.
struct RunSteps {
  std::function<std::string()> getHostIdentity;
  std::function<std::string(const std::string& identity)> makeHostCode;
};

// GetHostIdentity and MakeHostCode on `platform` with the start-up settings.
RunSteps SystemSteps(Platform& platform, const StartupSettings& settings);

// One run: writes the host code and CR LF to `out`, or, when an Exception is
// raised on the way, the failure line "<type name>: <message>" and CR LF.
// Returns the exit status 0. A failure while the failure line is written is
// not caught: it leaves this function for the last-resort report.
int RunDriver(const RunSteps& steps, LineOutput& out);

// The report of a failure that left the driver, as standard error receives
// it: "Exception <type> in module <module> at <address>." CR LF, the message
// with "." appended unless empty or already ending in ".", CR LF, CR LF.
// The address is written as eight upper-case hexadecimal digits.
std::string LastResortReport(const Exception& failure, std::string_view moduleName,
                             std::uint32_t address);

// Makes the process's one EOutOfMemory object and has every failed allocation
// raise it from then on.
void InstallOutOfMemoryFailure();

}  // namespace hostcode

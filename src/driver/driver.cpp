#include "driver/driver.h"

#include <new>
#include <string>
#include <utility>

#include "host_code/host_code.h"
#include "host_identity/host_identity.h"

namespace hostcode {

namespace {

const EOutOfMemory& OutOfMemoryFailure() {
  static const EOutOfMemory failure;
  return failure;
}

[[noreturn]] void RaiseOutOfMemory() { throw OutOfMemoryFailure(); }

void WriteLine(LineOutput& out, std::string_view first, std::string_view second = {},
               std::string_view third = {}) {
  out.Append(first);
  out.Append(second);
  out.Append(third);
  out.EndLine();
  out.Check();
}

}  // namespace

void LineOutput::Check() {
  if (pendingFailure_ == 0) return;
  const int code = std::exchange(pendingFailure_, 0);
  throw EInOutError(code, "I/O error " + std::to_string(code));
}

StartupSettings ReadStartupSettings(Platform& platform) {
  return {platform.PlatformId(), platform.DecimalSeparator()};
}

RunSteps SystemSteps(Platform& platform, const StartupSettings& settings) {
  return {[&platform, id = settings.platformId] { return GetHostIdentity(platform, id); },
          [separator = settings.decimalSeparator](const std::string& identity) {
            return MakeHostCode(identity, separator);
          }};
}

int RunDriver(const RunSteps& steps, LineOutput& out) {
  try {
    const std::string identity = steps.getHostIdentity();
    const std::string code = steps.makeHostCode(identity);
    WriteLine(out, code);
  } catch (const Exception& failure) {
    WriteLine(out, failure.TypeName(), ": ", failure.Message());
  }
  return 0;
}

std::string LastResortReport(const Exception& failure, std::string_view moduleName,
                             std::uint32_t address) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string hex(8, '0');
  for (int i = 7; i >= 0; --i, address >>= 4)
    hex[static_cast<std::size_t>(i)] = kHexDigits[address & 0xF];

  std::string message(failure.Message());
  if (!message.empty() && message.back() != '.') message += '.';

  std::string report = "Exception ";
  report += failure.TypeName();
  report += " in module ";
  report += moduleName;
  report += " at " + hex + ".\r\n" + message + "\r\n\r\n";
  return report;
}

void InstallOutOfMemoryFailure() {
  OutOfMemoryFailure();
  std::set_new_handler(RaiseOutOfMemory);
}

}  // namespace hostcode

#include "host_code/host_code.h"
#include "host_identity/platform.h"

namespace hostcode {

char StartupDecimalSeparator() {
  // Read once, on first use, and fixed for the rest of the run.
  static const char separator = SystemPlatform().DecimalSeparator();
  return separator;
}

}  // namespace hostcode

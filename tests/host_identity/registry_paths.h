#pragma once

#include <string>

namespace hostcode {

// The keys the identity is read from, as the tests stage them.
inline const std::string kNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline const std::string k9xKey = "software\\microsoft\\windows\\currentversion";
inline const std::string kBiosKey = "HARDWARE\\DESCRIPTION\\system";

}  // namespace hostcode

#include <host_code/host_code.h>
#include <host_identity/host_identity.h>
#include <host_identity/in_memory_platform.h>

#include <iostream>

int main() {
  // The code of an identity, and of the identity a registry yields.
  std::cout << hostcode::MakeHostCode("xxx", '.') << '\n';
  hostcode::InMemoryPlatform registry;
  registry.SetValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductID",
                    hostcode::kRegSz, std::string("abc\0", 4));
  std::cout << hostcode::MakeHostCode(hostcode::GetHostIdentity(registry, 2), '.') << '\n';
}

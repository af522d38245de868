#pragma once

#include <cstddef>

namespace hostcode::testing {

// While an object of this type lives, allocation number `first` (counted from
// 0 at its construction) and every later one fail the way the platform's
// allocator fails: the new-handler runs, or std::bad_alloc is thrown. Linking
// failing_allocator.cpp replaces the global operator new of the test program.
// With `first` = SIZE_MAX nothing fails and the object only counts.
class FailingAllocations {
 public:
  explicit FailingAllocations(std::size_t first);
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;
  ~FailingAllocations();

  // How many allocations were refused so far.
  std::size_t Refused() const;
  // How many bytes were asked for so far, refused or not.
  std::size_t BytesRequested() const;
};

}  // namespace hostcode::testing

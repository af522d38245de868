#include "failing_allocator.h"

#include <cstdlib>
#include <new>

namespace {

// One run of failures at a time, on the test's own thread.
bool armed = false;
std::size_t untilFailure = 0;
std::size_t refused = 0;
std::size_t bytesRequested = 0;

bool NextAllocationFails() {
  if (!armed) return false;
  if (untilFailure > 0) {
    --untilFailure;
    return false;
  }
  ++refused;
  return true;
}

void* Allocate(std::size_t size) {
  if (armed) bytesRequested += size;
  for (;;) {
    if (!NextAllocationFails()) {
      if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    }
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

}  // namespace

namespace hostcode::testing {

FailingAllocations::FailingAllocations(std::size_t first) {
  untilFailure = first;
  refused = 0;
  bytesRequested = 0;
  armed = true;
}

FailingAllocations::~FailingAllocations() { armed = false; }

std::size_t FailingAllocations::Refused() const { return refused; }

std::size_t FailingAllocations::BytesRequested() const { return bytesRequested; }

}  // namespace hostcode::testing

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

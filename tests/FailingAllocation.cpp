#include "FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace {
bool armed = false;
long failAt = -1;
long count = 0;
}  // namespace

namespace tenaxo::test {
long AllocationsSinceArmed() { return count; }
void ArmAllocationFailure(long at) {
  count = 0;
  failAt = at;
  armed = true;
}
void DisarmAllocationFailure() { armed = false; }
}  // namespace tenaxo::test

void* operator new(std::size_t size) {
  if (armed && count++ == failAt) throw std::bad_alloc();
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

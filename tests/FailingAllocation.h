#pragma once
// A seam for running out of memory: while armed, the global operator new of
// the test program fails at the chosen allocation with std::bad_alloc.
namespace tenaxo::test {

// Allocations counted since the last Arm.
long AllocationsSinceArmed();
// The allocation numbered failAt (0 the first after this call) fails; -1
// only counts.
void ArmAllocationFailure(long failAt);
void DisarmAllocationFailure();

}  // namespace tenaxo::test

#pragma once

#include <cstddef>

// The fault test replaces the global operator new and delete (AllocationFaults.cpp): it counts
// the blocks alive and, when armed, makes one chosen allocation throw std::bad_alloc (or return
// null, for the nothrow forms). Linked into the fault test alone.
namespace kel_test::allocation_faults {

// Fails the allocation numbered `index` (from 0) among those of exactly `size` bytes from now on;
// a size of 0 counts allocations of every size. Only one allocation fails.
void FailOne(std::size_t size, long index);
void Disarm();
// Whether the chosen allocation has failed.
bool Failed();
// Blocks from operator new that are not deleted yet.
long LiveBlocks();

}  // namespace kel_test::allocation_faults

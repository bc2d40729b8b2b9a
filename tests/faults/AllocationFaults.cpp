#include "faults/AllocationFaults.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace kel_test::allocation_faults {

namespace {

std::atomic<bool> gArmed{false};
std::atomic<std::size_t> gSize{0};
std::atomic<long> gIndex{0};
std::atomic<long> gCounted{0};
std::atomic<bool> gFailed{false};
std::atomic<long> gLive{0};

// Null when this is the allocation chosen to fail.
void* Allocate(std::size_t bytes) {
  if (gArmed.load(std::memory_order_relaxed)) {
    const std::size_t size = gSize.load(std::memory_order_relaxed);
    if (size == 0 || size == bytes) {
      if (gCounted.fetch_add(1, std::memory_order_relaxed) == gIndex.load(std::memory_order_relaxed)) {
        gFailed.store(true, std::memory_order_relaxed);
        return nullptr;
      }
    }
  }
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block != nullptr) gLive.fetch_add(1, std::memory_order_relaxed);
  return block;
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  gLive.fetch_sub(1, std::memory_order_relaxed);
  std::free(block);
}

void* AllocateOrThrow(std::size_t bytes) {
  void* block = Allocate(bytes);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

}  // namespace

void FailOne(std::size_t size, long index) {
  gSize = size;
  gIndex = index;
  gCounted = 0;
  gFailed = false;
  gArmed = true;
}

void Disarm() { gArmed = false; }
long Counted() { return gCounted; }
bool Failed() { return gFailed; }
long LiveBlocks() { return gLive; }

}  // namespace kel_test::allocation_faults

// The replaceable forms without alignment; the aligned ones stay the runtime's, which pairs them
// with its own deletes.
void* operator new(std::size_t bytes) { return kel_test::allocation_faults::AllocateOrThrow(bytes); }
void* operator new[](std::size_t bytes) { return kel_test::allocation_faults::AllocateOrThrow(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
  return kel_test::allocation_faults::Allocate(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
  return kel_test::allocation_faults::Allocate(bytes);
}
void operator delete(void* block) noexcept { kel_test::allocation_faults::Release(block); }
void operator delete[](void* block) noexcept { kel_test::allocation_faults::Release(block); }
void operator delete(void* block, std::size_t) noexcept { kel_test::allocation_faults::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { kel_test::allocation_faults::Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { kel_test::allocation_faults::Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { kel_test::allocation_faults::Release(block); }

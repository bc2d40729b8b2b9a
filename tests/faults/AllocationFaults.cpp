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
void* Allocate(std::size_t bytes) noexcept {
  if (gArmed && (gSize == 0 || gSize == bytes) && gCounted.fetch_add(1) == gIndex) {
    gFailed = true;
    return nullptr;
  }
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block != nullptr) ++gLive;
  return block;
}

void* AllocateOrThrow(std::size_t bytes) {
  void* block = Allocate(bytes);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  --gLive;
  std::free(block);
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
bool Failed() { return gFailed; }
long LiveBlocks() { return gLive; }

}  // namespace kel_test::allocation_faults

// The replaceable forms without alignment; the aligned ones stay the runtime's, which pairs them
// with its own deletes.
using kel_test::allocation_faults::Allocate;
using kel_test::allocation_faults::AllocateOrThrow;
using kel_test::allocation_faults::Release;
void* operator new(std::size_t bytes) { return AllocateOrThrow(bytes); }
void* operator new[](std::size_t bytes) { return AllocateOrThrow(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }

#include "kelcore/Allocators.h"

#include <cstddef>
#include <new>

namespace kelcore {

namespace {

bool IsOverAligned(std::size_t alignment) noexcept { return alignment > alignof(std::max_align_t); }

void* HeapAllocate(std::size_t bytes, std::size_t alignment) {
  if (IsOverAligned(alignment)) return ::operator new(bytes, std::align_val_t(alignment));
  return ::operator new(bytes);
}

void HeapRelease(void* block, std::size_t alignment) noexcept {
  if (IsOverAligned(alignment)) {
    ::operator delete(block, std::align_val_t(alignment));
  } else {
    ::operator delete(block);
  }
}

// Set while a thread's recyclers are being torn down, so late frees go to the heap.
thread_local bool tThreadShuttingDown = false;

struct ThreadRecyclers {
  MemoryRecycler general{16, 4096, 64};
  MemoryRecycler small{8, 256, 128};
  ~ThreadRecyclers() { tThreadShuttingDown = true; }
};

ThreadRecyclers* CurrentThreadRecyclers() noexcept {
  if (tThreadShuttingDown) return nullptr;
  thread_local ThreadRecyclers recyclers;
  return tThreadShuttingDown ? nullptr : &recyclers;
}

}  // namespace

MemoryRecycler::MemoryRecycler(std::size_t granularity, std::size_t largestRecycled,
                               std::size_t maxCachedPerClass)
    : granularity_(granularity < sizeof(FreeBlock) ? sizeof(FreeBlock) : granularity),
      largestRecycled_(largestRecycled),
      maxCachedPerClass_(maxCachedPerClass) {
  const std::size_t classes = largestRecycled_ / granularity_ + 1;
  heads_.assign(classes, nullptr);
  counts_.assign(classes, 0);
}

MemoryRecycler::~MemoryRecycler() { Trim(); }

void* MemoryRecycler::Allocate(std::size_t bytes, std::size_t alignment) {
  if (bytes == 0) bytes = 1;
  // Over-aligned blocks and large ones skip the free lists; the free lists only hold blocks
  // from plain operator new.
  if (IsOverAligned(alignment) || bytes > largestRecycled_) return HeapAllocate(bytes, alignment);
  const std::size_t sizeClass = (bytes + granularity_ - 1) / granularity_;
  if (FreeBlock* block = heads_[sizeClass]) {
    heads_[sizeClass] = block->next;
    --counts_[sizeClass];
    return block;
  }
  return ::operator new(sizeClass * granularity_);
}

void MemoryRecycler::Release(void* block, std::size_t bytes, std::size_t alignment) noexcept {
  if (block == nullptr) return;
  if (bytes == 0) bytes = 1;
  if (IsOverAligned(alignment) || bytes > largestRecycled_) {
    HeapRelease(block, alignment);
    return;
  }
  const std::size_t sizeClass = (bytes + granularity_ - 1) / granularity_;
  if (counts_[sizeClass] >= maxCachedPerClass_) {
    ::operator delete(block);
    return;
  }
  auto* freed = static_cast<FreeBlock*>(block);
  freed->next = heads_[sizeClass];
  heads_[sizeClass] = freed;
  ++counts_[sizeClass];
}

std::size_t MemoryRecycler::CachedBlockCount() const noexcept {
  std::size_t total = 0;
  for (std::size_t count : counts_) total += count;
  return total;
}

void MemoryRecycler::Trim() noexcept {
  for (std::size_t i = 0; i < heads_.size(); ++i) {
    while (FreeBlock* block = heads_[i]) {
      heads_[i] = block->next;
      ::operator delete(block);
    }
    counts_[i] = 0;
  }
}

MemoryRecycler* MemoryRecycler::General() noexcept {
  ThreadRecyclers* recyclers = CurrentThreadRecyclers();
  return recyclers ? &recyclers->general : nullptr;
}

MemoryRecycler* MemoryRecycler::SmallBlocks() noexcept {
  ThreadRecyclers* recyclers = CurrentThreadRecyclers();
  return recyclers ? &recyclers->small : nullptr;
}

namespace detail {

// Blocks handed out by a recycler are plain operator new blocks of the rounded size, so a block
// made on one thread can be released through another thread's recycler, or to the heap.
void* RecyclerAllocate(MemoryRecycler* recycler, std::size_t bytes, std::size_t alignment) {
  if (recycler == nullptr) return HeapAllocate(bytes == 0 ? 1 : bytes, alignment);
  return recycler->Allocate(bytes, alignment);
}

void RecyclerRelease(MemoryRecycler* recycler, void* block, std::size_t bytes, std::size_t alignment) noexcept {
  if (block == nullptr) return;
  if (recycler == nullptr) {
    HeapRelease(block, alignment);
    return;
  }
  recycler->Release(block, bytes, alignment);
}

}  // namespace detail

}  // namespace kelcore

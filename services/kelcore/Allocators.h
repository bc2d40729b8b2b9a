#pragma once

#include <cstddef>
#include <new>
#include <vector>

#include "kelcore/Export.h"

namespace kelcore {

// Keeps freed blocks in per-size free lists so that the short-lived containers of a drawing call
// reuse memory instead of going back to the heap. Blocks come from operator new, so a block may be
// released on another thread than the one that made it. Each thread has its own recycler; a
// recycler holds at most `maxCachedPerClass` idle blocks of each size and gives the rest back.
class KELCORE_API MemoryRecycler {
 public:
  // Blocks up to `largestRecycled` bytes are rounded up to a multiple of `granularity` and recycled;
  // larger ones go straight to the heap.
  MemoryRecycler(std::size_t granularity, std::size_t largestRecycled, std::size_t maxCachedPerClass);
  ~MemoryRecycler();
  MemoryRecycler(const MemoryRecycler&) = delete;
  MemoryRecycler& operator=(const MemoryRecycler&) = delete;

  void* Allocate(std::size_t bytes, std::size_t alignment);
  void Release(void* block, std::size_t bytes, std::size_t alignment) noexcept;

  // Idle blocks held right now, over all size classes.
  std::size_t CachedBlockCount() const noexcept;
  // Gives every idle block back to the heap.
  void Trim() noexcept;

  // The calling thread's recyclers: one for general containers, one tuned for small blocks
  // (strings). Null after the thread has started to shut down; callers then use the heap.
  static MemoryRecycler* General() noexcept;
  static MemoryRecycler* SmallBlocks() noexcept;

 private:
  struct FreeBlock {
    FreeBlock* next;
  };
  std::size_t granularity_;
  std::size_t largestRecycled_;
  std::size_t maxCachedPerClass_;
  std::vector<FreeBlock*> heads_;
  std::vector<std::size_t> counts_;
};

namespace detail {

KELCORE_API void* RecyclerAllocate(MemoryRecycler* recycler, std::size_t bytes, std::size_t alignment);
KELCORE_API void RecyclerRelease(MemoryRecycler* recycler, void* block, std::size_t bytes,
                                 std::size_t alignment) noexcept;

// A stateless standard allocator over one of the thread recyclers.
template <class T, MemoryRecycler* (*Pick)() noexcept>
class RecyclingAllocator {
 public:
  using value_type = T;

  RecyclingAllocator() noexcept = default;
  template <class U>
  RecyclingAllocator(const RecyclingAllocator<U, Pick>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(RecyclerAllocate(Pick(), n * sizeof(T), alignof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { RecyclerRelease(Pick(), p, n * sizeof(T), alignof(T)); }

  template <class U>
  struct rebind {
    using other = RecyclingAllocator<U, Pick>;
  };

  template <class U>
  friend bool operator==(const RecyclingAllocator&, const RecyclingAllocator<U, Pick>&) noexcept {
    return true;
  }
};

}  // namespace detail

// Allocator of the model's and the drawing passes' containers.
template <class T>
using STLAllocator = detail::RecyclingAllocator<T, &MemoryRecycler::General>;

// Allocator of wide strings.
template <class T>
using SmallBlockAllocator = detail::RecyclingAllocator<T, &MemoryRecycler::SmallBlocks>;

}  // namespace kelcore

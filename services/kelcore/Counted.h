#pragma once

#include <atomic>

#include <boost/intrusive_ptr.hpp>

#include "kelcore/Export.h"

namespace kelcore {

// Base of every object that travels as a boost::intrusive_ptr across the family's libraries.
// A new object has no references; the first intrusive_ptr to it takes the first one.
class KELCORE_API CountedObject {
 public:
  CountedObject() = default;
  // A copy is a new object: it starts without references of its own.
  CountedObject(const CountedObject&) noexcept {}
  CountedObject& operator=(const CountedObject&) noexcept { return *this; }
  virtual ~CountedObject();

  int UseCount() const noexcept { return refs_.load(std::memory_order_acquire); }

 private:
  mutable std::atomic<int> refs_{0};

  friend void intrusive_ptr_add_ref(const CountedObject* p) noexcept {
    p->refs_.fetch_add(1, std::memory_order_relaxed);
  }
  friend void intrusive_ptr_release(const CountedObject* p) noexcept {
    if (p->refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete p;
  }
};

}  // namespace kelcore

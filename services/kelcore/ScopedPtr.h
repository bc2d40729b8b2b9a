#pragma once

#include <boost/core/noncopyable.hpp>

namespace kelcore::utility {

// Sole owner of one heap object; deletes it when reset or destroyed.
template <class T>
class ScopedPtr : private boost::noncopyable {
 public:
  explicit ScopedPtr(T* p = nullptr) noexcept : p_(p) {}
  virtual ~ScopedPtr() { delete p_; }

  // Holding `p` already changes nothing. Otherwise `p` is stored first and the old object deleted
  // after, so the holder never points at a dying object.
  void reset(T* p = nullptr) {
    if (p == p_) return;
    T* old = p_;
    p_ = p;
    delete old;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  T* p_;
};

}  // namespace kelcore::utility

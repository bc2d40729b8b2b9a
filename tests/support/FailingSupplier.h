#pragma once

#include <cstdint>

#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace kel_test {

// A supplier that makes its objects and surfaces through the OS supplier until a budget of
// creations (surfaces included) is spent; from then on every creation returns null, as the
// supplier interface allows.
class FailingSupplier : public kelui::inkpad::SupplierInterface {
 public:
  FailingSupplier() : real_(kelui::inkpad::NewOSSupplier()) {}
  ~FailingSupplier() override { real_->Destroy(); }
  FailingSupplier(const FailingSupplier&) = delete;
  FailingSupplier& operator=(const FailingSupplier&) = delete;

  // From now on, serve `budget` creations and fail the others (a negative budget never fails);
  // counts creations afresh.
  void Arm(int budget) {
    budget_ = budget;
    creations_ = 0;
  }
  // Creations asked for since Arm, served or not.
  int Creations() const { return creations_; }

  void Destroy() override {}
  kelui::inkpad::SurfaceInterface* CreateSurface(int width, int height, int rowBytes, int format, void* firstRow,
                                                 const std::uintptr_t& platformContext) override {
    return Serve() ? real_->CreateSurface(width, height, rowBytes, format, firstRow, platformContext) : nullptr;
  }
  kelui::inkpad::PenInterface* CreatePen(const kelui::inkpad::Color& color, float width) override {
    return Serve() ? real_->CreatePen(color, width) : nullptr;
  }
  kelui::inkpad::BrushInterface* CreateSolidBrush(const kelui::inkpad::Color& color) override {
    return Serve() ? real_->CreateSolidBrush(color) : nullptr;
  }
  kelui::inkpad::FontInterface* CreateFont(const kelcore::UTF16String& face, const kelcore::UTF16String& style,
                                           float size) override {
    return Serve() ? real_->CreateFont(face, style, size) : nullptr;
  }
  kelui::inkpad::PathInterface* CreatePath() override { return Serve() ? real_->CreatePath() : nullptr; }

 private:
  bool Serve() { return ++creations_ <= budget_ || budget_ < 0; }

  kelui::inkpad::SupplierInterface* real_;
  int budget_ = -1;
  int creations_ = 0;
};

}  // namespace kel_test

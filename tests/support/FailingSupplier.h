#pragma once

#include <cstdint>

#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace kel_test {

// What a FailingSupplier does once its budget of creations is spent: return null, as the
// supplier interface allows, or throw std::bad_alloc, as an allocation inside a supplier would.
enum class CreationFailure { kNull, kThrow };

// A supplier that makes its objects and surfaces through the OS supplier until a budget of
// creations (surfaces included) is spent; from then on every creation fails. Its surfaces draw
// through the real ones and count the drawing states saved and not yet restored.
class FailingSupplier : public kelui::inkpad::SupplierInterface {
 public:
  FailingSupplier() : real_(kelui::inkpad::NewOSSupplier()) {}
  ~FailingSupplier() override { real_->Destroy(); }
  FailingSupplier(const FailingSupplier&) = delete;
  FailingSupplier& operator=(const FailingSupplier&) = delete;

  // From now on, serve `budget` creations and fail the others (a negative budget never fails);
  // counts creations afresh.
  void Arm(int budget, CreationFailure failure) {
    budget_ = budget;
    failure_ = failure;
    creations_ = 0;
  }
  // Creations asked for since Arm, served or not.
  int Creations() const { return creations_; }
  // Drawing states saved on `surface`, one of this supplier's, and not yet restored.
  static int SavedStates(const kelui::inkpad::SurfaceInterface* surface);

  void Destroy() override {}
  kelui::inkpad::SurfaceInterface* CreateSurface(int width, int height, int rowBytes, int format, void* firstRow,
                                                 const std::uintptr_t& platformContext) override;
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
  // False when this creation is to fail (having thrown, in kThrow mode).
  bool Serve();

  kelui::inkpad::SupplierInterface* real_;
  int budget_ = -1;
  CreationFailure failure_ = CreationFailure::kNull;
  int creations_ = 0;
};

}  // namespace kel_test

#pragma once

#include <cstdint>
#include <memory>

#include "kelui/inkpad/Objects.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace kel_test {

// What a FailingSupplier does once its budget of creations is spent: return null, as the
// supplier interface allows, or throw std::bad_alloc, as an allocation inside a supplier would.
enum class CreationFailure { kNull, kThrow };

// Objects of a FailingSupplier that are alive, and the state of its surfaces. Shared with every
// object it made, so that objects outliving the supplier (leaks) are still counted.
struct SupplierCounts {
  int liveObjects = 0;   // fonts, pens, brushes, paths
  int liveSurfaces = 0;  // surfaces not destroyed
};

// A supplier that makes its objects through a real one (the OS supplier) and hands out counted
// wrappers of them, until a budget of creations (fonts, pens, brushes, paths and surfaces) is
// spent; from then on every creation fails. Its surfaces draw through the real surface and give
// it the real objects behind the wrappers, so drawing looks as with the real supplier.
class FailingSupplier : public kelui::inkpad::SupplierInterface {
 public:
  FailingSupplier();
  ~FailingSupplier() override;
  FailingSupplier(const FailingSupplier&) = delete;
  FailingSupplier& operator=(const FailingSupplier&) = delete;

  // From now on, serve `budget` creations and fail the others; a negative budget never fails.
  // Counts creations afresh.
  void Arm(int budget, CreationFailure failure);
  // Creations asked for since Arm, served or not.
  int Creations() const { return creations_; }
  const SupplierCounts& Counts() const { return *counts_; }

  void Destroy() override {}
  kelui::inkpad::SurfaceInterface* CreateSurface(int width, int height, int rowBytes, int format, void* firstRow,
                                                 const std::uintptr_t& platformContext) override;
  kelui::inkpad::PenInterface* CreatePen(const kelui::inkpad::Color& color, float width) override;
  kelui::inkpad::BrushInterface* CreateSolidBrush(const kelui::inkpad::Color& color) override;
  kelui::inkpad::FontInterface* CreateFont(const kelcore::UTF16String& face, const kelcore::UTF16String& style,
                                           float size) override;
  kelui::inkpad::PathInterface* CreatePath() override;

 private:
  // False when this creation is to fail (having thrown, in kThrow mode).
  bool Serve();

  kelui::inkpad::SupplierInterface* real_;
  std::shared_ptr<SupplierCounts> counts_;
  int budget_ = -1;
  CreationFailure failure_ = CreationFailure::kNull;
  int creations_ = 0;
};

// A surface of a FailingSupplier: an OS surface drawing through the real one. It keeps count of
// the drawing states saved and not yet restored.
class FailingSurface : public kelui::inkpad::OSSurfaceInterface {
 public:
  FailingSurface(kelui::inkpad::SurfaceInterface* real, std::shared_ptr<SupplierCounts> counts);

  int SavedStates() const { return savedStates_; }

  void Destroy() override;
  void SaveState() override;
  void RestoreState() override;
  void FillRect(const kelui::inkpad::Color& color, const kelcore::RectT<float>& rect) override;
  void FillPath(const kelui::inkpad::PathP& path, const kelui::inkpad::BrushP& brush, int option) override;
  void StrokePath(const kelui::inkpad::PathP& path, const kelui::inkpad::PenP& pen) override;
  void SetTransform(const kelcore::MatrixT<float>& matrix) override;
  void DrawString(const kelui::inkpad::BrushP& brush, const kelui::inkpad::FontP& font,
                  const kelcore::UTF16String& text, const kelcore::PointT<float>& baseline, int flags, int alignment,
                  float tracking) override;
  void DrawStringInRect(const kelui::inkpad::BrushP& brush, const kelui::inkpad::FontP& font,
                        const kelcore::UTF16String& text, const kelcore::RectT<float>& rect, int option) override;
  float MeasureStringWidth(const kelui::inkpad::FontP& font, const char16_t* text, int length) override;
  void SetRenderMode(int mode) override { real_->SetRenderMode(mode); }
  int GetRenderMode() const override { return real_->GetRenderMode(); }
  Gdiplus::Graphics* GetOutputGraphics() override;

 private:
  ~FailingSurface() override = default;

  kelui::inkpad::SurfaceInterface* real_;
  std::shared_ptr<SupplierCounts> counts_;
  int savedStates_ = 0;
};

}  // namespace kel_test

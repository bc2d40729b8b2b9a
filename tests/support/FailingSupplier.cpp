#include "support/FailingSupplier.h"

#include <new>

namespace kel_test {

using namespace kelui::inkpad;

namespace {

// Counts the drawing states saved and not yet restored.
class FailingSurface final : public OSSurfaceInterface {
 public:
  explicit FailingSurface(SurfaceInterface* real) : real_(real) {}
  int savedStates = 0;

  void Destroy() override {
    real_->Destroy();
    delete this;
  }
  void SaveState() override {
    real_->SaveState();
    ++savedStates;
  }
  void RestoreState() override {
    real_->RestoreState();
    if (savedStates > 0) --savedStates;
  }
  void FillRect(const Color& color, const kelcore::RectT<float>& rect) override { real_->FillRect(color, rect); }
  void FillPath(const PathP& path, const BrushP& brush, int option) override { real_->FillPath(path, brush, option); }
  void StrokePath(const PathP& path, const PenP& pen) override { real_->StrokePath(path, pen); }
  void SetTransform(const kelcore::MatrixT<float>& matrix) override { real_->SetTransform(matrix); }
  void DrawString(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                  const kelcore::PointT<float>& baseline, int flags, int alignment, float tracking) override {
    real_->DrawString(brush, font, text, baseline, flags, alignment, tracking);
  }
  void DrawStringInRect(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                        const kelcore::RectT<float>& rect, int option) override {
    real_->DrawStringInRect(brush, font, text, rect, option);
  }
  float MeasureStringWidth(const FontP& font, const char16_t* text, int length) override {
    return real_->MeasureStringWidth(font, text, length);
  }
  void SetRenderMode(int mode) override { real_->SetRenderMode(mode); }
  int GetRenderMode() const override { return real_->GetRenderMode(); }
  Gdiplus::Graphics* GetOutputGraphics() override {
    auto* os = dynamic_cast<OSSurfaceInterface*>(real_);
    return os ? os->GetOutputGraphics() : nullptr;
  }

 private:
  ~FailingSurface() override = default;

  SurfaceInterface* real_;
};

}  // namespace

int FailingSupplier::SavedStates(const SurfaceInterface* surface) {
  return dynamic_cast<const FailingSurface&>(*surface).savedStates;
}

bool FailingSupplier::Serve() {
  ++creations_;
  if (budget_ < 0 || creations_ <= budget_) return true;
  if (failure_ == CreationFailure::kThrow) throw std::bad_alloc();
  return false;
}

SurfaceInterface* FailingSupplier::CreateSurface(int width, int height, int rowBytes, int format, void* firstRow,
                                                 const std::uintptr_t& platformContext) {
  if (!Serve()) return nullptr;
  SurfaceInterface* real = real_->CreateSurface(width, height, rowBytes, format, firstRow, platformContext);
  if (real == nullptr) return nullptr;
  try {
    return new FailingSurface(real);
  } catch (...) {
    real->Destroy();
    throw;
  }
}

}  // namespace kel_test

#include "support/FailingSupplier.h"

#include <new>
#include <utility>

#include "kelui/inkpad/Handles.h"

namespace kel_test {

using kelui::inkpad::BrushP;
using kelui::inkpad::FontP;
using kelui::inkpad::PathP;
using kelui::inkpad::PenP;

namespace {

// Counts its owner among the supplier's live objects for as long as it lives.
class LiveCount {
 public:
  explicit LiveCount(std::shared_ptr<SupplierCounts> counts) : counts_(std::move(counts)) { ++counts_->liveObjects; }
  ~LiveCount() { --counts_->liveObjects; }
  LiveCount(const LiveCount&) = delete;
  LiveCount& operator=(const LiveCount&) = delete;

 private:
  std::shared_ptr<SupplierCounts> counts_;
};

class WrappedFont final : public kelui::inkpad::FontInterface {
 public:
  WrappedFont(FontP font, std::shared_ptr<SupplierCounts> counts) : real(std::move(font)), live_(std::move(counts)) {}
  float GetAscent() const override { return real->GetAscent(); }
  float GetDescent() const override { return real->GetDescent(); }
  const FontP real;

 private:
  LiveCount live_;
};

class WrappedPen final : public kelui::inkpad::PenInterface {
 public:
  WrappedPen(PenP pen, std::shared_ptr<SupplierCounts> counts) : real(std::move(pen)), live_(std::move(counts)) {}
  const PenP real;

 private:
  LiveCount live_;
};

class WrappedBrush final : public kelui::inkpad::BrushInterface {
 public:
  WrappedBrush(BrushP brush, std::shared_ptr<SupplierCounts> counts)
      : real(std::move(brush)), live_(std::move(counts)) {}
  const BrushP real;

 private:
  LiveCount live_;
};

class WrappedPath final : public kelui::inkpad::PathInterface {
 public:
  WrappedPath(PathP path, std::shared_ptr<SupplierCounts> counts) : real(std::move(path)), live_(std::move(counts)) {}
  void MoveTo(const kelcore::PointT<float>& p) override { real->MoveTo(p); }
  void LineTo(const kelcore::PointT<float>& p) override { real->LineTo(p); }
  void CubicBezierTo(const kelcore::PointT<float>& c1, const kelcore::PointT<float>& c2,
                     const kelcore::PointT<float>& end) override {
    real->CubicBezierTo(c1, c2, end);
  }
  void CloseFigure() override { real->CloseFigure(); }
  const PathP real;

 private:
  LiveCount live_;
};

// The real object behind a wrapper; anything else as it is.
template <class Wrapped, class Handle>
Handle Real(const Handle& handle) {
  const auto* wrapped = dynamic_cast<const Wrapped*>(handle.get());
  return wrapped ? wrapped->real : handle;
}

}  // namespace

FailingSupplier::FailingSupplier()
    : real_(kelui::inkpad::NewOSSupplier()), counts_(std::make_shared<SupplierCounts>()) {}

FailingSupplier::~FailingSupplier() { real_->Destroy(); }

void FailingSupplier::Arm(int budget, CreationFailure failure) {
  budget_ = budget;
  failure_ = failure;
  creations_ = 0;
}

bool FailingSupplier::Serve() {
  ++creations_;
  if (budget_ < 0 || creations_ <= budget_) return true;
  if (failure_ == CreationFailure::kThrow) throw std::bad_alloc();
  return false;
}

kelui::inkpad::SurfaceInterface* FailingSupplier::CreateSurface(int width, int height, int rowBytes, int format,
                                                                void* firstRow,
                                                                const std::uintptr_t& platformContext) {
  if (!Serve()) return nullptr;
  kelui::inkpad::SurfaceInterface* real = real_->CreateSurface(width, height, rowBytes, format, firstRow, platformContext);
  if (real == nullptr) return nullptr;
  try {
    return new FailingSurface(real, counts_);
  } catch (...) {
    real->Destroy();
    throw;
  }
}

kelui::inkpad::PenInterface* FailingSupplier::CreatePen(const kelui::inkpad::Color& color, float width) {
  if (!Serve()) return nullptr;
  PenP pen(real_->CreatePen(color, width));
  return pen ? new WrappedPen(std::move(pen), counts_) : nullptr;
}

kelui::inkpad::BrushInterface* FailingSupplier::CreateSolidBrush(const kelui::inkpad::Color& color) {
  if (!Serve()) return nullptr;
  BrushP brush(real_->CreateSolidBrush(color));
  return brush ? new WrappedBrush(std::move(brush), counts_) : nullptr;
}

kelui::inkpad::FontInterface* FailingSupplier::CreateFont(const kelcore::UTF16String& face,
                                                          const kelcore::UTF16String& style, float size) {
  if (!Serve()) return nullptr;
  FontP font(real_->CreateFont(face, style, size));
  return font ? new WrappedFont(std::move(font), counts_) : nullptr;
}

kelui::inkpad::PathInterface* FailingSupplier::CreatePath() {
  if (!Serve()) return nullptr;
  PathP path(real_->CreatePath());
  return path ? new WrappedPath(std::move(path), counts_) : nullptr;
}

FailingSurface::FailingSurface(kelui::inkpad::SurfaceInterface* real, std::shared_ptr<SupplierCounts> counts)
    : real_(real), counts_(std::move(counts)) {
  ++counts_->liveSurfaces;
}

void FailingSurface::Destroy() {
  real_->Destroy();
  --counts_->liveSurfaces;
  delete this;
}

void FailingSurface::SaveState() {
  real_->SaveState();
  ++savedStates_;
}

void FailingSurface::RestoreState() {
  real_->RestoreState();
  if (savedStates_ > 0) --savedStates_;
}

void FailingSurface::FillRect(const kelui::inkpad::Color& color, const kelcore::RectT<float>& rect) {
  real_->FillRect(color, rect);
}

void FailingSurface::FillPath(const PathP& path, const BrushP& brush, int option) {
  real_->FillPath(Real<WrappedPath>(path), Real<WrappedBrush>(brush), option);
}

void FailingSurface::StrokePath(const PathP& path, const PenP& pen) {
  real_->StrokePath(Real<WrappedPath>(path), Real<WrappedPen>(pen));
}

void FailingSurface::SetTransform(const kelcore::MatrixT<float>& matrix) { real_->SetTransform(matrix); }

void FailingSurface::DrawString(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                                const kelcore::PointT<float>& baseline, int flags, int alignment, float tracking) {
  real_->DrawString(Real<WrappedBrush>(brush), Real<WrappedFont>(font), text, baseline, flags, alignment, tracking);
}

void FailingSurface::DrawStringInRect(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                                      const kelcore::RectT<float>& rect, int option) {
  real_->DrawStringInRect(Real<WrappedBrush>(brush), Real<WrappedFont>(font), text, rect, option);
}

float FailingSurface::MeasureStringWidth(const FontP& font, const char16_t* text, int length) {
  return real_->MeasureStringWidth(Real<WrappedFont>(font), text, length);
}

Gdiplus::Graphics* FailingSurface::GetOutputGraphics() {
  auto* os = dynamic_cast<kelui::inkpad::OSSurfaceInterface*>(real_);
  return os ? os->GetOutputGraphics() : nullptr;
}

}  // namespace kel_test

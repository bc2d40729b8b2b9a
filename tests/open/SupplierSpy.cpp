// Takes the place of the drawing layer's NewOSSupplier in the program it is linked into (the
// program's own definition wins over the shared library's); the real one is found behind it.
#include "open/SupplierSpy.h"

#include <dlfcn.h>

#include <cstring>

#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace kel_test::supplier_spy {

namespace {

using namespace kelui::inkpad;

Seen& State() {
  static Seen seen;
  return seen;
}

class SpySurface final : public OSSurfaceInterface {
 public:
  explicit SpySurface(OSSurfaceInterface* real) : real_(real) {}
  void Destroy() override {
    real_->Destroy();
    delete this;
  }
  void SaveState() override { real_->SaveState(); }
  void RestoreState() override { real_->RestoreState(); }
  void FillRect(const Color& color, const kelcore::RectT<float>& rect) override { real_->FillRect(color, rect); }
  void FillPath(const PathP& path, const BrushP& brush, int option) override { real_->FillPath(path, brush, option); }
  void StrokePath(const PathP& path, const PenP& pen) override { real_->StrokePath(path, pen); }
  void SetTransform(const kelcore::MatrixT<float>& matrix) override {
    State().transforms.push_back(matrix);
    real_->SetTransform(matrix);
  }
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
  void SetRenderMode(int mode) override {
    State().renderModes.push_back(mode);
    real_->SetRenderMode(mode);
  }
  int GetRenderMode() const override { return real_->GetRenderMode(); }
  Gdiplus::Graphics* GetOutputGraphics() override { return real_->GetOutputGraphics(); }

 private:
  ~SpySurface() override = default;
  OSSurfaceInterface* real_;
};

class SpySupplier final : public SupplierInterface {
 public:
  explicit SpySupplier(SupplierInterface* real) : real_(real) {}
  void Destroy() override {
    real_->Destroy();
    delete this;
  }
  SurfaceInterface* CreateSurface(int width, int height, int rowBytes, int format, void* firstRow,
                                  const std::uintptr_t& platformContext) override {
    State().surfaces.push_back({width, height, rowBytes, format, firstRow, platformContext});
    auto* real = dynamic_cast<OSSurfaceInterface*>(
        real_->CreateSurface(width, height, rowBytes, format, firstRow, platformContext));
    return real ? new SpySurface(real) : nullptr;
  }
  PenInterface* CreatePen(const Color& color, float width) override { return real_->CreatePen(color, width); }
  BrushInterface* CreateSolidBrush(const Color& color) override { return real_->CreateSolidBrush(color); }
  FontInterface* CreateFont(const kelcore::UTF16String& face, const kelcore::UTF16String& style, float size) override {
    return real_->CreateFont(face, style, size);
  }
  PathInterface* CreatePath() override { return real_->CreatePath(); }

 private:
  ~SpySupplier() override = default;
  SupplierInterface* real_;
};

SupplierInterface* RealSupplier() {
  using Make = SupplierInterface* (*)();
  static const Make make = [] {
    Make found = nullptr;
    void* symbol = dlsym(RTLD_NEXT, "_ZN5kelui6inkpad13NewOSSupplierEv");
    std::memcpy(&found, &symbol, sizeof found);
    return found;
  }();
  return make();
}

}  // namespace

const Seen& Watched() { return State(); }
void Reset() { State() = Seen{}; }

}  // namespace kel_test::supplier_spy

kelui::inkpad::SupplierInterface* kelui::inkpad::NewOSSupplier() {
  ++kel_test::supplier_spy::State().suppliers;
  return new kel_test::supplier_spy::SpySupplier(kel_test::supplier_spy::RealSupplier());
}

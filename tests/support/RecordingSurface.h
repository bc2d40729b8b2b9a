#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gdiplus/GdiPlus.h"
#include "kelui/inkpad/Inkpad.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace kel_test {

// One recorded surface call: its name and what it was given. Brush and pen colours, pen widths
// and path elements are read from the objects of a RecordingSupplier.
struct SurfaceCall {
  std::string op;
  kelui::inkpad::Color color{};
  kelcore::RectT<float> rect{};
  // GDI+ compositing mode in force when the call was made.
  Gdiplus::CompositingMode compositing = Gdiplus::CompositingModeSourceOver;
  kelcore::PointT<float> point{};
  kelcore::MatrixT<float> matrix{};
  int value = 0;  // render mode
  float width = 0.0f;
  float fontSize = 0.0f;
  std::vector<std::string> pathOps{};
};

// A surface that draws nothing and records every call, in order. As an OS surface it owns a real
// (detached) GDI+ graphics.
class RecordingSurface : public kelui::inkpad::OSSurfaceInterface {
 public:
  // `brokenGraphics`: the GDI+ graphics has no native object, so every GDI+ call on it fails.
  explicit RecordingSurface(bool brokenGraphics = false);
  ~RecordingSurface() override = default;

  std::vector<SurfaceCall> calls;
  Gdiplus::Graphics graphics;
  // What MeasureStringWidth answers per UTF-16 code unit.
  float widthPerCodeUnit = 10.0f;

  std::vector<SurfaceCall> Fills() const;
  // The calls named `op`, in order.
  std::vector<SurfaceCall> Calls(const std::string& op) const;
  // The names of all calls but GetOutputGraphics, in order.
  std::vector<std::string> Ops() const;

  void Destroy() override { Record("Destroy"); }
  void SaveState() override { Record("SaveState"); }
  void RestoreState() override { Record("RestoreState"); }
  void FillRect(const kelui::inkpad::Color& color, const kelcore::RectT<float>& rect) override;
  void FillPath(const kelui::inkpad::PathP& path, const kelui::inkpad::BrushP& brush, int option) override;
  void StrokePath(const kelui::inkpad::PathP& path, const kelui::inkpad::PenP& pen) override;
  void SetTransform(const kelcore::MatrixT<float>& matrix) override;
  void DrawString(const kelui::inkpad::BrushP& brush, const kelui::inkpad::FontP& font, const kelcore::UTF16String& text,
                  const kelcore::PointT<float>& baseline, int, int, float) override;
  void DrawStringInRect(const kelui::inkpad::BrushP& brush, const kelui::inkpad::FontP& font,
                        const kelcore::UTF16String& text, const kelcore::RectT<float>& rect, int option) override;
  float MeasureStringWidth(const kelui::inkpad::FontP&, const char16_t*, int) override;
  void SetRenderMode(int mode) override;
  int GetRenderMode() const override { return renderMode_; }
  Gdiplus::Graphics* GetOutputGraphics() override;

 private:
  SurfaceCall& Record(std::string op, kelui::inkpad::Color color = {}, kelcore::RectT<float> rect = {});
  int renderMode_ = 0;
};

}  // namespace kel_test

#pragma once

#include <string>
#include <vector>

#include "kelui/inkpad/Objects.h"
#include "kelui/inkpad/Supplier.h"

namespace kel_test {

// Fonts with simple metrics: ascent 0.8 and descent 0.2 of the size.
class RecordedFont : public kelui::inkpad::FontInterface {
 public:
  explicit RecordedFont(float fontSize) : size(fontSize) {}
  float GetAscent() const override { return 0.8f * size; }
  float GetDescent() const override { return 0.2f * size; }
  const float size;
};

class RecordedBrush : public kelui::inkpad::BrushInterface {
 public:
  explicit RecordedBrush(const kelui::inkpad::Color& brushColor) : color(brushColor) {}
  const kelui::inkpad::Color color;
};

class RecordedPen : public kelui::inkpad::PenInterface {
 public:
  RecordedPen(const kelui::inkpad::Color& penColor, float penWidth) : color(penColor), width(penWidth) {}
  const kelui::inkpad::Color color;
  const float width;
};

// Keeps its elements as text: "M x y", "L x y", "C x1 y1 x2 y2 x3 y3", "Z".
class RecordedPath : public kelui::inkpad::PathInterface {
 public:
  void MoveTo(const kelcore::PointT<float>& p) override;
  void LineTo(const kelcore::PointT<float>& p) override;
  void CubicBezierTo(const kelcore::PointT<float>& c1, const kelcore::PointT<float>& c2,
                     const kelcore::PointT<float>& end) override;
  void CloseFigure() override { ops.push_back("Z"); }
  std::vector<std::string> ops;
};

struct FontRequest {
  std::string face;
  std::string style;
  float size;
};

// A supplier of recorded objects; it makes no surfaces.
class RecordingSupplier : public kelui::inkpad::SupplierInterface {
 public:
  ~RecordingSupplier() override = default;
  void Destroy() override {}
  kelui::inkpad::SurfaceInterface* CreateSurface(int, int, int, int, void*, const std::uintptr_t&) override {
    return nullptr;
  }
  kelui::inkpad::PenInterface* CreatePen(const kelui::inkpad::Color& color, float width) override;
  kelui::inkpad::BrushInterface* CreateSolidBrush(const kelui::inkpad::Color& color) override;
  kelui::inkpad::FontInterface* CreateFont(const kelcore::UTF16String& face, const kelcore::UTF16String& style,
                                           float size) override;
  kelui::inkpad::PathInterface* CreatePath() override;

  std::vector<FontRequest> fonts;
};

}  // namespace kel_test

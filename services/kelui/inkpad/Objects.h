#pragma once

#include "kelcore/Counted.h"
#include "kelcore/Geometry.h"
#include "kelui/Export.h"

namespace kelui::inkpad {

// A drawing colour: red, green, blue, alpha, each from 0 to 1, straight (not premultiplied).
struct Color {
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
  float alpha = 0.0f;

  friend bool operator==(const Color&, const Color&) = default;
};

// Objects that a supplier makes. They are counted and held in the handles of Handles.h.

class KELUI_API FontInterface : public kelcore::CountedObject {
 public:
  ~FontInterface() override;
  // Distances above and below the baseline, in drawing units; both positive.
  virtual float GetAscent() const = 0;
  virtual float GetDescent() const = 0;
};

class KELUI_API PenInterface : public kelcore::CountedObject {
 public:
  ~PenInterface() override;
};

class KELUI_API BrushInterface : public kelcore::CountedObject {
 public:
  ~BrushInterface() override;
};

class KELUI_API PathInterface : public kelcore::CountedObject {
 public:
  ~PathInterface() override;
  virtual void MoveTo(const kelcore::PointT<float>& p) = 0;
  virtual void LineTo(const kelcore::PointT<float>& p) = 0;
  virtual void CubicBezierTo(const kelcore::PointT<float>& control1, const kelcore::PointT<float>& control2,
                             const kelcore::PointT<float>& end) = 0;
  virtual void CloseFigure() = 0;
};

}  // namespace kelui::inkpad

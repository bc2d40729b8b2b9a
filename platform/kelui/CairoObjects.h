#pragma once

// The objects that the Cairo supplier makes.

#include <cairo.h>

#include <vector>

#include "kelui/inkpad/Objects.h"
#include "keltext/LoadedFace.h"

namespace kelui::inkpad {

class CairoFont final : public FontInterface {
 public:
  CairoFont(const keltext::LoadedFace& face, float size) : face_(face), size_(size) {}
  float GetAscent() const override { return static_cast<float>(face_.ascender / face_.unitsPerEm * size_); }
  float GetDescent() const override { return static_cast<float>(face_.descender / face_.unitsPerEm * size_); }

  const keltext::LoadedFace& Face() const { return face_; }
  float Size() const { return size_; }

 private:
  const keltext::LoadedFace& face_;
  float size_;
};

class CairoPen final : public PenInterface {
 public:
  CairoPen(const Color& penColor, float penWidth) : color(penColor), width(penWidth) {}
  const Color color;
  const float width;
};

class CairoBrush final : public BrushInterface {
 public:
  explicit CairoBrush(const Color& brushColor) : color(brushColor) {}
  const Color color;
};

// Path elements are kept as given and replayed at drawing time, under the transform then in force.
class CairoPath final : public PathInterface {
 public:
  void MoveTo(const kelcore::PointT<float>& p) override;
  void LineTo(const kelcore::PointT<float>& p) override;
  void CubicBezierTo(const kelcore::PointT<float>& control1, const kelcore::PointT<float>& control2,
                     const kelcore::PointT<float>& end) override;
  void CloseFigure() override;

  // Replaces the context's current path with this one. Non-finite points, and points that lie
  // kFarInDevice or further off in device space (past Cairo's fixed point), end the replay.
  void Replay(cairo_t* cr) const;

 private:
  enum class Op { kMove, kLine, kCurve, kClose };
  struct Element {
    Op op;
    kelcore::PointT<float> p[3];
  };
  std::vector<Element> elements_;
};

}  // namespace kelui::inkpad

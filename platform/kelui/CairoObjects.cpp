#include "CairoObjects.h"

#include <cmath>

#include "keltext/GlyphDrawing.h"

namespace kelui::inkpad {

namespace {
bool IsFinite(const kelcore::PointT<float>& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// A point Cairo can hold: finite, and within kFarInDevice of the device origin.
bool IsDrawable(cairo_t* cr, const kelcore::PointT<float>& p) {
  return IsFinite(p) && keltext::IsNearInDevice(cr, p.x, p.y);
}
}  // namespace

void CairoPath::MoveTo(const kelcore::PointT<float>& p) { elements_.push_back({Op::kMove, {p, {}, {}}}); }

void CairoPath::LineTo(const kelcore::PointT<float>& p) { elements_.push_back({Op::kLine, {p, {}, {}}}); }

void CairoPath::CubicBezierTo(const kelcore::PointT<float>& control1, const kelcore::PointT<float>& control2,
                              const kelcore::PointT<float>& end) {
  elements_.push_back({Op::kCurve, {control1, control2, end}});
}

void CairoPath::CloseFigure() { elements_.push_back({Op::kClose, {}}); }

void CairoPath::Replay(cairo_t* cr) const {
  cairo_new_path(cr);
  for (const Element& e : elements_) {
    switch (e.op) {
      case Op::kMove:
        if (!IsDrawable(cr, e.p[0])) return;
        cairo_move_to(cr, e.p[0].x, e.p[0].y);
        break;
      case Op::kLine:
        if (!IsDrawable(cr, e.p[0])) return;
        cairo_line_to(cr, e.p[0].x, e.p[0].y);
        break;
      case Op::kCurve:
        if (!IsDrawable(cr, e.p[0]) || !IsDrawable(cr, e.p[1]) || !IsDrawable(cr, e.p[2])) return;
        cairo_curve_to(cr, e.p[0].x, e.p[0].y, e.p[1].x, e.p[1].y, e.p[2].x, e.p[2].y);
        break;
      case Op::kClose:
        cairo_close_path(cr);
        break;
    }
  }
}

}  // namespace kelui::inkpad

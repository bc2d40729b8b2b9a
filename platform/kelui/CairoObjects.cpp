#include "CairoObjects.h"

#include <cmath>

namespace kelui::inkpad {

namespace {
bool IsFinite(const kelcore::PointT<float>& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
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
        if (!IsFinite(e.p[0])) return;
        cairo_move_to(cr, e.p[0].x, e.p[0].y);
        break;
      case Op::kLine:
        if (!IsFinite(e.p[0])) return;
        cairo_line_to(cr, e.p[0].x, e.p[0].y);
        break;
      case Op::kCurve:
        if (!IsFinite(e.p[0]) || !IsFinite(e.p[1]) || !IsFinite(e.p[2])) return;
        cairo_curve_to(cr, e.p[0].x, e.p[0].y, e.p[1].x, e.p[1].y, e.p[2].x, e.p[2].y);
        break;
      case Op::kClose:
        cairo_close_path(cr);
        break;
    }
  }
}

}  // namespace kelui::inkpad

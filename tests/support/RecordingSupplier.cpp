#include "support/RecordingSupplier.h"

#include <sstream>

#include "kelcore/String.h"

namespace kel_test {

namespace {
std::string Format(char letter, std::initializer_list<float> values) {
  std::ostringstream out;
  out << letter;
  for (float v : values) out << ' ' << v;
  return out.str();
}
}  // namespace

void RecordedPath::MoveTo(const kelcore::PointT<float>& p) { ops.push_back(Format('M', {p.x, p.y})); }

void RecordedPath::LineTo(const kelcore::PointT<float>& p) { ops.push_back(Format('L', {p.x, p.y})); }

void RecordedPath::CubicBezierTo(const kelcore::PointT<float>& c1, const kelcore::PointT<float>& c2,
                                 const kelcore::PointT<float>& end) {
  ops.push_back(Format('C', {c1.x, c1.y, c2.x, c2.y, end.x, end.y}));
}

kelui::inkpad::PenInterface* RecordingSupplier::CreatePen(const kelui::inkpad::Color& color, float width) {
  return new RecordedPen(color, width);
}

kelui::inkpad::BrushInterface* RecordingSupplier::CreateSolidBrush(const kelui::inkpad::Color& color) {
  return new RecordedBrush(color);
}

kelui::inkpad::FontInterface* RecordingSupplier::CreateFont(const kelcore::UTF16String& face,
                                                            const kelcore::UTF16String& style, float size) {
  fonts.push_back({kelcore::string::UTF16ToUTF8(face), kelcore::string::UTF16ToUTF8(style), size});
  return new RecordedFont(size);
}

kelui::inkpad::PathInterface* RecordingSupplier::CreatePath() {
  return new RecordedPath();
}

}  // namespace kel_test

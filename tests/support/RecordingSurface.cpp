#include "support/RecordingSurface.h"

namespace kel_test {

namespace {
Gdiplus::GpGraphics* NewNativeGraphics(bool broken) {
  Gdiplus::GpGraphics* native = nullptr;
  if (!broken) Gdiplus::GdipCreateDetachedGraphics(&native);
  return native;
}
}  // namespace

RecordingSurface::RecordingSurface(bool brokenGraphics) : graphics(NewNativeGraphics(brokenGraphics)) {}

std::vector<SurfaceCall> RecordingSurface::Fills() const {
  std::vector<SurfaceCall> fills;
  for (const SurfaceCall& call : calls) {
    if (call.op == "FillRect") fills.push_back(call);
  }
  return fills;
}

void RecordingSurface::FillRect(const kelui::inkpad::Color& color, const kelcore::RectT<float>& rect) {
  Record("FillRect", color, rect);
}

float RecordingSurface::MeasureStringWidth(const kelui::inkpad::FontP&, const char16_t* text, int length) {
  Record("MeasureStringWidth");
  // Ten units a code unit: enough for layout tests to predict widths.
  if (text == nullptr) return 0.0f;
  if (length < 0) {
    length = 0;
    while (text[length] != u'\0') ++length;
  }
  return 10.0f * static_cast<float>(length);
}

Gdiplus::Graphics* RecordingSurface::GetOutputGraphics() {
  Record("GetOutputGraphics");
  return &graphics;
}

void RecordingSurface::Record(std::string op, kelui::inkpad::Color color, kelcore::RectT<float> rect) {
  calls.push_back({std::move(op), color, rect, graphics.GetCompositingMode()});
}

}  // namespace kel_test

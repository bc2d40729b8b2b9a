#include "support/RecordingSurface.h"

#include "support/RecordingSupplier.h"

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
  if (text == nullptr) return 0.0f;
  if (length < 0) {
    length = 0;
    while (text[length] != u'\0') ++length;
  }
  return widthPerCodeUnit * static_cast<float>(length);
}

Gdiplus::Graphics* RecordingSurface::GetOutputGraphics() {
  Record("GetOutputGraphics");
  return &graphics;
}

SurfaceCall& RecordingSurface::Record(std::string op, kelui::inkpad::Color color, kelcore::RectT<float> rect) {
  SurfaceCall call;
  call.op = std::move(op);
  call.color = color;
  call.rect = rect;
  call.compositing = graphics.GetCompositingMode();
  calls.push_back(std::move(call));
  return calls.back();
}

std::vector<SurfaceCall> RecordingSurface::Calls(const std::string& op) const {
  std::vector<SurfaceCall> matching;
  for (const SurfaceCall& call : calls) {
    if (call.op == op) matching.push_back(call);
  }
  return matching;
}

std::vector<std::string> RecordingSurface::Ops() const {
  std::vector<std::string> ops;
  for (const SurfaceCall& call : calls) {
    if (call.op != "GetOutputGraphics") ops.push_back(call.op);
  }
  return ops;
}

namespace {
kelui::inkpad::Color BrushColor(const kelui::inkpad::BrushP& brush) {
  const auto* recorded = dynamic_cast<const RecordedBrush*>(brush.get());
  return recorded ? recorded->color : kelui::inkpad::Color{};
}
std::vector<std::string> PathOps(const kelui::inkpad::PathP& path) {
  const auto* recorded = dynamic_cast<const RecordedPath*>(path.get());
  return recorded ? recorded->ops : std::vector<std::string>{};
}
float FontSize(const kelui::inkpad::FontP& font) {
  const auto* recorded = dynamic_cast<const RecordedFont*>(font.get());
  return recorded ? recorded->size : 0.0f;
}
}  // namespace

void RecordingSurface::FillPath(const kelui::inkpad::PathP& path, const kelui::inkpad::BrushP& brush, int) {
  Record("FillPath", BrushColor(brush)).pathOps = PathOps(path);
}

void RecordingSurface::StrokePath(const kelui::inkpad::PathP& path, const kelui::inkpad::PenP& pen) {
  const auto* recorded = dynamic_cast<const RecordedPen*>(pen.get());
  SurfaceCall& call = Record("StrokePath", recorded ? recorded->color : kelui::inkpad::Color{});
  call.width = recorded ? recorded->width : 0.0f;
  call.pathOps = PathOps(path);
}

void RecordingSurface::SetTransform(const kelcore::MatrixT<float>& matrix) { Record("SetTransform").matrix = matrix; }

void RecordingSurface::DrawString(const kelui::inkpad::BrushP& brush, const kelui::inkpad::FontP& font,
                                  const kelcore::UTF16String&, const kelcore::PointT<float>& baseline, int, int, float) {
  SurfaceCall& call = Record("DrawString", BrushColor(brush));
  call.point = baseline;
  call.fontSize = FontSize(font);
}

void RecordingSurface::DrawStringInRect(const kelui::inkpad::BrushP& brush, const kelui::inkpad::FontP&,
                                        const kelcore::UTF16String&, const kelcore::RectT<float>& rect, int) {
  Record("DrawStringInRect", BrushColor(brush), rect);
}

void RecordingSurface::SetRenderMode(int mode) {
  renderMode_ = mode;
  Record("SetRenderMode").value = mode;
}

}  // namespace kel_test

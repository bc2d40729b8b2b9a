#include "kelcaptioning/RenderableModel.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "kelcaptioning/Formats.h"

namespace kelcaptioning {

// Out of line so that each class's vtable lives in this library.
CaptioningRenderableModelCell::~CaptioningRenderableModelCell() = default;
CaptioningRenderableModelRow::~CaptioningRenderableModelRow() = default;
CaptioningRenderableOpenSpan::~CaptioningRenderableOpenSpan() = default;
CaptioningRenderableOpenRow::~CaptioningRenderableOpenRow() = default;
CaptioningRenderableModelWindow::~CaptioningRenderableModelWindow() = default;
CaptioningRenderableModel::~CaptioningRenderableModel() = default;

namespace {

// Positions past the int range saturate: a wrapped sum would put the span on the other side.
int SaturatedSum(int a, int b) noexcept {
  return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{a} + b, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

kelcore::RectT<int> CaptioningRenderableOpenSpan::GetBounds(int rowHorizontalStart,
                                                            int rowVerticalStart) const noexcept {
  return {SaturatedSum(rowHorizontalStart, horizontalStart_), SaturatedSum(rowVerticalStart, verticalStart_),
          textWidth_, rectHeight_};
}

CaptioningRenderableModel::CaptioningRenderableModel(StreamFormat format)
    : format_(format), maxRows_(GetCaptionRows(format)), maxColumns_(GetCaptionColumns(format)) {}

CaptioningRenderableModelWindowPtr CaptioningRenderableModel::GetWindow(int windowNumber) const {
  auto found = windows_.find(windowNumber);
  return found == windows_.end() ? nullptr : found->second;
}

void CaptioningRenderableModel::SetWindow(int windowNumber, CaptioningRenderableModelWindowPtr window) {
  if (window) {
    windows_[windowNumber] = std::move(window);
  } else {
    windows_.erase(windowNumber);
  }
}

void CaptioningRenderableModel::AddWindow(int windowNumber, CaptioningRenderableModelWindowPtr window) {
  SetWindow(windowNumber, std::move(window));
  renderOrder_.push_back(windowNumber);
}

}  // namespace kelcaptioning

#include "render/CaptionDrawing.h"

#include "grid/CellBackgrounds.h"
#include "grid/CellRows.h"
#include "kelcaptioning/Formats.h"
#include "kelui/inkpad/Surface.h"
#include "open/OpenWindow.h"
#include "paint/DrawingColor.h"
#include "paint/SourceCopy.h"
#include "paint/SurfaceScopes.h"
#include "render/DebugFlag.h"
#include "render/WindowPlacement.h"

namespace kelcaptioningui {

using kelcaptioning::CaptioningRenderableModelPtr;
using kelcaptioning::CaptioningRenderableModelWindowPtr;
using kelcore::RectT;
using kelui::inkpad::Color;

namespace {

constexpr Color DebugTint(int red, int green, int blue) {
  return {static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f, static_cast<float>(blue) / 255.0f,
          0.5f};
}

// The window to draw, or null when the number names none or it is hidden.
CaptioningRenderableModelWindowPtr VisibleWindow(const CaptioningRenderableModelPtr& model, int windowNumber) {
  CaptioningRenderableModelWindowPtr window = model->GetWindow(windowNumber);
  if (!window || !window->GetVisible()) return nullptr;
  return window;
}

// Window fills replace pixels on GDI+ surfaces. The compositing mode is GDI+ state, not drawing
// state: it stays source copy after the save/restore, which leaves the rest of the state as it was.
void UseSourceCopyCompositing(kelui::inkpad::SurfaceInterface* surface) {
  auto* osSurface = dynamic_cast<kelui::inkpad::OSSurfaceInterface*>(surface);
  if (osSurface == nullptr) return;
  const SavedDrawingState saved(*osSurface);
  SetSourceCopyCompositing(*osSurface);
}

bool IsDebugTinted(int windowNumber) {
  return windowNumber >= 0 && windowNumber < static_cast<int>(kDebugWindowColors.size()) &&
         DebugCaptionWindowsFlag().Read();
}

}  // namespace

const std::array<Color, 8> kDebugWindowColors = {
    DebugTint(255, 0, 0),   DebugTint(127, 255, 0), DebugTint(0, 255, 255), DebugTint(127, 0, 255),
    DebugTint(255, 191, 0), DebugTint(0, 255, 64),  DebugTint(0, 64, 255),  DebugTint(255, 0, 191),
};

void DrawCaptionWindow(const CaptioningRenderableModelPtr& model, kelui::inkpad::Inkpad* inkpad,
                       const RectT<float>& frameRect, int windowNumber) {
  if (inkpad == nullptr || inkpad->GetSurface() == nullptr) return;
  const CaptioningRenderableModelWindowPtr window = VisibleWindow(model, windowNumber);
  if (!window) return;

  RectT<float> windowRect{};
  RectT<float> cellSizeRect{};
  ComputeWindowRects(*model, *window, frameRect, cellSizeRect, windowRect);

  kelui::inkpad::SurfaceInterface* surface = inkpad->GetSurface();
  UseSourceCopyCompositing(surface);

  const Color fill = IsDebugTinted(windowNumber) ? kDebugWindowColors[static_cast<std::size_t>(windowNumber)]
                                                 : ToDrawingColor(window->GetFillColor());
  // Filled even when fully transparent: with source-copy compositing that clears the window.
  surface->FillRect(fill, windowRect);

  if (kelcaptioning::IsOpenCaptions(model->GetStreamFormat())) {
    DrawOpenWindow(window, inkpad, windowRect);
    return;
  }

  const kelcaptioning::RowList rows = window->GetRows();
  DrawCellBackgrounds(rows, inkpad, windowRect, cellSizeRect);
  CaptionRectList rowExtents;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i]) DrawCellRow(rows[i], inkpad, windowRect, cellSizeRect, static_cast<int>(i), rowExtents);
  }
}

void CollectCaptionWindowRects(const CaptioningRenderableModelPtr& model, kelui::inkpad::Inkpad* inkpad,
                               const RectT<float>& frameRect, CaptionRectList& rects, int windowNumber) {
  const CaptioningRenderableModelWindowPtr window = VisibleWindow(model, windowNumber);
  if (!window) return;

  RectT<float> windowRect{};
  RectT<float> cellSizeRect{};
  ComputeWindowRects(*model, *window, frameRect, cellSizeRect, windowRect);

  if (!window->GetFillColor().IsTransparent() || DebugCaptionWindowsFlag().Read()) rects.push_back(windowRect);

  if (kelcaptioning::IsOpenCaptions(model->GetStreamFormat())) {
    CollectOpenRowRects(window, inkpad, windowRect, rects);
  } else {
    CollectCellRowRects(window, nullptr, windowRect, cellSizeRect, rects);
  }
}

void DrawCaption(const CaptioningRenderableModelPtr& model, kelui::inkpad::Inkpad* inkpad,
                 const RectT<float>& frameRect) {
  if (!model) return;
  const CaptioningRenderableModelPtr held = model;  // one reference for the whole walk
  const RectT<float> frame = frameRect;
  std::vector<int> order;
  held->GetWindowRenderOrder(order);
  for (int windowNumber : order) DrawCaptionWindow(held, inkpad, frame, windowNumber);
}

void GetCaptionRects(const CaptioningRenderableModelPtr& model, kelui::inkpad::Inkpad* inkpad,
                     const RectT<float>& frameRect, CaptionRectList& rects) {
  if (!model) return;
  const CaptioningRenderableModelPtr held = model;
  const RectT<float> frame = frameRect;
  std::vector<int> order;
  held->GetWindowRenderOrder(order);
  for (int windowNumber : order) CollectCaptionWindowRects(held, inkpad, frame, rects, windowNumber);
}

RectT<float> GetCaptionRowsRect(const CaptioningRenderableModelPtr& model, int windowNumber, int firstRow,
                                int rowCount, const RectT<float>& frameRect) {
  if (!model || kelcaptioning::IsOpenCaptions(model->GetStreamFormat())) return {};
  const CaptioningRenderableModelWindowPtr window = VisibleWindow(model, windowNumber);
  if (!window || firstRow < 0 || rowCount < 1 || rowCount > window->GetRowCount() - firstRow) return {};
  RectT<float> windowRect{};
  RectT<float> cellSizeRect{};
  ComputeWindowRects(*model, *window, frameRect, cellSizeRect, windowRect);
  // As the cell boxes of the rows are computed, so that the rectangle meets them exactly.
  const float top = static_cast<float>(firstRow) * cellSizeRect.height + windowRect.y;
  const float bottom = static_cast<float>(firstRow + rowCount) * cellSizeRect.height + windowRect.y;
  return {windowRect.x, top, windowRect.width, bottom - top};
}

}  // namespace kelcaptioningui

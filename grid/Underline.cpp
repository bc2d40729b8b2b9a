#include "grid/Underline.h"

#include "kelui/inkpad/Handles.h"
#include "kelui/inkpad/Surface.h"
#include "paint/SurfaceScopes.h"

namespace kelcaptioningui {

namespace {
constexpr float kUnderlineDrop = 3.0f;
constexpr float kUnderlineWidth = 1.0f;
}  // namespace

void DrawUnderline(kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& textRect,
                   const kelcore::PointT<float>& anchor, const kelui::inkpad::Color& color) {
  kelui::inkpad::SurfaceInterface* surface = inkpad ? inkpad->GetSurface() : nullptr;
  if (surface == nullptr) return;
  const RenderModeScope aliased(*surface, 0);
  const float y = anchor.y + kUnderlineDrop;
  kelui::inkpad::PathP path(inkpad->GetSupplier());
  kelui::inkpad::PenP pen(inkpad->GetSupplier(), color, kUnderlineWidth);
  if (path && pen) {
    path->MoveTo({textRect.x, y});
    path->LineTo({textRect.x + textRect.width, y});
    path->CloseFigure();
    surface->StrokePath(path, pen);
  }
}

}  // namespace kelcaptioningui

#include "paint/BackgroundRuns.h"

#include "paint/DrawingColor.h"
#include "paint/SourceCopy.h"
#include "paint/SurfaceScopes.h"

namespace kelcaptioningui {

void BackgroundRuns::Fill(kelui::inkpad::Inkpad& inkpad) {
  kelui::inkpad::SurfaceInterface* surface = inkpad.GetSurface();
  if (surface == nullptr) return;
  for (auto& [color, rects] : runs_) {
    if (rects.empty()) continue;
    kelcore::utility::RemoveRegionListOverlaps(rects);
    const RenderModeScope aliased(*surface, 0);
    auto* osSurface = dynamic_cast<kelui::inkpad::OSSurfaceInterface*>(surface);
    if (osSurface == nullptr) continue;
    const SavedDrawingState saved(*osSurface);
    SetSourceCopyCompositing(*osSurface);
    if (color.Alpha() == kelcaptioning::kAlphaValue_Transparent) continue;
    const kelui::inkpad::Color fill = ToDrawingColor(color);
    for (const kelcore::RectT<int>& r : rects) {
      surface->FillRect(fill, {static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
                               static_cast<float>(r.height)});
    }
  }
}

}  // namespace kelcaptioningui

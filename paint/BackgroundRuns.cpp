#include "paint/BackgroundRuns.h"

#include "paint/DrawingColor.h"
#include "paint/SourceCopy.h"

namespace kelcaptioningui {

void BackgroundRuns::Fill(kelui::inkpad::Inkpad& inkpad) {
  kelui::inkpad::SurfaceInterface* surface = inkpad.GetSurface();
  if (surface == nullptr) return;
  for (auto& [color, rects] : runs_) {
    if (rects.empty()) continue;
    kelcore::utility::RemoveRegionListOverlaps(rects);
    const int renderMode = surface->GetRenderMode();
    surface->SetRenderMode(0);
    if (auto* osSurface = dynamic_cast<kelui::inkpad::OSSurfaceInterface*>(surface)) {
      osSurface->SaveState();
      SetSourceCopyCompositing(*osSurface);
      if (color.Alpha() != kelcaptioning::kAlphaValue_Transparent) {
        const kelui::inkpad::Color fill = ToDrawingColor(color);
        for (const kelcore::RectT<int>& r : rects) {
          surface->FillRect(fill, {static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
                                   static_cast<float>(r.height)});
        }
      }
      osSurface->RestoreState();
    }
    surface->SetRenderMode(renderMode);
  }
}

}  // namespace kelcaptioningui

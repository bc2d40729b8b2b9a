#include "paint/SourceCopy.h"

#include "gdiplus/GdiPlus.h"

namespace kelcaptioningui {

void SetSourceCopyCompositing(kelui::inkpad::OSSurfaceInterface& surface) {
  if (Gdiplus::Graphics* graphics = surface.GetOutputGraphics()) {
    graphics->SetStatus(Gdiplus::GdipSetCompositingMode(graphics->nativeGraphics, Gdiplus::CompositingModeSourceCopy));
  }
}

}  // namespace kelcaptioningui

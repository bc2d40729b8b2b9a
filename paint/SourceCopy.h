#pragma once

#include "kelui/inkpad/Surface.h"

namespace kelcaptioningui {

// Sets the GDI+ compositing mode behind `surface` to source copy, so that fills replace pixels,
// alpha included. A failing status stays in the graphics' last status; drawing goes on.
void SetSourceCopyCompositing(kelui::inkpad::OSSurfaceInterface& surface);

}  // namespace kelcaptioningui

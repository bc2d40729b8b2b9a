#pragma once

#include <cairo.h>

#include "gdiplus/GdiPlus.h"

namespace Gdiplus {

// This platform's counterpart of GdipCreateFromHDC: a graphics that draws through `context`
// (referenced until the graphics is deleted), with the context's transform in force.
GDIPLUS_API Status GdipCreateFromCairoContext(cairo_t* context, GpGraphics** graphics);

}  // namespace Gdiplus

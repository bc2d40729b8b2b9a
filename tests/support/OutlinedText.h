#pragma once

#include "gdiplus/GdiPlus.h"

namespace kel_test {

// Outlines `text` through the GDI+ calls the way captions do: stroke with the pen, then fill
// over it, every object made and deleted on the way. Returns the first failing status.
Gdiplus::Status DrawOutlinedText(Gdiplus::GpGraphics* graphics, const char16_t* family, const char16_t* text,
                                 float emSize, int style, Gdiplus::Rect layout, Gdiplus::ARGB penColor, float penWidth,
                                 Gdiplus::ARGB fillColor);

}  // namespace kel_test

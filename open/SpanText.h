#pragma once

#include "kelcaptioning/RenderableModel.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// Draws a span's text in `spanRect` (output units; s is the window scale): the text's line box
// centred vertically, moved for super- and subscript, with its edge effect and underline.
void DrawSpanText(const kelcaptioning::CaptioningRenderableOpenSpanPtr& span, kelui::inkpad::Inkpad* inkpad,
                  const kelcore::RectT<float>& spanRect, float s);

// The outline edge: the text as a GDI+ path from the span rectangle's top-left, stroked with the
// edge colour at `penWidth` and then filled opaque in the foreground colour. Only on OS surfaces.
void DrawOutlinedSpanText(const kelcaptioning::CaptioningRenderableOpenSpanPtr& span, kelui::inkpad::Inkpad* inkpad,
                          const kelcore::PointT<float>& baseline, const kelcore::RectT<float>& spanRect, float emSize,
                          float penWidth);

}  // namespace kelcaptioningui

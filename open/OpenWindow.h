#pragma once

#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// Lays out and draws the open rows of one open-caption window.
void DrawOpenWindow(const kelcaptioning::CaptioningRenderableModelWindowPtr& window, kelui::inkpad::Inkpad* inkpad,
                    const kelcore::RectT<float>& windowRect);

// Appends one rectangle per drawable open row of the window; measures text through the Inkpad.
void CollectOpenRowRects(const kelcaptioning::CaptioningRenderableModelWindowPtr& window,
                         kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& windowRect,
                         CaptionRectList& rects);

}  // namespace kelcaptioningui

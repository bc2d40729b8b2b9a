#pragma once

#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// Lays out and draws the open rows of one open-caption window: measures, paints every span
// background, then each row's span text.
void DrawOpenWindow(const kelcaptioning::CaptioningRenderableModelWindowPtr& window, kelui::inkpad::Inkpad* inkpad,
                    const kelcore::RectT<float>& windowRect);

// Measures every span with its own font at model scale and writes span starts, span widths and
// row widths into the model.
void MeasureOpenRows(const kelcaptioning::CaptioningRenderableModelWindowPtr& window, kelui::inkpad::Inkpad* inkpad);

// Places the spans of one row in output units and draws their text.
void DrawOpenRowSpans(const kelcaptioning::CaptioningRenderableOpenRowPtr& row, kelui::inkpad::Inkpad* inkpad,
                      const kelcore::RectT<float>& windowRect, const kelcore::RectT<int>& drawArea);

// Appends one rectangle per drawable open row of the window (full width and line height); measures
// text through the Inkpad first.
void CollectOpenRowRects(const kelcaptioning::CaptioningRenderableModelWindowPtr& window,
                         kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& windowRect,
                         CaptionRectList& rects);

}  // namespace kelcaptioningui

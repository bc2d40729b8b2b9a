#pragma once

#include <array>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelui/inkpad/Objects.h"

namespace kelcaptioningui {

// Tints that replace the fills of windows 0 to 7 while "DebugCaptionWindows" is on.
extern const std::array<kelui::inkpad::Color, 8> kDebugWindowColors;

// One window of DrawCaption.
void DrawCaptionWindow(const kelcaptioning::CaptioningRenderableModelPtr& model, kelui::inkpad::Inkpad* inkpad,
                       const kelcore::RectT<float>& frameRect, int windowNumber);

// One window of GetCaptionRects.
void CollectCaptionWindowRects(const kelcaptioning::CaptioningRenderableModelPtr& model,
                               kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& frameRect,
                               CaptionRectList& rects, int windowNumber);

}  // namespace kelcaptioningui

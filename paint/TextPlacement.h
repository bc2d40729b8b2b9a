#pragma once

#include "kelcaptioning/TextEnums.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Handles.h"

namespace kelcaptioningui {

// How far super- (offset 0, up) and subscripts (offset 2, down) move from the baseline: a fixed
// share of the font's ascent plus descent. Other offsets stay on it.
float OffsetShift(kelcaptioning::TextOffset offset, float ascent, float descent);

// The baseline that centres the font's ascent-plus-descent box in `box`; when the UI toolkit has
// a node manager, its GetFontBaseline decides instead.
float CentredBaseline(const kelui::inkpad::FontP& font, const kelcore::RectT<float>& box, float ascent, float descent);

}  // namespace kelcaptioningui

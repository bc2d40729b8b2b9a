#pragma once

#include "kelcore/Geometry.h"
#include "kelui/Export.h"
#include "kelui/inkpad/Handles.h"

namespace kelui {

// The baseline that centres the font's ascent-plus-descent box vertically in `rect`. An empty
// font gives the rectangle's vertical centre.
KELUI_API float GetFontBaseline(const inkpad::FontP& font, const kelcore::RectT<float>& rect);

}  // namespace kelui

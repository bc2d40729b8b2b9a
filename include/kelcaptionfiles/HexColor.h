#pragma once

#include <optional>
#include <string_view>

#include "kelcaptionfiles/Export.h"
#include "kelcaptioning/CaptioningColor.h"

namespace kelcaptionfiles {

// "#RRGGBB" (opaque) or, with `allowAlpha`, also "#RRGGBBAA"; hex digits of either case and
// nothing else. Empty for any other text.
KELCAPTIONFILES_API std::optional<kelcaptioning::CaptioningColor> ParseHexColor(std::string_view text, bool allowAlpha);

}  // namespace kelcaptionfiles

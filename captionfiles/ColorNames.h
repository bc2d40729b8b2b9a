#pragma once

#include <optional>
#include <string_view>

#include "kelcaptioning/CaptioningColor.h"

namespace kelcaptionfiles {

// The colour of a CSS colour name ("brown", "DarkSlateGrey": any case), opaque; empty for a name
// that is not one.
std::optional<kelcaptioning::CaptioningColor> ColorNamed(std::string_view name);

}  // namespace kelcaptionfiles

#pragma once

// What the writers share: text in UTF-8, and colours by number or the nearest of a few.

#include <span>
#include <string>
#include <string_view>

#include "captionfiles/ExportCues.h"

namespace kelcaptionfiles {

std::string Utf8Of(std::u32string_view text);
// UTF-8 with '&', '<' and '>' as character references, for WebVTT and XML.
std::string EscapedMarkup(std::u32string_view text);
// "left", "center" or "right".
const char* AlignmentName(kelcaptioning::ParagraphStyleAttributes::TextAlignmentType alignment);
// "#rrggbb", opacity left out.
std::string HexColorText(const kelcaptioning::CaptioningColor& color);
// The index of the colour of `palette` nearest to `color` (by squared distance of red, green and
// blue); `exact` tells whether it is the colour itself.
std::size_t NearestColor(const kelcaptioning::CaptioningColor& color,
                         std::span<const kelcaptioning::CaptioningColor> palette, bool& exact);

}  // namespace kelcaptionfiles

#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/ReadResult.h"
#include "kelcaptionfiles/SubtitleStyle.h"

namespace kelcaptionfiles {

// Reads SubRip text (UTF-8, with or without a byte-order mark; CR LF or LF) into an open-caption
// list: one caption per cue, one bottom-centred paragraph per line, spans for <i>, <b>, <u> and
// <font color=... face=... size=...>. Cue numbers may be missing or out of order and blank lines
// may repeat. Throws ReadError naming `fileName`, the line and the column for a bad time code, a
// cue that ends before it begins, a cue without a time line or text, or invalid UTF-8.
ReadResult ReadSrt(std::string_view text, const std::string& fileName, const SubtitleStyle& style = {});

}  // namespace kelcaptionfiles

#pragma once

#include <string>
#include <string_view>

#include "kelcaptioning/CaptionList.h"
#include "readers/ReadError.h"

namespace kelcaption {

// How subtitles are laid out when a file does not say.
struct SubtitleStyle {
  float fontSize = 38.0f;
  const char* fontName = "Arial";
  kelcaptioning::CaptioningColor foreground = kelcaptioning::kCaptioningColor_White;
  kelcaptioning::CaptioningColor background = kelcaptioning::kCaptioningColor_Transparent;
  kelcaptioning::TextEdge edge = kelcaptioning::kTextEdge_Uniform;
  float edgeWidth = 3.0f;
};

// Reads SubRip text (UTF-8, with or without a byte-order mark; CR LF or LF) into an open-caption
// list: one caption per cue, one bottom-centred paragraph per line, spans for <i>, <b>, <u> and
// <font color=... face=... size=...>. Cue numbers may be missing or out of order and blank lines
// may repeat. Throws ReadError naming `fileName`, the line and the column for a bad time code, a
// cue that ends before it begins, a cue without a time line or text, or invalid UTF-8.
kelcaptioning::CaptionListPtr ReadSrt(std::string_view text, const std::string& fileName,
                                      const SubtitleStyle& style = {});

}  // namespace kelcaption

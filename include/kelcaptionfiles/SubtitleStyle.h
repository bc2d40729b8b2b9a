#pragma once

#include "kelcaptionfiles/Export.h"
#include "kelcaptioning/CaptioningColor.h"
#include "kelcaptioning/TextEnums.h"

namespace kelcaptionfiles {

// How subtitles are laid out when a file does not say.
struct SubtitleStyle {
  float fontSize = 38.0f;
  const char* fontName = "Arial";
  kelcaptioning::CaptioningColor foreground = kelcaptioning::kCaptioningColor_White;
  kelcaptioning::CaptioningColor background = kelcaptioning::kCaptioningColor_Transparent;
  kelcaptioning::TextEdge edge = kelcaptioning::kTextEdge_Uniform;
  float edgeWidth = 3.0f;
};

// The share of the frame's height that players draw subtitle text at when nothing says other:
// browsers size WebVTT text at 5 % of the video's height (5vh), and SubRip players alike.
inline constexpr float kDefaultTextHeightShare = 0.05f;

// The default style for frames `frameHeight` pixels high: text of kDefaultTextHeightShare of the
// frame's height, in whole pixels.
KELCAPTIONFILES_API SubtitleStyle DefaultSubtitleStyle(int frameHeight);

}  // namespace kelcaptionfiles

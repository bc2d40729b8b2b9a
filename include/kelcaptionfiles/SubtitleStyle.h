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

// The default style for frames `frameHeight` pixels high: fifteen caption rows of one and a half
// line heights fill the caption area.
KELCAPTIONFILES_API SubtitleStyle DefaultSubtitleStyle(int frameHeight);

}  // namespace kelcaptionfiles

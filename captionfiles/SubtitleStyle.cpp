#include "kelcaptionfiles/SubtitleStyle.h"

#include <cmath>

namespace kelcaptionfiles {

SubtitleStyle DefaultSubtitleStyle(int frameHeight) {
  SubtitleStyle style;
  style.fontSize = std::round(static_cast<float>(frameHeight) * kDefaultTextHeightShare);
  return style;
}

}  // namespace kelcaptionfiles

#include "kelcaptionfiles/SubtitleStyle.h"

#include <cmath>

#include "kelcaptioning/RenderableModel.h"

namespace kelcaptionfiles {

SubtitleStyle DefaultSubtitleStyle(int frameHeight) {
  SubtitleStyle style;
  style.fontSize = std::floor(static_cast<float>(kelcaptioning::DefaultCaptionAreaSize(frameHeight)) / 15.0f / 1.5f);
  return style;
}

}  // namespace kelcaptionfiles

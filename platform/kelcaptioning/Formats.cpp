#include "kelcaptioning/Formats.h"

namespace kelcaptioning {

bool IsOpenCaptions(StreamFormat format) noexcept {
  return format == kStreamFormat_OpenCaptions || format == kStreamFormat_OpenEBU;
}

bool IsCEA608(StreamFormat format) noexcept {
  return format == kStreamFormat_CEA608_CC1 || format == kStreamFormat_CEA608_CC2 ||
         format == kStreamFormat_CEA608_CC3 || format == kStreamFormat_CEA608_CC4;
}

bool IsCEA708(StreamFormat format) noexcept { return format == kStreamFormat_CEA708; }

bool IsTeletext(StreamFormat format) noexcept {
  return format == kStreamFormat_TeletextLevel10 || format == kStreamFormat_TeletextLevel15 ||
         format == kStreamFormat_TeletextLevel20;
}

bool IsOpenEBUSubtitling(StreamFormat format) noexcept { return format == kStreamFormat_OpenEBU; }

bool IsKnownStreamFormat(StreamFormat format) noexcept {
  return IsOpenCaptions(format) || IsCEA608(format) || IsCEA708(format) || IsTeletext(format);
}

int GetCaptionRows(StreamFormat format) noexcept {
  if (!IsKnownStreamFormat(format)) return 0;
  return IsTeletext(format) || IsOpenEBUSubtitling(format) ? 23 : 15;
}

int GetCaptionColumns(StreamFormat format, bool wideScreen) noexcept {
  if (!IsKnownStreamFormat(format)) return 0;
  if (IsTeletext(format) || IsOpenEBUSubtitling(format)) return 40;
  if (IsCEA708(format) && wideScreen) return 42;
  return 32;
}

bool IsWideScreen(int frameWidth, int frameHeight, const kelmediatypes::PixelAspectRatio& par) noexcept {
  if (frameWidth <= 0 || frameHeight <= 0 || par.GetNumerator() == 0 || par.GetDenominator() == 0) return false;
  const double displayAspect = static_cast<double>(frameWidth) * par.GetNumerator() /
                               (static_cast<double>(frameHeight) * par.GetDenominator());
  // Halfway between 4:3 and 16:9.
  constexpr double kWideThreshold = (4.0 / 3.0 + 16.0 / 9.0) / 2.0;
  return displayAspect > kWideThreshold;
}

}  // namespace kelcaptioning

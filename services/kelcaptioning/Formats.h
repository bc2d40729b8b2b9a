#pragma once

#include "kelcaptioning/Export.h"
#include "kelcaptioning/StreamFormat.h"
#include "kelmediatypes/PixelShape.h"

namespace kelcaptioning {

// Formats drawn as free rows of styled spans rather than as a grid of cells.
KELCAPTIONING_API bool IsOpenCaptions(StreamFormat format) noexcept;
KELCAPTIONING_API bool IsCEA608(StreamFormat format) noexcept;
KELCAPTIONING_API bool IsCEA708(StreamFormat format) noexcept;
KELCAPTIONING_API bool IsTeletext(StreamFormat format) noexcept;
KELCAPTIONING_API bool IsOpenEBUSubtitling(StreamFormat format) noexcept;
// False for values that are none of the formats above.
KELCAPTIONING_API bool IsKnownStreamFormat(StreamFormat format) noexcept;

// Rows and columns of the format's caption grid (for open formats: the safe-title grid that
// default sizes are derived from). A format this model does not know has no grid: 0 and 0.
KELCAPTIONING_API int GetCaptionRows(StreamFormat format) noexcept;
KELCAPTIONING_API int GetCaptionColumns(StreamFormat format, bool wideScreen = false) noexcept;

// True when the frame's display aspect ratio is nearer 16:9 than 4:3. A zero size or ratio term is
// not wide.
KELCAPTIONING_API bool IsWideScreen(int frameWidth, int frameHeight,
                                    const kelmediatypes::PixelAspectRatio& pixelAspectRatio) noexcept;

}  // namespace kelcaptioning

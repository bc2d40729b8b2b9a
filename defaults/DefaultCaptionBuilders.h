#pragma once

#include "kelcaptioning/CaptionList.h"
#include "kelcaptioning/StreamFormat.h"

namespace kelcaptioningui {

// Tick counts of default captions: gap, sample and single caption stand 1 : 3 : 12.
inline constexpr std::int64_t kSingleCaptionTicks = 762048000000;
inline constexpr std::int64_t kSampleTicks = 190512000000;
inline constexpr std::int64_t kSampleGapTicks = 63504000000;

// One placeholder caption, "Type Caption Text Here", on the last row.
void BuildSingleDefaultCaption(kelcaptioning::StreamFormat format, kelcaptioning::CaptionListPtr& list, int areaWidth,
                               int areaHeight, float fontSize);

// Captions that show where they stand: for open captions the ten anchors and a 5 x 5 grid of
// percentages of the area; for grid formats one per row and column of the list's metadata.
void BuildPositionSamples(kelcaptioning::StreamFormat format, kelcaptioning::CaptionListPtr& list, int areaWidth,
                          int areaHeight, float fontSize);

}  // namespace kelcaptioningui

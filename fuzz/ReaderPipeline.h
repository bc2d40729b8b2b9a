#pragma once

// What the command-line tool does with a caption list once a reader made it, without measuring
// text: place the captions in a 1536 x 864 caption area and cut the list into render-ready
// states. Shared by the reader targets, so that a list that reads but cannot be used is found too.

#include "kelcaptioning/CaptionList.h"
#include "kelcaptioning/Formats.h"
#include "readers/CaptionTimeline.h"

namespace kel_fuzz {

inline void PlaceAndCut(kelcaptioning::CaptionList& list) {
  constexpr int kAreaWidth = 1536, kAreaHeight = 864;
  const kelcaptioning::StreamFormat format = list.GetStreamFormat();
  const kelcaptioning::CaptioningMetadata metadata = list.GetMetadata();
  for (const kelcaptioning::CaptionPtr& caption : list.GetCaptions()) {
    if (!kelcaptioning::IsOpenCaptions(format)) {
      caption->UpdateLineWidthAndHeightFromText(format, metadata.GetMaxCharactersInRow(), metadata.GetMaxNumberOfRow());
      caption->UpdatePositionsFromAnchorID(0, 0, format);
    } else {
      caption->UpdatePositionsFromAnchorID(kAreaWidth, kAreaHeight, format);
    }
  }
  const kelcaption::CaptionTimeline timeline = kelcaption::TimelineOf(list, kAreaWidth, kAreaHeight, 0.8f);
  (void)timeline;
}

}  // namespace kel_fuzz

#include "kelcaptionfiles/ShownStates.h"

#include <algorithm>

#include "kelcaptioning/Formats.h"
#include "kelcaptioning/RenderableModel.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

CaptionTimeline ShownStates(ReadResult& result, int frameWidth, int frameHeight, CaptionMeasurer& measurer) {
  if (const CaptionTimeline* timeline = result.Timeline()) return *timeline;
  CaptionList& list = *result.List();
  const StreamFormat format = list.GetStreamFormat();
  const int areaWidth = DefaultCaptionAreaSize(frameWidth);
  const int areaHeight = DefaultCaptionAreaSize(frameHeight);
  if (!IsOpenCaptions(format)) {
    // Grid captions measure in characters and rows and are placed on the format's grid.
    const CaptioningMetadata metadata = list.GetMetadata();
    for (const CaptionPtr& caption : list.GetCaptions()) {
      caption->UpdateLineWidthAndHeightFromText(format, metadata.GetMaxCharactersInRow(), metadata.GetMaxNumberOfRow());
      caption->UpdatePositionsFromAnchorID(0, 0, format);
    }
  } else {
    for (CaptionPtr caption : list.GetCaptions()) {
      measurer.Measure(caption);
      caption->UpdatePositionsFromAnchorID(areaWidth, areaHeight, format);
      PlaceFreeCues(*caption, areaWidth, areaHeight);
    }
  }
  return TimelineOf(list, areaWidth, areaHeight, kDefaultCaptionAreaRatio);
}

void PlaceFreeCues(Caption& caption, int areaWidth, int areaHeight) {
  if (areaWidth <= 0 || areaHeight <= 0) return;
  const CaptionTextParagraphList paragraphs = caption.GetCaptionTextParagraphs();
  long long blockHeight = 0;
  bool any = false;
  for (const auto& p : paragraphs) {
    if (p && p->GetParagraphStyleAttributes().GetAnchorID() == ParagraphStyleAttributes::kAnchor_Free) {
      blockHeight += p->GetParagraphLineHeight();
      any = true;
    }
  }
  if (!any) return;
  long long y = -1;
  for (const auto& p : paragraphs) {
    if (!p || p->GetParagraphStyleAttributes().GetAnchorID() != ParagraphStyleAttributes::kAnchor_Free) continue;
    const Position at = p->GetCaptionPosition();
    if (y < 0) {
      const double top = boost::rational_cast<double>(at.GetY());
      y = top >= 1.0 ? areaHeight - blockHeight : static_cast<long long>(top * areaHeight);
      y = std::clamp<long long>(y, 0, std::max<long long>(0, areaHeight - blockHeight));
    }
    const long long width = p->GetParagraphLineWidth();
    const double k = p->GetTextAlignment() == ParagraphStyleAttributes::kTextAlignment_Center  ? 0.5
                     : p->GetTextAlignment() == ParagraphStyleAttributes::kTextAlignment_Right ? 1.0
                                                                                               : 0.0;
    long long x =
        static_cast<long long>(boost::rational_cast<double>(at.GetX()) * areaWidth - k * static_cast<double>(width));
    x = std::clamp<long long>(x, 0, std::max<long long>(0, areaWidth - width));
    p->SetCaptionPosition(Position(boost::rational<int>(static_cast<int>(x), areaWidth),
                                   boost::rational<int>(static_cast<int>(y), areaHeight)));
    y += p->GetParagraphLineHeight();
  }
}

}  // namespace kelcaptionfiles

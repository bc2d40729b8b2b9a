#include "kelcaptionfiles/ShownStates.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "captionfiles/CaptionStacking.h"
#include "captionfiles/CaptionWrapping.h"
#include "captionfiles/CueBoxLayout.h"

#include "kelcaptioning/Formats.h"
#include "kelcaptioning/RenderableModel.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

CaptionTimeline ShownStates(ReadResult& result, int frameWidth, int frameHeight, CaptionMeasurer& measurer) {
  if (const CaptionTimeline* timeline = result.Timeline()) return *timeline;
  CaptionList& list = *result.List();
  const StreamFormat format = list.GetStreamFormat();
  const bool wholeFrame = result.browserLayout && IsOpenCaptions(format);
  const int areaWidth = wholeFrame ? frameWidth : DefaultCaptionAreaSize(frameWidth);
  const int areaHeight = wholeFrame ? frameHeight : DefaultCaptionAreaSize(frameHeight);
  if (!IsOpenCaptions(format)) {
    // Grid captions measure in characters and rows and are placed on the format's grid.
    const CaptioningMetadata metadata = list.GetMetadata();
    for (const CaptionPtr& caption : list.GetCaptions()) {
      caption->UpdateLineWidthAndHeightFromText(format, metadata.GetMaxCharactersInRow(), metadata.GetMaxNumberOfRow());
      caption->UpdatePositionsFromAnchorID(0, 0, format);
    }
  } else if (areaWidth > 0 && areaHeight > 0) {
    result.captions =
        LayOutOpenCaptions(list, result.boxes, frameWidth, frameHeight, areaWidth, areaHeight, measurer, result.notes,
                           !result.browserLayout);
    result.boxes.clear();  // they named the captions that were replaced
  }
  return TimelineOf(*result.List(), areaWidth, areaHeight, wholeFrame ? 1.0f : kDefaultCaptionAreaRatio);
}

namespace {

// `caption` without the lines that stand past the bottom of the area, which only a caption
// taller than the area has; their number is added to `dropped`.
CaptionPtr LinesInside(const CaptionPtr& caption, const CaptionArea& area, long& dropped) {
  const CaptionTextParagraphList lines = caption->GetCaptionTextParagraphs();
  const auto outside = [&](const CaptionTextParagraphPtr& line) {
    return line && PixelsOf(line->GetCaptionPosition().GetY(), area.height) + line->GetParagraphLineHeight() > area.height;
  };
  const auto count = std::count_if(lines.begin(), lines.end(), outside);
  if (count == 0 || count == static_cast<std::ptrdiff_t>(lines.size())) return caption;
  dropped += count;
  CaptionPtr kept(new Caption());
  for (const CaptionTextParagraphPtr& line : lines) {
    if (line && !outside(line)) kept->AppendCaptionTextParagraph(line);
  }
  kept->SetBeginTime(caption->GetBeginTime());
  kept->SetEndTime(caption->GetEndTime());
  kept->SetCaptionType(caption->GetCaptionType());
  return kept;
}

// Drawing rounds a row's two side margins each on its own, which can make the row a pixel wider
// than its measured line: over the whole frame, lines against its right edge move left by that
// pixel so that nothing is drawn past it. (The caption area has room around it.)
void ClearRightEdge(Caption& caption, const CaptionArea& area) {
  if (area.width != area.frameWidth) return;
  for (const CaptionTextParagraphPtr& line : caption.GetCaptionTextParagraphs()) {
    if (!line) continue;
    const long long x = PixelsOf(line->GetCaptionPosition().GetX(), area.width);
    const long long over = x + line->GetParagraphLineWidth() + 1 - area.width;
    if (over > 0 && x > 0) {
      SetPixelPosition(*line, std::max(0LL, x - over), PixelsOf(line->GetCaptionPosition().GetY(), area.height),
                       area.width, area.height);
    }
  }
}

}  // namespace

CaptionListPtr LayOutOpenCaptions(const CaptionList& list, const CueBoxes& boxes, int frameWidth, int frameHeight,
                                  int areaWidth, int areaHeight, CaptionMeasurer& measurer, FileNotes& notes,
                                  bool balanceLines) {
  const CaptionArea area{frameWidth, frameHeight, areaWidth, areaHeight};
  CaptionListPtr laid(new CaptionList());
  laid->SetStreamFormat(list.GetStreamFormat());
  laid->SetIsWideScreen(list.GetIsWideScreen());
  laid->SetMetadata(list.GetMetadata());
  MeasuredWidths widths(measurer);
  CaptionStacking stacking(area);
  long crowded = 0, dropped = 0;
  double firstCrowded = 0;
  for (const CaptionPtr& caption : list.GetCaptions()) {
    if (!caption) continue;
    const auto found = boxes.find(caption.get());
    const CueBox* box = found == boxes.end() ? nullptr : &found->second;
    CaptionPtr lines = WrapCaption(caption, WrapWidth(box, area), widths,
                                   balanceLines ? LineFilling::kBalanced : LineFilling::kFirstFit);
    measurer.Measure(lines);
    if (box) {
      PlaceCueBox(*lines, *box, area);
    } else {
      lines->UpdatePositionsFromAnchorID(area.width, area.height, list.GetStreamFormat());
      PlaceFreeCues(*lines, area.width, area.height);
    }
    lines = LinesInside(lines, area, dropped);
    ClearRightEdge(*lines, area);
    if (!stacking.Place(*lines) && crowded++ == 0) firstCrowded = lines->GetBeginTime().GetSeconds();
    laid->InsertCaption(lines);
  }
  if (dropped > 0) notes.Count("lines of captions taller than the frame (not shown)", {}, dropped);
  if (crowded > 0) {
    char first[32];
    std::snprintf(first, sizeof first, "%.3f", firstCrowded);
    notes.Count("captions with no room beside the captions shown with them (drawn over them; the first at " +
                    std::string(first) + " s)",
                {}, crowded);
  }
  return laid;
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

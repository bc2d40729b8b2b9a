#include <optional>

#include "defaults/DefaultCaptionBuilders.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "paint/Rounding.h"

namespace kelcaptioningui {

using namespace kelcaptioning;

namespace {

// Attaches STL metadata to the list, keeping one it already has.
void StampStlMetadata(CaptionList& list, std::optional<StreamFormat> displayStandard, const int* maxRows,
                      const int* maxCharacters) {
  CaptioningMetadata metadata = list.GetMetadata();
  STLMetadataPtr stl = metadata.GetSTLMetadata();
  if (!stl) stl = STLMetadataPtr(new STLMetadata());
  if (displayStandard) stl->SetDisplayStandardCode(*displayStandard);
  metadata.SetSTLMetadata(stl);
  if (maxRows) metadata.SetMaxNumberOfRow(*maxRows);
  if (maxCharacters) metadata.SetMaxCharactersInRow(*maxCharacters);
  list.SetMetadata(metadata);
}

void BuildList(StreamFormat format, int frameWidth, int frameHeight,
               const kelmediatypes::PixelAspectRatio& pixelAspectRatio, bool positionSamples, int maxNumberOfRow,
               int maxCharactersInRow, CaptionListPtr& captionList) {
  captionList = CaptionListPtr(new CaptionList());
  captionList->SetStreamFormat(format);
  if (IsCEA708(format)) captionList->SetIsWideScreen(IsWideScreen(frameWidth, frameHeight, pixelAspectRatio));
  if (IsTeletext(format)) {
    const bool setsStandard = format == kStreamFormat_TeletextLevel10 || format == kStreamFormat_TeletextLevel20;
    StampStlMetadata(*captionList, setsStandard ? std::optional<StreamFormat>(format) : std::nullopt, nullptr, nullptr);
  }
  if (IsOpenEBUSubtitling(format)) {
    StampStlMetadata(*captionList, kStreamFormat_OpenEBU, &maxNumberOfRow, &maxCharactersInRow);
  }
  const int areaWidth = DefaultCaptionAreaSize(frameWidth);
  const int areaHeight = DefaultCaptionAreaSize(frameHeight);
  float fontSize = 0.0f;
  if (IsOpenCaptions(format)) {
    // Every open-caption format sizes its text as line-21 rows would.
    const float rows = static_cast<float>(GetCaptionRows(kStreamFormat_CEA608_CC1));
    fontSize = static_cast<float>(TruncToInt(static_cast<float>(areaHeight) / rows / 1.5f));
  }
  if (positionSamples) {
    BuildPositionSamples(format, captionList, areaWidth, areaHeight, fontSize);
  } else {
    BuildSingleDefaultCaption(format, captionList, areaWidth, areaHeight, fontSize);
  }
}

}  // namespace

void GetDefaultCaptionList(kelui::inkpad::Inkpad* inkpad, StreamFormat format, int frameWidth, int frameHeight,
                           const kelmediatypes::PixelAspectRatio& pixelAspectRatio, bool positionSamples,
                           int maxNumberOfRow, int maxCharactersInRow, CaptionListPtr& captionList) {
  BuildList(format, frameWidth, frameHeight, pixelAspectRatio, positionSamples, maxNumberOfRow, maxCharactersInRow,
            captionList);
  if (!IsOpenCaptions(format)) return;
  const int areaWidth = DefaultCaptionAreaSize(frameWidth);
  const int areaHeight = DefaultCaptionAreaSize(frameHeight);
  for (CaptionPtr caption : captionList->GetCaptions()) {
    RefreshCaptionSizeInfo(caption, inkpad, false, 0, 0);
    caption->UpdatePositionsFromAnchorID(areaWidth, areaHeight, format);
  }
}

}  // namespace kelcaptioningui

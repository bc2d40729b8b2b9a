#include <gtest/gtest.h>

#include "kelcaptioning/RenderableFromCaption.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "support/PixelBuffer.h"

namespace {

using namespace kelcaptioning;

// What a user tries first: a new track of each format, its first caption drawn on a frame
// (Teletext level 2.0 draws the same frame as level 1.0).
TEST(DefaultCaptionRoundTrip, FirstCaptionOfEachFormatDrawn) {
  const std::pair<StreamFormat, const char*> formats[] = {{kStreamFormat_CEA608_CC1, "roundtrip_608"},
                                                          {kStreamFormat_TeletextLevel10, "roundtrip_tl10"},
                                                          {kStreamFormat_OpenEBU, "roundtrip_oebu"}};
  for (const auto& [format, golden] : formats) {
    kel_test::PixelBuffer frame(1920, 1080);
    frame.surface()->FillRect({0.25f, 0.3f, 0.45f, 1}, {0, 0, 1920, 1080});
    kelui::inkpad::Inkpad inkpad(frame.supplier(), frame.surface());
    CaptionListPtr list;
    kelcaptioningui::GetDefaultCaptionList(&inkpad, format, 1920, 1080, {1, 1}, false, 12, 40, list);
    ASSERT_EQ(list->GetCaptions().size(), 1u) << golden;
    const auto model = MakeRenderableModel(format, *list->GetCaptions()[0], 1536, 864);
    kelcaptioningui::DrawCaption(model, &inkpad, {0, 0, 1920, 1080});
    EXPECT_EQ(frame.CompareWithGolden(golden), "") << golden;
  }
}

}  // namespace

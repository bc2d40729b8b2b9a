#include "kelcaptioning/Formats.h"

#include <gtest/gtest.h>

#include "kelmediatypes/TickTime.h"
#include "kelmediatypes/TimeDisplay.h"

namespace {

using namespace kelcaptioning;
using kelmediatypes::PixelAspectRatio;

TEST(Formats, FamiliesAndGridSizes) {
  EXPECT_TRUE(IsCEA608(kStreamFormat_CEA608_CC3));
  EXPECT_FALSE(IsOpenCaptions(kStreamFormat_CEA608_CC1));
  EXPECT_TRUE(IsOpenCaptions(kStreamFormat_OpenEBU));
  EXPECT_TRUE(IsOpenEBUSubtitling(kStreamFormat_OpenEBU));
  EXPECT_TRUE(IsTeletext(kStreamFormat_TeletextLevel20));
  EXPECT_FALSE(IsKnownStreamFormat(static_cast<StreamFormat>(0x12345678)));

  EXPECT_EQ(GetCaptionRows(kStreamFormat_CEA608_CC1), 15);
  EXPECT_EQ(GetCaptionColumns(kStreamFormat_CEA608_CC1, true), 32);
  EXPECT_EQ(GetCaptionColumns(kStreamFormat_CEA708, true), 42);
  EXPECT_EQ(GetCaptionColumns(kStreamFormat_CEA708, false), 32);
  EXPECT_EQ(GetCaptionRows(kStreamFormat_Unknown), 0);
  EXPECT_EQ(GetCaptionColumns(kStreamFormat_Unknown), 0);
}

TEST(Formats, WideScreenDecidesByDisplayAspect) {
  EXPECT_TRUE(IsWideScreen(1920, 1080, {}));
  EXPECT_FALSE(IsWideScreen(640, 480, {}));
  EXPECT_FALSE(IsWideScreen(720, 480, {10, 11}));  // NTSC DV 4:3
  EXPECT_TRUE(IsWideScreen(720, 480, {40, 33}));   // NTSC DV 16:9
  EXPECT_FALSE(IsWideScreen(0, 1080, {}));
  EXPECT_FALSE(IsWideScreen(1920, 1080, {0, 1}));
  EXPECT_FALSE(IsWideScreen(1920, -1, {}));
}

TEST(MediaTypes, TickTimeSaturatesAndTimeDisplaysDescribeThemselves) {
  using kelmediatypes::TickTime;
  EXPECT_EQ(kelmediatypes::kTime_Max + TickTime(1), kelmediatypes::kTime_Max);
  EXPECT_EQ(kelmediatypes::kTime_Min - TickTime(1), kelmediatypes::kTime_Min);
  EXPECT_EQ(TickTime(TickTime::kTicksPerSecond / 2).GetSeconds(), 0.5);

  EXPECT_EQ(kelcore::string::UTF16ToUTF8(TimeDisplayDescription(kelmediatypes::kTimeDisplay_2997DropTimecode)),
            "29.97 fps Drop-Frame Timecode");
  EXPECT_EQ(kelcore::string::UTF16ToUTF8(TimeDisplayDescription(static_cast<kelmediatypes::TimeDisplay>(3))),
            "Unknown Time Display");
  int num = 0;
  int den = 0;
  EXPECT_TRUE(TimeDisplayFrameRate(kelmediatypes::kTimeDisplay_23976Timecode, num, den));
  EXPECT_EQ(num, 24000);
  EXPECT_EQ(den, 1001);
  EXPECT_FALSE(TimeDisplayFrameRate(kelmediatypes::kTimeDisplay_Milliseconds, num, den));
  // Every frame rate is a whole number of ticks per frame.
  for (int d = 100; d <= 109; ++d) {
    ASSERT_TRUE(TimeDisplayFrameRate(static_cast<kelmediatypes::TimeDisplay>(d), num, den));
    EXPECT_EQ(TickTime::kTicksPerSecond * den % num, 0) << d;
  }
}

}  // namespace

#include "kelcaptioning/Formats.h"

#include <gtest/gtest.h>

#include "kelmediatypes/TickTime.h"
#include "kelmediatypes/TimeDisplay.h"

namespace {

using namespace kelcaptioning;
using kelmediatypes::PixelAspectRatio;

TEST(Formats, WideScreenDecidesByDisplayAspect) {
  EXPECT_FALSE(IsWideScreen(720, 480, {10, 11}));  // NTSC DV 4:3
  EXPECT_TRUE(IsWideScreen(720, 480, {40, 33}));   // NTSC DV 16:9
  EXPECT_FALSE(IsWideScreen(1920, 1080, {0, 1}));
}

TEST(MediaTypes, TickTimeSaturatesAndFrameRatesAreWholeTicksPerFrame) {
  using kelmediatypes::TickTime;
  EXPECT_EQ(kelmediatypes::kTime_Max + TickTime(1), kelmediatypes::kTime_Max);
  EXPECT_EQ(kelmediatypes::kTime_Min - TickTime(1), kelmediatypes::kTime_Min);
  int num = 0, den = 0;
  EXPECT_TRUE(TimeDisplayFrameRate(kelmediatypes::kTimeDisplay_23976Timecode, num, den));
  EXPECT_EQ(std::pair(num, den), std::pair(24000, 1001));
  EXPECT_FALSE(TimeDisplayFrameRate(kelmediatypes::kTimeDisplay_Milliseconds, num, den));
  // Every frame rate is a whole number of ticks per frame.
  for (int d = 100; d <= 109; ++d) {
    ASSERT_TRUE(TimeDisplayFrameRate(static_cast<kelmediatypes::TimeDisplay>(d), num, den));
    EXPECT_EQ(TickTime::kTicksPerSecond * den % num, 0) << d;
  }
}

}  // namespace

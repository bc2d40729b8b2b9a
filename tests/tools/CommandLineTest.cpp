#include <gtest/gtest.h>

#include "kelcaption/CommandLine.h"

// The values the tool's options take.

namespace {

using kelcaption::ParseFrameRate;
using kelcaption::UsageError;
using Rate = std::pair<long long, long long>;

TEST(FrameRate, NamesFractionsAndRoundedNtscRates) {
  EXPECT_EQ(ParseFrameRate("25", "--fps"), Rate(25, 1));
  EXPECT_EQ(ParseFrameRate("30000/1001", "--fps"), Rate(30000, 1001));
  EXPECT_EQ(ParseFrameRate("29.97", "--fps"), Rate(30000, 1001));
  EXPECT_EQ(ParseFrameRate("23.976", "--fps"), Rate(24000, 1001));
  EXPECT_EQ(ParseFrameRate("23.98", "--fps"), Rate(24000, 1001));
  EXPECT_EQ(ParseFrameRate("59.94", "--fps"), Rate(60000, 1001));
  EXPECT_EQ(ParseFrameRate("ntsc", "--fps"), Rate(30000, 1001));
  EXPECT_EQ(ParseFrameRate("ntsc-film", "--fps"), Rate(24000, 1001));
  EXPECT_EQ(ParseFrameRate("pal", "--fps"), Rate(25, 1));
  EXPECT_EQ(ParseFrameRate("film", "--fps"), Rate(24, 1));
  // Decimals that are not NTSC rates are taken as written.
  EXPECT_EQ(ParseFrameRate("12.5", "--fps"), Rate(25, 2));
  EXPECT_EQ(ParseFrameRate("30.0", "--fps"), Rate(30, 1));
  EXPECT_EQ(ParseFrameRate("29.5", "--fps"), Rate(59, 2));
}

TEST(FrameRate, RefusesWhatIsNoRate) {
  for (const char* text : {"", "fast", "29.97.1", "-25", "0", "0.0", ".5", "25.", "1/0", "29,97", "1e3"}) {
    EXPECT_THROW(ParseFrameRate(text, "--fps"), UsageError) << text;
  }
}

}  // namespace

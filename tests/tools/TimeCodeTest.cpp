#include <gtest/gtest.h>

#include "kelcaption/CommandLine.h"
#include "kelcaption/TimeCode.h"

// SMPTE time codes and the times and frames that the tool's options take.

namespace {

using kelcaption::FrameRate;
using kelcaption::TimeCode;
using kelmediatypes::TickTime;

constexpr FrameRate kNtsc{30000, 1001};
constexpr FrameRate kPal{25, 1};

long long Frame(const std::string& text, const FrameRate& rate) { return TimeCode::Parse(text).value().FrameNumber(rate); }

TEST(TimeCode, ReadsNonDropAndDropFrame) {
  const auto code = TimeCode::Parse("01:02:03;04");
  ASSERT_TRUE(code);
  EXPECT_EQ(code->hours, 1);
  EXPECT_EQ(code->minutes, 2);
  EXPECT_EQ(code->seconds, 3);
  EXPECT_EQ(code->frames, 4);
  EXPECT_TRUE(code->dropFrame);
  EXPECT_FALSE(TimeCode::Parse("01:00:00:00")->dropFrame);
  // Seconds with a fraction are no time code, nor is anything but four fields of two digits.
  for (const char* text : {"00:01:02.50", "01:00:00", "01:00:00:0", "01:00:00:00x", "a1:00:00:00", "01-00-00-00", ""}) {
    EXPECT_FALSE(TimeCode::Parse(text)) << text;
  }
}

TEST(TimeCode, CountsFramesAsSmpteDoes) {
  EXPECT_EQ(Frame("01:00:00:00", kNtsc), 108000);
  EXPECT_EQ(Frame("01:00:00;00", kNtsc), 107892);  // 18 frame numbers a ten minutes skipped
  EXPECT_EQ(Frame("00:00:59;29", kNtsc), 1799);
  EXPECT_EQ(Frame("00:01:00;02", kNtsc), 1800);
  EXPECT_EQ(Frame("00:10:00;00", kNtsc), 17982);
  EXPECT_EQ(Frame("00:01:00;04", {60000, 1001}), 3600);
  EXPECT_EQ(Frame("10:00:00:00", kPal), 900000);
  EXPECT_EQ(TimeCode::Parse("01:00:00:00")->Time(kPal), TickTime(3600 * TickTime::kTicksPerSecond));
  EXPECT_EQ(TimeCode::Parse("01:00:00:00")->Time(kNtsc).GetTicks(), 3603600 * (TickTime::kTicksPerSecond / 1000));
}

TEST(TimeCode, RefusesFieldsOutOfRangeForTheRate) {
  EXPECT_THROW(Frame("00:01:00;00", kNtsc), std::invalid_argument);  // a skipped frame number
  EXPECT_THROW(Frame("00:00:00:30", kNtsc), std::invalid_argument);
  EXPECT_THROW(Frame("00:00:00:25", kPal), std::invalid_argument);
  EXPECT_THROW(Frame("00:60:00:00", kPal), std::invalid_argument);
  EXPECT_THROW(Frame("00:00:00;00", kPal), std::invalid_argument);      // drop-frame is for NTSC rates
  EXPECT_THROW(Frame("00:00:00;00", {30, 1}), std::invalid_argument);
}

TEST(TimeCode, NamesFramesAsSmpteDoes) {
  EXPECT_EQ(TimeCode::OfFrame(0, kPal).Text(), "00:00:00:00");
  EXPECT_EQ(TimeCode::OfFrame(90000 + 24, kPal).Text(), "01:00:00:24");
  // Drop-frame skips 00 and 01 at each minute but every tenth; only where the rate has it.
  EXPECT_EQ(TimeCode::OfFrame(1799, kNtsc).Text(), "00:00:59;29");
  EXPECT_EQ(TimeCode::OfFrame(1800, kNtsc).Text(), "00:01:00;02");
  EXPECT_EQ(TimeCode::OfFrame(1800, kNtsc, false).Text(), "00:01:00:00");
  EXPECT_EQ(TimeCode::OfFrame(17982, kNtsc).Text(), "00:10:00;00");
  EXPECT_EQ(TimeCode::OfFrame(4, FrameRate{60000, 1001}).Text(), "00:00:00;04");
  EXPECT_EQ(TimeCode::OfFrame(3600, FrameRate{60000, 1001}).Text(), "00:01:00;04");
  EXPECT_EQ(TimeCode::OfFrame(1800, FrameRate{24000, 1001}).Text(), "00:01:15:00");
  EXPECT_EQ(TimeCode::OfFrame(55, kPal, true).Text(), "00:00:02:05");
  EXPECT_EQ(kelcaption::FormatTimeCode(kelcaption::TimeOfFrame(17982, kNtsc), kNtsc, true), "00:10:00;00");
  EXPECT_EQ(kelcaption::FormatTimeCode(TickTime(-TickTime::kTicksPerSecond), kPal, false), "-00:00:01:00");
  // Every frame across ten-minute boundaries and a few hours in names itself back.
  for (const FrameRate& rate : {kNtsc, kPal, FrameRate{60000, 1001}}) {
    for (long long first : {0LL, 17900LL, 35900LL, 2000000LL}) {
      for (long long frame = first; frame < first + 4000; ++frame) {
        const TimeCode code = TimeCode::OfFrame(frame, rate);
        ASSERT_EQ(code.FrameNumber(rate), frame) << code.Text();
        ASSERT_EQ(TimeCode::Parse(code.Text())->FrameNumber(rate), frame) << code.Text();
      }
    }
  }
}

TEST(TimeCode, FramesAndTimesRoundTrip) {
  for (const long long frame : {0LL, 1LL, 29LL, 1799LL, 107892LL, 2000000LL}) {
    EXPECT_EQ(kelcaption::FrameAt(kelcaption::TimeOfFrame(frame, kNtsc), kNtsc), frame);
    EXPECT_EQ(kelcaption::FrameAt(TickTime(kelcaption::TimeOfFrame(frame + 1, kNtsc).GetTicks() - 1), kNtsc), frame);
  }
  EXPECT_EQ(kelcaption::FrameAt(TickTime(-1), kPal), -1);
  EXPECT_EQ(kelcaption::FormatTime(TimeCode::Parse("01:00:00:00")->Time(kNtsc)), "01:00:03.600");
  EXPECT_EQ(kelcaption::FormatTime(TickTime(-TickTime::kTicksPerSecond / 2)), "-00:00:00.500");
}

TEST(TimeCode, CommandLineTimesTakeTimeCodesAndFrames) {
  using kelcaption::MomentOf;
  using kelcaption::ParseTimeOrTimeCode;
  using kelcaption::UsageError;
  EXPECT_EQ(ParseTimeOrTimeCode("00:00:02.500", "--at", std::nullopt), TickTime(TickTime::kTicksPerSecond * 5 / 2));
  EXPECT_EQ(ParseTimeOrTimeCode("00:00:02:12", "--at", kPal), TickTime(TickTime::kTicksPerSecond * 248 / 100));
  EXPECT_THROW(ParseTimeOrTimeCode("00:00:02:12", "--at", std::nullopt), UsageError);
  EXPECT_THROW(ParseTimeOrTimeCode("00:00:02:40", "--at", kPal), UsageError);
  EXPECT_EQ(ParseTimeOrTimeCode("-1.5", "--offset", std::nullopt, true), TickTime(-TickTime::kTicksPerSecond * 3 / 2));
  EXPECT_EQ(ParseTimeOrTimeCode("+1.5", "--offset", std::nullopt, true), TickTime(TickTime::kTicksPerSecond * 3 / 2));
  EXPECT_EQ(ParseTimeOrTimeCode("-01:00:00:00", "--offset", kNtsc, true).GetTicks(),
            -3603600 * (TickTime::kTicksPerSecond / 1000));
  EXPECT_THROW(ParseTimeOrTimeCode("-1.5", "--at", std::nullopt), UsageError);

  kelcaption::MomentOptions moment;
  moment.fps = "29.97";
  moment.at = "00:00:01;00";
  EXPECT_EQ(MomentOf(moment), kelcaption::TimeOfFrame(30, kNtsc));
  moment.frame = 45;
  EXPECT_EQ(MomentOf(moment), kelcaption::TimeOfFrame(45, kNtsc));
  moment.fps.clear();
  EXPECT_THROW(MomentOf(moment), UsageError);
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "captionfiles/SccReader.h"
#include "kelcaption/RollUpScroll.h"
#include "support/GoldenImage.h"
#include "support/SccWords.h"
#include "tools/ToolShell.h"

// Roll-up captions that scroll a row over a third of a second (`--smooth-roll-up`): where a
// scroll stands at a given time, and what the burned frames show while it runs.

namespace {

using kel_test::Shell;
using kel_test::Words;
using kelmediatypes::TickTime;

TickTime Frame(std::int64_t frame) { return TickTime(frame * (TickTime::kTicksPerSecond / 30000 * 1001)); }

// RU2 at frame 0; "One" from frame 4, rolled up at 6 ("Two" typed at 8 and 9); rolled at 20 with
// "Four" after it; rolled at 40 and again at 44, before that scroll ends; rolled at 60 and erased
// at 62. A pair a frame at 30000/1001, so 10 frames take just over the third of a second.
const std::string kScc = "Scenarist_SCC V1.0\n\n00:00:00:00\t9425 9425 94ad 94ad" + Words("One") + " 94ad 94ad" +
                         Words("Two") + "\n\n00:00:00:20\t94ad 94ad" + Words("Four") + "\n\n00:00:01:10\t94ad 94ad" +
                         Words("Five") + " 94ad 94ad" + Words("Six") + "\n\n00:00:02:00\t94ad 94ad 942c 942c\n";

TEST(SmoothRollUp, ScrollRunsFromTheRollThroughTheTypingAndIsCutByAnyOtherChange) {
  const kelcaptionfiles::ReadResult scc = kelcaptionfiles::ReadScc(kScc, "r.scc");
  const kelcaptionfiles::CaptionTimeline& timeline = *scc.Timeline();
  const auto scrollAt = [&](int frame) { return kelcaption::RollUpScrollAt(timeline, Frame(frame)); };
  const auto modelAt = [&](int frame) { return timeline.At(Frame(frame))->model; };
  const double frameProgress = 1001.0 / 10000.0;

  EXPECT_FALSE(scrollAt(5));            // "One" typed, nothing rolled yet
  for (const int frame : {6, 9, 15}) {  // the roll, the typing of "Two", the last frame of the scroll
    const auto scroll = scrollAt(frame);
    ASSERT_TRUE(scroll) << "frame " << frame;
    EXPECT_NEAR(scroll->progress, (frame - 6) * frameProgress, 1e-9) << "frame " << frame;
    EXPECT_EQ(scroll->before, modelAt(5));
    EXPECT_EQ(scroll->firstRow, 13);
    EXPECT_EQ(scroll->rowCount, 2);
  }
  EXPECT_FALSE(scrollAt(16));  // a third of a second has passed
  EXPECT_EQ(scrollAt(25)->before, modelAt(19));
  // A roll within the scroll starts its own, from what showed before it.
  EXPECT_NEAR(scrollAt(43)->progress, 3 * frameProgress, 1e-9);
  EXPECT_NEAR(scrollAt(46)->progress, 2 * frameProgress, 1e-9);
  EXPECT_EQ(scrollAt(46)->before, modelAt(43));
  // Erasing ends it: nothing shows.
  EXPECT_TRUE(scrollAt(61));
  EXPECT_FALSE(scrollAt(62));
}

// Frames burned from raw frames on standard input, which keep every pixel exact.
class SmoothRollUpBurn : public ::testing::Test {
 protected:
  static constexpr int kWidth = 640, kHeight = 360, kFrames = 31;
  static constexpr std::size_t kFrameBytes = std::size_t{kWidth} * kHeight * 4;

  static void SetUpTestSuite() {
    dir_ = kel_test::ScratchFolder("kelcaption-smooth-roll-up");
    std::filesystem::create_directories(dir_);
    std::ofstream(Scc()) << kScc;
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }
  static std::string Scc() { return (dir_ / "roll.scc").string(); }
  static std::string Tool() { return "'" + std::string(KEL_TOOL) + "'"; }

  // The frames of a burn of empty frames, one string each.
  static std::vector<std::string> Burn(const std::string& options) {
    const std::string out = Shell("head -c " + std::to_string(kFrameBytes * kFrames) + " /dev/zero | " + Tool() +
                                  " burn '" + Scc() + "' --size 640x360 --fps 30000/1001 -q " + options);
    std::vector<std::string> frames;
    for (std::size_t at = 0; at + kFrameBytes <= out.size(); at += kFrameBytes)
      frames.push_back(out.substr(at, kFrameBytes));
    return frames;
  }

  // The rows [first, last) that hold any ink; first == last when none.
  struct Rows {
    int first = 0, last = 0;
  };
  static Rows InkRows(const std::string& frame) {
    Rows rows{kHeight, 0};
    for (int y = 0; y < kHeight; ++y) {
      const auto row = frame.begin() + static_cast<std::ptrdiff_t>(y) * kWidth * 4;
      if (std::any_of(row, row + kWidth * 4, [](char byte) { return byte != 0; })) {
        rows.first = std::min(rows.first, y);
        rows.last = y + 1;
      }
    }
    return rows.last == 0 ? Rows{} : rows;
  }

  static std::filesystem::path dir_;
};
std::filesystem::path SmoothRollUpBurn::dir_;

TEST_F(SmoothRollUpBurn, RowsGlideUpInsideTheirWindowAndLandOnThePlainState) {
  const std::vector<std::string> plain = Burn(""), smooth = Burn("--smooth-roll-up");
  ASSERT_EQ(plain.size(), static_cast<std::size_t>(kFrames));
  ASSERT_EQ(smooth.size(), plain.size());
  // "One" alone in the bottom row, then with "Two" below it: the two rows of the window.
  const Rows before = InkRows(plain[5]), window = InkRows(plain[19]);
  ASSERT_GT(before.first, window.first);
  ASSERT_EQ(before.last, window.last);
  const int pitch = before.first - window.first;
  EXPECT_NEAR(pitch, 0.8 * kHeight / 15, 1.0);

  for (int f = 0; f < kFrames; ++f) {
    const bool scrolling = (f >= 6 && f < 16) || (f >= 20 && f < 30);
    EXPECT_EQ(smooth[f] == plain[f], !scrolling) << "frame " << f;
    const Rows ink = InkRows(smooth[f]);
    if (ink.first < ink.last) {  // never outside the window's rows
      EXPECT_GE(ink.first, window.first) << "frame " << f;
      EXPECT_LE(ink.last, window.last) << "frame " << f;
    }
  }
  // Halfway through the first scroll "One" stands halfway between its rows.
  EXPECT_NEAR(InkRows(smooth[11]).first, window.first + pitch / 2.0, 1.0);
  // Halfway through the second, the rest of "One" leaves at the window's top, clipped there.
  const std::string& leaving = smooth[25];
  EXPECT_EQ(InkRows(leaving).first, window.first);
  EXPECT_NE(leaving.substr(static_cast<std::size_t>(window.first) * kWidth * 4, kWidth * 4),
            plain[25].substr(static_cast<std::size_t>(window.first) * kWidth * 4, kWidth * 4));
  EXPECT_EQ(kel_test::CompareWithGolden(reinterpret_cast<const std::uint8_t*>(leaving.data()), kWidth, kHeight,
                                        kWidth * 4, "smooth_roll_up_mid", 4, 0.001),
            "");

  // Frames stored bottom row first scroll the same way up the picture.
  const std::vector<std::string> flipped = Burn("--smooth-roll-up --flip");
  ASSERT_EQ(flipped.size(), smooth.size());
  for (const int f : {11, 25}) {
    std::string mirrored;
    for (int y = kHeight - 1; y >= 0; --y)
      mirrored += flipped[f].substr(static_cast<std::size_t>(y) * kWidth * 4, kWidth * 4);
    EXPECT_TRUE(mirrored == smooth[f]) << "frame " << f;
  }
}

// Burning into a video file takes each frame's scroll too: its BGRA frames are those of the raw burn
// (in NUT, whose time base keeps the frame times exact).
TEST_F(SmoothRollUpBurn, VideoFramesScrollAsRawFramesDo) {
  if (!kel_test::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  const std::string clip = (dir_ / "clip.nut").string(), out = (dir_ / "out.nut").string();
  ASSERT_NE(Shell("ffmpeg -loglevel error -y -f lavfi -i color=c=0x336699:s=640x360:r=30000/1001 -frames:v " +
                  std::to_string(kFrames) + " -c:v ffv1 -pix_fmt bgra '" + clip + "'"),
            "FAILED");
  ASSERT_NE(Shell(Tool() + " burn '" + Scc() + "' '" + clip + "' -o '" + out + "' -q --smooth-roll-up"), "FAILED");
  const std::string decode = " -f rawvideo -pix_fmt bgra -";
  const std::string raw = Shell("ffmpeg -loglevel error -i '" + clip + "'" + decode + " | " + Tool() + " burn '" +
                                Scc() + "' --size 640x360 --fps 30000/1001 -q --smooth-roll-up");
  const std::string burned = Shell("ffmpeg -loglevel error -i '" + out + "'" + decode);
  ASSERT_EQ(raw.size(), kFrameBytes * kFrames);
  ASSERT_EQ(burned.size(), raw.size());
  for (const int f : {5, 11, 25, 30}) {
    EXPECT_TRUE(burned.compare(f * kFrameBytes, kFrameBytes, raw, f * kFrameBytes, kFrameBytes) == 0) << "frame " << f;
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/ToolShell.h"

// Captions burned through ffmpeg into short clips, decoded back and compared with the plain
// background.

namespace {

using kel_test::Differs;
using kel_test::ScratchFolder;
using kel_test::Shell;

// Burns `captions` into a plain clip of `seconds` in `dir`; returns the clip's path.
std::string Burn(const std::filesystem::path& dir, const std::string& captions, const std::string& size,
                 const std::string& fps, int seconds) {
  std::filesystem::create_directories(dir);
  const std::string clip = (dir / "burned.mkv").string(), raw = " -f rawvideo -pix_fmt bgra ";
  const std::string out = Shell("ffmpeg -loglevel error -y -f lavfi -i color=c=0x336699:s=" + size + ":r=" + fps + ":d=" +
                                std::to_string(seconds) + raw + "- | '" + KEL_TOOL + "' burn '" + captions + "' --size " +
                                size + " --fps " + fps + " | ffmpeg -loglevel error -y" + raw + "-s " + size + " -r " + fps +
                                " -i - -c:v ffv1 '" + clip + "'");
  return out == "FAILED" ? out : clip;
}

// A frame differs from the plain background only inside the rectangles `kelcaption rects` reports.
TEST(BurnEndToEnd, CaptionPixelsLieWhereRectsSays) {
  if (Shell("command -v ffmpeg").empty()) GTEST_SKIP() << "ffmpeg is not installed";
  const std::string srt = std::string(KEL_DATA) + "/short.srt";
  const std::filesystem::path dir = ScratchFolder("kelcaption-e2e");
  const std::string clip = Burn(dir, srt, "1280x720", "25", 2);
  ASSERT_NE(clip, "FAILED");
  const std::string frame = Shell("ffmpeg -loglevel error -ss 1.5 -i '" + clip + "' -frames:v 1 -f rawvideo -pix_fmt bgra -");
  ASSERT_EQ(frame.size(), 1280u * 720u * 4u);
  const std::vector<kel_test::Box> boxes = kel_test::CaptionBoxes(srt, "1280x720", "1.5");
  ASSERT_EQ(boxes.size(), 2u);
  // top left is background
  const auto [inside, outside] = kel_test::CountDiffering(frame, 1280, reinterpret_cast<const unsigned char*>(frame.data()), boxes);
  EXPECT_GT(inside, 2000);
  EXPECT_EQ(outside, 0);
  std::filesystem::remove_all(dir);
}

// At 30000/1001 frames a second, SCC captions appear and go at the frames their byte pairs arrive in.
TEST(BurnEndToEnd, SccCaptionsComeAndGoAtTheirFrames) {
  if (Shell("command -v ffmpeg").empty()) GTEST_SKIP() << "ffmpeg is not installed";
  const std::filesystem::path dir = ScratchFolder("kelcaption-e2e-scc");
  const std::string clip = Burn(dir, std::string(KEL_DATA) + "/short.scc", "640x360", "30000/1001", 3);
  ASSERT_NE(clip, "FAILED");
  // 00:00:00:10 + 12 pairs: end of caption at frame 22; erased at 00:00:01:15 (frame 45); roll-up
  // text from 00:00:02:00 + 4 pairs (frame 64) until 00:00:02:20 (frame 80).
  const std::vector<std::pair<int, bool>> expected = {{21, false}, {22, true}, {44, true}, {45, false},
                                                      {63, false}, {64, true}, {79, true}, {80, false}};
  std::string select;
  for (const auto& [index, shown] : expected) {
    if (!select.empty()) select += '+';
    select.append("eq(n\\,").append(std::to_string(index)).append(")");
  }
  const std::string frames = Shell("ffmpeg -loglevel error -i '" + clip + "' -vf \"select=" + select +
                                   "\" -vsync 0 -f rawvideo -pix_fmt bgra -");
  const std::size_t frameBytes = 640u * 360u * 4u;
  ASSERT_EQ(frames.size(), expected.size() * frameBytes);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(frames.data()) + i * frameBytes;
    long differing = 0;
    for (std::size_t px = 0; px < 640u * 360u; ++px) differing += Differs(p + px * 4, p);
    EXPECT_EQ(differing > 500, expected[i].second) << "frame " << expected[i].first << ": " << differing << " caption pixels";
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// An SRT burned through ffmpeg into a short clip: a frame decoded back differs from the plain
// background only inside the rectangles that `kelcaption rects` reports.

namespace {

std::string Shell(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[65536];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    if (pclose(pipe) != 0) output = "FAILED";
  }
  return output;
}

struct Box {
  int x, y, w, h;
};

std::vector<Box> ParseRects(const std::string& json) {
  std::vector<Box> boxes;
  std::size_t at = 0;
  while ((at = json.find("{\"x\":", at)) != std::string::npos) {
    double x = 0, y = 0, w = 0, h = 0;
    if (std::sscanf(json.c_str() + at, "{\"x\": %lf, \"y\": %lf, \"width\": %lf, \"height\": %lf}", &x, &y, &w, &h) == 4) {
      boxes.push_back({static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h)});
    }
    ++at;
  }
  return boxes;
}

TEST(BurnEndToEnd, CaptionPixelsLieWhereRectsSays) {
  if (Shell("command -v ffmpeg").empty()) GTEST_SKIP() << "ffmpeg is not installed";
  const std::string tool = KEL_TOOL, srt = std::string(KEL_DATA) + "/short.srt";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kelcaption-e2e";
  std::filesystem::create_directories(dir);
  const std::string clip = (dir / "burned.mkv").string();
  ASSERT_NE(Shell("ffmpeg -loglevel error -y -f lavfi -i color=c=0x336699:s=1280x720:r=25:d=2 -f rawvideo -pix_fmt bgra - | '" +
                tool + "' burn '" + srt + "' --size 1280x720 --fps 25 | ffmpeg -loglevel error -y -f rawvideo -pix_fmt bgra "
                "-s 1280x720 -r 25 -i - -c:v ffv1 '" + clip + "'"),
            "FAILED");
  const std::string frame = Shell("ffmpeg -loglevel error -ss 1.5 -i '" + clip + "' -frames:v 1 -f rawvideo -pix_fmt bgra -");
  ASSERT_EQ(frame.size(), 1280u * 720u * 4u);
  const std::vector<Box> boxes = ParseRects(Shell("'" + tool + "' rects '" + srt + "' --size 1280x720 --at 1.5"));
  ASSERT_EQ(boxes.size(), 2u);

  // The outline reaches a few pixels past the text rows.
  const int margin = 4;
  long inside = 0, outside = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(frame.data());
  const unsigned char* background = p;  // the top-left corner is plain background
  for (int y = 0; y < 720; ++y) {
    for (int x = 0; x < 1280; ++x) {
      const unsigned char* px = p + (static_cast<std::size_t>(y) * 1280 + x) * 4;
      const bool differs = std::abs(px[0] - background[0]) > 8 || std::abs(px[1] - background[1]) > 8 ||
                           std::abs(px[2] - background[2]) > 8;
      if (!differs) continue;
      bool covered = false;
      for (const Box& b : boxes) {
        covered = covered || (x >= b.x - margin && x < b.x + b.w + margin && y >= b.y - margin && y < b.y + b.h + margin);
      }
      (covered ? inside : outside)++;
    }
  }
  EXPECT_GT(inside, 2000);
  EXPECT_EQ(outside, 0);
  std::filesystem::remove_all(dir);
}

// An SCC file burned at 30000/1001 frames a second: its captions appear and go at the frames
// their byte pairs arrive in.
TEST(BurnEndToEnd, SccCaptionsComeAndGoAtTheirFrames) {
  if (Shell("command -v ffmpeg").empty()) GTEST_SKIP() << "ffmpeg is not installed";
  const std::string tool = KEL_TOOL, scc = std::string(KEL_DATA) + "/short.scc";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kelcaption-e2e-scc";
  std::filesystem::create_directories(dir);
  const std::string clip = (dir / "burned.mkv").string();
  ASSERT_NE(Shell("ffmpeg -loglevel error -y -f lavfi -i color=c=0x336699:s=640x360:r=30000/1001:d=3 -f rawvideo "
                  "-pix_fmt bgra - | '" + tool + "' burn '" + scc + "' --size 640x360 --fps 30000/1001 | ffmpeg -loglevel "
                  "error -y -f rawvideo -pix_fmt bgra -s 640x360 -r 30000/1001 -i - -c:v ffv1 '" + clip + "'"),
            "FAILED");
  // 00:00:00:10 + 12 pairs: end of caption at frame 22; erased at 00:00:01:15 (frame 45); roll-up
  // text from 00:00:02:00 + 4 pairs (frame 64) until 00:00:02:20 (frame 80).
  const std::vector<std::pair<int, bool>> expected = {{21, false}, {22, true}, {44, true}, {45, false},
                                                      {63, false}, {64, true}, {79, true}, {80, false}};
  std::string select;
  for (const auto& [index, shown] : expected) select += (select.empty() ? "" : "+") + ("eq(n\\," + std::to_string(index) + ")");
  const std::string frames = Shell("ffmpeg -loglevel error -i '" + clip + "' -vf \"select=" + select +
                                   "\" -vsync 0 -f rawvideo -pix_fmt bgra -");
  const std::size_t frameBytes = 640u * 360u * 4u;
  ASSERT_EQ(frames.size(), expected.size() * frameBytes);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(frames.data()) + i * frameBytes;
    long differing = 0;
    for (std::size_t px = 0; px < 640u * 360u; ++px) {
      differing += std::abs(p[px * 4] - p[0]) > 8 || std::abs(p[px * 4 + 1] - p[1]) > 8 || std::abs(p[px * 4 + 2] - p[2]) > 8;
    }
    EXPECT_EQ(differing > 500, expected[i].second) << "frame " << expected[i].first << ": " << differing << " caption pixels";
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

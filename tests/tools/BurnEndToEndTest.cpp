#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// Captions burned through ffmpeg into short clips, decoded back and compared with the plain
// background.

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

// A folder of this process's own: test runs of other checkouts may burn clips at the same time.
std::filesystem::path ScratchFolder(const std::string& name) {
  return std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()));
}

bool Differs(const unsigned char* px, const unsigned char* background) {
  return std::abs(px[0] - background[0]) > 8 || std::abs(px[1] - background[1]) > 8 || std::abs(px[2] - background[2]) > 8;
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
  std::vector<std::vector<int>> boxes;
  const std::string rects = Shell(std::string("'") + KEL_TOOL + "' rects '" + srt + "' --size 1280x720 --at 1.5");
  for (std::size_t at = 0; (at = rects.find("{\"x\":", at)) != std::string::npos; ++at) {
    double x = 0, y = 0, w = 0, h = 0;
    if (std::sscanf(rects.c_str() + at, "{\"x\": %lf, \"y\": %lf, \"width\": %lf, \"height\": %lf}", &x, &y, &w, &h) == 4) {
      boxes.push_back({static_cast<int>(x), static_cast<int>(y), static_cast<int>(x) + static_cast<int>(w),
                       static_cast<int>(y) + static_cast<int>(h)});
    }
  }
  ASSERT_EQ(boxes.size(), 2u);
  long inside = 0, outside = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(frame.data());  // top left is background
  for (int i = 0; i < 1280 * 720; ++i) {
    if (!Differs(p + static_cast<std::size_t>(i) * 4, p)) continue;
    const int x = i % 1280, y = i / 1280, m = 4;  // the outline reaches a few pixels past the text rows
    bool covered = false;
    for (const auto& b : boxes) covered = covered || (x >= b[0] - m && x < b[2] + m && y >= b[1] - m && y < b[3] + m);
    (covered ? inside : outside)++;
  }
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

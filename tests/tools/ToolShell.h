#pragma once

// What the tests that run the tool and ffmpeg share: a shell command's output, a folder of the
// process's own, and whether a pixel differs from a background.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace kel_test {

// Standard output of `command`, or "FAILED" when it exits with a non-zero status.
inline std::string Shell(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[65536];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    if (pclose(pipe) != 0) output = "FAILED";
  }
  return output;
}

inline bool HaveFfmpeg() { return !Shell("command -v ffmpeg").empty(); }

// A folder of this process's own: test runs of other checkouts may burn clips at the same time.
inline std::filesystem::path ScratchFolder(const std::string& name) {
  return std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()));
}

// Whether a BGRA pixel differs from a background one by more than coding noise.
inline bool Differs(const unsigned char* px, const unsigned char* background) {
  return std::abs(px[0] - background[0]) > 8 || std::abs(px[1] - background[1]) > 8 || std::abs(px[2] - background[2]) > 8;
}

// What `kelcaption rects` reports for `captions` at `at` in a frame of `size`.
struct Box {
  int left, top, right, bottom;
};
inline std::vector<Box> CaptionBoxes(const std::string& captions, const std::string& size, const std::string& at) {
  std::vector<Box> boxes;
  const std::string rects = Shell(std::string("'") + KEL_TOOL + "' rects '" + captions + "' --size " + size + " --at " + at);
  for (std::size_t from = 0; (from = rects.find("{\"x\":", from)) != std::string::npos; ++from) {
    double x = 0, y = 0, w = 0, h = 0;
    if (std::sscanf(rects.c_str() + from, "{\"x\": %lf, \"y\": %lf, \"width\": %lf, \"height\": %lf}", &x, &y, &w, &h) == 4) {
      boxes.push_back({static_cast<int>(x), static_cast<int>(y), static_cast<int>(x) + static_cast<int>(w),
                       static_cast<int>(y) + static_cast<int>(h)});
    }
  }
  return boxes;
}

// Pixels of a BGRA frame that differ from `background` (one pixel for all, or with `step` 4 a
// whole frame), inside and outside `boxes` widened by `margin`: outlines reach a few pixels past
// the text rows, and subsampled chroma a few more.
struct Counts {
  long inside = 0, outside = 0;
};
inline Counts CountDiffering(const std::string& frame, int width, const unsigned char* background,
                             const std::vector<Box>& boxes, int margin = 4, std::size_t step = 0) {
  Counts counts;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(frame.data());
  for (std::size_t i = 0; i < frame.size() / 4; ++i) {
    if (!Differs(p + i * 4, background + i * step)) continue;
    const int x = static_cast<int>(i % static_cast<std::size_t>(width)), y = static_cast<int>(i / static_cast<std::size_t>(width)), m = margin;
    bool covered = false;
    for (const Box& b : boxes) covered = covered || (x >= b.left - m && x < b.right + m && y >= b.top - m && y < b.bottom + m);
    (covered ? counts.inside : counts.outside)++;
  }
  return counts;
}

}  // namespace kel_test

// kelcaption: burns captions into images and video frames.
//
// Until the drawing layer lands, `demo` lists the rectangles that the bundled samples cover on a
// 1920x1080 frame.

#include <cstdio>
#include <cstring>
#include <string_view>

#include "samples/SampleModels.h"
#include "kelcaptioningui/KelCaptioningUI.h"

namespace {

constexpr kelcore::RectT<float> kDemoFrame{0.0f, 0.0f, 1920.0f, 1080.0f};

void PrintRects(const char* name, const kelcaptioning::CaptioningRenderableModelPtr& model) {
  kelcaptioningui::CaptionRectList rects;
  kelcaptioningui::GetCaptionRects(model, nullptr, kDemoFrame, rects);
  std::printf("%s: %zu rectangle(s) on a %gx%g frame\n", name, rects.size(), kDemoFrame.width, kDemoFrame.height);
  for (const auto& r : rects) std::printf("  x=%g y=%g width=%g height=%g\n", r.x, r.y, r.width, r.height);
}

int Usage(std::FILE* out) {
  std::fprintf(out,
               "usage: kelcaption demo\n"
               "\n"
               "  demo   show what the bundled sample captions cover on a 1920x1080 frame\n");
  return out == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(stderr);
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") return Usage(stdout);
  if (command == "demo" && argc == 2) {
    PrintRects("line-21 grid sample", kelcaption::MakeGridSample());
    return 0;
  }
  std::fprintf(stderr, "kelcaption: unknown command or extra arguments: %s\n", argv[1]);
  return Usage(stderr);
}

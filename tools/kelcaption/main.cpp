// kelcaption: burns captions into images and video frames.
//
// `demo` lists the rectangles that the bundled samples cover on a 1920x1080 frame;
// `export-settings` runs the sidecar export settings dialog in the terminal.

#include <cstdio>
#include <cstring>
#include <string_view>

#include <iostream>
#include <memory>
#include <string>

#include "kelcaptioningui/CaptionSidecarSettingsDialog.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelsol/TerminalRunner.h"
#include "samples/SampleModels.h"

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
               "       kelcaption export-settings [SUBJECT]\n"
               "\n"
               "  demo             show what the bundled sample captions cover on a 1920x1080 frame\n"
               "  export-settings  ask, in the terminal, how line-21 captions are exported to a\n"
               "                   sidecar file, and print the choices\n");
  return out == stdout ? 0 : 2;
}

// The sidecar export settings dialog, driven from the terminal.
int ExportSettings(const char* subject) {
  kelcaptioningui::Initialize();
  kelsol::SetModalRunner(std::make_shared<kelsol::TerminalRunner>(std::cin, std::cout));
  kelcaptioningui::CaptionSidecarSettingsDialog dialog(
      nullptr, nullptr, kelcaptioning::kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false,
      kelcaptioning::StreamFormatSet{kelcaptioning::kStreamFormat_CEA608_CC1},
      kelcore::string::UTF8ToUTF16(subject ? subject : ""));
  const bool ok = dialog.RunModal();
  kelsol::SetModalRunner(nullptr);
  kelcaptioningui::Terminate();
  if (!ok) {
    std::printf("\ncancelled\n");
    return 1;
  }
  std::printf("\nfile format: %s\ntime display: %s\nSRT styling: %s\n",
              kelcore::string::UTF16ToUTF8(kelcaptioning::GetDescriptionForFormat(dialog.GetFileFormat(), true)).c_str(),
              kelcore::string::UTF16ToUTF8(kelmediatypes::TimeDisplayDescription(dialog.GetTimeDisplay())).c_str(),
              dialog.GetIncludeSRTStyling() ? "yes" : "no");
  return 0;
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
  if (command == "export-settings" && argc <= 3) return ExportSettings(argc == 3 ? argv[2] : nullptr);
  std::fprintf(stderr, "kelcaption: unknown command or extra arguments: %s\n", argv[1]);
  return Usage(stderr);
}

// kelcaption demo: the bundled samples drawn to PNGs.

#include <cstdio>
#include <filesystem>
#include <memory>

#include "kelcaption/CaptionBurner.h"
#include "kelcaption/CommandLine.h"
#include "kelcaption/Subcommands.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioning/RenderableFromCaption.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "samples/SampleModels.h"

namespace kelcaption {

namespace {

struct DemoOptions {
  std::string folder = "kelcaption-demo";
};

// Vertical bands of colour, so that what the windows fill and what they leave shows.
void PaintBackground(Frame& frame) {
  const float w = static_cast<float>(frame.Width()), h = static_cast<float>(frame.Height());
  for (int band = 0; band < 8; ++band) {
    const float t = static_cast<float>(band) / 7.0f;
    frame.Surface().FillRect({0.15f + 0.3f * t, 0.3f, 0.45f - 0.25f * t, 1},
                             {w * static_cast<float>(band) / 8, 0, w / 8 + 1, h});
  }
}

int Demo(const DemoOptions& options) {
  std::filesystem::create_directories(options.folder);
  const Size size;
  Frame frame(size.width, size.height);
  CaptionBurner burner(size.width, size.height);
  const auto write = [&](const kelcaptioning::CaptioningRenderableModelPtr& model, const std::string& name) {
    frame.Clear();
    PaintBackground(frame);
    burner.Show(model);
    burner.Over(frame);
    const std::string path = (std::filesystem::path(options.folder) / name).string();
    frame.WritePng(path);
    std::printf("  %s\n", path.c_str());
  };
  std::printf("kelcaption demo: writing %s/\n", options.folder.c_str());
  write(MakeGridShowcase(), "grid-showcase.png");
  write(MakeTypicalGridFrame(), "grid-typical.png");
  write(MakeGridSample(), "grid-sample.png");
  write(MakeSubtitleSample(), "subtitle.png");
  const std::pair<kelcaptioning::StreamFormat, const char*> formats[] = {
      {kelcaptioning::kStreamFormat_CEA608_CC1, "default-6CC1.png"},
      {kelcaptioning::kStreamFormat_TeletextLevel10, "default-TL10.png"},
      {kelcaptioning::kStreamFormat_TeletextLevel20, "default-TL20.png"},
      {kelcaptioning::kStreamFormat_OpenEBU, "default-OEBU.png"}};
  for (const auto& [format, name] : formats) {
    kelcaptioning::CaptionListPtr list;
    kelcaptioningui::GetDefaultCaptionList(&burner.Layer().Inkpad(), format, size.width, size.height, {1, 1}, false, 12,
                                           40, list);
    write(kelcaptioning::MakeRenderableModel(format, *list->GetCaptions()[0],
                                             kelcaptioning::DefaultCaptionAreaSize(size.width),
                                             kelcaptioning::DefaultCaptionAreaSize(size.height)),
          name);
  }
  return kExitDone;
}

}  // namespace

Subcommand AddDemo(CLI::App& app) {
  auto options = std::make_shared<DemoOptions>();
  CLI::App* command = app.add_subcommand("demo",
                                         "Render the bundled samples (grid and open captions, every edge style, "
                                         "the caption symbol, new-track defaults) to PNGs");
  command->add_option("-o,--output", options->folder, "Folder for the PNGs")->capture_default_str();
  return {command, [options] { return Demo(*options); }};
}

}  // namespace kelcaption

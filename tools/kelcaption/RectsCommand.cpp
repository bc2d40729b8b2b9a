// kelcaption rects: the rectangles that the captions shown at one time cover, as JSON.

#include <cstdio>
#include <memory>

#include "kelcaption/CaptionStates.h"
#include "kelcaption/CommandLine.h"
#include "kelcaption/Subcommands.h"
#include "kelcaptioningui/KelCaptioningUI.h"

namespace kelcaption {

namespace {

struct RectsOptions {
  CaptionFileOptions file;
  std::string size = "1920x1080";
  MomentOptions moment;
};

int Rects(const RectsOptions& options) {
  const Size size = ParseSize(options.size);
  const kelmediatypes::TickTime time = MomentOf(options.moment);
  Frame layer(size.width, size.height);
  const auto timeline = LoadCaptionStates(options.file, size.width, size.height, layer);
  kelcaptioningui::CaptionRectList rects;
  if (const kelcaptionfiles::TimedModel* state = timeline.At(time)) {
    kelcaptioningui::GetCaptionRects(state->model, &layer.Inkpad(),
                                     {0, 0, static_cast<float>(size.width), static_cast<float>(size.height)}, rects);
  }
  std::printf("[");
  for (std::size_t i = 0; i < rects.size(); ++i) {
    std::printf("%s\n  {\"x\": %g, \"y\": %g, \"width\": %g, \"height\": %g}", i ? "," : "", rects[i].x, rects[i].y,
                rects[i].width, rects[i].height);
  }
  std::printf("%s]\n", rects.empty() ? "" : "\n");
  return kExitDone;
}

}  // namespace

Subcommand AddRects(CLI::App& app) {
  auto options = std::make_shared<RectsOptions>();
  CLI::App* command =
      app.add_subcommand("rects", "Print, as JSON, the rectangles that the captions of FILE cover at one time");
  AddCaptionFileOptions(*command, options->file);
  command->add_option("--size", options->size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  AddMomentOptions(*command, options->moment);
  return {command, [options] { return Rects(*options); }};
}

}  // namespace kelcaption

// kelcaption render: the captions shown at one time, drawn to a PNG.

#include <filesystem>
#include <memory>
#include <optional>

#include "kelcaption/CaptionBurner.h"
#include "kelcaption/CaptionStates.h"
#include "kelcaption/CommandLine.h"
#include "kelcaption/Subcommands.h"

namespace kelcaption {

namespace {

struct RenderOptions {
  CaptionFileOptions file;
  std::string size = "1920x1080";
  MomentOptions moment;
  std::string output;
  std::string background;
  bool smoothRollUp = false;
};

int Render(const RenderOptions& options) {
  const Size size = ParseSize(options.size);
  const kelmediatypes::TickTime time = MomentOf(options.moment);
  // A wrong colour is found before the file is read.
  const bool backgroundPng = std::filesystem::path(options.background).extension() == ".png";
  std::optional<kelui::inkpad::Color> background;
  if (!options.background.empty() && !backgroundPng) background = ParseColor(options.background);
  Frame frame(size.width, size.height);
  CaptionBurner burner(size.width, size.height);
  burner.SetSmoothRollUp(options.smoothRollUp);
  const auto timeline = LoadCaptionStates(options.file, size.width, size.height, burner.Layer());
  if (backgroundPng) frame.ReadPng(options.background);
  if (background)
    frame.Surface().FillRect(*background, {0, 0, static_cast<float>(size.width), static_cast<float>(size.height)});
  burner.ShowAt(timeline, time);
  burner.Over(frame);
  frame.WritePng(options.output);
  return kExitDone;
}

}  // namespace

Subcommand AddRender(CLI::App& app) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* command = app.add_subcommand("render", "Draw the captions of FILE shown at one time to a PNG");
  AddCaptionFileOptions(*command, options->file);
  command->add_option("--size", options->size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  AddMomentOptions(*command, options->moment);
  AddOutputOption(*command, options->output, "PNG")->required();
  command->add_option("--background", options->background,
                      "Colour (#RRGGBB, black, white, gray) or a PNG of the frame size; transparent without it");
  AddSmoothRollUpOption(*command, options->smoothRollUp);
  return {command, [options] { return Render(*options); }};
}

}  // namespace kelcaption

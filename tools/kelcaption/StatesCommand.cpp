// kelcaption states: what a caption file shows over time, as a model document.

#include <memory>
#include <optional>

#include "kelcaption/CaptionStates.h"
#include "kelcaption/CommandLine.h"
#include "kelcaption/Output.h"
#include "kelcaption/StateTimes.h"
#include "kelcaption/Subcommands.h"
#include "kelcaptionfiles/ModelDocument.h"

namespace kelcaption {

namespace {

struct StatesOptions {
  CaptionFileOptions file;
  std::string size = "1920x1080";
  std::string output = "-";
  std::string fps;
};

int States(const StatesOptions& options) {
  const Size size = ParseSize(options.size);
  Frame measuring(1, 1);
  std::optional<FrameRate> rate;
  if (!options.fps.empty()) rate = ParseFrameRate(options.fps, "--fps");
  const std::string document =
      kelcaptionfiles::WriteModelDocument(LoadCaptionStates(options.file, size.width, size.height, measuring));
  WriteOutput(WithStateTimes(document, rate), options.output);
  return kExitDone;
}

}  // namespace

Subcommand AddStates(CLI::App& app) {
  auto options = std::make_shared<StatesOptions>();
  CLI::App* command = app.add_subcommand("states",
                                         "Write what FILE shows over time as a JSON model document: each "
                                         "state's windows, cells and spans, as they are drawn");
  AddCaptionFileOptions(*command, options->file);
  command->add_option("--size", options->size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  AddOutputOption(*command, options->output, "JSON document")->capture_default_str();
  command->add_option("--fps", options->fps,
                      "Frame rate (N/D, 29.97, ntsc, pal, film...): each state also gets its beginFrame and endFrame");
  return {command, [options] { return States(*options); }};
}

}  // namespace kelcaption

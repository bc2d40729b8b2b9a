// kelcaption defaults: the caption list that a new track starts with, as a caption document.

#include <cstdio>
#include <memory>

#include "kelcaption/CommandLine.h"
#include "kelcaption/Frame.h"
#include "kelcaption/Output.h"
#include "kelcaption/Subcommands.h"
#include "kelcaptionfiles/CaptionDocument.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioningui/KelCaptioningUI.h"

namespace kelcaption {

namespace {

struct DefaultsOptions {
  std::string format = "6CC1";
  bool samples = false;
  std::string size = "1920x1080";
  std::string output = "-";
};

int Defaults(const DefaultsOptions& options) {
  const Size size = ParseSize(options.size);
  kelcaptioning::StreamFormat format;
  try {
    format = kelcaptionfiles::StreamFormatFromCode(options.format);
  } catch (const std::runtime_error& e) {
    throw UsageError(std::string("--format: ") + e.what());
  }
  Frame measuring(1, 1);
  kelcaptioning::CaptionListPtr list;
  kelcaptioningui::GetDefaultCaptionList(&measuring.Inkpad(), format, size.width, size.height, {1, 1}, options.samples,
                                         kelcaptioning::GetCaptionRows(format),
                                         kelcaptioning::GetCaptionColumns(format), list);
  // The position samples of grid formats take their grid from metadata that only open EBU lists
  // carry, so a grid format's sample list is empty: say so rather than leave people guessing.
  if (options.samples && list->GetCaptions().empty()) {
    std::fprintf(stderr,
                 "kelcaption: %s has no position samples: only open EBU subtitle lists carry the rows and "
                 "characters that samples are laid out on\n",
                 options.format.c_str());
  }
  WriteOutput(kelcaptionfiles::WriteCaptionDocument(*list), options.output);
  return kExitDone;
}

}  // namespace

Subcommand AddDefaults(CLI::App& app) {
  auto options = std::make_shared<DefaultsOptions>();
  CLI::App* command = app.add_subcommand("defaults",
                                         "Write the caption list that a new track starts with, as a JSON "
                                         "caption document (see captionfiles/caption-document.schema.json)");
  command->add_option("--format", options->format, "Stream format: 6CC1, 708S, TL10, TL20, OEBU, OPEN, ...")
      ->capture_default_str();
  command->add_flag("--samples", options->samples, "Position samples instead of one placeholder caption");
  command->add_option("--size", options->size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  AddOutputOption(*command, options->output, "JSON document")->capture_default_str();
  return {command, [options] { return Defaults(*options); }};
}

}  // namespace kelcaption

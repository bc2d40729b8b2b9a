// kelcaption export-settings: the sidecar export settings dialog, in a window or the terminal.

#include <cstdio>
#include <memory>

#include "kelcaption/CommandLine.h"
#include "kelcaption/Subcommands.h"
#include "kelcaptioning/ExportFormats.h"
#include "kelcaptioningui/CaptionSidecarSettingsDialog.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/String.h"
#include "kelsol/UserRunner.h"

namespace kelcaption {

namespace {

struct ExportSettingsOptions {
  std::string subject;
  bool terminal = false;
};

int ExportSettings(const ExportSettingsOptions& options) {
  kelcaptioningui::Initialize();
  kelsol::InstallUserRunner(options.terminal ? kelsol::RunnerChoice::kTerminal : kelsol::RunnerChoice::kAutomatic);
  kelcaptioningui::CaptionSidecarSettingsDialog dialog(
      nullptr, nullptr, kelcaptioning::kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false,
      kelcaptioning::StreamFormatSet{kelcaptioning::kStreamFormat_CEA608_CC1},
      kelcore::string::UTF8ToUTF16(options.subject));
  const bool ok = dialog.RunModal();
  kelsol::SetModalRunner(nullptr);
  kelcaptioningui::Terminate();
  if (!ok) {
    std::printf("\ncancelled\n");
    return kExitFailed;
  }
  std::printf(
      "\nfile format: %s\ntime display: %s\nSRT styling: %s\n",
      kelcore::string::UTF16ToUTF8(kelcaptioning::GetDescriptionForFormat(dialog.GetFileFormat(), true)).c_str(),
      kelcore::string::UTF16ToUTF8(kelmediatypes::TimeDisplayDescription(dialog.GetTimeDisplay())).c_str(),
      dialog.GetIncludeSRTStyling() ? "yes" : "no");
  return kExitDone;
}

}  // namespace

Subcommand AddExportSettings(CLI::App& app) {
  auto options = std::make_shared<ExportSettingsOptions>();
  CLI::App* command = app.add_subcommand("export-settings",
                                         "Ask how captions are exported to a sidecar file, in a window "
                                         "when a display is available (in the terminal otherwise), and "
                                         "print the choices");
  command->add_option("SUBJECT", options->subject, "Name shown in the title");
  command->add_flag("--terminal", options->terminal, "Ask in the terminal even when a window could be shown");
  return {command, [options] { return ExportSettings(*options); }};
}

}  // namespace kelcaption

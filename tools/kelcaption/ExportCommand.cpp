// kelcaption export: captions written to a sidecar file of the format the user chooses.

#include <cctype>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>

#include "kelcaption/CaptionStates.h"
#include "kelcaption/CommandLine.h"
#include "kelcaption/Output.h"
#include "kelcaption/Subcommands.h"
#include "kelcaptionfiles/CaptionWriters.h"
#include "kelcaptioning/ExportFormats.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioningui/CaptionSidecarSettingsDialog.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/String.h"
#include "kelsol/UserRunner.h"

namespace kelcaption {

namespace {

using namespace kelcaptioning;
using namespace kelmediatypes;

struct ExportOptions {
  CaptionFileOptions file;
  std::string output;
  std::string format;
  std::string timeDisplay;
  bool srtStyling = false;
  bool dialog = false;
  bool terminal = false;
};

const std::map<std::string, CaptioningExportFormat> kFormats = {
    {"scc", kCaptioningExportFormat_SCC},  {"mcc", kCaptioningExportFormat_MCC}, {"ttml", kCaptioningExportFormat_TTML},
    {"xml", kCaptioningExportFormat_TTML}, {"stl", kCaptioningExportFormat_STL}, {"srt", kCaptioningExportFormat_SRT},
    {"vtt", kCaptioningExportFormat_WebVTT}, {"webvtt", kCaptioningExportFormat_WebVTT}};

const std::map<std::string, TimeDisplay> kTimeDisplays = {
    {"23.976", kTimeDisplay_23976Timecode},     {"24", kTimeDisplay_24Timecode},
    {"25", kTimeDisplay_25Timecode},            {"29.97df", kTimeDisplay_2997DropTimecode},
    {"29.97ndf", kTimeDisplay_2997NonDropTimecode}, {"30", kTimeDisplay_30Timecode},
    {"50", kTimeDisplay_50Timecode},            {"59.94df", kTimeDisplay_5994DropTimecode},
    {"59.94ndf", kTimeDisplay_5994NonDropTimecode}, {"60", kTimeDisplay_60Timecode},
    {"ms", kTimeDisplay_Milliseconds}};

std::string Names(const auto& map) {
  std::string names;
  for (const auto& [name, value] : map) names += (names.empty() ? "" : ", ") + name;
  return names;
}

// "srt" of "out.SRT"; empty without an extension.
std::string ExtensionOf(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return {};
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

CaptioningExportFormat FormatOf(const ExportOptions& options) {
  std::string name = options.format;
  if (name.empty()) {
    name = ExtensionOf(options.output);
    if (name.empty()) throw UsageError("--format is needed when the output has no extension");
  }
  const auto format = kFormats.find(name);
  if (format == kFormats.end()) throw UsageError("unknown format \"" + name + "\"; the formats are " + Names(kFormats));
  return format->second;
}

// The display given, else milliseconds, 29.97 drop frame (SCC, MCC) or the first the format uses
// (25 for EBU STL).
TimeDisplay TimeDisplayOf(const ExportOptions& options, CaptioningExportFormat format) {
  TimeDisplaySet displays;
  GetSupportedTimeDisplaysForFormat(format, displays);
  if (options.timeDisplay.empty()) {
    if (displays.contains(kTimeDisplay_Milliseconds)) return kTimeDisplay_Milliseconds;
    if (displays.contains(kTimeDisplay_2997DropTimecode)) return kTimeDisplay_2997DropTimecode;
    return displays.empty() ? kTimeDisplay_Milliseconds : *displays.begin();
  }
  const auto display = kTimeDisplays.find(options.timeDisplay);
  if (display == kTimeDisplays.end()) {
    throw UsageError("unknown time display \"" + options.timeDisplay + "\"; the displays are " + Names(kTimeDisplays));
  }
  if (!displays.contains(display->second)) {
    std::string offered;
    for (const auto& [name, value] : kTimeDisplays) {
      if (displays.contains(value)) offered += (offered.empty() ? "" : ", ") + name;
    }
    throw UsageError(kelcore::string::UTF16ToUTF8(GetDescriptionForFormat(format, false)) + " files take the time display " +
                     offered + ", not " + options.timeDisplay);
  }
  return display->second;
}

StreamFormat StreamFormatOf(const kelcaptionfiles::ReadResult& read) {
  if (const CaptionList* list = read.List()) return list->GetStreamFormat();
  for (const auto& state : read.Timeline()->States()) {
    if (state.model) return state.model->GetStreamFormat();
  }
  return kStreamFormat_Unknown;
}

// The sidecar settings dialog, in a window or the terminal as export-settings shows it, starting
// from `settings`; false when cancelled.
bool AskWithDialog(kelcaptionfiles::WriteOptions& settings, StreamFormat stream, const std::string& subject,
                   bool terminal) {
  kelcaptioningui::Initialize();
  kelsol::InstallUserRunner(terminal ? kelsol::RunnerChoice::kTerminal : kelsol::RunnerChoice::kAutomatic);
  kelcaptioningui::CaptionSidecarSettingsDialog dialog(nullptr, nullptr, settings.format, settings.timeDisplay,
                                                       settings.srtStyling, StreamFormatSet{stream},
                                                       kelcore::string::UTF8ToUTF16(subject));
  const bool ok = dialog.RunModal();
  kelsol::SetModalRunner(nullptr);
  kelcaptioningui::Terminate();
  if (ok) settings = {dialog.GetFileFormat(), dialog.GetTimeDisplay(), dialog.GetIncludeSRTStyling()};
  return ok;
}

int Export(const ExportOptions& options) {
  kelcaptionfiles::WriteOptions settings;
  // The dialog starts from SubRip when neither the options nor the output's name tell a format.
  const bool formatGiven = !options.format.empty() || !options.dialog || kFormats.contains(ExtensionOf(options.output));
  settings.format = formatGiven ? FormatOf(options) : kCaptioningExportFormat_SRT;
  settings.timeDisplay = TimeDisplayOf(options, settings.format);
  settings.srtStyling = options.srtStyling;
  const kelcaptionfiles::ReadResult captions = ReadCaptionsOf(options.file, 1080);
  ReportNotes(options.file.file, captions.notes);
  if (options.dialog) {
    StreamFormat stream = StreamFormatOf(captions);
    if (!IsKnownStreamFormat(stream)) stream = kStreamFormat_OpenCaptions;
    if (!AskWithDialog(settings, stream, options.file.file, options.terminal)) {
      std::fprintf(stderr, "kelcaption: export cancelled\n");
      return kExitFailed;
    }
  }
  const kelcaptionfiles::WriteResult written = kelcaptionfiles::WriteCaptions(captions, settings);
  WriteOutput(written.bytes, options.output);
  for (const kelcaptionfiles::FileNote& note : written.notes.All()) {
    std::fprintf(stderr, "kelcaption: %s: not written as asked: %s\n", options.output.c_str(), note.Text().c_str());
  }
  return kExitDone;
}

}  // namespace

Subcommand AddExport(CLI::App& app) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command = app.add_subcommand("export",
                                         "Write the captions of FILE to a sidecar file: SubRip, WebVTT, SCC, MCC, "
                                         "timed text (TTML) or EBU STL");
  AddCaptionReadOptions(*command, options->file);
  AddOutputOption(*command, options->output, "Sidecar file")->required();
  command->add_option("--format", options->format,
                      "srt, vtt, scc, mcc, ttml or stl; by default the output's extension (.xml is timed text)");
  command->add_option("--time-display", options->timeDisplay,
                      "Time codes: 23.976, 24, 25, 29.97df, 29.97ndf, 30, 50, 59.94df, 59.94ndf, 60 or ms, as the "
                      "format allows; by default ms, or 29.97df (SCC, MCC), or 25 for EBU STL");
  command->add_flag("--srt-styling", options->srtStyling,
                    "SubRip: keep bold, italics, underline, colour and placement as tags");
  command->add_flag("--dialog", options->dialog,
                    "Ask with the sidecar settings dialog, starting from the options given: in a window when a "
                    "display is available, in the terminal otherwise");
  command->add_flag("--terminal", options->terminal, "With --dialog: ask in the terminal even when a window could be shown");
  return {command, [options] { return Export(*options); }};
}

}  // namespace kelcaption

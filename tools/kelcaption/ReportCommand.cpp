// kelcaption report: a page to look at before delivery: the captions' timeline, a picture of
// each state, and what the checks found.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "kelcaption/CaptionStates.h"
#include "kelcaption/CommandLine.h"
#include "kelcaption/Output.h"
#include "kelcaption/ReportContent.h"
#include "kelcaption/StatePictures.h"
#include "kelcaption/Subcommands.h"
#include "kelcaption/VideoBurn.h"
#include "kelcaption/VideoInput.h"
#include "kelcaption/VideoStills.h"
#include "kelcaptionfiles/CaptionFileKinds.h"
#include "kelcaptioning/Formats.h"

extern "C" {
#include <libavutil/log.h>
}

namespace kelcaption {

namespace {

struct ReportOptions {
  CaptionFileOptions file;
  std::string video;
  std::string output;
  std::string json;
  std::string size = "1920x1080";
  std::string fps;
  int pictureWidth = 384;
  double titleSafePercent = 80;
  CheckLimits limits;
  bool failOnFlags = false;
};

std::string KindOf(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const kelcaptionfiles::CaptionFileKind* kind = kelcaptionfiles::FindCaptionFileKind(file, bytes);
  return kind != nullptr ? kind->name : "caption file";
}

void CheckLimitsAreUsable(const ReportOptions& options) {
  const CheckLimits& l = options.limits;
  if (!(l.maxCharactersPerSecond > 0)) throw UsageError("--max-cps must be above 0");
  if (!(l.minSeconds >= 0) || !(l.maxSeconds > l.minSeconds)) {
    throw UsageError("--min-duration must be 0 or more and below --max-duration");
  }
  if (l.minGapFrames < 0) throw UsageError("--min-gap must be 0 or more frames");
  if (l.maxLineLength < 0) throw UsageError("--max-line-length must be 0 (the format's) or more");
  if (!(options.titleSafePercent > 0) || options.titleSafePercent > 100) {
    throw UsageError("--title-safe must lie above 0 and at most 100 (per cent of the frame)");
  }
  if (options.pictureWidth < 16 || options.pictureWidth > 1920) throw UsageError("--picture-width must lie from 16 to 1920");
}

std::string LaneName(kelcaptioning::StreamFormat format, const CaptionFileOptions& file) {
  if (kelcaptioning::IsOpenCaptions(format)) return "Subtitles";
  if (kelcaptioning::IsCEA608(format)) return "CC" + std::to_string(std::max(ChannelNumber(file.channel), 1));
  if (kelcaptioning::IsCEA708(format)) return "Service " + std::to_string(std::max(file.service, 1));
  if (kelcaptioning::IsTeletext(format)) return "Teletext";
  return "Window";
}

int Report(const ReportOptions& options) {
  CheckLimitsAreUsable(options);
  ReportContent content;
  content.limits = options.limits;
  content.limits.titleSafe = options.titleSafePercent / 100;
  content.file = std::filesystem::path(options.file.file).filename().string();
  content.kind = KindOf(options.file.file);
  std::optional<FrameRate> rate;
  if (!options.fps.empty()) rate = ParseFrameRate(options.fps, "--fps");

  std::optional<VideoInput> input;
  Size size = ParseSize(options.size);
  if (!options.video.empty()) {
    av_log_set_level(AV_LOG_ERROR);
    input.emplace(options.video);
    content.video = std::filesystem::path(options.video).filename().string();
    size = {input->Decoder().width, input->Decoder().height};
    const AVRational videoRate = input->FrameRate();
    if (!rate && videoRate.num > 0) rate = FrameRate{videoRate.num, videoRate.den};
  }
  // Without a video or --fps: the rate line-21 captions are made for, else the European one.
  if (!rate) rate = content.kind == "Scenarist SCC" ? FrameRate{30000, 1001} : FrameRate{25, 1};

  Frame measuring(1, 1);
  kelcaptionfiles::FileNotes notes;
  const kelcaptionfiles::CaptionTimeline timeline =
      LoadCaptionStates(options.file, size.width, size.height, measuring, &notes);
  content.notes = notes.All();
  content.states = FactsOf(timeline, measuring.Inkpad(), size.width, size.height);
  content.appearances = AppearancesOf(content.states);

  CheckSetting& setting = content.setting;
  setting.frameWidth = size.width;
  setting.frameHeight = size.height;
  setting.rate = *rate;
  const kelcaptioning::StreamFormat format =
      timeline.Empty() ? kelcaptioning::kStreamFormat_Unknown : timeline.States().front().model->GetStreamFormat();
  setting.lineLength = DefaultLineLength(format, timeline.Empty() ? 0 : timeline.States().front().model->GetMaxColumns());
  content.laneName = LaneName(format, options.file);
  kelmediatypes::TickTime shift;
  if (input) {
    shift = CaptionShift(options.file.file, "", *input, false);
    if (const long long frames = input->ExpectedFrames(); frames > 0) {
      setting.videoSpan.emplace(shift, shift + TimeOfFrame(frames, *rate));
    }
  }
  content.flags = RunChecks(content.states, content.appearances, content.limits, setting);

  StatePictures pictures(size.width, size.height, options.pictureWidth);
  content.pictureWidth = pictures.Width();
  content.pictureHeight = pictures.Height();
  std::optional<VideoStills> stills;
  if (input) stills.emplace(*input, pictures.Width(), pictures.Height());
  content.pictures.reserve(timeline.States().size());
  for (const kelcaptionfiles::TimedModel& state : timeline.States()) {
    const bool inVideo = setting.videoSpan && state.end > setting.videoSpan->first && state.begin < setting.videoSpan->second;
    const Frame* background = stills && inVideo ? stills->At(state.begin - shift) : nullptr;
    content.pictures.push_back(pictures.Draw(state.model, background));
  }

  WriteOutput(ReportPage(content), options.output);
  if (!options.json.empty()) WriteOutput(ReportSummary(content), options.json);
  return options.failOnFlags && !content.flags.empty() ? kExitFlagged : kExitDone;
}

}  // namespace

Subcommand AddReport(CLI::App& app) {
  auto options = std::make_shared<ReportOptions>();
  CLI::App* command = app.add_subcommand(
      "report",
      "Write a page to look at before delivery: one self-contained HTML file with a timeline of FILE, a picture of "
      "each state (over VIDEO's frame when given), its times as time codes and frames, and the checks' findings:\n"
      "  kelcaption report subs.srt programme.mp4 -o report.html --json report.json");
  AddCaptionFileOptions(*command, options->file);
  command->add_option("VIDEO", options->video, "Video the captions go with: its frames behind the pictures, its size, "
                                               "rate and length")
      ->check(CLI::ExistingFile);
  AddOutputOption(*command, options->output, "HTML page")->required();
  command->add_option("--json", options->json, "Also write what the checks found as JSON to this file (- for standard output)");
  command->add_option("--size", options->size, "Frame size WIDTHxHEIGHT without VIDEO")->capture_default_str();
  command->add_option("--fps", options->fps,
                      "Frame rate of time codes and frame numbers (N/D, 29.97, ntsc, pal, film...); VIDEO's by default, "
                      "else 29.97 for SCC and 25 for the others");
  command->add_option("--picture-width", options->pictureWidth, "Width of each state's picture in pixels")
      ->capture_default_str();
  CheckLimits& limits = options->limits;
  command->add_option("--max-cps", limits.maxCharactersPerSecond, "Flag reading speeds above this many characters a second")
      ->capture_default_str();
  command->add_option("--min-duration", limits.minSeconds, "Flag captions on screen for less than this many seconds")
      ->capture_default_str();
  command->add_option("--max-duration", limits.maxSeconds, "Flag captions on screen for more than this many seconds")
      ->capture_default_str();
  command->add_option("--min-gap", limits.minGapFrames, "Flag gaps between captions shorter than this many frames")
      ->capture_default_str();
  command->add_option("--max-line-length", limits.maxLineLength,
                      "Flag lines longer than this many characters; 0: the format's (32 line-21, 42 subtitles)")
      ->capture_default_str();
  command->add_option("--title-safe", options->titleSafePercent,
                      "Title-safe area, per cent of the frame's width and height, centred")
      ->capture_default_str();
  command->add_flag("--fail-on-flags", options->failOnFlags, "Exit with status 3 when a check flagged something");
  return {command, [options] { return Report(*options); }};
}

}  // namespace kelcaption

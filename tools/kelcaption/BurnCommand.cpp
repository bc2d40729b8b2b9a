// kelcaption burn: captions burned into a video file, decoded and encoded in this process, or into
// raw frames between two other processes.

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "kelcaption/CaptionBurner.h"
#include "kelcaption/CaptionStates.h"
#include "kelcaption/CommandLine.h"
#include "kelcaption/Interruption.h"
#include "kelcaption/ProgressBar.h"
#include "kelcaption/Subcommands.h"
#include "kelcaption/TimeCode.h"
#include "kelcaption/VideoBurn.h"
#include "kelcore/DebugDatabase.h"

namespace kelcaption {

namespace {

struct BurnOptions {
  VideoBurnOptions video;
  // Raw frames only.
  std::string size;
  std::string fps;
  std::string par = "1:1";
  std::string framesFolder;
  float scale = 1.0f;
  bool flip = false;
  long long count = 0;  // frames expected, for the time left; 0 when unknown
  bool debugWindows = false;
  bool embedded = false;  // FILE is the video, burned with its own captions
};

// The options that belong to one mode only, so that the other refuses them.
struct ModeOptions {
  std::vector<CLI::Option*> rawOnly;
  std::vector<CLI::Option*> videoOnly;
};

// The length of standard input when it is a file, so that a wrong --size shows before the first
// frame; -1 for a pipe.
long long InputLength() {
  struct stat status = {};
  if (fstat(0, &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  return static_cast<long long>(status.st_size);
}

// Raw BGRA frames from standard input, captions burned in, to standard output (or PNGs).
int BurnRawFrames(const BurnOptions& options) {
  const Size size = ParseSize(options.size);
  const auto [fpsNum, fpsDen] = ParseFrameRate(options.fps, "--fps");
  const auto [parNum, parDen] = ParseFraction(options.par, "--par");
  if (!(options.scale > 0.0f) || options.scale > 16.0f) throw UsageError("--scale must lie above 0 and at most 16");
  // Captions are laid out for the frame before scaling and drawn scaled into its pixels; rounding
  // down keeps the scaled surface inside the frame.
  CaptionBurner::Layout layout;
  layout.layoutWidth = std::max(1, static_cast<int>(static_cast<float>(size.width) / options.scale));
  layout.layoutHeight = std::max(1, static_cast<int>(static_cast<float>(size.height) / options.scale));
  layout.scale = options.scale;
  layout.flip = options.flip;
  layout.pixelAspectRatio = {static_cast<std::uint32_t>(parNum), static_cast<std::uint32_t>(parDen)};
  Frame frame(size.width, size.height);
  CaptionBurner burner(size.width, size.height, layout);
  burner.SetSmoothRollUp(options.video.smoothRollUp);
  const std::size_t frameBytes = frame.Bytes().size();
  const long long length = InputLength();
  if (length > 0 && length % static_cast<long long>(frameBytes) != 0) {
    throw std::runtime_error("standard input holds " + std::to_string(length) + " bytes, not a whole number of " +
                             options.size + " BGRA frames of " + std::to_string(frameBytes) + " bytes; is --size right?");
  }
  const kelmediatypes::TickTime offset =
      options.video.offset.empty() ? kelmediatypes::TickTime()
                                   : ParseTimeOrTimeCode(options.video.offset, "--offset", FrameRate{fpsNum, fpsDen}, true);
  const auto timeline = LoadCaptionStates(options.video.file, layout.layoutWidth, layout.layoutHeight, burner.Layer());
  if (!options.framesFolder.empty()) std::filesystem::create_directories(options.framesFolder);

  const InterruptionGuard interruption;
  ProgressBar progress(length > 0 ? length / static_cast<long long>(frameBytes) : options.count,
                       static_cast<double>(fpsNum) / static_cast<double>(fpsDen), options.video.quiet);
  for (long long index = 0;; ++index) {
    std::size_t got = 0;
    while (got < frameBytes) {
      std::cin.read(reinterpret_cast<char*>(frame.Bytes().data()) + got,
                    static_cast<std::streamsize>(frameBytes - got));
      const std::streamsize n = std::cin.gcount();
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    ThrowIfInterrupted();
    if (got == 0) break;
    if (got < frameBytes) {
      throw std::runtime_error("the input ended inside frame " + std::to_string(index + 1) + " (" +
                               std::to_string(got) + " of " + std::to_string(frameBytes) + " bytes); is --size right?");
    }
    // In 128 bits: at 30000/1001 the 64-bit product of frame, ticks and denominator overflows
    // after some 36,000 frames (20 minutes).
    __extension__ using Wide = __int128;
    const kelmediatypes::TickTime time(
        static_cast<std::int64_t>(Wide{index} * kelmediatypes::TickTime::kTicksPerSecond * fpsDen / fpsNum));
    burner.ShowAt(timeline, time - offset);
    burner.Over(frame);
    if (options.framesFolder.empty()) {
      std::cout.write(reinterpret_cast<const char*>(frame.Bytes().data()), static_cast<std::streamsize>(frameBytes));
      if (!std::cout)
        throw std::runtime_error("cannot write frame " + std::to_string(index + 1) + " to standard output");
    } else {
      char name[32];
      std::snprintf(name, sizeof name, "frame-%06lld.png", index + 1);
      frame.WritePng((std::filesystem::path(options.framesFolder) / name).string());
    }
    progress.Frame(index + 1);
  }
  std::cout.flush();
  return kExitDone;
}

std::string Names(const std::vector<CLI::Option*>& given) {
  std::string names;
  for (const CLI::Option* option : given) names += (names.empty() ? "" : ", ") + option->get_name();
  return names;
}

int Burn(BurnOptions options, const ModeOptions& modes) {
  if (options.embedded) {
    if (!options.video.video.empty()) throw UsageError("--embedded burns FILE's own captions into FILE; name no other VIDEO");
    options.video.video = options.video.file.file;
  }
  if (options.debugWindows) kelcore::utility::DebugDatabase::Instance().SetEntry("DebugCaptionWindows", "true");
  std::vector<CLI::Option*> wrong;
  const bool video = !options.video.video.empty();
  for (CLI::Option* option : video ? modes.rawOnly : modes.videoOnly) {
    if (option->count() > 0) wrong.push_back(option);
  }
  if (video) {
    if (!wrong.empty()) throw UsageError(Names(wrong) + ": for raw frames on standard input; a video file brings its own");
    if (options.video.output.empty()) throw UsageError("burning into a video file needs -o OUT");
    return BurnVideo(options.video);
  }
  if (!wrong.empty()) throw UsageError(Names(wrong) + ": only with a VIDEO to burn into");
  if (options.size.empty() || options.fps.empty()) {
    throw UsageError("raw frames on standard input need --size and --fps (ffprobe tells them); or name a VIDEO file");
  }
  return BurnRawFrames(options);
}

}  // namespace

Subcommand AddBurn(CLI::App& app) {
  auto options = std::make_shared<BurnOptions>();
  auto modes = std::make_shared<ModeOptions>();
  CLI::App* command = app.add_subcommand(
      "burn",
      "Burn the captions of FILE into a video:\n"
      "  kelcaption burn subs.srt in.mp4 -o out.mp4\n"
      "decodes and encodes in this process, in the video's own size, frame times, pixel format and colours, "
      "copying its audio and other streams. Without VIDEO, raw BGRA frames are read from standard input and "
      "written to standard output, for hosts that decode and encode themselves:\n"
      "  ffmpeg -i in.mp4 -f rawvideo -pix_fmt bgra - | kelcaption burn subs.srt --size 1280x720 --fps 25 | ...");
  AddCaptionFileOptions(*command, options->video.file);
  command->add_option("VIDEO", options->video.video, "Video file to burn the captions into")->check(CLI::ExistingFile);
  auto& video = modes->videoOnly;
  video.push_back(AddOutputOption(*command, options->video.output, "Video file"));
  video.push_back(command->add_option("--codec", options->video.encoder.codec,
                                      "Video encoder (libx264, libx265, ...); the input's codec family by default"));
  video.push_back(command->add_option("--crf", options->video.encoder.crf, "Constant rate factor (18 by default)")
                      ->check(CLI::Range(0, 63)));
  video.push_back(command->add_option("--bitrate", options->video.encoder.bitrate, "Video bit rate, such as 8M"));
  video.push_back(command->add_option("--preset", options->video.encoder.preset, "Encoder preset, such as veryfast"));
  video.push_back(command->add_option("--pix-fmt", options->video.encoder.pixelFormat,
                                      "Pixel format to encode; the input's by default"));
  auto& raw = modes->rawOnly;
  raw.push_back(command->add_option("--size", options->size, "Raw frames: size WIDTHxHEIGHT"));
  raw.push_back(command->add_option("--fps", options->fps,
                                    "Raw frames: rate, N/D, a number (29.97, 23.976) or ntsc, ntsc-film, pal, film"));
  raw.push_back(command->add_option("--frames", options->framesFolder, "Raw frames: write a PNG per frame to this folder instead"));
  raw.push_back(command->add_option("--scale", options->scale, "Raw frames: draw captions laid out for a frame this many times smaller"));
  raw.push_back(command->add_flag("--flip", options->flip, "Raw frames: stored bottom row first"));
  raw.push_back(command->add_option("--par", options->par,
                                    "Raw frames: pixel aspect ratio N:D (passed on; captions are laid out on square pixels)"));
  raw.push_back(command->add_option("--count", options->count, "Raw frames: frames expected, for the time left"));
  command->add_option("--offset", options->video.offset,
                      "Show the captions this much later (+) or earlier (-): seconds, HH:MM:SS.mmm or a time code "
                      "HH:MM:SS:FF at the video's rate; added to matching the captions' time codes to the video's");
  command->add_flag("--embedded", options->embedded,
                    "FILE is a video: burn the captions its pictures carry (A/53 caption data) into it:\n"
                    "  kelcaption burn --embedded in.ts -o out.mp4");
  AddSmoothRollUpOption(*command, options->video.smoothRollUp);
  command->add_flag("-q,--quiet", options->video.quiet, "No progress line");
  command->add_flag("--debug-windows", options->debugWindows, "Tint caption windows 0 to 7 (DebugCaptionWindows)");
  return {command, [options, modes] { return Burn(*options, *modes); }};
}

}  // namespace kelcaption

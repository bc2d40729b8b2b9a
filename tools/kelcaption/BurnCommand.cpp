// kelcaption burn: captions burned into raw frames between two ffmpeg processes.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "kelcaption/CaptionBurner.h"
#include "kelcaption/CaptionStates.h"
#include "kelcaption/CommandLine.h"
#include "kelcaption/Subcommands.h"
#include "kelcore/DebugDatabase.h"

namespace kelcaption {

namespace {

struct BurnOptions {
  CaptionFileOptions file;
  std::string size = "1920x1080";
  std::string fps = "30";
  std::string par = "1:1";
  std::string framesFolder;
  float scale = 1.0f;
  bool flip = false;
  bool debugWindows = false;
  long long count = 0;  // frames expected, for the time left; 0 when unknown
};

// Progress on standard error while it is a terminal: frames, frames per second, time left.
class Progress {
 public:
  explicit Progress(long long total) : total_(total), shown_(isatty(2) != 0), start_(Clock::now()) {}
  void Frame(long long done) {
    if (!shown_) return;
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    if (seconds - last_ < 0.2 && done != total_) return;
    last_ = seconds;
    const double fps = seconds > 0 ? static_cast<double>(done) / seconds : 0.0;
    std::fprintf(stderr, "\r  %lld frames  %.1f fps", done, fps);
    if (total_ > 0 && fps > 0) {
      const int width = 30;
      const int filled = static_cast<int>(width * static_cast<double>(done) / static_cast<double>(total_));
      std::fprintf(stderr, "  [%s%s]  %.0f s left",
                   std::string(static_cast<std::size_t>(std::min(filled, width)), '#').c_str(),
                   std::string(static_cast<std::size_t>(std::max(0, width - filled)), '.').c_str(),
                   static_cast<double>(total_ - done) / fps);
    }
    std::fflush(stderr);
  }
  ~Progress() {
    if (shown_) std::fprintf(stderr, "\n");
  }

 private:
  using Clock = std::chrono::steady_clock;
  long long total_;
  bool shown_;
  Clock::time_point start_;
  double last_ = -1.0;
};

// Raw BGRA frames from standard input, captions burned in, to standard output (or PNGs).
int Burn(const BurnOptions& options) {
  const Size size = ParseSize(options.size);
  const auto [fpsNum, fpsDen] = ParseFraction(options.fps, "--fps");
  const auto [parNum, parDen] = ParseFraction(options.par, "--par");
  if (!(options.scale > 0.0f) || options.scale > 16.0f) throw UsageError("--scale must lie above 0 and at most 16");
  if (options.debugWindows) kelcore::utility::DebugDatabase::Instance().SetEntry("DebugCaptionWindows", "true");
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
  const auto timeline = LoadCaptionStates(options.file, layout.layoutWidth, layout.layoutHeight, burner.Layer());
  if (!options.framesFolder.empty()) std::filesystem::create_directories(options.framesFolder);

  const std::size_t frameBytes = frame.Bytes().size();
  Progress progress(options.count);
  for (long long index = 0;; ++index) {
    std::size_t got = 0;
    while (got < frameBytes) {
      std::cin.read(reinterpret_cast<char*>(frame.Bytes().data()) + got,
                    static_cast<std::streamsize>(frameBytes - got));
      const std::streamsize n = std::cin.gcount();
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
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
    const kelcaptionfiles::TimedModel* state = timeline.At(time);
    burner.Show(state ? state->model : nullptr);
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

}  // namespace

Subcommand AddBurn(CLI::App& app) {
  auto options = std::make_shared<BurnOptions>();
  CLI::App* command = app.add_subcommand(
      "burn",
      "Burn the captions of FILE into raw BGRA frames read from standard input, written to standard output, "
      "for use between two ffmpeg processes:\n"
      "  ffmpeg -i in.mp4 -f rawvideo -pix_fmt bgra - | kelcaption burn subs.srt --size 1280x720 --fps 25 |\n"
      "  ffmpeg -f rawvideo -pix_fmt bgra -s 1280x720 -r 25 -i - out.mp4");
  AddCaptionFileOptions(*command, options->file);
  command->add_option("--size", options->size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  command->add_option("--fps", options->fps, "Frame rate, N/D or a number (30000/1001)")->capture_default_str();
  command->add_option("--frames", options->framesFolder, "Write a PNG per frame to this folder instead");
  command->add_option("--scale", options->scale, "Draw captions laid out for a frame this many times smaller")
      ->capture_default_str();
  command->add_flag("--flip", options->flip, "The frames are stored bottom row first");
  command
      ->add_option("--par", options->par, "Pixel aspect ratio N:D (passed on; captions are laid out on square pixels)")
      ->capture_default_str();
  command->add_flag("--debug-windows", options->debugWindows, "Tint caption windows 0 to 7 (DebugCaptionWindows)");
  command->add_option("--count", options->count, "Frames expected, for the time left in the progress line");
  return {command, [options] { return Burn(*options); }};
}

}  // namespace kelcaption

// kelcaption: burns captions into images and video frames.

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "kelcaption/AtomicFile.h"
#include "kelcaption/CaptionFiles.h"
#include "kelcaption/Frame.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioning/RenderableFromCaption.h"
#include "kelcaptioningui/CaptionSidecarSettingsDialog.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/DebugDatabase.h"
#include "kelsol/TerminalRunner.h"
#include "kelui/inkpad/Supplier.h"
#include "readers/CaptionDocument.h"
#include "readers/HexColor.h"
#include "readers/ModelDocument.h"
#include "samples/SampleModels.h"

namespace {

using kelcaption::Frame;

struct Size {
  int width = 1920;
  int height = 1080;
};

Size ParseSize(const std::string& text) {
  int w = 0, h = 0;
  char x = 0, extra = 0;
  std::istringstream in(text);
  if (!(in >> w >> x >> h) || (x != 'x' && x != 'X') || (in >> extra) || w <= 0 || h <= 0) {
    throw std::runtime_error("--size wants WIDTHxHEIGHT with both above 0, such as 1920x1080, not \"" + text + "\"");
  }
  return {w, h};
}

// "HH:MM:SS.mmm", "MM:SS.mmm" or seconds.
kelmediatypes::TickTime ParseTime(const std::string& text) {
  double seconds = 0;
  std::istringstream in(text);
  std::string part;
  int parts = 0;
  while (std::getline(in, part, ':')) {
    char* end = nullptr;
    const double value = std::strtod(part.c_str(), &end);
    if (part.empty() || *end != '\0' || value < 0) throw std::runtime_error("--at wants a time such as 00:00:05.000, not \"" + text + "\"");
    seconds = seconds * 60 + value;
    ++parts;
  }
  if (parts == 0 || parts > 3) throw std::runtime_error("--at wants a time such as 00:00:05.000, not \"" + text + "\"");
  return kelmediatypes::TickTime(static_cast<std::int64_t>(std::llround(seconds * 1000.0)) *
                                 (kelmediatypes::TickTime::kTicksPerSecond / 1000));
}

kelui::inkpad::Color ParseColor(const std::string& text) {
  if (text == "black") return {0, 0, 0, 1};
  if (text == "white") return {1, 1, 1, 1};
  if (text == "gray" || text == "grey") return {0.5f, 0.5f, 0.5f, 1};
  if (const auto color = kelcaption::ParseHexColor(text, false)) return {color->Red(), color->Green(), color->Blue(), 1};
  throw std::runtime_error("a colour is #RRGGBB, black, white or gray, not \"" + text + "\"");
}

using kelcaptioning::DefaultCaptionAreaSize;

const kelcaptioning::CaptioningRenderableModelPtr& ModelAt(const kelcaption::CaptionTimeline& timeline,
                                                           kelmediatypes::TickTime time) {
  static const kelcaptioning::CaptioningRenderableModelPtr kNothing;
  const kelcaption::TimedModel* state = timeline.At(time);
  return state ? state->model : kNothing;
}

// Draws the model into a cleared caption layer and lays that over `frame`: the window fills
// replace the layer's pixels, never the frame's.
void Burn(const kelcaptioning::CaptioningRenderableModelPtr& model, Frame& layer, Frame& frame) {
  layer.Clear();
  if (!model) return;
  kelcaptioningui::DrawCaption(model, &layer.Inkpad(),
                               {0, 0, static_cast<float>(frame.Width()), static_cast<float>(frame.Height())});
  frame.Composite(layer);
}

void PaintDemoBackground(Frame& frame) {
  const float w = static_cast<float>(frame.Width()), h = static_cast<float>(frame.Height());
  for (int band = 0; band < 8; ++band) {
    const float t = static_cast<float>(band) / 7.0f;
    frame.Surface().FillRect({0.15f + 0.3f * t, 0.3f, 0.45f - 0.25f * t, 1}, {w * static_cast<float>(band) / 8, 0, w / 8 + 1, h});
  }
}

int Demo(const std::string& folder) {
  std::filesystem::create_directories(folder);
  const Size size;
  Frame frame(size.width, size.height), layer(size.width, size.height);
  const auto write = [&](const kelcaptioning::CaptioningRenderableModelPtr& model, const std::string& name) {
    frame.Clear();
    PaintDemoBackground(frame);
    Burn(model, layer, frame);
    const std::string path = (std::filesystem::path(folder) / name).string();
    frame.WritePng(path);
    std::printf("  %s\n", path.c_str());
  };
  std::printf("kelcaption demo: writing %s/\n", folder.c_str());
  write(kelcaption::MakeGridShowcase(), "grid-showcase.png");
  write(kelcaption::MakeTypicalGridFrame(), "grid-typical.png");
  write(kelcaption::MakeGridSample(), "grid-sample.png");
  write(kelcaption::MakeSubtitleSample(), "subtitle.png");
  const std::pair<kelcaptioning::StreamFormat, const char*> formats[] = {
      {kelcaptioning::kStreamFormat_CEA608_CC1, "default-6CC1.png"},
      {kelcaptioning::kStreamFormat_TeletextLevel10, "default-TL10.png"},
      {kelcaptioning::kStreamFormat_TeletextLevel20, "default-TL20.png"},
      {kelcaptioning::kStreamFormat_OpenEBU, "default-OEBU.png"}};
  for (const auto& [format, name] : formats) {
    kelcaptioning::CaptionListPtr list;
    kelcaptioningui::GetDefaultCaptionList(&layer.Inkpad(), format, size.width, size.height, {1, 1}, false, 12, 40, list);
    write(kelcaptioning::MakeRenderableModel(format, *list->GetCaptions()[0], DefaultCaptionAreaSize(size.width),
                                             DefaultCaptionAreaSize(size.height)),
          name);
  }
  return 0;
}

int Render(const std::string& file, const std::string& sizeText, const std::string& at, const std::string& output,
           const std::string& background, const kelcaption::CaptionFileOptions& fileOptions) {
  const Size size = ParseSize(sizeText);
  const kelmediatypes::TickTime time = ParseTime(at);
  Frame frame(size.width, size.height), layer(size.width, size.height);
  const auto timeline = kelcaption::LoadCaptionFile(file, size.width, size.height, layer, fileOptions);
  if (!background.empty()) {
    if (std::filesystem::path(background).extension() == ".png") frame.ReadPng(background);
    else frame.Surface().FillRect(ParseColor(background), {0, 0, static_cast<float>(size.width), static_cast<float>(size.height)});
  }
  Burn(ModelAt(timeline, time), layer, frame);
  frame.WritePng(output);
  return 0;
}

int Rects(const std::string& file, const std::string& sizeText, const std::string& at,
          const kelcaption::CaptionFileOptions& fileOptions) {
  const Size size = ParseSize(sizeText);
  Frame layer(size.width, size.height);
  const auto timeline = kelcaption::LoadCaptionFile(file, size.width, size.height, layer, fileOptions);
  kelcaptioningui::CaptionRectList rects;
  if (const auto& model = ModelAt(timeline, ParseTime(at))) {
    kelcaptioningui::GetCaptionRects(model, &layer.Inkpad(),
                                     {0, 0, static_cast<float>(size.width), static_cast<float>(size.height)}, rects);
  }
  std::printf("[");
  for (std::size_t i = 0; i < rects.size(); ++i) {
    std::printf("%s\n  {\"x\": %g, \"y\": %g, \"width\": %g, \"height\": %g}", i ? "," : "", rects[i].x, rects[i].y,
                rects[i].width, rects[i].height);
  }
  std::printf("%s]\n", rects.empty() ? "" : "\n");
  return 0;
}

struct BurnOptions {
  std::string file;
  std::string size = "1920x1080";
  std::string fps = "30";
  std::string par = "1:1";
  std::string framesFolder;
  float scale = 1.0f;
  bool flip = false;
  bool debugWindows = false;
  long long count = 0;  // frames expected, for the time left; 0 when unknown
  kelcaption::CaptionFileOptions files;
};

// A fraction "N/D" or "N:D" or a plain number.
std::pair<long long, long long> ParseFraction(const std::string& text, const char* option) {
  long long n = 0, d = 1;
  char sep = 0, extra = 0;
  std::istringstream in(text);
  if (!(in >> n)) throw std::runtime_error(std::string(option) + " wants N/D or a number, not \"" + text + "\"");
  if (in >> sep) {
    if ((sep != '/' && sep != ':') || !(in >> d) || (in >> extra)) {
      throw std::runtime_error(std::string(option) + " wants N/D or a number, not \"" + text + "\"");
    }
  }
  if (n <= 0 || d <= 0) throw std::runtime_error(std::string(option) + " must be positive, not \"" + text + "\"");
  return {n, d};
}

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
      std::fprintf(stderr, "  [%s%s]  %.0f s left", std::string(static_cast<std::size_t>(std::min(filled, width)), '#').c_str(),
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
int BurnStream(const BurnOptions& options) {
  const Size size = ParseSize(options.size);
  const auto [fpsNum, fpsDen] = ParseFraction(options.fps, "--fps");
  const auto [parNum, parDen] = ParseFraction(options.par, "--par");
  if (!(options.scale > 0.0f) || options.scale > 16.0f) throw std::runtime_error("--scale must lie above 0 and at most 16");
  if (options.debugWindows) kelcore::utility::DebugDatabase::Instance().SetEntry("DebugCaptionWindows", "true");
  // Captions are laid out for the frame before scaling and drawn scaled into its pixels; rounding
  // down keeps the scaled surface inside the frame.
  const Size layout{std::max(1, static_cast<int>(static_cast<float>(size.width) / options.scale)),
                    std::max(1, static_cast<int>(static_cast<float>(size.height) / options.scale))};
  Frame frame(size.width, size.height), layer(size.width, size.height);
  const auto timeline = kelcaption::LoadCaptionFile(options.file, layout.width, layout.height, layer, options.files);
  if (!options.framesFolder.empty()) std::filesystem::create_directories(options.framesFolder);

  // The layer starts clear, which is what no state shows. `ink` holds what the layer may hold
  // besides zeros: all of it at first, since the captions were measured on the layer.
  const kelcaption::TimedModel* shown = nullptr;
  Frame::InkBox ink{0, size.height, 0, size.width};
  const std::size_t frameBytes = frame.Bytes().size();
  Progress progress(options.count);
  for (long long index = 0;; ++index) {
    std::size_t got = 0;
    while (got < frameBytes) {
      std::cin.read(reinterpret_cast<char*>(frame.Bytes().data()) + got, static_cast<std::streamsize>(frameBytes - got));
      const std::streamsize n = std::cin.gcount();
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (got == 0) break;
    if (got < frameBytes) {
      throw std::runtime_error("the input ended inside frame " + std::to_string(index + 1) + " (" + std::to_string(got) +
                               " of " + std::to_string(frameBytes) + " bytes); is --size right?");
    }
    // In 128 bits: at 30000/1001 the 64-bit product of frame, ticks and denominator overflows
    // after some 36,000 frames (20 minutes).
    __extension__ using Wide = __int128;
    const kelmediatypes::TickTime time(
        static_cast<std::int64_t>(Wide{index} * kelmediatypes::TickTime::kTicksPerSecond * fpsDen / fpsNum));
    // The layer is drawn again only when another state shows.
    if (const kelcaption::TimedModel* showing = timeline.At(time); showing != shown) {
      shown = showing;
      layer.Clear(ink);  // all that the last state drew
      if (shown) {
        kelcaptioningui::RenderOpenCaptions(shown->model, {0, 0, layout.width, layout.height},
                                            kelmediatypes::PixelAspectRatio(static_cast<std::uint32_t>(parNum),
                                                                            static_cast<std::uint32_t>(parDen)),
                                            reinterpret_cast<char*>(layer.Bytes().data()), size.width * 4,
                                            {0, 0, layout.width, layout.height}, {0, 0, layout.width, layout.height},
                                            layout.width, layout.height, options.flip, options.scale);
      }
      ink = layer.FindInk();  // once per change of captions, not per frame
    }
    if (shown) frame.Composite(layer, ink);
    if (options.framesFolder.empty()) {
      std::cout.write(reinterpret_cast<const char*>(frame.Bytes().data()), static_cast<std::streamsize>(frameBytes));
      if (!std::cout) throw std::runtime_error("cannot write frame " + std::to_string(index + 1) + " to standard output");
    } else {
      char name[32];
      std::snprintf(name, sizeof name, "frame-%06lld.png", index + 1);
      frame.WritePng((std::filesystem::path(options.framesFolder) / name).string());
    }
    progress.Frame(index + 1);
  }
  std::cout.flush();
  return 0;
}

// A document to standard output ("" or "-") or to a file, written through a temporary.
void WriteDocument(const std::string& document, const std::string& output) {
  if (output.empty() || output == "-") {
    std::fwrite(document.data(), 1, document.size(), stdout);
    return;
  }
  kelcaption::WriteThroughTemporary(output, [&document](const std::string& temporary) {
    std::ofstream out(temporary, std::ios::binary);
    out << document;
    return static_cast<bool>(out.flush());
  });
}

// The starting caption list of a new track of `code`, as a caption document.
int Defaults(const std::string& code, bool samples, const std::string& sizeText, const std::string& output) {
  const Size size = ParseSize(sizeText);
  const kelcaptioning::StreamFormat format = kelcaption::StreamFormatFromCode(code);
  Frame measuring(1, 1);
  kelcaptioning::CaptionListPtr list;
  kelcaptioningui::GetDefaultCaptionList(&measuring.Inkpad(), format, size.width, size.height, {1, 1}, samples,
                                         kelcaptioning::GetCaptionRows(format),
                                         kelcaptioning::GetCaptionColumns(format), list);
  WriteDocument(kelcaption::WriteCaptionDocument(*list), output);
  return 0;
}

// What FILE shows over time, as a model document: every state with its windows, cells and spans.
int States(const std::string& file, const std::string& sizeText, const std::string& output,
           const kelcaption::CaptionFileOptions& fileOptions) {
  const Size size = ParseSize(sizeText);
  Frame measuring(1, 1);
  WriteDocument(kelcaption::WriteModelDocument(kelcaption::LoadCaptionFile(file, size.width, size.height, measuring, fileOptions)),
                output);
  return 0;
}

int ExportSettings(const std::string& subject) {
  kelcaptioningui::Initialize();
  kelsol::SetModalRunner(std::make_shared<kelsol::TerminalRunner>(std::cin, std::cout));
  kelcaptioningui::CaptionSidecarSettingsDialog dialog(
      nullptr, nullptr, kelcaptioning::kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false,
      kelcaptioning::StreamFormatSet{kelcaptioning::kStreamFormat_CEA608_CC1}, kelcore::string::UTF8ToUTF16(subject));
  const bool ok = dialog.RunModal();
  kelsol::SetModalRunner(nullptr);
  kelcaptioningui::Terminate();
  if (!ok) {
    std::printf("\ncancelled\n");
    return 1;
  }
  std::printf("\nfile format: %s\ntime display: %s\nSRT styling: %s\n",
              kelcore::string::UTF16ToUTF8(kelcaptioning::GetDescriptionForFormat(dialog.GetFileFormat(), true)).c_str(),
              kelcore::string::UTF16ToUTF8(kelmediatypes::TimeDisplayDescription(dialog.GetTimeDisplay())).c_str(),
              dialog.GetIncludeSRTStyling() ? "yes" : "no");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"kelcaptioning: draws broadcast captions and subtitles into images."};
  app.require_subcommand(1);

  std::string demoFolder = "kelcaption-demo";
  CLI::App* demo = app.add_subcommand("demo", "Render the bundled samples (grid and open captions, every edge style, "
                                              "the caption symbol, new-track defaults) to PNGs");
  demo->add_option("--out", demoFolder, "Folder for the PNGs")->capture_default_str();

  std::string file, size = "1920x1080", at = "0", output, background;
  // Every subcommand that reads a caption file decodes SCC on the channel asked for.
  const auto addChannel = [](CLI::App* command, kelcaption::CaptionFileOptions& options) {
    command->add_option("--channel", options.channel, "Caption channel of .scc files: 1 (CC1) or 2 (CC2)")
        ->check(CLI::Range(1, 2))
        ->capture_default_str();
  };
  const std::string kinds = "(.srt, .vtt, .scc, .stl or .json)";
  kelcaption::CaptionFileOptions fileOptions;
  CLI::App* render = app.add_subcommand("render", "Draw the captions of FILE " + kinds + " shown at one time to a PNG");
  render->add_option("FILE", file, "Caption file")->required()->check(CLI::ExistingFile);
  render->add_option("--size", size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  render->add_option("--at", at, "Time: HH:MM:SS.mmm or seconds")->capture_default_str();
  render->add_option("-o,--output", output, "PNG to write")->required();
  render->add_option("--background", background, "Colour (#RRGGBB, black, white, gray) or a PNG of the frame size; "
                                                 "transparent without it");
  addChannel(render, fileOptions);

  CLI::App* rects = app.add_subcommand("rects", "Print, as JSON, the rectangles that the captions of FILE cover at one time");
  rects->add_option("FILE", file, "Caption file")->required()->check(CLI::ExistingFile);
  rects->add_option("--size", size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  rects->add_option("--at", at, "Time: HH:MM:SS.mmm or seconds")->capture_default_str();
  addChannel(rects, fileOptions);

  BurnOptions burnOptions;
  CLI::App* burn = app.add_subcommand(
      "burn", "Burn the captions of FILE " + kinds + " into raw BGRA frames read from standard input, written to standard "
              "output, for use between two ffmpeg processes:\n"
              "  ffmpeg -i in.mp4 -f rawvideo -pix_fmt bgra - | kelcaption burn subs.srt --size 1280x720 --fps 25 |\n"
              "  ffmpeg -f rawvideo -pix_fmt bgra -s 1280x720 -r 25 -i - out.mp4");
  burn->add_option("FILE", burnOptions.file, "Caption file")->required()->check(CLI::ExistingFile);
  burn->add_option("--size", burnOptions.size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  burn->add_option("--fps", burnOptions.fps, "Frame rate, N/D or a number (30000/1001)")->capture_default_str();
  burn->add_option("--frames", burnOptions.framesFolder, "Write a PNG per frame to this folder instead");
  burn->add_option("--scale", burnOptions.scale, "Draw captions laid out for a frame this many times smaller")
      ->capture_default_str();
  burn->add_flag("--flip", burnOptions.flip, "The frames are stored bottom row first");
  burn->add_option("--par", burnOptions.par, "Pixel aspect ratio N:D (passed on; captions are laid out on square "
                                             "pixels)")
      ->capture_default_str();
  burn->add_flag("--debug-windows", burnOptions.debugWindows, "Tint caption windows 0 to 7 (DebugCaptionWindows)");
  burn->add_option("--count", burnOptions.count, "Frames expected, for the time left in the progress line");
  addChannel(burn, burnOptions.files);

  std::string formatCode = "6CC1", defaultsOutput;
  bool samples = false;
  CLI::App* defaults = app.add_subcommand("defaults", "Write the caption list that a new track starts with, as a JSON "
                                                      "caption document (see tools/readers/caption-document.schema.json)");
  defaults->add_option("--format", formatCode, "Stream format: 6CC1, 708S, TL10, TL20, OEBU, OPEN, ...")->capture_default_str();
  defaults->add_flag("--samples", samples, "Position samples instead of one placeholder caption");
  defaults->add_option("--size", size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  defaults->add_option("-o,--output", defaultsOutput, "File to write (standard output without it)");

  std::string statesOutput;
  CLI::App* states = app.add_subcommand("states", "Write what FILE " + kinds + " shows over time as a JSON model "
                                                  "document: each state's windows, cells and spans, as they are drawn");
  states->add_option("FILE", file, "Caption file")->required()->check(CLI::ExistingFile);
  states->add_option("--size", size, "Frame size WIDTHxHEIGHT")->capture_default_str();
  states->add_option("-o,--output", statesOutput, "File to write (standard output without it)");
  addChannel(states, fileOptions);

  std::string subject;
  CLI::App* settings = app.add_subcommand("export-settings", "Ask in the terminal how captions are exported to a "
                                                              "sidecar file, and print the choices");
  settings->add_option("SUBJECT", subject, "Name shown in the title");

  CLI11_PARSE(app, argc, argv);
  int status = 0;
  try {
    if (*demo) status = Demo(demoFolder);
    if (*render) status = Render(file, size, at, output, background, fileOptions);
    if (*rects) status = Rects(file, size, at, fileOptions);
    if (*burn) status = BurnStream(burnOptions);
    if (*defaults) status = Defaults(formatCode, samples, size, defaultsOutput);
    if (*states) status = States(file, size, statesOutput, fileOptions);
    if (*settings) status = ExportSettings(subject);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kelcaption: %s\n", e.what());
    status = 1;
  }
  kelui::inkpad::ReleaseFontCaches();
  return status;
}

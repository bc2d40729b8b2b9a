// Throughput of `kelcaption burn` next to ffmpeg's libass `subtitles` filter: whole processes over
// the same raw 1920x1080 BGRA frames, raw frames out to /dev/null, nothing encoded. The caption
// work per frame of each side is its run with captions less its run without, over the frames.
// Processes are timed from outside, so this is a plain program printing a table rather than a
// Google Benchmark fixture. Usage:
//   kel_burn_throughput_bench [--frames N] [--runs R] [--dir DIR] [--kelcaption PATH] [--ffmpeg PATH]
//                             [--libass-style "ASS style fields" | default]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ProcessRuns.h"

namespace {

using kel_bench::Median;
using kel_bench::ReadText;
using kel_bench::Run;
using kel_bench::Timing;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFps = 30;
constexpr std::size_t kFrameBytes = std::size_t{kWidth} * kHeight * 4;
const std::string kSize = std::to_string(kWidth) + "x" + std::to_string(kHeight);

// libass sizes fonts against the 384x288 script that ffmpeg makes of an SRT; at 1080 lines
// FontSize 11 gives about the line width kelcaption draws at its 38 px, and Outline 0.8 its
// 3 px edge. No shadow, as kelcaption draws none. "--libass-style default" keeps ffmpeg's own
// style instead (16 of 288, about 60 px at 1080 lines, 4 px outline), which draws more.
constexpr const char* kLibassStyle = "FontName=Arial,FontSize=11,Outline=0.8,Shadow=0";

struct Options {
  long long frames = 600;
  int runs = 5;
  std::string dir = "/tmp/kel_burn_throughput";
  std::string kelcaption = KEL_BENCH_KELCAPTION;
  std::string ffmpeg = "ffmpeg";
  std::string libassStyle = kLibassStyle;
};

// The I/O floor: standard input to standard output a frame at a time, as kelcaption moves it.
int CopyStdin() {
  std::vector<char> buffer(kFrameBytes);
  for (;;) {
    const ssize_t got = read(0, buffer.data(), buffer.size());
    if (got == 0) return 0;
    if (got < 0) return 1;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = write(1, buffer.data() + done, static_cast<std::size_t>(got - done));
      if (put <= 0) return 1;
      done += put;
    }
  }
}

struct Variant {
  const char* name;
  std::vector<std::string> args;
  bool fromFrames;  // standard input is the frames, else /dev/null (ffmpeg opens them itself)
  std::vector<double> seconds{}, cpu{};
};

Options Parse(int argc, char** argv) {
  Options options;
  kel_bench::ForEachOption(argc, argv, [&](const std::string& arg, const std::string& value) {
    if (arg == "--frames") options.frames = std::stoll(value);
    else if (arg == "--runs") options.runs = std::stoi(value);
    else if (arg == "--dir") options.dir = value;
    else if (arg == "--kelcaption") options.kelcaption = value;
    else if (arg == "--ffmpeg") options.ffmpeg = value;
    else if (arg == "--libass-style") options.libassStyle = value == "default" ? "" : value;
    else throw std::runtime_error("unknown option " + arg);
  });
  if (options.frames <= 0 || options.runs <= 0) throw std::runtime_error("--frames and --runs must be positive");
  return options;
}

int Bench(const Options& o) {
  namespace fs = std::filesystem;
  fs::create_directories(o.dir);
  const std::string frames = (fs::path(o.dir) / "frames.bgra").string();
  const std::string subs = (fs::path(o.dir) / "subs.srt").string();
  const std::string log = (fs::path(o.dir) / "last-run.log").string();
  const std::string self = fs::read_symlink("/proc/self/exe").string();

  // Generated once; about 5 GB for 600 frames, which stays in the page cache on a machine with
  // the memory for it, so that every variant reads it at the same cost.
  const auto wanted = static_cast<std::uintmax_t>(o.frames) * kFrameBytes;
  if (!fs::exists(frames) || fs::file_size(frames) != wanted) {
    std::printf("generating %lld frames of %s BGRA into %s\n", o.frames, kSize.c_str(), frames.c_str());
    std::fflush(stdout);
    Run({o.ffmpeg, "-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
         "testsrc2=s=" + kSize + ":r=" + std::to_string(kFps), "-frames:v", std::to_string(o.frames), "-f", "rawvideo",
         "-pix_fmt", "bgra", frames},
        "/dev/null", log);
  }
  // One cue of two lines of 40 characters over the whole clip, so both sides build the caption
  // once and then pay only for putting it on every frame.
  const long long end = o.frames / kFps + 1;
  char endTime[32];
  std::snprintf(endTime, sizeof endTime, "%02lld:%02lld:%02lld,000", end / 3600, end / 60 % 60, end % 60);
  std::ofstream(subs) << "1\n00:00:00,000 --> " << endTime << "\n"
                      << "The quick brown fox jumps over a lazy dog\n"
                      << "while seven wizards quietly box the jugs\n\n";

  const std::string subtitlesFilter =
      "subtitles=filename='" + subs + "'" + (o.libassStyle.empty() ? "" : ":force_style='" + o.libassStyle + "'");
  const auto ffmpeg = [&](bool captions) {
    std::vector<std::string> args{o.ffmpeg, "-nostdin", "-hide_banner", "-loglevel", "error", "-f", "rawvideo",
                                  "-pix_fmt", "bgra", "-s", kSize, "-framerate", std::to_string(kFps), "-i", frames};
    if (captions) args.insert(args.end(), {"-vf", subtitlesFilter});
    args.insert(args.end(), {"-f", "rawvideo", "-pix_fmt", "bgra", "-"});
    return args;
  };
  std::vector<Variant> variants{
      {"copy stdin to stdout", {self, "--copy"}, true},
      {"kelcaption burn", {o.kelcaption, "burn", subs, "--size", kSize, "--fps", std::to_string(kFps)}, true},
      {"ffmpeg, no captions", ffmpeg(false), false},
      {"ffmpeg -vf subtitles", ffmpeg(true), false}};

  // A filter that cannot take BGRA gets conversions put around it, which would count as caption work.
  std::vector<std::string> probe = ffmpeg(true);
  probe[4] = "verbose";
  probe.insert(probe.end() - 5, {"-frames:v", "2"});
  Run(probe, "/dev/null", log);
  const std::string probeLog = ReadText(log);
  const bool converted = probeLog.find("auto_scale") != std::string::npos;

  // A round unmeasured fills the page cache and the font caches; then the variants take turns,
  // so that a slow spell of the machine falls on all of them.
  std::printf("warming up, then %d runs of each variant over %lld frames\n", o.runs, o.frames);
  std::fflush(stdout);
  for (Variant& v : variants) Run(v.args, v.fromFrames ? frames : "/dev/null", log);
  for (int run = 0; run < o.runs; ++run) {
    for (Variant& v : variants) {
      const Timing t = Run(v.args, v.fromFrames ? frames : "/dev/null", log);
      v.seconds.push_back(t.wall);
      v.cpu.push_back(t.cpu);
    }
  }

  const auto frameCount = static_cast<double>(o.frames);
  std::printf("\n%-22s %10s %10s %10s %10s %10s %10s\n", "variant", "median s", "fps", "min s", "max s", "ms/frame",
              "cpu s");
  std::vector<double> medians;
  for (const Variant& v : variants) {
    const double median = Median(v.seconds);
    medians.push_back(median);
    std::printf("%-22s %10.3f %10.1f %10.3f %10.3f %10.3f %10.3f\n", v.name, median, frameCount / median,
                *std::min_element(v.seconds.begin(), v.seconds.end()),
                *std::max_element(v.seconds.begin(), v.seconds.end()), median / frameCount * 1000.0, Median(v.cpu));
  }
  const double kelWork = (medians[1] - medians[0]) / frameCount * 1000.0;
  const double ffWork = (medians[3] - medians[2]) / frameCount * 1000.0;
  std::printf("\ncaption work per frame (medians, with captions less without):\n");
  std::printf("  kelcaption  %.3f ms  (kelcaption burn - copy)\n", kelWork);
  std::printf("  ffmpeg      %.3f ms  (-vf subtitles - no captions)\n", ffWork);
  std::printf("  ratio kelcaption/ffmpeg %.3f: kelcaption is %s\n", kelWork / ffWork,
              kelWork < ffWork ? "cheaper" : "NOT cheaper");
  std::printf("libass style: %s\n", o.libassStyle.empty() ? "ffmpeg's default" : o.libassStyle.c_str());
  std::printf("ffmpeg conversions around the subtitles filter: %s\n",
              converted ? "inserted (auto_scale in the verbose log)" : "none, it blends into BGRA as it stands");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--copy") == 0) return CopyStdin();
  try {
    return Bench(Parse(argc, argv));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kel_burn_throughput_bench: %s\n", e.what());
    return 1;
  }
}

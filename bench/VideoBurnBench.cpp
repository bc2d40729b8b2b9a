// The whole job of burning subtitles into a video file, side by side in one run on the same
// generated 1080p30 H.264 clip with the same encoder settings: a plain ffmpeg transcode without
// captions, ffmpeg's libass `subtitles` filter, and `kelcaption burn CAPTIONS VIDEO -o OUT`. Each
// is run with the encoder settings of the comparison (libx264 veryfast, CRF 18), and with faster
// ones so that the encoder does not hide what the captions cost: libx264 ultrafast, and raw
// video into NUT files in --out (memory-backed /dev/shm by default), where decoding is the most of
// the job. Then, optionally, peak memory of `kelcaption burn` over a short and a long input.
// Processes are timed from outside, so this is a plain program printing a table. Usage:
//   kel_video_burn_bench [--seconds S] [--runs R (0: memory only)] [--dir DIR] [--out DIR] [--memory-minutes M (0: skip)]
//                        [--kelcaption PATH] [--ffmpeg PATH]

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ProcessRuns.h"

namespace {

using kel_bench::Median;
using kel_bench::Run;

struct Options {
  int seconds = 20;
  int runs = 3;
  int memoryMinutes = 0;
  std::string dir = "/tmp/kel_video_burn_bench";
  std::string out = std::filesystem::exists("/dev/shm") ? "/dev/shm/kel_video_burn_bench" : "";
  std::string kelcaption = KEL_BENCH_KELCAPTION;
  std::string ffmpeg = "ffmpeg";
};

// libass sizes fonts against the 384x288 script that ffmpeg makes of an SRT; FontSize 11 and
// Outline 0.8 draw about what kelcaption draws at 1080 lines (see kel_burn_throughput_bench).
constexpr const char* kLibassStyle = "FontName=Arial,FontSize=11,Outline=0.8,Shadow=0";

Options Parse(int argc, char** argv) {
  Options options;
  kel_bench::ForEachOption(argc, argv, [&](const std::string& arg, const std::string& value) {
    if (arg == "--seconds") options.seconds = std::stoi(value);
    else if (arg == "--runs") options.runs = std::stoi(value);
    else if (arg == "--memory-minutes") options.memoryMinutes = std::stoi(value);
    else if (arg == "--dir") options.dir = value;
    else if (arg == "--out") options.out = value;
    else if (arg == "--kelcaption") options.kelcaption = value;
    else if (arg == "--ffmpeg") options.ffmpeg = value;
    else throw std::runtime_error("unknown option " + arg);
  });
  if (options.seconds <= 0 || options.runs < 0 || options.memoryMinutes < 0)
    throw std::runtime_error("--seconds must be positive, --runs and --memory-minutes not negative");
  if (options.out.empty()) options.out = options.dir;
  return options;
}

std::string Clock(int seconds, int millis) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", seconds / 3600, seconds / 60 % 60, seconds % 60, millis);
  return text;
}

// A two-line subtitle every four seconds, shown for two and a half.
void WriteSubtitles(const std::string& path, int seconds) {
  std::ofstream out(path);
  for (int cue = 0; cue * 4 < seconds; ++cue) {
    out << cue + 1 << "\n" << Clock(cue * 4, 500) << " --> " << Clock(cue * 4 + 3, 0) << "\n"
        << "Subtitle " << cue + 1 << ": the quick brown fox jumps\n"
        << "over the lazy dog while wizards box jugs\n\n";
  }
}

struct Variant {
  std::string name;
  std::vector<std::string> args;
  std::vector<double> seconds{}, cpu{};
};

int Bench(const Options& o) {
  namespace fs = std::filesystem;
  fs::create_directories(o.dir);
  const auto in = [&](const std::string& name) { return (fs::path(o.dir) / name).string(); };
  const std::string clip = in("clip.mp4"), subs = in("subs.srt"), log = in("last-run.log");
  const std::vector<std::string> quiet{"-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
  const auto ffmpeg = [&](std::vector<std::string> args) {
    args.insert(args.begin(), quiet.begin(), quiet.end());
    args.insert(args.begin(), o.ffmpeg);
    return args;
  };

  const std::string clipMark = in("clip-" + std::to_string(o.seconds) + "s");
  if (!fs::exists(clipMark)) {
    std::printf("generating a %d s 1080p30 H.264 clip with AAC sound in %s\n", o.seconds, clip.c_str());
    std::fflush(stdout);
    Run(ffmpeg({"-f", "lavfi", "-i", "testsrc2=s=1920x1080:r=30:d=" + std::to_string(o.seconds), "-f", "lavfi", "-i",
                "sine=f=440:d=" + std::to_string(o.seconds), "-c:v", "libx264", "-preset", "veryfast", "-crf", "20",
                "-pix_fmt", "yuv420p", "-c:a", "aac", clip}),
        "/dev/null", log);
    std::ofstream{clipMark};
  }
  WriteSubtitles(subs, o.seconds);

  // Encoder settings as ffmpeg takes them and as kelcaption does.
  struct Encoding {
    std::string name;
    std::vector<std::string> ffmpeg, kelcaption;
    std::string extension;
  };
  const auto x264 = [](const std::string& preset) {
    return Encoding{preset,
                    {"-c:v", "libx264", "-preset", preset, "-crf", "18"},
                    {"--codec", "libx264", "--preset", preset, "--crf", "18"},
                    ".mp4"};
  };
  const std::vector<Encoding> encodings = {
      x264("veryfast"), x264("ultrafast"), {"raw video", {"-c:v", "rawvideo"}, {"--codec", "rawvideo"}, ".nut"}};
  fs::create_directories(o.out);
  const auto output = [&](const std::string& name) { return (fs::path(o.out) / name).string(); };
  const auto plain = [&](const Encoding& encoding, bool captions) {
    std::vector<std::string> args{"-i", clip};
    if (captions) args.insert(args.end(), {"-vf", "subtitles=filename='" + subs + "':force_style='" + kLibassStyle + "'"});
    args.insert(args.end(), encoding.ffmpeg.begin(), encoding.ffmpeg.end());
    args.insert(args.end(), {"-c:a", "copy", output("ffmpeg" + encoding.extension)});
    return ffmpeg(args);
  };
  const auto kelcaption = [&](const Encoding& encoding, const std::string& input) {
    std::vector<std::string> args{o.kelcaption, "burn", subs, input, "-o", output("kelcaption" + encoding.extension), "--quiet"};
    args.insert(args.end(), encoding.kelcaption.begin(), encoding.kelcaption.end());
    return args;
  };
  std::vector<Variant> variants;
  for (const Encoding& encoding : encodings) {
    variants.push_back({"ffmpeg transcode, " + encoding.name, plain(encoding, false)});
    variants.push_back({"ffmpeg -vf subtitles, " + encoding.name, plain(encoding, true)});
    variants.push_back({"kelcaption burn, " + encoding.name, kelcaption(encoding, clip)});
  }

  // --runs 0 measures the memory alone.
  if (o.runs > 0) {
    // One round unmeasured fills the page cache and the font caches; then the variants take turns,
    // so that a slow spell of the machine falls on all of them.
    std::printf("warming up, then %d runs of each variant over %d s (%d frames)\n", o.runs, o.seconds, o.seconds * 30);
    std::fflush(stdout);
    for (Variant& v : variants) Run(v.args, "/dev/null", log);
    for (int run = 0; run < o.runs; ++run) {
      for (Variant& v : variants) {
        const kel_bench::Timing t = Run(v.args, "/dev/null", log);
        v.seconds.push_back(t.wall);
        v.cpu.push_back(t.cpu);
      }
    }

    const double frames = o.seconds * 30.0;
    std::printf("\n%-34s %9s %9s %9s %9s\n", "variant", "median s", "min s", "max s", "cpu s");
    std::vector<double> wall, cpu;
    for (const Variant& v : variants) {
      wall.push_back(Median(v.seconds));
      cpu.push_back(Median(v.cpu));
      std::printf("%-34s %9.3f %9.3f %9.3f %9.3f\n", v.name.c_str(), wall.back(),
                  *std::min_element(v.seconds.begin(), v.seconds.end()),
                  *std::max_element(v.seconds.begin(), v.seconds.end()), cpu.back());
    }
    std::printf("\nwhole job (veryfast): kelcaption / plain transcode %.3f (target at most 1.03: %s); "
                "kelcaption / -vf subtitles %.3f (%s)\n",
                wall[2] / wall[0], wall[2] / wall[0] <= 1.03 ? "met" : "NOT met", wall[2] / wall[1],
                wall[2] < wall[1] ? "faster: met" : "NOT faster");
    for (std::size_t e = 1; e < encodings.size(); ++e) {
      const std::size_t first = e * 3;
      const double kelAdded = (wall[first + 2] - wall[first]) / frames * 1000;
      const double subsAdded = (wall[first + 1] - wall[first]) / frames * 1000;
      const double kelAddedCpu = (cpu[first + 2] - cpu[first]) / frames * 1000;
      const double subsAddedCpu = (cpu[first + 1] - cpu[first]) / frames * 1000;
      std::printf("added per frame over the plain transcode (%s): kelcaption %.3f ms wall, %.3f ms cpu; "
                  "subtitles filter %.3f ms wall, %.3f ms cpu; ratio %.3f wall, %.3f cpu (target at most 0.1)\n",
                  encodings[e].name.c_str(), kelAdded, kelAddedCpu, subsAdded, subsAddedCpu, kelAdded / subsAdded,
                  kelAddedCpu / subsAddedCpu);
    }
  }

  if (o.memoryMinutes > 0) {
    // The long input is the clip over and over, copied without encoding.
    const std::string list = in("long.txt"), longClip = in("long-" + std::to_string(o.memoryMinutes) + "min.mp4");
    if (!fs::exists(longClip)) {
      std::ofstream out(list);
      for (int s = 0; s < o.memoryMinutes * 60; s += o.seconds) out << "file '" << clip << "'\n";
      out.close();
      Run(ffmpeg({"-f", "concat", "-safe", "0", "-i", list, "-c", "copy", longClip}), "/dev/null", log);
    }
    std::printf("\npeak resident memory of kelcaption burn (ultrafast):\n");
    std::fflush(stdout);
    for (const std::string& input : {clip, longClip}) {
      const kel_bench::Timing t = Run(kelcaption(encodings[1], input), "/dev/null", log);
      std::printf("  %-40s %8.1f MiB  (%.1f s)\n", fs::path(input).filename().c_str(), t.peakMiB, t.wall);
      std::fflush(stdout);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Bench(Parse(argc, argv));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kel_video_burn_bench: %s\n", e.what());
    return 1;
  }
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/ToolShell.h"

// `kelcaption burn CAPTIONS VIDEO -o OUT` on small clips that ffmpeg makes from its lavfi sources,
// checked with ffprobe and ffmpeg.

namespace {

using kel_test::Shell;

const std::string kSrt = std::string(KEL_DATA) + "/short.srt";  // 1 to 3 s two lines, 4 to 5 s one line

class VideoBurn : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { dir_ = kel_test::ScratchFolder("kelcaption-video"); }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }
  void SetUp() override {
    if (!kel_test::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    std::filesystem::create_directories(dir_);
  }

  static std::string Path(const std::string& name) { return (dir_ / name).string(); }

  // Makes `name` with ffmpeg from `inputs` (lavfi sources and the like) and `settings`; once per run.
  static std::string Make(const std::string& name, const std::string& inputs, const std::string& settings) {
    const std::string path = Path(name);
    if (!std::filesystem::exists(path)) {
      EXPECT_NE(Shell("ffmpeg -loglevel error -y " + inputs + " " + settings + " '" + path + "'"), "FAILED") << name;
    }
    return path;
  }

  // Runs the tool; its exit status, with standard error in `errors`.
  static int Burn(const std::string& arguments, std::string* errors = nullptr) {
    const std::string log = Path("stderr.txt");
    const int status = std::system(("'" + std::string(KEL_TOOL) + "' burn " + arguments + " 2>'" + log + "'").c_str());
    if (errors) {
      std::ifstream in(log);
      errors->assign(std::istreambuf_iterator<char>(in), {});
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::string Probe(const std::string& file, const std::string& entries, const std::string& streams = "v:0") {
    return Shell("ffprobe -v error -select_streams " + streams + " -show_entries " + entries +
                 " -of default=noprint_wrappers=1 '" + file + "'");
  }

  // The frames of `file` as raw `format` pixels, one string.
  static std::string Frames(const std::string& file, const std::string& format, const std::string& filter = "") {
    return Shell("ffmpeg -loglevel error -i '" + file + "' " + filter + " -f rawvideo -pix_fmt " + format + " -");
  }

  static std::filesystem::path dir_;
};
std::filesystem::path VideoBurn::dir_;

// A 10 frames-a-second H.264 clip of a plain colour with a sine tone, tagged BT.709, a title and a
// time code, as cameras and editors write them.
std::string H264Clip(const std::string& name) {
  return "-f lavfi -i color=c=0x336699:s=320x180:r=10:d=5.5 -f lavfi -i sine=f=440:d=5.5 -c:v libx264 -preset ultrafast "
         "-pix_fmt yuv420p -colorspace bt709 -color_primaries bt709 -color_trc bt709 -color_range tv -c:a aac "
         "-metadata title=" + name + " -timecode 01:00:00:00";
}

// Luma differs from the input's by more than coding noise in this many pixels of each frame.
std::vector<long> CaptionPixelsPerFrame(const std::string& in, const std::string& out, int width, int height) {
  const auto luma = [](const std::string& file) {
    return Shell("ffmpeg -loglevel error -i '" + file + "' -fps_mode passthrough -f rawvideo -pix_fmt gray -");
  };
  const std::string before = luma(in), after = luma(out);
  std::vector<long> counts;
  const std::size_t frame = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (before.size() != after.size() || before.size() % frame != 0) return counts;
  for (std::size_t f = 0; f < before.size() / frame; ++f) {
    long n = 0;
    for (std::size_t i = f * frame; i < (f + 1) * frame; ++i) n += std::abs(before[i] - after[i]) > 24;
    counts.push_back(n);
  }
  return counts;
}

// Captions come and go on the frames whose times `rects --at` shows them at; the encoder, pixel
// format, colour tags, container tags and time code are the input's.
TEST_F(VideoBurn, H264KeepsItsFormatAndCaptionsFollowTheFrameTimes) {
  const std::string in = Make("in.mp4", "", H264Clip("Sample")), out = Path("out.mp4");
  std::string errors;
  ASSERT_EQ(Burn("'" + kSrt + "' '" + in + "' -o '" + out + "'", &errors), 0) << errors;
  EXPECT_EQ(errors, "");  // no progress line when standard error is no terminal
  EXPECT_FALSE(std::filesystem::exists(out + ".partial"));
  const std::string entries = "stream=codec_name,pix_fmt,width,height,color_range,color_space,color_transfer,"
                              "color_primaries:stream_tags=timecode";
  EXPECT_EQ(Probe(out, entries), Probe(in, entries));
  EXPECT_NE(Probe(out, entries).find("timecode=01:00:00:0"), std::string::npos) << Probe(out, entries);
  EXPECT_EQ(Probe(out, "format_tags=title"), "TAG:title=Sample\n");

  const std::vector<long> counts = CaptionPixelsPerFrame(in, out, 320, 180);
  ASSERT_EQ(counts.size(), 55u);
  for (const int n : {0, 9, 10, 20, 29, 30, 35, 39, 40, 49, 50, 54}) {
    const bool shown = !kel_test::CaptionBoxes(kSrt, "320x180", std::to_string(n / 10.0)).empty();
    EXPECT_EQ(counts[static_cast<std::size_t>(n)] > 30, shown) << "frame " << n << ": " << counts[static_cast<std::size_t>(n)];
  }
}

// The audio packets come out as they went in, bit for bit and at the same times.
TEST_F(VideoBurn, AudioIsCopiedBitForBit) {
  const std::string in = Make("in.mp4", "", H264Clip("Sample")), out = Path("audio.mp4");
  ASSERT_EQ(Burn("'" + kSrt + "' '" + in + "' -o '" + out + "' --preset ultrafast"), 0);
  const auto packets = [](const std::string& file) {
    return Shell("ffmpeg -loglevel error -i '" + file + "' -map 0:a -c copy -f framemd5 - | grep -v '^#'");
  };
  EXPECT_GT(packets(in).size(), 1000u);
  EXPECT_EQ(packets(out), packets(in));
}

// A 10-bit PQ clip through libx265 stays 10-bit PQ HEVC, and caption white sits at graphics white
// (58 % of the PQ range), far below peak white.
TEST_F(VideoBurn, TenBitHdrStaysHdrWithWhiteAtGraphicsWhite) {
  const std::string in = Make("hdr.mkv", "-f lavfi -i color=c=black:s=480x270:r=10:d=2",
                              "-c:v libx265 -preset ultrafast -x265-params log-level=error -pix_fmt yuv420p10le "
                              "-colorspace bt2020nc -color_primaries bt2020 -color_trc smpte2084 -color_range tv");
  const std::string out = Path("hdr-out.mkv");
  std::string errors;
  ASSERT_EQ(Burn("'" + kSrt + "' '" + in + "' -o '" + out + "' --preset ultrafast --crf 4", &errors), 0) << errors;
  const std::string entries = "stream=codec_name,pix_fmt,color_space,color_transfer,color_primaries,color_range";
  EXPECT_EQ(Probe(out, entries), Probe(in, entries));
  const std::string frame = Frames(out, "yuv420p10le", "-ss 1.5 -frames:v 1");
  ASSERT_EQ(frame.size(), 480u * 270u * 3u);
  std::vector<std::uint16_t> luma(480 * 270);
  std::memcpy(luma.data(), frame.data(), luma.size() * 2);
  // Graphics white is code 572; the thin strokes of small text reach a little less.
  const std::uint16_t brightest = *std::max_element(luma.begin(), luma.end());
  EXPECT_GT(brightest, 500);
  EXPECT_LT(brightest, 600);
}

// An odd frame size keeps every pixel row and column, and the captions lie where `rects` says.
TEST_F(VideoBurn, OddFrameSizeIsKept) {
  const std::string in = Make("odd.mkv", "-f lavfi -i color=c=0x336699:s=1279x719:r=2:d=2,format=rgb24", "-c:v ffv1 -pix_fmt yuv420p");
  const std::string out = Path("odd-out.mkv");
  ASSERT_EQ(Burn("'" + kSrt + "' '" + in + "' -o '" + out + "'"), 0);
  EXPECT_EQ(Probe(out, "stream=width,height,pix_fmt"), "width=1279\nheight=719\npix_fmt=yuv420p\n");
  const std::string frame = Frames(out, "bgra", "-ss 1.5 -frames:v 1"), before = Frames(in, "bgra", "-ss 1.5 -frames:v 1");
  ASSERT_EQ(frame.size(), 1279u * 719u * 4u);
  ASSERT_EQ(before.size(), frame.size());
  const auto [inside, outside] = kel_test::CountDiffering(frame, 1279, reinterpret_cast<const unsigned char*>(before.data()),
                                                          kel_test::CaptionBoxes(kSrt, "1279x719", "1.5"), 8, 4);
  EXPECT_GT(inside, 1000);
  EXPECT_EQ(outside, 0);
}

// Into BGRA frames the captions go through the same compositor as `render`: the same pixels.
TEST_F(VideoBurn, RgbFramesEqualRender) {
  const std::string in = Make("bgra.mkv", "-f lavfi -i color=c=0x336699:s=320x180:r=4:d=2", "-c:v ffv1 -pix_fmt bgra");
  const std::string out = Path("bgra-out.mkv"), background = Path("background.png"), rendered = Path("rendered.png");
  ASSERT_EQ(Burn("'" + kSrt + "' '" + in + "' -o '" + out + "'"), 0);
  EXPECT_EQ(Probe(out, "stream=codec_name,pix_fmt"), "codec_name=ffv1\npix_fmt=bgra\n");
  ASSERT_NE(Shell("ffmpeg -loglevel error -y -i '" + in + "' -frames:v 1 '" + background + "'"), "FAILED");
  ASSERT_NE(Shell("'" + std::string(KEL_TOOL) + "' render '" + kSrt + "' --size 320x180 --at 1.5 --background '" +
                  background + "' -o '" + rendered + "'"),
            "FAILED");
  const std::string burned = Frames(out, "bgra", "-vf 'select=eq(n\\,6)' -fps_mode passthrough");
  ASSERT_EQ(burned.size(), 320u * 180u * 4u);
  EXPECT_TRUE(burned == Frames(rendered, "bgra")) << "frame 6 (1.5 s) is not what render draws";
}

// Frames that come at irregular times get the captions of their own times, not of their index.
TEST_F(VideoBurn, VariableFrameRateTakesEachFramesTime) {
  // Frames 0 to 9 every 0.1 s, then frames 10 to 19 every 0.5 s from 1.5 s.
  const std::string in = Make("vfr.mkv", "-f lavfi -i color=c=0x336699:s=320x180:r=10:d=2",
                              "-vf \"setpts='if(lt(N,10),N*0.1,1.5+(N-10)*0.5)/TB'\" -fps_mode passthrough -c:v ffv1");
  const std::string out = Path("vfr-out.mkv");
  ASSERT_EQ(Burn("'" + kSrt + "' '" + in + "' -o '" + out + "'"), 0);
  EXPECT_EQ(Shell("ffprobe -v error -select_streams v -show_entries frame=pts_time -of csv=p=0 '" + out + "' | tr '\\n' ' '"),
            Shell("ffprobe -v error -select_streams v -show_entries frame=pts_time -of csv=p=0 '" + in + "' | tr '\\n' ' '"));
  const std::vector<long> counts = CaptionPixelsPerFrame(in, out, 320, 180);
  ASSERT_EQ(counts.size(), 20u);
  // 1.5, 2.0, 2.5: the first cue; 3.0, 3.5: nothing; 4.0, 4.5: the second; 5.0 on: nothing.
  const std::vector<bool> shown = {false, false, false, false, false, false, false, false, false, false,
                                   true,  true,  true,  false, false, true,  true,  false, false, false};
  for (std::size_t n = 0; n < counts.size(); ++n) EXPECT_EQ(counts[n] > 30, shown[n]) << "frame " << n;
}

// SCC captions at 01:00:00:00 appear on a video whose time code starts there as they would at
// 00:00:00:00; on a video without one they show nothing and say so, until --offset moves them.
TEST_F(VideoBurn, SccTimeCodesMatchTheVideosTimeCode) {
  std::ifstream in(std::string(KEL_DATA) + "/short.scc");
  std::string scc{std::istreambuf_iterator<char>(in), {}};
  for (std::size_t at = 0; (at = scc.find("\n00:", at)) != std::string::npos; ++at) scc[at + 2] = '1';
  std::ofstream(Path("hour.scc")) << scc;
  const std::string clip = "-f lavfi -i color=c=0x336699:s=320x180:r=30000/1001:d=3 -c:v libx264 -preset ultrafast -pix_fmt yuv420p";
  const std::string timed = Make("timecoded.mp4", "", clip + " -timecode 01:00:00:00"), plain = Make("plain.mp4", "", clip);
  // As in BurnEndToEnd.SccCaptionsComeAndGoAtTheirFrames, which burns the file at 00:00:00:00.
  const std::vector<std::pair<std::size_t, bool>> expected = {{21, false}, {22, true}, {44, true}, {45, false},
                                                              {63, false}, {64, true}, {79, true}, {80, false}};
  const auto check = [&](const std::string& input, const std::string& out) {
    const std::vector<long> counts = CaptionPixelsPerFrame(input, out, 320, 180);
    ASSERT_EQ(counts.size(), 90u);
    for (const auto& [frame, shown] : expected) EXPECT_EQ(counts[frame] > 30, shown) << out << " frame " << frame;
  };
  std::string errors;
  ASSERT_EQ(Burn("'" + Path("hour.scc") + "' '" + timed + "' -o '" + Path("timed-out.mp4") + "'", &errors), 0);
  EXPECT_NE(errors.find("time codes start at the video's, 01:00:00:00"), std::string::npos) << errors;
  check(timed, Path("timed-out.mp4"));

  ASSERT_EQ(Burn("'" + Path("hour.scc") + "' '" + plain + "' -o '" + Path("plain-out.mp4") + "'", &errors), 0);
  EXPECT_NE(errors.find("shows nothing during the video: its captions run from 01:00:0"), std::string::npos) << errors;
  ASSERT_EQ(Burn("'" + Path("hour.scc") + "' '" + plain + "' -o '" + Path("offset-out.mp4") + "' --offset -01:00:00:00", &errors), 0);
  EXPECT_EQ(errors, "");
  check(plain, Path("offset-out.mp4"));
}

// A cut-short file and Ctrl-C fail the run and leave neither OUT nor its temporary.
TEST_F(VideoBurn, DamagedInputAndInterruptionLeaveNoOutput) {
  const std::string in = Make("in.mp4", "", H264Clip("Sample"));
  const std::string cut = Path("cut.mp4"), out = Path("never.mp4");
  ASSERT_NE(Shell("head -c " + std::to_string(std::filesystem::file_size(in) / 2) + " '" + in + "' > '" + cut + "'"), "FAILED");
  std::string errors;
  EXPECT_EQ(Burn("'" + kSrt + "' '" + cut + "' -o '" + out + "'", &errors), 1);
  EXPECT_NE(errors.find("cut.mp4"), std::string::npos) << errors;
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_FALSE(std::filesystem::exists(out + ".partial"));

  // The video comes from ffmpeg in real time through a pipe, so the burn is still running when
  // Ctrl-C comes.
  const std::string fifo = Path("live.nut");
  std::filesystem::remove(fifo);
  ASSERT_NE(Shell("mkfifo '" + fifo + "'"), "FAILED");
  const std::string live = "ffmpeg -loglevel quiet -re -f lavfi -i color=c=0x336699:s=160x90:r=10:d=30 -c:v ffv1 "
                           "-flush_packets 1 -f nut -y '" + fifo + "' & feeder=$!; ";
  // Ctrl-C comes once the burn is writing (whatever the machine's load), through a watcher that
  // knows the tool's process. The feeder is killed afterwards: ffmpeg restarts an open() of the
  // pipe after a gentler signal, and would wait forever if the burn never opened it.
  const std::string pidFile = Path("burn.pid");
  const std::string watcher = "( for i in $(seq 600); do [ -e '" + out + ".partial' ] && break; sleep 0.1; done; sleep 0.5; "
                              "kill -INT $(cat '" + pidFile + "') ) & watcher=$!; ";
  const std::string result = Shell(live + watcher + "sh -c 'echo $$ > \"$0\"; exec \"$@\"' '" + pidFile + "' '" +
                                   std::string(KEL_TOOL) + "' burn '" + kSrt + "' '" + fifo + "' -o '" + out +
                                   "' 2>&1; echo \"status=$?\"; kill -KILL $feeder $watcher 2>/dev/null; wait");
  EXPECT_NE(result.find("interrupted"), std::string::npos) << result;
  EXPECT_NE(result.find("status=1"), std::string::npos) << result;
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_FALSE(std::filesystem::exists(out + ".partial"));
}

// What cannot work is said before anything is read.
TEST_F(VideoBurn, WrongUsageIsRefused) {
  const std::string in = Make("in.mp4", "", H264Clip("Sample"));
  std::string errors;
  EXPECT_EQ(Burn("'" + kSrt + "' '" + in + "'", &errors), 2);
  EXPECT_NE(errors.find("needs -o OUT"), std::string::npos) << errors;
  EXPECT_EQ(Burn("'" + kSrt + "' '" + in + "' -o x.mp4 --size 320x180", &errors), 2);
  EXPECT_NE(errors.find("--size: for raw frames"), std::string::npos) << errors;
  EXPECT_EQ(Burn("'" + kSrt + "' '" + in + "' -o '" + in + "'", &errors), 2);
  EXPECT_EQ(Burn("'" + kSrt + "' '" + in + "' -o '" + Path("x.mp4") + "' --codec nosuchcodec", &errors), 2);
  EXPECT_NE(errors.find("no encoder named"), std::string::npos) << errors;
  EXPECT_EQ(Burn("'" + kSrt + "' '" + in + "' -o '" + Path("x.unknownkind") + "'", &errors), 2);
  EXPECT_FALSE(std::filesystem::exists(Path("x.mp4")));
  EXPECT_EQ(Burn("'" + kSrt + "' --size 16x16 < /dev/null", &errors), 2);
  EXPECT_NE(errors.find("need --size and --fps"), std::string::npos) << errors;
}

}  // namespace

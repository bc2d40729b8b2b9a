#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/CcDataLines.h"
#include "tools/ToolShell.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
}

// Captions that a video's pictures carry: an H.264 clip made here with caption data attached to
// its pictures (libx264 writes it as SEI), read back by the tool and burned into the clip.

namespace {

using kel_test::Shell;

constexpr int kWidth = 640, kHeight = 360, kFrames = 100;

// What field 1 of each frame carries: "AB" from frame 10 (shown from frame 17, where the first
// copy of its end-of-caption code arrives), "CD" from frame 50 (shown from 57), erased at 80.
std::vector<std::pair<std::uint8_t, std::uint8_t>> Field1() {
  std::vector<std::pair<std::uint8_t, std::uint8_t>> pairs(kFrames, {0x80, 0x80});
  const auto put = [&pairs](int from, const std::vector<std::pair<std::uint8_t, std::uint8_t>>& codes) {
    for (std::size_t i = 0; i < codes.size(); ++i) pairs[static_cast<std::size_t>(from) + i] = codes[i];
  };
  put(10, kel_test::PopOnPairs("AB"));
  put(50, kel_test::PopOnPairs("CD"));
  put(80, {{0x94, 0x2C}, {0x94, 0x2C}});  // erase displayed memory
  return pairs;
}

// Encodes a grey clip at 30000/1001 whose frame N carries field 1 pair N, as raw H.264, and puts
// it in an MP4 with ffmpeg.
bool MakeClip(const std::string& path) {
  const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
  if (codec == nullptr) return false;
  std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> encoder(avcodec_alloc_context3(codec),
                                                                      [](AVCodecContext* c) { avcodec_free_context(&c); });
  encoder->width = kWidth;
  encoder->height = kHeight;
  encoder->pix_fmt = AV_PIX_FMT_YUV420P;
  encoder->time_base = {1001, 30000};
  encoder->framerate = {30000, 1001};
  encoder->max_b_frames = 0;
  av_opt_set(encoder->priv_data, "preset", "ultrafast", 0);
  if (avcodec_open2(encoder.get(), codec, nullptr) < 0) return false;
  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(), [](AVPacket* p) { av_packet_free(&p); });
  std::ofstream out(path + ".h264", std::ios::binary);
  const auto drain = [&] {
    while (avcodec_receive_packet(encoder.get(), packet.get()) == 0) {
      out.write(reinterpret_cast<const char*>(packet->data), packet->size);
      av_packet_unref(packet.get());
    }
  };
  const auto field1 = Field1();
  for (int n = 0; n < kFrames; ++n) {
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = kWidth;
    frame->height = kHeight;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return false;
    for (int plane = 0; plane < 3; ++plane) {
      const int rows = plane == 0 ? kHeight : kHeight / 2;
      for (int y = 0; y < rows; ++y) std::fill_n(frame->data[plane] + y * frame->linesize[plane], frame->linesize[plane], 128);
    }
    frame->pts = n;
    const std::vector<kelcaptionfiles::CcData> triplets = kel_test::FrameTriplets(field1[static_cast<std::size_t>(n)]);
    AVFrameSideData* side = av_frame_new_side_data(frame.get(), AV_FRAME_DATA_A53_CC, triplets.size() * 3);
    if (side == nullptr) return false;
    for (std::size_t i = 0; i < triplets.size(); ++i) {
      side->data[3 * i] = static_cast<std::uint8_t>(0xF8 | (triplets[i].valid ? 4 : 0) | triplets[i].type);
      side->data[3 * i + 1] = triplets[i].first;
      side->data[3 * i + 2] = triplets[i].second;
    }
    if (avcodec_send_frame(encoder.get(), frame.get()) < 0) return false;
    av_frame_unref(frame.get());
    drain();
  }
  avcodec_send_frame(encoder.get(), nullptr);
  drain();
  out.close();
  return Shell("ffmpeg -loglevel error -y -framerate 30000/1001 -i '" + path + ".h264' -c copy '" + path + "'") != "FAILED";
}

class EmbeddedCaptions : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = kel_test::ScratchFolder("kelcaption-embedded");
    std::filesystem::create_directories(dir_);
    if (kel_test::HaveFfmpeg()) made_ = MakeClip(Clip());
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }
  void SetUp() override {
    if (!made_) GTEST_SKIP() << "ffmpeg or libx264 is not installed";
  }
  static std::string Clip() { return (dir_ / "captioned.mp4").string(); }
  static std::string Tool(const std::string& arguments) { return Shell("'" + std::string(KEL_TOOL) + "' " + arguments + " 2>&1"); }

  static std::filesystem::path dir_;
  static bool made_;
};
std::filesystem::path EmbeddedCaptions::dir_;
bool EmbeddedCaptions::made_ = false;

TEST_F(EmbeddedCaptions, InfoListsTheChannelThatShowsSomething) {
  const std::string info = Tool("info '" + Clip() + "'");
  EXPECT_NE(info.find("video; caption data in its pictures (A/53)"), std::string::npos) << info;
  // Frames 17 and 57 at 30000/1001, in drop-frame time codes as NTSC video is counted.
  EXPECT_NE(info.find("  CC1: 2 captions shown, the first at 00:00:00;17, the last at 00:00:01;27"), std::string::npos)
      << info;
  EXPECT_EQ(info.find("CC3"), std::string::npos) << info;
  EXPECT_NE(info.find("shown by default: CC1"), std::string::npos) << info;
}

// Each caption goes on the frames from the one whose data completes it; the video's own
// captions, read while decoding, are the ones burned.
TEST_F(EmbeddedCaptions, BurnedCaptionsGoOnTheFramesWhereTheirDataArrives) {
  const std::string out = (dir_ / "burned.mp4").string();
  ASSERT_EQ(Tool("burn --embedded '" + Clip() + "' -o '" + out + "' --preset ultrafast --crf 10 -q"), "");
  const std::string luma = Shell("ffmpeg -loglevel error -i '" + out + "' -fps_mode passthrough -f rawvideo -pix_fmt gray -");
  const std::size_t size = static_cast<std::size_t>(kWidth) * kHeight;
  ASSERT_EQ(luma.size(), size * kFrames);
  std::vector<std::string> captionArea;  // the lower half of each frame
  std::vector<int> changed;
  for (std::size_t f = 0; f < static_cast<std::size_t>(kFrames); ++f) {
    captionArea.push_back(luma.substr(f * size + size / 2, size / 2));
    int n = 0;
    for (unsigned char px : captionArea.back()) n += std::abs(px - 128) > 24;
    changed.push_back(n);
  }
  for (const int f : {0, 16, 80, 99}) EXPECT_LT(changed[static_cast<std::size_t>(f)], 10) << "frame " << f;
  for (const int f : {17, 30, 56, 57, 79}) EXPECT_GT(changed[static_cast<std::size_t>(f)], 200) << "frame " << f;
  // The caption changes from "AB" to "CD" at frame 57, not before.
  const auto differ = [&](int a, int b) {
    int n = 0;
    for (std::size_t i = 0; i < size / 2; ++i) n += std::abs(captionArea[a][i] - captionArea[b][i]) > 24;
    return n;
  };
  EXPECT_LT(differ(17, 56), 10);
  EXPECT_GT(differ(56, 57), 30);
  // Another choice of channel shows nothing: CC3 is empty.
  EXPECT_NE(Tool("rects '" + Clip() + "' --at 1 --channel CC1").find("\"x\""), std::string::npos);
  EXPECT_EQ(Tool("rects '" + Clip() + "' --at 1 --channel CC3").find("\"x\""), std::string::npos);
}

}  // namespace

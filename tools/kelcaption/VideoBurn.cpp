#include "kelcaption/VideoBurn.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "kelcaption/AtomicFile.h"
#include "kelcaption/CaptionBurner.h"
#include "kelcaption/CaptionStates.h"
#include "kelcaption/FfmpegError.h"
#include "kelcaption/FrameBlend.h"
#include "kelcaption/Interruption.h"
#include "kelcaption/ProgressBar.h"
#include "kelcaption/TimeCode.h"
#include "kelcaption/VideoInput.h"

extern "C" {
#include <libavutil/log.h>
}

namespace kelcaption {

namespace {

struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

// A decoded picture to blend into. The decoder may still predict from the picture it gave, so a
// shared one is copied, into a frame kept from one picture to the next: a new buffer each time
// would cost the page faults of a whole picture.
class WritablePicture {
 public:
  WritablePicture() : spare_(av_frame_alloc()) {
    if (!spare_) throw std::bad_alloc();
  }
  AVFrame& Of(AVFrame& decoded) {
    if (av_frame_is_writable(&decoded)) return decoded;
    if (spare_->format != decoded.format || spare_->width != decoded.width || spare_->height != decoded.height) {
      av_frame_unref(spare_.get());
      spare_->format = decoded.format;
      spare_->width = decoded.width;
      spare_->height = decoded.height;
      CheckFfmpeg(av_frame_get_buffer(spare_.get(), 0), "cannot copy a picture");
    }
    CheckFfmpeg(av_frame_make_writable(spare_.get()), "cannot copy a picture");  // the encoder may hold the last
    CheckFfmpeg(av_frame_copy(spare_.get(), &decoded), "cannot copy a picture");
    CheckFfmpeg(av_frame_copy_props(spare_.get(), &decoded), "cannot copy a picture");
    return *spare_;
  }

 private:
  FramePtr spare_;
};

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

}  // namespace

kelmediatypes::TickTime CaptionShift(const std::string& captionFile, const std::string& offset, const VideoInput& input,
                                     bool quiet) {
  const AVRational rate = input.FrameRate();
  std::optional<FrameRate> frameRate;
  if (rate.num > 0) frameRate = FrameRate{rate.num, rate.den};
  kelmediatypes::TickTime shift;
  const std::string start = input.StartTimeCode();
  const std::optional<TimeCode> code = TimeCode::Parse(start);
  if (code && frameRate && CaptionTimesAreTimeCodes(captionFile)) {
    try {
      shift = code->Time(*frameRate);
      if (!quiet && shift.GetTicks() != 0) {
        std::fprintf(stderr, "kelcaption: the captions' time codes start at the video's, %s\n", start.c_str());
      }
    } catch (const std::invalid_argument& e) {
      std::fprintf(stderr, "kelcaption: the video's time code %s is not used: %s\n", start.c_str(), e.what());
    }
  }
  if (!offset.empty()) shift = shift - ParseTimeOrTimeCode(offset, "--offset", frameRate, true);
  return shift;
}

int BurnVideo(const VideoBurnOptions& options) {
  if (SameFile(options.video, options.output)) throw UsageError("-o must not be the input video " + options.video);
  av_log_set_level(AV_LOG_ERROR);
  const InterruptionGuard interruption;
  VideoInput input(options.video);
  const AVCodecContext& decoder = input.Decoder();
  const int width = decoder.width, height = decoder.height;
  CaptionBurner::Layout layout{width, height};
  if (decoder.sample_aspect_ratio.num > 0 && decoder.sample_aspect_ratio.den > 0) {
    layout.pixelAspectRatio = {static_cast<std::uint32_t>(decoder.sample_aspect_ratio.num),
                               static_cast<std::uint32_t>(decoder.sample_aspect_ratio.den)};
  }
  CaptionBurner burner(width, height, layout);
  burner.SetSmoothRollUp(options.smoothRollUp);
  const auto timeline = LoadCaptionStates(options.file, width, height, burner.Layer());
  const kelmediatypes::TickTime shift = CaptionShift(options.file.file, options.offset, input, options.quiet);

  bool anyShown = false;
  kelmediatypes::TickTime last;
  WriteThroughTemporary(options.output, [&](const std::string& temporary) {
    VideoOutput output(temporary, options.output, input, options.encoder);
    const FramePtr frame(av_frame_alloc());
    if (!frame) throw std::bad_alloc();
    WritablePicture writable;
    std::optional<FrameBlend> blend;
    const AVRational rate = input.FrameRate();
    ProgressBar progress(input.ExpectedFrames(), rate.num > 0 ? av_q2d(rate) : 0.0, options.quiet);
    long long done = 0;
    while (input.NextFrame(*frame, [&](AVPacket& packet) { output.Copy(packet); })) {
      ThrowIfInterrupted();
      if (frame->width != width || frame->height != height) {
        throw std::runtime_error(options.video + ": the frame size changes at frame " + std::to_string(done + 1));
      }
      if (!blend) blend.emplace(static_cast<AVPixelFormat>(frame->format), width, height, VideoColour::Of(*frame));
      last = input.PresentationTime(*frame);
      if (burner.ShowAt(timeline, last + shift)) blend->Prepare(burner.Layer(), burner.Ink());
      AVFrame* picture = frame.get();
      if (burner.Showing()) {
        anyShown = true;
        picture = &writable.Of(*frame);
        blend->Over(*picture);
      }
      output.Write(*picture);
      progress.Frame(++done);
    }
    ThrowIfInterrupted();
    output.Finish();
    return true;
  });
  if (!anyShown && !timeline.Empty()) {
    std::fprintf(stderr,
                 "kelcaption: %s shows nothing during the video: its captions run from %s to %s, the video from %s to %s "
                 "of their time (--offset shifts them)\n",
                 options.file.file.c_str(), FormatTime(timeline.States().front().begin).c_str(),
                 FormatTime(timeline.States().back().end).c_str(), FormatTime(shift).c_str(),
                 FormatTime(last + shift).c_str());
  }
  return kExitDone;
}

}  // namespace kelcaption

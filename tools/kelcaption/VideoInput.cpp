#include "kelcaption/VideoInput.h"

#include <stdexcept>

#include "kelcaption/FfmpegError.h"
#include "kelcaption/Interruption.h"

namespace kelcaption {

namespace {

std::string Tag(const AVDictionary* tags, const char* key) {
  const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, 0);
  return entry ? entry->value : "";
}

}  // namespace

VideoInput::VideoInput(const std::string& path) : path_(path) {
  format_ = avformat_alloc_context();
  if (format_ == nullptr) throw std::bad_alloc();
  // A read that waits on a pipe gives up when the user interrupts.
  format_->interrupt_callback = {[](void*) { return Interrupted() ? 1 : 0; }, nullptr};
  int error = avformat_open_input(&format_, path.c_str(), nullptr, nullptr);
  if (error < 0) ThrowIfInterrupted();
  CheckFfmpeg(error, "cannot open the video " + path);
  try {
    error = avformat_find_stream_info(format_, nullptr);
    ThrowIfInterrupted();
    CheckFfmpeg(error, "cannot read the streams of " + path);
    const AVCodec* codec = nullptr;
    streamIndex_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (streamIndex_ < 0 || codec == nullptr) throw std::runtime_error(path + " holds no video stream that can be decoded");
    decoder_ = avcodec_alloc_context3(codec);
    packet_ = av_packet_alloc();
    if (decoder_ == nullptr || packet_ == nullptr) throw std::bad_alloc();
    avcodec_parameters_to_context(decoder_, Stream().codecpar);
    decoder_->pkt_timebase = Stream().time_base;
    decoder_->thread_count = 0;  // as many as the machine has, as ffmpeg decodes
    decoder_->err_recognition |= AV_EF_EXPLODE;  // damaged data fails the run instead of showing
    decoder_->flags &= ~AV_CODEC_FLAG_OUTPUT_CORRUPT;
    error = avcodec_open2(decoder_, codec, nullptr);
    CheckFfmpeg(error, "cannot decode the video of " + path);
    if (decoder_->width <= 0 || decoder_->height <= 0) throw std::runtime_error(path + ": the video has no frame size");
  } catch (...) {
    av_packet_free(&packet_);
    avcodec_free_context(&decoder_);
    avformat_close_input(&format_);
    throw;
  }
}

VideoInput::~VideoInput() {
  av_packet_free(&packet_);
  avcodec_free_context(&decoder_);
  avformat_close_input(&format_);
}

void VideoInput::Damaged(int error, const char* what) const {
  throw std::runtime_error(path_ + " is damaged: " + what + " after frame " + std::to_string(decoded_) + " (" +
                           FfmpegErrorText(error) + ")");
}

bool VideoInput::Receive(AVFrame& frame) {
  const int error = avcodec_receive_frame(decoder_, &frame);
  if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return false;
  if (error < 0) Damaged(error, "the video cannot be decoded");
  if ((frame.flags & AV_FRAME_FLAG_CORRUPT) != 0 || frame.decode_error_flags != 0) {
    Damaged(AVERROR_INVALIDDATA, "a frame is broken");
  }
  // A frame without a time takes the one after the last.
  if (frame.best_effort_timestamp == AV_NOPTS_VALUE) {
    frame.best_effort_timestamp = lastPts_ == AV_NOPTS_VALUE ? 0 : lastPts_ + std::max<std::int64_t>(1, frame.pkt_duration);
  }
  frame.pts = frame.best_effort_timestamp;
  lastPts_ = frame.pts;
  ++decoded_;
  return true;
}

bool VideoInput::NextFrame(AVFrame& frame, const std::function<void(AVPacket&)>& other) {
  av_frame_unref(&frame);
  for (;;) {
    if (Receive(frame)) return true;
    if (draining_) return false;
    const int error = av_read_frame(format_, packet_);
    if (error == AVERROR_EOF) {
      if (format_->pb != nullptr && format_->pb->error < 0) Damaged(format_->pb->error, "reading stopped");
      draining_ = true;
      avcodec_send_packet(decoder_, nullptr);
      continue;
    }
    if (error < 0) {
      ThrowIfInterrupted();
      Damaged(error, "reading stopped");
    }
    if (packet_->stream_index == streamIndex_) {
      const int sent = avcodec_send_packet(decoder_, packet_);
      av_packet_unref(packet_);
      if (sent < 0 && sent != AVERROR(EAGAIN)) Damaged(sent, "the video cannot be decoded");
    } else {
      other(*packet_);
      av_packet_unref(packet_);
    }
  }
}

kelmediatypes::TickTime VideoInput::PresentationTime(const AVFrame& frame) const {
  // Straight from the stream's time base to ticks, in 128 bits: through microseconds a frame at
  // 30000/1001 would land a hair before the caption change that falls on it.
  __extension__ using Wide = __int128;
  const AVRational base = Stream().time_base;
  const Wide ticks = Wide{frame.pts} * kelmediatypes::TickTime::kTicksPerSecond * base.num;
  const Wide start = format_->start_time == AV_NOPTS_VALUE
                         ? 0
                         : Wide{format_->start_time} * kelmediatypes::TickTime::kTicksPerSecond / AV_TIME_BASE;
  const Wide half = base.den / 2;
  const Wide time = (ticks >= 0 ? (ticks + half) / base.den : -((-ticks + half) / base.den)) - start;
  return kelmediatypes::TickTime(static_cast<std::int64_t>(time));
}

AVRational VideoInput::FrameRate() const {
  AVRational rate = av_guess_frame_rate(format_, format_->streams[streamIndex_], nullptr);
  return rate.num > 0 && rate.den > 0 ? rate : AVRational{0, 1};
}

long long VideoInput::ExpectedFrames() const {
  if (Stream().nb_frames > 0) return Stream().nb_frames;
  const AVRational rate = FrameRate();
  if (rate.num == 0) return 0;
  if (Stream().duration != AV_NOPTS_VALUE && Stream().duration > 0)
    return av_rescale_q(Stream().duration, Stream().time_base, av_inv_q(rate));
  if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0)
    return av_rescale_q(format_->duration, AV_TIME_BASE_Q, av_inv_q(rate));
  return 0;
}

std::string VideoInput::StartTimeCode() const {
  if (std::string code = Tag(Stream().metadata, "timecode"); !code.empty()) return code;
  if (std::string code = Tag(format_->metadata, "timecode"); !code.empty()) return code;
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    if (std::string code = Tag(format_->streams[i]->metadata, "timecode"); !code.empty()) return code;
  }
  return "";
}

}  // namespace kelcaption

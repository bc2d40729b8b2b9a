#include "kelcaption/VideoOutput.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "kelcaption/CommandLine.h"
#include "kelcaption/FfmpegError.h"

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace kelcaption {

namespace {

// The input codec's own encoder, or the usual one of its family.
const AVCodec* DefaultEncoder(AVCodecID input) {
  if (input == AV_CODEC_ID_H264) {
    if (const AVCodec* x264 = avcodec_find_encoder_by_name("libx264")) return x264;
  }
  if (input == AV_CODEC_ID_HEVC) {
    if (const AVCodec* x265 = avcodec_find_encoder_by_name("libx265")) return x265;
  }
  return avcodec_find_encoder(input);
}

bool TakesPixelFormat(const AVCodec& codec, AVPixelFormat format) {
  if (codec.pix_fmts == nullptr) return true;
  for (const AVPixelFormat* f = codec.pix_fmts; *f != AV_PIX_FMT_NONE; ++f) {
    if (*f == format) return true;
  }
  return false;
}

// Tags that describe the input's encoding, not the content.
void DropEncodingTags(AVDictionary** tags) {
  for (const char* key : {"encoder", "duration", "_statistics_tags", "number_of_frames", "number_of_bytes", "bps"}) {
    av_dict_set(tags, key, nullptr, 0);
  }
}

int SwsColourspace(AVColorSpace space, int height) {
  switch (space) {
    case AVCOL_SPC_BT709:
      return SWS_CS_ITU709;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
      return SWS_CS_BT2020;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
      return SWS_CS_ITU601;
    default:
      return height >= 720 ? SWS_CS_ITU709 : SWS_CS_ITU601;
  }
}

}  // namespace

VideoOutput::VideoOutput(const std::string& path, const std::string& name, const VideoInput& input,
                         const EncoderSettings& settings)
    : name_(name), input_(input), settings_(settings) {
  const AVOutputFormat* container = av_guess_format(nullptr, name.c_str(), nullptr);
  if (container == nullptr) {
    throw UsageError("cannot tell the kind of video file to write from the name " + name +
                     "; use an extension such as .mp4, .mkv or .mov");
  }
  CheckFfmpeg(avformat_alloc_output_context2(&format_, container, nullptr, path.c_str()), "cannot write " + name);
  packet_ = av_packet_alloc();
  if (packet_ == nullptr) throw std::bad_alloc();
  if ((container->flags & AVFMT_NOFILE) == 0) {
    CheckFfmpeg(avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE), "cannot write " + path);
  }
}

VideoOutput::~VideoOutput() {
  for (AVPacket*& packet : beforeHeader_) av_packet_free(&packet);
  sws_freeContext(converter_);
  av_frame_free(&converted_);
  av_packet_free(&packet_);
  avcodec_free_context(&encoder_);
  if (format_ != nullptr) {
    if (format_->pb != nullptr) avio_closep(&format_->pb);
    avformat_free_context(format_);
  }
}

void VideoOutput::Open(const AVFrame& first) {
  const AVStream& in = input_.Stream();
  const AVCodec* codec = settings_.codec.empty() ? DefaultEncoder(in.codecpar->codec_id)
                                                 : avcodec_find_encoder_by_name(settings_.codec.c_str());
  // A container that cannot hold the input's codec (H.264 into WebM) gets its own default.
  if (settings_.codec.empty() && codec != nullptr &&
      avformat_query_codec(format_->oformat, codec->id, FF_COMPLIANCE_NORMAL) == 0) {
    if (const AVCodec* own = avcodec_find_encoder(format_->oformat->video_codec)) {
      std::fprintf(stderr, "kelcaption: %s cannot hold %s video; encoding %s\n", format_->oformat->name,
                   avcodec_get_name(codec->id), own->name);
      codec = own;
    }
  }
  if (codec == nullptr) {
    if (!settings_.codec.empty()) throw UsageError("--codec: no encoder named \"" + settings_.codec + "\"");
    throw std::runtime_error(std::string("no encoder for the input's ") + avcodec_get_name(in.codecpar->codec_id) +
                             " video; choose one with --codec, such as libx264");
  }
  if (codec->type != AVMEDIA_TYPE_VIDEO) throw UsageError("--codec: " + settings_.codec + " is not a video encoder");

  // The input's pixel format, unless asked for another or the encoder does not take it.
  const auto frameFormat = static_cast<AVPixelFormat>(first.format);
  AVPixelFormat target = frameFormat;
  if (!settings_.pixelFormat.empty()) {
    target = av_get_pix_fmt(settings_.pixelFormat.c_str());
    if (target == AV_PIX_FMT_NONE) throw UsageError("--pix-fmt: no pixel format named \"" + settings_.pixelFormat + "\"");
    if (!TakesPixelFormat(*codec, target)) {
      throw UsageError("--pix-fmt: " + std::string(codec->name) + " does not encode " + settings_.pixelFormat);
    }
  } else if (!TakesPixelFormat(*codec, target)) {
    target = avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, frameFormat, 0, nullptr);
    std::fprintf(stderr, "kelcaption: %s does not encode %s; writing %s\n", codec->name,
                 av_get_pix_fmt_name(frameFormat), av_get_pix_fmt_name(target));
  }

  encoder_ = avcodec_alloc_context3(codec);
  if (encoder_ == nullptr) throw std::bad_alloc();
  encoder_->width = first.width;
  encoder_->height = first.height;
  encoder_->pix_fmt = target;
  encoder_->time_base = in.time_base;
  encoder_->framerate = input_.FrameRate();
  encoder_->sample_aspect_ratio = first.sample_aspect_ratio.num > 0 ? first.sample_aspect_ratio : in.sample_aspect_ratio;
  encoder_->color_range = first.color_range;
  encoder_->color_primaries = first.color_primaries;
  encoder_->color_trc = first.color_trc;
  encoder_->colorspace = first.colorspace;
  encoder_->chroma_sample_location = first.chroma_location;
  encoder_->field_order = in.codecpar->field_order;
  encoder_->thread_count = 0;
  if ((format_->oformat->flags & AVFMT_GLOBALHEADER) != 0) encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

  const bool hasCrf = av_opt_find(encoder_->priv_data, "crf", nullptr, 0, 0) != nullptr;
  if (settings_.crf >= 0 && !hasCrf) throw UsageError(std::string("--crf: ") + codec->name + " takes no CRF");
  if (!settings_.bitrate.empty()) {
    CheckFfmpeg(av_opt_set(encoder_, "b", settings_.bitrate.c_str(), 0), "--bitrate " + settings_.bitrate);
  } else if (hasCrf) {
    av_opt_set_int(encoder_->priv_data, "crf", settings_.crf >= 0 ? settings_.crf : 18, 0);
  } else {
    encoder_->bit_rate = in.codecpar->bit_rate > 0 ? in.codecpar->bit_rate : input_.Format().bit_rate;
  }
  if (!settings_.preset.empty() && av_opt_set(encoder_->priv_data, "preset", settings_.preset.c_str(), 0) < 0) {
    throw UsageError("--preset: " + std::string(codec->name) + " has no preset \"" + settings_.preset + "\"");
  }
  if (std::string(codec->name) == "libx265") av_opt_set(encoder_->priv_data, "x265-params", "log-level=error", 0);
  CheckFfmpeg(avcodec_open2(encoder_, codec, nullptr), std::string("cannot open the encoder ") + codec->name);

  if (target != frameFormat) {
    converter_ = sws_getContext(first.width, first.height, frameFormat, first.width, first.height, target,
                                SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr);
    converted_ = av_frame_alloc();
    if (converter_ == nullptr || converted_ == nullptr) throw std::runtime_error("cannot convert the frames to the encoder's format");
    const int* coefficients = sws_getCoefficients(SwsColourspace(first.colorspace, first.height));
    const int fullIn = first.color_range == AVCOL_RANGE_JPEG, fullOut = fullIn;
    sws_setColorspaceDetails(converter_, coefficients, fullIn, coefficients, fullOut, 0, 1 << 16, 1 << 16);
    converted_->format = target;
    converted_->width = first.width;
    converted_->height = first.height;
    CheckFfmpeg(av_frame_get_buffer(converted_, 0), "cannot convert the frames");
  }

  // The video first, where the input has it, then the other streams in their order.
  streamMap_.assign(input_.Format().nb_streams, -1);
  for (unsigned i = 0; i < input_.Format().nb_streams; ++i) {
    const AVStream* source = input_.Format().streams[i];
    if (source == &in) {
      video_ = avformat_new_stream(format_, nullptr);
      if (video_ == nullptr) throw std::bad_alloc();
      CheckFfmpeg(avcodec_parameters_from_context(video_->codecpar, encoder_), "cannot set up the video stream");
      video_->time_base = encoder_->time_base;
      video_->avg_frame_rate = in.avg_frame_rate;
      video_->r_frame_rate = in.r_frame_rate;
      video_->sample_aspect_ratio = encoder_->sample_aspect_ratio;
      video_->disposition = in.disposition;
      av_dict_copy(&video_->metadata, in.metadata, 0);
      DropEncodingTags(&video_->metadata);
      // Rotation, mastering display and light levels travel as the stream's side data.
      for (int s = 0; s < in.nb_side_data; ++s) {
        const AVPacketSideData& side = in.side_data[s];
        std::uint8_t* copy = av_stream_new_side_data(video_, side.type, side.size);
        if (copy == nullptr) throw std::bad_alloc();
        std::copy(side.data, side.data + side.size, copy);
      }
      streamMap_[i] = video_->index;
    } else {
      const AVCodecParameters& parameters = *source->codecpar;
      const bool muxable = parameters.codec_id != AV_CODEC_ID_NONE &&
                           avformat_query_codec(format_->oformat, parameters.codec_id, FF_COMPLIANCE_NORMAL) != 0;
      // A time code track is written again from the video's time code tag, where the container keeps one.
      const bool timeCodeTrack = parameters.codec_tag == MKTAG('t', 'm', 'c', 'd');
      if (!muxable && !timeCodeTrack) {
        std::fprintf(stderr, "kelcaption: stream %u (%s) is left out: %s cannot hold it\n", i,
                     avcodec_get_name(parameters.codec_id), format_->oformat->name);
      }
      if (!muxable) continue;
      AVStream* copy = avformat_new_stream(format_, nullptr);
      if (copy == nullptr) throw std::bad_alloc();
      CheckFfmpeg(avcodec_parameters_copy(copy->codecpar, &parameters), "cannot copy stream " + std::to_string(i));
      copy->codecpar->codec_tag = 0;
      copy->time_base = source->time_base;
      copy->disposition = source->disposition;
      av_dict_copy(&copy->metadata, source->metadata, 0);
      DropEncodingTags(&copy->metadata);
      streamMap_[i] = copy->index;
    }
  }
  av_dict_copy(&format_->metadata, input_.Format().metadata, 0);
  DropEncodingTags(&format_->metadata);
  CheckFfmpeg(avformat_write_header(format_, nullptr), "cannot write " + name_);
  open_ = true;
  for (AVPacket*& packet : beforeHeader_) {
    Copy(*packet);
    av_packet_free(&packet);
  }
  beforeHeader_.clear();
}

void VideoOutput::Write(const AVFrame& frame) {
  if (!open_) Open(frame);
  if (converter_ == nullptr) {
    Encode(&frame);
    return;
  }
  CheckFfmpeg(av_frame_make_writable(converted_), "cannot convert a frame");
  sws_scale(converter_, frame.data, frame.linesize, 0, frame.height, converted_->data, converted_->linesize);
  CheckFfmpeg(av_frame_copy_props(converted_, &frame), "cannot convert a frame");
  Encode(converted_);
}

void VideoOutput::Encode(const AVFrame* frame) {
  CheckFfmpeg(avcodec_send_frame(encoder_, frame), "the encoder failed");
  for (;;) {
    const int error = avcodec_receive_packet(encoder_, packet_);
    if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return;
    CheckFfmpeg(error, "the encoder failed");
    av_packet_rescale_ts(packet_, encoder_->time_base, video_->time_base);
    packet_->stream_index = video_->index;
    Mux(*packet_);
  }
}

void VideoOutput::Copy(AVPacket& packet) {
  if (!open_) {
    AVPacket* kept = av_packet_clone(&packet);
    if (kept == nullptr) throw std::bad_alloc();
    beforeHeader_.push_back(kept);
    return;
  }
  const int from = packet.stream_index;
  if (from < 0 || from >= static_cast<int>(streamMap_.size()) || streamMap_[static_cast<std::size_t>(from)] < 0) return;
  AVStream* to = format_->streams[streamMap_[static_cast<std::size_t>(from)]];
  av_packet_rescale_ts(&packet, input_.Format().streams[from]->time_base, to->time_base);
  packet.stream_index = to->index;
  packet.pos = -1;
  Mux(packet);
}

void VideoOutput::Mux(AVPacket& packet) { CheckFfmpeg(av_interleaved_write_frame(format_, &packet), "cannot write " + name_); }

void VideoOutput::Finish() {
  if (!open_) throw std::runtime_error("the video has no frames");
  Encode(nullptr);
  CheckFfmpeg(av_write_trailer(format_), "cannot finish " + name_);
  if (format_->pb != nullptr) CheckFfmpeg(avio_closep(&format_->pb), "cannot finish " + name_);
}

}  // namespace kelcaption

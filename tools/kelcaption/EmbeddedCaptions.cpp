#include "kelcaption/EmbeddedCaptions.h"

#include <memory>
#include <new>
#include <stdexcept>

#include "kelcaption/Interruption.h"
#include "kelcaption/VideoInput.h"

namespace kelcaption {

void AppendFrameCcData(const AVFrame& frame, kelmediatypes::TickTime time,
                       std::vector<kelcaptionfiles::TimedCcData>& data) {
  const AVFrameSideData* side = av_frame_get_side_data(&frame, AV_FRAME_DATA_A53_CC);
  if (side == nullptr) return;
  for (std::size_t at = 0; at + 3 <= side->size; at += 3) {
    const std::uint8_t* triplet = side->data + at;
    data.push_back({time,
                    {(triplet[0] & 0x04) != 0, static_cast<std::uint8_t>(triplet[0] & 0x03), triplet[1], triplet[2]}});
  }
}

namespace {

VideoInput OpenVideo(const std::string& video) {
  try {
    return VideoInput(video);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(video + " is neither a caption file of a kind that is read nor a video with captions: " +
                             e.what());
  }
}

}  // namespace

EmbeddedCcData ReadEmbeddedCcData(const std::string& video) {
  VideoInput input = OpenVideo(video);
  EmbeddedCcData embedded;
  const AVCodecContext& decoder = input.Decoder();
  const AVRational pixel = decoder.sample_aspect_ratio.num > 0 ? decoder.sample_aspect_ratio : AVRational{1, 1};
  embedded.wideScreen = static_cast<double>(decoder.width) * pixel.num >= 1.5 * decoder.height * pixel.den;
  // NTSC video is counted in drop-frame time codes, as editors and broadcasters count it.
  if (const AVRational rate = input.FrameRate(); rate.num > 0 && rate.den > 0) {
    embedded.read.timeCodeRate = kelcaptionfiles::TimeCodeRate{rate.num, rate.den, rate.den == 1001};
  }
  const std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  if (!frame) throw std::bad_alloc();
  while (input.NextFrame(*frame, [](AVPacket&) {})) {
    ThrowIfInterrupted();
    AppendFrameCcData(*frame, input.PresentationTime(*frame), embedded.read.data);
  }
  if (embedded.read.data.empty()) {
    embedded.read.notes.Add("the video's pictures carry no caption data (A/53)", {}, kelcaptionfiles::NoteKind::kRemark);
  }
  return embedded;
}

}  // namespace kelcaption

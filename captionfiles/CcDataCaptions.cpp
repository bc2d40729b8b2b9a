#include "kelcaptionfiles/CcDataCaptions.h"

#include <stdexcept>

#include "captionfiles/DtvccPackets.h"
#include "captionfiles/DtvccTimeline.h"
#include "captionfiles/Line21CcData.h"

namespace kelcaptionfiles {

std::string CcDataTrack::Name() const {
  return channel != 0 ? "CC" + std::to_string(channel) : "service " + std::to_string(service);
}

CcDataTrack ChooseCcDataTrack(std::span<const TimedCcData> data, const ReadOptions& options) {
  if (options.channel != 0 && options.service != 0) {
    throw std::invalid_argument("choose a line-21 channel or a caption service, not both");
  }
  if (options.channel != 0) {
    if (options.channel < 1 || options.channel > 4) throw std::invalid_argument("line-21 caption channels are CC1 to CC4");
    return {options.channel, 0};
  }
  if (options.service != 0) {
    if (options.service < 1 || options.service > 63) throw std::invalid_argument("caption services are numbered 1 to 63");
    return {0, options.service};
  }
  // A programme that carries both shows its digital-TV captions; they are the richer of the two.
  if (!DecodeDtvccService(data, 1).Empty()) return {0, 1};
  return {1, 0};
}

ReadResult DecodeCcData(std::span<const TimedCcData> data, const ReadOptions& options, bool wideScreen) {
  const CcDataTrack track = ChooseCcDataTrack(data, options);
  if (track.channel != 0) return DecodeLine21Channel(data, track.channel);
  return DecodeDtvccService(data, track.service, wideScreen);
}

std::vector<CcDataTrackSummary> SummarizeCcData(std::span<const TimedCcData> data) {
  std::vector<CcDataTrackSummary> summaries;
  const auto add = [&summaries](CcDataTrack track, const ReadResult& result) {
    const std::vector<TimedModel>& states = result.Timeline()->States();
    if (!states.empty()) summaries.push_back({track, states.size(), states.front().begin, states.back().begin});
  };
  for (int channel = 1; channel <= 4; ++channel) add({channel, 0}, DecodeLine21Channel(data, channel));
  FileNotes scratch;
  DtvccServiceBlocks blocks(1, [](std::span<const std::uint8_t>) {}, scratch);
  for (const TimedCcData& triplet : data) blocks.Feed(triplet.data);
  blocks.Finish();
  for (int service : blocks.ServicesSeen()) add({0, service}, DecodeDtvccService(data, service));
  return summaries;
}

}  // namespace kelcaptionfiles

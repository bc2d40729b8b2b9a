// Feeds arbitrary cc_data to the digital-TV (CEA-708) caption decoder. The first byte chooses the
// service (1 + its upper seven bits mod 63) and the screen (bit 0: wide); then every three bytes
// are a triplet: cc_type in bits 0-1 of the first, cc_valid in bit 2, the frames it comes after
// the one before in bits 3-7, and the two data bytes. Every shown window must lie on the grid
// with its text of its size, and the timeline's states must follow in time on that grid; after
// the input a Reset and a new window must show their text whatever the input left behind.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "captionfiles/DtvccDecoder.h"
#include "captionfiles/DtvccTimeline.h"
#include "kelcaptioning/RenderableModel.h"

namespace {

using kelcaptionfiles::CcData;
using kelcaptionfiles::DtvccDecoder;
using kelmediatypes::TickTime;

constexpr std::int64_t kTicksPerFrame = TickTime::kTicksPerSecond / 30;

void CheckScreen(const DtvccDecoder& decoder) {
  for (const kelcaptionfiles::DtvccShownWindow& w : decoder.Shown()) {
    if (w.top < 0 || w.left < 0 || w.rows < 1 || w.columns < 1 || w.top + w.rows > DtvccDecoder::kGridRows ||
        w.left + w.columns > decoder.GridColumns() || w.text.size() != static_cast<std::size_t>(w.rows)) {
      __builtin_trap();
    }
    for (const auto& row : w.text) {
      if (row.size() != static_cast<std::size_t>(w.columns)) __builtin_trap();
    }
  }
}

void CheckTimeline(const kelcaptionfiles::CaptionTimeline& timeline, int gridColumns) {
  TickTime previousEnd = kelmediatypes::kTime_Min;
  for (const kelcaptionfiles::TimedModel& state : timeline.States()) {
    if (!(state.begin < state.end) || state.begin < previousEnd || !state.model) __builtin_trap();
    previousEnd = state.end;
    std::vector<int> order;
    state.model->GetWindowRenderOrder(order);
    if (order.empty() || order.size() > 8) __builtin_trap();
    for (int number : order) {
      const auto window = state.model->GetWindow(number);
      if (!window || window->GetRows().size() > static_cast<std::size_t>(DtvccDecoder::kGridRows)) __builtin_trap();
      for (const auto& row : window->GetRows()) {
        if (row && row->GetCells().size() > static_cast<std::size_t>(gridColumns)) __builtin_trap();
      }
    }
  }
}

// Reset, window 0 at the top left and "OK", in one packet (12 bytes with its header) after
// whatever came before.
std::vector<CcData> ResetAndShowOk() {
  const std::uint8_t block[] = {0x8F, 0x98, 0x20, 0x00, 0x00, 0x00, 0x1F, 0x09, 'O', 'K'};
  std::vector<std::uint8_t> packet = {static_cast<std::uint8_t>(0x20 | sizeof block)};
  packet.insert(packet.end(), block, block + sizeof block);
  std::vector<CcData> triplets = {{true, 3, static_cast<std::uint8_t>((packet.size() + 1) / 2), packet[0]}};
  for (std::size_t i = 1; i + 1 < packet.size(); i += 2) triplets.push_back({true, 2, packet[i], packet[i + 1]});
  return triplets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int service = 1 + (data[0] >> 1) % 63;
  const bool wide = (data[0] & 1) != 0;
  std::vector<kelcaptionfiles::TimedCcData> triplets;
  std::int64_t frame = 0;
  for (std::size_t i = 1; i + 2 < size; i += 3) {
    frame += data[i] >> 3;
    triplets.push_back({TickTime(frame * kTicksPerFrame),
                        {(data[i] & 4) != 0, static_cast<std::uint8_t>(data[i] & 3), data[i + 1], data[i + 2]}});
  }

  DtvccDecoder decoder(service, wide);
  for (const auto& triplet : triplets) {
    decoder.Feed(triplet.time, triplet.data);
    CheckScreen(decoder);
  }
  const auto ok = ResetAndShowOk();
  if (service == 1) {
    for (const CcData& triplet : ok) decoder.Feed(TickTime((frame + 1) * kTicksPerFrame), triplet);
    const auto& shown = decoder.Shown();
    if (shown.size() != 1 || shown[0].text[0][0].character != U'O' || shown[0].text[0][1].character != U'K') {
      __builtin_trap();
    }
  }
  decoder.Finish(TickTime((frame + 2) * kTicksPerFrame));
  CheckScreen(decoder);

  const kelcaptionfiles::ReadResult result = kelcaptionfiles::DecodeDtvccService(triplets, service, wide);
  if (!result.Timeline()) __builtin_trap();
  CheckTimeline(*result.Timeline(), wide ? 42 : 32);
  return 0;
}

// Feeds arbitrary bytes to the MCC reader and to the line-21 decoding of cc_data. The first byte
// chooses: an odd one reads the rest as MCC text on the track its upper bits name (CC1 to CC4,
// or the default), which must either read or throw ReadError, with states in time order that fit
// their grid; and the rest as one bad line between two good pop-on captions of CC1 must leave
// both captions shown, as a decoder shows them. An even one takes the rest as cc_data triplets
// (valid and type in the first byte, the two data bytes), a frame apart, and decodes every
// line-21 channel and the summary of all tracks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "captionfiles/Line21Decoder.h"
#include "captionfiles/MccReader.h"
#include "kelcaptionfiles/ReadError.h"
#include "kelcaptioning/RenderableModel.h"

namespace {

using namespace kelcaptionfiles;

void CheckStates(const ReadResult& result) {
  if (!result.Timeline()) __builtin_trap();
  kelmediatypes::TickTime previousEnd = kelmediatypes::kTime_Min;
  for (const TimedModel& state : result.Timeline()->States()) {
    if (!(state.begin < state.end) || state.begin < previousEnd || !state.model) __builtin_trap();
    previousEnd = state.end;
    if (!state.model->GetWindow(0)) __builtin_trap();
  }
}

// Whether some state shows `text` from column 0 of the bottom row.
bool Shows(const CaptionTimeline& timeline, const std::u32string& text) {
  for (const TimedModel& state : timeline.States()) {
    const auto rows = state.model->GetWindow(0)->GetRows();
    if (rows.size() != kLine21Rows || !rows[kLine21Rows - 1]) continue;
    std::u32string shown;
    for (const auto& cell : rows[kLine21Rows - 1]->GetCells()) shown += cell ? cell->GetCharacter() : U' ';
    if (shown == text) return true;
  }
  return false;
}

void ReadText(std::string_view text, int track) {
  ReadOptions options;
  if (track > 0) options.channel = track;
  try {
    CheckStates(ReadMcc(text, "fuzz.mcc", options));
  } catch (const ReadError&) {
  }
}

void GoodCaptionsAroundABadLine(std::string_view input) {
  std::string bad(input);
  for (char& c : bad) c = c == '\n' || c == '\r' ? ' ' : c;
  // RCL, ENM, PAC row 15, "AB" or "CD", EOC; each control code twice, a pair a frame.
  const std::string file =
      "File Format=MacCaption_MCC V1.0\r\n\r\n//\r\n\r\nTime Code Rate=30DF\r\n\r\n"
      "00:00:01:00\tT49S494F42000072F4FC9420ROO7400000CB4\r\n"
      "00:00:01:01\tT49S494F42000172F4FC9420ROO7400010AB4\r\n"
      "00:00:01:02\tT49S494F42000272F4FC94AEROO7400027AB4\r\n"
      "00:00:01:03\tT49S494F42000372F4FC94AEROO74000378B4\r\n"
      "00:00:01:04\tT49S494F42000472F4FC9470ROO740004B4B4\r\n"
      "00:00:01:05\tT49S494F42000572F4FC9470ROO740005B2B4\r\n"
      "00:00:01:06\tT49S494F42000672F4FCC1C2ROO74000631B4\r\n"
      "00:00:01:07\tT49S494F42000772F4FC942FROO740007EFB4\r\n"
      "00:00:01:08\tT49S494F42000872F4FC942FROO740008EDB4\r\n" +
      bad +
      "\r\n"
      "00:00:10:00\tT49S494F42000972F4FC9420ROO740009FAB4\r\n"
      "00:00:10:01\tT49S494F42000A72F4FC9420ROO74000AF8B4\r\n"
      "00:00:10:02\tT49S494F42000B72F4FC94AEROO74000B68B4\r\n"
      "00:00:10:03\tT49S494F42000C72F4FC94AEROO74000C66B4\r\n"
      "00:00:10:04\tT49S494F42000D72F4FC9470ROO74000DA2B4\r\n"
      "00:00:10:05\tT49S494F42000E72F4FC9470ROO74000EA0B4\r\n"
      "00:00:10:06\tT49S494F42000F72F4FC43C4ROO74000F9BB4\r\n"
      "00:00:10:07\tT49S494F42001072F4FC942FROO740010DDB4\r\n"
      "00:00:10:08\tT49S494F42001172F4FC942FROO740011DBB4\r\n";
  const ReadResult mcc = ReadMcc(file, "around.mcc", {.channel = 1});
  if (!Shows(*mcc.Timeline(), U"AB") || !Shows(*mcc.Timeline(), U"CD")) __builtin_trap();
}

void DecodeTriplets(const std::uint8_t* data, std::size_t size) {
  std::vector<TimedCcData> triplets;
  for (std::size_t i = 0; i + 3 <= size; i += 3) {
    const kelmediatypes::TickTime time(static_cast<std::int64_t>(i / 3) * (kelmediatypes::TickTime::kTicksPerSecond / 30));
    triplets.push_back({time, {(data[i] & 4) != 0, static_cast<std::uint8_t>(data[i] & 3), data[i + 1], data[i + 2]}});
  }
  for (int channel = 1; channel <= 4; ++channel) CheckStates(DecodeCcData(triplets, {.channel = channel}));
  for (const CcDataTrackSummary& track : SummarizeCcData(triplets)) {
    if (track.states == 0 || track.last < track.first) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) {
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    ReadText(text, (data[0] >> 1) % 5);
    GoodCaptionsAroundABadLine(text);
  } else {
    DecodeTriplets(data + 1, size - 1);
  }
  return 0;
}

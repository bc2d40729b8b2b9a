// Feeds arbitrary bytes to the line-21 decoder and to the SCC reader. The first byte chooses: an
// even one sends the rest as byte pairs straight to the decoder, which must keep its cursor on
// the grid and report exactly the pairs that change the displayed memory; an odd one reads the
// rest as SCC text, which must either read or throw ReadError, with states in time order that
// fit the 15 x 32 grid. The rest as one bad line between two good pop-on captions must leave
// both captions shown, as a decoder shows them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <string>

#include "captionfiles/Line21Decoder.h"
#include "captionfiles/SccReader.h"
#include "kelcaptioning/RenderableModel.h"

namespace {

void FeedPairs(const std::uint8_t* data, std::size_t size) {
  kelcaptionfiles::Line21Decoder decoder(size > 0 && (data[0] & 2) ? 2 : 1);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const kelcaptionfiles::Line21Memory before = decoder.Displayed();
    const bool changed = decoder.Feed(data[i], data[i + 1]);
    if (changed != (before != decoder.Displayed())) __builtin_trap();
    if (decoder.CursorRow() < 0 || decoder.CursorRow() >= kelcaptionfiles::kLine21Rows || decoder.CursorColumn() < 0 ||
        decoder.CursorColumn() >= kelcaptionfiles::kLine21Columns) {
      __builtin_trap();
    }
  }
}

void ReadText(const std::uint8_t* data, std::size_t size, int channel) {
  kelcaptionfiles::ReadResult scc;
  try {
    scc = kelcaptionfiles::ReadScc(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.scc", {.channel = channel});
  } catch (const kelcaptionfiles::ReadError&) {
    return;
  }
  kelmediatypes::TickTime previousEnd = kelmediatypes::kTime_Min;
  if (!scc.Timeline()) __builtin_trap();
  for (const kelcaptionfiles::TimedModel& state : scc.Timeline()->States()) {
    if (!(state.begin < state.end) || state.begin < previousEnd || !state.model) __builtin_trap();
    previousEnd = state.end;
    const auto window = state.model->GetWindow(0);
    if (!window || window->GetRows().size() != static_cast<std::size_t>(kelcaptionfiles::kLine21Rows)) __builtin_trap();
    for (const auto& row : window->GetRows()) {
      if (row && row->GetCells().size() > static_cast<std::size_t>(kelcaptionfiles::kLine21Columns)) __builtin_trap();
    }
  }
}

// Whether some state shows `text` from column 0 of the bottom row.
bool Shows(const kelcaptionfiles::CaptionTimeline& timeline, const std::u32string& text) {
  for (const kelcaptionfiles::TimedModel& state : timeline.States()) {
    const auto rows = state.model->GetWindow(0)->GetRows();
    if (rows.size() != 15 || !rows[14]) continue;
    std::u32string shown;
    for (const auto& cell : rows[14]->GetCells()) shown += cell ? cell->GetCharacter() : U' ';
    if (shown == text) return true;
  }
  return false;
}

void GoodCaptionsAroundABadLine(const std::uint8_t* data, std::size_t size) {
  std::string bad(reinterpret_cast<const char*>(data), size);
  for (char& c : bad) c = c == '\n' || c == '\r' ? ' ' : c;
  // Resume caption loading, erase what is loaded, row 15, "AB" or "CD", end of caption: each
  // control code twice, as encoders send them.
  const std::string file = "Scenarist_SCC V1.0\n\n00:00:01:00\t9420 9420 94ae 94ae 9470 9470 c1c2 942f 942f\n\n" + bad +
                           "\n\n00:00:10:00\t9420 9420 94ae 94ae 9470 9470 43c4 942f 942f\n";
  const kelcaptionfiles::ReadResult scc = kelcaptionfiles::ReadScc(file, "around.scc");
  if (!Shows(*scc.Timeline(), U"AB") || !Shows(*scc.Timeline(), U"CD")) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) {
    ReadText(data + 1, size - 1, (data[0] & 2) ? 2 : 1);
    GoodCaptionsAroundABadLine(data + 1, size - 1);
  } else {
    FeedPairs(data + 1, size - 1);
  }
  return 0;
}

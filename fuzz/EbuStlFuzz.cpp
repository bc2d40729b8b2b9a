// Feeds arbitrary bytes to the EBU STL reader: it must either read them or throw ReadError.
// Teletext pages must fit their grid (a double-height row with nothing under it) and follow one
// another in time; open subtitles must go through placement and the timeline.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kelcaptioning/Formats.h"
#include "readers/EbuStlReader.h"

namespace {

void CheckPages(const kelcaption::CaptionTimeline& timeline, kelcaptioning::StreamFormat format) {
  const int rowCount = kelcaptioning::GetCaptionRows(format), columnCount = kelcaptioning::GetCaptionColumns(format);
  kelmediatypes::TickTime previousEnd = kelmediatypes::kTime_Min;
  for (const kelcaption::TimedModel& state : timeline.States()) {
    if (!(state.begin < state.end) || state.begin < previousEnd || !state.model) __builtin_trap();
    previousEnd = state.end;
    const auto window = state.model->GetWindow(0);
    if (!window || state.model->GetStreamFormat() != format) __builtin_trap();
    const kelcaptioning::RowList rows = window->GetRows();
    if (rows.size() != static_cast<std::size_t>(rowCount)) __builtin_trap();
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (!rows[r]) continue;
      const kelcaptioning::CellList cells = rows[r]->GetCells();
      if (cells.size() > static_cast<std::size_t>(columnCount)) __builtin_trap();
      for (const auto& cell : cells) {
        if (!cell) continue;
        const int used = cell->GetTextAttributes().GetRowsUsed();
        if (used < 1 || used > 2 || (used == 2 && (r + 1 >= rows.size() || rows[r + 1]))) __builtin_trap();
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelcaption::EbuStlSubtitles stl;
  try {
    stl = kelcaption::ReadEbuStl(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.stl");
  } catch (const kelcaption::ReadError&) {
    return 0;
  }
  if (stl.openCaptions) {
    if (stl.format != kelcaptioning::kStreamFormat_OpenEBU || !stl.teletext.Empty()) __builtin_trap();
    constexpr int kAreaWidth = 1536, kAreaHeight = 864;
    for (const kelcaptioning::CaptionPtr& caption : stl.openCaptions->GetCaptions()) {
      caption->UpdatePositionsFromAnchorID(kAreaWidth, kAreaHeight, stl.format);
    }
    (void)kelcaption::TimelineOf(*stl.openCaptions, kAreaWidth, kAreaHeight, 0.8f);
  } else {
    if (!kelcaptioning::IsTeletext(stl.format)) __builtin_trap();
    CheckPages(stl.teletext, stl.format);
  }
  return 0;
}

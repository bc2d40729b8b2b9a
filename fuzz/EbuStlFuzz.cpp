// Feeds arbitrary bytes to the EBU STL reader: it must either read them or throw ReadError.
// Teletext pages must fit their grid (a double-height row with nothing under it) and follow one
// another in time; open subtitles must go through placement and the timeline. The first 128
// bytes as one bad text block between two good subtitles must leave both subtitles read.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "kelcaptioning/Formats.h"
#include "ReaderPipeline.h"
#include "captionfiles/EbuStlReader.h"

namespace {

void CheckPages(const kelcaptionfiles::CaptionTimeline& timeline, kelcaptioning::StreamFormat format) {
  const int rowCount = kelcaptioning::GetCaptionRows(format), columnCount = kelcaptioning::GetCaptionColumns(format);
  kelmediatypes::TickTime previousEnd = kelmediatypes::kTime_Min;
  for (const kelcaptionfiles::TimedModel& state : timeline.States()) {
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

// A text block of subtitle `number`, shown from second `from` to `to` on row 20.
std::string Block(int number, int from, int to, const std::string& text) {
  std::string block(128, '\x8F');
  const int head[16] = {0, number, 0, 0xFF, 0, 0, 0, from, 0, 0, 0, to, 0, 20, 2, 0};
  for (int i = 0; i < 16; ++i) block[static_cast<std::size_t>(i)] = static_cast<char>(head[i]);
  block.replace(16, text.size(), text);
  return block;
}

void GoodSubtitlesAroundABadBlock(const std::uint8_t* data, std::size_t size) {
  std::string bad(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 128));
  bad.resize(128, '\x8F');
  // The bad block's subtitle is one of its own: the same number would make it the good one's.
  bad[1] = 2, bad[2] = 0;
  std::string header(1024, ' ');
  header.replace(0, 14, "850STL25.01000");
  header.replace(238, 5, "00003");
  const std::string file = header + Block(1, 1, 2, "first") + bad + Block(3, 5, 6, "last");
  const kelcaptionfiles::ReadResult stl = kelcaptionfiles::ReadEbuStl(file, "around.stl");
  if (!kel_fuzz::HasCaption(*stl.List(), u"first", 1000, 2000) || !kel_fuzz::HasCaption(*stl.List(), u"last", 5000, 6000)) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelcaptionfiles::ReadResult stl;
  try {
    stl = kelcaptionfiles::ReadEbuStl(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.stl");
  } catch (const kelcaptionfiles::ReadError&) {
    return 0;
  }
  GoodSubtitlesAroundABadBlock(data, size);
  if (const kelcaptioning::CaptionList* open = stl.List()) {
    if (open->GetStreamFormat() != kelcaptioning::kStreamFormat_OpenEBU) __builtin_trap();
    kel_fuzz::PlaceAndCut(stl);
  } else {
    const kelcaptionfiles::CaptionTimeline& pages = *stl.Timeline();
    if (!pages.Empty()) {
      const kelcaptioning::StreamFormat format = pages.States().front().model->GetStreamFormat();
      if (!kelcaptioning::IsTeletext(format)) __builtin_trap();
      CheckPages(pages, format);
    }
  }
  return 0;
}

#include "kelcaption/StateFacts.h"

#include "kelcaptioning/Formats.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/String.h"

namespace kelcaption {

namespace {

using kelcaptioning::CaptioningRenderableModel;
using kelcaptioning::CaptioningRenderableModelWindowPtr;

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> LinesOf(const kelcaptioning::CaptioningRenderableModelWindow& window) {
  std::vector<std::string> lines;
  const auto keep = [&lines](const std::string& line) {
    std::string trimmed = Trimmed(line);
    if (!trimmed.empty()) lines.push_back(std::move(trimmed));
  };
  for (const auto& row : window.GetRows()) {
    if (!row) continue;
    kelcore::UTF16String line;
    for (const auto& cell : row->GetCells()) kelcore::string::AppendCodePoint(line, cell ? cell->GetCharacter() : U' ');
    keep(kelcore::string::UTF16ToUTF8(line));
  }
  kelcaptioning::OpenRowMap rows;
  window.GetOpenRows(rows);
  for (const auto& [key, row] : rows) {
    if (!row) continue;
    kelcaptioning::OpenSpanMap spans;
    row->GetOpenSpans(spans);
    std::string line;
    for (const auto& [spanKey, span] : spans) {
      if (span) line += kelcore::string::UTF16ToUTF8(span->GetText());
    }
    keep(line);
  }
  return lines;
}

}  // namespace

long CharacterCount(const std::string& line) {
  long count = 0;
  for (const char c : line) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::vector<StateFacts> FactsOf(const kelcaptionfiles::CaptionTimeline& timeline, kelui::inkpad::Inkpad& inkpad,
                                int width, int height) {
  std::vector<StateFacts> facts;
  facts.reserve(timeline.States().size());
  const kelcore::RectT<float> frame{0, 0, static_cast<float>(width), static_cast<float>(height)};
  for (const kelcaptionfiles::TimedModel& state : timeline.States()) {
    StateFacts& fact = facts.emplace_back();
    fact.begin = state.begin;
    fact.end = state.end;
    std::vector<int> order;
    state.model->GetWindowRenderOrder(order);
    for (const int number : order) {
      const CaptioningRenderableModelWindowPtr window = state.model->GetWindow(number);
      if (!window || !window->GetVisible()) continue;
      ShownWindow& shown = fact.windows.emplace_back();
      shown.number = number;
      shown.lines = LinesOf(*window);
      // The window alone, so that its rectangles are told from the others'.
      const kelcaptioning::CaptioningRenderableModelPtr alone(new CaptioningRenderableModel(state.model->GetStreamFormat()));
      alone->SetMaxRows(state.model->GetMaxRows());
      alone->SetMaxColumns(state.model->GetMaxColumns());
      alone->AddWindow(number, window);
      kelcaptioningui::CaptionRectList rects;
      kelcaptioningui::GetCaptionRects(alone, &inkpad, frame, rects);
      auto rect = rects.begin();
      if (!window->GetFillColor().IsTransparent() && rect != rects.end()) shown.fill = *rect++;
      shown.textBoxes.assign(rect, rects.end());
    }
  }
  return facts;
}

}  // namespace kelcaption

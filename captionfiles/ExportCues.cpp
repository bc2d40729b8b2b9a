#include "captionfiles/ExportCues.h"

#include <algorithm>

#include "captionfiles/Utf8.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioning/RenderableFromCaption.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;
using kelmediatypes::TickTime;

namespace {

using Alignment = ParagraphStyleAttributes::TextAlignmentType;

std::u32string CodePointsOf(std::u16string_view text) {
  std::u32string points;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsSurrogatePairAt(text, i)) {
      points += static_cast<char32_t>(0x10000 + ((text[i] - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      points += text[i];
    }
  }
  return points;
}

void AddRun(ExportLine& line, std::u32string text, const ExportStyle& style) {
  if (text.empty()) return;
  if (!line.runs.empty() && line.runs.back().style == style) {
    line.runs.back().text += text;
  } else {
    line.runs.push_back({std::move(text), style});
  }
}

ExportStyle StyleOf(const TextSpanAttributes& span) {
  ExportStyle style;
  style.color = span.GetForegroundColor();
  if (!span.GetBackgroundColor().IsTransparent()) style.background = span.GetBackgroundColor();
  style.italic = span.GetFontStyle() == kFontStyle_Italic || span.GetFontStyle() == kFontStyle_BoldItalic;
  style.bold = span.GetFontStyle() == kFontStyle_Bold || span.GetFontStyle() == kFontStyle_BoldItalic;
  style.underline = span.IsUnderlined();
  return style;
}

ExportStyle StyleOf(const TextAttributes& cell) {
  ExportStyle style;
  style.color = cell.GetForegroundColor();
  // Grid cells are on black unless they say other.
  const CaptioningColor background = cell.GetBackgroundColor();
  if (background != kCaptioningColor_Black && !background.IsTransparent()) style.background = background;
  style.italic = cell.IsItalic();
  style.underline = cell.IsUnderlined();
  return style;
}

bool IsBlank(char32_t c) { return c == 0 || c == U' ' || c == U'\u00A0'; }

// The line of one grid row: from its first shown character to its last, a missing cell a space.
std::optional<ExportLine> GridLine(const CaptioningRenderableModelRow& row, int rowNumber) {
  const CellList cells = row.GetCells();
  std::size_t first = 0, end = cells.size();
  const auto blank = [&cells](std::size_t i) { return !cells[i] || IsBlank(cells[i]->GetCharacter()); };
  while (first < end && blank(first)) ++first;
  while (end > first && blank(end - 1)) --end;
  if (first == end) return std::nullopt;
  ExportLine line;
  line.row = rowNumber;
  line.column = static_cast<int>(first);
  ExportStyle previous;
  for (std::size_t i = first; i < end; ++i) {
    if (!cells[i]) {
      AddRun(line, U" ", previous);
      continue;
    }
    previous = StyleOf(cells[i]->GetTextAttributes());
    AddRun(line, std::u32string(1, cells[i]->GetCharacter() == kCaptionSymbolCharacter ? U'\u263A'
                                                                                         : cells[i]->GetCharacter()),
           previous);
  }
  return line;
}

// The lines of a model: grid rows of every visible window, or open rows top to bottom.
void AddModelLines(const CaptioningRenderableModel& model, ExportCue& cue, FileNotes& notes) {
  std::vector<int> order;
  model.GetWindowRenderOrder(order);
  cue.gridRows = model.GetMaxRows();
  cue.gridColumns = model.GetMaxColumns();
  for (int number : order) {
    const CaptioningRenderableModelWindowPtr window = model.GetWindow(number);
    if (!window || !window->GetVisible()) continue;
    const RowList rows = window->GetRows();
    if (!rows.empty() && window->GetAnchorID() != kAnchor_TopLeft) {
      notes.Add("caption windows anchored other than at the top left (written as if they were)");
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (!rows[r]) continue;
      if (std::optional<ExportLine> line = GridLine(*rows[r], static_cast<int>(r))) cue.lines.push_back(*line);
    }
    OpenRowMap openRows;
    window->GetOpenRows(openRows);
    std::vector<std::pair<int, ExportLine>> open;
    for (const auto& [key, row] : openRows) {
      if (!row) continue;
      OpenSpanMap spans;
      row->GetOpenSpans(spans);
      ExportLine line;
      for (const auto& [spanKey, span] : spans) {
        if (span) AddRun(line, CodePointsOf(span->GetText()), StyleOf(span->GetTextSpanAttributes()));
      }
      if (!line.runs.empty()) open.emplace_back(row->GetVerticalStart(), std::move(line));
    }
    std::stable_sort(open.begin(), open.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& entry : open) cue.lines.push_back(std::move(entry.second));
  }
  const StreamFormat format = model.GetStreamFormat();
  if (cue.gridRows <= 0 || !(IsCEA608(format) || IsCEA708(format) || IsTeletext(format))) {
    cue.gridRows = cue.gridColumns = 0;
  }
}

ExportCue SubtitleCue(const Caption& caption, const ReadResult& read) {
  ExportCue cue;
  cue.begin = caption.GetBeginTime();
  cue.end = caption.GetEndTime();
  bool first = true;
  for (const CaptionTextParagraphPtr& paragraph : caption.GetCaptionTextParagraphs()) {
    if (!paragraph) continue;
    const ParagraphStyleAttributes style = paragraph->GetParagraphStyleAttributes();
    if (first) {
      cue.anchor = style.GetAnchorID();
      if (cue.anchor == kAnchor_Free) cue.position = paragraph->GetCaptionPosition();
      first = false;
    }
    ExportLine line;
    line.alignment = style.GetTextAlignment();
    line.anchor = style.GetAnchorID();
    for (const CaptionTextSpanPtr& span : paragraph->GetCaptionTextSpans()) {
      if (span) AddRun(line, CodePointsOf(span->GetSpanText()), StyleOf(span->GetTextSpanStyleAttributes()));
    }
    const std::u32string text = line.Text();
    if (!std::all_of(text.begin(), text.end(), IsBlank)) cue.lines.push_back(std::move(line));
  }
  const auto box = read.boxes.find(&caption);
  if (box != read.boxes.end()) cue.box = box->second;
  return cue;
}

}  // namespace

std::u32string ExportLine::Text() const {
  std::u32string text;
  for (const ExportRun& run : runs) text += run.text;
  return text;
}

ExportCues CuesOf(const ReadResult& read) {
  ExportCues out;
  if (const CaptionTimeline* timeline = read.Timeline()) {
    for (const TimedModel& state : timeline->States()) {
      if (!state.model) continue;
      out.format = state.model->GetStreamFormat();
      ExportCue cue;
      cue.begin = state.begin;
      cue.end = state.end;
      cue.cause = state.cause;
      AddModelLines(*state.model, cue, out.notes);
      if (!cue.lines.empty()) out.cues.push_back(std::move(cue));
    }
    return out;
  }
  const CaptionList* list = read.List();
  if (!list) return out;
  out.format = list->GetStreamFormat();
  const bool grid = IsCEA608(out.format) || IsCEA708(out.format) || IsTeletext(out.format);
  for (const CaptionPtr& caption : list->GetCaptions()) {
    if (!caption) continue;
    ExportCue cue;
    if (grid) {
      cue.begin = caption->GetBeginTime();
      cue.end = caption->GetEndTime();
      AddModelLines(*MakeRenderableModel(out.format, *caption, 0, 0), cue, out.notes);
    } else {
      cue = SubtitleCue(*caption, read);
    }
    if (!cue.lines.empty() && cue.end > cue.begin) out.cues.push_back(std::move(cue));
  }
  return out;
}

AnchorID SubtitleAnchor(const ExportCue& cue) {
  if (cue.gridRows <= 0 || cue.lines.empty()) return cue.anchor;
  return cue.lines.front().row * 2 < cue.gridRows ? kAnchor_TopCenter : kAnchor_BottomCenter;
}

std::vector<ExportLine> GridLines(const ExportCue& cue, int rows, int columns, bool& cut) {
  std::vector<ExportLine> lines;
  const bool onGrid = std::all_of(cue.lines.begin(), cue.lines.end(), [&](const ExportLine& line) {
    return line.row >= 0 && line.row < rows && line.column >= 0 &&
           line.column + static_cast<int>(line.Text().size()) <= columns;
  });
  if (onGrid) return cue.lines;
  // Wrap each line at spaces, keeping the runs' styles.
  for (const ExportLine& line : cue.lines) {
    ExportLine current;
    current.alignment = line.alignment;
    std::size_t length = 0;
    std::vector<std::pair<char32_t, ExportStyle>> word;
    const auto flushWord = [&] {
      while (!word.empty()) {
        const std::size_t take = std::min(word.size(), static_cast<std::size_t>(columns));
        const std::size_t needed = take + (length > 0 ? 1 : 0);
        if (length > 0 && length + needed > static_cast<std::size_t>(columns)) {
          lines.push_back(std::move(current));
          current = ExportLine{};
          current.alignment = line.alignment;
          length = 0;
          continue;
        }
        if (length > 0) AddRun(current, U" ", word.front().second), ++length;
        for (std::size_t i = 0; i < take; ++i) AddRun(current, std::u32string(1, word[i].first), word[i].second);
        length += take;
        word.erase(word.begin(), word.begin() + static_cast<std::ptrdiff_t>(take));
      }
    };
    for (const ExportRun& run : line.runs) {
      for (char32_t c : run.text) {
        if (IsBlank(c)) {
          flushWord();
        } else {
          word.emplace_back(c, run.style);
        }
      }
    }
    flushWord();
    if (length > 0) lines.push_back(std::move(current));
  }
  cut = static_cast<int>(lines.size()) > rows;
  if (cut) lines.resize(static_cast<std::size_t>(rows));
  // Stack them at the anchor's edge and align each in its row.
  const int count = static_cast<int>(lines.size());
  const AnchorID anchor = SubtitleAnchor(cue);
  const int anchorRow = anchor == kAnchor_Free && cue.position
                            ? static_cast<int>(std::clamp(boost::rational_cast<double>(cue.position->GetY()), 0.0, 1.0) *
                                                         (rows - count))
                            : static_cast<int>(anchor) / 3 == 0 ? 0
                            : static_cast<int>(anchor) / 3 == 1 ? (rows - count) / 2
                                                                    : rows - count;
  for (int i = 0; i < count; ++i) {
    ExportLine& line = lines[static_cast<std::size_t>(i)];
    const int width = static_cast<int>(line.Text().size());
    line.row = anchorRow + i;
    line.column = line.alignment == ParagraphStyleAttributes::kTextAlignment_Left    ? 0
                  : line.alignment == ParagraphStyleAttributes::kTextAlignment_Right ? columns - width
                                                                                      : (columns - width) / 2;
  }
  return lines;
}

}  // namespace kelcaptionfiles

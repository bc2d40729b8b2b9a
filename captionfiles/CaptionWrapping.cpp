#include "captionfiles/CaptionWrapping.h"

#include <algorithm>
#include <cstring>

#include "captionfiles/BalancedWrapping.h"
#include "captionfiles/LineBreaking.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

double MeasuredWidths::Of(const TextSpanAttributes& style, std::u16string_view text) {
  if (text.empty()) return 0;
  // What changes a run's width: the face, the size, the weight and slant, and the text.
  std::u16string key(style.GetFontName().begin(), style.GetFontName().end());
  const float size = style.GetFontSize();
  char16_t sizeUnits[sizeof size / sizeof(char16_t)];
  std::memcpy(sizeUnits, &size, sizeof size);
  key.push_back(u'\0');
  key.append(sizeUnits, std::size(sizeUnits));
  key.push_back(static_cast<char16_t>(style.GetFontStyle()));
  key.append(text);
  const auto found = widths_.find(key);
  if (found != widths_.end()) return found->second;
  const double width = measurer_.TextWidth(style, text);
  widths_.emplace(std::move(key), width);
  return width;
}

int ParagraphSideMargins(const CaptionTextParagraph& paragraph) {
  float largest = 0.0f;
  for (const CaptionTextSpanPtr& span : paragraph.GetCaptionTextSpans()) {
    if (span) largest = std::max(largest, span->GetTextSpanStyleAttributes().GetFontSize());
  }
  const float margins = largest * 0.125f * 2.0f + 0.5f;
  return margins >= 1.0f && margins < 1e9f ? static_cast<int>(margins) : 0;  // NaN too
}

namespace {

// A paragraph's spans laid end to end, so that a range of its text can be measured and cut.
class SpanRuns {
 public:
  explicit SpanRuns(const CaptionTextParagraph& paragraph) {
    for (const CaptionTextSpanPtr& span : paragraph.GetCaptionTextSpans()) {
      if (!span || span->GetSpanText().empty()) continue;
      spans_.push_back(span);
      starts_.push_back(text_.size());
      text_.append(span->GetSpanText().begin(), span->GetSpanText().end());
    }
  }

  std::u16string_view Text() const { return text_; }

  double Width(std::size_t begin, std::size_t end, MeasuredWidths& widths) const {
    double width = 0;
    ForEachPiece(begin, end, [&](const CaptionTextSpan& span, std::u16string_view piece) {
      width += widths.Of(span.GetTextSpanStyleAttributes(), piece);
    });
    return width;
  }

  // A paragraph of text [begin, end), with `style` and `position`.
  CaptionTextParagraphPtr Line(std::size_t begin, std::size_t end, const ParagraphStyleAttributes& style,
                               const Position& position) const {
    CaptionTextParagraphPtr line(new CaptionTextParagraph());
    ForEachPiece(begin, end, [&](const CaptionTextSpan& span, std::u16string_view piece) {
      CaptionTextSpanPtr cut(new CaptionTextSpan());
      cut->SetCaptionText(kelcore::UTF16String(piece.begin(), piece.end()));
      cut->SetTextSpanStyleAttributes(span.GetTextSpanStyleAttributes());
      line->AppendCaptionTextSpan(cut);
    });
    line->SetParagraphStyleAttributes(style);
    line->SetCaptionPosition(position);
    return line;
  }

 private:
  template <typename Visit>
  void ForEachPiece(std::size_t begin, std::size_t end, Visit visit) const {
    // From the span that holds `begin`: a long cue may have many spans and many pieces.
    const auto first = std::upper_bound(starts_.begin(), starts_.end(), begin);
    for (auto k = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, first - starts_.begin() - 1));
         k < spans_.size() && starts_[k] < end; ++k) {
      const std::size_t from = std::max(begin, starts_[k]);
      const std::size_t to = std::min(end, starts_[k] + spans_[k]->GetSpanText().size());
      if (from < to) visit(*spans_[k], std::u16string_view(text_).substr(from, to - from));
    }
  }

  std::vector<CaptionTextSpanPtr> spans_;
  std::vector<std::size_t> starts_;
  std::u16string text_;
};

struct TextPiece {
  std::size_t begin, contentEnd, end;
};

// Cuts a segment too wide for a line into pieces that fit, between characters.
void CutWideSegment(const SpanRuns& runs, const BreakSegment& segment, double maxWidth, MeasuredWidths& widths,
                    std::vector<TextPiece>& pieces, std::vector<WrapPiece>& wrap) {
  const std::u16string_view text = runs.Text();
  std::size_t begin = segment.begin;
  double width = 0;
  for (std::size_t at = segment.begin; at < segment.contentEnd;) {
    std::size_t next = at + 1;
    while (next < segment.contentEnd && !CanCutBefore(text, next)) ++next;
    const double character = runs.Width(at, next, widths);
    if (at > begin && width + character > maxWidth) {
      pieces.push_back({begin, at, at});
      wrap.push_back({width, width, false});
      begin = at;
      width = 0;
    }
    width += character;
    at = next;
  }
  pieces.push_back({begin, segment.contentEnd, segment.end});
  wrap.push_back({width + runs.Width(segment.contentEnd, segment.end, widths), width, segment.mustBreak});
}

}  // namespace

CaptionPtr WrapCaption(const CaptionPtr& caption, int maxWidth, MeasuredWidths& widths, LineFilling filling) {
  if (!caption) return caption;
  CaptionTextParagraphList lines;
  bool wrapped = false;
  for (const CaptionTextParagraphPtr& paragraph : caption->GetCaptionTextParagraphs()) {
    if (!paragraph) continue;
    const SpanRuns runs(*paragraph);
    // Browsers wrap a cue's text to the whole width of its box; balanced lines keep their side
    // margins inside the space.
    const double textWidth = maxWidth - (filling == LineFilling::kFirstFit ? 0 : ParagraphSideMargins(*paragraph));
    std::vector<TextPiece> pieces;
    std::vector<WrapPiece> wrap;
    for (const BreakSegment& segment : BreakSegments(runs.Text())) {
      const double content = runs.Width(segment.begin, segment.contentEnd, widths);
      if (content > textWidth && segment.contentEnd - segment.begin > 1) {
        CutWideSegment(runs, segment, textWidth, widths, pieces, wrap);
        continue;
      }
      pieces.push_back({segment.begin, segment.contentEnd, segment.end});
      wrap.push_back({content + runs.Width(segment.contentEnd, segment.end, widths), content, segment.mustBreak});
    }
    const std::vector<std::size_t> starts = BalancedLineStarts(wrap, textWidth, filling);
    if (starts.size() <= 1) {
      lines.push_back(paragraph);
      continue;
    }
    wrapped = true;
    for (std::size_t l = 0; l < starts.size(); ++l) {
      const std::size_t last = (l + 1 < starts.size() ? starts[l + 1] : pieces.size()) - 1;
      if (pieces[starts[l]].begin >= pieces[last].contentEnd) continue;  // only spaces
      lines.push_back(runs.Line(pieces[starts[l]].begin, pieces[last].contentEnd,
                                paragraph->GetParagraphStyleAttributes(), paragraph->GetCaptionPosition()));
    }
  }
  if (!wrapped) return caption;
  CaptionPtr laid(new Caption());
  for (const CaptionTextParagraphPtr& line : lines) laid->AppendCaptionTextParagraph(line);
  laid->SetBeginTime(caption->GetBeginTime());
  laid->SetEndTime(caption->GetEndTime());
  laid->SetCaptionType(caption->GetCaptionType());
  return laid;
}

}  // namespace kelcaptionfiles

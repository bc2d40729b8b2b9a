#include "captionfiles/SubtitleSpans.h"

#include "kelcore/String.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

TextSpanAttributes SpanAttributes(const SubtitleStyle& base, const InlineStyle& style) {
  TextSpanAttributes a;
  a.SetForegroundColor(style.color.value_or(base.foreground));
  a.SetBackgroundColor(style.background.value_or(base.background));
  a.SetForegroundEdgeColor(kCaptioningColor_Black);
  a.SetTextEdge(base.edge);
  a.SetTextEdgeWidth(base.edgeWidth);
  a.SetFontName(kelcore::string::UTF8ToUTF16(style.face.empty() ? base.fontName : style.face));
  a.SetFontSize(style.size > 0 ? style.size : base.fontSize);
  a.SetUnderlined(style.underline);
  a.SetFontStyle(style.bold ? (style.italic ? kFontStyle_BoldItalic : kFontStyle_Bold)
                            : (style.italic ? kFontStyle_Italic : kFontStyle_Regular));
  return a;
}

void CueBuilder::Add(std::string_view utf8, const InlineStyle& style) {
  if (utf8.empty()) return;
  if (!run_.empty() && !(style == runStyle_)) Flush();
  runStyle_ = style;
  run_.append(utf8);
}

void CueBuilder::Flush() {
  if (run_.empty()) return;
  if (!line_) line_ = new CaptionTextParagraph();
  CaptionTextSpanPtr span(new CaptionTextSpan());
  span->SetCaptionText(kelcore::string::UTF8ToUTF16(run_));
  span->SetTextSpanStyleAttributes(SpanAttributes(base_, runStyle_));
  line_->AppendCaptionTextSpan(span);
  run_.clear();
}

void CueBuilder::EndLine() {
  Flush();
  if (line_) lines_.push_back(line_);
  line_ = nullptr;
}

CaptionPtr CueBuilder::Take(const ParagraphStyleAttributes& paragraphStyle) {
  EndLine();
  if (lines_.empty()) return nullptr;
  CaptionPtr caption(new Caption());
  for (const CaptionTextParagraphPtr& line : lines_) {
    line->SetParagraphStyleAttributes(paragraphStyle);
    caption->AppendCaptionTextParagraph(line);
  }
  lines_.clear();
  return caption;
}

}  // namespace kelcaptionfiles

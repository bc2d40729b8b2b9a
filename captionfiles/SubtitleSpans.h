#pragma once

// The spans of subtitle text, as the subtitle readers build them: text under an inline style
// (bold, italics, colour, ...) on top of the style a file does not override.

#include <optional>
#include <string>
#include <string_view>

#include "kelcaptionfiles/SubtitleStyle.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

struct InlineStyle {
  bool italic = false;
  bool bold = false;
  bool underline = false;
  std::optional<kelcaptioning::CaptioningColor> color;
  std::optional<kelcaptioning::CaptioningColor> background;
  std::string face;
  float size = 0.0f;  // 0: the base style's
  friend bool operator==(const InlineStyle&, const InlineStyle&) = default;
};

kelcaptioning::TextSpanAttributes SpanAttributes(const SubtitleStyle& base, const InlineStyle& style);

// Builds the paragraphs of one cue: text goes into the current line, neighbouring text of one
// style into one span.
class CueBuilder {
 public:
  explicit CueBuilder(const SubtitleStyle& base) : base_(base) {}

  void Add(std::string_view utf8, const InlineStyle& style);
  // Ends the current line; a line without text is left out.
  void EndLine();
  // The caption of every line ended so far, each paragraph with `paragraphStyle`; null when no
  // line has text.
  kelcaptioning::CaptionPtr Take(const kelcaptioning::ParagraphStyleAttributes& paragraphStyle);

 private:
  void Flush();

  const SubtitleStyle& base_;
  std::vector<kelcaptioning::CaptionTextParagraphPtr> lines_;
  kelcaptioning::CaptionTextParagraphPtr line_;
  std::string run_;
  InlineStyle runStyle_;
};

}  // namespace kelcaptionfiles

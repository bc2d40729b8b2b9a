#pragma once

// WebVTT cue text as its parsing rules read it: the cue text tokenizer (text, character
// references, start and end tags with classes and annotations, timestamp tags) and the tree
// that its tokens build (class, italic, bold, underline, ruby, ruby text, voice and language
// objects, and timestamps), flattened into runs of text with the style their objects give.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "captionfiles/SubtitleSpans.h"

namespace kelcaptionfiles::webvtt {

struct TextRun {
  std::string text;  // character references resolved; line feeds are line breaks
  InlineStyle style;
};

// What the text holds that its runs do not show, at its byte offset in the cue text.
struct CueTextMark {
  enum Kind { kRuby, kRubyText, kTimestamp, kUnknownTag };
  Kind kind;
  std::size_t offset;
  std::string name;  // the tag's name
};

struct CueText {
  std::vector<TextRun> runs;
  std::vector<CueTextMark> marks;
};

// Italics, bold and underline from <i>, <b>, <u>; colours from the default classes ("yellow",
// "bg_blue" and the others of white, lime, cyan, red, yellow, magenta, blue, black).
CueText ParseCueText(std::string_view text);

}  // namespace kelcaptionfiles::webvtt

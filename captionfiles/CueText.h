#pragma once

// Pieces that the subtitle readers share: lines, time codes and inline styling of cue text.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kelcaptionfiles/FileNotes.h"
#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/SubtitleStyle.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles::cues {

struct Line {
  std::string_view text;
  int number;
};

// The byte offset of the first malformed UTF-8 sequence, or npos.
std::size_t FirstInvalidUtf8(std::string_view s);
// Splits at LF, CR LF or CR; lines are numbered from 1.
std::vector<Line> SplitLines(std::string_view text);
// Throws ReadError at the first line that is not valid UTF-8.
void CheckUtf8(const std::vector<Line>& lines, const std::string& file);
bool IsBlank(std::string_view s);

enum class TimeSyntax {
  kSubRip,  // HH:MM:SS,mmm (a '.' is taken too)
  kWebVtt,  // [HH:]MM:SS.mmm
};

// Parses "begin --> end" at the start of `line`; returns the two times and where the text after
// the end time starts. Throws ReadError at the offending column.
struct CueTiming {
  kelmediatypes::TickTime begin;
  kelmediatypes::TickTime end;
  std::size_t rest = 0;
};
CueTiming ParseCueTiming(const std::string& file, const Line& line, TimeSyntax syntax);

// One line of cue text as a paragraph: spans for <i>, <b>, <u> and <font color face size>;
// <c.class>, <v speaker>, <lang> and time stamps carry no style here; {\...} override blocks are
// dropped. Tags this reader cannot show (<ruby>, <rt>) are counted in `notes`, placed from
// `lineStart`, where the line begins.
kelcaptioning::CaptionTextParagraphPtr ParagraphOf(std::string_view line, const SubtitleStyle& base,
                                                   FileNotes* notes = nullptr, const FilePlace& lineStart = {});

}  // namespace kelcaptionfiles::cues

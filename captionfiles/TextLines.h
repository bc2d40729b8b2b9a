#pragma once

// The lines of a caption text file, in UTF-8, numbered as an editor numbers them.

#include <string>
#include <string_view>
#include <vector>

#include "captionfiles/ReadProblems.h"
#include "kelcaptionfiles/FileNotes.h"

namespace kelcaptionfiles {

struct Line {
  std::string_view text;
  int number;
};

// Splits at LF, CR LF or CR; lines are numbered from 1.
std::vector<Line> SplitLines(std::string_view text);
// Spaces and tabs only, or nothing.
bool IsBlank(std::string_view s);
// The line and column (from 1, in bytes) of byte `offset` of `text`.
FilePlace PlaceOf(std::string_view text, std::size_t offset);
// The column (from 1) of `part`, a view into `line`, as a place.
FilePlace PlaceIn(const Line& line, std::string_view part);

// `text` without a UTF-8 byte-order mark and with each malformed UTF-8 sequence replaced by
// U+FFFD, as a browser decodes it; the malformed ones are reported as "invalid UTF-8".
std::string ReadableUtf8(std::string_view text, ReadProblems& problems);

}  // namespace kelcaptionfiles

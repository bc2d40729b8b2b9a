#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// Reads SubRip text (UTF-8; CR LF, LF or CR) into an open-caption list as players read it: one
// caption per cue, the cue's text as ReadSrtCueText reads it. A cue is a time line (see
// ReadSrtTiming), after a cue number or not, and the text up to the next cue: cue numbers may be
// missing, wrong or out of order, blank lines may stand inside and between cues. What cannot be
// read (a time line, a cue that ends before it begins, lines outside any cue, invalid UTF-8) is
// skipped or repaired and reported in the notes with its line and column; with
// `options.strict`, the first of them throws ReadError instead.
ReadResult ReadSrt(std::string_view text, const std::string& fileName, const ReadOptions& options = {});

}  // namespace kelcaptionfiles

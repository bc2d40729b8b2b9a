#pragma once

#include <string>
#include <string_view>

#include "kelcaptionfiles/ReadError.h"
#include "kelcaptionfiles/ReadResult.h"
#include "kelcaptionfiles/SubtitleStyle.h"

namespace kelcaptionfiles {

// Reads a WebVTT file into an open-caption list, one caption per cue and one paragraph per line.
// Cue settings: align (start, left, center, middle, end, right) picks the text alignment and,
// without line or position, the bottom anchor; line:N% and position:N% place the cue freely (see
// PlaceFreeCues). Inline <i>, <b>, <u> are styled; <c>, <v>, <lang> and time stamps are read
// as plain text. What the reader does not apply (STYLE and REGION blocks, size, vertical,
// region, line numbers, ruby) is counted in the notes with where it first occurs, instead of
// being dropped silently. Throws ReadError for a missing WEBVTT header, a bad time code or
// invalid UTF-8.
ReadResult ReadWebVtt(std::string_view text, const std::string& fileName, const SubtitleStyle& style = {});

}  // namespace kelcaptionfiles

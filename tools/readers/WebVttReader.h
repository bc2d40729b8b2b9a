#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "kelcaptioning/CaptionList.h"
#include "readers/ReadError.h"
#include "readers/SrtReader.h"

namespace kelcaption {

// Reads a WebVTT file into an open-caption list, one caption per cue and one paragraph per line.
// Cue settings: align (start, left, center, middle, end, right) picks the text alignment and,
// without line or position, the bottom anchor; line:N% and position:N% place the cue freely (see
// PlaceFreeCues). Inline <i>, <b>, <u> are styled; <c>, <v>, <lang> and time stamps are read
// as plain text. What the reader does not apply (STYLE and REGION blocks, size, vertical,
// region, line numbers, ruby) is listed in `unsupported`, once each, instead of being dropped
// silently. Throws ReadError for a missing WEBVTT header, a bad time code or invalid UTF-8.
kelcaptioning::CaptionListPtr ReadWebVtt(std::string_view text, const std::string& fileName,
                                         const SubtitleStyle& style, std::vector<std::string>& unsupported);

// Free cues carry their position as fractions until their lines are measured: x is where the
// alignment point of the cue box lies (left edge, centre or right edge), y is the box's top, or
// 1 for "at the bottom". This turns them into the top-left corners of measured lines, stacked,
// in an area of `areaWidth` x `areaHeight`.
void PlaceFreeCues(kelcaptioning::Caption& caption, int areaWidth, int areaHeight);

}  // namespace kelcaption

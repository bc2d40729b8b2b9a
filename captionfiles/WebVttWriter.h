#pragma once

#include <string>

#include "captionfiles/ExportCues.h"

namespace kelcaptionfiles {

// WebVTT: "WEBVTT", then cues "HH:MM:SS.mmm --> HH:MM:SS.mmm" with the settings that put them
// where they stand (line, position, size and align), and their text with <b>, <i>, <u> and the
// default colour classes (<c.yellow>, <c.bg_blue>). A colour that is not one of the classes
// takes the nearest, counted in `notes`.
std::string WriteWebVtt(const ExportCues& cues, FileNotes& notes);

}  // namespace kelcaptionfiles

#pragma once

#include <string>

#include "captionfiles/ExportCues.h"

namespace kelcaptionfiles {

// SubRip: numbered cues, "HH:MM:SS,mmm --> HH:MM:SS,mmm", a text line per cue line. With
// `styling`, <b>, <i>, <u> and <font color="#rrggbb"> around styled runs and {\anN} before a cue
// that does not stand at the bottom centre; without it, plain text. What SubRip cannot carry
// (backgrounds, boxes placed by position) is counted in `notes`.
std::string WriteSrt(const ExportCues& cues, bool styling, FileNotes& notes);

}  // namespace kelcaptionfiles

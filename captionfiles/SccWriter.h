#pragma once

#include <string>

#include "captionfiles/ExportCues.h"
#include "captionfiles/ExportTimes.h"

namespace kelcaptionfiles {

// Scenarist SCC of caption channel 1: the pairs of EncodeLine21 as hexadecimal words, every byte
// with odd parity, each line of the file timed by a time code of `clock`'s kind (drop frame or
// not) at 30000/1001 frames a second.
std::string WriteScc(const ExportCues& cues, const FrameClock& clock, FileNotes& notes);

}  // namespace kelcaptionfiles

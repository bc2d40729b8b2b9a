#pragma once

#include <string>

#include "kelcaptionfiles/Export.h"
#include "kelcaptionfiles/FileNotes.h"
#include "kelcaptionfiles/ReadResult.h"
#include "kelcaptioning/ExportFormats.h"
#include "kelmediatypes/TimeDisplay.h"

namespace kelcaptionfiles {

// How captions are written to a sidecar file: the choices of the sidecar settings dialog.
struct WriteOptions {
  kelcaptioning::CaptioningExportFormat format = kelcaptioning::kCaptioningExportFormat_SRT;
  // The time codes' frame rate; SubRip and WebVTT always write milliseconds, SCC 29.97 frames.
  kelmediatypes::TimeDisplay timeDisplay = kelmediatypes::kTimeDisplay_Milliseconds;
  // SubRip only: <i>, <b>, <u> and <font color> tags, and {\an} for captions not at the bottom.
  bool srtStyling = true;
};

struct WriteResult {
  std::string bytes;
  // What the captions hold that the format cannot carry, one note a kind, counted by cue.
  FileNotes notes;
};

// The file of `options.format` holding what a reader gave. Throws std::invalid_argument for a
// time display the format does not use (see GetSupportedTimeDisplaysForFormat). MCC files carry
// line 21 (caption channel 1) and, for digital-TV sources, their windows in caption service 1.
KELCAPTIONFILES_API WriteResult WriteCaptions(const ReadResult& captions, const WriteOptions& options);

// ".srt", ".vtt", ".scc", ".mcc", ".xml" (timed text) or ".stl".
KELCAPTIONFILES_API const char* ExportFileExtension(kelcaptioning::CaptioningExportFormat format);

}  // namespace kelcaptionfiles

#pragma once

#include <cstdio>

#include "kelcaption/CommandLine.h"
#include "kelcaption/Frame.h"
#include "kelcaptionfiles/CaptionTimeline.h"
#include "kelcaptionfiles/ShownStates.h"

namespace kelcaption {

// Subtitles are measured as the caption library draws them.
class InkpadMeasurer : public kelcaptionfiles::CaptionMeasurer {
 public:
  explicit InkpadMeasurer(kelui::inkpad::Inkpad& inkpad) : inkpad_(inkpad) {}
  void Measure(kelcaptioning::CaptionPtr& caption) override;
  float TextWidth(const kelcaptioning::TextSpanAttributes& style, std::u16string_view text) override;

 private:
  kelui::inkpad::Inkpad& inkpad_;
};

// What the caption file shows over time in a frame of `width` x `height`: read by its kind,
// subtitles measured with real fonts on `measuring`. The notes of the read (parts skipped or
// repaired as problems, what is not shown as asked) are reported on standard error, a line a
// kind, with where it first occurs. Throws std::runtime_error with a message for the user when
// nothing could be read, kelcaptionfiles::ReadError at the first problem of a strict reading.
// `notes`, when given, gets the notes too.
kelcaptionfiles::CaptionTimeline LoadCaptionStates(const CaptionFileOptions& options, int width, int height,
                                                   Frame& measuring, kelcaptionfiles::FileNotes* notes = nullptr);

// The captions of the file (or of a video's own caption data) as its reader gives them, subtitles
// styled for a frame `height` pixels high and `textSize` times the standard size; throws as
// LoadCaptionStates does when nothing could be read.
kelcaptionfiles::ReadResult ReadCaptionsOf(const CaptionFileOptions& options, int height, float textSize = 1.0f);

// The notes of a read, a line a kind, with where each first occurs: "kelcaption: FILE:LINE:COLUMN:
// problem: ...".
void ReportNotes(const std::string& file, const kelcaptionfiles::FileNotes& notes, std::FILE* to = stderr);

// Whether the file's times are time codes of the programme (SCC, EBU STL), which start where the
// video's time code starts, rather than times from the start of the video.
bool CaptionTimesAreTimeCodes(const std::string& file);

}  // namespace kelcaption

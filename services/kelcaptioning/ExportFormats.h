#pragma once

#include <functional>
#include <set>

#include "kelcaptioning/Export.h"
#include "kelcaptioning/StreamFormat.h"
#include "kelcore/Allocators.h"
#include "kelcore/String.h"
#include "kelmediatypes/TimeDisplay.h"

namespace kelcaptioning {

// Sidecar file formats that caption tracks export to.
enum CaptioningExportFormat : int {
  kCaptioningExportFormat_SCC = 0,     // Scenarist closed captions, line-21 only
  kCaptioningExportFormat_MCC = 1,     // MacCaption, line-21 and digital TV
  kCaptioningExportFormat_TTML = 2,    // W3C / SMPTE / EBU timed text
  kCaptioningExportFormat_STL = 3,     // EBU N19 subtitles
  kCaptioningExportFormat_SRT = 4,     // SubRip
  kCaptioningExportFormat_WebVTT = 5,  // Web Video Text Tracks
};

using StreamFormatSet = std::set<StreamFormat, std::less<StreamFormat>, kelcore::STLAllocator<StreamFormat>>;
using ExportFormatSet =
    std::set<CaptioningExportFormat, std::less<CaptioningExportFormat>, kelcore::STLAllocator<CaptioningExportFormat>>;
using TimeDisplaySet = std::set<kelmediatypes::TimeDisplay, std::less<kelmediatypes::TimeDisplay>,
                                kelcore::STLAllocator<kelmediatypes::TimeDisplay>>;

// Replaces `formats` with the export formats that every one of `streamFormats` can be written to;
// false (and `formats` empty) when there is none, also for an empty set.
KELCAPTIONING_API bool GetCaptionExportFormats(ExportFormatSet& formats, const StreamFormatSet& streamFormats);

// The format's name for a menu, such as "SubRip Subtitle Format", with its file extension
// (" (.srt)") when `withExtension`.
KELCAPTIONING_API kelcore::UTF16String GetDescriptionForFormat(CaptioningExportFormat format, bool withExtension);

// Replaces `displays` with the time displays that the format's time codes can use; false (and
// `displays` empty) for an unknown format.
KELCAPTIONING_API bool GetSupportedTimeDisplaysForFormat(CaptioningExportFormat format, TimeDisplaySet& displays);

}  // namespace kelcaptioning

#include "kelcaptionfiles/CaptionWriters.h"

#include <stdexcept>

#include "captionfiles/DtvccEncoding.h"
#include "captionfiles/EbuStlWriter.h"
#include "captionfiles/ExportCues.h"
#include "captionfiles/MccWriter.h"
#include "captionfiles/SccWriter.h"
#include "captionfiles/SrtWriter.h"
#include "captionfiles/TtmlWriter.h"
#include "captionfiles/WebVttWriter.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

WriteResult WriteCaptions(const ReadResult& captions, const WriteOptions& options) {
  TimeDisplaySet displays;
  if (!GetSupportedTimeDisplaysForFormat(options.format, displays) || !displays.contains(options.timeDisplay)) {
    throw std::invalid_argument(kelcore::string::UTF16ToUTF8(GetDescriptionForFormat(options.format, false)) +
                                " does not use the time display " +
                                kelcore::string::UTF16ToUTF8(kelmediatypes::TimeDisplayDescription(options.timeDisplay)));
  }
  ExportCues cues = CuesOf(captions);
  WriteResult result;
  result.notes = std::move(cues.notes);
  switch (options.format) {
    case kCaptioningExportFormat_SRT: result.bytes = WriteSrt(cues, options.srtStyling, result.notes); break;
    case kCaptioningExportFormat_SCC:
      result.bytes = WriteScc(cues, FrameClock(options.timeDisplay), result.notes);
      break;
    case kCaptioningExportFormat_MCC:
      // Digital-TV windows go as they are: what the cues of their line-21 copy lose is no loss.
      if (captions.Timeline() && HoldsDtvccStates(*captions.Timeline())) result.notes = {};
      result.bytes = WriteMcc(captions, cues, FrameClock(options.timeDisplay), result.notes);
      break;
    case kCaptioningExportFormat_STL:
      result.bytes = WriteEbuStl(cues, FrameClock(options.timeDisplay), result.notes);
      break;
    case kCaptioningExportFormat_TTML: result.bytes = WriteTtml(cues, options.timeDisplay, result.notes); break;
    case kCaptioningExportFormat_WebVTT: result.bytes = WriteWebVtt(cues, result.notes); break;
    default: throw std::invalid_argument("unknown caption file format " + std::to_string(options.format));
  }
  return result;
}

const char* ExportFileExtension(CaptioningExportFormat format) {
  switch (format) {
    case kCaptioningExportFormat_SCC: return ".scc";
    case kCaptioningExportFormat_MCC: return ".mcc";
    case kCaptioningExportFormat_TTML: return ".xml";
    case kCaptioningExportFormat_STL: return ".stl";
    case kCaptioningExportFormat_SRT: return ".srt";
    case kCaptioningExportFormat_WebVTT: return ".vtt";
  }
  return "";
}

}  // namespace kelcaptionfiles

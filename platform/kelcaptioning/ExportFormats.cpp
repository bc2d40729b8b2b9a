#include "kelcaptioning/ExportFormats.h"

#include <algorithm>
#include <iterator>

#include "kelcaptioning/Formats.h"

namespace kelcaptioning {

namespace {

using namespace kelmediatypes;

ExportFormatSet FormatsOf(StreamFormat stream) {
  if (IsCEA608(stream)) {
    return {kCaptioningExportFormat_SCC, kCaptioningExportFormat_MCC, kCaptioningExportFormat_TTML,
            kCaptioningExportFormat_SRT, kCaptioningExportFormat_WebVTT};
  }
  if (IsCEA708(stream)) {
    return {kCaptioningExportFormat_MCC, kCaptioningExportFormat_TTML, kCaptioningExportFormat_SRT,
            kCaptioningExportFormat_WebVTT};
  }
  if (IsTeletext(stream) || IsOpenEBUSubtitling(stream)) {
    return {kCaptioningExportFormat_TTML, kCaptioningExportFormat_STL, kCaptioningExportFormat_SRT,
            kCaptioningExportFormat_WebVTT};
  }
  if (IsOpenCaptions(stream)) {
    return {kCaptioningExportFormat_TTML, kCaptioningExportFormat_SRT, kCaptioningExportFormat_WebVTT};
  }
  return {};
}

}  // namespace

bool GetCaptionExportFormats(ExportFormatSet& formats, const StreamFormatSet& streamFormats) {
  formats.clear();
  bool first = true;
  for (StreamFormat stream : streamFormats) {
    const ExportFormatSet own = FormatsOf(stream);
    if (first) {
      formats = own;
      first = false;
      continue;
    }
    ExportFormatSet common;
    std::set_intersection(formats.begin(), formats.end(), own.begin(), own.end(), std::inserter(common, common.end()));
    formats = std::move(common);
  }
  return !formats.empty();
}

kelcore::UTF16String GetDescriptionForFormat(CaptioningExportFormat format, bool withExtension) {
  const char* name = "Unknown Caption Format";
  const char* extension = "";
  switch (format) {
    case kCaptioningExportFormat_SCC: name = "Scenarist Closed Caption File"; extension = " (.scc)"; break;
    case kCaptioningExportFormat_MCC: name = "MacCaption File"; extension = " (.mcc)"; break;
    case kCaptioningExportFormat_TTML: name = "W3C/SMPTE/EBU Timed Text File"; extension = " (.xml)"; break;
    case kCaptioningExportFormat_STL: name = "EBU N19 Subtitle File"; extension = " (.stl)"; break;
    case kCaptioningExportFormat_SRT: name = "SubRip Subtitle Format"; extension = " (.srt)"; break;
    case kCaptioningExportFormat_WebVTT: name = "WebVTT File"; extension = " (.vtt)"; break;
  }
  return kelcore::string::AsciiToUTF16(std::string(name) + (withExtension ? extension : ""));
}

bool GetSupportedTimeDisplaysForFormat(CaptioningExportFormat format, TimeDisplaySet& displays) {
  displays.clear();
  switch (format) {
    case kCaptioningExportFormat_SCC:  // line-21 runs at 29.97 only
      displays = {kTimeDisplay_2997DropTimecode, kTimeDisplay_2997NonDropTimecode};
      return true;
    case kCaptioningExportFormat_MCC:
      displays = {kTimeDisplay_23976Timecode, kTimeDisplay_24Timecode,          kTimeDisplay_25Timecode,
                  kTimeDisplay_2997DropTimecode, kTimeDisplay_2997NonDropTimecode, kTimeDisplay_30Timecode,
                  kTimeDisplay_50Timecode,      kTimeDisplay_5994DropTimecode,    kTimeDisplay_5994NonDropTimecode,
                  kTimeDisplay_60Timecode};
      return true;
    case kCaptioningExportFormat_STL:
      displays = {kTimeDisplay_25Timecode, kTimeDisplay_30Timecode};
      return true;
    case kCaptioningExportFormat_TTML:
      displays = {kTimeDisplay_23976Timecode, kTimeDisplay_24Timecode, kTimeDisplay_25Timecode,
                  kTimeDisplay_2997DropTimecode, kTimeDisplay_2997NonDropTimecode, kTimeDisplay_30Timecode,
                  kTimeDisplay_Milliseconds};
      return true;
    case kCaptioningExportFormat_SRT:  // SubRip and WebVTT time codes are in milliseconds
    case kCaptioningExportFormat_WebVTT:
      displays = {kTimeDisplay_Milliseconds};
      return true;
  }
  return false;
}

}  // namespace kelcaptioning

#include "captionfiles/WebVttReader.h"

#include <algorithm>
#include <vector>

#include <fribidi.h>

#include "captionfiles/ReadProblems.h"
#include "captionfiles/SubtitleSpans.h"
#include "captionfiles/TextLines.h"
#include "captionfiles/WebVttCueText.h"
#include "captionfiles/WebVttParser.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

using Paragraph = ParagraphStyleAttributes;

// Where byte `offset` of a cue's text stands in the file.
FilePlace PlaceInCueText(const webvtt::Cue& cue, std::size_t offset) {
  const FilePlace inText = PlaceOf(cue.text, offset);
  return FilePlace::At(cue.textLine + inText.line - 1, inText.column);
}

// Whether the cue's text reads right to left: its first strong character does, which start and
// end alignments follow.
bool ReadsRightToLeft(const webvtt::CueText& text) {
  std::string all;
  for (const webvtt::TextRun& run : text.runs) all += run.text;
  std::vector<FriBidiChar> characters(all.size() + 1);
  const FriBidiStrIndex length = fribidi_charset_to_unicode(
      FRIBIDI_CHAR_SET_UTF8, all.data(), static_cast<FriBidiStrIndex>(all.size()), characters.data());
  std::vector<FriBidiCharType> types(static_cast<std::size_t>(length) + 1);
  fribidi_get_bidi_types(characters.data(), length, types.data());
  return FRIBIDI_IS_RTL(fribidi_get_par_direction(types.data(), length));
}

Paragraph::TextAlignmentType AlignmentOf(webvtt::TextAlign align, bool rightToLeft) {
  switch (align) {
    case webvtt::TextAlign::kStart: return rightToLeft ? Paragraph::kTextAlignment_Right : Paragraph::kTextAlignment_Left;
    case webvtt::TextAlign::kEnd: return rightToLeft ? Paragraph::kTextAlignment_Left : Paragraph::kTextAlignment_Right;
    case webvtt::TextAlign::kLeft: return Paragraph::kTextAlignment_Left;
    case webvtt::TextAlign::kRight: return Paragraph::kTextAlignment_Right;
    case webvtt::TextAlign::kCenter: break;
  }
  return Paragraph::kTextAlignment_Center;
}

// Free cues need a place across too: where the alignment puts a cue without a position.
void PlaceAcross(Caption& caption, const webvtt::Cue& cue, bool rightToLeft) {
  const std::optional<double> line = cue.snapToLines ? std::nullopt : cue.line;
  if (!line && !cue.position) return;
  const Paragraph::TextAlignmentType alignment = AlignmentOf(cue.align, rightToLeft);
  const double x = cue.position ? *cue.position / 100
                                : alignment == Paragraph::kTextAlignment_Left    ? 0.0
                                  : alignment == Paragraph::kTextAlignment_Right ? 1.0
                                                                                 : 0.5;
  const double y = line ? *line / 100 : 1.0;
  const int per = 10000;
  const Position position(boost::rational<int>(static_cast<int>(x * per), per),
                          boost::rational<int>(static_cast<int>(y * per), per));
  for (const CaptionTextParagraphPtr& paragraph : caption.GetCaptionTextParagraphs()) {
    paragraph->SetCaptionPosition(position);
  }
}

double LineAlignShare(webvtt::LineAlign align) {
  switch (align) {
    case webvtt::LineAlign::kStart: return 0.0;
    case webvtt::LineAlign::kEnd: return 1.0;
    case webvtt::LineAlign::kCenter: break;
  }
  return 0.5;
}

// Browsers give a line of a region 6 % of the video's height.
constexpr double kRegionLineHeight = 0.06;

// Whether the cue is shown in its region: only a cue that sets no line, size or direction of its own.
bool InRegion(const webvtt::Cue& cue) {
  return cue.region >= 0 && !cue.line && cue.size == 100 && cue.direction == webvtt::Direction::kHorizontal;
}

// A region cue's box: as wide as the region, standing on the region's bottom edge, its lines
// aligned in it by the cue's alignment.
CueBox RegionBox(const webvtt::Region& region) {
  const double width = std::clamp(region.width, 0.0, 100.0) / 100;
  const double height = std::clamp(region.lines, 0.0, 1000.0) * kRegionLineHeight;
  CueBox box;
  box.width = width;
  box.x = region.viewportAnchorX / 100 - region.anchorX / 100 * width;
  box.alignX = 0.0;
  box.y = region.viewportAnchorY / 100 - region.anchorY / 100 * height + height;
  box.alignY = 1.0;
  return box;
}

// The cue box of the WebVTT rendering rules, for a cue whose region, line, position or size
// moves it from where its alignment alone puts it; nothing for other cues.
std::optional<CueBox> BoxOf(const webvtt::Cue& cue, const std::vector<webvtt::Region>& regions, bool rightToLeft) {
  if (InRegion(cue) && static_cast<std::size_t>(cue.region) < regions.size()) {
    return RegionBox(regions[static_cast<std::size_t>(cue.region)]);
  }
  if (!cue.line && !cue.position && cue.size == 100) return std::nullopt;
  const Paragraph::TextAlignmentType alignment = AlignmentOf(cue.align, rightToLeft);
  // The computed position and position alignment: from the text alignment when auto.
  const double share = alignment == Paragraph::kTextAlignment_Left    ? 0.0
                       : alignment == Paragraph::kTextAlignment_Right ? 1.0
                                                                      : 0.5;
  const double position = cue.position.value_or(share * 100);
  double alignX = share;
  switch (cue.positionAlign) {
    case webvtt::PositionAlign::kLineLeft: alignX = 0.0; break;
    case webvtt::PositionAlign::kCenter: alignX = 0.5; break;
    case webvtt::PositionAlign::kLineRight: alignX = 1.0; break;
    case webvtt::PositionAlign::kAuto: break;
  }
  // The box may not reach past either side of the video.
  const double room = alignX == 0.0 ? 100 - position : alignX == 1.0 ? position : 2 * std::min(position, 100 - position);
  CueBox box;
  box.width = std::clamp(std::min(cue.size, room), 0.0, 100.0) / 100;
  box.x = position / 100;
  box.alignX = alignX;
  if (cue.line && cue.snapToLines) {
    box.line = static_cast<int>(std::clamp(*cue.line, -1e6, 1e6));
  } else if (cue.line) {
    box.y = *cue.line / 100;
    box.alignY = LineAlignShare(cue.lineAlign);
  }
  return box;
}

class CueConverter {
 public:
  CueConverter(const SubtitleStyle& style, ReadProblems& problems) : style_(style), problems_(problems) {}

  CaptionPtr Convert(const webvtt::Cue& cue, const std::vector<webvtt::Region>& regions, CueBoxes& boxes) {
    ReportSettings(cue);
    const webvtt::CueText text = webvtt::ParseCueText(cue.text);
    ReportMarks(cue, text);
    CueBuilder builder(style_);
    for (const webvtt::TextRun& run : text.runs) {
      std::string_view rest = run.text;
      for (std::size_t feed; (feed = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(feed + 1)) {
        builder.Add(rest.substr(0, feed), run.style);
        builder.EndLine();
      }
      builder.Add(rest, run.style);
    }
    const bool rightToLeft = ReadsRightToLeft(text);
    CaptionPtr caption = builder.Take(ParagraphStyle(cue, rightToLeft));
    if (!caption) {
      problems_.Report(FilePlace::At(cue.textLine, 1), "the cue has no text", "cues without text (nothing to show)",
                       NoteKind::kNotShown);
      return nullptr;
    }
    if (cue.end.time < cue.start.time) {
      problems_.Report(FilePlace::At(cue.timingLine, 1), "the cue ends before it begins",
                       "cues that end before they begin (never shown)", NoteKind::kNotShown);
      return nullptr;
    }
    PlaceAcross(*caption, cue, rightToLeft);
    caption->SetBeginTime(cue.start.time);
    caption->SetEndTime(cue.end.time);
    if (const std::optional<CueBox> box = BoxOf(cue, regions, rightToLeft)) boxes[caption.get()] = *box;
    return caption;
  }

 private:
  Paragraph ParagraphStyle(const webvtt::Cue& cue, bool rightToLeft) const {
    Paragraph paragraph;
    const Paragraph::TextAlignmentType alignment = AlignmentOf(cue.align, rightToLeft);
    paragraph.SetTextAlignment(alignment);
    const std::optional<double> line = cue.snapToLines ? std::nullopt : cue.line;
    if (line || cue.position) {
      // Free cues carry their place as fractions until they are measured (see PlaceFreeCues).
      paragraph.SetAnchorID(Paragraph::kAnchor_Free);
    } else if (alignment == Paragraph::kTextAlignment_Left) {
      paragraph.SetAnchorID(Paragraph::kAnchor_BottomLeft);
    } else if (alignment == Paragraph::kTextAlignment_Right) {
      paragraph.SetAnchorID(Paragraph::kAnchor_BottomRight);
    }
    return paragraph;
  }

  void NotShown(const webvtt::Cue& cue, const char* setting, const std::string& what) {
    const auto column = cue.settingColumns.find(setting);
    problems_.Notes().Count(what, FilePlace::At(cue.timingLine, column == cue.settingColumns.end() ? 1 : column->second));
  }

  void ReportSettings(const webvtt::Cue& cue) {
    if (cue.direction != webvtt::Direction::kHorizontal) NotShown(cue, "vertical", "cue setting vertical");
    for (const auto& [name, column] : cue.settingColumns) {
      if (name[0] == '?') {
        problems_.Notes().Count("cue settings that cannot be read (ignored, as browsers do)",
                                FilePlace::At(cue.timingLine, column));
      }
    }
  }

  void ReportMarks(const webvtt::Cue& cue, const webvtt::CueText& text) {
    for (const webvtt::CueTextMark& mark : text.marks) {
      const FilePlace place = PlaceInCueText(cue, mark.offset);
      switch (mark.kind) {
        case webvtt::CueTextMark::kRuby: problems_.Notes().Count("<ruby> (shown as plain text)", place); break;
        case webvtt::CueTextMark::kRubyText: problems_.Notes().Count("<rt> (shown as plain text)", place); break;
        case webvtt::CueTextMark::kTimestamp:
          problems_.Notes().Count("cue timestamps (karaoke: the text shows at once)", place);
          break;
        case webvtt::CueTextMark::kUnknownTag:
          problems_.Notes().Count("tags that WebVTT does not know (ignored, as browsers do)", place);
          break;
      }
    }
  }

  const SubtitleStyle& style_;
  ReadProblems& problems_;
};

}  // namespace

ReadResult ReadWebVtt(std::string_view bytes, const std::string& fileName, const ReadOptions& options) {
  FileNotes notes;
  ReadProblems problems(fileName, options.strict, notes);
  const std::string text = ReadableUtf8(bytes, problems);
  CaptionListPtr list(new CaptionList());
  list->SetStreamFormat(kStreamFormat_OpenCaptions);
  CueConverter converter(options.style, problems);
  CueBoxes boxes;
  // Each block as it is read, so that notes, and a strict reading's first problem, come in file order.
  std::size_t cuesDone = 0, sheetsDone = 0, regionsDone = 0;
  const auto take = [&](const webvtt::File& file) {
    for (; sheetsDone < file.styleSheets.size(); ++sheetsDone) {
      notes.Count("STYLE blocks", FilePlace::At(file.styleSheets[sheetsDone].line, 1));
    }
    for (; regionsDone < file.regions.size(); ++regionsDone) {
      if (file.regions[regionsDone].scrollUp) {
        notes.Count("region scroll up (cues shown in place, without scrolling)",
                    FilePlace::At(file.regions[regionsDone].line, 1));
      }
    }
    for (; cuesDone < file.cues.size(); ++cuesDone) {
      const CaptionPtr caption = converter.Convert(file.cues[cuesDone], file.regions, boxes);
      if (caption && !list->InsertCaption(caption)) boxes.erase(caption.get());
    }
  };
  webvtt::ParseFile(text, problems, take);
  return {list, std::move(notes), std::move(boxes), true};
}

}  // namespace kelcaptionfiles

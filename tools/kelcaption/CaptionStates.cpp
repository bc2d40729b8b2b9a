#include "kelcaption/CaptionStates.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

#include "kelcaption/CaptionSource.h"
#include "kelcaption/DisplayStyle.h"
#include "kelcaptionfiles/CaptionFileKinds.h"
#include "kelcaptionfiles/ShownStates.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelui/inkpad/Supplier.h"

namespace kelcaption {

namespace {

const char* KindText(kelcaptionfiles::NoteKind kind) {
  switch (kind) {
    case kelcaptionfiles::NoteKind::kProblem: return "problem";
    case kelcaptionfiles::NoteKind::kRemark: return "note";
    case kelcaptionfiles::NoteKind::kNotShown: break;
  }
  return "not shown as asked";
}

}  // namespace

void ReportNotes(const std::string& file, const kelcaptionfiles::FileNotes& notes, std::FILE* to) {
  for (const kelcaptionfiles::FileNote& note : notes.All()) {
    // As read errors name places: "FILE:LINE:COLUMN", "FILE: byte N", "FILE: /json/pointer".
    const std::string where = note.first.line > 0  ? file + ":" + note.first.Text()
                              : note.first.Known() ? file + ": " + note.first.Text()
                                                   : file;
    std::fprintf(to, "kelcaption: %s: %s: %s\n", where.c_str(), KindText(note.kind), note.Text().c_str());
  }
}

namespace {

// Faces the machine lacks, once each: the text is still drawn, in the closest installed face.
void ReportFontSubstitutions(const std::string& file) {
  for (const kelui::inkpad::FontSubstitution& s : kelui::inkpad::TakeFontSubstitutions()) {
    std::fprintf(stderr, "kelcaption: %s: note: font \"%s\" is not installed (drawn with %s)\n", file.c_str(),
                 s.asked.c_str(), s.drawn.c_str());
  }
}

}  // namespace

kelcaptionfiles::ReadResult ReadCaptionsOf(const CaptionFileOptions& options, int height, float textSize) {
  kelcaptionfiles::ReadOptions read;
  read.channel = ChannelNumber(options.channel);
  read.service = options.service;
  read.style = kelcaptionfiles::DefaultSubtitleStyle(height);
  read.style.fontSize *= textSize;
  read.style.edgeWidth *= textSize;
  read.strict = options.strict;
  read.encoding = options.encoding;
  kelcaptionfiles::ReadResult result = ReadCaptionSource(options.file, read);
  if (result.Empty() && result.notes.HasProblems()) {
    ReportNotes(options.file, result.notes);
    throw std::runtime_error(options.file + ": nothing could be read");
  }
  return result;
}

void InkpadMeasurer::Measure(kelcaptioning::CaptionPtr& caption) {
  kelcaptioningui::RefreshCaptionSizeInfo(caption, &inkpad_, false, 0, 0);
}

float InkpadMeasurer::TextWidth(const kelcaptioning::TextSpanAttributes& style, std::u16string_view text) {
  return kelcaptioningui::MeasureSpanTextWidth(style, text, &inkpad_);
}

kelcaptionfiles::CaptionTimeline LoadCaptionStates(const CaptionFileOptions& options, int width, int height,
                                                   Frame& measuring, kelcaptionfiles::FileNotes* notes) {
  // Wrong settings are found before the file is read.
  kelcaptioningui::CaptionDisplaySettings display = ParseDisplayStyle(options.styles);
  // Subtitles take the size setting before they are laid out, so that larger text is wrapped and
  // stacked at its own size rather than scaled past the caption area afterwards.
  kelcaptionfiles::ReadResult result =
      ReadCaptionsOf(options, height, display.textSize.value_or(kelcaptioningui::kCaptionTextStandard));
  const kelcaptioning::CaptionList* list = result.List();
  if (list != nullptr && kelcaptioning::IsOpenCaptions(list->GetStreamFormat())) display.textSize.reset();
  InkpadMeasurer measurer(measuring.Inkpad());
  kelcaptionfiles::CaptionTimeline states = kelcaptionfiles::ShownStates(result, width, height, measurer);
  ReportNotes(options.file, result.notes);  // with what the layout adds
  if (notes != nullptr) *notes = result.notes;
  if (!options.styles.empty()) {
    kelcaptionfiles::CaptionTimeline restyled;
    for (const kelcaptionfiles::TimedModel& state : states.States()) {
      restyled.Show(state.begin, state.end,
                    kelcaptioningui::ApplyCaptionDisplaySettings(state.model, display, &measuring.Inkpad()),
                    state.cause);
    }
    states = std::move(restyled);
  }
  ReportFontSubstitutions(options.file);
  return states;
}

bool CaptionTimesAreTimeCodes(const std::string& file) {
  const kelcaptionfiles::CaptionFileKind* kind = CaptionKindOf(file);
  if (kind == nullptr) return false;
  const std::string name = kind->name;
  return name == "Scenarist SCC" || name == "MacCaption MCC" || name == "EBU STL";
}

}  // namespace kelcaption

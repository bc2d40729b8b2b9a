#include "captionfiles/TtmlWriter.h"

#include <optional>

#include "captionfiles/ExportText.h"
#include "captionfiles/ExportTimes.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

std::string ColorText(const CaptioningColor& color) {
  if (color.Alpha() >= 1.0f) return HexColorText(color);
  char alpha[4];
  std::snprintf(alpha, sizeof alpha, "%02x", static_cast<int>(color.Alpha() * 255.0f + 0.5f));
  return HexColorText(color) + alpha;
}

std::string Span(const ExportRun& run) {
  std::string attributes;
  const ExportStyle& style = run.style;
  if (style.color != kCaptioningColor_White) attributes += " tts:color=\"" + ColorText(style.color) + "\"";
  if (style.background) attributes += " tts:backgroundColor=\"" + ColorText(*style.background) + "\"";
  if (style.italic) attributes += " tts:fontStyle=\"italic\"";
  if (style.bold) attributes += " tts:fontWeight=\"bold\"";
  if (style.underline) attributes += " tts:textDecoration=\"underline\"";
  if (attributes.empty()) return EscapedMarkup(run.text);
  return "<span" + attributes + ">" + EscapedMarkup(run.text) + "</span>";
}

const char* RegionOf(AnchorID anchor) {
  switch (static_cast<int>(anchor) / 3) {
    case 0: return "top";
    case 1: return "middle";
    default: return "bottom";
  }
}

}  // namespace

std::string WriteTtml(const ExportCues& cues, kelmediatypes::TimeDisplay display, FileNotes& notes) {
  std::optional<FrameClock> clock;
  if (display != kelmediatypes::kTimeDisplay_Milliseconds) clock.emplace(display);
  const auto time = [&clock](kelmediatypes::TickTime t) {
    return clock ? std::to_string(clock->FrameAt(t)) + "f" : ClockTimeText(t, '.');
  };
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<tt xmlns=\"http://www.w3.org/ns/ttml\" xmlns:ttp=\"http://www.w3.org/ns/ttml#parameter\"\n"
      "    xmlns:tts=\"http://www.w3.org/ns/ttml#styling\"\n"
      "    ttp:contentProfiles=\"http://www.w3.org/ns/ttml/profile/imsc1.1/text\" ttp:timeBase=\"media\"";
  if (clock) {
    out += " ttp:frameRate=\"" + std::to_string(clock->NominalRate()) + "\"";
    if (clock->Denominator() != 1 && clock->Numerator() != clock->NominalRate() * clock->Denominator()) {
      out += " ttp:frameRateMultiplier=\"1000 1001\"";
    }
  }
  out +=
      " xml:lang=\"\">\n"
      "  <head>\n"
      "    <styling>\n"
      "      <style xml:id=\"base\" tts:color=\"white\" tts:fontFamily=\"proportionalSansSerif\" tts:fontSize=\"100%\"/>\n"
      "    </styling>\n"
      "    <layout>\n"
      "      <region xml:id=\"top\" tts:origin=\"10% 10%\" tts:extent=\"80% 80%\" tts:displayAlign=\"before\"/>\n"
      "      <region xml:id=\"middle\" tts:origin=\"10% 10%\" tts:extent=\"80% 80%\" tts:displayAlign=\"center\"/>\n"
      "      <region xml:id=\"bottom\" tts:origin=\"10% 10%\" tts:extent=\"80% 80%\" tts:displayAlign=\"after\"/>\n"
      "    </layout>\n"
      "  </head>\n"
      "  <body style=\"base\">\n"
      "    <div>\n";
  for (const ExportCue& cue : cues.cues) {
    if (cue.box || cue.position) notes.Count("cues placed by position (written at their anchor)", {});
    const ParagraphStyleAttributes::TextAlignmentType alignment =
        cue.gridRows > 0 ? ParagraphStyleAttributes::kTextAlignment_Center : cue.lines.front().alignment;
    out += "      <p begin=\"" + time(cue.begin) + "\" end=\"" + time(cue.end) + "\" region=\"" +
           RegionOf(SubtitleAnchor(cue)) + "\" tts:textAlign=\"" + AlignmentName(alignment) + "\">";
    for (std::size_t i = 0; i < cue.lines.size(); ++i) {
      if (i > 0) out += "<br/>";
      for (const ExportRun& run : cue.lines[i].runs) out += Span(run);
    }
    out += "</p>\n";
  }
  return out + "    </div>\n  </body>\n</tt>\n";
}

}  // namespace kelcaptionfiles

#include "readers/CaptionDocument.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "kelcaptioning/Formats.h"
#include "readers/HexColor.h"
#include "kelcore/String.h"

namespace kelcaption {

using namespace kelcaptioning;
using nlohmann::json;

namespace {

constexpr std::int64_t kTicksPerMs = kelmediatypes::TickTime::kTicksPerSecond / 1000;

const std::pair<const char*, StreamFormat> kFormats[] = {
    {"6CC1", kStreamFormat_CEA608_CC1}, {"6CC2", kStreamFormat_CEA608_CC2}, {"6CC3", kStreamFormat_CEA608_CC3},
    {"6CC4", kStreamFormat_CEA608_CC4}, {"708S", kStreamFormat_CEA708},    {"TL10", kStreamFormat_TeletextLevel10},
    {"TL15", kStreamFormat_TeletextLevel15}, {"TL20", kStreamFormat_TeletextLevel20}, {"OEBU", kStreamFormat_OpenEBU},
    {"OPEN", kStreamFormat_OpenCaptions}};

const char* kStyles[] = {"regular", "italic", "bold", "bold italic"};
const char* kAlignments[] = {"left", "center", "right"};

// Reads values of a document, naming the JSON pointer of anything of the wrong kind.
class Reader {
 public:
  explicit Reader(const std::string& file) : file_(file) {}

  [[noreturn]] void Fail(const std::string& pointer, const std::string& problem) const {
    throw ReadError(file_, pointer, problem);
  }

  const json& Member(const json& object, const char* key, const std::string& at, bool required) const {
    static const json kNull;
    if (!object.is_object()) Fail(at, "expected an object");
    auto found = object.find(key);
    if (found == object.end()) {
      if (required) Fail(at, std::string("\"") + key + "\" is missing");
      return kNull;
    }
    return *found;
  }

  std::string String(const json& v, const std::string& at) const {
    if (!v.is_string()) Fail(at, "expected a string");
    return v.get<std::string>();
  }
  double Number(const json& v, const std::string& at) const {
    if (!v.is_number()) Fail(at, "expected a number");
    return v.get<double>();
  }
  int Int(const json& v, const std::string& at) const {
    if (!v.is_number_integer() || v.get<long long>() < -2147483647LL || v.get<long long>() > 2147483647LL) {
      Fail(at, "expected a whole number");
    }
    return v.get<int>();
  }
  bool Bool(const json& v, const std::string& at) const {
    if (!v.is_boolean()) Fail(at, "expected true or false");
    return v.get<bool>();
  }

  kelmediatypes::TickTime Time(const json& v, const std::string& at) const {
    if (v.is_number_integer()) return kelmediatypes::TickTime(v.get<std::int64_t>());
    if (!v.is_string()) Fail(at, "expected a time string (HH:MM:SS.mmm) or a tick count");
    unsigned h = 0, m = 0, s = 0, ms = 0;
    char tail = 0;
    const std::string text = v.get<std::string>();
    if (std::sscanf(text.c_str(), "%u:%u:%u.%3u%c", &h, &m, &s, &ms, &tail) != 4 || m >= 60 || s >= 60 ||
        text.size() < 12) {
      Fail(at, "expected a time HH:MM:SS.mmm, not \"" + text + "\"");
    }
    return kelmediatypes::TickTime(((static_cast<std::int64_t>(h) * 60 + m) * 60 + s) * 1000 * kTicksPerMs +
                                   static_cast<std::int64_t>(ms) * kTicksPerMs);
  }

  CaptioningColor Color(const json& v, const std::string& at) const {
    if (v.is_array()) {
      if (v.size() != 4) Fail(at, "a colour array holds red, green, blue and alpha");
      float c[4];
      for (std::size_t i = 0; i < 4; ++i) c[i] = static_cast<float>(Number(v[i], at + "/" + std::to_string(i)));
      return {c[0], c[1], c[2], c[3]};
    }
    if (v.is_string()) {
      if (const auto color = ParseHexColor(v.get<std::string>(), true)) return *color;
    }
    Fail(at, "expected a colour \"#RRGGBB\", \"#RRGGBBAA\" or [r, g, b, a]");
  }

  boost::rational<int> Fraction(const json& v, const std::string& at) const {
    if (v.is_number_integer()) return boost::rational<int>(Int(v, at));
    if (!v.is_array() || v.size() != 2) Fail(at, "expected a fraction [numerator, denominator]");
    const int d = Int(v[1], at + "/1");
    if (d == 0) Fail(at + "/1", "a denominator of 0");
    return boost::rational<int>(Int(v[0], at + "/0"), d);
  }

  template <std::size_t N>
  int Named(const json& v, const char* const (&names)[N], const std::string& at, const char* what) const {
    if (v.is_number_integer()) return Int(v, at);
    const std::string text = String(v, at);
    for (std::size_t i = 0; i < N; ++i) {
      if (text == names[i]) return static_cast<int>(i);
    }
    Fail(at, std::string("unknown ") + what + " \"" + text + "\"");
  }

 private:
  const std::string& file_;
};

TextSpanAttributes ReadSpanAttributes(const Reader& r, const json& span, const std::string& at) {
  TextSpanAttributes a;
  const auto opt = [&](const char* key) -> const json& { return r.Member(span, key, at, false); };
  const auto path = [&](const char* key) { return at + "/" + key; };
  if (!opt("foreground").is_null()) a.SetForegroundColor(r.Color(opt("foreground"), path("foreground")));
  if (!opt("background").is_null()) a.SetBackgroundColor(r.Color(opt("background"), path("background")));
  if (!opt("edgeColor").is_null()) a.SetForegroundEdgeColor(r.Color(opt("edgeColor"), path("edgeColor")));
  if (!opt("edge").is_null()) a.SetTextEdge(static_cast<TextEdge>(r.Int(opt("edge"), path("edge"))));
  if (!opt("edgeWidth").is_null()) a.SetTextEdgeWidth(static_cast<float>(r.Number(opt("edgeWidth"), path("edgeWidth"))));
  if (!opt("offset").is_null()) a.SetTextOffset(static_cast<TextOffset>(r.Int(opt("offset"), path("offset"))));
  if (!opt("style").is_null()) a.SetFontStyle(static_cast<FontStyle>(r.Named(opt("style"), kStyles, path("style"), "style")));
  if (!opt("size").is_null()) a.SetFontSize(static_cast<float>(r.Number(opt("size"), path("size"))));
  if (!opt("font").is_null()) a.SetFontName(kelcore::string::UTF8ToUTF16(r.String(opt("font"), path("font"))));
  if (!opt("underline").is_null()) a.SetUnderlined(r.Bool(opt("underline"), path("underline")));
  return a;
}

std::string Hex(const CaptioningColor& c) {
  const auto byte = [](float v) { return static_cast<unsigned>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
  char text[10];
  std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", byte(c.Red()), byte(c.Green()), byte(c.Blue()), byte(c.Alpha()));
  return text;
}

json TimeOf(kelmediatypes::TickTime t) {
  const std::int64_t ticks = t.GetTicks();
  if (ticks < 0 || ticks % kTicksPerMs != 0) return ticks;
  const std::int64_t ms = ticks / kTicksPerMs;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", static_cast<long long>(ms / 3600000),
                static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                static_cast<long long>(ms % 1000));
  return text;
}

// Floats as the decimal a person wrote, not their binary expansion.
double Tidy(float v) { return std::round(static_cast<double>(v) * 1e6) / 1e6; }

json FractionOf(const boost::rational<int>& r) { return json::array({r.numerator(), r.denominator()}); }

}  // namespace

StreamFormat StreamFormatFromCode(const std::string& code) {
  for (const auto& [name, format] : kFormats) {
    if (code == name) return format;
  }
  throw std::runtime_error("unknown stream format \"" + code + "\" (6CC1, 6CC2, 6CC3, 6CC4, 708S, TL10, TL15, TL20, OEBU, OPEN)");
}

std::string StreamFormatCode(StreamFormat format) {
  for (const auto& [name, f] : kFormats) {
    if (f == format) return name;
  }
  return "UNKN";
}

CaptionListPtr ReadCaptionDocument(std::string_view text, const std::string& fileName) {
  json document;
  try {
    document = json::parse(text);
  } catch (const json::parse_error& e) {
    // The parser counts bytes; give the line and column of that byte.
    const std::size_t at = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
    int line = 1, column = 1;
    for (std::size_t i = 0; i < at; ++i) {
      if (text[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    // nlohmann's message reads "... parse error at line L, column C: syntax error ... - WHAT".
    const std::string what = e.what();
    const std::size_t dash = what.find(" - ");
    const std::size_t colon = what.rfind(": ");
    const std::string reason = dash != std::string::npos ? what.substr(dash + 3)
                               : colon != std::string::npos ? what.substr(colon + 2)
                                                            : what;
    throw ReadError(fileName, line, column, "not JSON: " + reason);
  }
  const Reader r(fileName);
  CaptionListPtr list(new CaptionList());
  try {
    list->SetStreamFormat(StreamFormatFromCode(r.String(r.Member(document, "format", "", true), "/format")));
  } catch (const std::runtime_error& e) {
    if (dynamic_cast<const ReadError*>(&e)) throw;
    r.Fail("/format", e.what());
  }
  if (const json& wide = r.Member(document, "wideScreen", "", false); !wide.is_null()) list->SetIsWideScreen(r.Bool(wide, "/wideScreen"));
  if (const json& meta = r.Member(document, "metadata", "", false); !meta.is_null()) {
    CaptioningMetadata metadata;
    if (const json& v = r.Member(meta, "maxRows", "/metadata", false); !v.is_null()) metadata.SetMaxNumberOfRow(r.Int(v, "/metadata/maxRows"));
    if (const json& v = r.Member(meta, "maxCharacters", "/metadata", false); !v.is_null()) {
      metadata.SetMaxCharactersInRow(r.Int(v, "/metadata/maxCharacters"));
    }
    if (const json& v = r.Member(meta, "displayStandard", "/metadata", false); !v.is_null()) {
      STLMetadataPtr stl(new STLMetadata());
      try {
        stl->SetDisplayStandardCode(StreamFormatFromCode(r.String(v, "/metadata/displayStandard")));
      } catch (const std::runtime_error& e) {
        if (dynamic_cast<const ReadError*>(&e)) throw;
        r.Fail("/metadata/displayStandard", e.what());
      }
      metadata.SetSTLMetadata(stl);
    }
    list->SetMetadata(metadata);
  }
  const json& captions = r.Member(document, "captions", "", true);
  if (!captions.is_array()) r.Fail("/captions", "expected an array");
  for (std::size_t c = 0; c < captions.size(); ++c) {
    const std::string at = "/captions/" + std::to_string(c);
    const json& cap = captions[c];
    CaptionPtr caption(new Caption());
    const json& paragraphs = r.Member(cap, "paragraphs", at, true);
    if (!paragraphs.is_array()) r.Fail(at + "/paragraphs", "expected an array");
    for (std::size_t p = 0; p < paragraphs.size(); ++p) {
      const std::string pat = at + "/paragraphs/" + std::to_string(p);
      const json& par = paragraphs[p];
      CaptionTextParagraphPtr paragraph(new CaptionTextParagraph());
      const json& spans = r.Member(par, "spans", pat, true);
      if (!spans.is_array()) r.Fail(pat + "/spans", "expected an array");
      for (std::size_t s = 0; s < spans.size(); ++s) {
        const std::string sat = pat + "/spans/" + std::to_string(s);
        CaptionTextSpanPtr span(new CaptionTextSpan());
        span->SetCaptionText(kelcore::string::UTF8ToUTF16(r.String(r.Member(spans[s], "text", sat, true), sat + "/text")));
        span->SetTextSpanStyleAttributes(ReadSpanAttributes(r, spans[s], sat));
        paragraph->AppendCaptionTextSpan(span);
      }
      ParagraphStyleAttributes style;
      if (const json& v = r.Member(par, "anchor", pat, false); !v.is_null()) {
        style.SetAnchorID(static_cast<ParagraphStyleAttributes::AnchorID>(r.Int(v, pat + "/anchor")));
      }
      if (const json& v = r.Member(par, "align", pat, false); !v.is_null()) {
        style.SetTextAlignment(static_cast<ParagraphStyleAttributes::TextAlignmentType>(r.Named(v, kAlignments, pat + "/align", "alignment")));
      }
      if (const json& v = r.Member(par, "lineHeightRatio", pat, false); !v.is_null()) {
        style.SetLineHeightToTextRatio(static_cast<float>(r.Number(v, pat + "/lineHeightRatio")));
      }
      paragraph->SetParagraphStyleAttributes(style);
      Position position;
      if (const json& v = r.Member(par, "x", pat, false); !v.is_null()) position.SetX(r.Fraction(v, pat + "/x"));
      if (const json& v = r.Member(par, "y", pat, false); !v.is_null()) position.SetY(r.Fraction(v, pat + "/y"));
      paragraph->SetCaptionPosition(position);
      if (const json& v = r.Member(par, "lineWidth", pat, false); !v.is_null()) paragraph->SetParagraphLineWidth(r.Int(v, pat + "/lineWidth"));
      if (const json& v = r.Member(par, "lineHeight", pat, false); !v.is_null()) paragraph->SetParagraphLineHeight(r.Int(v, pat + "/lineHeight"));
      caption->AppendCaptionTextParagraph(paragraph);
    }
    caption->SetBeginTime(r.Time(r.Member(cap, "begin", at, true), at + "/begin"));
    caption->SetEndTime(r.Time(r.Member(cap, "end", at, true), at + "/end"));
    if (const json& v = r.Member(cap, "type", at, false); !v.is_null()) caption->SetCaptionType(static_cast<CaptionType>(r.Int(v, at + "/type")));
    if (!list->InsertCaption(caption)) r.Fail(at, "a caption needs paragraphs and may not end before it begins");
  }
  return list;
}

std::string WriteCaptionDocument(const CaptionList& list) {
  json document;
  document["format"] = StreamFormatCode(list.GetStreamFormat());
  document["wideScreen"] = list.GetIsWideScreen();
  const CaptioningMetadata metadata = list.GetMetadata();
  json meta = json::object();
  if (metadata.GetMaxNumberOfRow() != 0) meta["maxRows"] = metadata.GetMaxNumberOfRow();
  if (metadata.GetMaxCharactersInRow() != 0) meta["maxCharacters"] = metadata.GetMaxCharactersInRow();
  if (metadata.GetSTLMetadata()) meta["displayStandard"] = StreamFormatCode(metadata.GetSTLMetadata()->GetDisplayStandardCode());
  if (!meta.empty()) document["metadata"] = meta;
  json captions = json::array();
  for (const CaptionPtr& caption : list.GetCaptions()) {
    json cap;
    cap["begin"] = TimeOf(caption->GetBeginTime());
    cap["end"] = TimeOf(caption->GetEndTime());
    cap["type"] = static_cast<int>(caption->GetCaptionType());
    json paragraphs = json::array();
    for (const CaptionTextParagraphPtr& paragraph : caption->GetCaptionTextParagraphs()) {
      if (!paragraph) continue;
      const ParagraphStyleAttributes style = paragraph->GetParagraphStyleAttributes();
      json par;
      par["anchor"] = static_cast<int>(style.GetAnchorID());
      const int alignment = static_cast<int>(style.GetTextAlignment());
      par["align"] = alignment >= 0 && alignment <= 2 ? json(kAlignments[alignment]) : json(alignment);
      par["lineHeightRatio"] = Tidy(style.GetLineHeightToTextRatio());
      par["x"] = FractionOf(paragraph->GetCaptionPosition().GetX());
      par["y"] = FractionOf(paragraph->GetCaptionPosition().GetY());
      par["lineWidth"] = paragraph->GetParagraphLineWidth();
      par["lineHeight"] = paragraph->GetParagraphLineHeight();
      json spans = json::array();
      for (const CaptionTextSpanPtr& span : paragraph->GetCaptionTextSpans()) {
        if (!span) continue;
        const TextSpanAttributes a = span->GetTextSpanStyleAttributes();
        const int fontStyle = static_cast<int>(a.GetFontStyle());
        spans.push_back({{"text", kelcore::string::UTF16ToUTF8(span->GetSpanText())},
                         {"foreground", Hex(a.GetForegroundColor())},
                         {"background", Hex(a.GetBackgroundColor())},
                         {"edgeColor", Hex(a.GetForegroundEdgeColor())},
                         {"edge", static_cast<int>(a.GetTextEdge())},
                         {"edgeWidth", Tidy(a.GetTextEdgeWidth())},
                         {"offset", static_cast<int>(a.GetTextOffset())},
                         {"style", fontStyle >= 0 && fontStyle <= 3 ? json(kStyles[fontStyle]) : json(fontStyle)},
                         {"size", Tidy(a.GetFontSize())},
                         {"font", kelcore::string::UTF16ToUTF8(a.GetFontName())},
                         {"underline", a.IsUnderlined()}});
      }
      par["spans"] = spans;
      paragraphs.push_back(par);
    }
    cap["paragraphs"] = paragraphs;
    captions.push_back(cap);
  }
  document["captions"] = captions;
  return document.dump(2) + "\n";
}

}  // namespace kelcaption

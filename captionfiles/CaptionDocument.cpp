#include "kelcaptionfiles/CaptionDocument.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "captionfiles/JsonValues.h"
#include "captionfiles/ReadProblems.h"
#include "kelcaptioning/Formats.h"
#include "kelcore/String.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

const std::pair<const char*, StreamFormat> kFormats[] = {
    {"6CC1", kStreamFormat_CEA608_CC1},      {"6CC2", kStreamFormat_CEA608_CC2},
    {"6CC3", kStreamFormat_CEA608_CC3},      {"6CC4", kStreamFormat_CEA608_CC4},
    {"708S", kStreamFormat_CEA708},          {"TL10", kStreamFormat_TeletextLevel10},
    {"TL15", kStreamFormat_TeletextLevel15}, {"TL20", kStreamFormat_TeletextLevel20},
    {"OEBU", kStreamFormat_OpenEBU},         {"OPEN", kStreamFormat_OpenCaptions}};

const char* kAlignments[] = {"left", "center", "right"};

}  // namespace

StreamFormat StreamFormatFromCode(const std::string& code) {
  for (const auto& [name, format] : kFormats) {
    if (code == name) return format;
  }
  // Values the model has no name for, as StreamFormatCode writes them.
  if (code.size() == 10 && code.compare(0, 2, "0x") == 0 &&
      code.find_first_not_of("0123456789ABCDEFabcdef", 2) == std::string::npos) {
    return static_cast<StreamFormat>(std::stoul(code.substr(2), nullptr, 16));
  }
  throw std::runtime_error("unknown stream format \"" + code +
                           "\" (6CC1, 6CC2, 6CC3, 6CC4, 708S, TL10, TL15, TL20, OEBU, OPEN)");
}

std::string StreamFormatCode(StreamFormat format) {
  for (const auto& [name, f] : kFormats) {
    if (f == format) return name;
  }
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(format));
  return text;
}

namespace {

// The line and column of byte `at` of `text`.
FilePlace PlaceOfByte(std::string_view text, std::size_t at) {
  int line = 1, column = 1;
  for (std::size_t i = 0; i < at && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return FilePlace::At(line, column);
}

CaptionPtr ReadCaption(const JsonReader& r, const json& cap, const std::string& at) {
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
      span->SetCaptionText(
          kelcore::string::UTF8ToUTF16(r.String(r.Member(spans[s], "text", sat, true), sat + "/text")));
      span->SetTextSpanStyleAttributes(ReadSpanAttributes(r, spans[s], sat));
      paragraph->AppendCaptionTextSpan(span);
    }
    ParagraphStyleAttributes style;
    if (const json& v = r.Member(par, "anchor", pat, false); !v.is_null()) {
      style.SetAnchorID(static_cast<ParagraphStyleAttributes::AnchorID>(r.Int(v, pat + "/anchor")));
    }
    if (const json& v = r.Member(par, "align", pat, false); !v.is_null()) {
      style.SetTextAlignment(static_cast<ParagraphStyleAttributes::TextAlignmentType>(
          r.Named(v, kAlignments, pat + "/align", "alignment")));
    }
    if (const json& v = r.Member(par, "lineHeightRatio", pat, false); !v.is_null()) {
      style.SetLineHeightToTextRatio(r.Float(v, pat + "/lineHeightRatio"));
    }
    paragraph->SetParagraphStyleAttributes(style);
    Position position;
    if (const json& v = r.Member(par, "x", pat, false); !v.is_null()) position.SetX(r.Fraction(v, pat + "/x"));
    if (const json& v = r.Member(par, "y", pat, false); !v.is_null()) position.SetY(r.Fraction(v, pat + "/y"));
    paragraph->SetCaptionPosition(position);
    if (const json& v = r.Member(par, "lineWidth", pat, false); !v.is_null())
      paragraph->SetParagraphLineWidth(r.Int(v, pat + "/lineWidth"));
    if (const json& v = r.Member(par, "lineHeight", pat, false); !v.is_null())
      paragraph->SetParagraphLineHeight(r.Int(v, pat + "/lineHeight"));
    caption->AppendCaptionTextParagraph(paragraph);
  }
  caption->SetBeginTime(r.Time(r.Member(cap, "begin", at, true), at + "/begin"));
  caption->SetEndTime(r.Time(r.Member(cap, "end", at, true), at + "/end"));
  if (const json& v = r.Member(cap, "type", at, false); !v.is_null())
    caption->SetCaptionType(static_cast<CaptionType>(r.Int(v, at + "/type")));
  if (caption->GetNumParagraphs() == 0 || caption->GetEndTime() < caption->GetBeginTime()) {
    r.Fail(at, "a caption needs paragraphs and may not end before it begins");
  }
  return caption;
}

}  // namespace

ReadResult ReadCaptionDocument(std::string_view text, const std::string& fileName, const ReadOptions& options) {
  FileNotes notes;
  ReadProblems problems(fileName, options.strict, notes);
  CaptionListPtr list(new CaptionList());
  constexpr const char* kNotJson = "a file that is not JSON (nothing read)";
  json document;
  try {
    document = json::parse(text);
  } catch (const json::parse_error& e) {
    // The parser counts bytes; the note gives the line and column of that byte.
    const std::size_t at = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
    // nlohmann's message reads "... parse error at line L, column C: syntax error ... - WHAT".
    const std::string what = e.what();
    const std::size_t dash = what.find(" - ");
    const std::size_t colon = what.rfind(": ");
    const std::string reason = dash != std::string::npos    ? what.substr(dash + 3)
                               : colon != std::string::npos ? what.substr(colon + 2)
                                                            : what;
    problems.Report(PlaceOfByte(text, at), "not JSON: " + reason, kNotJson);
    return {list, std::move(notes), {}};
  } catch (const json::out_of_range& e) {
    // A number too large for a double ("1e400"): the parser names the number but not its place,
    // so the error points at the first place the number's text occurs.
    const std::string what = e.what();
    const std::size_t open = what.find('\'');
    const std::size_t close = what.rfind('\'');
    const std::string number = open < close ? what.substr(open + 1, close - open - 1) : std::string();
    const std::size_t at = number.empty() ? std::string_view::npos : text.find(number);
    problems.Report(at == std::string_view::npos ? FilePlace::At(1, 1) : PlaceOfByte(text, at),
                    "not JSON: the number " + number + " is out of range", kNotJson);
    return {list, std::move(notes), {}};
  }
  const JsonReader r(fileName);
  const json* captions = nullptr;
  try {
    try {
      list->SetStreamFormat(StreamFormatFromCode(r.String(r.Member(document, "format", "", true), "/format")));
    } catch (const std::runtime_error& e) {
      if (dynamic_cast<const ReadError*>(&e)) throw;
      r.Fail("/format", e.what());
    }
    if (const json& wide = r.Member(document, "wideScreen", "", false); !wide.is_null())
      list->SetIsWideScreen(r.Bool(wide, "/wideScreen"));
    if (const json& meta = r.Member(document, "metadata", "", false); !meta.is_null()) {
      CaptioningMetadata metadata;
      if (const json& v = r.Member(meta, "maxRows", "/metadata", false); !v.is_null())
        metadata.SetMaxNumberOfRow(r.Int(v, "/metadata/maxRows"));
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
    captions = &r.Member(document, "captions", "", true);
    if (!captions->is_array()) r.Fail("/captions", "expected an array");
  } catch (const ReadError& e) {
    // Without its format or its captions the document holds nothing that can be shown.
    problems.Skipped(e, "documents whose format or captions cannot be read (nothing read)");
    return {CaptionListPtr(new CaptionList()), std::move(notes), {}};
  }
  for (std::size_t c = 0; c < captions->size(); ++c) {
    const std::string at = "/captions/" + std::to_string(c);
    try {
      list->InsertCaption(ReadCaption(r, (*captions)[c], at));
    } catch (const ReadError& e) {
      problems.Skipped(e, "captions with a value that cannot be read (skipped)");
    }
  }
  return {list, std::move(notes), {}};
}

std::string WriteCaptionDocument(const CaptionList& list) {
  json document;
  document["format"] = StreamFormatCode(list.GetStreamFormat());
  document["wideScreen"] = list.GetIsWideScreen();
  const CaptioningMetadata metadata = list.GetMetadata();
  json meta = json::object();
  if (metadata.GetMaxNumberOfRow() != 0) meta["maxRows"] = metadata.GetMaxNumberOfRow();
  if (metadata.GetMaxCharactersInRow() != 0) meta["maxCharacters"] = metadata.GetMaxCharactersInRow();
  if (metadata.GetSTLMetadata())
    meta["displayStandard"] = StreamFormatCode(metadata.GetSTLMetadata()->GetDisplayStandardCode());
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
        json written = {{"text", kelcore::string::UTF16ToUTF8(span->GetSpanText())}};
        WriteSpanAttributes(span->GetTextSpanStyleAttributes(), written);
        spans.push_back(written);
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

}  // namespace kelcaptionfiles

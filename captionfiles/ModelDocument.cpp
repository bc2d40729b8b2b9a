#include "kelcaptionfiles/ModelDocument.h"

#include "captionfiles/JsonValues.h"
#include "captionfiles/ReadProblems.h"
#include "captionfiles/Utf8.h"
#include "kelcaptionfiles/CaptionDocument.h"
#include "kelcore/String.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

const char* kSizes[] = {"small", "standard", "large"};
const char* kOffsets[] = {"superscript", "normal", "subscript"};
const char* kFamilies[] = {
    "default", "monospaced serif", "proportional serif", "monospaced sans serif", "proportional sans serif",
    "casual",  "cursive",          "small capitals"};

template <std::size_t N>
json NameOr(int value, const char* const (&names)[N]) {
  return value >= 0 && value < static_cast<int>(N) ? json(names[value]) : json(value);
}

bool IsScalarValue(char32_t c) { return c < 0x110000 && (c < 0xD800 || c > 0xDFFF); }

std::u32string CodePoints(const std::string& utf8) {
  const kelcore::UTF16String units = kelcore::string::UTF8ToUTF16(utf8);
  std::u32string points;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (IsSurrogatePairAt(units, i)) {
      points += static_cast<char32_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      points += u;
    }
  }
  return points;
}

// ---- reading

class StateReader {
 public:
  explicit StateReader(const JsonReader& r) : r_(r) {}

  TextAttributes Cell(const json& run, const std::string& at) const {
    TextAttributes a;
    const auto opt = [&](const char* key) -> const json& { return r_.Member(run, key, at, false); };
    const auto path = [&](const char* key) { return at + "/" + key; };
    if (!opt("foreground").is_null()) a.SetForegroundColor(r_.Color(opt("foreground"), path("foreground")));
    if (!opt("background").is_null()) a.SetBackgroundColor(r_.Color(opt("background"), path("background")));
    if (!opt("size").is_null())
      a.SetTextSize(static_cast<TextSize>(r_.Named(opt("size"), kSizes, path("size"), "size")));
    if (!opt("rowsUsed").is_null()) a.SetRowsUsed(r_.Int(opt("rowsUsed"), path("rowsUsed")));
    if (!opt("offset").is_null())
      a.SetTextOffset(static_cast<TextOffset>(r_.Named(opt("offset"), kOffsets, path("offset"), "offset")));
    if (!opt("family").is_null()) {
      a.SetGenericFontFamilyID(
          static_cast<GenericFontFamilyID>(r_.Named(opt("family"), kFamilies, path("family"), "font family")));
    }
    if (!opt("edge").is_null()) a.SetTextEdge(static_cast<TextEdge>(r_.Int(opt("edge"), path("edge"))));
    if (!opt("italic").is_null()) a.SetItalic(r_.Bool(opt("italic"), path("italic")));
    if (!opt("underline").is_null()) a.SetUnderlined(r_.Bool(opt("underline"), path("underline")));
    return a;
  }

  CaptioningRenderableModelRowPtr Row(const json& row, int columns, const std::string& at) const {
    CaptioningRenderableModelRowPtr made(new CaptioningRenderableModelRow());
    CellList cells;
    const json& runs = r_.Member(row, "runs", at, true);
    if (!runs.is_array()) r_.Fail(at + "/runs", "expected an array");
    for (std::size_t i = 0; i < runs.size(); ++i) {
      const std::string rat = at + "/runs/" + std::to_string(i);
      int column = r_.Int(r_.Member(runs[i], "column", rat, true), rat + "/column");
      if (column < 0 || column >= columns)
        r_.Fail(rat + "/column", "a column from 0 to " + std::to_string(columns - 1));
      std::u32string characters;
      if (const json& text = r_.Member(runs[i], "text", rat, false); !text.is_null()) {
        characters = CodePoints(r_.String(text, rat + "/text"));
      } else {
        const json& points = r_.Member(runs[i], "codePoints", rat, true);
        if (!points.is_array()) r_.Fail(rat + "/codePoints", "expected an array of whole numbers");
        for (std::size_t p = 0; p < points.size(); ++p) {
          const std::string pat = rat + "/codePoints/" + std::to_string(p);
          if (!points[p].is_number_unsigned() || points[p].get<std::uint64_t>() > 0xFFFFFFFFu)
            r_.Fail(pat, "expected a code point");
          characters += static_cast<char32_t>(points[p].get<std::uint64_t>());
        }
      }
      if (static_cast<std::size_t>(column) + characters.size() > static_cast<std::size_t>(columns)) {
        r_.Fail(rat, "the run goes past the last column");
      }
      const TextAttributes attributes = Cell(runs[i], rat);
      if (cells.size() < static_cast<std::size_t>(column) + characters.size()) cells.resize(column + characters.size());
      for (char32_t c : characters)
        cells[static_cast<std::size_t>(column++)] = new CaptioningRenderableModelCell(c, attributes);
    }
    made->SetCells(std::move(cells));
    return made;
  }

  CaptioningRenderableOpenRowPtr OpenRow(const json& row, const std::string& at) const {
    CaptioningRenderableOpenRowPtr made(new CaptioningRenderableOpenRow());
    const auto integer = [&](const char* key, int fallback) {
      const json& v = r_.Member(row, key, at, false);
      return v.is_null() ? fallback : r_.Int(v, at + "/" + key);
    };
    made->SetHorizontalStart(integer("x", 0));
    made->SetVerticalStart(integer("y", 0));
    made->SetLineHeight(integer("lineHeight", 0));
    made->SetHorizontalTextOffset(integer("textOffset", 0));
    made->SetRowWidth(integer("rowWidth", 0));
    const json& spans = r_.Member(row, "spans", at, true);
    if (!spans.is_array()) r_.Fail(at + "/spans", "expected an array");
    for (std::size_t i = 0; i < spans.size(); ++i) {
      const std::string sat = at + "/spans/" + std::to_string(i);
      const json& s = spans[i];
      const auto value = [&](const char* key, int fallback) {
        const json& v = r_.Member(s, key, sat, false);
        return v.is_null() ? fallback : r_.Int(v, sat + "/" + key);
      };
      CaptioningRenderableOpenSpanPtr span(new CaptioningRenderableOpenSpan());
      span->SetText(kelcore::string::UTF8ToUTF16(r_.String(r_.Member(s, "text", sat, true), sat + "/text")));
      span->SetTextSpanAttributes(ReadSpanAttributes(r_, s, sat));
      span->SetHorizontalStart(value("x", 0));
      span->SetVerticalStart(value("y", 0));
      span->SetTextWidth(value("width", 0));
      span->SetTextHeight(value("emSize", 0), value("height", 0));
      made->SetOpenSpan(value("key", static_cast<int>(i)), span);
    }
    return made;
  }

  CaptioningRenderableModelWindowPtr Window(const json& w, int maxRows, int maxColumns, const std::string& at) const {
    CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
    const auto opt = [&](const char* key) -> const json& { return r_.Member(w, key, at, false); };
    const auto path = [&](const char* key) { return at + "/" + key; };
    if (!opt("visible").is_null()) window->SetVisible(r_.Bool(opt("visible"), path("visible")));
    if (!opt("fill").is_null()) window->SetFillColor(r_.Color(opt("fill"), path("fill")));
    if (!opt("areaRatio").is_null()) window->SetCaptionsAreaRatio(r_.Float(opt("areaRatio"), path("areaRatio")));
    if (!opt("anchor").is_null()) window->SetAnchorID(static_cast<AnchorID>(r_.Int(opt("anchor"), path("anchor"))));
    window->SetRowCount(opt("rowCount").is_null() ? maxRows : r_.Int(opt("rowCount"), path("rowCount")));
    window->SetColumnCount(opt("columnCount").is_null() ? maxColumns : r_.Int(opt("columnCount"), path("columnCount")));
    if (const json& rows = opt("rows"); !rows.is_null()) {
      if (!rows.is_array()) r_.Fail(path("rows"), "expected an array");
      RowList list;
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string rat = path("rows") + "/" + std::to_string(i);
        const int row = r_.Int(r_.Member(rows[i], "row", rat, true), rat + "/row");
        // Rows beyond the grid are the model's to ignore, but a document this far out is a mistake.
        if (row < 0 || row >= 1024) r_.Fail(rat + "/row", "a row from 0 to 1023");
        if (list.size() <= static_cast<std::size_t>(row)) list.resize(static_cast<std::size_t>(row) + 1);
        list[static_cast<std::size_t>(row)] = Row(rows[i], std::max(window->GetColumnCount(), 1), rat);
      }
      window->SetRows(std::move(list));
    }
    if (const json& area = opt("drawArea"); !area.is_null()) {
      if (!area.is_array() || area.size() != 2) r_.Fail(path("drawArea"), "expected [width, height]");
      window->SetCaptionDrawAreaSize(
          {r_.Int(area[0], path("drawArea") + "/0"), r_.Int(area[1], path("drawArea") + "/1")});
    }
    if (const json& rows = opt("openRows"); !rows.is_null()) {
      if (!rows.is_array()) r_.Fail(path("openRows"), "expected an array");
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string rat = path("openRows") + "/" + std::to_string(i);
        const json& key = r_.Member(rows[i], "key", rat, false);
        const int number = key.is_null() ? static_cast<int>(i) : r_.Int(key, rat + "/key");
        if (number < 0) r_.Fail(rat + "/key", "a key of 0 or more");
        window->SetOpenRow(static_cast<std::uint64_t>(number), OpenRow(rows[i], rat));
      }
    }
    return window;
  }

  CaptioningRenderableModelPtr Model(const json& state, StreamFormat format, const std::string& at) const {
    if (const json& f = r_.Member(state, "format", at, false); !f.is_null()) format = Format(f, at + "/format");
    CaptioningRenderableModelPtr model(new CaptioningRenderableModel(format));
    if (const json& v = r_.Member(state, "maxRows", at, false); !v.is_null())
      model->SetMaxRows(r_.Int(v, at + "/maxRows"));
    if (const json& v = r_.Member(state, "maxColumns", at, false); !v.is_null())
      model->SetMaxColumns(r_.Int(v, at + "/maxColumns"));
    const json& windows = r_.Member(state, "windows", at, true);
    if (!windows.is_array()) r_.Fail(at + "/windows", "expected an array");
    std::vector<int> order;
    for (std::size_t i = 0; i < windows.size(); ++i) {
      const std::string wat = at + "/windows/" + std::to_string(i);
      const json& n = r_.Member(windows[i], "number", wat, false);
      const int number = n.is_null() ? static_cast<int>(i) : r_.Int(n, wat + "/number");
      model->SetWindow(number, Window(windows[i], model->GetMaxRows(), model->GetMaxColumns(), wat));
      order.push_back(number);
    }
    if (const json& v = r_.Member(state, "renderOrder", at, false); !v.is_null()) {
      if (!v.is_array()) r_.Fail(at + "/renderOrder", "expected an array of window numbers");
      order.clear();
      for (std::size_t i = 0; i < v.size(); ++i)
        order.push_back(r_.Int(v[i], at + "/renderOrder/" + std::to_string(i)));
    }
    model->SetWindowRenderOrder(std::move(order));
    return model;
  }

  StreamFormat Format(const json& v, const std::string& at) const {
    const std::string code = r_.String(v, at);
    try {
      return StreamFormatFromCode(code);
    } catch (const std::runtime_error& e) {
      r_.Fail(at, e.what());
    }
  }

 private:
  const JsonReader& r_;
};

// ---- writing

json CellJson(const TextAttributes& a) {
  return {{"foreground", ColorJson(a.GetForegroundColor())},
          {"background", ColorJson(a.GetBackgroundColor())},
          {"size", NameOr(a.GetTextSize(), kSizes)},
          {"rowsUsed", a.GetRowsUsed()},
          {"offset", NameOr(a.GetTextOffset(), kOffsets)},
          {"family", NameOr(a.GetGenericFontFamilyID(), kFamilies)},
          {"edge", static_cast<int>(a.GetTextEdge())},
          {"italic", a.IsItalic()},
          {"underline", a.IsUnderlined()}};
}

void CloseRun(json& run, const std::u32string& characters) {
  if (std::all_of(characters.begin(), characters.end(), IsScalarValue)) {
    kelcore::UTF16String units;
    for (char32_t c : characters) kelcore::string::AppendCodePoint(units, c);
    run["text"] = kelcore::string::UTF16ToUTF8(units);
  } else {
    json points = json::array();
    for (char32_t c : characters) points.push_back(static_cast<std::uint32_t>(c));
    run["codePoints"] = points;
  }
}

// Neighbouring cells of equal attributes make one run.
json RunsOf(const CellList& cells) {
  json runs = json::array();
  std::size_t c = 0;
  while (c < cells.size()) {
    if (!cells[c]) {
      ++c;
      continue;
    }
    const TextAttributes attributes = cells[c]->GetTextAttributes();
    json run = {{"column", c}};
    std::u32string characters;
    while (c < cells.size() && cells[c] && cells[c]->GetTextAttributes() == attributes)
      characters += cells[c++]->GetCharacter();
    CloseRun(run, characters);
    run.update(CellJson(attributes));
    runs.push_back(run);
  }
  return runs;
}

json WindowJson(int number, const CaptioningRenderableModelWindow& w) {
  json window = {{"number", number},
                 {"visible", w.GetVisible()},
                 {"fill", ColorJson(w.GetFillColor())},
                 {"areaRatio", Tidy(w.GetCaptionsAreaRatio())},
                 {"anchor", static_cast<int>(w.GetAnchorID())},
                 {"rowCount", w.GetRowCount()},
                 {"columnCount", w.GetColumnCount()}};
  json rows = json::array();
  const RowList list = w.GetRows();
  for (std::size_t r = 0; r < list.size(); ++r) {
    if (!list[r]) continue;
    json runs = RunsOf(list[r]->GetCells());
    if (!runs.empty()) rows.push_back({{"row", r}, {"runs", runs}});
  }
  if (!rows.empty()) window["rows"] = rows;
  OpenRowMap openRows;
  w.GetOpenRows(openRows);
  if (!openRows.empty() || w.GetCaptionDrawAreaSize().x != 0 || w.GetCaptionDrawAreaSize().y != 0) {
    window["drawArea"] = {w.GetCaptionDrawAreaSize().x, w.GetCaptionDrawAreaSize().y};
  }
  json open = json::array();
  for (const auto& [key, row] : openRows) {
    if (!row) continue;
    json spans = json::array();
    OpenSpanMap spanMap;
    row->GetOpenSpans(spanMap);
    for (const auto& [spanKey, span] : spanMap) {
      if (!span) continue;
      json s = {{"key", spanKey},
                {"text", kelcore::string::UTF16ToUTF8(span->GetText())},
                {"x", span->GetHorizontalStart()},
                {"y", span->GetVerticalStart()},
                {"width", span->GetTextWidth()},
                {"emSize", span->GetTextHeight(true)},
                {"height", span->GetTextHeight(false)}};
      WriteSpanAttributes(span->GetTextSpanAttributes(), s);
      spans.push_back(s);
    }
    open.push_back({{"key", key},
                    {"x", row->GetHorizontalStart()},
                    {"y", row->GetVerticalStart()},
                    {"lineHeight", row->GetLineHeight()},
                    {"textOffset", row->GetHorizontalTextOffset()},
                    {"rowWidth", row->GetRowWidth()},
                    {"spans", spans}});
  }
  if (!open.empty()) window["openRows"] = open;
  return window;
}

}  // namespace

std::optional<ReadResult> ReadModelDocument(std::string_view text, const std::string& fileName,
                                            const ReadOptions& options) {
  const json document = json::parse(text, nullptr, false);
  if (document.is_discarded() || !document.is_object() || !document.contains("states")) return std::nullopt;
  FileNotes notes;
  ReadProblems problems(fileName, options.strict, notes);
  const JsonReader r(fileName);
  const StateReader states(r);
  CaptionTimeline timeline;
  StreamFormat fallback = kStreamFormat_CEA608_CC1;
  try {
    const json& format = r.Member(document, "format", "", false);
    if (!format.is_null()) fallback = states.Format(format, "/format");
    if (!document["states"].is_array()) r.Fail("/states", "expected an array");
  } catch (const ReadError& e) {
    problems.Skipped(e, "documents whose format or states cannot be read (nothing read)");
    return ReadResult{std::move(timeline), std::move(notes), {}};
  }
  const json& list = document["states"];
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string at = "/states/" + std::to_string(i);
    try {
      const kelmediatypes::TickTime begin = r.Time(r.Member(list[i], "begin", at, true), at + "/begin");
      const json& e = r.Member(list[i], "end", at, false);
      const kelmediatypes::TickTime end = e.is_null() ? kelmediatypes::kTime_Max : r.Time(e, at + "/end");
      if (!timeline.Empty() && begin < timeline.States().back().begin)
        r.Fail(at + "/begin", "states must be in time order");
      if (end < begin) r.Fail(at + "/end", "a state may not end before it begins");
      timeline.Show(begin, end, states.Model(list[i], fallback, at));
    } catch (const ReadError& e) {
      problems.Skipped(e, "states with a value that cannot be read (skipped)");
    }
  }
  return ReadResult{std::move(timeline), std::move(notes), {}};
}

std::string WriteModelDocument(const CaptionTimeline& timeline) {
  json states = json::array();
  for (const TimedModel& state : timeline.States()) {
    const CaptioningRenderableModel& model = *state.model;
    json s = {{"begin", TimeOf(state.begin)},
              {"format", StreamFormatCode(model.GetStreamFormat())},
              {"maxRows", model.GetMaxRows()},
              {"maxColumns", model.GetMaxColumns()}};
    if (state.end != kelmediatypes::kTime_Max) s["end"] = TimeOf(state.end);
    std::vector<int> order;
    model.GetWindowRenderOrder(order);
    json windows = json::array();
    for (int number : order) {
      if (const CaptioningRenderableModelWindowPtr window = model.GetWindow(number))
        windows.push_back(WindowJson(number, *window));
    }
    s["windows"] = windows;
    s["renderOrder"] = order;
    states.push_back(s);
  }
  json document = {{"states", states}};
  if (!timeline.Empty()) document["format"] = StreamFormatCode(timeline.States().front().model->GetStreamFormat());
  // A span's text may hold a lone surrogate; it is written as U+FFFD rather than refused.
  return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace kelcaptionfiles

#include "captionfiles/EbuStlReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>

#include "captionfiles/StlCodePage.h"
#include "captionfiles/StlText.h"
#include "kelcaptioning/Formats.h"
#include "kelcaptioning/RenderableFromCaption.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelcore/String.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;
using kelmediatypes::TickTime;
using stl::CellKind;
using stl::TextCell;
using stl::TextRow;

namespace {

constexpr std::size_t kHeaderSize = 1024;
constexpr std::size_t kBlockSize = 128;
constexpr std::size_t kTextOffset = 16;
constexpr std::size_t kTextSize = 112;

struct FrameRate {
  const char* code;
  int perSecond;  // frames in a time-code second
  std::int64_t ticksPerFrame;
};

constexpr std::int64_t kTicks = TickTime::kTicksPerSecond;
constexpr FrameRate kFrameRates[] = {
    {"STL23.01", 24, kTicks / 24000 * 1001}, {"STL24.01", 24, kTicks / 24}, {"STL25.01", 25, kTicks / 25},
    {"STL30.01", 30, kTicks / 30},           {"STL50.01", 50, kTicks / 50}, {"STL60.01", 60, kTicks / 60},
};

struct Header {
  const FrameRate* rate = nullptr;
  StreamFormat format = kStreamFormat_Unknown;
  stl::CharacterTable table = stl::CharacterTable::kLatin;
  int maxRows = 0;
  int maxCharacters = 0;
};

// One subtitle, its extension blocks joined.
struct Subtitle {
  int group = 0;
  int number = 0;
  int cumulative = 0;  // 0 none, 1 first of a set, 2 within, 3 last
  TickTime begin;
  TickTime end;
  int row = 0;
  int justification = 0;
  std::string text;
  // Its first text block, where notes about it point.
  FilePlace place;
};

// The file's bytes, with the positioned errors of its fields.
class Input {
 public:
  Input(std::string_view bytes, const std::string& file) : bytes_(bytes), file_(file) {}

  std::size_t Size() const noexcept { return bytes_.size(); }
  unsigned char Byte(std::size_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }
  std::string_view Field(std::size_t offset, std::size_t length) const { return bytes_.substr(offset, length); }

  [[noreturn]] void Fail(std::uint64_t offset, const std::string& problem) const {
    throw ReadError::AtByte(file_, offset, problem);
  }

  // An ASCII decimal field; spaces may stand around its digits. Nothing when it is all spaces.
  std::optional<long> Number(std::size_t offset, std::size_t length, const char* what) const {
    const std::string_view field = Field(offset, length);
    std::size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t last = field.find_last_not_of(' ') + 1;
    long value = 0;
    for (std::size_t i = first; i < last; ++i) {
      if (field[i] < '0' || field[i] > '9')
        Fail(offset + i, std::string(what) + " must be digits, not " + Quoted(field));
      value = value * 10 + (field[i] - '0');
    }
    return value;
  }

  // A field as text for a message, its bytes outside printable ASCII as \xNN.
  static std::string Quoted(std::string_view field) {
    std::string text = "\"";
    for (char c : field) {
      if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
        text.push_back(c);
      } else {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        text += escaped;
      }
    }
    return text + "\"";
  }

 private:
  std::string_view bytes_;
  const std::string& file_;
};

std::string TimeCodeText(int h, int m, int s, int f) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d:%02d", h, m, s, f);
  return text;
}

TickTime TimeOf(const FrameRate& rate, int h, int m, int s, int f) {
  return TickTime((static_cast<std::int64_t>((h * 60 + m) * 60 + s) * rate.perSecond + f) * rate.ticksPerFrame);
}

// Checks the parts of a time code; `offsets` are where hours, minutes, seconds and frames stand.
void CheckTimeCode(const Input& in, const FrameRate& rate, const int (&parts)[4], const std::size_t (&offsets)[4],
                   const std::string& what) {
  const int limits[4] = {24, 60, 60, rate.perSecond};
  const char* names[4] = {"hours", "minutes", "seconds", "frames"};
  for (int k = 0; k < 4; ++k) {
    if (parts[k] >= limits[k]) {
      in.Fail(offsets[k], what + ": the " + names[k] + " must be below " + std::to_string(limits[k]) +
                              (k == 3 ? std::string(" at ") + rate.code : std::string()) + ", not " +
                              std::to_string(parts[k]));
    }
  }
}

// A text block's time code: hours, minutes, seconds and frames, one byte each.
TickTime BlockTimeCode(const Input& in, const FrameRate& rate, std::size_t offset, const char* what,
                       std::string& text) {
  int parts[4];
  std::size_t offsets[4];
  for (int k = 0; k < 4; ++k) {
    parts[k] = in.Byte(offset + static_cast<std::size_t>(k));
    offsets[k] = offset + static_cast<std::size_t>(k);
  }
  CheckTimeCode(in, rate, parts, offsets, what);
  text = TimeCodeText(parts[0], parts[1], parts[2], parts[3]);
  return TimeOf(rate, parts[0], parts[1], parts[2], parts[3]);
}

Header ReadHeader(const Input& in, std::size_t& blockCount, FileNotes& notes) {
  if (in.Size() < kHeaderSize) {
    in.Fail(in.Size(),
            "the file ends inside its 1024-byte header (GSI block), after " + std::to_string(in.Size()) + " bytes");
  }
  Header header;
  const std::string_view formatCode = in.Field(3, 8);
  for (const FrameRate& rate : kFrameRates) {
    if (formatCode == rate.code) header.rate = &rate;
  }
  if (!header.rate) {
    in.Fail(3, "the disk format code " + Input::Quoted(formatCode) +
                   " is none of STL23.01, STL24.01, STL25.01, STL30.01, STL50.01, STL60.01");
  }
  const std::string_view codePage = in.Field(0, 3);
  if (codePage != "437" && codePage != "850" && codePage != "860" && codePage != "863" && codePage != "865") {
    notes.Add(
        "the header's code page number " + Input::Quoted(codePage) + " (unknown; the header's texts are not used)",
        FilePlace::AtByte(0));
  }
  switch (in.Byte(11)) {
    case ' ':
    case '0': header.format = kStreamFormat_OpenEBU; break;
    case '1': header.format = kStreamFormat_TeletextLevel10; break;
    case '2': header.format = kStreamFormat_TeletextLevel20; break;
    default:
      in.Fail(11, "the display standard code " + Input::Quoted(in.Field(11, 1)) +
                      " is none of blank or 0 (open subtitling), 1 or 2 (teletext)");
  }
  static constexpr std::pair<const char*, stl::CharacterTable> kTables[] = {{"00", stl::CharacterTable::kLatin},
                                                                            {"01", stl::CharacterTable::kCyrillic},
                                                                            {"02", stl::CharacterTable::kArabic},
                                                                            {"03", stl::CharacterTable::kGreek},
                                                                            {"04", stl::CharacterTable::kHebrew}};
  const std::string_view tableCode = in.Field(12, 2);
  const auto table =
      std::find_if(std::begin(kTables), std::end(kTables), [&](const auto& entry) { return tableCode == entry.first; });
  if (table == std::end(kTables)) {
    in.Fail(12, "the character code table " + Input::Quoted(tableCode) + " is none of 00 to 04");
  }
  header.table = table->second;
  if (header.format != kStreamFormat_OpenEBU &&
      (header.table == stl::CharacterTable::kArabic || header.table == stl::CharacterTable::kHebrew)) {
    notes.Add("right-to-left text in teletext cells (laid out in stored order)", FilePlace::AtByte(12));
  }

  const std::size_t rest = in.Size() - kHeaderSize;
  blockCount = rest / kBlockSize;
  if (rest % kBlockSize != 0) {
    in.Fail(kHeaderSize + blockCount * kBlockSize,
            "the last text block (TTI) is cut short: " + std::to_string(rest % kBlockSize) + " of 128 bytes");
  }
  if (const auto counted = in.Number(238, 5, "the total number of text blocks (TNB)")) {
    if (static_cast<std::size_t>(*counted) > blockCount) {
      in.Fail(in.Size(), "the file ends after " + std::to_string(blockCount) + " of the " + std::to_string(*counted) +
                             " text blocks that its header counts");
    }
    if (static_cast<std::size_t>(*counted) < blockCount) {
      notes.Add("the header's count of " + std::to_string(*counted) + " text blocks (all " +
                    std::to_string(blockCount) + " are read)",
                FilePlace::AtByte(238));
    }
  }
  header.maxCharacters =
      static_cast<int>(in.Number(251, 2, "the maximum number of characters in a row (MNC)").value_or(0));
  header.maxRows = static_cast<int>(in.Number(253, 2, "the maximum number of rows (MNR)").value_or(0));

  // Start of programme, HHMMSSFF in ASCII digits.
  if (in.Field(256, 8).find_first_not_of(' ') != std::string_view::npos) {
    int parts[4];
    std::size_t offsets[4];
    for (int k = 0; k < 4; ++k) {
      offsets[k] = 256 + 2 * static_cast<std::size_t>(k);
      const std::string_view digits = in.Field(offsets[k], 2);
      if (digits[0] < '0' || digits[0] > '9' || digits[1] < '0' || digits[1] > '9') {
        in.Fail(offsets[k], "the start-of-programme time code (TCP) must be digits HHMMSSFF, not " +
                                Input::Quoted(in.Field(256, 8)));
      }
      parts[k] = (digits[0] - '0') * 10 + (digits[1] - '0');
    }
    CheckTimeCode(in, *header.rate, parts, offsets, "the start-of-programme time code (TCP)");
    if (parts[0] || parts[1] || parts[2] || parts[3]) {
      notes.Add("the start-of-programme time code " + TimeCodeText(parts[0], parts[1], parts[2], parts[3]) +
                    " (subtitle times are read as written)",
                FilePlace::AtByte(256));
    }
  }
  return header;
}

std::string HexByte(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

// The extension block number; 0xFE is user data, 0xFF the last block of a subtitle.
unsigned char BlockNumber(const Input& in, std::size_t block) {
  const std::size_t offset = kHeaderSize + block * kBlockSize;
  const unsigned char number = in.Byte(offset + 3);
  if (number >= 0xF0 && number < 0xFE)
    in.Fail(offset + 3, "the extension block number " + HexByte(number) + " is reserved");
  return number;
}

int SubtitleNumber(const Input& in, std::size_t offset) { return in.Byte(offset + 1) | (in.Byte(offset + 2) << 8); }

std::vector<Subtitle> ReadSubtitles(const Input& in, const Header& header, std::size_t blockCount, FileNotes& notes) {
  std::vector<Subtitle> subtitles;
  std::set<int> groups;
  const bool teletext = header.format != kStreamFormat_OpenEBU;
  std::size_t block = 0;
  while (block < blockCount) {
    const std::size_t offset = kHeaderSize + block * kBlockSize;
    unsigned char extension = BlockNumber(in, block);
    if (extension == 0xFE) {
      notes.Count("user data blocks (skipped)", FilePlace::AtByte(static_cast<std::int64_t>(offset)));
      ++block;
      continue;
    }
    Subtitle subtitle;
    subtitle.place = FilePlace::AtByte(static_cast<std::int64_t>(offset));
    subtitle.group = in.Byte(offset);
    subtitle.number = SubtitleNumber(in, offset);
    subtitle.text = in.Field(offset + kTextOffset, kTextSize);
    while (extension != 0xFF) {
      ++block;
      while (block < blockCount && BlockNumber(in, block) == 0xFE) {
        notes.Count("user data blocks (skipped)",
                    FilePlace::AtByte(static_cast<std::int64_t>(kHeaderSize + block * kBlockSize)));
        ++block;
      }
      if (block >= blockCount) {
        in.Fail(in.Size(), "the file ends inside subtitle " + std::to_string(subtitle.number) +
                               ": its text continues after extension block " + std::to_string(extension));
      }
      const std::size_t next = kHeaderSize + block * kBlockSize;
      if (in.Byte(next) != subtitle.group || SubtitleNumber(in, next) != subtitle.number) {
        in.Fail(next, "the text of subtitle " + std::to_string(subtitle.number) + " continues after extension block " +
                          std::to_string(extension) + ", but this block belongs to subtitle " +
                          std::to_string(SubtitleNumber(in, next)) + " of group " + std::to_string(in.Byte(next)));
      }
      extension = BlockNumber(in, block);
      subtitle.text += in.Field(next + kTextOffset, kTextSize);
    }
    ++block;

    if (in.Byte(offset + 15) != 0) {
      notes.Count("comments (not shown)", subtitle.place);
      continue;
    }
    const int cumulative = in.Byte(offset + 4);
    if (cumulative > 3)
      notes.Count("cumulative status " + std::to_string(cumulative) + " (read as not cumulative)", subtitle.place);
    else
      subtitle.cumulative = cumulative;
    std::string beginText, endText;
    subtitle.begin = BlockTimeCode(in, *header.rate, offset + 5, "the time code in (TCI)", beginText);
    subtitle.end = BlockTimeCode(in, *header.rate, offset + 9, "the time code out (TCO)", endText);
    if (subtitle.end < subtitle.begin) {
      in.Fail(offset + 9, "subtitle " + std::to_string(subtitle.number) + " ends (" + endText + ") before it begins (" +
                              beginText + ")");
    }
    if (subtitle.end == subtitle.begin) notes.Count("subtitles that end where they begin (not shown)", subtitle.place);
    subtitle.row = in.Byte(offset + 13);
    if (teletext && (subtitle.row < 1 || subtitle.row > 23)) {
      in.Fail(offset + 13,
              "the vertical position " + std::to_string(subtitle.row) + " is not a teletext row (1 to 23)");
    }
    if (!teletext && subtitle.row > 99) {
      in.Fail(offset + 13, "the vertical position " + std::to_string(subtitle.row) + " is above 99");
    }
    const int justification = in.Byte(offset + 14);
    if (justification > 3)
      notes.Count("justification code " + std::to_string(justification) + " (read as 0, as written)", subtitle.place);
    else
      subtitle.justification = justification;
    groups.insert(subtitle.group);
    subtitles.push_back(std::move(subtitle));
  }
  if (groups.size() > 1) notes.Add("subtitle groups (" + std::to_string(groups.size()) + " groups, read as one track)");
  return subtitles;
}

// A subtitle continues the cumulative set of the one before it.
bool Continues(const Subtitle& previous, const Subtitle& subtitle) {
  return (subtitle.cumulative == 2 || subtitle.cumulative == 3) &&
         (previous.cumulative == 1 || previous.cumulative == 2);
}

// ---- Teletext

struct GridRowResult {
  CaptioningRenderableModelRowPtr row;
  bool doubleHeight = false;
};

GridRowResult GridRow(const TextRow& text, int justification, bool roomBelow, int columns, const FilePlace& place,
                      FileNotes& notes) {
  std::size_t first = 0, last = text.size();
  if (justification != 0) {
    while (first < last && text[first].kind == CellKind::kSpace) ++first;
    while (last > first && text[last - 1].kind == CellKind::kSpace) --last;
  }
  if (first == last) return {};
  const int length = static_cast<int>(last - first);
  int column = justification == 2 ? (columns - length) / 2 : justification == 3 ? columns - length : 0;
  column = std::max(column, 0);
  CellList cells(static_cast<std::size_t>(column));
  GridRowResult result;
  bool lowered = false;
  long cut = 0;
  for (std::size_t i = first; i < last; ++i, ++column) {
    const TextCell& cell = text[i];
    if (column >= columns) {
      cut += cell.kind == CellKind::kCharacter;
      continue;
    }
    bool doubled = cell.doubleHeight;
    if (doubled && !roomBelow) {
      doubled = false;
      lowered = true;
    }
    if (cell.accent) notes.Count("accents with no precomposed letter (the cell shows the letter alone)", place);
    TextAttributes attributes;
    // A space shows nothing but its underline; leaving its ink transparent keeps it out of the
    // row's extent outside boxes.
    const bool ink = cell.kind == CellKind::kCharacter || cell.underline;
    attributes.SetForegroundColor(ink ? cell.foreground : kCaptioningColor_Transparent);
    attributes.SetBackgroundColor(cell.boxed ? cell.background : kCaptioningColor_Transparent);
    attributes.SetRowsUsed(doubled ? 2 : 1);
    attributes.SetItalic(cell.italic);
    attributes.SetUnderlined(cell.underline);
    cells.push_back(CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(cell.character, attributes)));
    result.doubleHeight = result.doubleHeight || doubled;
  }
  if (cut) notes.Count("characters past column " + std::to_string(columns) + " (not shown)", place, cut);
  if (lowered) notes.Count("double height on the last row (shown at normal height)", place);
  result.row = CaptioningRenderableModelRowPtr(new CaptioningRenderableModelRow());
  result.row->SetCells(std::move(cells));
  return result;
}

bool Shows(const TextRow& row) {
  return std::any_of(row.begin(), row.end(), [](const TextCell& c) { return c.kind == CellKind::kCharacter; });
}

RowList TeletextRows(const Subtitle& subtitle, const Header& header, int rows, int columns, FileNotes& notes) {
  RowList grid(static_cast<std::size_t>(rows));
  int index = subtitle.row - 1;
  bool hidden = false;  // the row under a double-height row
  for (const TextRow& text :
       stl::DecodeText(subtitle.text, header.table, stl::TextMode::kTeletext, subtitle.place, notes)) {
    const int at = index++;
    if (at >= rows) {
      if (Shows(text)) notes.Count("text rows below row " + std::to_string(rows) + " (not shown)", subtitle.place);
      continue;
    }
    if (hidden) {
      hidden = false;
      if (Shows(text))
        notes.Count("text in the row under a double-height row (hidden, as on a decoder)", subtitle.place);
      continue;
    }
    GridRowResult row = GridRow(text, subtitle.justification, at + 1 < rows, columns, subtitle.place, notes);
    grid[static_cast<std::size_t>(at)] = row.row;
    hidden = row.doubleHeight;
  }
  return grid;
}

bool IsDoubleHeight(const CaptioningRenderableModelRowPtr& row) {
  if (!row) return false;
  const CellList cells = row->GetCells();
  return std::any_of(cells.begin(), cells.end(),
                     [](const auto& cell) { return cell && cell->GetTextAttributes().GetRowsUsed() > 1; });
}

CaptionTimeline TeletextTimeline(const std::vector<Subtitle>& subtitles, const Header& header, FileNotes& notes) {
  struct Page {
    TickTime begin, end;
    RowList rows;
  };
  const int rows = GetCaptionRows(header.format), columns = GetCaptionColumns(header.format);
  std::vector<Page> pages;
  for (std::size_t i = 0; i < subtitles.size(); ++i) {
    Page page{subtitles[i].begin, subtitles[i].end, TeletextRows(subtitles[i], header, rows, columns, notes)};
    if (i > 0 && Continues(subtitles[i - 1], subtitles[i])) {
      const RowList& before = pages.back().rows;
      for (std::size_t r = 0; r < page.rows.size(); ++r) {
        if (!page.rows[r]) page.rows[r] = before[r];
      }
      // A double-height row of either subtitle hides the row under it.
      for (std::size_t r = 0; r + 1 < page.rows.size(); ++r) {
        if (!IsDoubleHeight(page.rows[r]) || !page.rows[r + 1]) continue;
        notes.Count("text in the row under a double-height row (hidden, as on a decoder)", subtitles[i].place);
        page.rows[r + 1] = nullptr;
      }
    }
    pages.push_back(std::move(page));
  }
  // A teletext page replaces the one before it: pages go on in the order they begin.
  std::stable_sort(pages.begin(), pages.end(), [](const Page& a, const Page& b) { return a.begin < b.begin; });
  CaptionTimeline timeline;
  for (const Page& page : pages) {
    if (std::none_of(page.rows.begin(), page.rows.end(), [](const auto& row) { return bool(row); })) {
      timeline.Clear(page.begin);
      continue;
    }
    timeline.Show(page.begin, page.end, MakeGridModel(header.format, page.rows));
  }
  return timeline;
}

// ---- Open subtitling

struct OpenLine {
  TextRow cells;
  AnchorID anchor;
  ParagraphStyleAttributes::TextAlignmentType alignment;
};

struct OpenSubtitle {
  TickTime begin, end;
  std::vector<OpenLine> lines;
};

bool SameSpanStyle(const TextCell& a, const TextCell& b) {
  return a.foreground == b.foreground && a.boxed == b.boxed && (!a.boxed || a.background == b.background) &&
         a.italic == b.italic && a.underline == b.underline;
}

TextSpanAttributes SpanAttributes(const TextCell& cell, const SubtitleStyle& style) {
  TextSpanAttributes a;
  a.SetForegroundColor(cell.foreground);
  a.SetBackgroundColor(cell.boxed ? cell.background : style.background);
  a.SetForegroundEdgeColor(kCaptioningColor_Black);
  a.SetTextEdge(style.edge);
  a.SetTextEdgeWidth(style.edgeWidth);
  a.SetFontName(kelcore::string::UTF8ToUTF16(style.fontName));
  a.SetFontSize(style.fontSize);
  a.SetUnderlined(cell.underline);
  a.SetFontStyle(cell.italic ? kFontStyle_Italic : kFontStyle_Regular);
  return a;
}

// A paragraph of the row's cells without the spaces at its ends; null for a row with no text.
CaptionTextParagraphPtr OpenParagraph(const OpenLine& line, const SubtitleStyle& style) {
  std::size_t first = 0, last = line.cells.size();
  while (first < last && line.cells[first].kind != CellKind::kCharacter) ++first;
  while (last > first && line.cells[last - 1].kind != CellKind::kCharacter) --last;
  if (first == last) return nullptr;
  CaptionTextParagraphPtr paragraph(new CaptionTextParagraph());
  ParagraphStyleAttributes paragraphStyle;
  paragraphStyle.SetAnchorID(line.anchor);
  paragraphStyle.SetTextAlignment(line.alignment);
  paragraph->SetParagraphStyleAttributes(paragraphStyle);
  for (std::size_t i = first; i < last;) {
    kelcore::UTF16String text;
    std::size_t end = i;
    for (; end < last && SameSpanStyle(line.cells[i], line.cells[end]); ++end) {
      kelcore::string::AppendCodePoint(text, line.cells[end].character);
      if (line.cells[end].accent) kelcore::string::AppendCodePoint(text, line.cells[end].accent);
    }
    CaptionTextSpanPtr span(new CaptionTextSpan());
    span->SetCaptionText(text);
    span->SetTextSpanStyleAttributes(SpanAttributes(line.cells[i], style));
    paragraph->AppendCaptionTextSpan(span);
    i = end;
  }
  return paragraph;
}

CaptionListPtr OpenCaptions(const std::vector<Subtitle>& subtitles, const Header& header, const SubtitleStyle& style,
                            FileNotes& notes) {
  // Rows below the middle of the header's row count are anchored at the bottom.
  const int rowCount = header.maxRows > 0 ? header.maxRows : 23;
  std::vector<OpenSubtitle> open;
  for (std::size_t i = 0; i < subtitles.size(); ++i) {
    const Subtitle& subtitle = subtitles[i];
    const bool bottom = 2 * subtitle.row > rowCount;
    const int column = subtitle.justification == 1 ? 0 : subtitle.justification == 3 ? 2 : 1;
    const auto anchor = static_cast<AnchorID>((bottom ? kAnchor_BottomLeft : kAnchor_TopLeft) + column);
    const auto alignment = static_cast<ParagraphStyleAttributes::TextAlignmentType>(column);
    OpenSubtitle entry{subtitle.begin, subtitle.end, {}};
    if (i > 0 && Continues(subtitles[i - 1], subtitle)) {
      entry.lines = open.back().lines;
      open.back().end = std::min(open.back().end, subtitle.begin);
    }
    for (TextRow& row : stl::DecodeText(subtitle.text, header.table, stl::TextMode::kOpen, subtitle.place, notes)) {
      entry.lines.push_back({std::move(row), anchor, alignment});
    }
    open.push_back(std::move(entry));
  }

  CaptionListPtr list(new CaptionList());
  list->SetStreamFormat(kStreamFormat_OpenEBU);
  CaptioningMetadata metadata;
  STLMetadataPtr stlMetadata(new STLMetadata());
  stlMetadata->SetDisplayStandardCode(kStreamFormat_OpenEBU);
  metadata.SetSTLMetadata(stlMetadata);
  metadata.SetMaxNumberOfRow(header.maxRows);
  metadata.SetMaxCharactersInRow(header.maxCharacters);
  list->SetMetadata(metadata);
  for (const OpenSubtitle& subtitle : open) {
    CaptionPtr caption(new Caption());
    for (const OpenLine& line : subtitle.lines) {
      if (CaptionTextParagraphPtr paragraph = OpenParagraph(line, style))
        caption->AppendCaptionTextParagraph(paragraph);
    }
    if (caption->GetNumParagraphs() == 0 || !(subtitle.begin < subtitle.end)) continue;
    caption->SetBeginTime(subtitle.begin);
    caption->SetEndTime(subtitle.end);
    list->InsertCaption(caption);
  }
  return list;
}

}  // namespace

ReadResult ReadEbuStl(std::string_view bytes, const std::string& fileName, const ReadOptions& options) {
  const SubtitleStyle& style = options.style;
  const Input in(bytes, fileName);
  FileNotes notes;
  std::size_t blockCount = 0;
  const Header header = ReadHeader(in, blockCount, notes);
  const std::vector<Subtitle> subtitles = ReadSubtitles(in, header, blockCount, notes);
  if (header.format == kStreamFormat_OpenEBU) return {OpenCaptions(subtitles, header, style, notes), std::move(notes)};
  CaptionTimeline teletext = TeletextTimeline(subtitles, header, notes);
  return {std::move(teletext), std::move(notes)};
}

}  // namespace kelcaptionfiles

#include "captionfiles/EbuStlReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>

#include "captionfiles/ReadProblems.h"
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

// The file's bytes, and where the problems of its fields are reported.
class Input {
 public:
  Input(std::string_view bytes, ReadProblems& problems) : bytes_(bytes), problems_(problems) {}

  std::size_t Size() const noexcept { return bytes_.size(); }
  unsigned char Byte(std::size_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }
  std::string_view Field(std::size_t offset, std::size_t length) const { return bytes_.substr(offset, length); }

  // `problem` at byte `offset`; `note` says what was done about it.
  void Report(std::uint64_t offset, const std::string& problem, const std::string& note) const {
    problems_.Report(FilePlace::AtByte(static_cast<std::int64_t>(offset)), problem, note);
  }

  // An ASCII decimal field; spaces may stand around its digits. Nothing when it is all spaces,
  // or when it is not digits (reported).
  std::optional<long> Number(std::size_t offset, std::size_t length, const char* what) const {
    const std::string_view field = Field(offset, length);
    std::size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t last = field.find_last_not_of(' ') + 1;
    long value = 0;
    for (std::size_t i = first; i < last; ++i) {
      if (field[i] < '0' || field[i] > '9') {
        Report(offset + i, std::string(what) + " must be digits, not " + Quoted(field),
               "header numbers that are not digits (not used)");
        return std::nullopt;
      }
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
  ReadProblems& problems_;
};

std::string TimeCodeText(int h, int m, int s, int f) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d:%02d", h, m, s, f);
  return text;
}

TickTime TimeOf(const FrameRate& rate, int h, int m, int s, int f) {
  return TickTime((static_cast<std::int64_t>((h * 60 + m) * 60 + s) * rate.perSecond + f) * rate.ticksPerFrame);
}

// Whether the parts of a time code are in range; reports the first that is not, with `note`.
// `offsets` are where hours, minutes, seconds and frames stand.
bool CheckTimeCode(const Input& in, const FrameRate& rate, const int (&parts)[4], const std::size_t (&offsets)[4],
                   const std::string& what, const char* note) {
  const int limits[4] = {24, 60, 60, rate.perSecond};
  const char* names[4] = {"hours", "minutes", "seconds", "frames"};
  for (int k = 0; k < 4; ++k) {
    if (parts[k] >= limits[k]) {
      in.Report(offsets[k],
                what + ": the " + names[k] + " must be below " + std::to_string(limits[k]) +
                    (k == 3 ? std::string(" at ") + rate.code : std::string()) + ", not " + std::to_string(parts[k]),
                note);
      return false;
    }
  }
  return true;
}

// A text block's time code: hours, minutes, seconds and frames, one byte each. Nothing when it
// is out of range (reported: the subtitle is skipped).
std::optional<TickTime> BlockTimeCode(const Input& in, const FrameRate& rate, std::size_t offset, const char* what,
                                      std::string& text) {
  int parts[4];
  std::size_t offsets[4];
  for (int k = 0; k < 4; ++k) {
    parts[k] = in.Byte(offset + static_cast<std::size_t>(k));
    offsets[k] = offset + static_cast<std::size_t>(k);
  }
  if (!CheckTimeCode(in, rate, parts, offsets, what, "subtitles with a time code out of range (skipped)")) {
    return std::nullopt;
  }
  text = TimeCodeText(parts[0], parts[1], parts[2], parts[3]);
  return TimeOf(rate, parts[0], parts[1], parts[2], parts[3]);
}

// Nothing when the file is too short to hold a header (reported).
std::optional<Header> ReadHeader(const Input& in, std::size_t& blockCount, FileNotes& notes) {
  if (in.Size() < kHeaderSize) {
    in.Report(in.Size(),
              "the file ends inside its 1024-byte header (GSI block), after " + std::to_string(in.Size()) + " bytes",
              "a file too short to hold its 1024-byte header (nothing read)");
    return std::nullopt;
  }
  Header header;
  const std::string_view formatCode = in.Field(3, 8);
  for (const FrameRate& rate : kFrameRates) {
    if (formatCode == rate.code) header.rate = &rate;
  }
  if (!header.rate) {
    in.Report(3,
              "the disk format code " + Input::Quoted(formatCode) +
                  " is none of STL23.01, STL24.01, STL25.01, STL30.01, STL50.01, STL60.01",
              "an unknown disk format code (read as STL25.01)");
    header.rate = &kFrameRates[2];
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
      in.Report(11,
                "the display standard code " + Input::Quoted(in.Field(11, 1)) +
                    " is none of blank or 0 (open subtitling), 1 or 2 (teletext)",
                "an unknown display standard code (read as open subtitling)");
      header.format = kStreamFormat_OpenEBU;
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
    in.Report(12, "the character code table " + Input::Quoted(tableCode) + " is none of 00 to 04",
              "an unknown character code table (read as the Latin one, 00)");
  } else {
    header.table = table->second;
  }
  if (header.format != kStreamFormat_OpenEBU &&
      (header.table == stl::CharacterTable::kArabic || header.table == stl::CharacterTable::kHebrew)) {
    notes.Add("right-to-left text in teletext cells (laid out in stored order)", FilePlace::AtByte(12));
  }

  const std::size_t rest = in.Size() - kHeaderSize;
  blockCount = rest / kBlockSize;
  if (rest % kBlockSize != 0) {
    in.Report(kHeaderSize + blockCount * kBlockSize,
              "the last text block (TTI) is cut short: " + std::to_string(rest % kBlockSize) + " of 128 bytes",
              "a last text block cut short (skipped)");
  }
  if (const auto counted = in.Number(238, 5, "the total number of text blocks (TNB)")) {
    if (static_cast<std::size_t>(*counted) > blockCount) {
      in.Report(in.Size(),
                "the file ends after " + std::to_string(blockCount) + " of the " + std::to_string(*counted) +
                    " text blocks that its header counts",
                "text blocks that the header counts but the file does not hold (the others are read)");
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

  // Start of programme, HHMMSSFF in ASCII digits; only reported, so a bad one is passed over.
  if (in.Field(256, 8).find_first_not_of(' ') != std::string_view::npos) {
    int parts[4];
    std::size_t offsets[4];
    constexpr const char* kBadStart = "a start-of-programme time code that cannot be read (not used)";
    for (int k = 0; k < 4; ++k) {
      offsets[k] = 256 + 2 * static_cast<std::size_t>(k);
      const std::string_view digits = in.Field(offsets[k], 2);
      if (digits[0] < '0' || digits[0] > '9' || digits[1] < '0' || digits[1] > '9') {
        in.Report(offsets[k],
                  "the start-of-programme time code (TCP) must be digits HHMMSSFF, not " +
                      Input::Quoted(in.Field(256, 8)),
                  kBadStart);
        return header;
      }
      parts[k] = (digits[0] - '0') * 10 + (digits[1] - '0');
    }
    if (!CheckTimeCode(in, *header.rate, parts, offsets, "the start-of-programme time code (TCP)", kBadStart)) {
      return header;
    }
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

constexpr unsigned char kUserData = 0xFE;
constexpr unsigned char kLastBlock = 0xFF;

// The extension block number; kUserData and reserved numbers mark blocks that hold no text.
unsigned char BlockNumber(const Input& in, std::size_t block) {
  return in.Byte(kHeaderSize + block * kBlockSize + 3);
}
bool IsReserved(unsigned char number) { return number >= 0xF0 && number < kUserData; }

int SubtitleNumber(const Input& in, std::size_t offset) { return in.Byte(offset + 1) | (in.Byte(offset + 2) << 8); }

class SubtitleReader {
 public:
  SubtitleReader(const Input& in, const Header& header, std::size_t blockCount, FileNotes& notes)
      : in_(in), header_(header), blockCount_(blockCount), notes_(notes) {}

  std::vector<Subtitle> Read() {
    std::vector<Subtitle> subtitles;
    std::set<int> groups;
    std::size_t block = 0;
    while (block < blockCount_) {
      if (SkipsBlock(block)) {
        ++block;
        continue;
      }
      const std::size_t offset = kHeaderSize + block * kBlockSize;
      Subtitle subtitle;
      subtitle.place = FilePlace::AtByte(static_cast<std::int64_t>(offset));
      subtitle.group = in_.Byte(offset);
      subtitle.number = SubtitleNumber(in_, offset);
      subtitle.text = in_.Field(offset + kTextOffset, kTextSize);
      block = Continuation(block, subtitle);
      if (Complete(offset, subtitle)) {
        groups.insert(subtitle.group);
        subtitles.push_back(std::move(subtitle));
      }
    }
    if (groups.size() > 1) {
      notes_.Add("subtitle groups (" + std::to_string(groups.size()) + " groups, read as one track)");
    }
    return subtitles;
  }

 private:
  // Passes over a block of user data or of a reserved number.
  bool SkipsBlock(std::size_t block) {
    const std::size_t offset = kHeaderSize + block * kBlockSize;
    const unsigned char number = BlockNumber(in_, block);
    if (number == kUserData) {
      notes_.Count("user data blocks (skipped)", FilePlace::AtByte(static_cast<std::int64_t>(offset)));
      return true;
    }
    if (IsReserved(number)) {
      in_.Report(offset + 3, "the extension block number " + HexByte(number) + " is reserved",
                 "text blocks of a reserved extension block number (skipped)");
      return true;
    }
    return false;
  }

  // Adds the text of the extension blocks after `block` to the subtitle; returns the block
  // after the subtitle's last. A subtitle whose text runs past the file or into another
  // subtitle's block keeps the text read so far.
  std::size_t Continuation(std::size_t block, Subtitle& subtitle) {
    unsigned char extension = BlockNumber(in_, block);
    while (extension != kLastBlock) {
      ++block;
      while (block < blockCount_ && SkipsBlock(block)) ++block;
      if (block >= blockCount_) {
        in_.Report(in_.Size(),
                   "the file ends inside subtitle " + std::to_string(subtitle.number) +
                       ": its text continues after extension block " + std::to_string(extension),
                   "subtitles whose text is cut off (read as far as it goes)");
        return block;
      }
      const std::size_t next = kHeaderSize + block * kBlockSize;
      if (in_.Byte(next) != subtitle.group || SubtitleNumber(in_, next) != subtitle.number) {
        in_.Report(next,
                   "the text of subtitle " + std::to_string(subtitle.number) + " continues after extension block " +
                       std::to_string(extension) + ", but this block belongs to subtitle " +
                       std::to_string(SubtitleNumber(in_, next)) + " of group " + std::to_string(in_.Byte(next)),
                   "subtitles whose text is cut off (read as far as it goes)");
        return block;
      }
      extension = BlockNumber(in_, block);
      subtitle.text += in_.Field(next + kTextOffset, kTextSize);
    }
    return block + 1;
  }

  // Reads the fields of the subtitle's first block; false for a subtitle that is not shown.
  bool Complete(std::size_t offset, Subtitle& subtitle) {
    if (in_.Byte(offset + 15) != 0) {
      notes_.Count("comments (not shown)", subtitle.place);
      return false;
    }
    const int cumulative = in_.Byte(offset + 4);
    if (cumulative > 3)
      notes_.Count("cumulative status " + std::to_string(cumulative) + " (read as not cumulative)", subtitle.place);
    else
      subtitle.cumulative = cumulative;
    std::string beginText, endText;
    const auto begin = BlockTimeCode(in_, *header_.rate, offset + 5, "the time code in (TCI)", beginText);
    const auto end = begin ? BlockTimeCode(in_, *header_.rate, offset + 9, "the time code out (TCO)", endText)
                           : std::nullopt;
    if (!begin || !end) return false;
    subtitle.begin = *begin;
    subtitle.end = *end;
    if (subtitle.end < subtitle.begin) {
      in_.Report(offset + 9,
                 "subtitle " + std::to_string(subtitle.number) + " ends (" + endText + ") before it begins (" +
                     beginText + ")",
                 "subtitles that end before they begin (skipped)");
      return false;
    }
    if (subtitle.end == subtitle.begin) notes_.Count("subtitles that end where they begin (not shown)", subtitle.place);
    subtitle.row = in_.Byte(offset + 13);
    const bool teletext = header_.format != kStreamFormat_OpenEBU;
    if (teletext && (subtitle.row < 1 || subtitle.row > 23)) {
      in_.Report(offset + 13,
                 "the vertical position " + std::to_string(subtitle.row) + " is not a teletext row (1 to 23)",
                 "vertical positions off the grid (moved to the nearest row)");
      subtitle.row = std::clamp(subtitle.row, 1, 23);
    }
    if (!teletext && subtitle.row > 99) {
      in_.Report(offset + 13, "the vertical position " + std::to_string(subtitle.row) + " is above 99",
                 "vertical positions off the grid (moved to the nearest row)");
      subtitle.row = 99;
    }
    const int justification = in_.Byte(offset + 14);
    if (justification > 3)
      notes_.Count("justification code " + std::to_string(justification) + " (read as 0, as written)", subtitle.place);
    else
      subtitle.justification = justification;
    return true;
  }

  const Input& in_;
  const Header& header_;
  std::size_t blockCount_;
  FileNotes& notes_;
};

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
  FileNotes notes;
  ReadProblems problems(fileName, options.strict, notes);
  const Input in(bytes, problems);
  std::size_t blockCount = 0;
  const std::optional<Header> header = ReadHeader(in, blockCount, notes);
  if (!header) {
    CaptionListPtr empty(new CaptionList());
    empty->SetStreamFormat(kStreamFormat_OpenEBU);
    return {empty, std::move(notes), {}};
  }
  const std::vector<Subtitle> subtitles = SubtitleReader(in, *header, blockCount, notes).Read();
  if (header->format == kStreamFormat_OpenEBU) {
    return {OpenCaptions(subtitles, *header, style, notes), std::move(notes), {}};
  }
  CaptionTimeline teletext = TeletextTimeline(subtitles, *header, notes);
  return {std::move(teletext), std::move(notes), {}};
}

}  // namespace kelcaptionfiles

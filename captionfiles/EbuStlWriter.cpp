#include "captionfiles/EbuStlWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "captionfiles/ExportText.h"
#include "captionfiles/StlCodePage.h"
#include "kelcaptioning/Formats.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

constexpr std::size_t kTextSize = 112;
constexpr int kTeletextRows = 23;
constexpr int kTeletextColumns = 40;
constexpr char kRowEnd = '\x8A';
constexpr char kUnused = '\x8F';

// The alpha colour codes 0x00 to 0x07.
constexpr std::array<CaptioningColor, 8> kColors = {
    CaptioningColor{0, 0, 0}, CaptioningColor{1, 0, 0}, CaptioningColor{0, 1, 0}, CaptioningColor{1, 1, 0},
    CaptioningColor{0, 0, 1}, CaptioningColor{1, 0, 1}, CaptioningColor{0, 1, 1}, CaptioningColor{1, 1, 1}};
constexpr int kWhite = 7;

struct Pen {
  int color = kWhite;
  bool italic = false;
  bool underline = false;
};

bool IsSpace(char32_t c) { return c == U' ' || c == U'\u00A0'; }

class RowEncoder {
 public:
  RowEncoder(bool teletext, FileNotes& notes) : teletext_(teletext), notes_(notes) {}

  // Italics and underline hold across the rows of a subtitle, not past it.
  void BeginSubtitle() { pen_ = Pen{}; }

  // The bytes of one row starting at `column` (teletext, justification "as written"), or at 0.
  std::string Row(const ExportLine& line, int column) {
    std::vector<std::pair<char32_t, Pen>> cells;
    for (const ExportRun& run : line.runs) {
      bool exact = true;
      const Pen pen{static_cast<int>(NearestColor(run.style.color, kColors, exact)), run.style.italic,
                    run.style.underline};
      if (!exact) notes_.Count("colours other than the eight teletext colours (the nearest written)", {});
      if (run.style.bold) notes_.Count("bold text (EBU STL has none)", {});
      if (run.style.background) notes_.Count("text backgrounds (written in black boxes)", {});
      for (char32_t c : run.text) cells.emplace_back(c, pen);
    }
    std::string out;
    pen_.color = kWhite;  // each row starts white
    // A colour other than white takes a cell before the text; teletext rows open a box (two
    // codes, two cells) where there is room left of the text.
    const bool colored = !cells.empty() && cells.front().second.color != kWhite;
    const bool boxed = teletext_ && column >= 2 + (colored ? 1 : 0);
    const int prefix = (boxed ? 2 : 0) + (colored ? 1 : 0);
    out.append(static_cast<std::size_t>(std::max(0, column - prefix)), ' ');
    if (colored) Color(out, cells.front().second.color);
    if (boxed) out += "\x0B\x0B";
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const auto [c, pen] = cells[i];
      // Italics and underline take no cell: they change where the style does, spaces too.
      if (pen.italic != pen_.italic) out += pen.italic ? '\x80' : '\x81';
      if (pen.underline != pen_.underline) out += pen.underline ? '\x82' : '\x83';
      pen_.italic = pen.italic;
      pen_.underline = pen.underline;
      if (IsSpace(c)) {
        std::size_t next = i;
        while (next < cells.size() && IsSpace(cells[next].first)) ++next;
        if (next < cells.size() && cells[next].second.color != pen_.color) {
          Color(out, cells[next].second.color);  // in place of the space
          continue;
        }
        out += ' ';
        continue;
      }
      if (pen.color != pen_.color) {
        if (i > 0) notes_.Count("colour changes inside a word (a space added for the colour code)", {});
        Color(out, pen.color);
      }
      std::string bytes = stl::LatinBytesOf(c);
      if (bytes.empty()) {
        notes_.Count("characters that the Latin table does not have (written as '?')", {});
        bytes = "?";
      }
      out += bytes;
    }
    return out;
  }

 private:
  void Color(std::string& out, int color) {
    out += static_cast<char>(color);
    pen_.color = color;
  }

  bool teletext_;
  FileNotes& notes_;
  Pen pen_;
};

void PutNumber(std::string& block, std::size_t offset, std::size_t width, long value) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*ld", static_cast<int>(width), value);
  block.replace(offset, width, text, width);
}

void PutTimeCode(std::string& block, std::size_t offset, const FrameClock& clock, kelmediatypes::TickTime time) {
  const TimeCodeFields f = clock.FieldsOf(clock.FrameAt(time));
  block[offset] = static_cast<char>(std::min<std::int64_t>(f.hours, 23));
  block[offset + 1] = static_cast<char>(f.minutes);
  block[offset + 2] = static_cast<char>(f.seconds);
  block[offset + 3] = static_cast<char>(f.frames);
}

std::string Header(const FrameClock& clock, bool teletext, long blocks, long subtitles, int maxColumns,
                   const std::string& firstTimeCode) {
  std::string header(1024, ' ');
  header.replace(0, 3, "850");
  header.replace(3, 8, clock.NominalRate() == 30 ? "STL30.01" : "STL25.01");
  header[11] = teletext ? '1' : '0';
  header.replace(12, 2, "00");  // Latin
  header.replace(14, 2, "00");  // language unknown
  header.replace(224, 6, "000101");  // creation and revision dates
  header.replace(230, 6, "000101");
  header.replace(236, 2, "00");
  PutNumber(header, 238, 5, blocks);
  PutNumber(header, 243, 5, subtitles);
  header.replace(248, 3, "001");
  PutNumber(header, 251, 2, std::min(maxColumns, 99));
  PutNumber(header, 253, 2, kTeletextRows);
  header[255] = '1';  // time codes are of the programme
  header.replace(256, 8, "00000000");
  header.replace(264, 8, firstTimeCode);
  header[272] = '1';
  header[273] = '1';
  return header;
}

}  // namespace

std::string WriteEbuStl(const ExportCues& cues, const FrameClock& clock, FileNotes& notes) {
  const bool teletext = IsTeletext(cues.format);
  RowEncoder encoder(teletext, notes);
  std::string blocks;
  long blockCount = 0, subtitle = 0;
  int maxColumns = teletext ? kTeletextColumns : 0;
  // One subtitle of the file: a cue, or a part of a cue's lines in a cumulative set.
  struct Part {
    std::string text;
    int firstRow = 0;
    int justification = 0;
    int cumulative = 0;
  };
  for (const ExportCue& cue : cues.cues) {
    std::vector<Part> parts;
    encoder.BeginSubtitle();
    if (teletext) {
      Part part;
      std::string& text = part.text;
      bool cut = false;
      const std::vector<ExportLine> lines = GridLines(cue, kTeletextRows, kTeletextColumns, cut);
      if (cut) notes.Count("subtitles of more rows than teletext has (rows past the last left out)", {});
      if (lines.empty()) continue;
      part.firstRow = lines.front().row;
      int row = part.firstRow;
      for (const ExportLine& line : lines) {
        for (; row < line.row; ++row) text += kRowEnd;
        text += encoder.Row(line, line.column);
      }
      parts.push_back(std::move(part));
    } else {
      if (cue.box || cue.position) notes.Count("cues placed by position (written at their anchor)", {});
      // Lines of one anchor and alignment make a subtitle; several make a cumulative set.
      for (std::size_t first = 0, last = 0; first < cue.lines.size(); first = last) {
        const ExportLine& head = cue.lines[first];
        last = first + 1;
        while (last < cue.lines.size() && cue.lines[last].anchor == head.anchor &&
               cue.lines[last].alignment == head.alignment) {
          ++last;
        }
        Part part;
        for (std::size_t i = first; i < last; ++i) {
          if (i > first) part.text += kRowEnd;
          const std::string row = encoder.Row(cue.lines[i], 0);
          maxColumns = std::max(maxColumns, static_cast<int>(row.size()));
          part.text += row;
        }
        const int count = static_cast<int>(last - first);
        const int band = (cue.gridRows > 0 ? SubtitleAnchor(cue) : head.anchor) / 3;
        if (band == 1) notes.Count("subtitles in the middle of the frame (written at the top)", {});
        part.firstRow = band == 2 ? std::max(kTeletextRows + 1 - count, 12) - 1 : 0;
        part.justification = head.alignment == ParagraphStyleAttributes::kTextAlignment_Left    ? 1
                             : head.alignment == ParagraphStyleAttributes::kTextAlignment_Right ? 3
                                                                                                 : 2;
        parts.push_back(std::move(part));
      }
      if (parts.size() > 1) {
        for (std::size_t i = 0; i < parts.size(); ++i) parts[i].cumulative = i == 0 ? 1 : i + 1 == parts.size() ? 3 : 2;
      }
    }
    for (const Part& part : parts) {
      if (++subtitle > 0xFFFF) {
        notes.Count("subtitles past the 65535th (left out)", {});
        break;
      }
      // A block holds 112 bytes of text; longer text goes on in extension blocks numbered from 0.
      std::size_t pieces = std::max<std::size_t>(1, (part.text.size() + kTextSize - 1) / kTextSize);
      if (pieces > 0xEF) {
        notes.Count("subtitles of more text than 239 extension blocks hold (cut)", {});
        pieces = 0xEF;
      }
      for (std::size_t piece = 0; piece < pieces; ++piece) {
        std::string block(128, '\0');
        block[1] = static_cast<char>(subtitle & 0xFF);
        block[2] = static_cast<char>(subtitle >> 8);
        block[3] = piece + 1 == pieces ? '\xFF' : static_cast<char>(piece);
        block[4] = static_cast<char>(part.cumulative);
        PutTimeCode(block, 5, clock, cue.begin);
        PutTimeCode(block, 9, clock, cue.end);
        block[13] = static_cast<char>(part.firstRow + 1);
        block[14] = static_cast<char>(part.justification);
        std::string field = part.text.substr(std::min(part.text.size(), piece * kTextSize), kTextSize);
        field.resize(kTextSize, kUnused);
        block.replace(16, kTextSize, field);
        blocks += block;
        ++blockCount;
      }
    }
  }
  std::string firstTimeCode = "00000000";
  if (!cues.cues.empty()) {
    const TimeCodeFields f = clock.FieldsOf(clock.FrameAt(cues.cues.front().begin));
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d%02d", static_cast<int>(std::min<std::int64_t>(f.hours, 23)),
                  f.minutes, f.seconds, f.frames);
    firstTimeCode = text;
  }
  return Header(clock, teletext, blockCount, subtitle, maxColumns, firstTimeCode) + blocks;
}

}  // namespace kelcaptionfiles

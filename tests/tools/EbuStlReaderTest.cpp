#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "kelcore/String.h"
#include "captionfiles/EbuStlReader.h"
#include "support/ReadExpectations.h"

namespace {

using namespace kelcaptioning;
using kelcaptionfiles::ReadResult;
using kelcaptionfiles::ReadEbuStl;
using kelcaptionfiles::ReadError;
using kelmediatypes::TickTime;

struct TimeCode { int h, m, s, f; };

// An EBU STL file built in memory: a header and the text blocks of its subtitles.
class StlFile {
 public:
  explicit StlFile(char displayStandard, const char* diskFormat = "STL25.01") : header_(1024, ' ') {
    Put(0, "850").Put(3, diskFormat).Put(12, "00").Put(14, "09").Put(251, "40").Put(253, "23").Put(256, "00000000");
    header_[11] = displayStandard;
  }
  StlFile& Put(std::size_t offset, const std::string& text) {
    header_.replace(offset, text.size(), text);
    return *this;
  }
  // A subtitle over as many blocks as its text needs.
  StlFile& Add(TimeCode in, TimeCode out, int row, const std::string& text, int justification = 0, int cumulative = 0) {
    ++number_;
    for (std::size_t at = 0; at == 0 || at < text.size(); at += 112) {
      const bool last = at + 112 >= text.size();
      blocks.push_back(Block(number_, last ? 0xFF : static_cast<int>(at / 112), in, out, row, justification,
                             cumulative, 0, text.substr(at, 112)));
    }
    return *this;
  }
  static std::string Block(int number, int extension, TimeCode in, TimeCode out, int row, int justification,
                           int cumulative, int comment, const std::string& text) {
    std::string b(128, '\x8F');
    const int head[16] = {0,     number & 0xFF, number >> 8, extension, cumulative,  in.h,          in.m, in.s,
                          in.f, out.h,         out.m,       out.s,     out.f,       row, justification, comment};
    for (int i = 0; i < 16; ++i) b[static_cast<std::size_t>(i)] = static_cast<char>(head[i]);
    b.replace(16, text.size(), text);
    return b;
  }
  std::string Bytes() const {
    char count[8];
    std::snprintf(count, sizeof count, "%05d", static_cast<int>(blocks.size()));
    std::string bytes = std::string(header_).replace(238, 5, count);
    for (const std::string& block : blocks) bytes += block;
    return bytes;
  }

  std::vector<std::string> blocks;
  std::string header_;
  int number_ = 0;
};

TickTime At(int seconds, int frames) {
  return TickTime((std::int64_t{seconds} * 25 + frames) * (TickTime::kTicksPerSecond / 25));
}

constexpr CaptioningColor kClear = kCaptioningColor_Transparent;
constexpr CaptioningColor kRed{1, 0, 0}, kYellow{1, 1, 0}, kBlue{0, 0, 1};

CaptioningColor Colour(char letter) {
  const CaptioningColor colours[] = {kCaptioningColor_White, kCaptioningColor_Black, kRed, kYellow, kBlue, kClear};
  return colours[std::min<std::size_t>(std::string_view("wkryb").find(letter), 5)];
}

// One row's cells from `firstColumn` on: characters, then foreground and background colours
// (w k r y b, '.' transparent) and the rows each cell uses.
void ExpectRow(const CaptioningRenderableModelPtr& model, int row, std::size_t firstColumn, const std::u32string& text,
               const std::string& foreground, const std::string& background, const std::string& rowsUsed) {
  const auto rows = model->GetWindow(0)->GetRows();
  ASSERT_TRUE(rows[static_cast<std::size_t>(row)]) << "row " << row;
  const auto cells = rows[static_cast<std::size_t>(row)]->GetCells();
  ASSERT_EQ(cells.size(), firstColumn + text.size()) << "row " << row;
  for (std::size_t c = 0; c < firstColumn; ++c) EXPECT_FALSE(cells[c]) << "column " << c;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const TextAttributes a = cells[firstColumn + i]->GetTextAttributes();
    EXPECT_EQ(cells[firstColumn + i]->GetCharacter(), text[i]) << "row " << row << " column " << firstColumn + i;
    EXPECT_EQ(a.GetForegroundColor(), Colour(foreground[i])) << "row " << row << " column " << firstColumn + i;
    EXPECT_EQ(a.GetBackgroundColor(), Colour(background[i])) << "row " << row << " column " << firstColumn + i;
    EXPECT_EQ(a.GetRowsUsed(), rowsUsed[i] - '0') << "row " << row << " column " << firstColumn + i;
  }
}

std::vector<int> RowsWithCells(const CaptioningRenderableModelPtr& model) {
  std::vector<int> used;
  const auto rows = model->GetWindow(0)->GetRows();
  for (std::size_t r = 0; r < rows.size(); ++r) if (rows[r]) used.push_back(static_cast<int>(r));
  return used;
}

TEST(EbuStlReader, TeletextPagesCellByCellAndWhatIsNotApplied) {
  StlFile file('1');
  // Double height from the second cell on, a box with a colour change in it; a blank row that
  // the double height covers; then yellow "new background" under blue text, and black again.
  file.Add({0, 0, 1, 12}, {0, 0, 3, 0}, 20,
           "\x0d\x0b\x0b" "Hi" "\x01" "red" "\x0a\x0a" "\x8a\x8a"
           "\x0b\x0b\x03\x1d\x04" "Blue" "\x1c" "K" "\x0a\x0a");
  // Centred on row 1, its outer spaces dropped; italics and underline take no cell.
  file.Add({0, 0, 2, 24}, {0, 0, 4, 0}, 1, "  \x0b\x0b\x80" "It" "\x81\x82" "U" "\x83\x0a\x0a  ", 2);
  const ReadResult stl = ReadEbuStl(file.Bytes(), "t.stl");
  // The second subtitle replaces the first while it still shows.
  ASSERT_EQ(stl.Timeline()->States().size(), 2u);
  const auto* first = stl.Timeline()->At(At(1, 12));
  const auto* second = stl.Timeline()->At(At(2, 24));
  ASSERT_TRUE(first && second && second != first);
  EXPECT_EQ(stl.Timeline()->At(At(2, 24) - TickTime(1)), first);
  EXPECT_EQ(second->end, At(4, 0));

  const CaptioningRenderableModelPtr& page = first->model;
  EXPECT_EQ(RowsWithCells(page), (std::vector<int>{19, 21}));  // row 21 of the file lies under the double height
  ExpectRow(page, 19, 0, U"   Hi red  ", "...ww.rrr..", "..kkkkkkkk.", "12222222222");
  ExpectRow(page, 21, 0, U"     Blue K  ", ".....bbbb.b..", ".kkyyyyyykkk.", "1111111111111");

  // Seven cells centred in 40 columns start at column 16.
  ExpectRow(second->model, 0, 16, U"  ItU  ", "..www..", ".kkkkk.", "1111111");
  const auto cells = second->model->GetWindow(0)->GetRows()[0]->GetCells();
  EXPECT_TRUE(cells[18]->GetTextAttributes().IsItalic() && !cells[18]->GetTextAttributes().IsUnderlined());
  EXPECT_TRUE(!cells[20]->GetTextAttributes().IsItalic() && cells[20]->GetTextAttributes().IsUnderlined());

  // What is not applied is counted once a kind; undefined bytes show as U+FFFD, rows end at column 40.
  StlFile odd('1');
  odd.Add({0, 0, 1, 0}, {0, 0, 2, 0}, 21, "\x08" "a" "\x08" "b" "\x7f" "\x8a" + std::string(45, 'x'));
  const ReadResult noted = ReadEbuStl(odd.Bytes(), "n.stl");
  EXPECT_EQ(noted.notes.Texts(), (std::vector<std::string>{"flash (0x08): 2 times", "undefined character 0x7F (shown as U+FFFD): 1 time",
                                                   "characters past column 40 (not shown): 5 times"}));
  // Each counted where its subtitle's first block starts.
  EXPECT_EQ(noted.notes.All()[0].first.byte, 1024);
  const auto rows = noted.Timeline()->At(At(1, 0))->model->GetWindow(0)->GetRows();
  EXPECT_EQ(rows[20]->GetCells()[4]->GetCharacter(), U'\uFFFD');
  EXPECT_EQ(rows[21]->GetCells().size(), 40u);
}

struct ExpectedSpan { std::u16string text; CaptioningColor foreground, background; bool italic, underlined; };

void ExpectSpans(const CaptionTextParagraphPtr& paragraph, const std::vector<ExpectedSpan>& expected) {
  ASSERT_TRUE(paragraph);
  const auto spans = paragraph->GetCaptionTextSpans();
  ASSERT_EQ(spans.size(), expected.size()) << kelcore::string::UTF16ToUTF8(paragraph->GetText());
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const TextSpanAttributes a = spans[i]->GetTextSpanStyleAttributes();
    EXPECT_EQ(std::u16string(std::u16string_view(spans[i]->GetSpanText())), expected[i].text) << "span " << i;
    EXPECT_EQ(a.GetForegroundColor(), expected[i].foreground) << "span " << i;
    EXPECT_EQ(a.GetBackgroundColor(), expected[i].background) << "span " << i;
    EXPECT_EQ(a.GetFontStyle(), expected[i].italic ? kFontStyle_Italic : kFontStyle_Regular) << "span " << i;
    EXPECT_EQ(a.IsUnderlined(), expected[i].underlined) << "span " << i;
    EXPECT_EQ(a.GetFontSize(), 30.0f);
  }
}

TEST(EbuStlReader, OpenSubtitlesSpanBySpan) {
  StlFile file('0');
  file.Put(251, "37")
      .Add({0, 0, 1, 0}, {0, 0, 2, 0}, 20,
           "\x80" "Hello" "\x81" " " "\x01" "red " "\x82" "under" "\x83" "\x8a"
           "\x84" "boxed" "\x85" " " "\x07" "plain", 1)
      .Add({0, 0, 3, 0}, {0, 0, 4, 0}, 3, "\x0b\x0b" "Top" "\x0a\x0a", 3)
      .Add({0, 0, 5, 0}, {0, 0, 6, 0}, 11, "Upper half", 0);
  const ReadResult stl = ReadEbuStl(file.Bytes(), "o.stl", {.style = {.fontSize = 30.0f}});
  ASSERT_TRUE(stl.List());
  EXPECT_EQ(stl.List()->GetStreamFormat(), kStreamFormat_OpenEBU);
  EXPECT_EQ(stl.List()->GetMetadata().GetMaxCharactersInRow(), 37);
  const auto captions = stl.List()->GetCaptions();
  ASSERT_EQ(captions.size(), 3u);
  ASSERT_EQ(captions[0]->GetNumParagraphs(), 2u);
  const CaptioningColor white = kCaptioningColor_White;
  // The colour code takes a space's place, in the colour before it.
  ExpectSpans(captions[0]->GetCaptionTextParagraph(0), {{u"Hello", white, kClear, true, false},
                                                         {u"  ", white, kClear, false, false},
                                                         {u"red ", kRed, kClear, false, false},
                                                         {u"under", kRed, kClear, false, true}});
  ExpectSpans(captions[0]->GetCaptionTextParagraph(1),
              {{u"boxed", white, kCaptioningColor_Black, false, false}, {u"  plain", white, kClear, false, false}});
  // A teletext box backs open text too; the control codes at the row's ends are not text.
  ExpectSpans(captions[1]->GetCaptionTextParagraph(0), {{u"Top", white, kCaptioningColor_Black, false, false}});
  // Row 11 of 23 is in the upper half; justification 0 centres.
  using P = ParagraphStyleAttributes;
  const std::pair<P::AnchorID, P::TextAlignmentType> placement[] = {{P::kAnchor_BottomLeft, P::kTextAlignment_Left},
      {P::kAnchor_TopRight, P::kTextAlignment_Right}, {P::kAnchor_TopCenter, P::kTextAlignment_Center}};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto paragraph = captions[i]->GetCaptionTextParagraph(0);
    EXPECT_EQ(paragraph->GetParagraphStyleAttributes().GetAnchorID(), placement[i].first) << "caption " << i;
    EXPECT_EQ(paragraph->GetTextAlignment(), placement[i].second) << "caption " << i;
  }
}

TEST(EbuStlReader, ExtensionUserDataAndCumulativeBlocks) {
  StlFile file('0');
  const std::string a(60, 'a'), b(60, 'b');
  file.Add({0, 0, 1, 0}, {0, 0, 2, 0}, 20, a + "\x8a" + b);  // 121 bytes: two blocks
  // User data, even between the blocks of one subtitle, is passed over.
  file.blocks.insert(file.blocks.begin() + 1, StlFile::Block(9, 0xFE, {99, 99, 99, 99}, {0, 0, 0, 0}, 0, 0, 0, 0, "x"));
  // A cumulative set: its second subtitle adds a row to the first's, which it ends.
  file.Add({0, 0, 3, 0}, {0, 0, 6, 0}, 18, "One", 0, 1).Add({0, 0, 4, 0}, {0, 0, 6, 0}, 20, "Two", 0, 3);
  const ReadResult open = ReadEbuStl(file.Bytes(), "o.stl");
  EXPECT_EQ(open.notes.Texts(), std::vector<std::string>{"user data blocks (skipped): 1 time"});
  EXPECT_EQ(open.notes.All()[0].first.byte, 1024 + 128);
  const auto captions = open.List()->GetCaptions();
  ASSERT_EQ(captions.size(), 3u);
  ASSERT_EQ(captions[0]->GetNumParagraphs(), 2u);
  EXPECT_EQ(captions[0]->GetCaptionTextParagraph(0)->GetText(), kelcore::string::UTF8ToUTF16(a));
  EXPECT_EQ(captions[0]->GetCaptionTextParagraph(1)->GetText(), kelcore::string::UTF8ToUTF16(b));
  EXPECT_EQ(captions[1]->GetEndTime(), At(4, 0));
  ASSERT_EQ(captions[2]->GetNumParagraphs(), 2u);
  EXPECT_EQ(captions[2]->GetCaptionTextParagraph(1)->GetText(), u"Two");
  // The same blocks as teletext pages.
  const ReadResult teletext = ReadEbuStl(file.Put(11, "1").Bytes(), "t.stl");
  EXPECT_EQ(RowsWithCells(teletext.Timeline()->At(At(5, 0))->model), (std::vector<int>{17, 19}));
}

TEST(EbuStlReader, MalformedFilesNameTheByte) {
  std::string bytes = StlFile('1').Add({0, 0, 1, 0}, {0, 0, 2, 0}, 20, "ok").Bytes();
  const auto error = [](const std::string& file) -> std::string {
    try {
      ReadEbuStl(file, "f.stl", {.strict = true});
    } catch (const ReadError& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(error(bytes.substr(0, 1000)), "f.stl: byte 1000: the file ends inside its 1024-byte header (GSI block), after 1000 bytes");
  EXPECT_EQ(error(bytes.replace(1024 + 8, 1, "\x19")),
            "f.stl: byte 1032: the time code in (TCI): the frames must be below 25 at STL25.01, not 25");
}

// Damaged blocks between good subtitles: the good ones are all read, each kind of damage is
// reported once at the byte where it first stands.
TEST(EbuStlReader, DamagedBlocksAreSkippedAndTheRestRead) {
  StlFile file('0');
  file.Add({0, 0, 1, 0}, {0, 0, 2, 0}, 20, "one")
      .Add({0, 0, 2, 0}, {0, 0, 3, 25}, 20, "frames past 24")          // skipped
      .Add({0, 0, 4, 0}, {0, 0, 3, 0}, 20, "ends before it begins")   // skipped
      .Add({0, 0, 5, 0}, {0, 0, 6, 0}, 120, "row 120")                 // moved to row 99
      .Add({0, 0, 7, 0}, {0, 0, 8, 0}, 20, std::string(150, 'x'))      // two blocks, of which the last...
      .Add({0, 0, 9, 0}, {0, 0, 10, 0}, 20, "last");
  file.blocks[5][3] = 0;  // ...says it goes on, into the next subtitle's block
  file.blocks.insert(file.blocks.begin() + 1,
                     StlFile::Block(9, 0xF5, {0, 0, 0, 0}, {0, 0, 1, 0}, 20, 0, 0, 0, "reserved"));
  std::string bytes = file.Bytes();
  bytes.replace(238, 5, "00099");  // more blocks than there are
  bytes += std::string(40, ' ');   // and a last one cut short
  const ReadResult stl = ReadEbuStl(bytes, "d.stl");
  EXPECT_EQ(kel_test::CaptionTexts(*stl.List()), (std::vector<std::u16string>{u"one", u"row 120", std::u16string(150, u'x'), u"last"}));
  const auto at = [](std::size_t offset) { return "byte " + std::to_string(offset); };
  kel_test::ExpectNotes(
      stl.notes,
      {{"a last text block cut short (skipped): 1 time", at(1024 + 8 * 128)},
       {"text blocks that the header counts but the file does not hold (the others are read): 1 time", at(bytes.size())},
       {"text blocks of a reserved extension block number (skipped): 1 time", at(1024 + 128 + 3)},
       {"subtitles with a time code out of range (skipped): 1 time", at(1024 + 2 * 128 + 12)},
       {"subtitles that end before they begin (skipped): 1 time", at(1024 + 3 * 128 + 9)},
       {"vertical positions off the grid (moved to the nearest row): 1 time", at(1024 + 4 * 128 + 13)},
       {"subtitles whose text is cut off (read as far as it goes): 1 time", at(1024 + 7 * 128)}});
  // Too short to hold a header: nothing to read, and said so.
  const ReadResult none = ReadEbuStl(bytes.substr(0, 100), "s.stl");
  EXPECT_TRUE(none.Empty());
  EXPECT_TRUE(none.notes.HasProblems());
}

TEST(EbuStlReader, FrameRatesAndCharacterTables) {
  // STL23.01 runs at 24000/1001 frames a second: one second of time code lasts 1.001 s.
  const std::string rated = StlFile('0', "STL23.01").Add({0, 0, 1, 0}, {2, 0, 0, 0}, 20, "x").Bytes();
  EXPECT_EQ(ReadEbuStl(rated, "r.stl").List()->GetCaptions()[0]->GetBeginTime().GetTicks(),
            TickTime::kTicksPerSecond / 1000 * 1001);
  const auto text = [](const char* table, const std::string& bytes) {
    const auto stl = ReadEbuStl(StlFile('0').Put(12, table).Add({0, 0, 0, 0}, {0, 0, 1, 0}, 20, bytes).Bytes(), "c.stl");
    return std::u16string(std::u16string_view(stl.List()->GetCaptions()[0]->GetCaptionTextParagraph(0)->GetText()));
  };
  // Latin accents prefix their letter; on a space one stands alone.
  EXPECT_EQ(text("00", "\xC2" "e" "\xCF" "s" "\xC8" "u" "\xC1" " " "\xC2" "g" "\xE9\xA4\x24\xD5"), u"éšü`\u01F5Ø$$♪");
  EXPECT_EQ(text("01", "\xB0\xD1\xF0"), u"Аб№");
}

}  // namespace

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kelcaptionfiles/CaptionFileKinds.h"
#include "captionfiles/ExportTimes.h"
#include "kelcaptionfiles/CaptionWriters.h"
#include "support/ReadExpectations.h"
#include "support/SccWords.h"

namespace {

using namespace kelcaptioning;
using namespace kelcaptionfiles;
using kelmediatypes::TickTime;
using kel_test::Words;

constexpr std::int64_t kTicksPerFrame = TickTime::kTicksPerSecond / 30000 * 1001;

std::string Hex(const CaptioningColor& c) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x%02x%02x", static_cast<int>(std::lround(c.Red() * 255)),
                static_cast<int>(std::lround(c.Green() * 255)), static_cast<int>(std::lround(c.Blue() * 255)));
  return text;
}

// Text runs of one style, "text{style}"; a space takes the style around it.
class Runs {
 public:
  void Add(char32_t c, const std::string& style) {
    if (c != U' ' && style != style_) {
      Close();
      style_ = style;
    }
    if (c < 0x80) text_ += static_cast<char>(c);
    else text_ += "U+" + std::to_string(static_cast<unsigned>(c));
  }
  // The runs; spaces at the end of the row are left out.
  std::string Take() {
    while (!text_.empty() && text_.back() == ' ') text_.pop_back();
    Close();
    return out_;
  }

 private:
  void Close() {
    if (!text_.empty()) out_ += text_ + "{" + style_ + "}";
    text_.clear();
  }
  std::string style_, text_, out_;
};

// What a read gives, as text: a caption a line ("begin-end ms", anchor, lines of styled runs) or
// a state a line (frames at 29.97, each row "row:column" and its runs).
std::string Summary(const ReadResult& read) {
  std::ostringstream out;
  if (const CaptionList* list = read.List()) {
    for (const CaptionPtr& caption : list->GetCaptions()) {
      out << caption->GetBeginTime().GetTicks() / (TickTime::kTicksPerSecond / 1000) << "-"
          << caption->GetEndTime().GetTicks() / (TickTime::kTicksPerSecond / 1000);
      for (const auto& paragraph : caption->GetCaptionTextParagraphs()) {
        const auto style = paragraph->GetParagraphStyleAttributes();
        out << " [a" << style.GetAnchorID() << "t" << style.GetTextAlignment() << "] ";
        Runs runs;
        for (const auto& span : paragraph->GetCaptionTextSpans()) {
          const auto a = span->GetTextSpanStyleAttributes();
          const std::string s = Hex(a.GetForegroundColor()) + (a.GetFontStyle() & 1 ? "i" : "") +
                                (a.GetFontStyle() & 2 ? "b" : "") + (a.IsUnderlined() ? "u" : "");
          for (char16_t c : span->GetSpanText()) runs.Add(c, s);
        }
        out << runs.Take();
      }
      out << "\n";
    }
  } else {
    for (const TimedModel& state : read.Timeline()->States()) {
      out << state.begin.GetTicks() / kTicksPerFrame << "-" << state.end.GetTicks() / kTicksPerFrame;
      const RowList rows = state.model->GetWindow(0)->GetRows();
      for (std::size_t r = 0; r < rows.size(); ++r) {
        if (!rows[r]) continue;
        const CellList cells = rows[r]->GetCells();
        std::size_t first = 0;
        while (first < cells.size() && (!cells[first] || cells[first]->GetCharacter() == U' ')) ++first;
        out << " " << r << ":" << first << " ";
        Runs runs;
        for (std::size_t c = first; c < cells.size(); ++c) {
          if (!cells[c]) {
            runs.Add(U' ', "");
            continue;
          }
          const TextAttributes a = cells[c]->GetTextAttributes();
          runs.Add(cells[c]->GetCharacter(),
                   Hex(a.GetForegroundColor()) + (a.IsItalic() ? "i" : "") + (a.IsUnderlined() ? "u" : ""));
        }
        out << runs.Take();
      }
      out << "\n";
    }
  }
  return out.str();
}

// The cue box of each caption, in caption order.
std::vector<std::optional<CueBox>> Boxes(const ReadResult& read) {
  std::vector<std::optional<CueBox>> boxes;
  for (const CaptionPtr& caption : read.List()->GetCaptions()) {
    const auto box = read.boxes.find(caption.get());
    boxes.push_back(box == read.boxes.end() ? std::nullopt : std::optional<CueBox>(box->second));
  }
  return boxes;
}

struct Written {
  std::string bytes;
  ReadResult back;
  std::vector<std::string> notes;
};

Written WriteAndRead(const ReadResult& source, CaptioningExportFormat format,
                     kelmediatypes::TimeDisplay display = kelmediatypes::kTimeDisplay_Milliseconds, bool styling = true) {
  WriteResult written = WriteCaptions(source, {format, display, styling});
  ReadResult back = ReadCaptions(written.bytes, std::string("out") + ExportFileExtension(format), {.strict = true});
  return {written.bytes, std::move(back), written.notes.Texts()};
}

const std::string kStyledSrt =
    "1\n00:00:01,000 --> 00:00:03,500\n<i>Italic</i> and <b>bold</b>\n<font color=\"#ffff00\">yellow</font> <u>under</u>\n\n"
    "2\n00:00:04,000 --> 00:00:05,000\n{\\an8}At the top\n\n"
    "3\n00:01:00,067 --> 00:10:00,100\n{\\an1}Left & <b><i>both</i></b>\n\n";

TEST(CaptionWriters, SubRipAndWebVttReadBackTheSameCaptions) {
  const ReadResult source = ReadCaptions(kStyledSrt, "in.srt");
  const std::string expected = Summary(source);
  ASSERT_NE(expected.find("ffff00"), std::string::npos);
  ASSERT_NE(expected.find("[a6t0]"), std::string::npos) << expected;

  const Written srt = WriteAndRead(source, kCaptioningExportFormat_SRT);
  EXPECT_EQ(Summary(srt.back), expected) << srt.bytes;
  EXPECT_TRUE(srt.notes.empty());

  // WebVTT puts the top cue on line 0 (a box, where SubRip has an anchor), the bottom-left cue at
  // the bottom, aligned left.
  const Written vtt = WriteAndRead(source, kCaptioningExportFormat_WebVTT);
  std::string onLines = expected;
  onLines.replace(onLines.find("[a1t1]"), 6, "[a7t1]");
  EXPECT_EQ(Summary(vtt.back), onLines) << vtt.bytes;
  CueBox line0;
  line0.width = 1.0;
  line0.x = 0.5;
  line0.line = 0;
  EXPECT_EQ(Boxes(vtt.back)[1], line0);
  EXPECT_NE(vtt.bytes.find("00:01:00.067 --> 00:10:00.100 align:left\nLeft &amp; <b><i>both</i></b>"),
            std::string::npos) << vtt.bytes;
  EXPECT_EQ(vtt.back.notes.Texts(), std::vector<std::string>{});

  // Without styling: the same text and times, every span plain and every cue at the bottom.
  const Written plain = WriteAndRead(source, kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, false);
  EXPECT_EQ(kel_test::CaptionTexts(*plain.back.List()), kel_test::CaptionTexts(*source.List()));
  EXPECT_EQ(plain.bytes.find('<'), std::string::npos);
  EXPECT_EQ(plain.bytes.find('{'), std::string::npos);
}

TEST(CaptionWriters, WebVttCarriesCuePlacementAndColourClasses) {
  const std::string file =
      "WEBVTT\n\n00:00:01.000 --> 00:00:02.000 line:10% position:20%,line-left size:50% align:left\n"
      "<c.cyan>cyan</c> <c.bg_blue>on blue</c>\n\n"
      "00:00:03.000 --> 00:00:04.000 line:0\nfirst line\n\n"
      "00:00:05.000 --> 00:00:06.000 align:right\n<c.red>x</c> &lt;y&gt;\n";
  const ReadResult source = ReadCaptions(file, "in.vtt");
  const Written vtt = WriteAndRead(source, kCaptioningExportFormat_WebVTT);
  EXPECT_EQ(Summary(vtt.back), Summary(source)) << vtt.bytes;
  EXPECT_EQ(Boxes(vtt.back), Boxes(source)) << vtt.bytes;
  EXPECT_NE(vtt.bytes.find("<c.bg_blue>on blue</c>"), std::string::npos) << vtt.bytes;
  // SubRip has neither boxes nor backgrounds: each is said once, with how many cues.
  const WriteResult srt = WriteCaptions(source, {kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_Milliseconds, true});
  EXPECT_EQ(srt.notes.Texts(), (std::vector<std::string>{"cues placed by position (written at their anchor): 2 times",
                                                         "text backgrounds (SubRip has none): 1 time"}));
}

TEST(CaptionWriters, TimedTextCarriesStylesRegionsAndFrameTimes) {
  const ReadResult source = ReadCaptions(kStyledSrt, "in.srt");
  const std::string ms = WriteCaptions(source, {kCaptioningExportFormat_TTML, kelmediatypes::kTimeDisplay_Milliseconds}).bytes;
  EXPECT_NE(ms.find("<p begin=\"00:00:01.000\" end=\"00:00:03.500\" region=\"bottom\" tts:textAlign=\"center\">"
                    "<span tts:fontStyle=\"italic\">Italic</span> and <span tts:fontWeight=\"bold\">bold</span><br/>"
                    "<span tts:color=\"#ffff00\">yellow</span> <span tts:textDecoration=\"underline\">under</span></p>"),
            std::string::npos)
      << ms;
  EXPECT_NE(ms.find("region=\"top\" tts:textAlign=\"center\">At the top</p>"), std::string::npos) << ms;
  EXPECT_NE(ms.find("region=\"bottom\" tts:textAlign=\"left\">Left &amp; <span tts:fontStyle=\"italic\" "
                    "tts:fontWeight=\"bold\">both</span></p>"),
            std::string::npos)
      << ms;
  // Frames at 25 a second count whole; at 29.97 a second they carry the rate's multiplier.
  const std::string pal = WriteCaptions(source, {kCaptioningExportFormat_TTML, kelmediatypes::kTimeDisplay_25Timecode}).bytes;
  EXPECT_NE(pal.find("ttp:frameRate=\"25\" xml:lang"), std::string::npos) << pal;
  EXPECT_NE(pal.find("begin=\"1502f\" end=\"15003f\""), std::string::npos) << pal;
  const std::string ntsc =
      WriteCaptions(source, {kCaptioningExportFormat_TTML, kelmediatypes::kTimeDisplay_2997DropTimecode}).bytes;
  EXPECT_NE(ntsc.find("ttp:frameRate=\"30\" ttp:frameRateMultiplier=\"1000 1001\""), std::string::npos) << ntsc;
  EXPECT_NE(ntsc.find("begin=\"1800f\" end=\"17985f\""), std::string::npos) << ntsc;
}

TEST(CaptionWriters, TimeCodesNameFramesWithAndWithoutDroppedNumbers) {
  const FrameClock drop(kelmediatypes::kTimeDisplay_2997DropTimecode);
  // Frame numbers 00 and 01 are left out at each minute but every tenth.
  EXPECT_EQ(drop.TimeCodeText(1799), "00:00:59;29");
  EXPECT_EQ(drop.TimeCodeText(1800), "00:01:00;02");
  EXPECT_EQ(drop.TimeCodeText(3597), "00:01:59;29");
  EXPECT_EQ(drop.TimeCodeText(3598), "00:02:00;02");
  EXPECT_EQ(drop.TimeCodeText(17981), "00:09:59;29");
  EXPECT_EQ(drop.TimeCodeText(17982), "00:10:00;00");
  EXPECT_EQ(drop.TimeCodeText(107892), "01:00:00;00");
  const FrameClock nonDrop(kelmediatypes::kTimeDisplay_2997NonDropTimecode);
  EXPECT_EQ(nonDrop.TimeCodeText(107892), "00:59:56:12");
  EXPECT_EQ(FrameClock(kelmediatypes::kTimeDisplay_5994DropTimecode).TimeCodeText(3600), "00:01:00;04");
  // The nearest frame: 1.001 s is frame 30 at 29.97, 1.0 s too.
  EXPECT_EQ(drop.FrameAt(TickTime(TickTime::kTicksPerSecond)), 30);
  EXPECT_EQ(drop.TimeOf(30), TickTime(30 * kTicksPerFrame));
  EXPECT_EQ(FrameClock(kelmediatypes::kTimeDisplay_25Timecode).TimeCodeText(90001), "01:00:00:01");
}

TEST(CaptionWriters, SccPopOnCaptionsReadBackRowForRowAndFrameForFrame) {
  const std::string source = kel_test::PopOnScc();
  const ReadResult scc = ReadCaptions(source, "in.scc", {.strict = true});
  const std::string expected = Summary(scc);
  ASSERT_EQ(expected,
            "1816-1866 13:4 Hello {ffffff}there{ff0000} 14:0 WU+246rld U+9834 {ffffff}on{ffffffiu}\n"
            "1866-1948 13:0 Two!{ffffff}\n");
  for (const auto display : {kelmediatypes::kTimeDisplay_2997DropTimecode, kelmediatypes::kTimeDisplay_2997NonDropTimecode}) {
    const Written out = WriteAndRead(scc, kCaptioningExportFormat_SCC, display);
    EXPECT_EQ(Summary(out.back), expected) << out.bytes;
    EXPECT_TRUE(out.notes.empty()) << out.notes.front();
    EXPECT_TRUE(out.back.notes.Empty()) << out.back.notes.Texts().front();
    EXPECT_EQ(out.bytes.find(';') != std::string::npos, display == kelmediatypes::kTimeDisplay_2997DropTimecode);
  }
  // SubRip and WebVTT of the states, read back as subtitles: the same text at the same frames.
  for (const auto format : {kCaptioningExportFormat_SRT, kCaptioningExportFormat_WebVTT}) {
    const Written out = WriteAndRead(scc, format);
    const auto texts = kel_test::CaptionTexts(*out.back.List());
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"Hello there|W\u00f6rld \u266a on", u"Two!"})) << out.bytes;
    const Written again = WriteAndRead(out.back, kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997DropTimecode);
    EXPECT_EQ(again.back.Timeline()->States().front().begin, scc.Timeline()->States().front().begin);
    EXPECT_EQ(again.back.Timeline()->States().back().end, scc.Timeline()->States().back().end);
  }
}

// The style each state came in, a letter a state: p pop-on, r roll-up, R rolled up, d paint-on.
std::string Causes(const ReadResult& read) {
  std::string letters;
  for (const TimedModel& state : read.Timeline()->States()) {
    letters += state.cause.style == CaptionStyle::PopOn     ? 'p'
               : state.cause.style == CaptionStyle::PaintOn ? 'd'
               : state.cause.rolledUp                       ? 'R'
               : state.cause.style == CaptionStyle::RollUp  ? 'r'
                                                            : '?';
  }
  return letters;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Roll-up (two rows, then three at row 12, carriage returns, a red underlined row) and paint-on (two rows, an
// overwrite; then a delete to end of row, a backspace and a character set apart) are sent as they
// came: each state at its frame, in its style, and no pop-on among them.
TEST(CaptionWriters, SccRollUpAndPaintOnReadBackStateForStateInTheirStyle) {
  const std::string paintOn = FileText(std::string(KEL_DATA) + "/paint-on.scc");
  const std::string edits = "Scenarist_SCC V1.0\n\n00:00:01:00\t9429 9429 94d0 94d0" + Words("Paint") +
                            "\n\n00:00:04:00\t94d0 94d0 9723 9723 94a4 94a4\n\n00:00:05:00\t94a1 94a1 9452 9452" +
                            Words("x") + "\n\n00:00:06:00\t942c 942c\n";
  for (const std::string& source : {FileText(std::string(KEL_DATA) + "/roll-up.scc"), paintOn, edits}) {
    const ReadResult scc = ReadCaptions(source, "in.scc", {.strict = true});
    const Written out = WriteAndRead(scc, kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997NonDropTimecode);
    EXPECT_EQ(Summary(out.back), Summary(scc)) << source << "\n" << out.bytes;
    EXPECT_EQ(Causes(out.back), Causes(scc)) << source;
    EXPECT_TRUE(out.notes.empty()) << out.notes.front();
    EXPECT_EQ(out.bytes.find("942f"), std::string::npos) << out.bytes;  // no end of caption
  }
  EXPECT_EQ(Summary(ReadCaptions(edits, "in.scc")), "34-35 13:0 Pa{ffffff}\n35-36 13:0 Pain{ffffff}\n"
                                                   "36-124 13:0 Paint{ffffff}\n124-150 13:0 Pai{ffffff}\n"
                                                   "150-154 13:0 Pa{ffffff}\n154-180 13:0 Pa  x{ffffff}\n");
  const ReadResult rollUp = ReadCaptions(FileText(std::string(KEL_DATA) + "/roll-up.scc"), "r.scc");
  EXPECT_EQ(Causes(rollUp), std::string("rrrrrrRrrrrrrRrrrRrrrr") + "rRrRrRrRr") << Summary(rollUp);
  // SubRip of the roll-up, sent back as SCC: pop-on captions.
  const Written srt = WriteAndRead(rollUp, kCaptioningExportFormat_SRT);
  const Written popOn = WriteAndRead(srt.back, kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997DropTimecode);
  EXPECT_EQ(Causes(popOn.back), std::string(Causes(popOn.back).size(), 'p'));
  EXPECT_EQ(popOn.bytes.find("9425"), std::string::npos) << popOn.bytes;
}

// A roll-up state that is no roll of the one before (a preamble code moved the window up) is sent as
// pop-on, and so is what follows it until the screen is clear: a roll-up code would erase it.
TEST(CaptionWriters, SccSendsAsPopOnWhatARollUpCannotMake) {
  const std::string source = "Scenarist_SCC V1.0\n\n00:00:01:00\t9425 9425 9470 9470" + Words("One") +
                             " 94ad 94ad" + Words("Two") + "\n\n00:00:03:00\t9440 9440\n\n00:00:05:00\t" +
                             Words("x") + "\n\n00:00:07:00\t942c 942c\n\n00:00:08:00\t9425 9425 9470 9470" +
                             Words("Back") + "\n\n00:00:09:00\t942c 942c\n";
  const ReadResult scc = ReadCaptions(source, "in.scc", {.strict = true});
  const Written out = WriteAndRead(scc, kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997NonDropTimecode);
  EXPECT_EQ(Summary(out.back), Summary(scc)) << out.bytes;
  EXPECT_EQ(Causes(scc), "rrRrrrrrr");
  EXPECT_EQ(Causes(out.back), "rrRrrpprr");
  EXPECT_EQ(out.notes, std::vector<std::string>{
                           "roll-up captions that do not follow from the one before by one roll or by added text "
                           "(sent as pop-on): 2 times"});
}

TEST(CaptionWriters, SccWrapsSubtitlesOnTheGridAndSaysWhatLine21CannotCarry) {
  const std::string srt =
      "1\n00:00:05,000 --> 00:00:06,000\nA line far too long for thirty-two columns of line 21, "
      "which wraps at its spaces into rows <b>bold</b>\n\n"
      "2\n00:00:06,000 --> 00:00:06,100\n{\\an8}<font color=\"#808080\">grey</font> \xE2\x82\xAC\n\n"
      "3\n00:00:06,100 --> 00:00:07,000\nno time to load this one\n\n"
      "4\n00:00:10,000 --> 00:00:11,000\n<i><font color=\"#00ff00\">green</font></i> <font color=\"red\">red</font> and <i>it</i>\n";
  const ReadResult source = ReadCaptions(srt, "in.srt");
  const Written out = WriteAndRead(source, kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997NonDropTimecode);
  const std::string summary = Summary(out.back);
  EXPECT_EQ(summary.substr(0, summary.find('\n')),
            "150-180 11:4 A line far too long for{ffffff} 12:1 thirty-two columns of line 21,{ffffff} "
            "13:1 which wraps at its spaces into{ffffff} 14:11 rows bold{ffffff}")
      << out.bytes;
  // The last caption needs 20 frames to load after the one before shows at frame 180: it shows late,
  // and the one before stays up until then.
  EXPECT_NE(summary.find("\n180-200 0:13 grey ?{ffffff}\n200-210 14:4 no time to load this one{ffffff}\n"
                         "300-330 14:8 green {00ff00i}red {ff0000}and {ffffff}it{ffffffi}\n"),
            std::string::npos)
      << summary;
  EXPECT_EQ(out.notes, (std::vector<std::string>{
                           "bold text (line 21 has none): 1 time",
                           "colours other than line 21's seven (the nearest written): 1 time",
                           "characters that line 21 does not have (written as '?'): 1 time",
                           "captions shown late, the one before leaving too few frames to load them: 1 time"}));
}

TEST(CaptionWriters, EbuStlReadsBackTeletextPagesAndOpenSubtitles) {
  for (const std::string& path : {std::string(KEL_DATA) + "/short.stl", std::string(KEL_DATA) + "/short-open.stl",
                                 std::string(KEL_FUZZ_CORPUS) + "/ebu_stl/teletext-rich.stl",
                                 std::string(KEL_FUZZ_CORPUS) + "/ebu_stl/open-rich.stl"}) {
    const ReadResult source = ReadCaptions(FileText(path), path);
    const Written out = WriteAndRead(source, kCaptioningExportFormat_STL, kelmediatypes::kTimeDisplay_25Timecode);
    // The replacement character that the reader put for a byte it could not read is no Latin character.
    std::string expected = Summary(source);
    for (std::size_t at; (at = expected.find("U+65533")) != std::string::npos;) expected.replace(at, 7, "?");
    EXPECT_EQ(Summary(out.back), expected) << path;
    EXPECT_EQ(out.bytes[11], source.Timeline() ? '1' : '0') << path;
  }
  // Subtitles: anchors by vertical position and justification, styles by codes; bold is said, once.
  const std::string srt =
      "1\n00:00:01,000 --> 00:00:02,000\n<i>Italic</i> and <font color=\"#00ffff\">cyan</font>\n<u>under</u>\n\n"
      "2\n00:00:02,000 --> 00:00:03,000\n{\\an8}<b>top</b> \xC3\xA9t\xC3\xA9\n\n"
      "3\n00:01:00,000 --> 00:01:01,000\n{\\an3}right\n";
  const ReadResult source = ReadCaptions(srt, "in.srt");
  const Written out = WriteAndRead(source, kCaptioningExportFormat_STL, kelmediatypes::kTimeDisplay_30Timecode);
  EXPECT_EQ(Summary(out.back), "1000-2000 [a7t1] Italic {ffffffi}and {ffffff}cyan{00ffff} [a7t1] under{ffffffu}\n"
                               "2000-3000 [a1t1] top U+233tU+233{ffffff}\n"
                               "60000-61000 [a8t2] right{ffffff}\n");
  EXPECT_EQ(out.bytes.substr(3, 8), "STL30.01");
  EXPECT_EQ(out.notes, std::vector<std::string>{"bold text (EBU STL has none): 1 time"});
}

// Every seed the fuzzers start from, read, written in every format its captions can go to, read again.
TEST(CaptionWriters, EverySeedSurvivesReadWriteRead) {
  int written = 0;
  for (const char* root : {KEL_FUZZ_CORPUS, KEL_DATA}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      const std::string dir = entry.path().parent_path().filename().string();
      if (!entry.is_regular_file() || dir == "render" || dir == "dtvcc" || dir == "layout_script") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      ReadResult read;
      try {
        read = ReadCaptions(bytes, entry.path().filename().string());
      } catch (const std::exception&) {
        continue;  // not a caption file of a kind read here
      }
      for (int f = kCaptioningExportFormat_SCC; f <= kCaptioningExportFormat_WebVTT; ++f) {
        const auto format = static_cast<CaptioningExportFormat>(f);
        TimeDisplaySet displays;
        if (!GetSupportedTimeDisplaysForFormat(format, displays)) continue;
        // MCC writes a line a frame: its rate of fewest frames (MccWriterTest goes through the
        // others) keeps this test short.
        if (format == kCaptioningExportFormat_MCC) displays = {kelmediatypes::kTimeDisplay_23976Timecode};
        for (const auto display : displays) {
          WriteResult out;
          try {
            out = WriteCaptions(read, {format, display, true});
          } catch (const std::invalid_argument&) {
            continue;  // a format not written yet
          }
          SCOPED_TRACE(entry.path().string() + " as " + ExportFileExtension(format));
          ++written;
          EXPECT_NO_THROW(ReadCaptions(out.bytes, std::string("out") + ExportFileExtension(format), {.strict = true}))
              << out.bytes;
        }
      }
    }
  }
  EXPECT_GT(written, 20);
}

}  // namespace

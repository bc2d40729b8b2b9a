#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "captionfiles/ExportTimes.h"
#include "captionfiles/TtmlReader.h"
#include "captionfiles/TtmlTime.h"
#include "kelcaptionfiles/CaptionFileKinds.h"
#include "kelcaptionfiles/CaptionWriters.h"
#include "support/ReadExpectations.h"

namespace {

using namespace kelcaptioning;
using namespace kelcaptionfiles;
using kelmediatypes::TickTime;
using kelmediatypes::TimeDisplay;

std::string Hex(const CaptioningColor& c) {
  char text[12];
  std::snprintf(text, sizeof text, "%02x%02x%02x%02x", static_cast<int>(std::lround(c.Red() * 255)),
                static_cast<int>(std::lround(c.Green() * 255)), static_cast<int>(std::lround(c.Blue() * 255)),
                static_cast<int>(std::lround(c.Alpha() * 255)));
  return text;
}

// Each caption as a line: its times (in frames of `display`, or milliseconds), then each line's
// anchor and alignment and its spans, "text{colour background style size}".
std::string Summary(const ReadResult& read, TimeDisplay display = kelmediatypes::kTimeDisplay_Milliseconds) {
  const auto time = [display](TickTime t) {
    if (display == kelmediatypes::kTimeDisplay_Milliseconds) return t.GetTicks() / (TickTime::kTicksPerSecond / 1000);
    return FrameClock(display).FrameAt(t);
  };
  std::ostringstream out;
  for (const CaptionPtr& caption : read.List()->GetCaptions()) {
    out << time(caption->GetBeginTime()) << "-" << time(caption->GetEndTime());
    for (const auto& paragraph : caption->GetCaptionTextParagraphs()) {
      const auto style = paragraph->GetParagraphStyleAttributes();
      out << " [a" << style.GetAnchorID() << "t" << style.GetTextAlignment() << "]";
      for (const auto& span : paragraph->GetCaptionTextSpans()) {
        const auto a = span->GetTextSpanStyleAttributes();
        std::string text;
        for (char16_t c : span->GetSpanText()) text += c < 0x80 ? std::string(1, static_cast<char>(c)) : "U+" + std::to_string(+c);
        out << text << "{" << Hex(a.GetForegroundColor()) << " " << Hex(a.GetBackgroundColor()) << " "
            << a.GetFontStyle() << (a.IsUnderlined() ? "u" : "") << " " << a.GetFontSize() << "}";
      }
    }
    out << "\n";
  }
  return out.str();
}

std::string Ttml(const std::string& head, const std::string& body, const std::string& parameters = "") {
  return "<?xml version=\"1.0\"?>\n<tt xmlns=\"http://www.w3.org/ns/ttml\" xmlns:tts=\"http://www.w3.org/ns/ttml#styling\" "
         "xmlns:ttp=\"http://www.w3.org/ns/ttml#parameter\"" + parameters + ">\n<head>" + head + "</head>\n<body>" + body +
         "</body>\n</tt>\n";
}

const std::string kStyledSrt =
    "1\n00:00:01,000 --> 00:00:03,500\n<i>Italic</i> and <b>bold</b>\n<font color=\"#ffff00\">yellow</font> <u>under</u>\n\n"
    "2\n00:00:04,000 --> 00:00:05,000\n{\\an8}At the top\n\n"
    "3\n00:00:05,500 --> 00:00:06,000\n{\\an6}Middle right\n\n"
    "4\n00:01:00,067 --> 00:10:00,100\n{\\an1}Left & <b><i>both</i></b> <>\n\n";

TEST(TtmlReader, WhatTheWriterWritesReadsBackToTheFrame) {
  const ReadResult srt = ReadCaptions(kStyledSrt, "in.srt");
  const std::string vtt = "WEBVTT\n\n00:00:01.000 --> 00:00:02.000\n<c.cyan.bg_blue>cyan on blue</c> plain\n";
  const ReadResult web = ReadCaptions(vtt, "in.vtt");
  for (const ReadResult* source : {&srt, &web}) {
    for (const TimeDisplay display : {kelmediatypes::kTimeDisplay_Milliseconds, kelmediatypes::kTimeDisplay_25Timecode,
                                      kelmediatypes::kTimeDisplay_2997DropTimecode, kelmediatypes::kTimeDisplay_2997NonDropTimecode}) {
      const WriteResult written = WriteCaptions(*source, {kCaptioningExportFormat_TTML, display});
      const ReadResult back = ReadCaptions(written.bytes, "out.xml", {.strict = true});
      EXPECT_EQ(Summary(back, display), Summary(*source, display)) << written.bytes;
      EXPECT_TRUE(back.notes.Empty()) << back.notes.Texts().front();
      EXPECT_TRUE(back.boxes.empty());
    }
  }
  // The writer's regions are the title area: anchors, not boxes, at the top, middle and bottom.
  const std::string summary = Summary(srt);
  EXPECT_NE(summary.find("4000-5000 [a1t1]At the top"), std::string::npos) << summary;
  EXPECT_NE(summary.find("5500-6000 [a5t2]Middle right"), std::string::npos) << summary;
  EXPECT_NE(summary.find("[a6t0]Left & {ffffffff 00000000 0 38}both{ffffffff 00000000 3 38} <>"), std::string::npos) << summary;
}

TEST(TtmlReader, TimeExpressions) {
  const auto ms = [](const char* text, TtmlRates rates = {}) -> double {
    const std::optional<std::int64_t> ticks = TtmlTicks(text, rates);
    return ticks ? static_cast<double>(*ticks) / (TickTime::kTicksPerSecond / 1000) : -1;
  };
  EXPECT_EQ(ms("00:00:01.5"), 1500);
  EXPECT_EQ(ms("123:04:05.006"), ((123 * 60 + 4) * 60 + 5) * 1000 + 6);
  EXPECT_EQ(ms("00:00:01:15", {25, 1, 1}), 1600);
  EXPECT_EQ(ms("00:00:01:15.1", {25, 2, 1}), 1620);
  EXPECT_EQ(ms(" 2.5s "), 2500);
  EXPECT_EQ(ms("1h"), 3600000);
  EXPECT_EQ(ms("1.5m"), 90000);
  EXPECT_EQ(ms("40ms"), 40);
  EXPECT_EQ(ms("50f", {25, 1, 1}), 2000);
  EXPECT_EQ(ms("10000000t", {30, 1, 10000000}), 1000);
  // 30 frames at 30000/1001 frames a second last exactly 1001 ms: no tick is lost.
  EXPECT_EQ(TtmlTicks("30f", {30 * 1000 / 1001.0L, 1, 1}), TickTime::kTicksPerSecond / 1000 * 1001);
  for (const char* bad : {"", "1", "1x", "s", "1.s", ".5s", "-1s", "00:1:00", "00:00", "00:00:00:1x", "1e3s", "99999999999h"}) {
    EXPECT_EQ(ms(bad), -1) << bad;
  }
}

TEST(TtmlReader, NestedAndSequentialTimesAndTimedSpans) {
  // Parameters: 24000/1001 frames, ticks at 1000 a second; times are relative to the parent.
  const std::string file = Ttml(
      "", "<div begin=\"10s\" end=\"30s\"><p begin=\"1s\" end=\"2s\">one</p><p begin=\"48f\" dur=\"1000t\">two</p>"
          "<p begin=\"00:00:05:00\" end=\"1h\">to the division's end</p></div>"
          "<div begin=\"20s\" end=\"30s\" timeContainer=\"seq\"><p dur=\"1s\">a</p><p begin=\"1s\" dur=\"2s\">b</p></div>"
          "<div begin=\"40s\" end=\"50s\"><p end=\"5s\">shown <span begin=\"1s\" end=\"2s\">now</span> then "
          "<span begin=\"3s\">later</span></p></div>",
      " ttp:frameRate=\"24\" ttp:frameRateMultiplier=\"1000 1001\" ttp:tickRate=\"1000\"");
  const ReadResult read = ReadTtml(file, "in.ttml", {.strict = true});
  EXPECT_EQ(kel_test::CaptionTexts(*read.List()),
            (std::vector<std::u16string>{u"one", u"two", u"to the division's end", u"a", u"b", u"shown then", u"shown now then",
                                         u"shown then", u"shown then later"}));
  std::vector<std::int64_t> ms;
  for (const CaptionPtr& caption : read.List()->GetCaptions()) {
    for (const TickTime t : {caption->GetBeginTime(), caption->GetEndTime()}) ms.push_back(t.GetTicks() / (TickTime::kTicksPerSecond / 1000));
  }
  EXPECT_EQ(ms, (std::vector<std::int64_t>{11000, 12000, 12002, 13002, 15000, 30000, 20000, 21000, 22000, 24000, 40000,
                                           41000, 41000, 42000, 42000, 43000, 43000, 45000}));
}

TEST(TtmlReader, StylesByReferenceChainsInlineAndInheritance) {
  const std::string head =
      "<styling><style xml:id=\"yellow\" tts:color=\"yellow\"/>"
      "<style xml:id=\"chained\" style=\"yellow\" tts:fontWeight=\"bold\"/>"
      "<style xml:id=\"boxed\" tts:backgroundColor=\"rgba(0,0,255,128)\" tts:textAlign=\"end\"/>"
      "<style xml:id=\"loop\" style=\"loop\"/></styling>";
  const std::string body =
      "<div tts:fontStyle=\"italic\" tts:backgroundColor=\"red\">"
      "<p begin=\"0s\" end=\"1s\" style=\"chained boxed\" tts:textDecoration=\"underline\">"
      "A <span tts:fontWeight=\"normal\" tts:color=\"#00ff0080\">b</span>"
      "<span style=\"yellow loop\" tts:fontStyle=\"normal\" tts:fontSize=\"50%\">c</span></p></div>";
  ReadResult read = ReadTtml(Ttml(head, body), "in.ttml");
  // The division's italics reach every span, its background none; the paragraph's background
  // and alignment reach its spans.
  EXPECT_EQ(Summary(read), "0-1000 [a2t2]A {ffff00ff 0000ff80 3u 38}b{00ff0080 0000ff80 1u 38}c{ffff00ff 0000ff80 2u 19}\n");
  kel_test::ExpectNotes(read.notes, {{"backgrounds of bodies and divisions (not shown): 1 time", "4:7"},
                                     {"style references to no style, or in a circle (ignored): 1 time", "3:204"}});
}

TEST(TtmlReader, RegionsPlaceCaptions) {
  const std::string head =
      "<layout><region xml:id=\"title\" tts:origin=\"10% 10%\" tts:extent=\"80% 80%\" tts:displayAlign=\"center\"/>"
      "<region xml:id=\"px\" tts:origin=\"192px 540px\" tts:extent=\"960px 270px\" tts:displayAlign=\"after\"/>"
      "<region xml:id=\"cells\" tts:origin=\"12.5rw 1c\" tts:extent=\"24c 2c\" tts:textAlign=\"center\">"
      "<style tts:color=\"lime\"/></region></layout>";
  const std::string body =
      "<p begin=\"0s\" end=\"1s\" region=\"title\" tts:textAlign=\"right\">t</p>"
      "<div region=\"px\"><p begin=\"1s\" end=\"2s\">p</p></div>"
      "<p begin=\"2s\" end=\"3s\" region=\"cells\">c</p><p begin=\"3s\" end=\"4s\">nowhere</p>"
      "<div region=\"px\"><p begin=\"4s\" end=\"5s\" region=\"title\">elsewhere</p></div>";
  const ReadResult read = ReadTtml(Ttml(head, body, " tts:extent=\"1920px 1080px\""), "in.ttml");
  const std::string summary = Summary(read);
  EXPECT_NE(summary.find("0-1000 [a5t2]t"), std::string::npos) << summary;
  EXPECT_NE(summary.find("1000-2000 [a6t0]p"), std::string::npos) << summary;
  EXPECT_NE(summary.find("2000-3000 [a1t1]c{00ff00ff"), std::string::npos) << summary;
  EXPECT_EQ(summary.find("nowhere"), std::string::npos) << summary;
  EXPECT_EQ(summary.find("elsewhere"), std::string::npos) << summary;
  const auto captions = read.List()->GetCaptions();
  EXPECT_EQ(read.boxes.count(captions[0].get()), 0u);
  CueBox px;
  px.width = 0.5, px.x = 0.1, px.alignX = 0, px.y = 0.75, px.alignY = 1;
  EXPECT_EQ(read.boxes.at(captions[1].get()), px);
  const CueBox& cells = read.boxes.at(captions[2].get());
  EXPECT_DOUBLE_EQ(*cells.width, 0.75);
  EXPECT_DOUBLE_EQ(*cells.y, 1.0 / 15);
  EXPECT_EQ(cells.alignY, 0.0);
  kel_test::ExpectNotes(read.notes, {{"paragraphs in no region, or in one not defined (not shown, as players do): 1 time", "4:166"},
                                     {"paragraphs in a region other than their body's or division's (not shown, as players do): 1 time",
                                      "4:217"}});
}

TEST(TtmlReader, TextSpacesBreaksReferencesAndPrefixes) {
  const std::string file =
      "<tt:tt xmlns:tt=\"http://www.w3.org/ns/ttml\" xmlns:s=\"http://www.w3.org/ns/ttml#styling\"><tt:body>\n"
      "<tt:div><tt:p begin=\"0s\" end=\"1s\">\n  Two  &amp;\n   <tt:span s:fontWeight=\"bold\">bold </tt:span> words&#x2014;<tt:br/>"
      "  next\tline  </tt:p>\n<tt:p begin=\"1s\" end=\"2s\" xml:space=\"preserve\">kept  spaces\nand a break</tt:p></tt:div>"
      "</tt:body></tt:tt>";
  EXPECT_STREQ(FindCaptionFileKind("captions.dat", file)->name, "Timed text (TTML)");
  for (const char* name : {"a.ttml", "a.dfxp", "a.XML"}) EXPECT_STREQ(FindCaptionFileKind(name, file)->name, "Timed text (TTML)");
  EXPECT_FALSE(LooksLikeTtml("<?xml version=\"1.0\"?><html><tt>"));
  const ReadResult read = ReadCaptions(file, "in.xml", {.strict = true});
  EXPECT_EQ(kel_test::CaptionTexts(*read.List()),
            (std::vector<std::u16string>{u"Two & bold words\u2014|next line", u"kept  spaces|and a break"}));
  // A run of white space is one space in the style of its first character.
  EXPECT_EQ(Summary(read).rfind("0-1000 [a0t0]Two & {ffffffff 00000000 0 38}bold {ffffffff 00000000 2 38}words", 0), 0u)
      << Summary(read);
}

TEST(TtmlReader, WhatCannotBeShownIsNotedOnceAKind) {
  const std::string body =
      "<p begin=\"0s\" end=\"1s\" tts:fontVariant=\"superscript\">a<set tts:color=\"red\"/><set/>"
      "<span tts:ruby=\"base\">b</span><image src=\"x.png\"/></p><p begin=\"2s\" end=\"x\" tts:color=\"nocolour\">c</p>"
      "<p begin=\"3s\">open</p>";
  const ReadResult read = ReadTtml(Ttml("", body, " ttp:timeBase=\"smpte\""), "in.ttml");
  EXPECT_EQ(kel_test::CaptionTexts(*read.List()), (std::vector<std::u16string>{u"ab", u"c", u"open"}));
  kel_test::ExpectNotes(read.notes, {{"ttp:timeBase \"smpte\" (read as media time)", "2:1"},
                                     {"tts:fontVariant (not shown): 1 time", "4:7"},
                                     {"<set> animations (not shown): 2 times", "4:61"},
                                     {"tts:ruby (not shown): 1 time", "4:89"},
                                     {"images (not shown): 1 time", "4:119"},
                                     {"time expressions that cannot be read (ignored): 1 time", "4:143"},
                                     {"style values that cannot be read (ignored): 1 time", "4:143"},
                                     {"paragraphs without an end (shown to the last time the file names): 2 times", "4:143"}});
  EXPECT_EQ(kel_test::ReadErrorOf([&] { ReadTtml(Ttml("", body), "in.ttml", {.strict = true}); }),
            "in.ttml:4:143: end \"x\" is not a time expression");
}

TEST(TtmlReader, BrokenOrHugeDocumentsAreClearErrorsOrBounded) {
  EXPECT_EQ(kel_test::ReadErrorOf([] { ReadCaptions(Ttml("", "<p>a</div>"), "bad.ttml"); }),
            "bad.ttml:4:13: not well-formed XML: mismatched tag");
  EXPECT_EQ(kel_test::ReadErrorOf([] { ReadTtml("<html/>", "page.xml"); }), "page.xml:1:1: the root element is <html>, not <tt>");
  EXPECT_EQ(kel_test::ReadErrorOf([] { ReadTtml("", "empty.xml"); }), "empty.xml:1:1: not well-formed XML: no element found");
  // Entities that grow without bound are refused by the parser.
  std::string laughs = "<!DOCTYPE tt [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">";
  for (char e = 'b'; e <= 'k'; ++e) {
    laughs += std::string("<!ENTITY ") + e + " \"";
    for (int i = 0; i < 10; ++i) laughs += std::string("&") + static_cast<char>(e - 1) + ";";
    laughs += "\">";
  }
  laughs += "]><tt xmlns=\"http://www.w3.org/ns/ttml\"><body><p begin=\"0s\" end=\"1s\">&k;</p></body></tt>";
  EXPECT_NE(kel_test::ReadErrorOf([&] { ReadTtml(laughs, "laughs.xml"); }).find("not well-formed XML"), std::string::npos);
  // A hundred thousand nested spans: the depth beyond 100 is left out, and said.
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<span>";
  deep += "x";
  for (int i = 0; i < 100000; ++i) deep += "</span>";
  const ReadResult read = ReadTtml(Ttml("", "<p begin=\"0s\" end=\"1s\">y" + deep + "</p>"), "deep.xml");
  EXPECT_EQ(kel_test::CaptionTexts(*read.List()), std::vector<std::u16string>{u"y"});
  EXPECT_EQ(read.notes.Texts(), std::vector<std::string>{"elements nested deeper than 100 (skipped): 1 time"});
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kelcaptionfiles/CaptionFileKinds.h"
#include "kelcaptionfiles/ReadError.h"

namespace {

using kelcaptionfiles::FindCaptionFileKind;

const char* KindOf(const std::string& name, const std::string& bytes) {
  const kelcaptionfiles::CaptionFileKind* kind = FindCaptionFileKind(name, bytes);
  return kind ? kind->name : "none";
}

const std::string kSrt = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n";
const std::string kVtt = "\xEF\xBB\xBFWEBVTT\n\n00:01.000 --> 00:02.000\nHi\n";
const std::string kScc = "Scenarist_SCC V1.0\n\n00:00:00:00\t9420\n";
const std::string kStl = std::string("850STL25.01") + std::string(1013, ' ');
const std::string kJson = "  {\"format\": \"OPEN\", \"captions\": []}";

TEST(CaptionFileKinds, ExtensionFirstThenContent) {
  // Each kind by its extension, in any case.
  EXPECT_STREQ(KindOf("a.SRT", kSrt), "SubRip");
  EXPECT_STREQ(KindOf("a.vtt", kVtt), "WebVTT");
  EXPECT_STREQ(KindOf("a.scc", kScc), "Scenarist SCC");
  EXPECT_STREQ(KindOf("a.stl", kStl), "EBU STL");
  EXPECT_STREQ(KindOf("a.json", kJson), "JSON caption or model document");
  // A missing or wrong extension: the content decides.
  EXPECT_STREQ(KindOf("captions", kVtt), "WebVTT");
  EXPECT_STREQ(KindOf("a.srt", kVtt), "WebVTT");
  EXPECT_STREQ(KindOf("a.txt", kSrt), "SubRip");
  EXPECT_STREQ(KindOf("a.vtt", kScc), "Scenarist SCC");
  EXPECT_STREQ(KindOf("a.bin", kStl), "EBU STL");
  // Content of no kind: the extension's reader says what is wrong; no extension, no kind.
  EXPECT_STREQ(KindOf("a.vtt", "hello"), "WebVTT");
  EXPECT_STREQ(KindOf("notes.txt", "hello"), "none");
}

TEST(CaptionFileKinds, ReadByContentAndUnknownFilesNamed) {
  const kelcaptionfiles::ReadResult read = kelcaptionfiles::ReadCaptions(kVtt, "captions.txt");
  ASSERT_TRUE(read.List());
  EXPECT_EQ(read.List()->GetCaptions().size(), 1u);
  try {
    kelcaptionfiles::ReadCaptions("hello", "notes.txt");
    ADD_FAILURE() << "read";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("notes.txt: not a caption file of a kind that is read: WebVTT (.vtt), ", 0), 0u)
        << e.what();
  }
}

std::u16string FirstText(const kelcaptionfiles::ReadResult& read) {
  return std::u16string(std::u16string_view(read.List()->GetCaptions().at(0)->GetCaptionTextParagraph(0)->GetText()));
}

// UTF-16 text as bytes, with its byte-order mark.
std::string Utf16(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(CaptionFileKinds, TextIsDecodedBeforeTheReaders) {
  // Legacy encodings are guessed, and the guess is said.
  const auto cp1252 = kelcaptionfiles::ReadCaptions(
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xE9 cr\xE8me br\xFBl\xE9" "e, na\xEFve \x93quotes\x94 d\xE9j\xE0 vu\r\n", "a.srt");
  EXPECT_EQ(FirstText(cp1252), u"Caf\u00E9 cr\u00E8me br\u00FBl\u00E9e, na\u00EFve \u201Cquotes\u201D d\u00E9j\u00E0 vu");
  ASSERT_EQ(cp1252.notes.All().size(), 1u);
  EXPECT_EQ(cp1252.notes.All()[0].kind, kelcaptionfiles::NoteKind::kRemark);
  EXPECT_EQ(cp1252.notes.Texts()[0], "read as WINDOWS-1252 (guessed: not UTF-8, no byte-order mark)");
  const auto shiftJis = kelcaptionfiles::ReadCaptions(
      "1\n00:00:01,000 --> 00:00:02,000\n\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\x90\xa2\x8a" "\x45\n", "j.srt");
  EXPECT_EQ(FirstText(shiftJis), u"\u3053\u3093\u306B\u3061\u306F\u4E16\u754C");
  // UTF-16 with a byte-order mark, either way round; the content tells the kind, decoded.
  const auto little = kelcaptionfiles::ReadCaptions(Utf16(u"WEBVTT\n\n00:01.000 --> 00:02.000\nh\u00E9\n", false), "c.txt");
  EXPECT_EQ(FirstText(little), u"h\u00E9");
  EXPECT_TRUE(little.notes.Empty());
  EXPECT_EQ(FirstText(kelcaptionfiles::ReadCaptions(Utf16(u"1\n00:00:01,000 --> 00:00:02,000\n\u263A\n", true), "b.srt")),
            u"\u263A");
  // A named encoding is taken as it is; bytes that are not text of it are reported where they
  // first stand, and a strict reading stops there.
  kelcaptionfiles::ReadOptions koi8;
  koi8.encoding = "KOI8-R";
  EXPECT_EQ(FirstText(kelcaptionfiles::ReadCaptions("1\n00:00:01,000 --> 00:00:02,000\n\xF0\xD2\xC9\xD7\xC5\xD4\n", "r.srt", koi8)),
            u"\u041F\u0440\u0438\u0432\u0435\u0442");
  kelcaptionfiles::ReadOptions utf16;
  utf16.encoding = "UTF-16LE";
  const std::string cut = Utf16(u"1\n00:00:01,000 --> 00:00:02,000\nok\n", false) + "\x41";
  const auto odd = kelcaptionfiles::ReadCaptions(cut, "o.srt", utf16);
  EXPECT_EQ(FirstText(odd), u"ok");
  EXPECT_EQ(odd.notes.Texts(), std::vector<std::string>{"bytes that are not UTF-16LE text (read as U+FFFD): 1 time"});
  EXPECT_EQ(odd.notes.All()[0].first.Text(), "byte " + std::to_string(cut.size() - 1));
  utf16.strict = true;
  EXPECT_THROW(kelcaptionfiles::ReadCaptions(cut, "o.srt", utf16), kelcaptionfiles::ReadError);
  kelcaptionfiles::ReadOptions unknown;
  unknown.encoding = "no-such-encoding";
  EXPECT_THROW(kelcaptionfiles::ReadCaptions(kSrt, "a.srt", unknown), std::runtime_error);
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "kelcaptionfiles/CaptionFileKinds.h"

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

}  // namespace

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "captionfiles/MccReader.h"
#include "kelcaptionfiles/CaptionFileKinds.h"
#include "support/CcDataLines.h"
#include "support/ReadExpectations.h"

namespace {

using namespace kelcaptionfiles;
using kel_test::CdpHex;
using kel_test::FrameTriplets;
using kelmediatypes::TickTime;

const std::string kHead =
    "File Format=MacCaption_MCC V1.0\r\n\r\n// Computer Prompting and Captioning Company\r\n//\r\n\r\n"
    "UUID=A2A3B5F1-1C8D-4B8E-9E0C-57A5E6B2A1F0\r\nCreation Program=Tests\r\n";

TickTime At(std::int64_t frame, std::int64_t num, std::int64_t den) {
  return TickTime(frame * (TickTime::kTicksPerSecond / num * den));
}

// A pop-on caption of `text` on CC1, one pair a frame from `first` (frames at 30, drop-frame
// numbering off), as MCC lines.
std::string PopOnLines(const std::string& text, int first, int& sequence) {
  std::string lines;
  int frame = first;
  for (const auto& pair : kel_test::PopOnPairs(text)) {
    char code[32];
    std::snprintf(code, sizeof code, "00:%02d:%02d:%02d", frame / 1800, frame / 30 % 60, frame % 30);
    lines += std::string(code) + "\t" + CdpHex(FrameTriplets(pair), sequence++) + "\r\n";
    ++frame;
  }
  return lines;
}

std::u32string BottomRow(const TimedModel& state) {
  std::u32string text;
  for (const auto& cell : state.model->GetWindow(0)->GetRows().at(14)->GetCells()) text += cell ? cell->GetCharacter() : U' ';
  return text;
}

TEST(MccReader, EachLineGivesTheTripletsOfItsFrameAtTheRate) {
  const std::vector<CcData> triplets = FrameTriplets({0x94, 0x20}, {0x15, 0x2C});
  const auto firstTime = [&](const std::string& rate, const std::string& code, int rateCode = 4) {
    const std::string file = kHead + "Time Code Rate=" + rate + "\r\n\r\n" + code + "\t" + CdpHex(triplets, 0, rateCode) + "\r\n";
    const CcDataRead read = ReadMccCcData(file, "t.mcc");
    EXPECT_TRUE(read.notes.Empty()) << ::testing::PrintToString(read.notes.Texts());
    return read.data.empty() ? TickTime(-1) : read.data.front().time;
  };
  EXPECT_EQ(firstTime("30DF", "00:01:00;02"), At(1800, 30000, 1001));  // the first frame number of minute 1
  EXPECT_EQ(firstTime("30DF", "00:10:00;00"), At(17982, 30000, 1001));
  EXPECT_EQ(firstTime("60DF", "00:01:00;04.1", 7), At(3600, 60000, 1001));  // a field and its frame
  EXPECT_EQ(firstTime("25", "00:00:02:05", 3), At(55, 25, 1));
  // Non-drop numbering of 29.97 video, as its packets' rate says; at a true 30 when they say so.
  EXPECT_EQ(firstTime("30", "00:00:10:00"), At(300, 30000, 1001));
  EXPECT_EQ(firstTime("30", "00:00:10:00", 5), At(300, 30, 1));
  // The rate its time codes count at, as the times were worked out.
  const auto rateOf = [&](const std::string& rate, int rateCode) {
    const std::string file = kHead + "Time Code Rate=" + rate + "\r\n\r\n00:00:01;00\t" + CdpHex(triplets, 0, rateCode) + "\r\n";
    const auto counted = ReadMccCcData(file, "t.mcc").timeCodeRate.value();
    return std::make_tuple(counted.numerator, counted.denominator, counted.dropFrame);
  };
  EXPECT_EQ(rateOf("30DF", 4), std::make_tuple(30000LL, 1001LL, true));
  EXPECT_EQ(rateOf("30", 4), std::make_tuple(30000LL, 1001LL, false));
  EXPECT_EQ(rateOf("25", 3), std::make_tuple(25LL, 1LL, false));

  const CcDataRead read = ReadMccCcData(kHead + "\r\n00:00:00:01\t" + CdpHex(triplets, 0) + "\r\n", "t.mcc");
  ASSERT_EQ(read.data.size(), triplets.size());
  for (std::size_t i = 0; i < triplets.size(); ++i) {
    EXPECT_EQ(read.data[i].data.valid, triplets[i].valid);
    EXPECT_EQ(read.data[i].data.type, triplets[i].type);
    EXPECT_EQ(read.data[i].data.first, triplets[i].first);
    EXPECT_EQ(read.data[i].data.second, triplets[i].second);
  }
}

TEST(MccReader, CompressionCodesStandForTheirByteRuns) {
  // Runs of one to nine padding triplets between others, the three other common triplets, the
  // packet identifier and the ANC header.
  const std::vector<std::pair<std::string, std::string>> codes = {
      {"(FA0000){9}", "O"}, {"(FA0000){8}", "N"}, {"(FA0000){7}", "M"}, {"(FA0000){6}", "L"}, {"(FA0000){5}", "K"},
      {"(FA0000){4}", "J"}, {"(FA0000){3}", "I"},  {"(FA0000){2}", "H"}, {"FA0000", "G"},      {"FB8080", "P"},
      {"FC8080", "Q"},      {"FD8080", "R"},       {"9669", "S"},        {"^6101", "T"}};
  for (const std::vector<int>& runs : std::vector<std::vector<int>>{{1, 2, 3, 4, 5}, {6, 7}, {8, 9}}) {
    std::string letters = "PQRST";
    std::vector<CcData> triplets = {{true, 0, 0x94, 0x20}, {true, 0, 0x80, 0x80}, {true, 1, 0x80, 0x80}, {false, 3, 0x80, 0x80}};
    for (int run : runs) {
      triplets.insert(triplets.end(), static_cast<std::size_t>(run), {false, 2, 0, 0});
      triplets.push_back({true, 3, 0x41, 0x42});
      letters += static_cast<char>('G' + run - 1);
    }
    const std::string hex = CdpHex(triplets, 7);
    std::string compressed = hex;
    for (const auto& [run, letter] : codes) compressed = std::regex_replace(compressed, std::regex(run), letter);
    for (const char letter : letters) ASSERT_NE(compressed.find(letter), std::string::npos) << letter << " in " << compressed;
    const CcDataRead read = ReadMccCcData(kHead + "\r\n00:00:00:00\t" + compressed + "\r\n", "c.mcc");
    EXPECT_TRUE(read.notes.Empty()) << ::testing::PrintToString(read.notes.Texts());
    ASSERT_EQ(read.data.size(), triplets.size()) << compressed;
    for (std::size_t i = 0; i < read.data.size(); ++i) {
      EXPECT_EQ(read.data[i].data.first, triplets[i].first) << i;
      EXPECT_EQ(read.data[i].data.valid, triplets[i].valid) << i;
      EXPECT_EQ(read.data[i].data.type, triplets[i].type) << i;
    }
  }
  // Z is one zero byte, U four (E1 00 00 00): the ANC checksum written as Z, or a U past the
  // packet, reads the same; a lower-case letter past f stands for nothing.
  const std::string hex = CdpHex(FrameTriplets({0x94, 0x20}), 0);
  EXPECT_EQ(ReadMccCcData(kHead + "\r\n00:00:00:00\t" + hex.substr(0, hex.size() - 2) + "Z\r\n", "z.mcc").data.size(), 20u);
  EXPECT_EQ(ReadMccCcData(kHead + "\r\n00:00:00:00\t" + hex + "U\r\n", "u.mcc").data.size(), 20u);
  EXPECT_EQ(ReadMccCcData(kHead + "\r\n00:00:00:00\t" + hex + "g\r\n", "g.mcc").data.size(), 0u);
}

TEST(MccReader, DamagedLinesAreSkippedAndReportedWhereTheyStand) {
  int sequence = 0;
  const std::string good = CdpHex(FrameTriplets({0x80, 0x80}), 100);
  std::string badChecksum = good;
  badChecksum[badChecksum.size() - 4] = badChecksum[badChecksum.size() - 4] == '0' ? '1' : '0';
  const std::string first = PopOnLines("AB", 30, sequence);
  const std::string second = PopOnLines("CD", 300, sequence);
  const std::string file = kHead + "Time Code Rate=30\r\n\r\n" + first +
                           "00:00:02:00\t" + badChecksum + "\r\n" +                        // line 19
                           "00:00:02:01\t" + good.substr(0, 40) + "\r\n" +                  // 20: cut short
                           "00:00:02:02\t6101X" + good.substr(5) + "\r\n" +               // 21
                           "the next line\r\n" +                                              // 22
                           "00:00:02:03\t6102035555559B\r\n" +                              // 23: not caption data
                           second + "00:00:01:00\t" + CdpHex(FrameTriplets({0x80, 0x80}), 200) +
                           "\r\n";
  const ReadResult mcc = ReadMcc(file, "d.mcc");
  const auto& states = mcc.Timeline()->States();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(BottomRow(states[0]), U"AB");
  EXPECT_EQ(BottomRow(states[1]), U"CD");
  // EOC acts at its first copy, pair 7 (from 0) of each caption.
  EXPECT_EQ(states[0].begin, At(30 + 7, 30000, 1001));
  EXPECT_EQ(states[1].begin, At(300 + 7, 30000, 1001));
  kel_test::ExpectNotes(
      mcc.notes,
      {{"caption distribution packets whose checksum or footer is wrong (skipped): 1 time", "19:13"},
       {"ANC packets shorter than their data count (skipped): 1 time", "20:13"},
       {"lines with characters that are neither hex digits nor compression codes (skipped): 1 time", "21:17"},
       {"lines without a time code (skipped): 1 time", "22:1"},
       {"ANC packets that are not caption distribution packets (skipped): 1 time", "23:13"},
       {"time codes that go back (their data taken at the time code before): 1 time", "33:1"},
       {"caption distribution packets out of sequence (packets were lost before them): 1 time", "33:13"}});
  EXPECT_EQ(kel_test::ReadErrorOf([&] { ReadMcc(file, "d.mcc", {.strict = true}); }),
            "d.mcc:19:13: the caption distribution packet's checksum or footer is wrong");
  // Found by content whatever the name, and read as MCC by its extension.
  EXPECT_STREQ(FindCaptionFileKind("captions.txt", file)->name, "MacCaption MCC");
  EXPECT_EQ(ReadCaptions(file, "d.mcc").Timeline()->States().size(), 2u);
}

}  // namespace

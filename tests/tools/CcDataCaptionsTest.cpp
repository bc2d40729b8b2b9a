#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "kelcaptionfiles/CcDataCaptions.h"
#include "support/CcDataLines.h"
#include "support/DtvccData.h"

namespace {

using namespace kelcaptionfiles;
using kel_test::WithParity;
using kelmediatypes::TickTime;
using Pair = std::pair<std::uint8_t, std::uint8_t>;

TickTime Frame(std::int64_t frame) { return TickTime(frame * (TickTime::kTicksPerSecond / 30000 * 1001)); }

// Frames of one field-1 and one field-2 pair each, from frame 0.
std::vector<TimedCcData> Frames(const std::vector<Pair>& field1, const std::vector<Pair>& field2) {
  std::vector<TimedCcData> data;
  for (std::size_t i = 0; i < std::max(field1.size(), field2.size()); ++i) {
    const auto time = Frame(static_cast<std::int64_t>(i));
    data.push_back({time, {true, 0, i < field1.size() ? field1[i].first : std::uint8_t{0x80}, i < field1.size() ? field1[i].second : std::uint8_t{0x80}}});
    data.push_back({time, {true, 1, i < field2.size() ? field2[i].first : std::uint8_t{0x80}, i < field2.size() ? field2[i].second : std::uint8_t{0x80}}});
  }
  return data;
}

std::u32string BottomRow(const ReadResult& result, std::size_t state = 0) {
  const auto& states = result.Timeline()->States();
  if (states.size() <= state) return U"(no state)";
  std::u32string text;
  for (const auto& cell : states[state].model->GetWindow(0)->GetRows().at(14)->GetCells()) text += cell ? cell->GetCharacter() : U' ';
  return text;
}

std::vector<Pair> Xds() {
  // Start of a current-class programme name packet, two characters, end with its checksum.
  return {{WithParity(0x01), WithParity(0x03)}, {WithParity('T'), WithParity('i')}, {WithParity(0x0F), WithParity(0x1D)}};
}

TEST(CcDataCaptions, LineTwentyOneChannelsComeFromTheirFieldsAndDataChannels) {
  std::vector<Pair> field1 = kel_test::PopOnPairs("AB");
  field1.insert(field1.begin() + 3, {WithParity('X'), 0x41});  // parity fails: dropped
  // Text mode after the caption: TR twice, then text.
  field1.insert(field1.end(), 2, {WithParity(0x14), WithParity(0x2A)});
  field1.push_back({WithParity('t'), WithParity('x')});
  std::vector<Pair> field2 = kel_test::PopOnPairs("CD");
  const std::vector<Pair> xds = Xds();
  field2.insert(field2.begin() + 6, xds.begin(), xds.end());  // between the PAC and the text
  // CC4 is data channel 2 of field 2: control codes with 1C instead of 14.
  for (Pair pair : kel_test::PopOnPairs("EF")) {
    if ((pair.first & 0x7F) == 0x14) pair.first = WithParity(0x1C);
    field2.push_back(pair);
  }
  const std::vector<TimedCcData> data = Frames(field1, field2);

  const ReadResult cc1 = DecodeCcData(data, {.channel = 1});
  EXPECT_EQ(BottomRow(cc1), U"AB");
  EXPECT_EQ(cc1.Timeline()->States().at(0).begin, Frame(8));  // EOC's first copy, after the dropped pair
  EXPECT_EQ(cc1.notes.Texts(), (std::vector<std::string>{
                                   "line-21 byte pairs that fail their odd parity check (dropped, as a decoder drops them): 1 time",
                                   "text restart / resume text display (TR/RTD): 1 time",
                                   "text service characters: 1 time"}));
  const ReadResult cc3 = DecodeCcData(data, {.channel = 3});
  EXPECT_EQ(BottomRow(cc3), U"CD");
  EXPECT_EQ(cc3.Timeline()->States().at(0).model->GetStreamFormat(), kelcaptioning::kStreamFormat_CEA608_CC3);
  EXPECT_EQ(cc3.notes.Texts(), std::vector<std::string>{"extended data service (XDS) packets on field 2: 1 time"});
  EXPECT_EQ(BottomRow(DecodeCcData(data, {.channel = 4})), U"EF");
  EXPECT_TRUE(DecodeCcData(data, {.channel = 2}).Empty());
}

TEST(CcDataCaptions, ServiceOneIsShownByDefaultWhenItShowsAnythingElseCC1) {
  std::vector<TimedCcData> data = Frames(kel_test::PopOnPairs("AB"), kel_test::PopOnPairs("CD"));
  EXPECT_EQ(ChooseCcDataTrack(data, {}).Name(), "CC1");
  EXPECT_EQ(BottomRow(DecodeCcData(data)), U"AB");
  // Service 2 alone does not make service 1 the default.
  for (const CcData& triplet : kel_test::Packets({kel_test::DefineWindow({}), kel_test::Text("Two")}, 2)) {
    data.push_back({Frame(20), triplet});
  }
  EXPECT_EQ(ChooseCcDataTrack(data, {}).Name(), "CC1");
  for (const CcData& triplet : kel_test::Packets({kel_test::DefineWindow({}), kel_test::Text("One")}, 1)) {
    data.push_back({Frame(30), triplet});
  }
  EXPECT_EQ(ChooseCcDataTrack(data, {}).Name(), "service 1");
  EXPECT_EQ(DecodeCcData(data).Timeline()->States().at(0).model->GetStreamFormat(), kelcaptioning::kStreamFormat_CEA708);
  EXPECT_EQ(ChooseCcDataTrack(data, {.channel = 1}).Name(), "CC1");
  EXPECT_THROW(ChooseCcDataTrack(data, {.channel = 1, .service = 1}), std::invalid_argument);
  EXPECT_THROW(ChooseCcDataTrack(data, {.channel = 5}), std::invalid_argument);

  std::vector<std::string> summary;
  for (const CcDataTrackSummary& track : SummarizeCcData(data)) {
    summary.push_back(track.track.Name() + " " + std::to_string(track.states) + " " +
                      std::to_string(track.first.GetTicks() / Frame(1).GetTicks()) + "-" +
                      std::to_string(track.last.GetTicks() / Frame(1).GetTicks()));
  }
  EXPECT_EQ(summary, (std::vector<std::string>{"CC1 1 7-7", "CC3 1 7-7", "service 1 1 30-30", "service 2 1 20-20"}));
}

}  // namespace

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "captionfiles/DtvccModel.h"
#include "captionfiles/DtvccTimeline.h"
#include "kelcaptionfiles/ModelDocument.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "support/DtvccData.h"

namespace {

using namespace kelcaptioning;
using namespace kelcaptionfiles;
using namespace kel_test;
using kelmediatypes::TickTime;

constexpr std::uint8_t DSW = 0x89, DLY = 0x8D, DLC = 0x8E, RST = 0x8F;

TickTime Seconds(double s) {
  return TickTime(static_cast<std::int64_t>(s * static_cast<double>(TickTime::kTicksPerSecond)));
}

// Triplets all received at `seconds`, appended to `data`.
void At(std::vector<TimedCcData>& data, double seconds, const std::vector<CcData>& triplets) {
  for (const CcData& t : triplets) data.push_back({Seconds(seconds), t});
}

// The characters of a model window's grid row, empty cells as '.', trailing empties and fill
// spaces dropped.
std::u32string RowText(const CaptioningRenderableModelPtr& model, int window, int row) {
  const CaptioningRenderableModelWindowPtr w = model->GetWindow(window);
  if (!w) return U"(no window)";
  const RowList rows = w->GetRows();
  if (static_cast<std::size_t>(row) >= rows.size() || !rows[static_cast<std::size_t>(row)]) return U"";
  std::u32string text;
  for (const auto& cell : rows[static_cast<std::size_t>(row)]->GetCells()) text += cell ? cell->GetCharacter() : U'.';
  while (!text.empty() && (text.back() == U'.' || text.back() == U' ')) text.pop_back();
  return text;
}

const std::vector<Bytes> kHello = {DefineWindow({.vertical = 74, .horizontal = 105, .anchorPoint = 7, .columns = 20}),
                                   Text("HELLO")};

// ---- packets and service blocks

TEST(DtvccPackets, EachDecoderTakesItsOwnServiceStandardOrExtended) {
  std::vector<TimedCcData> data;
  int sequence = 0;
  At(data, 1, Packets({DefineWindow({}), Text("ONE")}, 1, &sequence));
  At(data, 1, Packets({DefineWindow({}), Text("TWO")}, 2, &sequence));
  At(data, 1, Packets({DefineWindow({}), Text("FORTY")}, 40, &sequence));
  const auto first = [&](int service) {
    return RowText(DecodeDtvccService(data, service).Timeline()->States()[0].model, 0, 0);
  };
  EXPECT_EQ(first(1), U"ONE");
  EXPECT_EQ(first(2), U"TWO");
  EXPECT_EQ(first(40), U"FORTY");
  EXPECT_TRUE(DecodeDtvccService(data, 6).Empty());
  EXPECT_THROW(DecodeDtvccService(data, 0), std::invalid_argument);
  EXPECT_THROW(DecodeDtvccService(data, 64), std::invalid_argument);
}

TEST(DtvccPackets, LineTwentyOneInvalidAndPaddingTripletsPassOver) {
  std::vector<CcData> triplets = Packets(kHello);
  triplets.insert(triplets.begin() + 2, {{true, 0, 0x94, 0x20}, {true, 1, 0x15, 0x2C}, {false, 2, 0xFF, 0xFF}});
  // Zero bytes after the packet are padding.
  triplets.push_back({true, 2, 0, 0});
  std::vector<TimedCcData> data;
  At(data, 0, triplets);
  const ReadResult result = DecodeDtvccService(data);
  ASSERT_EQ(result.Timeline()->States().size(), 1u);
  EXPECT_EQ(RowText(result.Timeline()->States()[0].model, 0, 14), U"...........HELLO");
  EXPECT_TRUE(result.notes.Empty()) << testing::PrintToString(result.notes.Texts());
}

TEST(DtvccPackets, DamagedPacketsAreSkippedAndNoted) {
  std::vector<TimedCcData> data;
  int sequence = 0;
  // A packet that says 20 bytes and brings 4 is cut short by the next one.
  At(data, 0, {{true, 3, 0x0A, 0x21}, {true, 2, 'Z', 'Z'}});
  sequence = 1;
  At(data, 0, Packets(kHello, 1, &sequence));
  // Data that continue no packet.
  At(data, 1, {{true, 2, 'Y', 'Y'}});
  // A packet that skips a sequence number: read, packets were lost before it.
  sequence = 0;
  At(data, 2, Packets({Text("!")}, 1, &sequence));
  // A service block longer than its packet.
  sequence = 1;
  At(data, 3, {{true, 3, 0x42, 0x3F}, {true, 2, 'X', 'X'}});
  // The input ends in the middle of a packet.
  At(data, 4, {{true, 3, 0x83, 0x22}, {true, 2, 'W', 'W'}});
  const ReadResult result = DecodeDtvccService(data);
  const auto& states = result.Timeline()->States();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(RowText(states[0].model, 0, 14), U"...........HELLO");
  EXPECT_EQ(RowText(states[1].model, 0, 14), U"...........HELLO!");
  EXPECT_EQ(result.notes.Texts(),
            (std::vector<std::string>{"DTVCC packets shorter than their size (skipped): 2 times",
                                      "DTVCC data that continue no packet (skipped): 1 time",
                                      "DTVCC packets out of sequence (packets were lost before them): 1 time",
                                      "DTVCC service blocks cut short by the end of their packet (skipped): 1 time"}));
  EXPECT_TRUE(result.notes.HasProblems());
}

// ---- the timeline

TEST(DtvccTimeline, EachChangeOfWhatShowsIsAStateUntilTheNext) {
  std::vector<TimedCcData> data;
  int sequence = 0;
  At(data, 1, Packets(kHello, 1, &sequence));
  At(data, 2, Packets({Text(" YOU")}, 1, &sequence));
  // Nothing changes: no new state.
  At(data, 3, Packets({SetPenLocation(0, 0)}, 1, &sequence));
  At(data, 4, Packets({WithByte(0x8A, 0x01)}, 1, &sequence));
  At(data, 5, Packets({WithByte(DSW, 0x01)}, 1, &sequence));
  const ReadResult result = DecodeDtvccService(data);
  const auto& states = result.Timeline()->States();
  ASSERT_EQ(states.size(), 3u);
  EXPECT_EQ(states[0].begin, Seconds(1));
  EXPECT_EQ(states[0].end, Seconds(2));
  EXPECT_EQ(states[1].begin, Seconds(2));
  EXPECT_EQ(states[1].end, Seconds(4));
  EXPECT_EQ(RowText(states[1].model, 0, 14), U"...........HELLO YOU");
  EXPECT_EQ(states[2].begin, Seconds(5));
  EXPECT_EQ(states[2].end, kelmediatypes::kTime_Max);
}

TEST(DtvccTimeline, DelayHoldsCommandsBackUntilItEndsOrIsCancelled) {
  const std::vector<Bytes> hidden = {DefineWindow({.visible = false}), Text("HI"), WithByte(DLY, 20), WithByte(DSW, 1)};
  std::vector<TimedCcData> data;
  int sequence = 0;
  At(data, 0, Packets(hidden, 1, &sequence));
  At(data, 3, Packets({Text("!")}, 1, &sequence));
  auto states = DecodeDtvccService(data).Timeline()->States();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0].begin, Seconds(2));
  EXPECT_EQ(RowText(states[0].model, 0, 0), U"HI");
  EXPECT_EQ(states[1].begin, Seconds(3));

  // Cancelled at one second.
  data.clear();
  sequence = 0;
  At(data, 0, Packets(hidden, 1, &sequence));
  At(data, 1, Packets({{DLC}}, 1, &sequence));
  states = DecodeDtvccService(data).Timeline()->States();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0].begin, Seconds(1));

  // A reset drops what waits.
  data.clear();
  sequence = 0;
  At(data, 0, Packets(hidden, 1, &sequence));
  At(data, 1, Packets({{RST}}, 1, &sequence));
  EXPECT_TRUE(DecodeDtvccService(data).Empty());

  // The input ends during the delay: what waits shows when it ends.
  data.clear();
  sequence = 0;
  At(data, 0, Packets(hidden, 1, &sequence));
  states = DecodeDtvccService(data).Timeline()->States();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0].begin, Seconds(2));
}

TEST(DtvccTimeline, DataWhoseTimeGoesBackIsTakenAtTheTimeBefore) {
  std::vector<TimedCcData> data;
  int sequence = 0;
  At(data, 5, Packets({DefineWindow({})}, 1, &sequence));
  At(data, 2, Packets({Text("A")}, 1, &sequence));
  const ReadResult result = DecodeDtvccService(data);
  const auto& states = result.Timeline()->States();
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0].begin, Seconds(5));
  EXPECT_EQ(RowText(states[0].model, 0, 0), U"A");
  EXPECT_EQ(result.notes.Texts(),
            std::vector<std::string>{"caption data whose time goes back (taken at the time before): 2 times"});
}

// ---- the model

TEST(DtvccModel, EachShownWindowIsAModelWindowWithItsCellsAtTheirGridPlaces) {
  DtvccDecoder decoder;
  for (const auto& t :
       Packets({DefineWindow({.id = 2,
       .priority = 1,
       .vertical = 74,
       .horizontal = 105,
       .anchorPoint = 7,
       .rows = 2,
       .columns = 20}),
                SetPenColor(Color(0, 3, 3, 0), Color(3, 0, 0, 0), 0), Text("HI"),
                DefineWindow({.id = 5, .priority = 0, .anchorPoint = 0, .rows = 1, .columns = 4, .windowStyle = 2}),
                Text("T")}))
    decoder.Feed(TickTime(), t);
  const CaptioningRenderableModelPtr model = DtvccModelMaker(decoder.GridColumns()).Make(decoder.Shown());
  EXPECT_EQ(model->GetStreamFormat(), kStreamFormat_CEA708);
  EXPECT_EQ(model->GetMaxRows(), 15);
  EXPECT_EQ(model->GetMaxColumns(), 42);
  std::vector<int> order;
  model->GetWindowRenderOrder(order);
  EXPECT_EQ(order, (std::vector<int>{2, 5}));

  const CaptioningRenderableModelWindowPtr low = model->GetWindow(2);
  EXPECT_TRUE(low->GetVisible());
  EXPECT_EQ(low->GetAnchorID(), kAnchor_BottomCenter);
  // The window's rectangle has no height: its fill is in its cells.
  EXPECT_EQ(low->GetRowCount(), 0);
  EXPECT_EQ(low->GetColumnCount(), 31);
  EXPECT_EQ(low->GetFillColor(), kCaptioningColor_Transparent);
  const RowList rows = low->GetRows();
  ASSERT_EQ(rows.size(), 15u);
  for (int r = 0; r < 13; ++r) EXPECT_FALSE(rows[static_cast<std::size_t>(r)]) << r;
  const CellList top = rows[13]->GetCells();
  ASSERT_EQ(top.size(), 31u);
  for (int c = 0; c < 11; ++c) EXPECT_FALSE(top[static_cast<std::size_t>(c)]) << c;
  EXPECT_EQ(top[11]->GetCharacter(), U'H');
  EXPECT_EQ(top[12]->GetCharacter(), U'I');
  // Over a transparent pen background the window's solid black fill shows.
  TextAttributes text;
  text.SetForegroundColor({1.0f, 1.0f, 0.0f, 1.0f});
  text.SetBackgroundColor(kCaptioningColor_Black);
  EXPECT_EQ(top[11]->GetTextAttributes(), text);
  TextAttributes fill;
  fill.SetBackgroundColor(kCaptioningColor_Black);
  for (std::size_t c = 13; c < 31; ++c) {
    ASSERT_TRUE(top[c]) << c;
    EXPECT_EQ(top[c]->GetCharacter(), U' ');
    EXPECT_EQ(top[c]->GetTextAttributes(), fill);
  }
  EXPECT_EQ(rows[14]->GetCells().size(), 31u);

  // A window without fill holds its characters alone.
  const RowList high = model->GetWindow(5)->GetRows();
  ASSERT_EQ(high.size(), 1u);
  const CellList cells = high[0]->GetCells();
  ASSERT_EQ(cells.size(), 4u);
  EXPECT_EQ(cells[0]->GetCharacter(), U'T');
  EXPECT_FALSE(cells[1] || cells[2] || cells[3]);
  EXPECT_EQ(model->GetWindow(5)->GetAnchorID(), kAnchor_TopLeft);
}

TEST(DtvccModel, WindowsDrawAtTheirPlacesWithoutClearingTheWindowsBeneath) {
  DtvccDecoder decoder;
  // A red window at the top left, under a blue one at the bottom: were the blue one's rectangle
  // to reach from the grid's corner, drawing it would clear the red one.
  for (const auto& t : Packets({DefineWindow({.id = 1, .priority = 1, .rows = 1, .columns = 10}),
                                SetWindowAttributes({.fill = Color(0, 3, 0, 0)}),
                                DefineWindow({.id = 0,
                                .priority = 0,
                                .vertical = 74,
                                .horizontal = 105,
                                .anchorPoint = 7,
                                .rows = 2,
                                .columns = 20}),
                                SetWindowAttributes({.fill = Color(0, 0, 0, 3)})}))
    decoder.Feed(TickTime(), t);
  const CaptioningRenderableModelPtr model = DtvccModelMaker(decoder.GridColumns()).Make(decoder.Shown());
  // Cells of 8 x 8 pixels in a captions area of 80% from (41, 14) (the ratio is stored just above
  // 0.8, so the margins truncate down).
  const int width = 420, height = 150;
  std::vector<char> pixels(static_cast<std::size_t>(width * height * 4), 0);
  ASSERT_TRUE(kelcaptioningui::RenderOpenCaptions(model, {0, 0, width, height}, {1, 1}, pixels.data(), width * 4,
                                                  {0, 0, width, height}, {0, 0, width, height}, width, height, false,
                                                  1.0f));
  const auto at = [&](int row, int column) {
    const std::size_t offset = static_cast<std::size_t>(((14 + row * 8 + 4) * width + 41 + column * 8 + 4) * 4);
    return std::vector<int>{static_cast<unsigned char>(pixels[offset]), static_cast<unsigned char>(pixels[offset + 1]),
                            static_cast<unsigned char>(pixels[offset + 2]),
                            static_cast<unsigned char>(pixels[offset + 3])};
  };
  const std::vector<int> red = {0, 0, 255, 255}, blue = {255, 0, 0, 255}, clear = {0, 0, 0, 0};
  EXPECT_EQ(at(0, 0), red);
  EXPECT_EQ(at(0, 9), red);
  EXPECT_EQ(at(0, 10), clear);
  EXPECT_EQ(at(13, 11), blue);
  EXPECT_EQ(at(14, 30), blue);
  EXPECT_EQ(at(12, 11), clear);
  EXPECT_EQ(at(13, 10), clear);
  EXPECT_EQ(at(13, 31), clear);
}

TEST(DtvccModel, RowsThatStayTheSameAreSharedWithTheStateBefore) {
  std::vector<TimedCcData> data;
  int sequence = 0;
  At(data, 1,
     Packets({DefineWindow({.rows = 2, .columns = 10, .windowStyle = 4}), Text("ONE"), {0x0D}, Text("TWO")}, 1,
             &sequence));
  At(data, 2, Packets({{0x0D}, Text("THREE")}, 1, &sequence));
  At(data, 3, Packets({DefineWindow({.id = 1, .vertical = 50, .columns = 5}), Text("X")}, 1, &sequence));
  const ReadResult result = DecodeDtvccService(data);
  const auto& states = result.Timeline()->States();
  ASSERT_EQ(states.size(), 3u);
  const auto row = [&](std::size_t state, int window, std::size_t r) {
    return states[state].model->GetWindow(window)->GetRows()[r];
  };
  EXPECT_EQ(RowText(states[1].model, 0, 0), U"TWO");
  // Rolled up a row, and kept while another window came.
  EXPECT_EQ(row(1, 0, 0), row(0, 0, 1));
  EXPECT_EQ(row(2, 0, 0), row(1, 0, 0));
  EXPECT_EQ(row(2, 0, 1), row(1, 0, 1));
  EXPECT_NE(row(1, 0, 1), row(0, 0, 1));
}

TEST(DtvccModel, PensBecomeTheModelsTextAttributes) {
  DtvccPen pen;
  pen.size = DtvccPen::kLarge;
  pen.offset = DtvccPen::kSuperscript;
  pen.fontStyle = 5;
  pen.edgeType = DtvccPen::kLeftDropShadow;
  pen.italics = true;
  pen.underline = true;
  pen.foreground = {3, 2, 1, DtvccOpacity::Translucent};
  pen.background = {0, 3, 0, DtvccOpacity::Flash};
  const TextAttributes a = ModelAttributesOf(pen, {});
  EXPECT_EQ(a.GetForegroundColor(), (CaptioningColor{1.0f, 2.0f / 3.0f, 1.0f / 3.0f, 0.5f}));
  EXPECT_EQ(a.GetBackgroundColor(), (CaptioningColor{0.0f, 1.0f, 0.0f, 1.0f}));
  EXPECT_EQ(a.GetTextSize(), kTextSize_Large);
  EXPECT_EQ(a.GetTextOffset(), kTextOffset_Superscript);
  EXPECT_EQ(a.GetGenericFontFamilyID(), kGenericFontFamily_Casual);
  EXPECT_EQ(a.GetTextEdge(), kTextEdge_LeftDropShadow);
  EXPECT_TRUE(a.IsItalic());
  EXPECT_TRUE(a.IsUnderlined());
  EXPECT_EQ(a.GetRowsUsed(), 1);
  pen.offset = DtvccPen::kSubscript;
  pen.size = DtvccPen::kSmall;
  pen.background.opacity = DtvccOpacity::Transparent;
  const TextAttributes b = ModelAttributesOf(pen, {0, 0, 2, DtvccOpacity::Translucent});
  EXPECT_EQ(b.GetTextOffset(), kTextOffset_Subscript);
  EXPECT_EQ(b.GetTextSize(), kTextSize_Small);
  EXPECT_EQ(b.GetBackgroundColor(), (CaptioningColor{0.0f, 0.0f, 2.0f / 3.0f, 0.5f}));
  // The default pen's white is the 708 white.
  EXPECT_EQ(ModelAttributesOf(DtvccPen{}, {}).GetForegroundColor(), kCaptioningColor_708_White);
  EXPECT_EQ(ModelColorOf({1, 1, 1, DtvccOpacity::Transparent}).Alpha(), 0.0f);
}

TEST(DtvccModel, StatesWriteAndReadBackAsAModelDocument) {
  std::vector<TimedCcData> data;
  At(data, 1, Packets(kHello));
  const ReadResult result = DecodeDtvccService(data);
  const std::string written = WriteModelDocument(*result.Timeline());
  const std::optional<ReadResult> read = ReadModelDocument(written, "states.json");
  ASSERT_TRUE(read && read->Timeline());
  EXPECT_EQ(WriteModelDocument(*read->Timeline()), written);
  EXPECT_EQ(RowText(read->Timeline()->States()[0].model, 0, 14), U"...........HELLO");
  EXPECT_EQ(read->Timeline()->States()[0].model->GetMaxColumns(), 42);
}

}  // namespace

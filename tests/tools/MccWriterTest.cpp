#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "captionfiles/ExportTimes.h"
#include "kelcaptionfiles/CaptionFileKinds.h"
#include "kelcaptionfiles/CaptionWriters.h"
#include "kelcaptionfiles/CcDataCaptions.h"
#include "support/DtvccData.h"
#include "support/SccWords.h"

namespace {

using namespace kelcaptioning;
using namespace kelcaptionfiles;
using namespace kel_test;
using kelmediatypes::TickTime;
using kelmediatypes::TimeDisplay;

// A frame at 29.97 frames a second.
const std::int64_t kTicksPerFrame = FrameClock(30000, 1001, false).TimeOf(1).GetTicks();

std::string ColorText(const CaptioningColor& c) {
  char text[48];
  std::snprintf(text, sizeof text, "%.2f,%.2f,%.2f,%.2f", static_cast<double>(c.Red()), static_cast<double>(c.Green()),
                static_cast<double>(c.Blue()), static_cast<double>(c.Alpha()));
  return text;
}

std::string AttributesText(const TextAttributes& a) {
  return "{" + ColorText(a.GetForegroundColor()) + " on " + ColorText(a.GetBackgroundColor()) + " size" +
         std::to_string(a.GetTextSize()) + " offset" + std::to_string(a.GetTextOffset()) + " font" +
         std::to_string(a.GetGenericFontFamilyID()) + " edge" + std::to_string(a.GetTextEdge()) +
         (a.IsItalic() ? " italic" : "") + (a.IsUnderlined() ? " underlined" : "") + "}";
}

// Everything a timeline's models hold, a state a line: times in frames at `frameTicks`, then each
// window in drawing order with its place and fill, and its rows cell by cell ('.' a missing cell),
// the attributes written where they change.
std::string StatesText(const ReadResult& read, std::int64_t frameTicks = kTicksPerFrame) {
  std::ostringstream out;
  for (const TimedModel& state : read.Timeline()->States()) {
    out << state.begin.GetTicks() / frameTicks << "-" << state.end.GetTicks() / frameTicks << " grid "
        << state.model->GetMaxRows() << "x" << state.model->GetMaxColumns();
    std::vector<int> order;
    state.model->GetWindowRenderOrder(order);
    for (int id : order) {
      const CaptioningRenderableModelWindowPtr window = state.model->GetWindow(id);
      out << " [window " << id << " anchor " << window->GetAnchorID() << " " << window->GetRowCount() << "x"
          << window->GetColumnCount() << " fill " << ColorText(window->GetFillColor()) << "]";
      std::string attributes;
      for (const CaptioningRenderableModelRowPtr& row : window->GetRows()) {
        out << " |";
        if (!row) continue;
        for (const CaptioningRenderableModelCellPtr& cell : row->GetCells()) {
          if (!cell) {
            out << '.';
            continue;
          }
          if (AttributesText(cell->GetTextAttributes()) != attributes) out << (attributes = AttributesText(cell->GetTextAttributes()));
          const char32_t c = cell->GetCharacter();
          if (c < 0x80) out << static_cast<char>(c);
          else out << "<U+" << static_cast<unsigned>(c) << ">";
        }
      }
    }
    out << "\n";
  }
  return out.str();
}

struct Written {
  WriteResult file;
  ReadResult back;
};

Written WriteMccAndRead(const ReadResult& source, TimeDisplay display, const ReadOptions& options = {.strict = true}) {
  WriteResult file = WriteCaptions(source, {kCaptioningExportFormat_MCC, display, true});
  ReadResult back = ReadCaptions(file.bytes, "out.mcc", options);
  return {std::move(file), std::move(back)};
}

// Line 21: a two-row pop-on caption, the first row indented with a colour change, and one after it.
TEST(MccWriter, LineTwentyOneCaptionsReadBackAsTheSccSourceShowsThem) {
  const ReadResult source = ReadCaptions(PopOnScc(), "in.scc", {.strict = true});
  const std::string expected = StatesText(source);
  ASSERT_NE(expected.find("1816-1866"), std::string::npos) << expected;
  for (const TimeDisplay display : {kelmediatypes::kTimeDisplay_2997DropTimecode, kelmediatypes::kTimeDisplay_2997NonDropTimecode}) {
    const Written out = WriteMccAndRead(source, display);
    EXPECT_EQ(StatesText(out.back), expected) << out.file.bytes;
    EXPECT_TRUE(out.file.notes.Empty()) << out.file.notes.Texts().front();
    const bool drop = display == kelmediatypes::kTimeDisplay_2997DropTimecode;
    EXPECT_NE(out.file.bytes.find(drop ? "Time Code Rate=30DF\n" : "Time Code Rate=30\n"), std::string::npos);
    // Frame 1800: the first of the minute, whose numbers 00 and 01 drop-frame time codes leave out.
    EXPECT_NE(out.file.bytes.find(drop ? "\n00:01:00;02\tT" : "\n00:01:00:00\tT"), std::string::npos);
    // Frames without a caption pair: the header, a null pair of each field, padding up to 20 triplets.
    EXPECT_NE(out.file.bytes.find("T49S494F43"), std::string::npos);
    EXPECT_NE(out.file.bytes.find("72F4QROO74"), std::string::npos);
  }
  // At other rates each pair goes to the frame its time falls in: the same captions, each shown
  // within a frame of its time at 29.97.
  for (const TimeDisplay display : {kelmediatypes::kTimeDisplay_23976Timecode, kelmediatypes::kTimeDisplay_25Timecode,
                                    kelmediatypes::kTimeDisplay_5994DropTimecode, kelmediatypes::kTimeDisplay_60Timecode}) {
    const Written out = WriteMccAndRead(source, display);
    const FrameClock clock(display);
    const auto& states = out.back.Timeline()->States();
    ASSERT_EQ(states.size(), source.Timeline()->States().size()) << out.file.bytes;
    for (std::size_t i = 0; i < states.size(); ++i) {
      const TickTime begin = source.Timeline()->States()[i].begin;
      EXPECT_LE(states[i].begin, begin) << display;
      EXPECT_GT(states[i].begin, begin - clock.TimeOf(1)) << display;
    }
  }
}

TickTime Frame(std::int64_t frame) { return TickTime(frame * kTicksPerFrame); }

void At(std::vector<TimedCcData>& data, std::int64_t frame, const std::vector<CcData>& triplets) {
  for (const CcData& t : triplets) data.push_back({Frame(frame), t});
}

// Two windows of different anchors, fills and pens; then the lower one written on in place, the
// upper one deleted, the lower one moved; then nothing.
ReadResult TwoWindows() {
  std::vector<TimedCcData> data;
  int sequence = 0;
  At(data, 30, Packets({DefineWindow({.id = 0, .priority = 1, .vertical = 10, .horizontal = 20, .rows = 2, .columns = 24}),
                        SetWindowAttributes({.fill = Color(0, 0, 0, 2)}), SetPenColor(Color(0, 3, 3, 0), Color(3, 0, 0, 0), 0),
                        Text("TOP LEFT "), SetPenAttributes({.italics = true, .edge = 3, .font = 2}), Text("it\xE9"),
                        SetPenLocation(1, 3), SetPenAttributes({.offset = 2, .size = 2, .underline = true}),
                        SetPenColor(Color(2, 3, 0, 3), Color(0, 1, 1, 1), 0), Text("row two")},
                       1, &sequence));
  At(data, 34, Packets({DefineWindow({.id = 3, .priority = 0, .vertical = 74, .horizontal = 105, .anchorPoint = 7,
                                      .rows = 1, .columns = 30}),
                        SetWindowAttributes({.fill = Color(3, 0, 0, 0)}), SetPenColor(Color(0, 3, 0, 3), Color(3, 0, 0, 0), 0),
                        Text("BOTTOM "), SetPenColor(Color(0, 3, 0, 3), Color(0, 3, 0, 0), 0), WithByte(0x10, 0xA0),
                        SetPenLocation(0, 10), Text("!")},
                       1, &sequence));
  At(data, 90, Packets({WithByte(0x83, 0), Text(" MORE")}, 1, &sequence));
  At(data, 91, Packets({WithByte(0x8C, 0x01)}, 1, &sequence));
  At(data, 150, Packets({DefineWindow({.id = 3, .vertical = 40, .horizontal = 209, .anchorPoint = 5, .rows = 3,
                                       .columns = 6, .windowStyle = 0, .penStyle = 0})},
                        1, &sequence));
  At(data, 200, Packets({WithByte(0x8C, 0xFF)}, 1, &sequence));
  return DecodeCcData(data);
}

TEST(MccWriter, DigitalTvWindowsReadBackWithTheirPlacesFillsAndPens) {
  const ReadResult source = TwoWindows();
  const std::string expected = StatesText(source);
  ASSERT_EQ(source.Timeline()->States().size(), 5u) << expected;
  ASSERT_NE(expected.find("[window 0 anchor 0 0x28 fill 0.00,0.00,0.00,0.00] | | |....{"), std::string::npos) << expected;
  ASSERT_NE(expected.find("[window 3 anchor 7 0x36 fill"), std::string::npos) << expected;
  for (const TimeDisplay display : {kelmediatypes::kTimeDisplay_2997NonDropTimecode, kelmediatypes::kTimeDisplay_5994DropTimecode}) {
    const Written out = WriteMccAndRead(source, display);
    // At 59.94 a frame is half as long and carries half the data: the changes are sent in more
    // frames before they show, and show at the same time.
    const std::int64_t frameTicks = display == kelmediatypes::kTimeDisplay_5994DropTimecode ? kTicksPerFrame / 2 : kTicksPerFrame;
    std::string got = StatesText(out.back, frameTicks);
    if (frameTicks != kTicksPerFrame) {
      EXPECT_EQ(got.substr(0, got.find('-')), "60") << got;
      got = StatesText(out.back);
    }
    EXPECT_EQ(got, expected) << out.file.bytes;
    EXPECT_TRUE(out.file.notes.Empty()) << out.file.notes.Texts().front();
    EXPECT_TRUE(out.back.notes.Empty()) << out.back.notes.Texts().front();
    // Line 21 carries the same captions for older decoders.
    const ReadResult line21 = ReadCaptions(out.file.bytes, "out.mcc", {.channel = 1});
    ASSERT_FALSE(line21.Empty());
    EXPECT_NE(StatesText(line21).find("BOTTOM"), std::string::npos);
  }
}

TEST(MccWriter, ChangesThatCannotBeSentInTimeShowLateAndAreSaid) {
  // Two full windows a frame apart: the second needs more frames than the first leaves.
  std::vector<TimedCcData> data;
  int sequence = 0;
  const std::string full(30, 'x');
  At(data, 100, Packets({DefineWindow({.rows = 2, .columns = 30}), Text(full), SetPenLocation(1, 0), Text(full)}, 1, &sequence));
  At(data, 101, Packets({WithByte(0x8C, 0x01), DefineWindow({.id = 1, .rows = 2, .columns = 30}), Text(full),
                         SetPenLocation(1, 0), Text(full)},
                        1, &sequence));
  At(data, 200, Packets({WithByte(0x8C, 0xFF)}, 1, &sequence));
  const ReadResult source = DecodeCcData(data);
  const Written out = WriteMccAndRead(source, kelmediatypes::kTimeDisplay_2997DropTimecode);
  EXPECT_EQ(out.file.notes.Texts(),
            std::vector<std::string>{"captions shown late, the one before leaving too few frames to send them"});
  const auto& states = out.back.Timeline()->States();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0].begin, Frame(100));
  EXPECT_GT(states[1].begin, Frame(101));
  EXPECT_EQ(states[1].end, Frame(200));
}

}  // namespace

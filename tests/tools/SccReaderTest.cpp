#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <string>
#include <vector>

#include "captionfiles/SccReader.h"
#include "support/ReadExpectations.h"
#include "support/SccWords.h"

namespace {

using namespace kelcaptioning;
using namespace kelcaptionfiles;
using kelmediatypes::TickTime;
using kel_test::Words;

TickTime Frame(std::int64_t frame) { return TickTime(frame * (TickTime::kTicksPerSecond / 30000 * 1001)); }

std::u32string RowText(const CaptioningRenderableModelPtr& model, int row) {
  std::u32string text;
  const auto rows = model->GetWindow(0)->GetRows();
  for (const auto& cell : rows[static_cast<std::size_t>(row)]->GetCells()) text += cell ? cell->GetCharacter() : U'.';
  return text;
}

TEST(SccReader, PopOnCaptionsShowAndClearAtTheirFrames) {
  // Pop-on at 00:00:01:00 (frame 30): RCL RCL ENM ENM PAC(row 15, indent 4) x2, text, EOC EOC.
  const std::string file = "Scenarist_SCC V1.0\r\n\r\n00:00:01:00\t9420 9420 94ae 94ae 94f2 94f2" + Words("Hi, ") +
                           " 9137 9137 942f 942f\r\n\r\n"
                           "00:00:03;00\t942c 942c 9423\r\n";  // drop frame: 00:00:03;00 is frame 90
  const ReadResult scc = ReadScc(file, "a.scc");
  const auto& states = scc.Timeline()->States();
  ASSERT_EQ(states.size(), 1u);
  // The second EOC copy is pair 11 of the line (from 0): the first copy acts, at pair 10.
  EXPECT_EQ(states[0].begin, Frame(30 + 10));
  EXPECT_EQ(states[0].end, Frame(90));
  EXPECT_EQ(RowText(states[0].model, 14), U"....Hi, \u266A");
  EXPECT_EQ(states[0].cause, (StateCause{CaptionStyle::PopOn, false}));
  EXPECT_EQ(scc.notes.Texts(), std::vector<std::string>{"alarm codes (AOF/AON): 1 time"});
  EXPECT_EQ(scc.notes.All()[0].first.Text(), "5:23");  // the 9423 of the last line
}

// Each state says the style it came in, and which ones a carriage return rolled up, so that writers
// and burning can keep the roll-up.
TEST(SccReader, RollUpStatesSayWhichOnesRolled) {
  const std::string file = "Scenarist_SCC V1.0\n\n00:00:01:00\t9425 9425 94ad 94ad" + Words("One") + " 94ad 94ad" +
                           Words("Two") + "\n\n";
  const ReadResult scc = ReadScc(file, "a.scc");
  const auto& states = scc.Timeline()->States();
  ASSERT_EQ(states.size(), 5u);  // the pairs "On" and "e", the roll, "Tw" and "o"
  std::vector<bool> rolled;
  for (const TimedModel& state : states) {
    EXPECT_EQ(state.cause.style, CaptionStyle::RollUp);
    EXPECT_EQ(state.cause.rollUpBaseRow, 14);  // RU2 from another style: two rows at the bottom
    EXPECT_EQ(state.cause.rollUpRows, 2);
    rolled.push_back(state.cause.rolledUp);
  }
  EXPECT_EQ(rolled, (std::vector<bool>{false, false, true, false, false}));
  EXPECT_EQ(RowText(states[2].model, 13), U"One");
}

// Flash on (FON) takes a cell like a mid-row code, and what follows it up to the next mid-row code
// blinks on a clock from time 0: on in the first half of each second, off in the second.
TEST(SccReader, FlashingTextBlinksOnceASecond) {
  const auto sceneFrom = [](const std::string& end) {
    // At 00:00:00:00, pop-on in row 15 at indent 4: "AB", FON, "CD", mid-row white, "EF", EOC at
    // pair 13 (0.43 s).
    return "Scenarist_SCC V1.0\n00:00:00:00\t9420 9420 94ae 94ae 94f2 94f2" + Words("AB") + " 94a8 94a8" + Words("CD") +
           " 9120 9120" + Words("EF") + " 942f 942f\n" + end;
  };
  const ReadResult scc = ReadScc(sceneFrom("00:00:05:00\t942c 942c\n"), "f.scc");
  EXPECT_TRUE(scc.notes.Empty()) << ::testing::PrintToString(scc.notes.Texts());
  const CaptionTimeline& timeline = *scc.Timeline();
  const TickTime shown = Frame(13), halfSecond(TickTime::kTicksPerSecond / 2), second(TickTime::kTicksPerSecond);
  const auto rowAt = [&](TickTime time) {
    const TimedModel* state = timeline.At(time);
    return state ? RowText(state->model, 14) : U"nothing";
  };
  const std::u32string on = U"....AB CD EF", off = U"....AB    EF";
  EXPECT_EQ(rowAt(shown), on);
  EXPECT_EQ(rowAt(shown + halfSecond), off);
  EXPECT_EQ(rowAt(shown + second), on);
  EXPECT_EQ(rowAt(TickTime(second.GetTicks() * 4 + halfSecond.GetTicks())), off);
  EXPECT_EQ(rowAt(Frame(149)), off);     // 4.97 s
  EXPECT_EQ(rowAt(Frame(150)), U"nothing");  // erased at 5.005 s
  // A state each half second: 0.43 s, 0.5 s, ... 5.0 s.
  EXPECT_EQ(timeline.States().size(), 11u);
  EXPECT_EQ(timeline.States().front().begin, shown);
  EXPECT_EQ(timeline.States().back().begin, TickTime(second.GetTicks() * 5));

  // Left up to the end, it blinks for an hour, then stays on.
  const ReadResult endless = ReadScc(sceneFrom(""), "e.scc");
  const auto& states = endless.Timeline()->States();
  EXPECT_EQ(states.size(), 2u * 3600u + 1u);
  EXPECT_EQ(RowText(states.back().model, 14), on);
  EXPECT_EQ(states.back().end, kelmediatypes::kTime_Max);
  EXPECT_LE(states.back().begin, shown + TickTime(second.GetTicks() * 3600));
}

TEST(SccReader, TimeCodesInDropAndNonDropFrame) {
  const auto firstState = [](const std::string& code) {
    return ReadScc("Scenarist_SCC V1.0\n" + code + "\t9429 9429" + Words("A") + "\n", "t.scc").Timeline()->States().at(0).begin;
  };
  // The character is the third pair of its line.
  EXPECT_EQ(firstState("00:01:00;02"), Frame(1800 + 2));     // the first frame number of minute 1
  EXPECT_EQ(firstState("00:10:00;00"), Frame(17982 + 2));    // every tenth minute keeps ;00
  EXPECT_EQ(firstState("01:00:00:00"), Frame(108000 + 2));   // non-drop counts 30 a second
  // Pairs that cannot all be sent before the next time code push that line's pairs back.
  const std::string crowded = "Scenarist_SCC V1.0\n00:00:00:00\t9429 9429 94d0 94d0\n00:00:00:02\t" + Words("AB").substr(1) + "\n";
  EXPECT_EQ(ReadScc(crowded, "c.scc").Timeline()->States().at(0).begin, Frame(4));
  // The first time code tells how the file counts, for those who write its times back.
  const auto rateOf = [](const std::string& code) {
    return ReadScc("Scenarist_SCC V1.0\n" + code + "\t9429 9429" + Words("A") + "\n", "t.scc").timeCodeRate.value();
  };
  EXPECT_TRUE(rateOf("00:01:00;02").dropFrame);
  EXPECT_FALSE(rateOf("00:01:00:02").dropFrame);
  EXPECT_EQ(rateOf("00:01:00:02").numerator, 30000);
  EXPECT_EQ(rateOf("00:01:00:02").denominator, 1001);
}

TEST(SccReader, ChannelTwoIsReadApart) {
  // Channel 1 pops on a caption; channel 2 paints its own.
  const std::string file = "Scenarist_SCC V1.0\n00:00:00:00\t9420 91d0" + Words("ONE") + " 942f\n00:00:01:00\t1c29 19d0" +
                           Words("TWO") + "\n";
  EXPECT_EQ(RowText(ReadScc(file, "c.scc", {.channel = 1}).Timeline()->States().at(0).model, 0), U"ONE");
  const auto second = ReadScc(file, "c.scc", {.channel = 2});
  EXPECT_EQ(RowText(second.Timeline()->States().at(1).model, 0), U"TWO");  // after "TW"
  EXPECT_EQ(second.Timeline()->States()[1].model->GetStreamFormat(), kStreamFormat_CEA608_CC2);
}

TEST(SccReader, MalformedFilesNameTheLineAndColumn) {
  const auto error = [](const std::string& file) -> std::string {
    try {
      ReadScc(file, "bad.scc", {.strict = true});
    } catch (const ReadError& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(error("00:00:00:00\t9420\n"), "bad.scc:1:1: expected the header \"Scenarist_SCC V1.0\"");
  EXPECT_EQ(error("Scenarist_SCC V1.0\n00:00:00:00\t9420 9421\n"), "bad.scc:2:20: byte 21 fails its odd parity check");
  EXPECT_EQ(error("Scenarist_SCC V1.0\n00:00:05:00\t9420\n00:00:04:00\t9420\n"), "bad.scc:3:1: time codes must not go back");
}

// Each kind of damage between good captions: the captions are decoded as a decoder shows them
// and each kind is reported once, where it first stands.
TEST(SccReader, DamagedPairsAndTimeCodesAreReadAroundAsADecoderDoes) {
  const std::string file = "Scenarist_SCC V1.0\n"
                           "00:00:01:00\t9420 9420 94f2 94f2" + Words("GOOD") + " 142f 942f\n"  // the first EOC fails parity
                           "00:00:02:30\t942c 942c\n"                                        // frame 30: 00:00:03:00
                           "00:01:00;00\t9420 9420 94f2 94f2" + Words("NEXT") + " 942f 942f 80\n"  // no such frame; a lone byte
                           "00:00:30:00\t942c 942c zz12\n";                                   // back in time; not a pair
  const ReadResult scc = ReadScc(file, "d.scc");
  const auto& states = scc.Timeline()->States();
  ASSERT_EQ(states.size(), 2u);
  // The good copy of the doubled EOC acts: the bad one was dropped, in its own frame.
  EXPECT_EQ(states[0].begin, Frame(30 + 7));
  EXPECT_EQ(states[0].end, Frame(90));
  EXPECT_EQ(RowText(states[0].model, 14), U"....GOOD");
  EXPECT_EQ(states[1].begin, Frame(1800 + 6));  // 00:01:00;02 is frame 1800
  EXPECT_EQ(states[1].end, Frame(1808));         // the late line goes out after the one before
  EXPECT_EQ(RowText(states[1].model, 14), U"....NEXT");
  kel_test::ExpectNotes(
      scc.notes,
      {{"byte pairs that fail their odd parity check (dropped, as a decoder drops them): 1 time", "2:43"},
       {"time codes with fields out of range (carried over): 1 time", "3:1"},
       {"drop-frame time codes that do not exist (read as frame 02 of their minute): 1 time", "4:1"},
       {"lone bytes at the end of a line (ignored): 1 time", "4:53"},
       {"time codes that go back (their pairs sent after the line before): 1 time", "5:1"},
       {"words that are not byte pairs of four hex digits (skipped): 1 time", "5:23"},
       {"lines whose pairs start after their time code, because the line before was still being sent: 1 time", "5:1"}});
  // No header: read all the same.
  EXPECT_EQ(ReadScc(file.substr(file.find('\n') + 1), "h.scc").Timeline()->States().size(), 2u);
}

}  // namespace

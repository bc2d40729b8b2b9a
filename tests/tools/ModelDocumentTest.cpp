#include <gtest/gtest.h>

#include "kelcaptionfiles/ModelDocument.h"
#include "samples/SampleModels.h"

namespace {

using namespace kelcaptioning;
using kelcaptionfiles::CaptionTimeline;
using kelcaptionfiles::ReadError;
using kelcaptionfiles::ReadModelDocument;
using kelcaptionfiles::WriteModelDocument;
using kelmediatypes::TickTime;

constexpr std::int64_t kTicksPerMs = TickTime::kTicksPerSecond / 1000;

TEST(ModelDocument, EveryModelAttributeSurvivesARoundTrip) {
  CaptionTimeline timeline;
  timeline.Show(TickTime(0), TickTime(1000 * kTicksPerMs), kelcaption::MakeGridShowcase());
  timeline.Show(TickTime(1000 * kTicksPerMs), TickTime(2000 * kTicksPerMs), kelcaption::MakeGridSample());
  timeline.Show(TickTime(2500 * kTicksPerMs), kelmediatypes::kTime_Max, kelcaption::MakeSubtitleSample());
  const std::string written = WriteModelDocument(timeline);
  const std::optional<kelcaptionfiles::ReadResult> result = ReadModelDocument(written, "m.json");
  ASSERT_TRUE(result.has_value() && result->Timeline());
  const CaptionTimeline* read = result->Timeline();
  EXPECT_EQ(WriteModelDocument(*read), written);
  ASSERT_EQ(read->States().size(), 3u);

  // Cell by cell, the showcase reads back as it was made (null cells and rows included).
  const auto original = kelcaption::MakeGridShowcase()->GetWindow(0)->GetRows();
  const auto back = read->States()[0].model->GetWindow(0)->GetRows();
  std::size_t cells = 0;
  for (std::size_t r = 0; r < original.size(); ++r) {
    const CellList a = original[r] ? original[r]->GetCells() : CellList{};
    const CellList b = r < back.size() && back[r] ? back[r]->GetCells() : CellList{};
    for (std::size_t c = 0; c < std::max(a.size(), b.size()); ++c) {
      const bool hasA = c < a.size() && a[c], hasB = c < b.size() && b[c];
      ASSERT_EQ(hasA, hasB) << "row " << r << " column " << c;
      if (!hasA) continue;
      ++cells;
      EXPECT_EQ(a[c]->GetCharacter(), b[c]->GetCharacter());
      EXPECT_TRUE(a[c]->GetTextAttributes() == b[c]->GetTextAttributes()) << "row " << r << " column " << c;
    }
  }
  EXPECT_GT(cells, 50u);
}

TEST(ModelDocument, HandWrittenStatesWithDefaultsAndOddCodePoints) {
  const std::string text = R"({
    "format": "TL10",
    "states": [{"begin": "00:00:01.000", "windows": [{"rows": [
      {"row": 3, "runs": [{"column": 2, "text": "Ab", "rowsUsed": 2, "size": "large", "family": "cursive",
                           "offset": "superscript", "foreground": "#FF0000"},
                          {"column": 5, "codePoints": [55296, 1114112], "family": 5}]}]}]}]})";
  const auto result = ReadModelDocument(text, "h.json");
  ASSERT_TRUE(result.has_value() && result->Timeline());
  const CaptionTimeline* timeline = result->Timeline();
  const auto& model = timeline->States().at(0).model;
  EXPECT_EQ(model->GetStreamFormat(), kStreamFormat_TeletextLevel10);
  const auto window = model->GetWindow(0);
  EXPECT_EQ(window->GetColumnCount(), 40);  // the format's grid when a window names none
  const CellList cells = window->GetRows().at(3)->GetCells();
  ASSERT_EQ(cells.size(), 7u);
  EXPECT_FALSE(cells[0] || cells[1] || cells[4]);
  const TextAttributes a = cells[3]->GetTextAttributes();
  EXPECT_EQ(cells[3]->GetCharacter(), U'b');
  EXPECT_EQ(a.GetRowsUsed(), 2);
  EXPECT_EQ(a.GetForegroundColor(), (CaptioningColor{1, 0, 0, 1}));
  EXPECT_EQ(a.GetBackgroundColor(), kCaptioningColor_Black);  // left out: the model's default
  EXPECT_EQ(cells[6]->GetCharacter(), char32_t{0x110000});
  EXPECT_EQ(cells[6]->GetTextAttributes().GetGenericFontFamilyID(), kGenericFontFamily_Casual);
  // Code points no UTF-8 can hold are written back as numbers.
  EXPECT_NE(WriteModelDocument(*timeline).find("\"codePoints\""), std::string::npos);
  // Not a model document: the caption document reader's turn.
  EXPECT_FALSE(ReadModelDocument(R"({"format": "OPEN", "captions": []})", "c.json").has_value());
}

TEST(ModelDocument, ValuesOfTheWrongKindNameTheirPointer) {
  const auto error = [](const std::string& text) -> std::string {
    try {
      ReadModelDocument(text, "bad.json", {.strict = true});
    } catch (const ReadError& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(error(R"({"states": [{"begin": 0, "windows": [{"rows": [{"row": 0, "runs": [{"column": 30, "text": "abc"}]}]}]}]})"),
            "bad.json: /states/0/windows/0/rows/0/runs/0: the run goes past the last column");
  EXPECT_EQ(error(R"({"states": [{"begin": 5, "windows": []}, {"begin": 4, "windows": []}]})"),
            "bad.json: /states/1/begin: states must be in time order");
}

}  // namespace

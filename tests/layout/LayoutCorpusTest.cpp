// Every subtitle file of tests/data/layout, laid out with real fonts in a 1280 x 720 frame: in
// every state, no two rows overlap (so no two captions shown together do) and every row lies
// inside the frame; every paragraph that wraps is balanced.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "kelcaption/CaptionStates.h"
#include "kelcaptionfiles/CaptionFileKinds.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioningui/KelCaptioningUI.h"

namespace {

constexpr int kWidth = 1280, kHeight = 720;

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(KEL_DATA) + "/layout")) {
    files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(LayoutCorpus, CaptionsShownTogetherNeitherOverlapNorLeaveTheFrame) {
  const std::vector<std::string> files = CorpusFiles();
  ASSERT_GE(files.size(), 4u);
  kelcaption::Frame frame(kWidth, kHeight);
  for (const std::string& file : files) {
    kelcaption::CaptionFileOptions options;
    options.file = file;
    const kelcaptionfiles::CaptionTimeline states = kelcaption::LoadCaptionStates(options, kWidth, kHeight, frame);
    ASSERT_FALSE(states.Empty()) << file;
    for (const kelcaptionfiles::TimedModel& state : states.States()) {
      kelcaptioningui::CaptionRectList rows;
      kelcaptioningui::GetCaptionRects(state.model, &frame.Inkpad(), {0, 0, kWidth, kHeight}, rows);
      const auto at = std::to_string(state.begin.GetSeconds()) + " s of " + file;
      ASSERT_FALSE(rows.empty()) << at;
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= kWidth && r.y + r.height <= kHeight)
            << "row " << i << " at " << r.x << ',' << r.y << ' ' << r.width << 'x' << r.height << " leaves the frame, "
            << at;
        for (std::size_t j = 0; j < i; ++j) {
          const auto& o = rows[j];
          EXPECT_FALSE(r.x < o.x + o.width && o.x < r.x + r.width && r.y < o.y + o.height && o.y < r.y + r.height)
              << "rows " << j << " and " << i << " overlap, " << at;
        }
      }
    }
  }
}

std::u16string WithoutSpaces(std::u16string_view text) {
  std::u16string kept;
  for (char16_t c : text) {
    if (c != u' ') kept.push_back(c);
  }
  return kept;
}

// A wrapped paragraph's lines are as even as the words allow: none is less than half as wide as
// the widest (these files have no word near the width of a line), and none is wider than the area.
TEST(LayoutCorpus, WrappedLinesAreBalanced) {
  kelcaption::Frame frame(kWidth, kHeight);
  kelcaption::InkpadMeasurer measurer(frame.Inkpad());
  const int areaWidth = kelcaptioning::DefaultCaptionAreaSize(kWidth);
  const int areaHeight = kelcaptioning::DefaultCaptionAreaSize(kHeight);
  int wrapped = 0;
  for (const std::string& file : CorpusFiles()) {
    kelcaptionfiles::ReadOptions read;
    read.style = kelcaptionfiles::DefaultSubtitleStyle(kHeight);
    kelcaptionfiles::ReadResult result = kelcaptionfiles::ReadCaptionFile(file, read);
    kelcaptionfiles::FileNotes notes;
    const auto laid = kelcaptionfiles::LayOutOpenCaptions(*result.List(), result.boxes, kWidth, kHeight, areaWidth,
                                                          areaHeight, measurer, notes);
    const auto sources = result.List()->GetCaptions();
    const auto captions = laid->GetCaptions();
    ASSERT_EQ(sources.size(), captions.size()) << file;
    for (std::size_t c = 0; c < captions.size(); ++c) {
      const auto lines = captions[c]->GetCaptionTextParagraphs();
      std::size_t next = 0;
      for (const auto& source : sources[c]->GetCaptionTextParagraphs()) {
        // The lines that this paragraph became: their text, spaces aside, is the paragraph's.
        const std::u16string whole = WithoutSpaces(source->GetText());
        std::u16string joined;
        int narrowest = areaWidth, widest = 0;
        std::size_t count = 0;
        while (next < lines.size() && joined.size() < whole.size()) {
          joined += WithoutSpaces(lines[next]->GetText());
          narrowest = std::min(narrowest, lines[next]->GetParagraphLineWidth());
          widest = std::max(widest, lines[next]->GetParagraphLineWidth());
          ++next, ++count;
        }
        ASSERT_EQ(joined, whole) << file << " caption " << c;
        EXPECT_LE(widest, areaWidth) << file << " caption " << c;
        if (count < 2) continue;
        ++wrapped;
        if (whole.find(u"Supercalifragilistic") != std::u16string::npos) continue;  // one word cut, not balanced
        EXPECT_GE(narrowest * 2, widest) << file << " caption " << c;
      }
    }
  }
  EXPECT_GE(wrapped, 10);
}

}  // namespace

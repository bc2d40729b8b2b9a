#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "kelcaption/CaptionChecks.h"
#include "kelcaption/CaptionStates.h"
#include "tools/ToolShell.h"

// The report's checks on small caption files, each with one that trips it and one that does not.

namespace {

using namespace kelcaption;
using kelmediatypes::TickTime;

TickTime Seconds(double s) { return TickTime(static_cast<std::int64_t>(s * static_cast<double>(TickTime::kTicksPerSecond))); }

class CaptionChecks : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(folder_); }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // The states each check flags in `text`, read as a file called `name`, by check name.
  std::map<std::string, std::vector<std::size_t>> Flags(const std::string& name, const std::string& text,
                                                        const CheckLimits& limits = {},
                                                        std::optional<std::pair<TickTime, TickTime>> video = {}) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    CaptionFileOptions options;
    options.file = path.string();
    Frame measuring(1, 1);
    const auto timeline = LoadCaptionStates(options, 1920, 1080, measuring);
    const std::vector<StateFacts> states = FactsOf(timeline, measuring.Inkpad(), 1920, 1080);
    CheckSetting setting;
    setting.videoSpan = video;
    setting.lineLength = DefaultLineLength(timeline.States().front().model->GetStreamFormat(),
                                           timeline.States().front().model->GetMaxColumns());
    std::map<std::string, std::vector<std::size_t>> found;
    for (const Flag& flag : RunChecks(states, AppearancesOf(states), limits, setting)) {
      found[CheckName(flag.kind)].push_back(flag.state);
      EXPECT_FALSE(flag.detail.empty());
    }
    return found;
  }

  // Two SubRip cues, "HH:MM:SS,mmm --> HH:MM:SS,mmm" each.
  static std::string Srt(const std::string& first, const std::string& text1, const std::string& second = "",
                         const std::string& text2 = "") {
    std::string srt = "1\n" + first + "\n" + text1 + "\n";
    if (!second.empty()) srt += "\n2\n" + second + "\n" + text2 + "\n";
    return srt;
  }

  // One state of a model document with caption windows of line-21's grid: {areaRatio, row, column, text}.
  struct GridWindow {
    double areaRatio;
    int row, column;
    std::string text;
  };
  static std::string ModelDocument(const std::vector<GridWindow>& windows) {
    std::string list, order;
    for (std::size_t n = 0; n < windows.size(); ++n) {
      const GridWindow& w = windows[n];
      list += std::string(n ? "," : "") + R"({"anchor": 0, "areaRatio": )" + std::to_string(w.areaRatio) +
              R"(, "columnCount": 32, "fill": "#00000000", "number": )" + std::to_string(n) +
              R"(, "rowCount": 15, "visible": true, "rows": [{"row": )" + std::to_string(w.row) +
              R"(, "runs": [{"background": "#000000FF", "column": )" + std::to_string(w.column) +
              R"(, "edge": 0, "family": "default", "foreground": "#FFFFFFFF", "italic": false, "offset": "normal",
                 "rowsUsed": 1, "size": "standard", "text": ")" + w.text + R"(", "underline": false}]}]})";
      order += std::string(n ? "," : "") + std::to_string(n);
    }
    return R"({"format": "6CC1", "states": [{"begin": "00:00:01.000", "end": "00:00:03.000", "format": "6CC1",
               "maxColumns": 32, "maxRows": 15, "renderOrder": [)" + order + R"(], "windows": [)" + list + "]}]}";
  }

  std::filesystem::path folder_ = kel_test::ScratchFolder("caption-checks");
};

using States = std::vector<std::size_t>;

TEST_F(CaptionChecks, ReadingSpeedCountsTheCharactersAViewerReads) {
  const std::string thirty = "Thirty characters in one line";  // and a full stop: 30
  EXPECT_EQ(Flags("fast.srt", Srt("00:00:01,000 --> 00:00:02,000", thirty + "."))["reading-speed"], States{0});
  EXPECT_EQ(Flags("slow.srt", Srt("00:00:01,000 --> 00:00:03,000", thirty + "."))["reading-speed"], States{});
  CheckLimits faster;
  faster.maxCharactersPerSecond = 31;
  EXPECT_EQ(Flags("fast.srt", Srt("00:00:01,000 --> 00:00:02,000", thirty + "."), faster)["reading-speed"], States{});
  // Roll-up: the characters arrive two a frame, then stay; the speed is of the whole caption.
  const std::string rollUp =
      "Scenarist_SCC V1.0\n\n"
      "00:00:01:00\t9425 9425 94e0 94e0 52ef ecec e96e 6780\n\n"
      "00:00:03:00\t94ad 94ad 52ef ecec e96e 6780\n\n"
      "00:00:05:00\t942c 942c\n";
  const auto rolled = Flags("roll-up.scc", rollUp);
  EXPECT_EQ(rolled.count("reading-speed"), 0u);
  EXPECT_EQ(rolled.count("too-short"), 0u);
}

TEST_F(CaptionChecks, DisplayTimesTooShortAndTooLong) {
  const auto brief = Flags("brief.srt", Srt("00:00:01,000 --> 00:00:01,500", "Hi"));
  EXPECT_EQ(brief.at("too-short"), States{0});
  EXPECT_EQ(brief.count("too-long"), 0u);
  EXPECT_EQ(Flags("enough.srt", Srt("00:00:01,000 --> 00:00:02,000", "Hi")).count("too-short"), 0u);
  const auto lasting = Flags("lasting.srt", Srt("00:00:01,000 --> 00:00:09,000", "Hi"));
  EXPECT_EQ(lasting.at("too-long"), States{0});
  EXPECT_EQ(lasting.count("too-short"), 0u);
  EXPECT_EQ(Flags("six.srt", Srt("00:00:01,000 --> 00:00:07,000", "Hi")).count("too-long"), 0u);
  CheckLimits limits;
  limits.minSeconds = 0.4;
  limits.maxSeconds = 10;
  EXPECT_EQ(Flags("brief.srt", Srt("00:00:01,000 --> 00:00:01,500", "Hi"), limits).count("too-short"), 0u);
  EXPECT_EQ(Flags("lasting.srt", Srt("00:00:01,000 --> 00:00:09,000", "Hi"), limits).count("too-long"), 0u);
}

TEST_F(CaptionChecks, GapsUnderTwoFramesAtTheRateInUse) {
  // 25 frames a second: 40 ms is one frame.
  EXPECT_EQ(Flags("flicker.srt", Srt("00:00:01,000 --> 00:00:02,000", "One", "00:00:02,040 --> 00:00:03,000", "Two"))
                .at("short-gap"),
            States{1});
  EXPECT_EQ(Flags("two-frames.srt", Srt("00:00:01,000 --> 00:00:02,000", "One", "00:00:02,080 --> 00:00:03,000", "Two"))
                .count("short-gap"),
            0u);
  // Back to back is no gap.
  EXPECT_EQ(Flags("joined.srt", Srt("00:00:01,000 --> 00:00:02,000", "One", "00:00:02,000 --> 00:00:03,000", "Two"))
                .count("short-gap"),
            0u);
}

TEST_F(CaptionChecks, LinesLongerThanTheFormatAllows) {
  const std::string fortyTwo = "Forty-two characters fill a subtitle line.";
  ASSERT_EQ(CharacterCount(fortyTwo), 42);
  EXPECT_EQ(Flags("long.srt", Srt("00:00:01,000 --> 00:00:05,000", fortyTwo + "!")).at("long-line"), States{0});
  EXPECT_EQ(Flags("full.srt", Srt("00:00:01,000 --> 00:00:05,000", fortyTwo)).count("long-line"), 0u);
  // Characters, not bytes.
  const std::string accented = "Éléphants à l'été, déjà vus près d'ici, ça";
  ASSERT_EQ(CharacterCount(accented), 42);
  EXPECT_EQ(Flags("accents.srt", Srt("00:00:01,000 --> 00:00:05,000", accented)).count("long-line"), 0u);
  // Line-21 captions: 32, which a full row of the grid keeps to.
  EXPECT_EQ(DefaultLineLength(kelcaptioning::kStreamFormat_CEA608_CC1, 32), 32);
  EXPECT_EQ(DefaultLineLength(kelcaptioning::kStreamFormat_TeletextLevel10, 40), 40);
  EXPECT_EQ(Flags("fits.json", ModelDocument({{0.8, 14, 0, "Thirty-two characters in one row"}})).count("long-line"), 0u);
  CheckLimits shorter;
  shorter.maxLineLength = 31;
  EXPECT_EQ(Flags("fits.json", ModelDocument({{0.8, 14, 0, "Thirty-two characters in one row"}}), shorter).at("long-line"),
            States{0});
  CheckLimits limits;
  limits.maxLineLength = 50;
  EXPECT_EQ(Flags("long.srt", Srt("00:00:01,000 --> 00:00:05,000", fortyTwo + "!"), limits).count("long-line"), 0u);
}

TEST_F(CaptionChecks, TextOutsideTheTitleSafeArea) {
  EXPECT_EQ(Flags("corner.json", ModelDocument({{1.0, 0, 0, "In the corner"}})).at("outside-title-safe"), States{0});
  EXPECT_EQ(Flags("inside.json", ModelDocument({{0.8, 0, 0, "In the corner"}})).count("outside-title-safe"), 0u);
  CheckLimits narrow;
  narrow.titleSafe = 0.5;
  EXPECT_EQ(Flags("inside.json", ModelDocument({{0.8, 0, 0, "In the corner"}}), narrow).at("outside-title-safe"),
            States{0});
}

TEST_F(CaptionChecks, CaptionsDrawnOverEachOther) {
  EXPECT_EQ(Flags("over.json", ModelDocument({{0.8, 14, 4, "Hello, world"}, {0.8, 14, 8, "Over it"}})).at("overlap"),
            States{0});
  EXPECT_EQ(Flags("apart.json", ModelDocument({{0.8, 14, 4, "Hello, world"}, {0.8, 2, 8, "Apart"}})).count("overlap"),
            0u);
  // Subtitles stacked one above the other touch but are not drawn over each other.
  EXPECT_EQ(Flags("stacked.srt", Srt("00:00:01,000 --> 00:00:04,000", "First", "00:00:02,000 --> 00:00:04,000", "Second"))
                .count("overlap"),
            0u);
}

TEST_F(CaptionChecks, EmptyCaptions) {
  // A pop-on caption of spaces only.
  const std::string spaces =
      "Scenarist_SCC V1.0\n\n00:00:01:00\t9420 9420 94d0 94d0 2020 2020 942f 942f\n\n00:00:03:00\t942c 942c\n";
  EXPECT_EQ(Flags("spaces.scc", spaces).at("empty"), States{0});
  const std::string hello =
      "Scenarist_SCC V1.0\n\n00:00:01:00\t9420 9420 94d0 94d0 c8e5 ecec ef80 942f 942f\n\n00:00:03:00\t942c 942c\n";
  EXPECT_EQ(Flags("hello.scc", hello).count("empty"), 0u);
}

TEST_F(CaptionChecks, CaptionsOutsideTheVideoNeverShow) {
  const std::string srt = Srt("00:00:01,000 --> 00:00:02,000", "Early", "00:00:10,000 --> 00:00:11,000", "Late");
  EXPECT_EQ(Flags("late.srt", srt, {}, std::pair{Seconds(0), Seconds(5)}).at("never-shown"), States{1});
  // Captions timed from a time code: the video covers 00:00:01.5 onwards of their time.
  EXPECT_EQ(Flags("late.srt", srt, {}, std::pair{Seconds(2), Seconds(12)}).at("never-shown"), States{0});
  EXPECT_EQ(Flags("late.srt", srt, {}, std::pair{Seconds(0), Seconds(12)}).count("never-shown"), 0u);
  // Without a video nothing is known.
  EXPECT_EQ(Flags("late.srt", srt).count("never-shown"), 0u);
}

}  // namespace

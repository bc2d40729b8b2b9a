#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "kelcaption/CommandLine.h"
#include "kelcaption/DisplayStyle.h"
#include "kelcaptionfiles/SubtitleStyle.h"
#include "tools/ToolShell.h"

// --style: the viewer's display settings on the command line.

namespace {

using kelcaption::ParseDisplayStyle;
using kelcaption::UsageError;
using kelcaptioning::CaptioningColor;

TEST(DisplayStyle, EveryKeyAndLaterValuesWin) {
  const auto s = ParseDisplayStyle({"size=large,edge=uniform,background=#000000@60%,font=casual",
                                    "text=#FFFF00,text-opacity=50%,window=white@25%,window-opacity=10%",
                                    "edge-color=#ff0000@50%,edge=drop-shadow,size=150%,background-opacity=0%"});
  EXPECT_EQ(s.fontFamily, kelcaptioning::kGenericFontFamily_Casual);
  EXPECT_FLOAT_EQ(*s.textSize, 1.5f);
  EXPECT_EQ(s.background.color, CaptioningColor(0, 0, 0));
  EXPECT_FLOAT_EQ(*s.background.opacity, 0.0f);
  EXPECT_EQ(s.text.color, CaptioningColor(1, 1, 0));
  EXPECT_FLOAT_EQ(*s.text.opacity, 0.5f);
  EXPECT_EQ(s.window.color, CaptioningColor(1, 1, 1));
  EXPECT_FLOAT_EQ(*s.window.opacity, 0.1f);
  EXPECT_EQ(s.edge, kelcaptioning::kTextEdge_RightDropShadow);
  EXPECT_EQ(s.edgeColor, CaptioningColor(1, 0, 0, 0.5f));

  const auto sizes = ParseDisplayStyle({"size=small"});
  EXPECT_EQ(sizes.textSize, kelcaptioningui::kCaptionTextSmall);
  EXPECT_FALSE(sizes.fontFamily || sizes.edge || sizes.edgeColor || sizes.text.IsSet() || sizes.window.IsSet());
  EXPECT_FALSE(ParseDisplayStyle({}).textSize);
  // A colour alone is opaque.
  EXPECT_FLOAT_EQ(*ParseDisplayStyle({"text=gray"}).text.opacity, 1.0f);
}

TEST(DisplayStyle, WrongSettingsAreNamed) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"colour=red", "--style has no setting \"colour\"; the settings are font, size,"},
      {"size=huge", "--style size wants small, standard, large or a percentage"},
      {"size=0%", "--style size wants"},
      {"size=50", "--style size wants"},
      {"size", "--style wants KEY=VALUE settings"},
      {"=large", "--style wants KEY=VALUE settings"},
      {"size=", "--style wants KEY=VALUE settings"},
      {"size=large,", "--style wants KEY=VALUE settings"},
      {"", "--style wants KEY=VALUE settings"},
      {"text=#12345", "--style text wants a colour"},
      {"text=#000000@150%", "--style text wants an opacity from 0% to 100%, not \"150%\""},
      {"background=black@", "--style background wants an opacity"},
      {"window-opacity=half", "--style window-opacity wants an opacity"},
      {"edge=outline", "--style edge wants none, raised, depressed, uniform, drop-shadow"},
      {"font=Arial", "--style font wants default, mono-serif, serif"},
      {"edge-color=red", "--style edge-color wants a colour"}};
  for (const auto& [value, message] : cases) {
    try {
      ParseDisplayStyle({value});
      ADD_FAILURE() << value << " was taken";
    } catch (const UsageError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << value << ": " << e.what();
    }
  }
}

// The tool: a wrong --style is a usage error on every subcommand that reads captions, found as the
// command line is read (before any input); a right one changes what is drawn.
TEST(DisplayStyle, TheToolTakesItOnEveryCaptionSubcommand) {
  const std::string tool = KEL_TOOL, data = KEL_DATA;
  for (const std::string command : {"render --at 2 -o /dev/null", "rects --at 2", "states -o /dev/null",
                                    "burn --size 64x36 --fps 25 </dev/null"}) {
    const std::string run = "'" + tool + "' " + command.substr(0, command.find(' ')) + " '" + data + "/short.srt'" +
                            command.substr(command.find(' ')) + " --style edge=glow 2>&1; echo \"exit=$?\"";
    const std::string out = kel_test::Shell(run);
    EXPECT_NE(out.find("--style: edge wants none, raised"), std::string::npos) << command << ": " << out;
    EXPECT_NE(out.find("exit=2"), std::string::npos) << command << ": " << out;
  }
  const std::string rects = "'" + tool + "' rects '" + data + "/short.srt' --size 640x360 --at 2";
  EXPECT_NE(kel_test::Shell(rects), kel_test::Shell(rects + " --style size=large"));
}

// Larger subtitle text is laid out at its own size: a long line wraps onto more rows, all inside
// the caption area (the middle 80 % of a 1280-wide frame), instead of growing past it.
TEST(DisplayStyle, LargerSubtitlesWrapAtTheirOwnSize) {
  const std::filesystem::path folder = kel_test::ScratchFolder("kel-large");
  std::filesystem::create_directories(folder);
  const std::filesystem::path srt = folder / "long.srt";
  std::ofstream(srt) << "1\n00:00:01,000 --> 00:00:05,000\nThis is a very long line of dialogue that would surely "
                        "run off both edges of a 1280 pixel wide frame if nobody wrapped it.\n";
  const std::string rects = "'" + std::string(KEL_TOOL) + "' rects '" + srt.string() + "' --size 1280x720 --at 3";
  const auto rows = [](const std::string& json) {
    std::vector<std::pair<long, long>> spans;  // left and right edges
    const std::regex row("\"x\": (-?[0-9]+), \"y\": -?[0-9]+, \"width\": ([0-9]+)");
    for (std::sregex_iterator it(json.begin(), json.end(), row), end; it != end; ++it) {
      const long x = std::stol((*it)[1]);
      spans.emplace_back(x, x + std::stol((*it)[2]));
    }
    return spans;
  };
  const auto standard = rows(kel_test::Shell(rects)), large = rows(kel_test::Shell(rects + " --style size=large"));
  std::filesystem::remove_all(folder);
  EXPECT_EQ(standard.size(), 2u);
  EXPECT_EQ(large.size(), 3u);
  for (const auto& [left, right] : large) {
    EXPECT_GE(left, 128);
    EXPECT_LE(right, 1152);
  }
}

// Without --style, subtitle text is as tall as players draw it: 5 % of the frame's height.
TEST(DisplayStyle, DefaultSubtitleTextIsFivePercentOfTheFrameHeight) {
  EXPECT_EQ(kelcaptionfiles::DefaultSubtitleStyle(1080).fontSize, 54.0f);
  EXPECT_EQ(kelcaptionfiles::DefaultSubtitleStyle(720).fontSize, 36.0f);
  EXPECT_EQ(kelcaptionfiles::DefaultSubtitleStyle(576).fontSize, 29.0f);
}

// A face that is not installed is a note once, however often it is used.
TEST(DisplayStyle, ASubstitutedFaceIsReportedOnce) {
  const std::filesystem::path folder = kel_test::ScratchFolder("kel-faces");
  std::filesystem::create_directories(folder);
  const std::filesystem::path srt = folder / "faces.srt";
  std::ofstream(srt) << "1\n00:00:01,000 --> 00:00:02,000\n<font face=\"Nowhere Sans\">one</font>\n\n"
                        "2\n00:00:03,000 --> 00:00:04,000\n<font face=\"Nowhere Sans\">two</font> "
                        "<font face=\"Verdana\">three</font>\n";
  const std::string out = kel_test::Shell("'" + std::string(KEL_TOOL) + "' rects '" + srt.string() +
                                          "' --at 3.5 2>&1 >/dev/null");
  std::filesystem::remove_all(folder);
  EXPECT_EQ(out, "kelcaption: " + srt.string() + ": note: font \"Nowhere Sans\" is not installed (drawn with DejaVu Sans)\n");
}

}  // namespace

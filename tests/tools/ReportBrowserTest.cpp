#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "support/PixelBuffer.h"
#include "tools/ToolShell.h"

// kelcaption report's pages opened in a headless Chromium: they load without script errors or
// anything from the network, hold the timeline and every state, and look as reviewed.

namespace {

using kel_test::Shell;

struct Sample {
  const char* name;  // of the golden, report_<name>.png
  const char* file;  // in tests/data
};

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReportInBrowser : public ::testing::TestWithParam<Sample> {
 protected:
  void SetUp() override {
    if (Shell("command -v chromium").empty()) {
      GTEST_SKIP() << "chromium is not installed (apt-get install chromium, as scripts/debian-packages.txt lists): "
                      "the report pages are not opened in a browser";
    }
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Chromium, headless, on its own profile, the page at `page`, with `what` to do; its log goes to console.log.
  std::string Chromium(const std::string& what) const {
    return Shell("timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-background-networking "
                 "--hide-scrollbars --force-device-scale-factor=1 --run-all-compositor-stages-before-draw --user-data-dir='" + (folder_ / "profile").string() +
                 "' --enable-logging=stderr --v=0 --virtual-time-budget=5000 " + what + " 'file://" +
                 (folder_ / "report.html").string() + "' 2>>'" + (folder_ / "console.log").string() + "'");
  }

  std::filesystem::path folder_ = kel_test::ScratchFolder(std::string("report-browser-") + GetParam().name);
};

TEST_P(ReportInBrowser, LoadsWholeAndLooksAsReviewed) {
  const std::string report = Shell(std::string("'") + KEL_TOOL + "' report '" + KEL_DATA + "/" + GetParam().file +
                                   "' -o '" + (folder_ / "report.html").string() + "' --json - 2>/dev/null");
  ASSERT_NE(report, "FAILED");
  std::smatch states;
  ASSERT_TRUE(std::regex_search(report, states, std::regex("\"states\": ([0-9]+)")));
  const int count = std::stoi(states[1]);
  ASSERT_GT(count, 0);

  // Nothing from elsewhere: every picture is embedded.
  const std::string html = Read(folder_ / "report.html");
  for (const char* outside : {"src=\"http", "href=\"http", "url(", "@import", "<link"}) {
    EXPECT_EQ(html.find(outside), std::string::npos) << outside;
  }

  const std::string dom = Chromium("--dump-dom");
  ASSERT_NE(dom, "FAILED");
  // The page's script ran to its end and saw every state.
  EXPECT_NE(dom.find("data-report-ready=\"" + std::to_string(count) + "\""), std::string::npos);
  EXPECT_NE(dom.find("id=\"timeline-plot\""), std::string::npos);
  for (int n = 1; n <= count; ++n) {
    EXPECT_NE(dom.find("id=\"state-" + std::to_string(n) + "\""), std::string::npos) << "state " << n;
  }

  const std::filesystem::path screenshot = folder_ / "screenshot.png";
  ASSERT_NE(Chromium("--window-size=1000,1100 --screenshot='" + screenshot.string() + "'"), "FAILED");
  const std::string console = Read(folder_ / "console.log");
  EXPECT_EQ(console.find("Uncaught"), std::string::npos) << console;
  EXPECT_EQ(console.find("ERR_"), std::string::npos) << console;
  // Text is drawn by the browser's own fonts: a few edge pixels may move between its versions.
  EXPECT_EQ(kel_test::ComparePngWithGolden(screenshot.string(), std::string("report_") + GetParam().name, 24, 0.01), "");
}

INSTANTIATE_TEST_SUITE_P(Samples, ReportInBrowser,
                         ::testing::Values(Sample{"srt", "short.srt"}, Sample{"vtt", "short.vtt"},
                                           Sample{"scc", "short.scc"}, Sample{"stl_teletext", "short.stl"},
                                           Sample{"stl_open", "short-open.stl"}),
                         [](const ::testing::TestParamInfo<Sample>& sample) { return std::string(sample.param.name); });

}  // namespace

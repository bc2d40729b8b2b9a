// The WebVTT files of tests/data/browser laid out in a 1280 x 720 frame with real fonts, against
// what headless Chromium showed for them (tests/data/browser/chromium.tsv, written by
// scripts/compare-browser): every cue Chromium shows is shown, its box centred within 2 % of the
// frame of Chromium's, its words on the same lines. The differences that are kept are listed below
// with why.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "kelcaption/CaptionStates.h"
#include "kelcaptionfiles/CaptionFileKinds.h"
#include "kelcaptionfiles/ShownStates.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelcore/String.h"

namespace {

constexpr int kWidth = 1280, kHeight = 720;
constexpr double kTolerance = 0.02;  // of the frame's width across, of its height down

// One cue as Chromium showed it.
struct BrowserCue {
  std::string file;
  double at = 0;
  double x = 0, y = 0;  // its box's centre
  std::vector<std::string> lines;
};

std::vector<BrowserCue> BrowserCues() {
  std::ifstream in(std::string(KEL_DATA) + "/browser/chromium.tsv");
  std::vector<BrowserCue> cues;
  for (std::string row; std::getline(in, row);) {
    if (row.empty() || row[0] == '#') continue;
    std::istringstream fields(row);
    BrowserCue cue;
    std::string at, x, y;
    std::getline(fields, cue.file, '\t');
    std::getline(fields, at, '\t');
    std::getline(fields, x, '\t');
    std::getline(fields, y, '\t');
    cue.at = std::stod(at), cue.x = std::stod(x), cue.y = std::stod(y);
    for (std::string line; std::getline(fields, line, '\t');) cue.lines.push_back(line);
    cues.push_back(cue);
  }
  return cues;
}

// What is kept different from Chromium, and why.
enum Excused { kNothing = 0, kCentre = 1, kBreaks = 2 };
struct KnownDifference {
  const char* file;
  double at;
  const char* startOfText;
  int excused;
  const char* why;
};

constexpr KnownDifference kKnown[] = {
    {"lines.vtt", 5, "Fifty percent", kCentre,
     "Chromium puts the top of a cue at its line percentage whatever its line alignment; ours centres the box on it"},
    {"lines.vtt", 5, "Ninety percent", kCentre, "as above: our box's bottom stands on the line percentage"},
    {"lines.vtt", 9, "Thirty percent", kCentre | kBreaks,
     "Chromium neither wraps a cue placed by a line percentage nor applies its end alignment"},
    {"regions.vtt", 1, "In the lower", kCentre,
     "Chromium gives a region line 5.33 % of the height, not 6 %, and shows cues from the region's top, not "
     "standing on its bottom"},
    {"regions.vtt", 1, "In the upper", kCentre, "as above"},
    {"regions.vtt", 3, "Start aligned in the", kCentre, "as above"},
    {"regions.vtt", 3, "End aligned", kCentre, "as above; Chromium also centres the lines in the region"},
    {"bidi.vtt", 9, nullptr, kCentre | kBreaks,
     "align:start on right-to-left text: Chromium pins a box of no width at the left edge, a character a line"},
    {"bidi.vtt", 11, nullptr, kCentre,
     "Chromium lets lines wider than their box hang past the frame's right edge; ours stay inside the frame"},
};

const KnownDifference* Known(const BrowserCue& cue) {
  for (const KnownDifference& k : kKnown) {
    if (cue.file != k.file || std::abs(cue.at - k.at) > 1e-3) continue;
    if (k.startOfText == nullptr || (!cue.lines.empty() && cue.lines[0].rfind(k.startOfText, 0) == 0)) return &k;
  }
  return nullptr;
}

// A caption's text without its spaces, whichever lines hold it.
std::string TextOf(const std::vector<std::string>& lines) {
  std::string kept;
  for (const std::string& line : lines) {
    for (char c : line) {
      if (c != ' ') kept.push_back(c);
    }
  }
  return kept;
}

// One file laid out as kelcaption lays it out.
struct LaidFile {
  kelcaption::Frame frame{kWidth, kHeight};
  kelcaptionfiles::ReadResult result;
  kelcaptionfiles::CaptionTimeline states;

  explicit LaidFile(const std::string& name) {
    kelcaptionfiles::ReadOptions read;
    read.style = kelcaptionfiles::DefaultSubtitleStyle(kHeight);
    result = kelcaptionfiles::ReadCaptionFile(std::string(KEL_DATA) + "/browser/" + name, read);
    kelcaption::InkpadMeasurer measurer(frame.Inkpad());
    states = kelcaptionfiles::ShownStates(result, kWidth, kHeight, measurer);
  }
};

// A caption as laid out: its lines and the centre of the box around them, in pixels of the frame.
struct LaidCaption {
  std::vector<std::string> lines;
  double x = 0, y = 0;
};

std::vector<LaidCaption> CaptionsAt(const LaidFile& laid, double at) {
  const kelmediatypes::TickTime time(static_cast<std::int64_t>(std::llround(at * kelmediatypes::TickTime::kTicksPerSecond)));
  const kelcaptionfiles::TimedModel* state = laid.states.At(time);
  if (state == nullptr) return {};
  // The captions' positions are fractions of the area they were laid out in, centred in the frame.
  const auto area = state->model->GetWindow(0)->GetCaptionDrawAreaSize();
  const double left = (kWidth - area.x) / 2.0, top = (kHeight - area.y) / 2.0;
  std::vector<LaidCaption> shown;
  for (const kelcaptioning::CaptionPtr& caption : laid.result.List()->GetCaptions()) {
    if (time < caption->GetBeginTime() || !(time < caption->GetEndTime())) continue;
    LaidCaption& c = shown.emplace_back();
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (const kelcaptioning::CaptionTextParagraphPtr& p : caption->GetCaptionTextParagraphs()) {
      c.lines.push_back(kelcore::string::UTF16ToUTF8(p->GetText()));
      const double x = left + boost::rational_cast<double>(p->GetCaptionPosition().GetX()) * area.x;
      const double y = top + boost::rational_cast<double>(p->GetCaptionPosition().GetY()) * area.y;
      x0 = std::min(x0, x), y0 = std::min(y0, y);
      x1 = std::max(x1, x + p->GetParagraphLineWidth()), y1 = std::max(y1, y + p->GetParagraphLineHeight());
    }
    c.x = (x0 + x1) / 2, c.y = (y0 + y1) / 2;
  }
  return shown;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : " / ") + line;
  return text;
}

TEST(BrowserReference, WebVttCuesStandWhereChromiumShowsThem) {
  const std::vector<BrowserCue> cues = BrowserCues();
  ASSERT_GE(cues.size(), 50u);
  std::string file;
  std::unique_ptr<LaidFile> laid;
  int compared = 0, known = 0;
  for (const BrowserCue& cue : cues) {
    if (cue.file != file) file = cue.file, laid = std::make_unique<LaidFile>(file);
    const std::string where = file + " at " + std::to_string(cue.at) + " s: \"" + Joined(cue.lines) + "\"";
    const std::vector<LaidCaption> shown = CaptionsAt(*laid, cue.at);
    const LaidCaption* ours = nullptr;
    for (const LaidCaption& c : shown) {
      if (TextOf(c.lines) == TextOf(cue.lines)) ours = &c;
    }
    const KnownDifference* k = Known(cue);
    known += k != nullptr;
    const int excused = k ? k->excused : kNothing;
    ASSERT_NE(ours, nullptr) << where << " is not shown";
    ++compared;
    if (!(excused & kCentre)) {
      EXPECT_NEAR(ours->x, cue.x, kTolerance * kWidth) << where;
      EXPECT_NEAR(ours->y, cue.y, kTolerance * kHeight) << where;
    }
    if (!(excused & kBreaks)) {
      EXPECT_EQ(Joined(ours->lines), Joined(cue.lines)) << where;
    }
  }
  EXPECT_EQ(compared, static_cast<int>(cues.size()));
  // Every known difference is still one that Chromium shows.
  EXPECT_EQ(known, static_cast<int>(std::size(kKnown)));
}

}  // namespace

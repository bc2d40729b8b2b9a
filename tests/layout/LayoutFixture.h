#pragma once

// Lays out subtitle files in a 1000 x 500 frame (caption area 800 x 400 at 100, 50) with text
// measured by a rule instead of fonts, so that boxes and line breaks come out exact: every UTF-16
// unit is half its font size wide (10 pixels at the size of 20 used here), a line adds side
// margins of a quarter of its size (5) and is 1.2 sizes high (24).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

#include <string>
#include <string_view>
#include <vector>

#include "captionfiles/SrtReader.h"
#include "captionfiles/WebVttReader.h"
#include "kelcaptionfiles/ShownStates.h"

namespace kel_test {

struct RuleMeasurer : kelcaptionfiles::CaptionMeasurer {
  void Measure(kelcaptioning::CaptionPtr& caption) override {
    ++captionsMeasured;
    for (const auto& paragraph : caption->GetCaptionTextParagraphs()) {
      int width = 0;
      float size = 0;
      for (const auto& span : paragraph->GetCaptionTextSpans()) {
        const auto style = span->GetTextSpanStyleAttributes();
        width += static_cast<int>(Width(style, span->GetSpanText()) + 0.5f);
        size = std::max(size, style.GetFontSize());
      }
      paragraph->SetParagraphLineWidth(width + static_cast<int>(size * 0.25f + 0.5f));
      paragraph->SetParagraphLineHeight(static_cast<int>(size * 1.2f + 0.5f));
    }
  }
  float TextWidth(const kelcaptioning::TextSpanAttributes& style, std::u16string_view text) override {
    ++runsMeasured;
    return Width(style, text);
  }
  static float Width(const kelcaptioning::TextSpanAttributes& style, std::u16string_view text) {
    return static_cast<float>(text.size()) * style.GetFontSize() / 2;
  }
  int captionsMeasured = 0;
  int runsMeasured = 0;
};

// One laid-out line: its text and box in pixels of the caption area.
struct LaidLine {
  std::u16string text;
  long long x, y, width, height;
  friend bool operator==(const LaidLine&, const LaidLine&) = default;
  friend std::ostream& operator<<(std::ostream& out, const LaidLine& l) {
    return out << '"' << std::string(l.text.begin(), l.text.end()) << "\" at " << l.x << ',' << l.y << ' ' << l.width
               << 'x' << l.height;
  }
};

constexpr int kFrameWidth = 1000, kFrameHeight = 500, kAreaWidth = 800, kAreaHeight = 400;

inline kelcaptionfiles::ReadOptions RuleOptions() {
  kelcaptionfiles::ReadOptions options;
  options.style.fontSize = 20;
  return options;
}

// The lines of each caption of the laid-out list, caption by caption.
inline std::vector<std::vector<LaidLine>> LaidLines(const kelcaptioning::CaptionList& list) {
  std::vector<std::vector<LaidLine>> captions;
  for (const auto& caption : list.GetCaptions()) {
    auto& lines = captions.emplace_back();
    for (const auto& p : caption->GetCaptionTextParagraphs()) {
      const auto at = p->GetCaptionPosition();
      lines.push_back({std::u16string(std::u16string_view(p->GetText())),
                       at.GetX().numerator() * kAreaWidth / at.GetX().denominator(),
                       at.GetY().numerator() * kAreaHeight / at.GetY().denominator(), p->GetParagraphLineWidth(),
                       p->GetParagraphLineHeight()});
    }
  }
  return captions;
}

struct Laid {
  kelcaptioning::CaptionListPtr list;
  kelcaptionfiles::FileNotes notes;
  std::vector<std::vector<LaidLine>> lines;
};

inline Laid LayOut(kelcaptionfiles::ReadResult read, RuleMeasurer& measurer) {
  Laid laid;
  laid.list = kelcaptionfiles::LayOutOpenCaptions(*read.List(), read.boxes, kFrameWidth, kFrameHeight, kAreaWidth,
                                                  kAreaHeight, measurer, laid.notes);
  laid.lines = LaidLines(*laid.list);
  return laid;
}

inline Laid LayOutSrt(const std::string& text) {
  RuleMeasurer measurer;
  return LayOut(kelcaptionfiles::ReadSrt(text, "t.srt", RuleOptions()), measurer);
}

inline Laid LayOutVtt(const std::string& text) {
  RuleMeasurer measurer;
  return LayOut(kelcaptionfiles::ReadWebVtt(text, "t.vtt", RuleOptions()), measurer);
}

// A SubRip cue numbered `n`, from `from` to `to` seconds (below 60).
inline std::string SrtCue(int n, int from, int to, const std::string& text) {
  char timing[64];
  std::snprintf(timing, sizeof timing, "00:00:%02d,000 --> 00:00:%02d,000", from, to);
  return std::to_string(n) + "\n" + timing + "\n" + text + "\n\n";
}

}  // namespace kel_test

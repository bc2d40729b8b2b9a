#include "kelcaption/CaptionChecks.h"

#include <cstdio>
#include <map>

#include "kelcaptioning/Formats.h"

namespace kelcaption {

namespace {

using kelcore::RectT;
using kelmediatypes::TickTime;

double Seconds(TickTime time) {
  return static_cast<double>(time.GetTicks()) / static_cast<double>(TickTime::kTicksPerSecond);
}

std::string Printed(const char* format, double a, double b = 0, double c = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

// Rounding of the layout may let neighbours share a pixel's edge; that is not drawing over.
constexpr float kSlack = 1.0f;

bool Overlap(const RectT<float>& a, const RectT<float>& b) {
  return std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x) > kSlack &&
         std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y) > kSlack;
}

bool Empty(const RectT<float>& r) { return r.width <= 0 || r.height <= 0; }

// The rectangle that holds all of `rects` (those that are not empty).
RectT<float> Union(const std::vector<RectT<float>>& rects) {
  float left = 0, top = 0, right = 0, bottom = 0;
  bool any = false;
  for (const RectT<float>& r : rects) {
    if (Empty(r)) continue;
    left = any ? std::min(left, r.x) : r.x;
    top = any ? std::min(top, r.y) : r.y;
    right = any ? std::max(right, r.x + r.width) : r.x + r.width;
    bottom = any ? std::max(bottom, r.y + r.height) : r.y + r.height;
    any = true;
  }
  return {left, top, right - left, bottom - top};
}

RectT<float> Extent(const ShownWindow& window) {
  return Empty(window.fill) ? Union(window.textBoxes) : window.fill;
}

class Checker {
 public:
  Checker(const std::vector<StateFacts>& states, const std::vector<Appearance>& appearances, const CheckLimits& limits,
          const CheckSetting& setting)
      : states_(states), appearances_(appearances), readings_(ReadingsOf(appearances)), limits_(limits), setting_(setting) {}

  std::vector<Flag> Run() {
    ReadingSpeed();
    TooShort();
    TooLong();
    Gaps();
    LongLines();
    TitleSafe();
    Overlaps();
    Empties();
    NeverShown();
    return std::move(flags_);
  }

 private:
  void Add(CheckKind kind, std::size_t state, std::string detail) { flags_.push_back({kind, state, std::move(detail)}); }

  // Over what a viewer reads as one caption: a roll-up or painted caption's characters arrive a
  // few a frame, and are read as they stay.
  void ReadingSpeed() {
    for (const Reading& r : readings_) {
      const double seconds = Seconds(r.end - r.begin);
      if (r.characters == 0 || seconds <= 0) continue;
      const double speed = static_cast<double>(r.characters) / seconds;
      if (speed > limits_.maxCharactersPerSecond) {
        Add(CheckKind::kReadingSpeed, r.firstState,
            Printed("%.1f characters a second (%.0f in %.3f s)", speed, static_cast<double>(r.characters), seconds));
      }
    }
  }

  void TooShort() {
    for (const Reading& r : readings_) {
      const double seconds = Seconds(r.end - r.begin);
      if (seconds < limits_.minSeconds) Add(CheckKind::kTooShort, r.firstState, Printed("on screen %.3f s", seconds));
    }
  }

  // The same text, unchanged, for too long.
  void TooLong() {
    for (const Appearance& a : appearances_) {
      const double seconds = Seconds(a.end - a.begin);
      if (seconds > limits_.maxSeconds) Add(CheckKind::kTooLong, a.firstState, Printed("on screen %.3f s", seconds));
    }
  }

  void Gaps() {
    std::map<int, const Appearance*> previous;  // by window
    const double frame = static_cast<double>(setting_.rate.second) / static_cast<double>(setting_.rate.first);
    for (const Appearance& a : appearances_) {
      const Appearance*& last = previous[a.window];
      if (last != nullptr && a.begin > last->end) {
        const double gap = Seconds(a.begin - last->end);
        if (gap < static_cast<double>(limits_.minGapFrames) * frame - 1e-9) {
          Add(CheckKind::kShortGap, a.firstState, Printed("%.3f s (%.2f frames) after the caption before", gap, gap / frame));
        }
      }
      last = &a;
    }
  }

  void LongLines() {
    for (const Appearance& a : appearances_) {
      for (const std::string& line : a.lines) {
        const long length = CharacterCount(line);
        if (length > MaxLineLength(limits_, setting_)) {
          Add(CheckKind::kLongLine, a.firstState,
              Printed("a line of %.0f characters", static_cast<double>(length)) + ": \"" + line + "\"");
          break;
        }
      }
    }
  }

  void TitleSafe() {
    const float w = static_cast<float>(setting_.frameWidth), h = static_cast<float>(setting_.frameHeight);
    const float share = static_cast<float>(limits_.titleSafe);
    const RectT<float> safe{w * (1 - share) / 2, h * (1 - share) / 2, w * share, h * share};
    for (std::size_t index = 0; index < states_.size(); ++index) {
      for (const ShownWindow& window : states_[index].windows) {
        const RectT<float> r = Extent(window);
        if (Empty(r)) continue;
        if (r.x < safe.x - kSlack || r.y < safe.y - kSlack || r.x + r.width > safe.x + safe.width + kSlack ||
            r.y + r.height > safe.y + safe.height + kSlack) {
          Add(CheckKind::kOutsideTitleSafe, index,
              Printed("text from %.0f,%.0f", r.x, r.y) + Printed(" to %.0f,%.0f", r.x + r.width, r.y + r.height));
          break;
        }
      }
    }
  }

  void Overlaps() {
    for (std::size_t index = 0; index < states_.size(); ++index) {
      const std::vector<ShownWindow>& windows = states_[index].windows;
      std::string found;
      for (std::size_t i = 0; i < windows.size() && found.empty(); ++i) {
        const std::vector<RectT<float>>& boxes = windows[i].textBoxes;
        for (std::size_t a = 0; a < boxes.size() && found.empty(); ++a) {
          for (std::size_t b = a + 1; b < boxes.size() && found.empty(); ++b) {
            if (Overlap(boxes[a], boxes[b])) found = "two lines of one window";
          }
        }
        for (std::size_t j = i + 1; j < windows.size() && found.empty(); ++j) {
          if (Overlap(Extent(windows[i]), Extent(windows[j]))) {
            found = "windows " + std::to_string(windows[i].number) + " and " + std::to_string(windows[j].number);
          }
        }
      }
      if (!found.empty()) Add(CheckKind::kOverlap, index, found + " drawn over each other");
    }
  }

  void Empties() {
    for (const Appearance& a : appearances_) {
      if (a.lines.empty()) Add(CheckKind::kEmpty, a.firstState, "window " + std::to_string(a.window) + " shows no text");
    }
  }

  void NeverShown() {
    if (!setting_.videoSpan) return;
    const auto [from, until] = *setting_.videoSpan;
    for (std::size_t index = 0; index < states_.size(); ++index) {
      const StateFacts& s = states_[index];
      if (s.end <= from || s.begin >= until) {
        Add(CheckKind::kNeverShown, index, s.end <= from ? "before the video starts" : "after the video ends");
      }
    }
  }

  const std::vector<StateFacts>& states_;
  const std::vector<Appearance>& appearances_;
  const std::vector<Reading> readings_;
  const CheckLimits& limits_;
  const CheckSetting& setting_;
  std::vector<Flag> flags_;
};

}  // namespace

int DefaultLineLength(kelcaptioning::StreamFormat format, int gridColumns) {
  if (kelcaptioning::IsOpenCaptions(format)) return 42;
  if (kelcaptioning::IsCEA608(format)) return 32;
  return gridColumns > 0 ? gridColumns : 42;
}

int MaxLineLength(const CheckLimits& limits, const CheckSetting& setting) {
  return limits.maxLineLength > 0 ? limits.maxLineLength : setting.lineLength;
}

const char* CheckName(CheckKind kind) {
  switch (kind) {
    case CheckKind::kReadingSpeed: return "reading-speed";
    case CheckKind::kTooShort: return "too-short";
    case CheckKind::kTooLong: return "too-long";
    case CheckKind::kShortGap: return "short-gap";
    case CheckKind::kLongLine: return "long-line";
    case CheckKind::kOutsideTitleSafe: return "outside-title-safe";
    case CheckKind::kOverlap: return "overlap";
    case CheckKind::kEmpty: return "empty";
    case CheckKind::kNeverShown: break;
  }
  return "never-shown";
}

std::string CheckTitle(CheckKind kind, const CheckLimits& limits, const CheckSetting& setting) {
  switch (kind) {
    case CheckKind::kReadingSpeed: return Printed("Reading speed above %g characters a second", limits.maxCharactersPerSecond);
    case CheckKind::kTooShort: return Printed("On screen under %g s", limits.minSeconds);
    case CheckKind::kTooLong: return Printed("On screen over %g s", limits.maxSeconds);
    case CheckKind::kShortGap: return Printed("Gap under %g frames", static_cast<double>(limits.minGapFrames));
    case CheckKind::kLongLine: return Printed("Line over %g characters", MaxLineLength(limits, setting));
    case CheckKind::kOutsideTitleSafe: return Printed("Outside the title-safe area (%g %% of the frame)", limits.titleSafe * 100);
    case CheckKind::kOverlap: return "Captions drawn over each other";
    case CheckKind::kEmpty: return "Empty caption";
    case CheckKind::kNeverShown: break;
  }
  return setting.videoSpan ? "Never shown: outside the video's time" : "Never shown (needs VIDEO)";
}

std::vector<Flag> RunChecks(const std::vector<StateFacts>& states, const std::vector<Appearance>& appearances,
                            const CheckLimits& limits, const CheckSetting& setting) {
  return Checker(states, appearances, limits, setting).Run();
}

}  // namespace kelcaption

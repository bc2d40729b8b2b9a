#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "kelcaption/Base64.h"
#include "kelcaption/ReportContent.h"
#include "kelcaption/ReportTemplate.h"
#include "kelcaption/TimeCode.h"

namespace kelcaption {

namespace {

using kelmediatypes::TickTime;

std::string Escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '{': out += "&#123;"; break;  // never a place of the template
      default: out += c;
    }
  }
  return out;
}

double Seconds(TickTime time) {
  return static_cast<double>(time.GetTicks()) / static_cast<double>(TickTime::kTicksPerSecond);
}

std::string Number(double value, const char* format = "%.1f") {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string RateText(const FrameRate& rate) {
  return rate.second == 1 ? std::to_string(rate.first) + " fps"
                          : std::to_string(rate.first) + "/" + std::to_string(rate.second) + " fps (" +
                                Number(static_cast<double>(rate.first) / static_cast<double>(rate.second), "%.3f") + ")";
}

// "01:00:02;15 (frame 108075)", the frame that starts at or after `time`.
std::string FrameText(TickTime time, const FrameRate& rate) {
  const long long frame = FirstFrameFrom(time, rate);
  return TimeCode::OfFrame(frame, rate).Text() + " (frame " + std::to_string(frame) + ")";
}

std::string StateLabel(std::size_t index) { return "state-" + std::to_string(index + 1); }

class PageWriter {
 public:
  explicit PageWriter(const ReportContent& content) : c_(content) {
    for (const Flag& flag : c_.flags) flagsOf_[flag.state].push_back(&flag);
  }

  std::string Page() const {
    std::string page(ReportTemplate());
    Fill(page, "{{PICTURE_WIDTH}}", std::to_string(c_.pictureWidth));
    Fill(page, "{{PICTURE_HEIGHT}}", std::to_string(c_.pictureHeight));
    Fill(page, "{{FILE}}", Escaped(c_.file));
    Fill(page, "{{FACTS}}", Facts());
    Fill(page, "{{SUMMARY}}", Summary());
    Fill(page, "{{CHECK_LISTS}}", CheckLists());
    Fill(page, "{{TIMELINE}}", Timeline());
    Fill(page, "{{NOTES}}", Notes());
    Fill(page, "{{STATES}}", States());  // last: captions' text may hold anything
    return page;
  }

 private:
  static void Fill(std::string& page, const std::string& mark, const std::string& text) {
    for (std::size_t at = page.find(mark); at != std::string::npos; at = page.find(mark, at + text.size())) {
      page.replace(at, mark.size(), text);
    }
  }

  std::string Facts() const {
    std::string out;
    const auto fact = [&out](const std::string& name, const std::string& value) {
      out += "<div><dt>" + name + "</dt><dd>" + Escaped(value) + "</dd></div>";
    };
    fact("File", c_.file);
    fact("Kind", c_.kind);
    if (!c_.video.empty()) fact("Video", c_.video);
    fact("Frame", std::to_string(c_.setting.frameWidth) + "x" + std::to_string(c_.setting.frameHeight));
    fact("Frame rate", RateText(c_.setting.rate));
    fact("States", std::to_string(c_.states.size()));
    if (!c_.states.empty()) {
      fact("Captions from", FrameText(c_.states.front().begin, c_.setting.rate));
      fact("to", FrameText(c_.states.back().end, c_.setting.rate));
    }
    fact("Flags", std::to_string(c_.flags.size()));
    return out;
  }

  std::size_t FlaggedStates(CheckKind kind) const {
    std::set<std::size_t> states;
    for (const Flag& flag : c_.flags) {
      if (flag.kind == kind) states.insert(flag.state);
    }
    return states.size();
  }

  std::string Summary() const {
    std::string out;
    for (const CheckKind kind : kAllChecks) {
      const std::size_t count = FlaggedStates(kind);
      out += std::string("<tr") + (count ? " class=\"flagged\"" : "") + " data-check=\"" + CheckName(kind) + "\"><td>" +
             Escaped(CheckTitle(kind, c_.limits, c_.setting)) + "</td><td class=\"count\">" + std::to_string(count) +
             "</td></tr>\n";
    }
    return out;
  }

  std::string CheckLists() const {
    std::string out;
    for (const CheckKind kind : kAllChecks) {
      std::string items;
      for (const Flag& flag : c_.flags) {
        if (flag.kind != kind) continue;
        items += "<li><a href=\"#" + StateLabel(flag.state) + "\">" +
                 Escaped(TimeCode::OfFrame(FirstFrameFrom(c_.states[flag.state].begin, c_.setting.rate), c_.setting.rate).Text()) +
                 "</a> " + Escaped(flag.detail) + "</li>";
      }
      if (items.empty()) continue;
      out += std::string("<details class=\"check\" id=\"check-") + CheckName(kind) + "\"><summary>" +
             Escaped(CheckTitle(kind, c_.limits, c_.setting)) + "</summary><ol>" + items + "</ol></details>\n";
    }
    return out;
  }

  std::string Timeline() const {
    if (c_.states.empty()) return "<p>The file shows nothing.</p>";
    TickTime from = c_.states.front().begin, until = c_.states.back().end;
    if (c_.setting.videoSpan) {
      from = std::min(from, c_.setting.videoSpan->first);
      until = std::max(until, c_.setting.videoSpan->second);
    }
    const double start = std::floor(Seconds(from)), length = std::max(1.0, std::ceil(Seconds(until)) - start);
    const double perSecond = std::max(4.0, 840.0 / length);  // a short file fits a page's width
    std::vector<int> lanes;
    for (const Appearance& a : c_.appearances) {
      if (std::find(lanes.begin(), lanes.end(), a.window) == lanes.end()) lanes.push_back(a.window);
    }
    std::sort(lanes.begin(), lanes.end());
    const double gutter = 110, top = 20, laneHeight = 30;
    const double width = gutter + length * perSecond + 12, height = top + laneHeight * static_cast<double>(lanes.size()) + 4;
    const auto x = [&](TickTime t) { return gutter + (Seconds(t) - start) * perSecond; };
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"timeline-plot\" width=\"" + Number(width, "%.0f") +
                      "\" height=\"" + Number(height, "%.0f") + "\" role=\"img\" aria-label=\"When each caption shows\">";
    if (c_.setting.videoSpan) {
      // What lies outside the video never shows.
      const double videoLeft = x(c_.setting.videoSpan->first), videoRight = x(c_.setting.videoSpan->second);
      if (videoLeft > gutter) {
        svg += "<rect class=\"outside\" x=\"" + Number(gutter) + "\" y=\"" + Number(top) + "\" width=\"" +
               Number(videoLeft - gutter) + "\" height=\"" + Number(height - top) + "\"/>";
      }
      if (videoRight < width) {
        svg += "<rect class=\"outside\" x=\"" + Number(videoRight) + "\" y=\"" + Number(top) + "\" width=\"" +
               Number(width - videoRight) + "\" height=\"" + Number(height - top) + "\"/>";
      }
    }
    static constexpr double kSteps[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600};
    double step = kSteps[std::size(kSteps) - 1];
    for (const double s : kSteps) {
      if (s * perSecond >= 90) {
        step = s;
        break;
      }
    }
    for (double t = 0; t <= length; t += step) {
      const double at = gutter + t * perSecond;
      svg += "<line class=\"tick\" x1=\"" + Number(at) + "\" y1=\"" + Number(top - 4) + "\" x2=\"" + Number(at) +
             "\" y2=\"" + Number(height) + "\"/><text class=\"tick-label\" x=\"" + Number(at + 2) + "\" y=\"12\">" +
             FormatTime(TickTime(static_cast<std::int64_t>((start + t) * static_cast<double>(TickTime::kTicksPerSecond))))
                 .substr(0, 8) +
             "</text>";
    }
    for (std::size_t lane = 0; lane < lanes.size(); ++lane) {
      const double y = top + laneHeight * static_cast<double>(lane);
      const std::string name = lanes.size() == 1 ? c_.laneName : c_.laneName + " " + std::to_string(lanes[lane]);
      svg += "<text class=\"lane-name\" x=\"4\" y=\"" + Number(y + 20) + "\">" + Escaped(name) + "</text>";
    }
    for (const Appearance& a : c_.appearances) {
      const double y = top + laneHeight * static_cast<double>(std::find(lanes.begin(), lanes.end(), a.window) - lanes.begin());
      bool flagged = false;
      for (std::size_t s = a.firstState; s <= a.lastState && !flagged; ++s) flagged = flagsOf_.count(s) > 0;
      std::string text;
      for (const std::string& line : a.lines) text += (text.empty() ? "" : " / ") + line;
      // Taller for more lines, up to three: captions shown together stand out as a step.
      const double barHeight = (laneHeight - 6) * static_cast<double>(1 + std::min<std::size_t>(a.lines.size(), 3)) / 4;
      svg += "<a href=\"#" + StateLabel(a.firstState) + "\"><rect class=\"bar" + (flagged ? " flagged" : "") +
             "\" x=\"" + Number(x(a.begin), "%.2f") + "\" y=\"" + Number(y + laneHeight - 3 - barHeight) + "\" width=\"" +
             Number(std::max(1.0, x(a.end) - x(a.begin)), "%.2f") + "\" height=\"" + Number(barHeight) +
             "\"><title>" + Escaped(FormatTime(a.begin) + " " + text) + "</title></rect></a>";
    }
    return svg + "</svg>";
  }

  std::string Notes() const {
    std::string items;
    for (const kelcaptionfiles::FileNote& note : c_.notes) {
      if (note.kind != kelcaptionfiles::NoteKind::kNotShown) continue;
      const std::string where = note.first.Known() ? c_.file + ":" + note.first.Text() : c_.file;
      items += "<li><span class=\"where\">" + Escaped(where) + "</span> " + Escaped(note.Text()) + "</li>";
    }
    return items.empty() ? "<p>All that the file asks for is shown.</p>" : "<ul class=\"notes\">" + items + "</ul>";
  }

  std::string States() const {
    std::string out;
    for (std::size_t index = 0; index < c_.states.size(); ++index) {
      const StateFacts& state = c_.states[index];
      const auto flags = flagsOf_.find(index);
      std::string names, list;
      if (flags != flagsOf_.end()) {
        for (const Flag* flag : flags->second) {
          if (names.find(CheckName(flag->kind)) == std::string::npos) names += std::string(names.empty() ? "" : " ") + CheckName(flag->kind);
          list += "<li>" + Escaped(CheckTitle(flag->kind, c_.limits, c_.setting) + ": " + flag->detail) + "</li>";
        }
      }
      std::string text;
      for (const ShownWindow& window : state.windows) {
        if (state.windows.size() > 1) text += "[" + c_.laneName + " " + std::to_string(window.number) + "]\n";
        for (const std::string& line : window.lines) text += line + "\n";
      }
      const long long frames =
          FirstFrameFrom(state.end, c_.setting.rate) - FirstFrameFrom(state.begin, c_.setting.rate);
      out += "<article class=\"state" + std::string(names.empty() ? "" : " flagged") + "\" id=\"" + StateLabel(index) +
             "\" data-flags=\"" + names + "\">";
      out += "<a class=\"picture\" href=\"#" + StateLabel(index) + "\">" + Picture(c_.pictures[index], index) + "</a>";
      out += "<h3>State " + std::to_string(index + 1) + "</h3><div class=\"times\">" +
             Escaped(FrameText(state.begin, c_.setting.rate)) + " " + FormatTime(state.begin) + "<br>" +
             Escaped(FrameText(state.end, c_.setting.rate)) + " " + FormatTime(state.end) + "<br>" +
             Number(Seconds(state.end - state.begin), "%.3f") + " s, " + std::to_string(frames) + (frames == 1 ? " frame" : " frames") + "</div>";
      out += text.empty() ? "<pre class=\"none\">(no text)</pre>" : "<pre>" + Escaped(text) + "</pre>";
      if (!list.empty()) out += "<ul class=\"flags\">" + list + "</ul>";
      out += "</article>\n";
    }
    return out;
  }

  // The picture, or the part of it that holds the captions laid where it belongs over the grey.
  std::string Picture(const StatePictures::Picture& picture, std::size_t index) const {
    if (picture.png.empty()) return {};
    const auto percent = [](int part, int whole) { return Number(100.0 * part / whole, "%.3f") + "%"; };
    return "<img src=\"data:image/png;base64," + Base64(picture.png) + "\" width=\"" + std::to_string(picture.width) +
           "\" height=\"" + std::to_string(picture.height) + "\" style=\"left:" +
           percent(picture.left, c_.pictureWidth) + ";top:" + percent(picture.top, c_.pictureHeight) +
           ";width:" + percent(picture.width, c_.pictureWidth) + "\" alt=\"State " + std::to_string(index + 1) + "\"" +
           (index < 8 ? "" : " loading=\"lazy\"") + " decoding=\"async\">";
  }

  const ReportContent& c_;
  std::map<std::size_t, std::vector<const Flag*>> flagsOf_;
};

}  // namespace

std::string ReportPage(const ReportContent& content) { return PageWriter(content).Page(); }

}  // namespace kelcaption

#include "captionfiles/SrtTiming.h"

#include <cctype>
#include <cstdint>
#include <string>

#include "captionfiles/ClockTime.h"

namespace kelcaptionfiles {

namespace {

constexpr const char* kUnreadable = "time lines that cannot be read (cue skipped)";

class TimingReader {
 public:
  TimingReader(const Line& line, ReadProblems& problems) : line_(line), text_(line.text), problems_(problems) {}

  std::optional<SrtTiming> Read() {
    const auto begin = Time();
    if (!begin) return std::nullopt;
    Spaces();
    if (text_.substr(pos_, 3) != "-->") return Fail(pos_, "expected \"-->\" between the two time codes");
    pos_ += 3;
    Spaces();
    const std::size_t endColumn = pos_;
    const auto end = Time();
    if (!end) return std::nullopt;
    if (*end < *begin) {
      problems_.Report(At(endColumn), "the cue ends before it begins", "cues that end before they begin (skipped)");
      return std::nullopt;
    }
    return SrtTiming{*begin, *end, pos_};
  }

 private:
  FilePlace At(std::size_t column) const { return FilePlace::At(line_.number, static_cast<int>(column) + 1); }

  std::nullopt_t Fail(std::size_t column, const std::string& problem) {
    problems_.Report(At(column), problem, kUnreadable);
    return std::nullopt;
  }

  void Spaces() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  // A run of digits; nothing when there is none or it is too long to be a time.
  std::optional<std::uint64_t> Digits(std::size_t& count) {
    const std::size_t start = pos_;
    std::uint64_t value = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      if (pos_ - start < 12) value = value * 10 + static_cast<std::uint64_t>(text_[pos_] - '0');
      ++pos_;
    }
    count = pos_ - start;
    if (count == 0 || count > 12) return std::nullopt;
    return value;
  }

  std::optional<kelmediatypes::TickTime> Time() {
    Spaces();
    const std::size_t start = pos_;
    std::uint64_t groups[3] = {0, 0, 0};
    std::size_t starts[3] = {0, 0, 0};
    int count = 0;
    while (true) {
      starts[count] = pos_;
      std::size_t digits = 0;
      const auto value = Digits(digits);
      if (!value) {
        return Fail(pos_, count == 0 ? "expected the hours" : count == 1 ? "expected the minutes" : "expected the seconds");
      }
      groups[count++] = *value;
      if (count == 3 || pos_ >= text_.size() || text_[pos_] != ':') break;
      ++pos_;
    }
    if (count < 2) return Fail(pos_, "expected ':' after the hours");
    if (count == 2) {
      problems_.Report(At(start), "expected the hours", "times without hours (read as minutes and seconds)");
      groups[2] = groups[1], groups[1] = groups[0], groups[0] = 0;
      starts[2] = starts[1], starts[1] = starts[0];
    }
    std::uint64_t millis = 0;
    if (pos_ < text_.size() && (text_[pos_] == ',' || text_[pos_] == '.')) {
      ++pos_;  // players take '.' as well as ','; so do strict readings, as they always did
      const std::size_t fraction = pos_;
      std::size_t digits = 0;
      const auto value = Digits(digits);
      if (!value) return Fail(fraction, "expected the milliseconds");
      if (digits != 3) {
        problems_.Report(At(fraction), "expected three digits of milliseconds",
                         "times without three digits of milliseconds (read as a decimal fraction)");
      }
      // The first three digits, as a fraction of a second.
      std::uint64_t scaled = *value;
      for (std::size_t d = digits; d < 3; ++d) scaled *= 10;
      for (std::size_t d = 3; d < digits; ++d) scaled /= 10;
      millis = scaled;
    } else {
      problems_.Report(At(pos_), "expected ',' before the milliseconds", "times without milliseconds (read as ,000)");
    }
    if (groups[1] >= 60 || groups[2] >= 60) {
      const bool minutes = groups[1] >= 60;
      problems_.Report(At(minutes ? starts[1] : starts[2]),
                       minutes ? "the minutes must be below 60" : "the seconds must be below 60",
                       "times with minutes or seconds past 59 (carried over)");
    }
    const auto time = ClockTime(groups[0], groups[1], groups[2], millis);
    if (!time) return Fail(start, "the time is too large");
    return time;
  }

  const Line& line_;
  std::string_view text_;
  ReadProblems& problems_;
  std::size_t pos_ = 0;
};

}  // namespace

std::optional<SrtTiming> ReadSrtTiming(const Line& line, ReadProblems& problems) {
  return TimingReader(line, problems).Read();
}

}  // namespace kelcaptionfiles

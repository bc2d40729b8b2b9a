#include "kelcaption/CaptionAppearances.h"

#include <algorithm>
#include <map>

namespace kelcaption {

namespace {

// The characters of `line` that `before` showed already: all of it when it is one of them, or
// the longest of them that it begins with (a line being painted).
long LongestKeptPart(const std::string& line, const std::vector<std::string>& before) {
  long kept = 0;
  for (const std::string& old : before) {
    if (line.compare(0, old.size(), old) == 0) kept = std::max(kept, CharacterCount(old));
  }
  return kept;
}

}  // namespace

std::vector<Appearance> AppearancesOf(const std::vector<StateFacts>& states) {
  std::vector<Appearance> appearances;
  std::map<int, std::size_t> showing;  // window number: its appearance that reached the last state
  for (std::size_t index = 0; index < states.size(); ++index) {
    const StateFacts& state = states[index];
    std::map<int, std::size_t> next;
    for (const ShownWindow& window : state.windows) {
      const auto before = showing.find(window.number);
      const Appearance* last = before != showing.end() && appearances[before->second].end == state.begin
                                   ? &appearances[before->second]
                                   : nullptr;
      if (last != nullptr && last->lines == window.lines) {
        Appearance& same = appearances[before->second];
        same.end = state.end;
        same.lastState = index;
        next[window.number] = before->second;
        continue;
      }
      Appearance shown{window.number, window.lines, state.begin, state.end, index, index, 0, false};
      for (const std::string& line : window.lines) {
        const long added = CharacterCount(line) - (last == nullptr ? 0 : LongestKeptPart(line, last->lines));
        shown.newCharacters += added;
        shown.continues = shown.continues || (last != nullptr && added < CharacterCount(line));
      }
      next[window.number] = appearances.size();
      appearances.push_back(std::move(shown));
    }
    showing = std::move(next);
  }
  return appearances;
}

std::vector<Reading> ReadingsOf(const std::vector<Appearance>& appearances) {
  std::vector<Reading> readings;
  std::map<int, std::size_t> open;  // window number: its reading that the window's last appearance belongs to
  for (const Appearance& a : appearances) {
    const auto last = open.find(a.window);
    if (a.continues && last != open.end()) {
      Reading& reading = readings[last->second];
      reading.end = a.end;
      reading.characters += a.newCharacters;
      continue;
    }
    open[a.window] = readings.size();
    readings.push_back({a.window, a.begin, a.end, a.firstState, a.newCharacters});
  }
  return readings;
}

}  // namespace kelcaption

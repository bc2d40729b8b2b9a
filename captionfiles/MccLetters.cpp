#include "captionfiles/MccLetters.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace kelcaptionfiles {

namespace {

struct Letter {
  char letter;
  std::string_view run;
};
constexpr std::string_view kPadding{"\xFA\0\0", 3};
constexpr Letter kLetters[] = {{'P', "\xFB\x80\x80"}, {'Q', "\xFC\x80\x80"},   {'R', "\xFD\x80\x80"}, {'S', "\x96\x69"},
                               {'T', "\x61\x01"},     {'U', {"\xE1\0\0\0", 4}}, {'Z', {"\0", 1}}};
constexpr int kMostPadding = 9;  // G to O

}  // namespace

std::vector<std::uint8_t> MccLetterBytes(char letter) {
  std::vector<std::uint8_t> bytes;
  const auto add = [&bytes](std::string_view run) { bytes.insert(bytes.end(), run.begin(), run.end()); };
  if (letter >= 'G' && letter < 'G' + kMostPadding) {
    for (int i = 0; i <= letter - 'G'; ++i) add(kPadding);
  }
  for (const Letter& known : kLetters) {
    if (known.letter == letter) add(known.run);
  }
  return bytes;
}

std::string MccHex(std::span<const std::uint8_t> bytes) {
  const auto at = [&bytes](std::size_t i, std::string_view run) {
    return i + run.size() <= bytes.size() &&
           std::equal(run.begin(), run.end(), bytes.begin() + static_cast<std::ptrdiff_t>(i),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
  };
  std::string out;
  for (std::size_t i = 0; i < bytes.size();) {
    int padding = 0;
    while (padding < kMostPadding && at(i + kPadding.size() * static_cast<std::size_t>(padding), kPadding)) ++padding;
    if (padding > 0) {
      out += static_cast<char>('G' + padding - 1);
      i += kPadding.size() * static_cast<std::size_t>(padding);
      continue;
    }
    const auto known = std::find_if(std::begin(kLetters), std::end(kLetters), [&](const Letter& l) { return at(i, l.run); });
    if (known != std::end(kLetters)) {
      out += known->letter;
      i += known->run.size();
      continue;
    }
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", bytes[i++]);
    out += hex;
  }
  return out;
}

}  // namespace kelcaptionfiles

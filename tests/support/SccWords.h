#pragma once

// SCC test input, shared by the tests that read and write SCC files.

#include <bit>
#include <cstdio>
#include <string>

namespace kel_test {

// Text as SCC words: characters two to a pair, each byte with its parity bit.
inline std::string Words(const std::string& text) {
  std::string words;
  const auto parity = [](unsigned char b) { return std::popcount(b) % 2 ? b : static_cast<unsigned char>(b | 0x80); };
  for (std::size_t i = 0; i < text.size(); i += 2) {
    char word[8];
    std::snprintf(word, sizeof word, " %02x%02x", parity(static_cast<unsigned char>(text[i])),
                  i + 1 < text.size() ? parity(static_cast<unsigned char>(text[i + 1])) : 0x80);
    words += word;
  }
  return words;
}

}  // namespace kel_test

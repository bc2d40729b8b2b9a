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

// Two pop-on captions: row 14 indented 4, "Hello" then a red "there"; row 15 "Wörld" (an extended
// ö after its stand-in o), a music note (special) and an underlined italic tail. Then a one-row
// caption straight after, erased three seconds later.
inline std::string PopOnScc() {
  return "Scenarist_SCC V1.0\n\n00:00:59;20\t9420 9420 94ae 94ae 9452 9452" + Words("Hello") + " 91a8 91a8" +
         Words("there") + " 9470 9470" + Words("Wo") + " 13b3 13b3" + Words("rld ") + " 9137 9137 912f 912f" +
         Words("on") + " 942f 942f\n\n"
         "00:01:02;00\t9420 9420 94ae 94ae 94d0 94d0" + Words("Two!") + " 942f 942f\n\n00:01:05;00\t942c 942c\n";
}

}  // namespace kel_test

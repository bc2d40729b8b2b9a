#include "captionfiles/Utf8.h"

#include <cstdint>

namespace kelcaptionfiles {

namespace {

// The length of the well-formed sequence at `i`, or 0.
std::size_t SequenceAt(std::string_view s, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  std::size_t extra = 0;
  std::uint32_t cp = 0;
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0) {
    extra = 1, cp = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2, cp = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3, cp = c & 0x07;
  } else {
    return 0;
  }
  for (std::size_t k = 1; k <= extra; ++k) {
    if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  }
  const bool overlong = (extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
  if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return extra + 1;
}

}  // namespace

std::size_t FirstInvalidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t length = SequenceAt(s, i);
    if (length == 0) return i;
    i += length;
  }
  return std::string_view::npos;
}

RepairedUtf8 RepairUtf8(std::string_view s) {
  RepairedUtf8 repaired;
  const std::size_t bad = FirstInvalidUtf8(s);
  if (bad == std::string_view::npos) {
    repaired.text.assign(s);
    return repaired;
  }
  repaired.first = bad;
  repaired.text.reserve(s.size() + 16);
  repaired.text.append(s.substr(0, bad));
  for (std::size_t i = bad; i < s.size();) {
    const std::size_t length = SequenceAt(s, i);
    if (length == 0) {
      ++repaired.invalid;
      repaired.text += "\xEF\xBF\xBD";
      ++i;
    } else {
      repaired.text.append(s.substr(i, length));
      i += length;
    }
  }
  return repaired;
}

}  // namespace kelcaptionfiles

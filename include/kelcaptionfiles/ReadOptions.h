#pragma once

#include <string>

#include "kelcaptionfiles/SubtitleStyle.h"

namespace kelcaptionfiles {

// What a reader may be told besides the file.
struct ReadOptions {
  // The line-21 data channel that SCC files are decoded on: 1 (CC1) or 2 (CC2).
  int channel = 1;
  // Subtitles take this style where the file does not say.
  SubtitleStyle style{};
  // Stop at the first part of the file that cannot be read as written (a ReadError naming it)
  // instead of skipping or repairing it and reporting it in the notes.
  bool strict = false;
  // The text encoding of a text file, as iconv names it ("windows-1252", "UTF-16LE"); empty to
  // take it from a byte-order mark, else UTF-8 when the bytes are valid UTF-8, else a guess.
  std::string encoding{};
};

}  // namespace kelcaptionfiles

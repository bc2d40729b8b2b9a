#pragma once

#include <string>

#include "kelcaptionfiles/SubtitleStyle.h"

namespace kelcaptionfiles {

// What a reader may be told besides the file.
struct ReadOptions {
  // What is shown of files that carry line-21 or digital-TV caption data: line-21 channel 1 to 4
  // (CC1 to CC4; SCC files carry CC1 and CC2), or caption service 1 to 63. With both 0, the
  // default: service 1 when it shows anything, else CC1 (SCC files: CC1).
  int channel = 0;
  int service = 0;
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

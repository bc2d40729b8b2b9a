#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "kelcaptionfiles/Export.h"
#include "kelcaptionfiles/ReadResult.h"
#include "kelcaptionfiles/SubtitleStyle.h"

namespace kelcaptionfiles {

// What a reader may be told besides the file.
struct ReadOptions {
  // The line-21 data channel that SCC files are decoded on: 1 (CC1) or 2 (CC2).
  int channel = 1;
  // Subtitles take this style where the file does not say.
  SubtitleStyle style;
};

// One kind of caption file the library reads.
struct CaptionFileKind {
  const char* name;                     // "SubRip"
  std::vector<std::string> extensions;  // lower case, with the dot: ".srt"
  // Whether the bytes look like this kind (a header, a first cue), for files whose extension is
  // missing or wrong.
  bool (*looksLike)(std::string_view bytes);
  // Throws ReadError for what it cannot read.
  ReadResult (*read)(std::string_view bytes, const std::string& fileName, const ReadOptions& options);
};

// Every kind, in the order content is tried.
KELCAPTIONFILES_API const std::vector<CaptionFileKind>& CaptionFileKinds();

// The kind of `fileName` holding `bytes`: the kind of its extension when the bytes look like it,
// else the first kind the bytes look like, else the kind of its extension; null when nothing fits.
KELCAPTIONFILES_API const CaptionFileKind* FindCaptionFileKind(const std::string& fileName, std::string_view bytes);

// Reads `bytes` as the kind FindCaptionFileKind finds. Throws ReadError for what cannot be read,
// std::runtime_error naming the kinds read when no kind fits.
KELCAPTIONFILES_API ReadResult ReadCaptions(std::string_view bytes, const std::string& fileName,
                                            const ReadOptions& options = {});

// Reads the file at `path`; throws std::runtime_error when it cannot be opened or read.
KELCAPTIONFILES_API ReadResult ReadCaptionFile(const std::string& path, const ReadOptions& options = {});

}  // namespace kelcaptionfiles

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "kelcaptionfiles/CcDataCaptions.h"
#include "kelcaptionfiles/Export.h"
#include "kelcaptionfiles/ReadOptions.h"
#include "kelcaptionfiles/ReadResult.h"

namespace kelcaptionfiles {

// One kind of caption file the library reads.
struct CaptionFileKind {
  const char* name;                     // "SubRip"
  std::vector<std::string> extensions;  // lower case, with the dot: ".srt"
  // Whether the file looks like this kind (a header, a first cue), for files whose extension is
  // missing or wrong. Text kinds see the text decoded to UTF-8, binary kinds the bytes.
  bool (*looksLike)(std::string_view file);
  // Reads the file (decoded for text kinds). Skips and reports what it cannot read; with
  // ReadOptions::strict throws ReadError at the first such part instead.
  ReadResult (*read)(std::string_view file, const std::string& fileName, const ReadOptions& options);
  // A binary kind is read as its bytes; every other kind as text, decoded first.
  bool binary = false;
  // For kinds that carry line-21 and digital-TV caption data: the data, for a look at all it
  // carries (see SummarizeCcData); null for other kinds.
  CcDataRead (*readCcData)(std::string_view file, const std::string& fileName, const ReadOptions& options) = nullptr;
};

// Every kind, in the order content is tried.
KELCAPTIONFILES_API const std::vector<CaptionFileKind>& CaptionFileKinds();

// The kind of `fileName` holding `bytes`: the kind of its extension when the bytes look like it,
// else the first kind the bytes look like, else the kind of its extension; null when nothing fits.
KELCAPTIONFILES_API const CaptionFileKind* FindCaptionFileKind(const std::string& fileName, std::string_view bytes);

// Reads `bytes` as the kind FindCaptionFileKind finds, text kinds decoded from the encoding
// that `options` names or that is found (see DecodeText; a guessed encoding is noted, bytes that
// are not text of it reported). Throws ReadError for what cannot be read in a strict reading,
// std::runtime_error naming the kinds read when no kind fits or for an unknown encoding.
KELCAPTIONFILES_API ReadResult ReadCaptions(std::string_view bytes, const std::string& fileName,
                                            const ReadOptions& options = {});

// Reads the file at `path`; throws std::runtime_error when it cannot be opened or read.
KELCAPTIONFILES_API ReadResult ReadCaptionFile(const std::string& path, const ReadOptions& options = {});

}  // namespace kelcaptionfiles

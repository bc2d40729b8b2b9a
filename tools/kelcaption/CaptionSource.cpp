#include "kelcaption/CaptionSource.h"

#include <fstream>

#include "kelcaption/EmbeddedCaptions.h"

namespace kelcaption {

const kelcaptionfiles::CaptionFileKind* CaptionKindOf(const std::string& path) {
  // Every kind is known by its name and its start; a video need not be read whole to tell.
  std::ifstream in(path, std::ios::binary);
  std::string head(64 * 1024, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return kelcaptionfiles::FindCaptionFileKind(path, head);
}

kelcaptionfiles::ReadResult ReadCaptionSource(const std::string& path, const kelcaptionfiles::ReadOptions& options) {
  if (CaptionKindOf(path) != nullptr) return kelcaptionfiles::ReadCaptionFile(path, options);
  EmbeddedCcData embedded = ReadEmbeddedCcData(path);
  kelcaptionfiles::ReadResult result = kelcaptionfiles::DecodeCcData(embedded.read.data, options, embedded.wideScreen);
  embedded.read.notes.Count(result.notes);
  result.notes = std::move(embedded.read.notes);
  return result;
}

}  // namespace kelcaption

#include "kelcaptionfiles/CaptionFileKinds.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "captionfiles/EbuStlReader.h"
#include "captionfiles/MccReader.h"
#include "captionfiles/SccReader.h"
#include "captionfiles/ReadProblems.h"
#include "captionfiles/SrtReader.h"
#include "captionfiles/TextDecoding.h"
#include "captionfiles/TtmlReader.h"
#include "captionfiles/WebVttReader.h"
#include "kelcaptionfiles/CaptionDocument.h"
#include "kelcaptionfiles/ModelDocument.h"

namespace kelcaptionfiles {

namespace {

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

// The first `count` lines of `text`.
std::string_view FirstLines(std::string_view text, int count) {
  std::size_t end = 0;
  for (int i = 0; i < count; ++i) {
    end = text.find('\n', end);
    if (end == std::string_view::npos) return text;
    ++end;
  }
  return text.substr(0, end);
}

// A cue number (or a time line straight away), then a time line.
bool LooksLikeSrt(std::string_view bytes) {
  const std::string_view text = WithoutByteOrderMark(bytes);
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || !std::isdigit(static_cast<unsigned char>(text[start]))) return false;
  return FirstLines(text.substr(start), 2).find("-->") != std::string_view::npos;
}

bool LooksLikeWebVtt(std::string_view bytes) {
  const std::string_view text = WithoutByteOrderMark(bytes);
  return text.substr(0, 6) == "WEBVTT" &&
         (text.size() == 6 || std::string_view(" \t\r\n").find(text[6]) != std::string_view::npos);
}

bool LooksLikeMcc(std::string_view bytes) {
  return WithoutByteOrderMark(bytes).substr(0, 27) == "File Format=MacCaption_MCC ";
}

bool LooksLikeScc(std::string_view bytes) { return WithoutByteOrderMark(bytes).substr(0, 13) == "Scenarist_SCC"; }

// The header's disk format code, such as "STL25.01", stands at byte 3.
bool LooksLikeEbuStl(std::string_view bytes) {
  return bytes.size() >= 11 && bytes.substr(3, 3) == "STL" && bytes.substr(8, 3) == ".01";
}

bool LooksLikeJson(std::string_view bytes) {
  const std::string_view text = WithoutByteOrderMark(bytes);
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  return start != std::string_view::npos && text[start] == '{';
}

ReadResult ReadJson(std::string_view bytes, const std::string& fileName, const ReadOptions& options) {
  if (std::optional<ReadResult> states = ReadModelDocument(bytes, fileName, options)) return std::move(*states);
  return ReadCaptionDocument(bytes, fileName, options);
}

std::string LowerExtension(const std::string& fileName) {
  std::string extension = std::filesystem::path(fileName).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

}  // namespace

const std::vector<CaptionFileKind>& CaptionFileKinds() {
  static const std::vector<CaptionFileKind> kinds = {
      {"WebVTT", {".vtt"}, LooksLikeWebVtt, ReadWebVtt},
      {"Scenarist SCC", {".scc"}, LooksLikeScc, ReadScc},
      {"MacCaption MCC", {".mcc"}, LooksLikeMcc, ReadMcc, false, ReadMccCcData},
      {"EBU STL", {".stl"}, LooksLikeEbuStl, ReadEbuStl, true},
      {"JSON caption or model document", {".json"}, LooksLikeJson, ReadJson},
      {"Timed text (TTML)", {".ttml", ".dfxp", ".xml"}, LooksLikeTtml, ReadTtml},
      {"SubRip", {".srt"}, LooksLikeSrt, ReadSrt},
  };
  return kinds;
}

namespace {

// The file as each kind sees it: text kinds its decoded text, binary kinds its bytes.
struct FileViews {
  std::string_view bytes;
  std::string_view text;
  std::string_view For(const CaptionFileKind& kind) const { return kind.binary ? bytes : text; }
};

const CaptionFileKind* FindKind(const std::string& fileName, const FileViews& file) {
  const std::string extension = LowerExtension(fileName);
  const CaptionFileKind* byExtension = nullptr;
  for (const CaptionFileKind& kind : CaptionFileKinds()) {
    if (std::find(kind.extensions.begin(), kind.extensions.end(), extension) != kind.extensions.end())
      byExtension = &kind;
  }
  if (byExtension && byExtension->looksLike(file.For(*byExtension))) return byExtension;
  for (const CaptionFileKind& kind : CaptionFileKinds()) {
    if (kind.looksLike(file.For(kind))) return &kind;
  }
  // Read as its extension says, so that the reader names what is wrong.
  return byExtension;
}

}  // namespace

const CaptionFileKind* FindCaptionFileKind(const std::string& fileName, std::string_view bytes) {
  const DecodedText decoded = DecodeText(bytes);
  return FindKind(fileName, {bytes, decoded.utf8});
}

ReadResult ReadCaptions(std::string_view bytes, const std::string& fileName, const ReadOptions& options) {
  const DecodedText decoded = DecodeText(bytes, options.encoding);
  const CaptionFileKind* kind = FindKind(fileName, {bytes, decoded.utf8});
  if (!kind) {
    std::string kinds;
    for (const CaptionFileKind& k : CaptionFileKinds()) {
      kinds += (kinds.empty() ? "" : ", ") + std::string(k.name) + " (" + k.extensions.front() + ")";
    }
    throw std::runtime_error(fileName + ": not a caption file of a kind that is read: " + kinds);
  }
  if (kind->binary) return kind->read(bytes, fileName, options);
  FileNotes decoding;
  ReadProblems problems(fileName, options.strict, decoding);
  if (decoded.guessed) decoding.Add("read as " + decoded.encoding + " (guessed: not UTF-8, no byte-order mark)", {},
                                    NoteKind::kRemark);
  if (decoded.invalid > 0) {
    problems.Report(FilePlace::AtByte(decoded.firstInvalid), "not " + decoded.encoding + " text",
                    "bytes that are not " + decoded.encoding + " text (read as U+FFFD)", NoteKind::kProblem,
                    static_cast<long>(decoded.invalid));
  }
  ReadResult result = kind->read(decoded.utf8, fileName, options);
  decoding.Count(result.notes);
  result.notes = std::move(decoding);
  return result;
}

ReadResult ReadCaptionFile(const std::string& path, const ReadOptions& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return ReadCaptions(text.str(), path, options);
}

}  // namespace kelcaptionfiles

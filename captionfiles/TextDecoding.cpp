#include "captionfiles/TextDecoding.h"

#include <iconv.h>
#include <uchardet.h>

#include <cerrno>
#include <memory>
#include <stdexcept>

#include "captionfiles/Utf8.h"

namespace kelcaptionfiles {

namespace {

struct ByteOrderMark {
  std::string_view bytes;
  const char* encoding;
};

// UTF-32 LE first: its mark begins with UTF-16 LE's.
constexpr ByteOrderMark kMarks[] = {{{"\xFF\xFE\x00\x00", 4}, "UTF-32LE"},
                                    {{"\x00\x00\xFE\xFF", 4}, "UTF-32BE"},
                                    {"\xEF\xBB\xBF", "UTF-8"},
                                    {"\xFF\xFE", "UTF-16LE"},
                                    {"\xFE\xFF", "UTF-16BE"}};

std::string Guess(std::string_view bytes) {
  const std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(uchardet_new(),
                                                                                               uchardet_delete);
  if (!detector || uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0) return {};
  uchardet_data_end(detector.get());
  const char* charset = uchardet_get_charset(detector.get());
  return charset ? charset : "";
}

bool IsUtf8Name(const std::string& name) {
  std::string lower;
  for (char c : name) {
    if (c != '-' && c != '_') lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
  }
  return lower == "utf8";
}

// Converts with iconv; each sequence that is not text of `from` becomes U+FFFD.
void Convert(std::string_view bytes, std::size_t offset, DecodedText& decoded) {
  iconv_t converter = iconv_open("UTF-8", decoded.encoding.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error("unknown text encoding \"" + decoded.encoding + "\" (see iconv --list)");
  }
  const std::unique_ptr<void, int (*)(iconv_t)> closer(converter, iconv_close);
  std::string& out = decoded.utf8;
  out.clear();
  char buffer[4096];
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (true) {
    char* to = buffer;
    std::size_t toLeft = sizeof buffer;
    // A null input at the end flushes what a stateful encoding holds back.
    const std::size_t done = inLeft > 0 ? iconv(converter, &in, &inLeft, &to, &toLeft)
                                        : iconv(converter, nullptr, nullptr, &to, &toLeft);
    out.append(buffer, static_cast<std::size_t>(to - buffer));
    if (done != static_cast<std::size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (errno == E2BIG) continue;
    // EILSEQ, or EINVAL for a sequence cut short at the end: one byte is read as U+FFFD.
    if (decoded.invalid++ == 0) decoded.firstInvalid = static_cast<std::int64_t>(offset) + (in - bytes.data());
    out += "\xEF\xBF\xBD";
    ++in;
    --inLeft;
    if (inLeft == 0) {
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
      break;
    }
  }
}

}  // namespace

DecodedText DecodeText(std::string_view bytes, const std::string& encoding) {
  DecodedText decoded;
  decoded.encoding = encoding;
  const std::size_t size = bytes.size();
  if (encoding.empty()) {
    for (const ByteOrderMark& mark : kMarks) {
      if (bytes.substr(0, mark.bytes.size()) == mark.bytes) {
        decoded.encoding = mark.encoding;
        bytes.remove_prefix(mark.bytes.size());
        break;
      }
    }
  }
  if (decoded.encoding.empty()) {
    if (FirstInvalidUtf8(bytes) == std::string_view::npos) {
      decoded.encoding = "UTF-8";
    } else {
      decoded.encoding = Guess(bytes);
      // uchardet answers in upper case; ASCII means it saw nothing else, yet the bytes are not.
      if (decoded.encoding.empty() || decoded.encoding == "ASCII") decoded.encoding = "WINDOWS-1252";
      decoded.guessed = true;
    }
  }
  if (IsUtf8Name(decoded.encoding)) {
    // A named UTF-8 may still carry its mark.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    // Kept as it is; the text readers report and replace what is not UTF-8, by line and column.
    decoded.utf8.assign(bytes);
    return decoded;
  }
  Convert(bytes, size - bytes.size(), decoded);
  // Named UTF-16 and UTF-32 files may carry their mark too; it is not text.
  if (decoded.utf8.substr(0, 3) == "\xEF\xBB\xBF") decoded.utf8.erase(0, 3);
  return decoded;
}

}  // namespace kelcaptionfiles

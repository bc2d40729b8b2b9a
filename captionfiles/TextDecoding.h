#pragma once

// Caption text files come in many encodings: UTF-8 with or without a byte-order mark, UTF-16
// with one, and the 8-bit and CJK encodings of older subtitle tools. Every text reader reads
// UTF-8; this turns a file's bytes into it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelcaptionfiles {

struct DecodedText {
  std::string utf8;        // without a byte-order mark
  std::string encoding;    // what the bytes were read as, as iconv names it
  bool guessed = false;    // no byte-order mark or name said so, and the bytes are not UTF-8
  std::size_t invalid = 0;         // byte sequences that are not text of `encoding`, each read as U+FFFD
  std::int64_t firstInvalid = -1;  // the byte offset of the first of them
};

// `bytes` as UTF-8. `encoding` names the encoding (any name iconv knows); empty to take it from a
// byte-order mark (UTF-8, UTF-16 LE or BE, UTF-32 LE or BE), else UTF-8 when the bytes are valid
// UTF-8, else what uchardet guesses (windows-1252 when it cannot tell). Valid UTF-8 is passed on
// as it is. Throws std::runtime_error for an encoding that iconv does not know.
DecodedText DecodeText(std::string_view bytes, const std::string& encoding = {});

}  // namespace kelcaptionfiles

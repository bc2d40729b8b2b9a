#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelcaptionfiles {

struct CharacterReference {
  std::string utf8;    // what it stands for
  std::size_t length;  // the bytes it took after the '&'
};

// HTML's "consume a character reference", which WebVTT cue text uses for its escapes: `text` is
// what follows an '&'. Numeric references (&#38; &#x26;) with or without their ';', numbers
// that are no character replaced as HTML replaces them, and named ones (&amp; &lrm; &nbsp; and
// every other HTML name, the older ones also without ';'). Nothing when the '&' starts no
// reference: then it is an '&' of the text. `additionalAllowed` is a character that ends text
// without a reference, and marks text inside a tag, where a name without ';' before '=' or a
// letter or digit is not a reference.
std::optional<CharacterReference> ConsumeCharacterReference(std::string_view text, char additionalAllowed = 0);

// Appends `c` as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace kelcaptionfiles

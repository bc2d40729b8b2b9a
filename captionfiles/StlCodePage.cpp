#include "captionfiles/StlCodePage.h"

#include <cstring>
#include <utility>

namespace kelcaptionfiles::stl {

namespace {

// 0xA0 to 0xFF of the Latin table; 0 where it defines nothing. 0xA4 and 0xA6 keep the dollar
// and number signs of the table's first edition, which older files still use.
constexpr char16_t kLatinUpper[96] = {
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x0024, 0x00A5, 0x0023, 0x00A7,                          // A0
    0x00A4, 0x2018, 0x201C, 0x00AB, 0x2190, 0x2191, 0x2192, 0x2193,                          // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00D7, 0x00B5, 0x00B6, 0x00B7,                          // B0
    0x00F7, 0x2019, 0x201D, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,                          // B8
    0,      0,      0,      0,      0,      0,      0,      0,      0, 0, 0, 0, 0, 0, 0, 0,  // C0: accents
    0x2015, 0x00B9, 0x00AE, 0x00A9, 0x2122, 0x266A, 0x00AC, 0x00A6,                          // D0
    0,      0,      0,      0,      0x215B, 0x215C, 0x215D, 0x215E,                          // D8
    0x2126, 0x00C6, 0x0110, 0x00AA, 0x0126, 0,      0x0132, 0x013F,                          // E0
    0x0141, 0x00D8, 0x0152, 0x00BA, 0x00DE, 0x0166, 0x014A, 0x0149,                          // E8
    0x0138, 0x00E6, 0x0111, 0x00F0, 0x0127, 0x0131, 0x0133, 0x0140,                          // F0
    0x0142, 0x00F8, 0x0153, 0x00DF, 0x00FE, 0x0167, 0x014B, 0x00AD,                          // F8
};

// 0xC1 to 0xCF; 0xC9, the umlaut of the first edition, is the diaeresis.
constexpr char32_t kLatinAccents[15] = {0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307, 0x0308,
                                        0x0308, 0x030A, 0x0327, 0,      0x030B, 0x0328, 0x030C};

constexpr char16_t kGreekA0[32] = {
    0x00A0, 0x2018, 0x2019, 0x00A3, 0x20AC, 0x20AF, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x037A,
    0x00AB, 0x00AC, 0x00AD, 0,      0x2015, 0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x0384, 0x0385,
    0x0386, 0x00B7, 0x0388, 0x0389, 0x038A, 0x00BB, 0x038C, 0x00BD, 0x038E, 0x038F,
};

char32_t Cyrillic(unsigned char b) {
  if (b == 0xA0) return 0x00A0;
  if (b == 0xAD) return 0x00AD;
  if (b == 0xF0) return 0x2116;
  if (b == 0xFD) return 0x00A7;
  return 0x0401 + (b - 0xA1u);  // the letters stand in Unicode order from U+0401 at 0xA1
}

char32_t Arabic(unsigned char b) {
  switch (b) {
    case 0xA0: return 0x00A0;
    case 0xA4: return 0x00A4;
    case 0xAC: return 0x060C;
    case 0xAD: return 0x00AD;
    case 0xBB: return 0x061B;
    case 0xBF: return 0x061F;
    default: break;
  }
  if (b >= 0xC1 && b <= 0xDA) return 0x0621 + (b - 0xC1u);
  if (b >= 0xE0 && b <= 0xF2) return 0x0640 + (b - 0xE0u);
  return 0;
}

char32_t Greek(unsigned char b) {
  if (b < 0xC0) return kGreekA0[b - 0xA0];
  if (b == 0xD2 || b == 0xFF) return 0;
  return 0x0390 + (b - 0xC0u);
}

char32_t Hebrew(unsigned char b) {
  if (b == 0xA0) return 0x00A0;
  if (b == 0xAA) return 0x00D7;
  if (b == 0xBA) return 0x00F7;
  if ((b >= 0xA2 && b <= 0xBE)) return b;  // Latin-1 signs where they stand in Latin-1
  if (b == 0xDF) return 0x2017;
  if (b >= 0xE0 && b <= 0xFA) return 0x05D0 + (b - 0xE0u);
  if (b == 0xFD) return 0x200E;
  if (b == 0xFE) return 0x200F;
  return 0;
}

// Each accent's spacing form.
constexpr std::pair<char32_t, char32_t> kSpacingAccents[] = {
    {0x0300, 0x0060}, {0x0301, 0x00B4}, {0x0302, 0x02C6}, {0x0303, 0x02DC}, {0x0304, 0x00AF},
    {0x0306, 0x02D8}, {0x0307, 0x02D9}, {0x0308, 0x00A8}, {0x030A, 0x02DA}, {0x0327, 0x00B8},
    {0x030B, 0x02DD}, {0x0328, 0x02DB}, {0x030C, 0x02C7},
};

struct Compositions {
  char32_t mark;
  const char* bases;
  const char16_t* letters;  // one per base
};

// Every precomposed letter that Unicode has for an ASCII letter and one of the table's accents.
constexpr Compositions kCompositions[] = {
    {0x0300, "AEINOUWYaeinouwy", u"ÀÈÌǸÒÙẀỲàèìǹòùẁỳ"},
    {0x0301, "ACEGIKLMNOPRSUWYZacegiklmnoprsuwyz", u"ÁĆÉǴÍḰĹḾŃÓṔŔŚÚẂÝŹáćéǵíḱĺḿńóṕŕśúẃýź"},
    {0x0302, "ACEGHIJOSUWYZaceghijosuwyz", u"ÂĈÊĜĤÎĴÔŜÛŴŶẐâĉêĝĥîĵôŝûŵŷẑ"},
    {0x0303, "AEINOUVYaeinouvy", u"ÃẼĨÑÕŨṼỸãẽĩñõũṽỹ"},
    {0x0304, "AEGIOUYaegiouy", u"ĀĒḠĪŌŪȲāēḡīōūȳ"},
    {0x0306, "AEGIOUaegiou", u"ĂĔĞĬŎŬăĕğĭŏŭ"},
    {0x0307, "ABCDEFGHIMNOPRSTWXYZabcdefghmnoprstwxyz", u"ȦḂĊḊĖḞĠḢİṀṄȮṖṘṠṪẆẊẎŻȧḃċḋėḟġḣṁṅȯṗṙṡṫẇẋẏż"},
    {0x0308, "AEHIOUWXYaehiotuwxy", u"ÄËḦÏÖÜẄẌŸäëḧïöẗüẅẍÿ"},
    {0x030A, "AUauwy", u"ÅŮåůẘẙ"},
    {0x030B, "OUou", u"ŐŰőű"},
    {0x030C, "ACDEGHIKLNORSTUZacdeghijklnorstuz", u"ǍČĎĚǦȞǏǨĽŇǑŘŠŤǓŽǎčďěǧȟǐǰǩľňǒřšťǔž"},
    {0x0327, "CDEGHKLNRSTcdeghklnrst", u"ÇḐȨĢḨĶĻŅŖŞŢçḑȩģḩķļņŗşţ"},
    {0x0328, "AEIOUaeiou", u"ĄĘĮǪŲąęįǫų"},
};

}  // namespace

std::optional<char32_t> CharacterOf(CharacterTable table, unsigned char byte) {
  if (byte >= 0x20 && byte < 0x7F) return byte;  // every table keeps ASCII in its lower half
  if (byte < 0xA0) return std::nullopt;
  char32_t c = 0;
  switch (table) {
    case CharacterTable::kLatin: c = kLatinUpper[byte - 0xA0]; break;
    case CharacterTable::kCyrillic: c = Cyrillic(byte); break;
    case CharacterTable::kArabic: c = Arabic(byte); break;
    case CharacterTable::kGreek: c = Greek(byte); break;
    case CharacterTable::kHebrew: c = Hebrew(byte); break;
  }
  if (c == 0) return std::nullopt;
  return c;
}

char32_t AccentOf(CharacterTable table, unsigned char byte) {
  if (table != CharacterTable::kLatin || byte < 0xC1 || byte > 0xCF) return 0;
  return kLatinAccents[byte - 0xC1];
}

char32_t Compose(char32_t base, char32_t mark) {
  if (base == U' ') {
    for (const auto& [combining, spacing] : kSpacingAccents) {
      if (combining == mark) return spacing;
    }
    return 0;
  }
  if (base >= 0x80) return 0;
  for (const Compositions& c : kCompositions) {
    if (c.mark != mark) continue;
    const char* found = std::strchr(c.bases, static_cast<int>(base));
    return found && base != 0 ? c.letters[found - c.bases] : 0;
  }
  return 0;
}

std::string LatinBytesOf(char32_t c) {
  for (unsigned byte = 0x20; byte < 0x100; ++byte) {
    if (CharacterOf(CharacterTable::kLatin, static_cast<unsigned char>(byte)) == c) {
      return std::string(1, static_cast<char>(byte));
    }
  }
  for (unsigned accent = 0xC1; accent <= 0xCF; ++accent) {
    const char32_t mark = AccentOf(CharacterTable::kLatin, static_cast<unsigned char>(accent));
    for (char base = ' '; mark != 0 && base < 0x7F; ++base) {
      if (Compose(static_cast<char32_t>(base), mark) == c) return {static_cast<char>(accent), base};
    }
  }
  return {};
}

}  // namespace kelcaptionfiles::stl

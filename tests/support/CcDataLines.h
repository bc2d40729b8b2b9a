#pragma once

// Caption data for tests as carriers hold it: line-21 pairs with their parity bits, and MCC
// lines wrapping cc_data triplets in a caption distribution packet inside an ANC packet.

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "kelcaptionfiles/CcData.h"

namespace kel_test {

// A line-21 byte with its odd parity bit.
inline std::uint8_t WithParity(unsigned char byte) {
  return std::popcount(byte) % 2 ? byte : static_cast<std::uint8_t>(byte | 0x80);
}

// A pop-on caption of `text` on row 15 for data channel 1 of the field (CC1 or CC3): RCL, ENM,
// PAC, the text two characters a pair, EOC; each control code sent twice, one pair a frame.
inline std::vector<std::pair<std::uint8_t, std::uint8_t>> PopOnPairs(const std::string& text) {
  std::vector<std::pair<std::uint8_t, std::uint8_t>> pairs;
  for (const std::uint8_t code : {std::uint8_t{0x20}, std::uint8_t{0x2E}}) pairs.insert(pairs.end(), 2, {WithParity(0x14), WithParity(code)});
  pairs.insert(pairs.end(), 2, {WithParity(0x14), WithParity(0x70)});
  for (std::size_t i = 0; i < text.size(); i += 2) {
    pairs.push_back({WithParity(static_cast<unsigned char>(text[i])),
                     i + 1 < text.size() ? WithParity(static_cast<unsigned char>(text[i + 1])) : std::uint8_t{0x80}});
  }
  pairs.insert(pairs.end(), 2, {WithParity(0x14), WithParity(0x2F)});
  return pairs;
}

// The ANC packet of a caption distribution packet (frame rate code `rateCode`, 4 for 30000/1001)
// holding `triplets`, in hex.
inline std::string CdpHex(const std::vector<kelcaptionfiles::CcData>& triplets, int sequence, int rateCode = 4) {
  std::vector<std::uint8_t> cdp = {0x96, 0x69, 0, static_cast<std::uint8_t>(rateCode << 4 | 0x0F), 0x42,
                                   static_cast<std::uint8_t>(sequence >> 8), static_cast<std::uint8_t>(sequence),
                                   0x72, static_cast<std::uint8_t>(0xE0 | triplets.size())};
  for (const kelcaptionfiles::CcData& t : triplets) {
    cdp.insert(cdp.end(), {static_cast<std::uint8_t>(0xF8 | (t.valid ? 4 : 0) | t.type), t.first, t.second});
  }
  cdp.insert(cdp.end(), {0x74, static_cast<std::uint8_t>(sequence >> 8), static_cast<std::uint8_t>(sequence), 0});
  cdp[2] = static_cast<std::uint8_t>(cdp.size());
  unsigned sum = 0;
  for (std::uint8_t b : cdp) sum += b;
  cdp.back() = static_cast<std::uint8_t>(256 - sum % 256);
  std::string hex = "6101";
  char byte[3];
  std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned>(cdp.size()));
  hex += byte;
  for (std::uint8_t b : cdp) std::snprintf(byte, sizeof byte, "%02X", b), hex += byte;
  return hex + "B4";  // the ANC checksum, which readers pass over
}

// One frame's triplets as a 29.97 encoder sends them: a field-1 pair, a field-2 pair, padding.
inline std::vector<kelcaptionfiles::CcData> FrameTriplets(std::pair<std::uint8_t, std::uint8_t> field1,
                                                          std::pair<std::uint8_t, std::uint8_t> field2 = {0x80, 0x80}) {
  std::vector<kelcaptionfiles::CcData> triplets = {{true, 0, field1.first, field1.second},
                                                   {true, 1, field2.first, field2.second}};
  triplets.insert(triplets.end(), 18, {false, 2, 0, 0});
  return triplets;
}

}  // namespace kel_test

#pragma once

// The letters by which MCC files shorten runs of bytes that caption packets often hold: G to O
// for one to nine padding triplets (FA 00 00), P to U for other triplets and headers, Z for 00.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelcaptionfiles {

// The bytes `letter` stands for; empty for a letter that stands for none.
std::vector<std::uint8_t> MccLetterBytes(char letter);

// `bytes` in hexadecimal, each run that a letter stands for written as the letter.
std::string MccHex(std::span<const std::uint8_t> bytes);

}  // namespace kelcaptionfiles

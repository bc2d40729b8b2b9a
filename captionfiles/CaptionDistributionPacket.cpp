#include "captionfiles/CaptionDistributionPacket.h"

#include <numeric>
#include <stdexcept>

namespace kelcaptionfiles {

namespace {

// The rates that packets name, with their codes and how many triplets each packet carries.
struct NamedRate {
  std::int64_t numerator, denominator;
  CdpRate cdp;
};
constexpr NamedRate kRates[] = {{24000, 1001, {1, 25}}, {24, 1, {2, 25}}, {25, 1, {3, 24}}, {30000, 1001, {4, 20}},
                                {30, 1, {5, 20}},       {50, 1, {6, 12}}, {60000, 1001, {7, 10}}, {60, 1, {8, 10}}};

}  // namespace

std::optional<CdpRate> CdpRateOf(const FrameClock& clock) {
  for (const NamedRate& rate : kRates) {
    if (rate.numerator * clock.Denominator() == clock.Numerator() * rate.denominator) return rate.cdp;
  }
  return std::nullopt;
}

std::optional<std::pair<int, int>> CdpFrameRate(int code) {
  for (const NamedRate& rate : kRates) {
    if (rate.cdp.code == code) return std::pair{static_cast<int>(rate.numerator), static_cast<int>(rate.denominator)};
  }
  return std::nullopt;
}

std::vector<std::uint8_t> CaptionDistributionPacket(const CdpRate& rate, std::uint16_t sequence,
                                                    std::span<const CcData> triplets) {
  if (triplets.size() > static_cast<std::size_t>(rate.tripletCount)) {
    throw std::logic_error("more caption data triplets than a caption distribution packet carries");
  }
  const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };
  const std::uint8_t high = byte(sequence >> 8), low = byte(sequence & 0xFF);
  // The ANC header, then the packet: caption data present, caption service active, the reserved
  // bit set.
  std::vector<std::uint8_t> anc{0x61, 0x01, 0, 0x96, 0x69, 0, byte(rate.code << 4 | 0x0F), 0x43, high, low,
                                0x72, byte(0xE0 | rate.tripletCount)};
  const auto add = [&anc](std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    anc.push_back(a);
    anc.push_back(b);
    anc.push_back(c);
  };
  for (const CcData& t : triplets) add(byte(0xF8 | (t.valid ? 4 : 0) | t.type), t.first, t.second);
  for (std::size_t i = triplets.size(); i < static_cast<std::size_t>(rate.tripletCount); ++i) add(0xFA, 0x00, 0x00);
  add(0x74, high, low);
  constexpr std::size_t kCdp = 3;  // where the packet starts
  anc[2] = anc[kCdp + 2] = byte(static_cast<int>(anc.size() - kCdp) + 1);
  // The checksum makes the packet's bytes add up to a multiple of 256.
  anc.push_back(byte(-std::accumulate(anc.begin() + kCdp, anc.end(), 0) & 0xFF));
  anc.push_back(byte(std::accumulate(anc.begin(), anc.end(), 0) & 0xFF));
  return anc;
}

}  // namespace kelcaptionfiles

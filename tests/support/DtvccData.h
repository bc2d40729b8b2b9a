#pragma once

// Digital-TV caption data for tests: commands as bytes, packed into service blocks, DTVCC
// packets and cc_data triplets as an encoder sends them.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "kelcaptionfiles/CcData.h"

namespace kel_test {

using Bytes = std::vector<std::uint8_t>;

struct WindowDefinition {
  int id = 0;
  bool visible = true;
  bool rowLock = false;
  bool columnLock = false;
  int priority = 0;
  bool relative = false;
  int vertical = 0;
  int horizontal = 0;
  int anchorPoint = 0;
  int rows = 1;
  int columns = 32;
  int windowStyle = 1;
  int penStyle = 1;
};

inline Bytes DefineWindow(const WindowDefinition& d) {
  return {static_cast<std::uint8_t>(0x98 + d.id),
          static_cast<std::uint8_t>((d.visible ? 0x20 : 0) | (d.rowLock ? 0x10 : 0) | (d.columnLock ? 0x08 : 0) |
                                    d.priority),
          static_cast<std::uint8_t>((d.relative ? 0x80 : 0) | d.vertical),
          static_cast<std::uint8_t>(d.horizontal),
          static_cast<std::uint8_t>(d.anchorPoint << 4 | (d.rows - 1)),
          static_cast<std::uint8_t>(d.columns - 1),
          static_cast<std::uint8_t>(d.windowStyle << 3 | d.penStyle)};
}

// A colour byte: opacity (0 solid, 1 flash, 2 translucent, 3 transparent) and levels 0 to 3.
constexpr std::uint8_t Color(int opacity, int red, int green, int blue) {
  return static_cast<std::uint8_t>(opacity << 6 | red << 4 | green << 2 | blue);
}

struct WindowAttributes {
  std::uint8_t fill = Color(0, 0, 0, 0);
  int borderType = 0;
  std::uint8_t border = 0;
  bool wordWrap = false;
  int printDirection = 0;
  int scrollDirection = 3;
  int justify = 0;
  int effectSpeed = 0;
  int effectDirection = 0;
  int displayEffect = 0;
};

inline Bytes SetWindowAttributes(const WindowAttributes& a) {
  return {0x97, a.fill, static_cast<std::uint8_t>((a.borderType & 3) << 6 | (a.border & 0x3F)),
          static_cast<std::uint8_t>((a.borderType & 4) << 5 | (a.wordWrap ? 0x40 : 0) | a.printDirection << 4 |
                                    a.scrollDirection << 2 | a.justify),
          static_cast<std::uint8_t>(a.effectSpeed << 4 | a.effectDirection << 2 | a.displayEffect)};
}

struct PenAttributes {
  int textTag = 0;
  int offset = 1;
  int size = 1;
  bool italics = false;
  bool underline = false;
  int edge = 0;
  int font = 0;
};

inline Bytes SetPenAttributes(const PenAttributes& p) {
  return {0x90, static_cast<std::uint8_t>(p.textTag << 4 | p.offset << 2 | p.size),
          static_cast<std::uint8_t>((p.italics ? 0x80 : 0) | (p.underline ? 0x40 : 0) | p.edge << 3 | p.font)};
}

inline Bytes SetPenColor(std::uint8_t foreground, std::uint8_t background, std::uint8_t edge) {
  return {0x91, foreground, background, edge};
}

inline Bytes SetPenLocation(int row, int column) {
  return {0x92, static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(column)};
}

// ClearWindows (0x88), DisplayWindows (0x89), HideWindows, ToggleWindows, DeleteWindows (0x8C)
// and Delay (0x8D) with their one parameter byte.
inline Bytes WithByte(std::uint8_t command, int parameter) { return {command, static_cast<std::uint8_t>(parameter)}; }

inline Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Service blocks of `service` holding `commands`, none split between blocks, each block in a
// packet of its own whose sequence numbers follow from `sequence`.
inline std::vector<kelcaptionfiles::CcData> Packets(const std::vector<Bytes>& commands, int service = 1,
                                                    int* sequence = nullptr) {
  int ownSequence = 0;
  int& next = sequence ? *sequence : ownSequence;
  std::vector<Bytes> blocks(1);
  for (const Bytes& command : commands) {
    if (blocks.back().size() + command.size() > 31) blocks.emplace_back();
    blocks.back().insert(blocks.back().end(), command.begin(), command.end());
  }
  std::vector<kelcaptionfiles::CcData> triplets;
  for (const Bytes& block : blocks) {
    Bytes packet;
    if (service < 7) {
      packet.push_back(static_cast<std::uint8_t>(service << 5 | block.size()));
    } else {
      packet.push_back(static_cast<std::uint8_t>(0xE0 | block.size()));
      packet.push_back(static_cast<std::uint8_t>(service));
    }
    packet.insert(packet.end(), block.begin(), block.end());
    // The header byte and the data fill whole byte pairs; padding follows a null block header.
    if (packet.size() % 2 == 0) packet.push_back(0);
    const auto header = static_cast<std::uint8_t>(next << 6 | (packet.size() + 1) / 2);
    next = (next + 1) % 4;
    triplets.push_back({true, 3, header, packet[0]});
    for (std::size_t i = 1; i < packet.size(); i += 2) triplets.push_back({true, 2, packet[i], packet[i + 1]});
  }
  return triplets;
}

}  // namespace kel_test

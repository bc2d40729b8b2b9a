#pragma once

#include <cstdint>

namespace kelcaptioning {

// Four-character codes, most significant byte first ('6CC1' is 0x36434331).
enum StreamFormat : std::uint32_t {
  kStreamFormat_Unknown = 0,
  // Line-21 (CEA-608) caption channels: grids of 15 rows by 32 columns.
  kStreamFormat_CEA608_CC1 = 0x36434331,  // '6CC1'
  kStreamFormat_CEA608_CC2 = 0x36434332,  // '6CC2'
  kStreamFormat_CEA608_CC3 = 0x36434333,  // '6CC3'
  kStreamFormat_CEA608_CC4 = 0x36434334,  // '6CC4'
  // Digital-television (CEA-708) caption service: 15 rows by 32 columns, or 42 on wide screens.
  kStreamFormat_CEA708 = 0x37303853,  // '708S'
  // EBU teletext subtitles: grids of 23 rows by 40 columns.
  kStreamFormat_TeletextLevel10 = 0x544C3130,  // 'TL10'
  kStreamFormat_TeletextLevel15 = 0x544C3135,  // 'TL15'
  kStreamFormat_TeletextLevel20 = 0x544C3230,  // 'TL20'
  // EBU open subtitling: free rows of styled text, burnt into the picture.
  kStreamFormat_OpenEBU = 0x4F454255,  // 'OEBU'
  // Open (burnt-in) subtitles of free rows of styled text.
  kStreamFormat_OpenCaptions = 0x4F50454E,  // 'OPEN'
};

}  // namespace kelcaptioning

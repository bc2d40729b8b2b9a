// What libzvbi's line-21 caption decoder shows for cc_data triplets: a second opinion on the line-21
// decoder, used by scripts/compare-embedded (which builds it; it is no part of the project's build).
//
//   zvbi-caption-reference CHANNEL < TRIPLETS
//
// CHANNEL is 1 to 4 (CC1..CC4). Each input line is one frame: its time in seconds, then its cc_data
// triplets as six hex digits each (cc_valid and cc_type byte, then the two line-21 bytes with
// their parity bits). Each time libzvbi says the channel's page changed, one line is printed: the
// frame's time, a tab, and the page's text, rows joined by " | " (blank rows left out).
//
// libzvbi takes a gap of more than 50 ms between calls as lost frames and forgets the caption
// then, so it is fed on a steady clock of one call a frame and the frame's own time is printed.

#include <libzvbi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct PageWatch {
  int channel = 1;
  bool changed = false;
};

void NoteCaption(vbi_event* event, void* user) {
  auto* watch = static_cast<PageWatch*>(user);
  if (event->type == VBI_EVENT_CAPTION && event->ev.caption.pgno == watch->channel) watch->changed = true;
}

std::string PageText(vbi_decoder* decoder, int channel) {
  vbi_page page;
  if (!vbi_fetch_cc_page(decoder, &page, channel, TRUE)) return {};
  std::string text;
  std::vector<char> row(4 * static_cast<std::size_t>(page.columns) + 1);
  for (int y = 0; y < page.rows; ++y) {
    const int size = vbi_print_page_region(&page, row.data(), static_cast<int>(row.size()), "UTF-8", FALSE, TRUE, 0,
                                           y, page.columns, 1);
    std::string line(row.data(), static_cast<std::size_t>(size > 0 ? size : 0));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\n')) line.pop_back();
    while (!line.empty() && line.front() == ' ') line.erase(line.begin());
    if (line.empty()) continue;
    if (!text.empty()) text += " | ";
    text += line;
  }
  vbi_unref_page(&page);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  PageWatch watch;
  if (argc != 2 || (watch.channel = std::atoi(argv[1])) < 1 || watch.channel > 4) {
    std::cerr << "usage: zvbi-caption-reference CHANNEL(1-4) < TRIPLETS\n";
    return 2;
  }
  vbi_decoder* decoder = vbi_decoder_new();
  if (decoder == nullptr || !vbi_event_handler_register(decoder, VBI_EVENT_CAPTION, NoteCaption, &watch)) {
    std::cerr << "libzvbi: no caption decoder\n";
    return 1;
  }
  std::string line;
  double clock = 1.0;
  while (std::getline(std::cin, line)) {
    std::istringstream fields(line);
    std::string time;
    fields >> time;
    std::vector<vbi_sliced> sliced;
    std::string hex;
    while (fields >> hex) {
      const unsigned long triplet = std::stoul(hex, nullptr, 16);
      const unsigned header = static_cast<unsigned>(triplet >> 16);
      // Only valid line-21 pairs: cc_type 0 is field 1 (CC1, CC2), 1 is field 2 (CC3, CC4).
      if ((header & 0x04) == 0 || (header & 0x03) > 1) continue;
      vbi_sliced pair{};
      const bool secondField = (header & 0x03) == 1;
      pair.id = secondField ? VBI_SLICED_CAPTION_525_F2 : VBI_SLICED_CAPTION_525_F1;
      pair.line = secondField ? 284 : 21;
      pair.data[0] = static_cast<std::uint8_t>(triplet >> 8);
      pair.data[1] = static_cast<std::uint8_t>(triplet);
      sliced.push_back(pair);
    }
    watch.changed = false;
    vbi_decode(decoder, sliced.data(), static_cast<int>(sliced.size()), clock);
    clock += 1.0 / 30;
    if (watch.changed) std::printf("%s\t%s\n", time.c_str(), PageText(decoder, watch.channel).c_str());
  }
  vbi_decoder_delete(decoder);
  return 0;
}

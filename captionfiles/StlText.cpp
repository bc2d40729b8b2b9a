#include "captionfiles/StlText.h"

#include <cstdio>

namespace kelcaptionfiles::stl {

using kelcaptioning::CaptioningColor;

namespace {

// The alpha colours 0x00 to 0x07: black, red, green, yellow, blue, magenta, cyan, white.
constexpr CaptioningColor kTeletextColors[8] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0},
                                                {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};

std::string Hex(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

class Decoder {
 public:
  Decoder(CharacterTable table, TextMode mode, const FilePlace& place, FileNotes& notes)
      : table_(table), mode_(mode), place_(place), notes_(notes) {}

  std::vector<TextRow> Run(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (byte == 0x8A) {
        EndRow();
      } else if (byte == 0x8F) {
        continue;
      } else if (byte < 0x20) {
        Control(byte);
      } else if (byte >= 0x80 && byte < 0xA0) {
        Markup(byte);
      } else if (const char32_t accent = AccentOf(table_, byte)) {
        i += Accented(accent, text.substr(i + 1));
      } else {
        Character(byte);
      }
    }
    rows_.push_back(std::move(row_));
    return std::move(rows_);
  }

 private:
  TextCell Cell(CellKind kind, char32_t character) const {
    TextCell cell;
    cell.character = character;
    cell.kind = kind;
    cell.foreground = foreground_;
    cell.boxed = boxed_ || openBox_;
    cell.background = background_;
    cell.italic = italic_;
    cell.underline = underline_;
    cell.doubleHeight = doubleHeight_;
    return cell;
  }

  void Space() { row_.push_back(Cell(CellKind::kControl, U' ')); }

  void EndRow() {
    rows_.push_back(std::move(row_));
    row_.clear();
    foreground_ = kelcaptioning::kCaptioningColor_White;
    background_ = kelcaptioning::kCaptioningColor_Black;
    boxed_ = false;
    doubleHeight_ = false;
  }

  // Spacing attributes. Set-at codes change the cell they take; set-after codes the cells after.
  void Control(unsigned char code) {
    switch (code) {
      case 0x0C: doubleHeight_ = false; break;
      case 0x18: notes_.Count("conceal (0x18)", place_); break;
      case 0x19:
      case 0x1A: notes_.Count("contiguous and separated mosaics (0x19, 0x1A)", place_); break;
      case 0x1C: background_ = kelcaptioning::kCaptioningColor_Black; break;
      case 0x1D: background_ = foreground_; break;
      case 0x1E: notes_.Count("hold mosaics (0x1E)", place_); break;
      default: break;
    }
    Space();
    if (code <= 0x07) {
      foreground_ = kTeletextColors[code];
      return;
    }
    switch (code) {
      case 0x08: notes_.Count("flash (0x08)", place_); break;
      case 0x0A: boxed_ = false; break;
      case 0x0B: boxed_ = true; break;
      case 0x0D:
        if (mode_ == TextMode::kTeletext)
          doubleHeight_ = true;
        else
          notes_.Count("double height (0x0D) in open subtitles, shown at normal height", place_);
        break;
      case 0x0E: notes_.Count("double width (0x0E)", place_); break;
      case 0x0F: notes_.Count("double size (0x0F)", place_); break;
      case 0x1B: notes_.Count("character set switch (ESC, 0x1B)", place_); break;
      case 0x1F: notes_.Count("release mosaics (0x1F)", place_); break;
      default:
        if (code >= 0x10 && code <= 0x17)
          notes_.Count("mosaic graphics (0x10 to 0x17), later characters shown as text", place_);
        break;
    }
  }

  // The codes of 0x80 to 0x9F take no cell.
  void Markup(unsigned char code) {
    switch (code) {
      case 0x80: italic_ = true; break;
      case 0x81: italic_ = false; break;
      case 0x82: underline_ = true; break;
      case 0x83: underline_ = false; break;
      case 0x84:
      case 0x85:
        if (mode_ == TextMode::kOpen)
          openBox_ = code == 0x84;
        else
          notes_.Count("open-subtitle boxing (0x84, 0x85) in teletext subtitles", place_);
        break;
      default: notes_.Count("reserved code " + Hex(code), place_); break;
    }
  }

  // An accent applies to the character after it; on a space, or on nothing, it stands alone.
  // Returns the bytes taken after the accent.
  std::size_t Accented(char32_t accent, std::string_view rest) {
    const auto next = rest.empty() ? 0u : static_cast<unsigned char>(rest[0]);
    if (next < 0x20 || next >= 0x7F) {
      row_.push_back(Cell(CellKind::kCharacter, Compose(U' ', accent)));
      return 0;
    }
    const char32_t composed = Compose(next, accent);
    TextCell cell = Cell(CellKind::kCharacter, composed ? composed : next);
    if (!composed) cell.accent = accent;
    row_.push_back(cell);
    return 1;
  }

  void Character(unsigned char byte) {
    std::optional<char32_t> c = CharacterOf(table_, byte);
    if (!c) {
      notes_.Count("undefined character " + Hex(byte) + " (shown as U+FFFD)", place_);
      c = U'\uFFFD';
    }
    row_.push_back(Cell(byte == 0x20 ? CellKind::kSpace : CellKind::kCharacter, *c));
  }

  CharacterTable table_;
  TextMode mode_;
  FilePlace place_;
  FileNotes& notes_;
  std::vector<TextRow> rows_;
  TextRow row_;
  CaptioningColor foreground_ = kelcaptioning::kCaptioningColor_White;
  CaptioningColor background_ = kelcaptioning::kCaptioningColor_Black;
  bool boxed_ = false;
  bool doubleHeight_ = false;
  bool italic_ = false;
  bool underline_ = false;
  bool openBox_ = false;
};

}  // namespace

std::vector<TextRow> DecodeText(std::string_view text, CharacterTable table, TextMode mode, const FilePlace& place,
                                FileNotes& notes) {
  return Decoder(table, mode, place, notes).Run(text);
}

}  // namespace kelcaptionfiles::stl

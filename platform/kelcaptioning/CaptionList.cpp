#include "kelcaptioning/CaptionList.h"

#include <algorithm>
#include <limits>

#include "kelcaptioning/Formats.h"
#include "Fractions.h"

namespace kelcaptioning {

namespace {

// The longest line of `text` in code points, and how many lines it has.
std::pair<int, int> MeasureInCharacters(const kelcore::UTF16String& text) {
  int longest = 0, current = 0, lines = text.empty() ? 0 : 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'\n') {
      longest = std::max(longest, current);
      current = 0;
      ++lines;
    } else if (unit < 0xDC00 || unit > 0xDFFF) {  // a low surrogate belongs to the code point before
      ++current;
    }
  }
  return {std::max(longest, current), lines};
}

}  // namespace

kelcore::UTF16String ParagraphStyleAttributes::GetAnchorIDName(AnchorID anchor) {
  static constexpr const char* kNames[] = {"Top Left",    "Top Center",    "Top Right",
                                           "Middle Left", "Middle Center", "Middle Right",
                                           "Bottom Left", "Bottom Center", "Bottom Right",
                                           "Free"};
  const int index = static_cast<int>(anchor);
  return kelcore::string::AsciiToUTF16(index >= 0 && index <= 9 ? kNames[index] : "Unknown");
}

STLMetadata::~STLMetadata() = default;
CaptionTextSpan::~CaptionTextSpan() = default;
CaptionTextParagraph::~CaptionTextParagraph() = default;
Caption::~Caption() = default;
CaptionList::~CaptionList() = default;

kelcore::UTF16String CaptionTextParagraph::GetText() const {
  kelcore::UTF16String text;
  for (const CaptionTextSpanPtr& span : spans_) {
    if (span) text += span->GetSpanText();
  }
  return text;
}

CaptionTextParagraphPtr Caption::GetCaptionTextParagraph(std::uint64_t index) const {
  return index < paragraphs_.size() ? paragraphs_[static_cast<std::size_t>(index)] : nullptr;
}

void Caption::UpdateLineWidthAndHeightFromText(StreamFormat format, int maxCharactersInRow, int maxNumberOfRow) {
  const int columns = maxCharactersInRow > 0 ? maxCharactersInRow : GetCaptionColumns(format);
  const int rows = maxNumberOfRow > 0 ? maxNumberOfRow : GetCaptionRows(format);
  for (const CaptionTextParagraphPtr& paragraph : paragraphs_) {
    if (!paragraph) continue;
    const auto [characters, lines] = MeasureInCharacters(paragraph->GetText());
    paragraph->SetParagraphLineWidth(columns > 0 ? std::min(characters, columns) : characters);
    paragraph->SetParagraphLineHeight(rows > 0 ? std::min(lines, rows) : lines);
  }
}

void Caption::GetTextBlockRect(std::uint64_t first, int areaWidth, int areaHeight, kelcore::RectT<int>& rect,
                               std::uint64_t& last) const {
  rect = {};
  last = first;
  const CaptionTextParagraphPtr head = GetCaptionTextParagraph(first);
  if (!head) return;
  const auto anchor = head->GetParagraphStyleAttributes().GetAnchorID();
  while (last + 1 < paragraphs_.size() && paragraphs_[last + 1] &&
         paragraphs_[last + 1]->GetParagraphStyleAttributes().GetAnchorID() == anchor) {
    ++last;
  }
  long long left = std::numeric_limits<long long>::max(), right = std::numeric_limits<long long>::min(), height = 0;
  for (std::uint64_t i = first; i <= last; ++i) {
    const CaptionTextParagraph& p = *paragraphs_[static_cast<std::size_t>(i)];
    const long long x = FractionOfSize(p.GetCaptionPosition().GetX(), areaWidth);
    left = std::min(left, x);
    right = std::max(right, x + p.GetParagraphLineWidth());
    height += p.GetParagraphLineHeight();
  }
  rect = {ClampToInt(static_cast<double>(left)), FractionOfSize(head->GetCaptionPosition().GetY(), areaHeight),
          ClampToInt(static_cast<double>(right - left)), ClampToInt(static_cast<double>(height))};
}

bool Caption::UpdatePositionsFromAnchorID(int areaWidth, int areaHeight, StreamFormat format) {
  if (!IsOpenCaptions(format)) {
    // Grid paragraphs measure in characters and rows: the area is the format's grid.
    areaWidth = GetCaptionColumns(format);
    areaHeight = GetCaptionRows(format);
  }
  if (areaWidth <= 0 || areaHeight <= 0) return false;
  bool changed = false;
  for (std::size_t i = 0; i < paragraphs_.size();) {
    const CaptionTextParagraphPtr& head = paragraphs_[i];
    const int anchor = head ? static_cast<int>(head->GetParagraphStyleAttributes().GetAnchorID()) : -1;
    if (anchor < 0 || anchor > 8) {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    long long blockWidth = 0, blockHeight = 0;
    while (end < paragraphs_.size() && paragraphs_[end] &&
           static_cast<int>(paragraphs_[end]->GetParagraphStyleAttributes().GetAnchorID()) == anchor) {
      ++end;
    }
    for (std::size_t k = i; k < end; ++k) {
      blockWidth = std::max<long long>(blockWidth, paragraphs_[k]->GetParagraphLineWidth());
      blockHeight += paragraphs_[k]->GetParagraphLineHeight();
    }
    const auto place = [](int slot, long long area, long long size) {
      const long long at = slot == 0 ? 0 : slot == 1 ? (area - size) / 2 : area - size;
      return std::max(0LL, at);
    };
    const long long blockX = place(anchor % 3, areaWidth, blockWidth);
    long long y = place(anchor / 3, areaHeight, blockHeight);
    for (std::size_t k = i; k < end; ++k) {
      CaptionTextParagraph& p = *paragraphs_[k];
      const long long width = p.GetParagraphLineWidth();
      long long x = blockX;
      if (p.GetTextAlignment() == ParagraphStyleAttributes::kTextAlignment_Center) x += (blockWidth - width) / 2;
      if (p.GetTextAlignment() == ParagraphStyleAttributes::kTextAlignment_Right) x += blockWidth - width;
      const Position placed(boost::rational<int>(ClampToInt(static_cast<double>(x)), areaWidth),
                            boost::rational<int>(ClampToInt(static_cast<double>(y)), areaHeight));
      changed = changed || !(placed == p.GetCaptionPosition());
      p.SetCaptionPosition(placed);
      y += p.GetParagraphLineHeight();
    }
    i = end;
  }
  return changed;
}

bool CaptionList::InsertCaption(const CaptionPtr& caption) {
  if (!caption || caption->GetNumParagraphs() == 0 || caption->GetEndTime() < caption->GetBeginTime()) return false;
  if (std::find(captions_.begin(), captions_.end(), caption) != captions_.end()) return false;
  const auto at = std::upper_bound(captions_.begin(), captions_.end(), caption->GetBeginTime(),
                                   [](kelmediatypes::TickTime t, const CaptionPtr& c) { return t < c->GetBeginTime(); });
  captions_.insert(at, caption);
  return true;
}

}  // namespace kelcaptioning

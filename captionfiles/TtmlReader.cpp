#include "captionfiles/TtmlReader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

#include "captionfiles/ReadProblems.h"
#include "captionfiles/SubtitleSpans.h"
#include "captionfiles/TtmlStyle.h"
#include "captionfiles/TtmlTime.h"
#include "captionfiles/XmlTree.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

namespace {

using Paragraph = ParagraphStyleAttributes;

constexpr const char* kTtml[] = {"http://www.w3.org/ns/ttml", "http://www.w3.org/2006/10/ttaf1",
                                 "http://www.w3.org/2006/04/ttaf1"};
constexpr const char* kXml = "http://www.w3.org/XML/1998/namespace";
// A region no id names: content in a region other than its ancestor's.
constexpr const char* kOtherRegion = " ";
constexpr std::int64_t kForever = std::numeric_limits<std::int64_t>::max();
// The changes of one paragraph's content that become captions of their own; later ones are not shown.
constexpr std::size_t kMostChanges = 64;

// Whether `element` is TTML's `name`; elements without a namespace are taken for TTML's too.
bool Is(const XmlElement& element, std::string_view name) {
  return element.name == name &&
         (element.ns.empty() || std::find(std::begin(kTtml), std::end(kTtml), element.ns) != std::end(kTtml));
}

// The ttp: attribute `name`, in the parameter namespace of the document's own TTML namespace.
const std::string* Parameter(const XmlElement& tt, std::string_view name) {
  for (const char* ns : kTtml) {
    if (const std::string* value = tt.Attribute(std::string(ns) + "#parameter", name)) return value;
  }
  return nullptr;
}

std::vector<std::string> Words(const std::string* text) {
  std::vector<std::string> words;
  if (!text) return words;
  std::istringstream in(*text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

struct Interval {
  std::int64_t begin = 0;
  std::int64_t end = kForever;
  bool Empty() const { return end <= begin; }
};

// Text of one paragraph, line by line, with XML's default whitespace handling (runs of white
// space one space, none at the ends of a line) or, under xml:space="preserve", line feeds as
// line breaks.
class ParagraphText {
 public:
  void Add(std::string_view text, const InlineStyle& style, bool preserve) {
    for (char c : text) {
      if (preserve && c == '\n') {
        Break();
      } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
        if (preserve) {
          Append(' ', style);
        } else if (!space_ && !lines_.back().empty()) {
          // A run of white space becomes one space, in the style of its first character.
          space_ = true;
          spaceStyle_ = style;
        }
      } else {
        if (space_) Append(' ', spaceStyle_);
        space_ = false;
        Append(c, style);
      }
    }
  }
  void Break() {
    lines_.emplace_back();
    space_ = false;
  }
  CaptionPtr Take(const SubtitleStyle& base, const Paragraph& paragraph) const {
    CueBuilder builder(base);
    for (const auto& line : lines_) {
      for (const auto& [text, style] : line) builder.Add(text, style);
      builder.EndLine();
    }
    return builder.Take(paragraph);
  }

 private:
  void Append(char c, const InlineStyle& style) {
    auto& line = lines_.back();
    if (line.empty() || !(line.back().second == style)) line.emplace_back(std::string(), style);
    line.back().first += c;
  }
  std::vector<std::vector<std::pair<std::string, InlineStyle>>> lines_{1};
  bool space_ = false;
  InlineStyle spaceStyle_;
};

class TtmlDocument {
 public:
  TtmlDocument(const XmlElement& tt, const ReadOptions& options, ReadProblems& problems)
      : options_(options), problems_(problems) {
    ReadParameters(tt);
    for (const XmlNode& node : tt.children) {
      if (node.element && Is(*node.element, "head")) ReadHead(*node.element);
    }
    list_->SetStreamFormat(kStreamFormat_OpenCaptions);
    for (const XmlNode& node : tt.children) {
      if (!node.element || !Is(*node.element, "body")) continue;
      Container(*node.element, {}, {0, kForever}, false, "", 0, false);
      break;
    }
    EndOpenCaptions();
  }

  ReadResult Result() { return {list_, std::move(problems_.Notes()), std::move(boxes_)}; }

 private:
  // Parameters of the document: frame and tick rates, time base, cells and the root's pixels.
  void ReadParameters(const XmlElement& tt) {
    const auto number = [&](const char* name, long double fallback) {
      const std::string* text = Parameter(tt, name);
      if (!text) return fallback;
      const std::optional<long double> value = TtmlNumber(*text);
      if (value && *value > 0) return *value;
      problems_.Report(tt.place, std::string("ttp:") + name + " \"" + *text + "\" cannot be read",
                       "parameters that cannot be read (defaults taken)");
      return fallback;
    };
    const long double frameRate = number("frameRate", 30);
    rates_.subFrameRate = number("subFrameRate", 1);
    rates_.frameRate = frameRate;
    const std::vector<std::string> multiplier = Words(Parameter(tt, "frameRateMultiplier"));
    if (multiplier.size() == 2) {
      const std::optional<long double> n = TtmlNumber(multiplier[0]), d = TtmlNumber(multiplier[1]);
      if (n && d && *n > 0 && *d > 0) rates_.frameRate = frameRate * *n / *d;
    }
    rates_.tickRate = number("tickRate", Parameter(tt, "frameRate") ? rates_.frameRate * rates_.subFrameRate : 1);
    if (const std::string* base = Parameter(tt, "timeBase"); base && *base != "media") {
      problems_.Notes().Add("ttp:timeBase \"" + *base + "\" (read as media time)", tt.place);
    }
    const std::vector<std::string> cells = Words(Parameter(tt, "cellResolution"));
    if (cells.size() == 2) {
      const std::optional<long double> columns = TtmlNumber(cells[0]), rows = TtmlNumber(cells[1]);
      if (columns && rows && *columns > 0 && *rows > 0) root_.columns = static_cast<double>(*columns), root_.rows = static_cast<double>(*rows);
    }
    for (const char* ns : kTtmlStyling) {
      const std::vector<std::string> extent = Words(tt.Attribute(ns, "extent"));
      const auto pixels = [](std::string_view length) {
        return length.ends_with("px") ? TtmlNumber(length.substr(0, length.size() - 2)) : std::nullopt;
      };
      if (extent.size() != 2) continue;
      const std::optional<long double> width = pixels(extent[0]), height = pixels(extent[1]);
      if (width && height && *width > 0 && *height > 0) root_.pixels.emplace(static_cast<double>(*width), static_cast<double>(*height));
    }
  }

  void ReadHead(const XmlElement& head) {
    for (const XmlNode& node : head.children) {
      if (!node.element) continue;
      for (const XmlNode& child : node.element->children) {
        if (!child.element) continue;
        const std::string* id = child.element->Attribute(kXml, "id");
        if (Is(*node.element, "styling") && Is(*child.element, "style") && id) styles_.emplace(*id, child.element.get());
        if (Is(*node.element, "layout") && Is(*child.element, "region") && id) regionElements_.emplace(*id, child.element.get());
      }
    }
    for (const auto& [id, element] : regionElements_) {
      // A region's own style, with the styles it holds after those it refers to.
      TtmlStyle style = StyleOf(*element);
      for (const XmlNode& node : element->children) {
        if (node.element && Is(*node.element, "style")) style.Take(StyleOf(*node.element));
        if (node.element && Is(*node.element, "set")) NotShown(*node.element);
      }
      regions_.emplace(id, style);
    }
  }

  // The style an element specifies: the styles it refers to, in order, then its own attributes.
  TtmlStyle StyleOf(const XmlElement& element) {
    if (const auto read = own_.find(&element); read != own_.end()) return read->second;
    TtmlStyle& style = own_[&element];
    for (const std::string& id : Words(element.Attribute("", "style"))) style.Take(Referred(id, element.place));
    ReadTtmlStyle(element, root_, style, problems_);
    return style;
  }

  TtmlStyle Referred(const std::string& id, const FilePlace& place) {
    if (const auto done = resolved_.find(id); done != resolved_.end()) return done->second;
    const auto style = styles_.find(id);
    if (style == styles_.end() || !resolving_.insert(id).second) {
      problems_.Report(place, "style \"" + id + "\" is not defined, or refers to itself",
                       "style references to no style, or in a circle (ignored)");
      return {};
    }
    const TtmlStyle read = StyleOf(*style->second);
    resolving_.erase(id);
    return resolved_[id] = read;
  }

  // The element's interval in its parent's, starting from `base` (the parent's begin, or in a
  // sequence the end of the element before).
  Interval Timed(const XmlElement& element, const Interval& parent, std::int64_t base, bool inSequence) {
    const auto time = [&](const char* name) -> std::optional<std::int64_t> {
      const std::string* text = element.Attribute("", name);
      if (!text) return std::nullopt;
      if (std::optional<std::int64_t> ticks = TtmlTicks(*text, rates_)) return ticks;
      problems_.Report(element.place, std::string(name) + " \"" + *text + "\" is not a time expression",
                       "time expressions that cannot be read (ignored)");
      return std::nullopt;
    };
    const std::optional<std::int64_t> begin = time("begin"), end = time("end"), dur = time("dur");
    Interval interval;
    interval.begin = Plus(base, begin.value_or(0));
    interval.end = end ? Plus(base, *end) : inSequence && !dur ? interval.begin : kForever;
    if (dur) interval.end = std::min(interval.end, Plus(interval.begin, *dur));
    interval.begin = std::max(interval.begin, parent.begin);
    interval.end = std::min(interval.end, parent.end);
    if (interval.end != kForever) lastTime_ = std::max(lastTime_, interval.end);
    return interval;
  }

  static std::int64_t Plus(std::int64_t a, std::int64_t b) { return a > kForever - b ? kForever : a + b; }

  // <body> and <div>: their paragraphs and divisions, in parallel or in sequence. Returns when it ends.
  std::int64_t Container(const XmlElement& element, std::vector<TtmlStyle> chain, const Interval& parent, bool preserve,
                         std::string region, std::int64_t base, bool inSequence) {
    const Interval interval = Timed(element, parent, base, inSequence);
    const TtmlStyle own = StyleOf(element);
    if (own.background && own.background->Alpha() > 0) {
      problems_.Notes().Count("backgrounds of bodies and divisions (not shown)", element.place);
    }
    chain.push_back(own.Inherited());
    preserve = Preserves(element, preserve);
    EnterRegion(element, region);
    if (element.Attribute("http://www.smpte-ra.org/schemas/2052-1/2010/smpte", "backgroundImage")) {
      problems_.Notes().Count("images (not shown)", element.place);
    }
    const bool sequence = IsSequence(element);
    std::int64_t previous = interval.begin;
    for (const XmlNode& node : element.children) {
      if (!node.element) continue;
      const XmlElement& child = *node.element;
      if (Is(child, "div")) {
        const std::int64_t end = Container(child, chain, interval, preserve, region, previous, sequence);
        if (sequence) previous = end;
      } else if (Is(child, "p")) {
        const Interval timed = Timed(child, interval, sequence ? previous : interval.begin, sequence);
        if (sequence) previous = timed.end;
        Paragraph(child, chain, timed, preserve, region);
      } else {
        Other(child);
      }
    }
    return interval.end;
  }

  // Content is in the region its nearest ancestor names, or its own; content that names another
  // region than its ancestor's is in none.
  static void EnterRegion(const XmlElement& element, std::string& region) {
    const std::string* id = element.Attribute("", "region");
    if (id && region.empty()) region = *id;
    else if (id && *id != region) region = kOtherRegion;
  }

  static bool IsSequence(const XmlElement& element) {
    const std::string* container = element.Attribute("", "timeContainer");
    return container && *container == "seq";
  }

  static bool Preserves(const XmlElement& element, bool inherited) {
    const std::string* space = element.Attribute(kXml, "space");
    return space ? *space == "preserve" : inherited;
  }

  // Elements that are neither content nor metadata are noted once by kind.
  void Other(const XmlElement& element) {
    if (Is(element, "metadata") || (!element.ns.empty() && std::find(std::begin(kTtml), std::end(kTtml), element.ns) == std::end(kTtml) &&
                                    element.name != "image")) {
      return;  // metadata, and elements of other vocabularies, which say nothing a viewer sees
    }
    NotShown(element);
  }

  void NotShown(const XmlElement& element) {
    if (element.name == "set" || element.name == "animate") {
      problems_.Notes().Count("<" + element.name + "> animations (not shown)", element.place);
    } else if (element.name == "image") {
      problems_.Notes().Count("images (not shown)", element.place);
    } else {
      problems_.Notes().Count("<" + element.name + "> elements (not shown)", element.place);
    }
  }

  // The spans and line breaks of a paragraph with the times at which what it shows changes.
  void Times(const XmlElement& element, const Interval& interval, std::set<std::int64_t>& changes) {
    const bool sequence = IsSequence(element);
    std::int64_t previous = interval.begin;
    for (const XmlNode& node : element.children) {
      if (!node.element || !Is(*node.element, "span")) continue;
      const Interval timed = Timed(*node.element, interval, sequence ? previous : interval.begin, sequence);
      if (sequence) previous = timed.end;
      spanTimes_[node.element.get()] = timed;
      if (!timed.Empty()) changes.insert({timed.begin, timed.end});
      Times(*node.element, timed, changes);
    }
  }

  void Paragraph(const XmlElement& p, const std::vector<TtmlStyle>& chain, const Interval& interval, bool preserve,
                 std::string region) {
    EnterRegion(p, region);
    if (region == kOtherRegion) {
      problems_.Notes().Count("paragraphs in a region other than their body's or division's (not shown, as players do)", p.place);
      return;
    }
    const auto regionStyle = regions_.find(region);
    if (regionStyle == regions_.end() && (!regions_.empty() || !region.empty())) {
      problems_.Notes().Count("paragraphs in no region, or in one not defined (not shown, as players do)", p.place);
      return;
    }
    TtmlStyle style = regionStyle == regions_.end() ? TtmlStyle() : regionStyle->second.Inherited();
    for (const TtmlStyle& inherited : chain) style.Take(inherited);
    style.Take(StyleOf(p));
    if (interval.Empty()) return;
    std::set<std::int64_t> changes{interval.begin, interval.end};
    spanTimes_.clear();
    Times(p, interval, changes);
    const auto last = changes.upper_bound(interval.end);
    changes.erase(last, changes.end());
    changes.erase(changes.begin(), changes.lower_bound(interval.begin));
    if (changes.size() > kMostChanges + 1) {
      problems_.Notes().Count("paragraphs changing more than 64 times (the later changes not shown)", p.place);
    }
    const Placement placement =
        Place(regionStyle == regions_.end() ? TtmlStyle() : regionStyle->second, style);
    std::size_t made = 0;
    for (auto at = changes.begin(); std::next(at) != changes.end() && made < kMostChanges; ++at, ++made) {
      ParagraphText text;
      reporting_ = made == 0;
      Content(p, style, *at, preserve, text);
      const CaptionPtr caption = text.Take(options_.style, placement.paragraph);
      if (!caption) continue;
      caption->SetBeginTime(kelmediatypes::TickTime(*at));
      caption->SetEndTime(kelmediatypes::TickTime(*std::next(at) == kForever ? *at : *std::next(at)));
      if (*std::next(at) == kForever) openEnded_.push_back({caption, p.place});
      if (list_->InsertCaption(caption) && placement.box) boxes_[caption.get()] = *placement.box;
    }
  }

  // The text that `element` shows at `time`, in its inherited style.
  void Content(const XmlElement& element, const TtmlStyle& style, std::int64_t time, bool preserve, ParagraphText& text) {
    preserve = Preserves(element, preserve);
    const InlineStyle shown = Shown(style);
    for (const XmlNode& node : element.children) {
      if (!node.element) {
        text.Add(node.text, shown, preserve);
        continue;
      }
      const XmlElement& child = *node.element;
      if (Is(child, "br")) {
        text.Break();
      } else if (Is(child, "span")) {
        const Interval timed = spanTimes_[&child];
        TtmlStyle inner = style;
        inner.Take(StyleOf(child));
        if (timed.begin <= time && time < timed.end) Content(child, inner, time, preserve, text);
      } else if (reporting_) {
        Other(child);
      }
    }
  }

  InlineStyle Shown(const TtmlStyle& style) const {
    InlineStyle shown;
    shown.italic = style.italic.value_or(false);
    shown.bold = style.bold.value_or(false);
    shown.underline = style.underline.value_or(false);
    shown.color = style.color;
    if (style.background && style.background->Alpha() > 0) shown.background = style.background;
    shown.face = style.fontFamily.value_or("");
    // TTML's text is a cell high (1/15 of the root) unless it says other; that shows at the base size.
    const double height = style.fontSize ? *style.fontSize * root_.rows : style.fontScale.value_or(1.0);
    if (std::abs(height - 1.0) > 1e-6 && std::isfinite(height)) {
      shown.size = static_cast<float>(std::clamp(height, 0.01, 100.0)) * options_.style.fontSize;
    }
    return shown;
  }

  struct Placement {
    kelcaptioning::ParagraphStyleAttributes paragraph;
    std::optional<CueBox> box;
  };

  // Where a region puts its paragraphs: the anchor of its display alignment and the text's
  // alignment, and, for a region that is not the title area (the middle 80 % of the frame), a
  // box as wide as the region, on its top, middle or bottom by its display alignment.
  static Placement Place(const TtmlStyle& region, const TtmlStyle& text) {
    const auto alignment = text.textAlign.value_or(Paragraph::kTextAlignment_Left);
    const double displayAlign = region.displayAlign.value_or(0.0);
    Placement placement;
    placement.paragraph.SetTextAlignment(alignment);
    placement.paragraph.SetAnchorID(static_cast<AnchorID>(static_cast<int>(displayAlign * 2 + 0.5) * 3 + static_cast<int>(alignment)));
    const auto [x, y] = region.origin.value_or(std::pair(0.0, 0.0));
    const auto [width, height] = region.extent.value_or(std::pair(1.0, 1.0));
    const auto near = [](double a, double b) { return std::abs(a - b) < 1e-3; };
    if (near(x, 0.1) && near(y, 0.1) && near(width, 0.8) && near(height, 0.8)) return placement;
    CueBox box;
    box.width = std::clamp(width, 0.0, 1.0);
    box.x = x;
    box.alignX = 0.0;
    box.y = y + displayAlign * height;
    box.alignY = displayAlign;
    placement.box = box;
    return placement;
  }

  // Captions whose paragraph has no end run to the last time the document names.
  void EndOpenCaptions() {
    if (openEnded_.empty()) return;
    problems_.Notes().Count("paragraphs without an end (shown to the last time the file names)", openEnded_.front().second,
                            static_cast<long>(openEnded_.size()));
    for (const auto& [caption, place] : openEnded_) {
      const std::int64_t begin = caption->GetBeginTime().GetTicks();
      caption->SetEndTime(kelmediatypes::TickTime(std::max(lastTime_, Plus(begin, 5 * kelmediatypes::TickTime::kTicksPerSecond))));
    }
  }

  const ReadOptions& options_;
  ReadProblems& problems_;
  TtmlRates rates_;
  TtmlRoot root_;
  std::map<std::string, const XmlElement*> styles_, regionElements_;
  std::map<std::string, TtmlStyle> resolved_, regions_;
  std::unordered_map<const XmlElement*, TtmlStyle> own_;
  bool reporting_ = true;  // while the first stretch of a paragraph is read: what it holds is noted once
  std::set<std::string> resolving_;
  std::unordered_map<const XmlElement*, Interval> spanTimes_;
  CaptionListPtr list_{new CaptionList()};
  CueBoxes boxes_;
  std::int64_t lastTime_ = 0;
  std::vector<std::pair<CaptionPtr, FilePlace>> openEnded_;
};

}  // namespace

bool LooksLikeTtml(std::string_view text) {
  std::size_t at = 0;
  for (int tags = 0; tags < 16; ++tags) {
    at = text.find('<', at);
    if (at == std::string_view::npos || at + 1 >= text.size()) return false;
    if (text[at + 1] == '?' || text[at + 1] == '!') {
      at = text.find('>', at);
      continue;
    }
    const std::size_t end = text.find_first_of(" \t\r\n/>", at);
    std::string_view name = text.substr(at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1);
    if (const std::size_t colon = name.find(':'); colon != std::string_view::npos) name.remove_prefix(colon + 1);
    return name == "tt";
  }
  return false;
}

ReadResult ReadTtml(std::string_view text, const std::string& fileName, const ReadOptions& options) {
  FileNotes notes;
  ReadProblems problems(fileName, options.strict, notes);
  const XmlDocument document = ReadXmlTree(text, fileName);
  if (!Is(*document.root, "tt")) {
    throw ReadError::At(fileName, document.root->place, "the root element is <" + document.root->name + ">, not <tt>");
  }
  if (document.tooDeep > 0) {
    problems.Report(document.firstTooDeep, "elements nested deeper than " + std::to_string(kMaxXmlDepth),
                    "elements nested deeper than " + std::to_string(kMaxXmlDepth) + " (skipped)", NoteKind::kProblem,
                    document.tooDeep);
  }
  return TtmlDocument(*document.root, options, problems).Result();
}

}  // namespace kelcaptionfiles

#include "captionfiles/WebVttCueText.h"

#include "captionfiles/ColorNames.h"
#include "captionfiles/HtmlCharacterReferences.h"
#include "captionfiles/WebVttParser.h"

namespace kelcaptionfiles::webvtt {

namespace {

struct Token {
  enum Kind { kString, kStartTag, kEndTag, kTimestamp, kEnd };
  Kind kind = kEnd;
  std::string value;  // the text, the tag's name or the timestamp
  std::vector<std::string> classes;
  std::string annotation;
  std::size_t offset = 0;
};

bool IsTagSpace(char c) { return c == '\t' || c == '\f' || c == ' '; }
bool IsAsciiWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

// The annotation with whitespace at its ends removed and runs of it made one space.
std::string Collapsed(std::string_view text) {
  std::string out;
  bool space = false;
  for (char c : text) {
    if (IsAsciiWhitespace(c)) {
      space = !out.empty();
    } else {
      if (space) out.push_back(' ');
      space = false;
      out.push_back(c);
    }
  }
  return out;
}

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view input) : input_(input) {}

  Token Next() {
    enum State { kData, kTag, kStartTag, kStartTagClass, kStartTagAnnotation, kEndTag, kTimestampTag };
    State state = kData;
    Token token;
    token.offset = position_;
    std::string result, buffer;
    while (true) {
      const bool end = position_ >= input_.size();
      const char c = end ? '\0' : input_[position_];
      switch (state) {
        case kData:
          if (end) {
            if (result.empty()) return token;
            return String(std::move(result), token.offset);
          }
          if (c == '&') {
            position_ += 1 + Reference(result, 0);
            continue;
          }
          if (c == '<') {
            if (!result.empty()) return String(std::move(result), token.offset);
            state = kTag;
            break;
          }
          result.push_back(c);
          break;
        case kTag:
          if (!end && (IsTagSpace(c) || c == '\n')) {
            state = kStartTagAnnotation;
          } else if (c == '.' && !end) {
            state = kStartTagClass;
          } else if (c == '/' && !end) {
            state = kEndTag;
          } else if (!end && c >= '0' && c <= '9') {
            result.assign(1, c);
            state = kTimestampTag;
          } else if (end || c == '>') {
            if (!end) ++position_;
            return Tag(Token::kStartTag, {}, {}, {}, token.offset);
          } else {
            result.assign(1, c);
            state = kStartTag;
          }
          break;
        case kStartTag:
          if (!end && IsTagSpace(c)) {
            state = kStartTagAnnotation;
          } else if (!end && c == '\n') {
            buffer.assign(1, c);
            state = kStartTagAnnotation;
          } else if (!end && c == '.') {
            state = kStartTagClass;
          } else if (end || c == '>') {
            if (!end) ++position_;
            return Tag(Token::kStartTag, std::move(result), {}, {}, token.offset);
          } else {
            result.push_back(c);
          }
          break;
        case kStartTagClass:
          if (!end && (IsTagSpace(c) || c == '\n')) {
            token.classes.push_back(std::move(buffer));
            buffer.clear();
            if (c == '\n') buffer.push_back(c);
            state = kStartTagAnnotation;
          } else if (!end && c == '.') {
            token.classes.push_back(std::move(buffer));
            buffer.clear();
          } else if (end || c == '>') {
            if (!end) ++position_;
            token.classes.push_back(std::move(buffer));
            return Tag(Token::kStartTag, std::move(result), std::move(token.classes), {}, token.offset);
          } else {
            buffer.push_back(c);
          }
          break;
        case kStartTagAnnotation:
          if (!end && c == '&') {
            position_ += 1 + Reference(buffer, '>');
            continue;
          }
          if (end || c == '>') {
            if (!end) ++position_;
            return Tag(Token::kStartTag, std::move(result), std::move(token.classes), Collapsed(buffer), token.offset);
          }
          buffer.push_back(c);
          break;
        case kEndTag:
        case kTimestampTag:
          if (end || c == '>') {
            if (!end) ++position_;
            return Tag(state == kEndTag ? Token::kEndTag : Token::kTimestamp, std::move(result), {}, {}, token.offset);
          }
          result.push_back(c);
          break;
      }
      ++position_;
    }
  }

 private:
  static Token String(std::string text, std::size_t offset) {
    Token token;
    token.kind = Token::kString;
    token.value = std::move(text);
    token.offset = offset;
    return token;
  }
  static Token Tag(Token::Kind kind, std::string name, std::vector<std::string> classes, std::string annotation,
                   std::size_t offset) {
    Token token;
    token.kind = kind;
    token.value = std::move(name);
    token.classes = std::move(classes);
    token.annotation = std::move(annotation);
    token.offset = offset;
    return token;
  }

  // At an '&': appends what it stands for, or the '&' itself; returns the bytes taken after it.
  std::size_t Reference(std::string& out, char additionalAllowed) {
    const auto reference = ConsumeCharacterReference(input_.substr(position_ + 1), additionalAllowed);
    if (!reference) {
      out.push_back('&');
      return 0;
    }
    out += reference->utf8;
    return reference->length;
  }

  std::string_view input_;
  std::size_t position_ = 0;
};

// The objects that a start tag can open.
enum class ObjectKind { kClass, kItalic, kBold, kUnderline, kRuby, kRubyText, kVoice, kLanguage };

struct OpenObject {
  ObjectKind kind;
  std::vector<std::string> classes;
};

std::optional<ObjectKind> ObjectOf(const std::string& name) {
  if (name == "c") return ObjectKind::kClass;
  if (name == "i") return ObjectKind::kItalic;
  if (name == "b") return ObjectKind::kBold;
  if (name == "u") return ObjectKind::kUnderline;
  if (name == "ruby") return ObjectKind::kRuby;
  if (name == "rt") return ObjectKind::kRubyText;
  if (name == "v") return ObjectKind::kVoice;
  if (name == "lang") return ObjectKind::kLanguage;
  return std::nullopt;
}

constexpr std::string_view kDefaultColors[] = {"white", "lime", "cyan", "red", "yellow", "magenta", "blue", "black"};

bool IsDefaultColor(std::string_view name) {
  for (std::string_view color : kDefaultColors) {
    if (name == color) return true;
  }
  return false;
}

// The style that the open objects give, the innermost class winning.
InlineStyle StyleOf(const std::vector<OpenObject>& open) {
  InlineStyle style;
  for (const OpenObject& object : open) {
    style.italic |= object.kind == ObjectKind::kItalic;
    style.bold |= object.kind == ObjectKind::kBold;
    style.underline |= object.kind == ObjectKind::kUnderline;
    for (const std::string& name : object.classes) {
      if (IsDefaultColor(name)) style.color = ColorNamed(name);
      if (name.substr(0, 3) == "bg_" && IsDefaultColor(std::string_view(name).substr(3)))
        style.background = ColorNamed(std::string_view(name).substr(3));
    }
  }
  return style;
}

}  // namespace

CueText ParseCueText(std::string_view text) {
  CueText cue;
  std::vector<OpenObject> open;
  Tokenizer tokenizer(text);
  while (true) {
    Token token = tokenizer.Next();
    if (token.kind == Token::kEnd) break;
    switch (token.kind) {
      case Token::kString: {
        InlineStyle style = StyleOf(open);
        if (!cue.runs.empty() && cue.runs.back().style == style) {
          cue.runs.back().text += token.value;
        } else {
          cue.runs.push_back({std::move(token.value), style});
        }
        break;
      }
      case Token::kStartTag: {
        const std::optional<ObjectKind> kind = ObjectOf(token.value);
        if (!kind) {
          cue.marks.push_back({CueTextMark::kUnknownTag, token.offset, token.value});
          break;
        }
        if (*kind == ObjectKind::kRuby) cue.marks.push_back({CueTextMark::kRuby, token.offset, token.value});
        if (*kind == ObjectKind::kRubyText) {
          cue.marks.push_back({CueTextMark::kRubyText, token.offset, token.value});
          // Ruby text belongs inside a ruby object only.
          if (open.empty() || open.back().kind != ObjectKind::kRuby) break;
        }
        open.push_back({*kind, std::move(token.classes)});
        break;
      }
      case Token::kEndTag: {
        const std::optional<ObjectKind> kind = ObjectOf(token.value);
        if (kind == ObjectKind::kRuby) cue.marks.push_back({CueTextMark::kRuby, token.offset, token.value});
        if (kind == ObjectKind::kRubyText) cue.marks.push_back({CueTextMark::kRubyText, token.offset, token.value});
        if (!kind || open.empty()) break;
        if (open.back().kind == *kind) {
          open.pop_back();
        } else if (*kind == ObjectKind::kRuby && open.back().kind == ObjectKind::kRubyText) {
          // </ruby> also closes the ruby text inside it.
          open.pop_back();
          open.pop_back();
        }
        break;
      }
      case Token::kTimestamp: {
        std::size_t at = 0;
        const auto stamp = ParseTimestamp(token.value, at);
        if (stamp && at == token.value.size()) cue.marks.push_back({CueTextMark::kTimestamp, token.offset, token.value});
        break;
      }
      case Token::kEnd: break;
    }
  }
  return cue;
}

}  // namespace kelcaptionfiles::webvtt

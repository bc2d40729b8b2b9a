#include "kelsol/LayoutScript.h"

#include <cerrno>
#include <cstdlib>

namespace kelsol {

namespace {

constexpr int kMaxDepth = 64;

std::string Describe(ScriptPosition at, const std::string& problem) {
  return "line " + std::to_string(at.line) + ", column " + std::to_string(at.column) + ": " + problem;
}

bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  LayoutScript Script() {
    LayoutScript script;
    Keyword("layout");
    script.name = Name("a layout name");
    Expect('{');
    Keyword("view");
    script.view = Widget(1);
    Expect('}');
    SkipSpace();
    if (pos_ < text_.size()) Fail("unexpected text after the layout's closing brace");
    return script;
  }

 private:
  [[noreturn]] void Fail(const std::string& problem) const { throw LayoutScriptError(Here(), problem); }
  [[noreturn]] void FailAt(ScriptPosition at, const std::string& problem) const { throw LayoutScriptError(at, problem); }

  ScriptPosition Here() const { return {line_, column_}; }

  void Advance() {
    if (text_[pos_] == '\n') {
      ++line_;
      column_ = 1;
    } else {
      ++column_;
    }
    ++pos_;
  }

  void SkipSpace() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        Advance();
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') Advance();
      } else {
        return;
      }
    }
  }

  bool Peek(char c) {
    SkipSpace();
    return pos_ < text_.size() && text_[pos_] == c;
  }

  static std::string Quote(char c) { return std::string("'") + c + "'"; }

  std::string Found() const {
    if (pos_ >= text_.size()) return "the end of the script";
    const char c = text_[pos_];
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) return "a control or non-ASCII byte";
    return Quote(c);
  }

  void Expect(char c) {
    if (!Peek(c)) Fail("expected " + Quote(c) + " but found " + Found());
    Advance();
  }

  std::string Name(const char* what) {
    SkipSpace();
    if (pos_ >= text_.size() || !IsNameStart(text_[pos_])) Fail(std::string("expected ") + what + " but found " + Found());
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) Advance();
    return std::string(text_.substr(start, pos_ - start));
  }

  void Keyword(const char* word) {
    const ScriptPosition at = (SkipSpace(), Here());
    const std::string found = Name((std::string("the keyword \"") + word + "\"").c_str());
    if (found != word) FailAt(at, std::string("expected the keyword \"") + word + "\" but found \"" + found + "\"");
  }

  std::string String() {
    const ScriptPosition start = Here();
    Advance();  // the opening quote
    std::string value;
    while (true) {
      if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r') {
        FailAt(start, "unterminated string");
      }
      const char c = text_[pos_];
      if (c == '\'') {
        Advance();
        return value;
      }
      if (c == '\\') {
        Advance();
        if (pos_ >= text_.size() || (text_[pos_] != '\'' && text_[pos_] != '\\')) Fail("unknown escape in a string");
      }
      value.push_back(text_[pos_]);
      Advance();
    }
  }

  double Number() {
    const ScriptPosition at = Here();
    const std::size_t start = pos_;
    if (text_[pos_] == '-') Advance();
    if (pos_ >= text_.size() || !IsDigit(text_[pos_])) FailAt(at, "a number needs digits");
    while (pos_ < text_.size() && IsDigit(text_[pos_])) Advance();
    if (pos_ < text_.size() && text_[pos_] == '.') {
      Advance();
      if (pos_ >= text_.size() || !IsDigit(text_[pos_])) FailAt(at, "a number needs digits after its point");
      while (pos_ < text_.size() && IsDigit(text_[pos_])) Advance();
    }
    if (pos_ < text_.size() && IsNameChar(text_[pos_])) FailAt(at, "a number runs into a name");
    const std::string digits(text_.substr(start, pos_ - start));
    errno = 0;
    const double value = std::strtod(digits.c_str(), nullptr);
    if (errno == ERANGE) FailAt(at, "number out of range");
    return value;
  }

  Attribute ParseAttribute() {
    SkipSpace();
    Attribute attribute;
    attribute.position = Here();
    attribute.key = Name("an attribute name");
    Expect(':');
    SkipSpace();
    if (pos_ >= text_.size()) Fail("expected a value but found the end of the script");
    const char c = text_[pos_];
    if (c == '\'') {
      attribute.value = String();
    } else if (c == '-' || IsDigit(c)) {
      attribute.value = Number();
    } else if (IsNameStart(c)) {
      attribute.value = Enumerator{Name("a value")};
    } else {
      Fail("expected a value (a 'string', a number or a name) but found " + Found());
    }
    return attribute;
  }

  WidgetNode Widget(int depth) {
    SkipSpace();
    WidgetNode node;
    node.position = Here();
    if (depth > kMaxDepth) Fail("widgets nest deeper than " + std::to_string(kMaxDepth));
    node.widget = Name("a widget name");
    Expect('(');
    if (!Peek(')')) {
      while (true) {
        node.attributes.push_back(ParseAttribute());
        if (Peek(',')) {
          Advance();
          continue;
        }
        break;
      }
    }
    Expect(')');
    if (Peek(';')) {
      Advance();
      return node;
    }
    if (!Peek('{')) Fail("expected ';' or '{' after the attributes of \"" + node.widget + "\" but found " + Found());
    Advance();
    node.container = true;
    while (!Peek('}')) {
      if (pos_ >= text_.size()) Fail("missing '}' to close \"" + node.widget + "\"");
      node.children.push_back(Widget(depth + 1));
    }
    Advance();
    return node;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int column_ = 1;
};

}  // namespace

const AttributeValue* WidgetNode::Find(std::string_view key) const {
  for (const Attribute& attribute : attributes) {
    if (attribute.key == key) return &attribute.value;
  }
  return nullptr;
}

LayoutScriptError::LayoutScriptError(ScriptPosition position, const std::string& problem)
    : std::runtime_error(Describe(position, problem)), position_(position), problem_(problem) {}

LayoutScript ParseLayoutScript(std::string_view text) { return Parser(text).Script(); }

}  // namespace kelsol

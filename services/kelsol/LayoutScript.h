#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "kelsol/Export.h"

namespace kelsol {

// Where something stands in a script, both counted from 1.
struct ScriptPosition {
  int line = 1;
  int column = 1;
};

// A bare word such as align_fill.
struct Enumerator {
  std::string name;
  friend bool operator==(const Enumerator&, const Enumerator&) = default;
};

using AttributeValue = std::variant<std::string, double, Enumerator>;

struct Attribute {
  std::string key;
  AttributeValue value;
  ScriptPosition position;
};

// One widget: its name, its attributes in script order and, for containers, its children.
struct KELSOL_API WidgetNode {
  std::string widget;
  std::vector<Attribute> attributes;
  std::vector<WidgetNode> children;
  bool container = false;  // written with a brace block rather than a semicolon
  ScriptPosition position;

  // The attribute's value, or null.
  const AttributeValue* Find(std::string_view key) const;
};

// `layout NAME { view WIDGET }`.
struct LayoutScript {
  std::string name;
  WidgetNode view;
};

// A script that does not follow the language; what() reads "line L, column C: ...".
class KELSOL_API LayoutScriptError : public std::runtime_error {
 public:
  LayoutScriptError(ScriptPosition position, const std::string& problem);
  const ScriptPosition& Position() const noexcept { return position_; }
  // The problem without its position.
  const std::string& Problem() const noexcept { return problem_; }

 private:
  ScriptPosition position_;
  std::string problem_;
};

// Parses a layout script:
//   script    := "layout" name "{" "view" widget "}"
//   widget    := name "(" [attribute {"," attribute}] ")" ( "{" {widget} "}" | ";" )
//   attribute := key ":" ( 'single-quoted string' | number | enumerator )
// Names are letters, digits and underscores, not starting with a digit; strings may hold \' and
// \\; "//" starts a comment to the end of the line. Widgets nest at most 64 deep. Throws
// LayoutScriptError on anything else; nothing half-built is returned.
KELSOL_API LayoutScript ParseLayoutScript(std::string_view text);

}  // namespace kelsol

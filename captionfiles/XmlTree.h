#pragma once

// An XML document as a tree of elements and text in document order, read with expat: names
// resolved to their namespaces, each element with where its start tag stands.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kelcaptionfiles/FileNotes.h"

namespace kelcaptionfiles {

struct XmlElement;

// Text, or an element when `element` is set.
struct XmlNode {
  std::string text;
  std::unique_ptr<XmlElement> element;
};

struct XmlAttribute {
  std::string ns;  // the namespace URI; "" for an attribute without a prefix
  std::string name;
  std::string value;
};

struct XmlElement {
  std::string ns;
  std::string name;
  std::vector<XmlAttribute> attributes;
  std::vector<XmlNode> children;
  FilePlace place;

  // The attribute `name` of namespace `ns`, or null.
  const std::string* Attribute(std::string_view ns, std::string_view name) const;
};

struct XmlDocument {
  std::unique_ptr<XmlElement> root;
  // Elements nested deeper than kMaxXmlDepth are left out of the tree, with all they hold.
  long tooDeep = 0;
  FilePlace firstTooDeep;
};

inline constexpr int kMaxXmlDepth = 100;

// Reads `utf8` whatever encoding its declaration names; throws ReadError naming the place where
// the document stops being well-formed XML.
XmlDocument ReadXmlTree(std::string_view utf8, const std::string& fileName);

}  // namespace kelcaptionfiles

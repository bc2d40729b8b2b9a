#include "captionfiles/XmlTree.h"

#include <expat.h>

#include "kelcaptionfiles/ReadError.h"

namespace kelcaptionfiles {

namespace {

// Between a namespace URI and the local name in the names expat reports.
constexpr char kSeparator = '\x01';

void SplitName(const char* expanded, std::string& ns, std::string& name) {
  const std::string_view all(expanded);
  const std::size_t at = all.find(kSeparator);
  ns = at == std::string_view::npos ? "" : std::string(all.substr(0, at));
  name = std::string(at == std::string_view::npos ? all : all.substr(at + 1));
}

class TreeBuilder {
 public:
  explicit TreeBuilder(XML_Parser parser) : parser_(parser) {}

  static void Start(void* self, const XML_Char* name, const XML_Char** attributes) {
    static_cast<TreeBuilder*>(self)->Open(name, attributes);
  }
  static void End(void* self, const XML_Char*) { static_cast<TreeBuilder*>(self)->Close(); }
  static void Text(void* self, const XML_Char* text, int length) {
    static_cast<TreeBuilder*>(self)->Append(std::string_view(text, static_cast<std::size_t>(length)));
  }

  XmlDocument document;

 private:
  FilePlace Here() const {
    return FilePlace::At(static_cast<int>(XML_GetCurrentLineNumber(parser_)),
                         static_cast<int>(XML_GetCurrentColumnNumber(parser_)) + 1);
  }

  void Open(const XML_Char* name, const XML_Char** attributes) {
    if (skipping_ > 0 || open_.size() >= static_cast<std::size_t>(kMaxXmlDepth)) {
      if (skipping_++ == 0 && document.tooDeep == 0) document.firstTooDeep = Here();
      if (skipping_ == 1) ++document.tooDeep;
      return;
    }
    auto element = std::make_unique<XmlElement>();
    SplitName(name, element->ns, element->name);
    element->place = Here();
    for (const XML_Char** a = attributes; a[0] && a[1]; a += 2) {
      XmlAttribute attribute;
      SplitName(a[0], attribute.ns, attribute.name);
      attribute.value = a[1];
      element->attributes.push_back(std::move(attribute));
    }
    XmlElement* raw = element.get();
    if (open_.empty()) {
      document.root = std::move(element);
    } else {
      open_.back()->children.push_back({{}, std::move(element)});
    }
    open_.push_back(raw);
  }

  void Close() {
    if (skipping_ > 0) {
      --skipping_;
    } else if (!open_.empty()) {
      open_.pop_back();
    }
  }

  void Append(std::string_view text) {
    if (skipping_ > 0 || open_.empty()) return;
    std::vector<XmlNode>& children = open_.back()->children;
    if (children.empty() || children.back().element) children.push_back({});
    children.back().text.append(text);
  }

  XML_Parser parser_;
  std::vector<XmlElement*> open_;
  int skipping_ = 0;
};

struct ParserOwner {
  XML_Parser parser;
  ~ParserOwner() { XML_ParserFree(parser); }
};

}  // namespace

const std::string* XmlElement::Attribute(std::string_view attributeNs, std::string_view attributeName) const {
  for (const XmlAttribute& attribute : attributes) {
    if (attribute.ns == attributeNs && attribute.name == attributeName) return &attribute.value;
  }
  return nullptr;
}

XmlDocument ReadXmlTree(std::string_view utf8, const std::string& fileName) {
  // The text is UTF-8 already, whatever its declaration says it was.
  const ParserOwner owner{XML_ParserCreateNS("UTF-8", kSeparator)};
  if (!owner.parser) throw ReadError::At(fileName, {}, "out of memory for the XML parser");
  TreeBuilder builder(owner.parser);
  XML_SetUserData(owner.parser, &builder);
  XML_SetElementHandler(owner.parser, TreeBuilder::Start, TreeBuilder::End);
  XML_SetCharacterDataHandler(owner.parser, TreeBuilder::Text);
  // Fed in pieces, as expat takes a length of int.
  constexpr std::size_t kPiece = 1 << 20;
  do {
    const std::string_view piece = utf8.substr(0, kPiece);
    utf8.remove_prefix(piece.size());
    if (XML_Parse(owner.parser, piece.data(), static_cast<int>(piece.size()), utf8.empty()) != XML_STATUS_OK) {
      throw ReadError(fileName, static_cast<int>(XML_GetCurrentLineNumber(owner.parser)),
                      static_cast<int>(XML_GetCurrentColumnNumber(owner.parser)) + 1,
                      std::string("not well-formed XML: ") + XML_ErrorString(XML_GetErrorCode(owner.parser)));
    }
  } while (!utf8.empty());
  return std::move(builder.document);
}

}  // namespace kelcaptionfiles

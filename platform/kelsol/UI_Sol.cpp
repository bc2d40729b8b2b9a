#include "kelsol/UI_Sol.h"

#include <atomic>
#include <iterator>
#include <mutex>
#include <sstream>

#include "kelcore/Localizer.h"

namespace kelsol {

namespace {

using namespace kelui::ui;

// Closes at once: nobody is there to choose.
class ClosingRunner : public ModalRunner {
 public:
  void Run(UI_Dialog& dialog) override { dialog.Close(); }
};

std::mutex runnerMutex;
std::shared_ptr<ModalRunner>& InstalledRunner() {
  static std::shared_ptr<ModalRunner> runner;
  return runner;
}

std::shared_ptr<ModalRunner> CurrentRunner() {
  std::lock_guard lock(runnerMutex);
  if (InstalledRunner()) return InstalledRunner();
  return std::make_shared<ClosingRunner>();
}

constexpr std::initializer_list<const char*> kHorizontalAlignments = {"align_left", "align_center", "align_right",
                                                                      "align_fill"};
constexpr std::initializer_list<const char*> kVerticalAlignments = {"align_top", "align_center", "align_bottom",
                                                                    "align_fill"};

kelcore::UTF16String Localised(const std::string& key) { return kelcore::string::Localizer::Get().GetLocalizedString(key); }

// Checks a widget's attributes against what it takes.
class AttributeReader {
 public:
  AttributeReader(const WidgetNode& node, std::initializer_list<const char*> known) : node_(node) {
    for (const Attribute& attribute : node.attributes) {
      bool ok = false;
      for (const char* k : known) ok = ok || attribute.key == k;
      if (!ok) throw LayoutScriptError(attribute.position, "unknown attribute \"" + attribute.key + "\" for \"" + node.widget + "\"");
      for (const Attribute& other : node.attributes) {
        if (&other != &attribute && other.key == attribute.key && &other > &attribute) {
          throw LayoutScriptError(other.position, "attribute \"" + other.key + "\" given twice");
        }
      }
    }
  }

  std::string String(const char* key) const { return Get<std::string>(key, "a 'string'"); }
  std::string Enum(const char* key) const { return Get<Enumerator>(key, "a name").name; }
  std::int32_t Int(const char* key) const {
    const double v = Get<double>(key, "a number");
    if (v < -1e6 || v > 1e6 || v != static_cast<double>(static_cast<std::int32_t>(v))) {
      throw LayoutScriptError(PositionOf(key), "attribute \"" + std::string(key) + "\" wants a whole number");
    }
    return static_cast<std::int32_t>(v);
  }
  bool Has(const char* key) const { return node_.Find(key) != nullptr; }
  // An enumerator that must be one of `allowed`; empty when the attribute is not given.
  std::string Alignment(const char* key, std::initializer_list<const char*> allowed) const {
    const std::string name = Enum(key);
    if (name.empty()) return name;
    std::string list;
    for (const char* a : allowed) {
      if (name == a) return name;
      list += list.empty() ? a : std::string(", ") + a;
    }
    throw LayoutScriptError(PositionOf(key), "attribute \"" + std::string(key) + "\" of \"" + node_.widget +
                                                 "\" wants one of " + list);
  }

 private:
  template <class T>
  T Get(const char* key, const char* kind) const {
    const AttributeValue* value = node_.Find(key);
    if (value == nullptr) return T{};
    if (const T* typed = std::get_if<T>(value)) return *typed;
    throw LayoutScriptError(PositionOf(key), "attribute \"" + std::string(key) + "\" of \"" + node_.widget +
                                                 "\" wants " + kind);
  }
  ScriptPosition PositionOf(const char* key) const {
    for (const Attribute& a : node_.attributes) {
      if (a.key == key) return a.position;
    }
    return node_.position;
  }
  const WidgetNode& node_;
};

void NoChildren(const WidgetNode& node) {
  if (node.container) throw LayoutScriptError(node.position, "\"" + node.widget + "\" takes no children");
}

UI_NodePtr Build(const WidgetNode& node);

void BuildChildren(const WidgetNode& node, UI_Node& parent) {
  for (const WidgetNode& child : node.children) parent.AppendChild(Build(child));
}

UI_NodePtr Build(const WidgetNode& node) {
  const std::string& w = node.widget;
  if (w == "column" || w == "row") {
    AttributeReader read(node, {"child_horizontal", "horizontal", "child_vertical", "vertical"});
    boost::intrusive_ptr<UI_Group> group;
    if (w == "column") group = new UI_Column();
    else group = new UI_Row();
    if (read.Has("child_horizontal")) group->childHorizontal = read.Alignment("child_horizontal", kHorizontalAlignments);
    if (read.Has("child_vertical")) group->childVertical = read.Alignment("child_vertical", kVerticalAlignments);
    group->horizontal = read.Alignment("horizontal", kHorizontalAlignments);
    group->vertical = read.Alignment("vertical", kVerticalAlignments);
    BuildChildren(node, *group);
    return group;
  }
  if (w == "kel_popup") {
    NoChildren(node);
    AttributeReader read(node, {"identifier", "label", "minWidth", "topSpace"});
    boost::intrusive_ptr<UI_Popup> popup(new UI_Popup(read.String("identifier")));
    popup->SetLabel(Localised(read.String("label")));
    popup->minWidth = read.Int("minWidth");
    popup->topSpace = read.Int("topSpace");
    return popup;
  }
  if (w == "kel_checkbox" || w == "kel_button" || w == "kel_static_text") {
    NoChildren(node);
    AttributeReader read(node, {"identifier", "name"});
    boost::intrusive_ptr<UI_ControlView> control;
    if (w == "kel_checkbox") control = new UI_Checkbox(read.String("identifier"));
    else if (w == "kel_button") control = new UI_Button(read.String("identifier"));
    else control = new UI_ControlView(read.String("identifier"));
    control->SetLabel(Localised(read.String("name")));
    return control;
  }
  if (w == "kel_ok_cancel_row") {
    NoChildren(node);
    AttributeReader read(node, {});
    boost::intrusive_ptr<UI_Row> row(new UI_Row());
    row->horizontal = "align_right";
    boost::intrusive_ptr<UI_Button> ok(new UI_Button(kOKButtonIdentifier)), cancel(new UI_Button(kCancelButtonIdentifier));
    ok->SetLabel(Localised("$$$/kelsol/Buttons/OK=OK"));
    cancel->SetLabel(Localised("$$$/kelsol/Buttons/Cancel=Cancel"));
    row->AppendChild(ok);
    row->AppendChild(cancel);
    return row;
  }
  if (w == "kel_dialog") throw LayoutScriptError(node.position, "\"kel_dialog\" can only be the view");
  throw LayoutScriptError(node.position, "unknown widget \"" + w + "\"");
}

}  // namespace

ModalRunner::~ModalRunner() = default;

std::shared_ptr<ModalRunner> SetModalRunner(std::shared_ptr<ModalRunner> runner) {
  std::lock_guard lock(runnerMutex);
  std::shared_ptr<ModalRunner> previous = std::move(InstalledRunner());
  InstalledRunner() = std::move(runner);
  return previous;
}

UI_DialogPtr BuildDialog(const LayoutScript& script) {
  const WidgetNode& view = script.view;
  if (view.widget != "kel_dialog") throw LayoutScriptError(view.position, "the view must be \"kel_dialog\", not \"" + view.widget + "\"");
  AttributeReader read(view, {"name", "identifier"});
  UI_DialogPtr dialog(new UI_Dialog(read.String("identifier")));
  dialog->SetTitle(Localised(read.String("name")));
  BuildChildren(view, *dialog);
  return dialog;
}

UI_Sol::UI_Sol(const kelcore::UTF16String& scriptName, const kelui::inkpad::SupplierInterface* supplier,
               UI_Node* parent)
    : scriptName_(scriptName), supplier_(supplier), parent_(parent) {}

UI_Sol::~UI_Sol() = default;

void UI_Sol::ParseSolScript(std::istream& stream, bool keepOpen) {
  const std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  view_ = BuildDialog(ParseLayoutScript(text));
  Initialize();
  CurrentRunner()->Run(*view_);
  if (!keepOpen) view_->Close();
  Destruction();
}

UI_NodePtr UI_Sol::GetUINodePtr(const std::string& identifier, bool deep) const {
  if (!view_) return nullptr;
  if (deep) return view_->Find(identifier);
  for (const UI_NodePtr& child : view_->GetChildren()) {
    if (child && child->GetIdentifier() == identifier) return child;
  }
  return nullptr;
}

void UI_Sol::Initialize() {}
void UI_Sol::Destruction() {}
void UI_Sol::SetupPostCloseCallback() {}
boost::shared_array<char> UI_Sol::GetLayoutStream(const kelcore::UTF16String&) { return {}; }

}  // namespace kelsol

#include <gtest/gtest.h>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelsol/LayoutScript.h"
#include "kelsol/UI_Sol.h"
#include "module/Module.h"

namespace {

using kelsol::Enumerator;
using kelsol::LayoutScriptError;
using kelsol::ParseLayoutScript;

std::string DialogScript() {
  kelcaptioningui::Initialize();
  std::vector<std::uint8_t> bytes;
  kelcaptioningui::GetResourceManager()->GetBinary(kelcaptioningui::kDialogResourceName,
                                                   kelcore::string::AsciiToUTF16("sol"), &bytes);
  kelcaptioningui::Terminate();
  return std::string(bytes.begin(), bytes.end());
}

TEST(LayoutScript, TheDialogLayoutParsesIntoItsTree) {
  const kelsol::LayoutScript script = ParseLayoutScript(DialogScript());
  EXPECT_EQ(script.name, "my_dialog");
  const kelsol::WidgetNode& dialog = script.view;
  EXPECT_EQ(dialog.widget, "kel_dialog");
  EXPECT_EQ(std::get<std::string>(*dialog.Find("identifier")), "CaptionSidecarSettingsDialog");
  EXPECT_EQ(std::get<std::string>(*dialog.Find("name")),
            "$$$/kelcapitoningui/CaptionSettingsDialog/CaptionSidecarSettings=Caption Sidecar Settings");
  ASSERT_EQ(dialog.children.size(), 1u);
  const kelsol::WidgetNode& column = dialog.children[0];
  EXPECT_EQ(std::get<Enumerator>(*column.Find("child_horizontal")), Enumerator{"align_fill"});
  ASSERT_EQ(column.children.size(), 4u);
  const kelsol::WidgetNode& popup = column.children[0];
  EXPECT_EQ(popup.widget, "kel_popup");
  EXPECT_FALSE(popup.container);
  EXPECT_EQ(std::get<double>(*popup.Find("minWidth")), 250.0);
  EXPECT_EQ(popup.position.line, 5);
  EXPECT_EQ(popup.position.column, 4);
  EXPECT_EQ(column.children[3].widget, "kel_ok_cancel_row");
  EXPECT_TRUE(column.children[3].attributes.empty());
  EXPECT_EQ(popup.Find("missing"), nullptr);
}

TEST(LayoutScript, ValuesCommentsAndEscapes) {
  const auto script = ParseLayoutScript(
      "// a comment\nlayout x { view w(a: 'it\\'s', b: -1.5, c: 0, d: some_name) { leaf(); } }");
  EXPECT_EQ(std::get<std::string>(*script.view.Find("a")), "it's");
  EXPECT_EQ(std::get<double>(*script.view.Find("b")), -1.5);
  EXPECT_EQ(std::get<Enumerator>(*script.view.Find("d")).name, "some_name");
  EXPECT_EQ(script.view.children.at(0).widget, "leaf");
}

struct Broken {
  const char* script;
  int line, column;
  const char* problem;
};

// Each script fails in `step` with its problem at its position.
template <typename Step>
void ExpectErrors(std::initializer_list<Broken> cases, Step step) {
  for (const Broken& broken : cases) {
    try {
      step(broken.script);
      ADD_FAILURE() << "accepted: " << broken.script;
    } catch (const LayoutScriptError& e) {
      EXPECT_EQ(e.Problem(), broken.problem) << broken.script;
      EXPECT_EQ(e.Position().line, broken.line) << broken.script;
      EXPECT_EQ(e.Position().column, broken.column) << broken.script;
    }
  }
}

TEST(LayoutScript, MalformedScriptsNameTheirLineAndColumn) {
  ExpectErrors({
      {"", 1, 1, "expected the keyword \"layout\" but found the end of the script"},
      {"lay x {}", 1, 1, "expected the keyword \"layout\" but found \"lay\""},
      {"layout x {\n  view w(a: 1);\n", 3, 1, "expected '}' but found the end of the script"},
      {"layout x { view w(a: 1) {\n  leaf();\n", 3, 1, "missing '}' to close \"w\""},
      {"layout x { view w(a: 'open\n) }", 1, 22, "unterminated string"},
      {"layout x { view w(a 1); }", 1, 21, "expected ':' but found '1'"},
      {"layout x { view w(a: ); }", 1, 22, "expected a value (a 'string', a number or a name) but found ')'"},
      {"layout x { view w(a: 1,); }", 1, 24, "expected an attribute name but found ')'"},
      {"layout x { view w(a: 12px); }", 1, 22, "a number runs into a name"},
      {"layout x { view w() }", 1, 21, "expected ';' or '{' after the attributes of \"w\" but found '}'"},
      {"layout x { view w(); } extra", 1, 24, "unexpected text after the layout's closing brace"},
      {"layout x { view 9w(); }", 1, 17, "expected a widget name but found '9'"},
      {"layout x { view w(a: 'x\\n'); }", 1, 25, "unknown escape in a string"},
  }, [](const char* script) { ParseLayoutScript(script); });
  std::string deep = "layout x { view w() {";
  for (int i = 0; i < 100; ++i) deep += " w() {";
  EXPECT_THROW(ParseLayoutScript(deep), LayoutScriptError);
  try {
    ParseLayoutScript("layout x { view w(a 1); }");
  } catch (const LayoutScriptError& e) {
    EXPECT_STREQ(e.what(), "line 1, column 21: expected ':' but found '1'");
  }
}

TEST(LayoutScript, BuildingRefusesWhatTheToolkitDoesNotKnow) {
  ExpectErrors({
      {"layout x { view kel_dialog(name: 'n') {\n  kel_slider(); } }", 2, 3, "unknown widget \"kel_slider\""},
      {"layout x { view kel_dialog(name: 'n') { kel_popup(colour: 'red'); } }", 1, 51, "unknown attribute \"colour\" for \"kel_popup\""},
      {"layout x { view kel_dialog(name: 'n') { kel_popup(minWidth: 'wide'); } }", 1, 51, "attribute \"minWidth\" of \"kel_popup\" wants a number"},
      {"layout x { view kel_dialog(name: 'n') { kel_checkbox() { } } }", 1, 41, "\"kel_checkbox\" takes no children"},
      {"layout x { view column() { } }", 1, 17, "the view must be \"kel_dialog\", not \"column\""},
      {"layout x { view kel_dialog(name: 'n') { kel_popup(topSpace: 2.5); } }", 1, 51, "attribute \"topSpace\" wants a whole number"},
  }, [](const char* script) { kelsol::BuildDialog(ParseLayoutScript(script)); });
  const auto dialog = kelsol::BuildDialog(ParseLayoutScript(DialogScript()));
  EXPECT_EQ(dialog->GetTitle(), u"Caption Sidecar Settings");
  ASSERT_TRUE(dialog->Find("okButton"));
  EXPECT_EQ(dynamic_cast<kelui::ui::UI_Popup&>(*dialog->Find("FileFormatPopupID")).GetLabel(), u"File Format:");
}

}  // namespace

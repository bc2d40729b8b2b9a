#include <gtest/gtest.h>

#include <tuple>

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
  const kelsol::WidgetNode& dialog = script.view;
  EXPECT_EQ(dialog.widget, "kel_dialog");
  EXPECT_EQ(std::get<std::string>(*dialog.Find("identifier")), "CaptionSidecarSettingsDialog");
  ASSERT_EQ(dialog.children.size(), 1u);
  const kelsol::WidgetNode& column = dialog.children[0];
  EXPECT_EQ(std::get<Enumerator>(*column.Find("child_horizontal")), Enumerator{"align_fill"});
  ASSERT_EQ(column.children.size(), 4u);
  const kelsol::WidgetNode& popup = column.children[0];
  EXPECT_EQ(std::get<double>(*popup.Find("minWidth")), 250.0);
  EXPECT_EQ(std::pair(popup.position.line, popup.position.column), std::pair(5, 4));
  EXPECT_EQ(column.children[3].widget, "kel_ok_cancel_row");
}

// Each script fails in `step` with its problem at its position.
template <typename Step>
void ExpectErrors(std::initializer_list<std::tuple<const char*, int, int, const char*>> cases, Step step) {
  for (const auto& [script, line, column, problem] : cases) {
    try {
      step(script);
      ADD_FAILURE() << "accepted: " << script;
    } catch (const LayoutScriptError& e) {
      EXPECT_EQ(e.Problem(), problem) << script;
      EXPECT_EQ(e.Position().line, line) << script;
      EXPECT_EQ(e.Position().column, column) << script;
    }
  }
}

TEST(LayoutScript, MalformedScriptsNameTheirLineAndColumn) {
  ExpectErrors({{"layout x { view w(a: 1) {\n  leaf();\n", 3, 1, "missing '}' to close \"w\""},
                {"layout x { view w(a 1); }", 1, 21, "expected ':' but found '1'"}},
               [](const char* script) { ParseLayoutScript(script); });
  std::string deep = "layout x { view w() {";
  for (int i = 0; i < 100; ++i) deep += " w() {";
  EXPECT_THROW(ParseLayoutScript(deep), LayoutScriptError);
}

TEST(LayoutScript, BuildingRefusesWhatTheToolkitDoesNotKnow) {
  ExpectErrors({
      {"layout x { view kel_dialog(name: 'n') {\n  kel_slider(); } }", 2, 3, "unknown widget \"kel_slider\""},
      {"layout x { view kel_dialog(name: 'n') { kel_popup(minWidth: 'wide'); } }", 1, 51, "attribute \"minWidth\" of \"kel_popup\" wants a number"},
      {"layout x { view kel_dialog(name: 'n') { row(vertical: align_left); } }", 1, 45, "attribute \"vertical\" of \"row\" wants one of align_top, align_center, align_bottom, align_fill"},
  }, [](const char* script) { kelsol::BuildDialog(ParseLayoutScript(script)); });
  // Rows and columns keep their direction and alignments for the runner that lays them out.
  const auto rows = kelsol::BuildDialog(ParseLayoutScript(
      "layout x { view kel_dialog(name: 'n') { row(child_vertical: align_center, horizontal: align_right) {"
      " column(); kel_ok_cancel_row(); } } }"));
  const auto& row = dynamic_cast<kelui::ui::UI_Row&>(*rows->GetChildren().at(0));
  EXPECT_EQ(std::tie(row.childVertical, row.horizontal, row.vertical), std::make_tuple("align_center", "align_right", ""));
  EXPECT_TRUE(dynamic_cast<kelui::ui::UI_Column*>(row.GetChildren().at(0).get()));
  EXPECT_TRUE(dynamic_cast<kelui::ui::UI_Row*>(row.GetChildren().at(1).get()));
  const auto dialog = kelsol::BuildDialog(ParseLayoutScript(DialogScript()));
  EXPECT_EQ(dialog->GetTitle(), u"Caption Sidecar Settings");
  ASSERT_TRUE(dialog->Find("okButton"));
  EXPECT_EQ(dynamic_cast<kelui::ui::UI_Popup&>(*dialog->Find("FileFormatPopupID")).GetLabel(), u"File Format:");
}

}  // namespace

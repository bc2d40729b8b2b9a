#include "kelcaptioningui/CaptionSidecarSettingsDialog.h"

#include <sstream>
#include <vector>

#include "kelcore/Error.h"
#include "kelcore/Localizer.h"
#include "module/Module.h"

namespace kelcaptioningui {

using namespace kelui::ui;
using kelcaptioning::CaptioningExportFormat;

namespace {

constexpr CaptioningExportFormat kSRT = kelcaptioning::kCaptioningExportFormat_SRT;
constexpr const char* kInvalidTypeConversion = "$$$/kelcore/utility/Error/InvalidTypeConversion=Invalid type conversion.";
constexpr const char* kTitleWithSubject =
    "$$$/kelcapitoningui/CaptionSidecarSettingsOther=Caption Sidecar Settings For '@0'";

// The control as the kind this dialog needs; a control of another kind is an error.
template <class Control>
boost::intrusive_ptr<Control> As(const UI_NodePtr& node) {
  if (!node) return nullptr;
  auto* control = dynamic_cast<Control*>(node.get());
  if (control == nullptr) kelcore::utility::ThrowError(kelcore::utility::kErrorLevel_Error, kInvalidTypeConversion);
  return boost::intrusive_ptr<Control>(control);
}

// A change handler calling `member` on `dialog` with the message as a control change.
template <class Dialog>
MessageHandlerP Handler(Dialog* dialog, void (Dialog::*member)(UI_ControlChangedMessage*)) {
  return std::make_shared<MessageHandler>([dialog, member](Message* message) {
    auto* changed = dynamic_cast<UI_ControlChangedMessage*>(message);
    if (changed == nullptr) kelcore::utility::ThrowError(kelcore::utility::kErrorLevel_Error, kInvalidTypeConversion);
    (dialog->*member)(changed);
  });
}

}  // namespace

CaptionSidecarSettingsDialog::CaptionSidecarSettingsDialog(const kelui::inkpad::SupplierInterface* supplier,
                                                           UI_Node* parent, const CaptioningExportFormat& fileFormat,
                                                           const kelmediatypes::TimeDisplay& timeDisplay,
                                                           bool includeSRTStyling,
                                                           const kelcaptioning::StreamFormatSet& streamFormats,
                                                           const kelcore::UTF16String& subjectName)
    : kelsol::UI_Sol(kelcore::string::AsciiToUTF16("CaptionSidecarSettingsDialog"), supplier, parent),
      fileFormat_(fileFormat),
      timeDisplay_(timeDisplay),
      streamFormats_(streamFormats),
      subjectName_(subjectName),
      includeSRTStyling_(includeSRTStyling) {}

CaptionSidecarSettingsDialog::~CaptionSidecarSettingsDialog() = default;

bool CaptionSidecarSettingsDialog::RunModal() {
  std::vector<std::uint8_t> bytes;
  // Without Initialize there is no manager: nothing to show.
  if (kelui::utility::OS_ResourceManager* resources = GetResourceManager()) {
    resources->GetBinary(kDialogResourceName, kelcore::string::AsciiToUTF16("sol"), &bytes);
  }
  if (bytes.empty()) return false;
  std::istringstream stream(std::string(bytes.begin(), bytes.end()));
  ParseSolScript(stream, false);
  return !cancelled_;
}

void CaptionSidecarSettingsDialog::Initialize() {
  const UI_DialogPtr view = GetView();
  if (!subjectName_.empty()) {
    view->SetTitle(kelcore::string::ZString(kTitleWithSubject, subjectName_));
  }
  timeDisplayPopup_ = As<UI_Popup>(GetUINodePtr(kTimeDisplayControlID, true));
  if (timeDisplayPopup_) {
    timeDisplayPopup_->NotifyWhenChanged(Handler(this, &CaptionSidecarSettingsDialog::OnTimeDisplayPopupChanged));
    timeDisplayPopup_->SetItemCheckStyle(true);
  }
  PopulateTimeDisplayPopup();
  fileFormatPopup_ = As<UI_Popup>(GetUINodePtr(kFileFormatControlID, true));
  if (fileFormatPopup_) {
    fileFormatPopup_->NotifyWhenChanged(Handler(this, &CaptionSidecarSettingsDialog::OnFileFormatPopupChanged));
    fileFormatPopup_->SetItemCheckStyle(true);
  }
  PopulateFileFormatPopup();
  stylingCheckbox_ = As<UI_Checkbox>(GetUINodePtr(kStylingCheckboxID, true));
  if (stylingCheckbox_) stylingCheckbox_->UI_Show(true);
  OnFileFormatPopupChanged(nullptr);
  if (auto ok = As<UI_Button>(GetUINodePtr(kOKButtonID, true))) {
    ok->NotifyWhenChanged(Handler(this, &CaptionSidecarSettingsDialog::OKButtonChanged));
  }
  if (auto cancel = As<UI_Button>(GetUINodePtr(kCancelButtonID, true))) {
    cancel->NotifyWhenChanged(Handler(this, &CaptionSidecarSettingsDialog::CancelButtonChanged));
  }
}

void CaptionSidecarSettingsDialog::PopulateFileFormatPopup() {
  if (!fileFormatPopup_) return;
  kelcaptioning::ExportFormatSet formats;
  if (!kelcaptioning::GetCaptionExportFormats(formats, streamFormats_)) return;
  fileFormatPopup_->DeleteAllItems();
  fileFormatPopup_->SetValue(0);
  fileFormatItems_.clear();
  for (CaptioningExportFormat format : formats) {
    const std::int64_t value = fileFormatPopup_->AddItem(kelcaptioning::GetDescriptionForFormat(format, true));
    fileFormatItems_[value] = format;
    if (format == fileFormat_) fileFormatPopup_->SetValue(value);
  }
}

void CaptionSidecarSettingsDialog::PopulateTimeDisplayPopup() {
  if (!timeDisplayPopup_) return;
  kelcaptioning::TimeDisplaySet displays;
  if (!kelcaptioning::GetSupportedTimeDisplaysForFormat(fileFormat_, displays)) return;
  timeDisplayPopup_->DeleteAllItems();
  timeDisplayPopup_->SetValue(0);
  timeDisplayItems_.clear();
  timeDisplayPopup_->SetValue(0);
  for (kelmediatypes::TimeDisplay display : displays) {
    const std::int64_t value = timeDisplayPopup_->AddItem(kelmediatypes::TimeDisplayDescription(display));
    timeDisplayItems_[value] = display;
    if (display == timeDisplay_) timeDisplayPopup_->SetValue(value);
  }
  timeDisplayPopup_->SetDisabled(timeDisplayPopup_->GetItemCount() < 2);
}

void CaptionSidecarSettingsDialog::OnFileFormatPopupChanged(UI_ControlChangedMessage*) {
  if (fileFormatPopup_) {
    if (auto found = fileFormatItems_.find(fileFormatPopup_->GetValue()); found != fileFormatItems_.end()) {
      fileFormat_ = found->second;
    }
  }
  if (stylingCheckbox_) {
    if (fileFormat_ == kSRT) stylingCheckbox_->UI_Show(true);
    else stylingCheckbox_->UI_Hide(true);
  }
  PopulateTimeDisplayPopup();
  if (timeDisplayPopup_) {
    if (auto found = timeDisplayItems_.find(timeDisplayPopup_->GetValue()); found != timeDisplayItems_.end()) {
      timeDisplay_ = found->second;
    }
  }
}

void CaptionSidecarSettingsDialog::OnTimeDisplayPopupChanged(UI_ControlChangedMessage*) {
  if (!timeDisplayPopup_) return;
  if (auto found = timeDisplayItems_.find(timeDisplayPopup_->GetValue()); found != timeDisplayItems_.end()) {
    timeDisplay_ = found->second;
  }
}

void CaptionSidecarSettingsDialog::OKButtonChanged(UI_ControlChangedMessage*) {
  includeSRTStyling_ = fileFormat_ == kSRT && stylingCheckbox_ ? stylingCheckbox_->IsChecked() : false;
  cancelled_ = false;
  GetView()->Close();
}

void CaptionSidecarSettingsDialog::CancelButtonChanged(UI_ControlChangedMessage*) {
  cancelled_ = true;
  GetView()->Close();
}

}  // namespace kelcaptioningui

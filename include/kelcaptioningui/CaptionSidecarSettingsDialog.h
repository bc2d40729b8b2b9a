#pragma once

#include <cstdint>
#include <map>

#include <boost/intrusive_ptr.hpp>

#include "kelcaptioning/ExportFormats.h"
#include "kelcaptioningui/Export.h"
#include "kelcore/String.h"
#include "kelmediatypes/TimeDisplay.h"
#include "kelsol/UI_Sol.h"
#include "kelui/ui/Controls.h"

namespace kelcaptioningui {

// The modal dialog that asks how a caption track is exported to a sidecar file: the file format,
// the frame rate of its time codes and, for SRT, whether styling is written. Call Initialize()
// of the module before running it.
//
// What shows the dialog is the modal runner that the host installs. kelsol::InstallUserRunner
// (kelsol/UserRunner.h, library kelsoldesktop) is the one call for a host with a user: a GTK
// window (kelsol::GtkRunner, modal over the host's window when it passes one) when a display can
// be opened, the terminal (kelsol::TerminalRunner) otherwise, or either by choice.
// kelsol::SetModalRunner (kelsol/UI_Sol.h) installs any runner, such as kelsol::ScriptedRunner
// (kelsol/ScriptedRunner.h), which plays a fixed list of user actions. With no runner installed
// a dialog closes at once, as a headless process's must: RunModal then returns false (or what an
// earlier run left) and the getters keep the constructor's choices.
class KELCAPTIONINGUI_API CaptionSidecarSettingsDialog : public kelsol::UI_Sol {
 public:
  CaptionSidecarSettingsDialog(const kelui::inkpad::SupplierInterface* supplier, kelui::ui::UI_Node* parent,
                               const kelcaptioning::CaptioningExportFormat& fileFormat,
                               const kelmediatypes::TimeDisplay& timeDisplay, bool includeSRTStyling,
                               const kelcaptioning::StreamFormatSet& streamFormats,
                               const kelcore::UTF16String& subjectName);
  CaptionSidecarSettingsDialog(const CaptionSidecarSettingsDialog&) = default;
  CaptionSidecarSettingsDialog(CaptionSidecarSettingsDialog&&) = default;
  CaptionSidecarSettingsDialog& operator=(const CaptionSidecarSettingsDialog&) = default;
  CaptionSidecarSettingsDialog& operator=(CaptionSidecarSettingsDialog&&) = default;
  ~CaptionSidecarSettingsDialog() override;

  // Shows the dialog until it closes; true when it was closed with OK. False without showing
  // anything when the layout resource is missing.
  bool RunModal();

  kelcaptioning::CaptioningExportFormat GetFileFormat() const { return fileFormat_; }
  kelmediatypes::TimeDisplay GetTimeDisplay() const { return timeDisplay_; }
  bool GetIncludeSRTStyling() const { return includeSRTStyling_; }

 private:
  void Initialize() override;
  void PopulateFileFormatPopup();
  void PopulateTimeDisplayPopup();
  void OnFileFormatPopupChanged(kelui::ui::UI_ControlChangedMessage* message);
  void OnTimeDisplayPopupChanged(kelui::ui::UI_ControlChangedMessage* message);
  void OKButtonChanged(kelui::ui::UI_ControlChangedMessage* message);
  void CancelButtonChanged(kelui::ui::UI_ControlChangedMessage* message);

  bool cancelled_ = true;
  boost::intrusive_ptr<kelui::ui::UI_Popup> fileFormatPopup_;
  boost::intrusive_ptr<kelui::ui::UI_Popup> timeDisplayPopup_;
  boost::intrusive_ptr<kelui::ui::UI_Checkbox> stylingCheckbox_;
  kelcaptioning::CaptioningExportFormat fileFormat_;
  kelmediatypes::TimeDisplay timeDisplay_;
  kelcaptioning::StreamFormatSet streamFormats_;
  kelcore::UTF16String subjectName_;
  bool includeSRTStyling_;
  std::map<std::int64_t, kelcaptioning::CaptioningExportFormat> fileFormatItems_;
  std::map<std::int64_t, kelmediatypes::TimeDisplay> timeDisplayItems_;
};

}  // namespace kelcaptioningui

#include "module/Module.h"

#include "kelcaptioningui/KelCaptioningUI.h"

namespace kelcaptioningui {

extern const kelui::utility::ModuleResources kModuleResources;

namespace {
// Empty at load; the host fills it with Initialize. Its destructor deletes a manager still held
// when the module unloads.
kelcore::utility::ScopedPtr<kelui::utility::OS_ResourceManager> resourceManager;
}  // namespace

const kelcore::UTF16String kDialogResourceName = kelcore::string::AsciiToUTF16("CaptionSidecarSettingsDialog");
const std::string kFileFormatControlID = "FileFormatPopupID";
const std::string kTimeDisplayControlID = "TimeDisplayPopupID";
const std::string kStylingCheckboxID = "IncludeSRTStylingID";
const std::string kCancelButtonID = "cancelButton";
const std::string kOKButtonID = "okButton";

kelui::utility::HINSTANCE ThisModuleInstance() { return &kModuleResources; }

kelui::utility::OS_ResourceManager* GetResourceManager() { return resourceManager.get(); }

void Initialize() {
  // A failing allocation propagates and leaves the holder as it was.
  resourceManager.reset(new kelui::utility::OS_ResourceManager(ThisModuleInstance()));
}

void Terminate() {
  if (!resourceManager) return;
  resourceManager.reset();
}

}  // namespace kelcaptioningui

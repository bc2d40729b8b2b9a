#pragma once

#include <string>

#include "kelcore/ScopedPtr.h"
#include "kelcore/String.h"
#include "kelui/utility/ResourceManager.h"

namespace kelcaptioningui {

// The module's resource manager: null before Initialize and after Terminate.
kelui::utility::OS_ResourceManager* GetResourceManager();

// This module's instance: its compiled-in resource table.
kelui::utility::HINSTANCE ThisModuleInstance();

// Names the dialog looks up; built when the module loads.
extern const kelcore::UTF16String kDialogResourceName;
extern const std::string kFileFormatControlID;
extern const std::string kTimeDisplayControlID;
extern const std::string kStylingCheckboxID;
extern const std::string kCancelButtonID;
extern const std::string kOKButtonID;

}  // namespace kelcaptioningui

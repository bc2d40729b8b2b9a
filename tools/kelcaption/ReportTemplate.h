#pragma once

#include <string_view>

namespace kelcaption {

// The caption report's page: its markup, style and script, with places marked {{NAME}} for
// ReportPage to fill.
std::string_view ReportTemplate();

}  // namespace kelcaption

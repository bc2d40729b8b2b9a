#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

#include "kelcaptioningui/CaptionDisplaySettings.h"

namespace kelcaption {

// The viewer's display settings from --style values, each a list "KEY=VALUE,KEY=VALUE..." (later
// keys win): font, size, text, text-opacity, background, background-opacity, window,
// window-opacity, edge, edge-color. Throws UsageError naming the key or value that cannot be used.
kelcaptioningui::CaptionDisplaySettings ParseDisplayStyle(const std::vector<std::string>& values);

// "--style", repeatable.
void AddDisplayStyleOption(CLI::App& command, std::vector<std::string>& values);

}  // namespace kelcaption

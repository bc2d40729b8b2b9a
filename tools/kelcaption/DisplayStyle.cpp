#include "kelcaption/DisplayStyle.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

#include "kelcaption/CommandLine.h"

namespace kelcaption {

namespace {

using kelcaptioning::CaptioningColor;
using kelcaptioningui::CaptionColorSetting;
using kelcaptioningui::CaptionDisplaySettings;

constexpr const char* kKeys = "font, size, text, text-opacity, background, background-opacity, window, window-opacity, "
                              "edge, edge-color";

// The caption families by GenericFontFamilyID.
constexpr std::array<const char*, 8> kFamilies = {"default", "mono-serif", "serif",   "mono-sans",
                                                  "sans",    "casual",     "cursive", "small-caps"};

constexpr std::array<std::pair<const char*, kelcaptioning::TextEdge>, 7> kEdges = {{
    {"none", kelcaptioning::kTextEdge_None},
    {"raised", kelcaptioning::kTextEdge_Raised},
    {"depressed", kelcaptioning::kTextEdge_Depressed},
    {"uniform", kelcaptioning::kTextEdge_Uniform},
    {"drop-shadow", kelcaptioning::kTextEdge_RightDropShadow},
    {"left-drop-shadow", kelcaptioning::kTextEdge_LeftDropShadow},
    {"right-drop-shadow", kelcaptioning::kTextEdge_RightDropShadow},
}};

[[noreturn]] void Wrong(const std::string& key, const std::string& wants, const std::string& value) {
  throw UsageError("--style " + key + " wants " + wants + ", not \"" + value + "\"");
}

// "N%" with N from `low` to `high` (a decimal point allowed), as a fraction.
std::optional<float> Percentage(const std::string& text, double low, double high) {
  if (text.size() < 2 || text.back() != '%') return std::nullopt;
  const std::string number = text.substr(0, text.size() - 1);
  if (number.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(number.c_str(), &end);
  if (*end != '\0' || !(value >= low && value <= high)) return std::nullopt;
  return static_cast<float>(value / 100.0);
}

float Opacity(const std::string& key, const std::string& text) {
  const std::optional<float> opacity = Percentage(text, 0, 100);
  if (!opacity) Wrong(key, "an opacity from 0% to 100%", text);
  return *opacity;
}

// "COLOUR" or "COLOUR@OPACITY%"; a colour alone is opaque.
CaptionColorSetting ColorWithOpacity(const std::string& key, const std::string& text) {
  const std::size_t at = text.find('@');
  const std::string colorText = text.substr(0, at);
  CaptionColorSetting setting;
  try {
    const kelui::inkpad::Color c = ParseColor(colorText);
    setting.color = CaptioningColor(c.red, c.green, c.blue);
  } catch (const UsageError&) {
    Wrong(key, "a colour (#RRGGBB, black, white or gray), optionally with an opacity such as @60%", text);
  }
  setting.opacity = at == std::string::npos ? 1.0f : Opacity(key, text.substr(at + 1));
  return setting;
}

void Apply(const std::string& key, const std::string& value, CaptionDisplaySettings& settings) {
  if (key == "font") {
    for (std::size_t i = 0; i < kFamilies.size(); ++i) {
      if (value == kFamilies[i]) {
        settings.fontFamily = static_cast<kelcaptioning::GenericFontFamilyID>(i);
        return;
      }
    }
    Wrong(key, "default, mono-serif, serif, mono-sans, sans, casual, cursive or small-caps", value);
  } else if (key == "size") {
    if (value == "small") settings.textSize = kelcaptioningui::kCaptionTextSmall;
    else if (value == "standard") settings.textSize = kelcaptioningui::kCaptionTextStandard;
    else if (value == "large") settings.textSize = kelcaptioningui::kCaptionTextLarge;
    else if (const std::optional<float> ratio = Percentage(value, 10, 1000)) settings.textSize = *ratio;
    else Wrong(key, "small, standard, large or a percentage from 10% to 1000%", value);
  } else if (key == "text" || key == "background" || key == "window") {
    CaptionColorSetting& setting = key == "text" ? settings.text : key == "background" ? settings.background : settings.window;
    setting = ColorWithOpacity(key, value);
  } else if (key == "text-opacity") {
    settings.text.opacity = Opacity(key, value);
  } else if (key == "background-opacity") {
    settings.background.opacity = Opacity(key, value);
  } else if (key == "window-opacity") {
    settings.window.opacity = Opacity(key, value);
  } else if (key == "edge") {
    for (const auto& [name, edge] : kEdges) {
      if (value == name) {
        settings.edge = edge;
        return;
      }
    }
    Wrong(key, "none, raised, depressed, uniform, drop-shadow, left-drop-shadow or right-drop-shadow", value);
  } else if (key == "edge-color") {
    const CaptionColorSetting edge = ColorWithOpacity(key, value);
    const CaptioningColor& c = *edge.color;
    settings.edgeColor = CaptioningColor(c.Red(), c.Green(), c.Blue(), *edge.opacity);
  } else {
    throw UsageError("--style has no setting \"" + key + "\"; the settings are " + kKeys);
  }
}

}  // namespace

CaptionDisplaySettings ParseDisplayStyle(const std::vector<std::string>& values) {
  CaptionDisplaySettings settings;
  for (const std::string& list : values) {
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
      const std::size_t equals = item.find('=');
      if (equals == std::string::npos || equals == 0 || equals + 1 == item.size()) {
        throw UsageError("--style wants KEY=VALUE settings separated by commas, such as size=large,edge=uniform; \"" +
                         item + "\" is not one");
      }
      Apply(item.substr(0, equals), item.substr(equals + 1), settings);
    }
    if (list.empty() || list.back() == ',') {
      throw UsageError("--style wants KEY=VALUE settings separated by commas, not \"" + list + "\"");
    }
  }
  return settings;
}

void AddDisplayStyleOption(CLI::App& command, std::vector<std::string>& values) {
  command.add_option("--style", values,
                     "Display settings that override the captions' own, as a viewer sets them on a decoder: "
                     "KEY=VALUE,... with font (default, mono-serif, serif, mono-sans, sans, casual, cursive, "
                     "small-caps), size (small, standard, large, N%), text, background, window, edge-color "
                     "(#RRGGBB or black, white, gray; @N% for the opacity), text-opacity, background-opacity, "
                     "window-opacity (N%), edge (none, raised, depressed, uniform, drop-shadow)")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      // Checked as the command line is read, before any input is.
      ->check(
          [](const std::string& value) {
            try {
              ParseDisplayStyle({value});
            } catch (const UsageError& e) {
              const std::string message = e.what();
              return message.rfind("--style ", 0) == 0 ? message.substr(8) : message;
            }
            return std::string();
          },
          "KEY=VALUE,...");
}

}  // namespace kelcaption

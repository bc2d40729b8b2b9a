#include <nlohmann/json.hpp>

#include "kelcaption/ReportContent.h"
#include "kelcaption/TimeCode.h"

namespace kelcaption {

std::string ReportSummary(const ReportContent& content) {
  using nlohmann::json;
  json checks = json::array();
  for (const CheckKind kind : kAllChecks) {
    json flagged = json::array();
    for (const Flag& flag : content.flags) {
      if (flag.kind != kind) continue;
      const StateFacts& state = content.states[flag.state];
      flagged.push_back({{"state", flag.state + 1},
                         {"begin", FormatTime(state.begin)},
                         {"end", FormatTime(state.end)},
                         {"beginFrame", FirstFrameFrom(state.begin, content.setting.rate)},
                         {"detail", flag.detail}});
    }
    checks.push_back({{"check", CheckName(kind)},
                      {"title", CheckTitle(kind, content.limits, content.setting)},
                      {"count", flagged.size()},
                      {"flags", std::move(flagged)}});
  }
  const json summary = {
      {"file", content.file},
      {"kind", content.kind},
      {"video", content.video.empty() ? json() : json(content.video)},
      {"frameRate", std::to_string(content.setting.rate.first) + "/" + std::to_string(content.setting.rate.second)},
      {"states", content.states.size()},
      {"flags", content.flags.size()},
      {"limits",
       {{"maxCps", content.limits.maxCharactersPerSecond},
        {"minDuration", content.limits.minSeconds},
        {"maxDuration", content.limits.maxSeconds},
        {"minGapFrames", content.limits.minGapFrames},
        {"maxLineLength", MaxLineLength(content.limits, content.setting)},
        {"titleSafe", content.limits.titleSafe}}},
      {"checks", std::move(checks)}};
  return summary.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace kelcaption

#include "kelcaption/StateTimes.h"

#include <nlohmann/json.hpp>

#include "kelcaption/CommandLine.h"

namespace kelcaption {

namespace {

using nlohmann::json;

kelmediatypes::TickTime TimeOf(const json& value) {
  return value.is_string() ? ParseTime(value.get<std::string>(), "a state time")
                           : kelmediatypes::TickTime(value.get<std::int64_t>());
}

}  // namespace

std::string WithStateTimes(const std::string& document, const std::optional<FrameRate>& rate) {
  json parsed = json::parse(document);
  json& states = parsed["states"];
  bool wholeMilliseconds = true;
  for (const json& state : states) {
    for (const char* key : {"begin", "end"}) {
      if (state.contains(key) && !state[key].is_string()) wholeMilliseconds = false;
    }
  }
  for (json& state : states) {
    for (const char* key : {"begin", "end"}) {
      if (!state.contains(key)) continue;
      const kelmediatypes::TickTime time = TimeOf(state[key]);
      if (!wholeMilliseconds) state[key] = time.GetTicks();
      if (rate) state[std::string(key) + "Frame"] = FirstFrameFrom(time, *rate);
    }
  }
  return parsed.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace kelcaption

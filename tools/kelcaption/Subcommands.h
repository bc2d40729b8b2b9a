#pragma once

#include <CLI/CLI.hpp>

#include <functional>

namespace kelcaption {

// A subcommand of the tool: added to the app with its own options, run when it was named. `run`
// returns the exit status, or throws (see CommandLine.h for what each status means).
struct Subcommand {
  CLI::App* command;
  std::function<int()> run;
};

Subcommand AddDemo(CLI::App& app);
Subcommand AddRender(CLI::App& app);
Subcommand AddRects(CLI::App& app);
Subcommand AddBurn(CLI::App& app);
Subcommand AddDefaults(CLI::App& app);
Subcommand AddStates(CLI::App& app);
Subcommand AddExportSettings(CLI::App& app);
Subcommand AddInfo(CLI::App& app);
Subcommand AddExport(CLI::App& app);
Subcommand AddReport(CLI::App& app);

}  // namespace kelcaption

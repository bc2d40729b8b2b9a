// kelcaption: draws captions and subtitles into images and video frames. Each subcommand lives in
// a file of its own; this only wires them together and turns errors into exit statuses.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kelcaption/CommandLine.h"
#include "kelcaption/Subcommands.h"
#include "kelui/inkpad/Supplier.h"

#ifndef KEL_VERSION
#define KEL_VERSION "unknown"
#endif

int main(int argc, char** argv) {
  using namespace kelcaption;
  CLI::App app{"kelcaption: draws broadcast captions and subtitles into images and video frames.", "kelcaption"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "kelcaption " KEL_VERSION);
  app.footer(
      "Exit status: 0 done, 1 the input could not be read or the run failed, 2 wrong usage, 3 report's checks "
      "flagged something and --fail-on-flags was given.");
  const std::vector<Subcommand> subcommands = {AddDemo(app),     AddRender(app),         AddRects(app),  AddBurn(app),
                                               AddDefaults(app), AddStates(app),         AddInfo(app),   AddExport(app),
                                               AddExportSettings(app), AddReport(app)};

  // An unknown subcommand is named, with the ones there are.
  if (argc > 1 && argv[1][0] != '-' && std::none_of(subcommands.begin(), subcommands.end(), [&](const Subcommand& s) {
        return s.command->get_name() == argv[1];
      })) {
    std::string names;
    for (const Subcommand& s : subcommands) names += (names.empty() ? "" : ", ") + s.command->get_name();
    std::fprintf(stderr, "kelcaption: unknown subcommand \"%s\"; the subcommands are %s (see kelcaption --help)\n",
                 argv[1], names.c_str());
    return kExitUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? kExitDone : kExitUsage;
  }

  int status = kExitDone;
  try {
    for (const Subcommand& s : subcommands) {
      if (*s.command) status = s.run();
    }
  } catch (const UsageError& e) {
    std::fprintf(stderr, "kelcaption: %s\n", e.what());
    status = kExitUsage;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kelcaption: %s\n", e.what());
    status = kExitFailed;
  }
  kelui::inkpad::ReleaseFontCaches();
  return status;
}

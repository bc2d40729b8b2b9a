#pragma once

#include <string>
#include <vector>

#include "kelcaption/CaptionAppearances.h"
#include "kelcaption/CaptionChecks.h"
#include "kelcaption/StatePictures.h"
#include "kelcaption/StateFacts.h"
#include "kelcaptionfiles/FileNotes.h"

namespace kelcaption {

// All that a caption report shows, gathered before it is written as a page or a summary.
struct ReportContent {
  std::string file;    // the caption file's name, without its folder
  std::string kind;    // "SubRip", "Scenarist SCC", ...
  std::string video;   // the video's name, or empty
  std::string laneName;  // what a timeline lane is: "CC1", "Subtitles", "Window"...
  std::vector<StateFacts> states;
  std::vector<StatePictures::Picture> pictures;  // a state's each
  int pictureWidth = 0, pictureHeight = 0;
  std::vector<Appearance> appearances;
  std::vector<Flag> flags;
  CheckLimits limits;
  CheckSetting setting;
  std::vector<kelcaptionfiles::FileNote> notes;
};

// The report as one self-contained HTML page: pictures embedded, no script or style from elsewhere.
std::string ReportPage(const ReportContent& content);
// What the checks found, as JSON for pipelines.
std::string ReportSummary(const ReportContent& content);

}  // namespace kelcaption

#pragma once

#include "platform/repair_settings.h"

#include "cli/cover_font.h"

#include <string>
#include <vector>

namespace cli {

class ProgressLine;

// cover: draws the CD cover of the entries (see chooseEntries), all of them
// in list order, with the font fitted to the cover, and writes it as a
// bitmap file to outputPath. Only this command starts Qt's GUI side, on the
// offscreen platform unless QT_QPA_PLATFORM names another. Messages (2 to
// 49 titles, a font family that is not installed, a file that cannot be
// created) go through the installed prompter. Returns kExitOk when the file
// was written and nothing skipped, else kExitSkipped.
int runCover(const platform::RepairSettings& settings, const std::string& outputPath, const CoverFont& font,
             const std::string& listPath, const std::vector<std::string>& paths, ProgressLine& progress);

}  // namespace cli

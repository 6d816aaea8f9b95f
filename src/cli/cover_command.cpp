#include "cli/cover_command.h"

#include "cli/chosen_entries.h"
#include "cli/usage.h"
#include "platform/prompter.h"
#include "qtgui/offscreen_gui.h"
#include "qtgui/qt_cover_canvas.h"
#include "view/cover_bitmap.h"
#include "view/cover_painting.h"
#include "view/cover_texts.h"

namespace cli {

namespace {

// Qt would quietly draw with another font; the cover would not be the one asked for.
bool fontInstalled(const CoverFont& font)
{
    if (qtgui::fontFamilyInstalled(font.family))
        return true;
    platform::prompter().showMessage("The font family '" + font.family +
                                     "' is not installed (fc-list lists those that are); no cover is drawn.");
    return false;
}

}  // namespace

int runCover(const platform::RepairSettings& settings, const std::string& outputPath, const CoverFont& font,
             const std::string& listPath, const std::vector<std::string>& paths, ProgressLine& progress)
{
    const auto chosen = chooseEntries(settings, listPath, paths, progress);
    if (!chosen)
        return kExitSkipped;
    const auto texts = view::collectCoverTexts(chosen->selection());
    if (!texts)
        return kExitSkipped;

    const qtgui::OffscreenGui gui("liedkram-cli");
    if (!fontInstalled(font))
        return kExitSkipped;
    const auto canvas = qtgui::QtCoverCanvas::forScreen();
    if (!canvas)
        return kExitSkipped;
    view::drawCover(*canvas, *texts, coverFontDescription(font, qtgui::screenVerticalDpi()));
    if (!view::writeCoverBitmap(*canvas, outputPath))
        return kExitSkipped;
    return chosen->status;
}

}  // namespace cli

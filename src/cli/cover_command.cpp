#include "cli/cover_command.h"

#include "app/qt_cover_canvas.h"
#include "cli/chosen_entries.h"
#include "cli/usage.h"
#include "platform/prompter.h"
#include "view/cover_bitmap.h"
#include "view/cover_painting.h"
#include "view/cover_texts.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace cli {

namespace {

constexpr const char* kPlatformVariable = "QT_QPA_PLATFORM";

// The cover is drawn in memory; no display needs to be there.
void useOffscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty(kPlatformVariable))
        qputenv(kPlatformVariable, "offscreen");
}

// Qt would quietly draw with another font; the cover would not be the one asked for.
bool fontInstalled(const CoverFont& font)
{
    if (QFontDatabase::hasFamily(QString::fromStdString(font.family)))
        return true;
    platform::prompter().showMessage("The font family '" + font.family +
                                     "' is not installed (fc-list lists those that are); no cover is drawn.");
    return false;
}

}  // namespace

int runCover(const std::string& outputPath, const CoverFont& font, const std::string& listPath,
             const std::vector<std::string>& paths, ProgressLine& progress)
{
    const auto chosen = chooseEntries(listPath, paths, progress);
    if (!chosen)
        return kExitSkipped;
    const auto texts = view::collectCoverTexts(chosen->selection());
    if (!texts)
        return kExitSkipped;

    useOffscreenUnlessSet();
    int argc = 1;
    char name[] = "liedkram-cli";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    if (!fontInstalled(font))
        return kExitSkipped;
    const auto canvas = app::QtCoverCanvas::forScreen();
    if (!canvas)
        return kExitSkipped;
    view::drawCover(*canvas, *texts, coverFontDescription(font, app::screenVerticalDpi()));
    if (!view::writeCoverBitmap(*canvas, outputPath))
        return kExitSkipped;
    return chosen->status;
}

}  // namespace cli

#include "qtgui/offscreen_gui.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace qtgui {

namespace {
constexpr const char* kPlatformVariable = "QT_QPA_PLATFORM";
}

OffscreenGui::OffscreenGui(const char* programName) : name_(programName)
{
    // The cover is drawn in memory; no display needs to be there.
    if (qEnvironmentVariableIsEmpty(kPlatformVariable))
        qputenv(kPlatformVariable, "offscreen");
    argv_[0] = name_.data();
    application_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

OffscreenGui::~OffscreenGui() = default;

bool fontFamilyInstalled(const std::string& family)
{
    return QFontDatabase::hasFamily(QString::fromStdString(family));
}

}  // namespace qtgui

#include "app/qt_shell_opener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtShellOpener::open(const std::string& path, const std::string&)
{
    // The desktop starts the program in its own working directory.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

#include "app/liedkram_app.h"
#include "app/main_frame.h"
#include "app/qt_prompter.h"
#include "app/qt_shell_opener.h"
#include "document/liedkram_doc.h"
#include "platform/qsettings_profile.h"

#include <QFileInfo>

int main(int argc, char** argv)
{
    CLiedkramApp app(argc, argv);
    platform::QSettingsProfile profile;
    platform::installProfile(&profile);

    CLiedkramDoc document;
    QtShellOpener shell;
    CMainFrame* frame = nullptr;
    QtPrompter prompter([&frame]() -> QWidget* { return frame; });
    platform::installPrompter(&prompter);

    CMainFrame window(document, shell);
    frame = &window;
    document.OnNewDocument();
    window.show();
    // Files named on the command line take the open path one after the
    // other, as dropped files do: a list file replaces the list, an MP3 file
    // is added to it; either way the program goes on with the list.
    const QStringList arguments = app.arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        window.openDocument(QFileInfo(arguments.at(i)).absoluteFilePath());
    return app.exec();
}

#include "app/liedkram_app.h"
#include "app/main_frame.h"
#include "app/qt_prompter.h"
#include "app/qt_shell_opener.h"
#include "app/single_instance.h"
#include "document/liedkram_doc.h"
#include "platform/qsettings_profile.h"

#include <QFileInfo>

int main(int argc, char** argv)
{
    CLiedkramApp app(argc, argv);
    QStringList paths;
    const QStringList arguments = app.arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        paths << QFileInfo(arguments.at(i)).absoluteFilePath();

    // A Liedkram that runs already takes the files and comes to the front.
    SingleInstance instance;
    if (instance.handOver(paths))
        return 0;
    instance.listen();

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
    QObject::connect(&instance, &SingleInstance::filesReceived, &window, &CMainFrame::openFiles);
    window.openFiles(paths);
    return app.exec();
}

#include "dialog_suites.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The dialogs are driven without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    int failures = 0;
    failures += runOptionsDlgTests(argc, argv);
    failures += runDuplicateDlgTests(argc, argv);
    failures += runAboutDlgTests(argc, argv);
    return failures == 0 ? 0 : 1;
}

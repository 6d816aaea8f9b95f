#include "app/liedkram_app.h"

#include "app/german_translation.h"

#include <QIcon>

CLiedkramApp::CLiedkramApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("CD_Cover erstellen"));
    setApplicationName(QStringLiteral("Liedkram"));
    setWindowIcon(QIcon(QStringLiteral(":/res/liedkram.svg")));
    installGermanTranslation(*this);
}

#pragma once

#include <QApplication>

// The application object: its names key the settings ("CD_Cover erstellen",
// "Liedkram"), which also hold the recent-file list. Qt's own dialogs and
// buttons speak German.
class CLiedkramApp : public QApplication {
    Q_OBJECT
public:
    CLiedkramApp(int& argc, char** argv);
};

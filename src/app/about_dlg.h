#pragma once

#include <QDialog>

// The about box: program name, version and a word of warning. The OK button's
// objectName is "1", the icon's "149".
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

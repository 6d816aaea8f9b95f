#include "app/about_dlg.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int kIconSize = 32;

QIcon programIcon(const QWidget& dialog)
{
    const QIcon icon = QApplication::windowIcon();
    return icon.isNull() ? dialog.style()->standardIcon(QStyle::SP_MessageBoxInformation) : icon;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Info über Liedkram"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("149"));
    icon->setPixmap(programIcon(*this).pixmap(kIconSize, kIconSize));

    auto* version = new QLabel(QStringLiteral("Liedkram, Version 1.71\nOrdnung für die MP3-Sammlung"), this);
    version->setObjectName(QStringLiteral("version"));
    version->setAlignment(Qt::AlignCenter);

    auto* warning = new QLabel(QStringLiteral("Be careful!\nThough usage should be save\n"
                                              "programming is still in progress.\nComments are wellcome!"),
                               this);
    warning->setObjectName(QStringLiteral("warning"));
    warning->setAlignment(Qt::AlignCenter);
    warning->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    warning->setMargin(4);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(version, 0, 1);
    layout->addWidget(warning, 1, 0, 1, 2);
    layout->addWidget(ok, 2, 0, 1, 2, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

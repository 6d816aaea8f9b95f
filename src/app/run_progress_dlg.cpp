#include "app/run_progress_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

RunProgressDlg::RunProgressDlg(const QString& text, int total, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("runProgress"));
    setWindowTitle(QApplication::applicationName());
    setWindowModality(Qt::ApplicationModal);
    auto* label = new QLabel(text, this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, total);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(bar_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

void RunProgressDlg::setValue(int done)
{
    bar_->setValue(done);
}

void RunProgressDlg::reject()
{
    cancelled_ = true;
}

#include "app/run_progress_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

RunProgressDlg::RunProgressDlg(const QString& text, int total, QWidget* parent) : QDialog(parent), total_(total)
{
    setObjectName(QStringLiteral("runProgress"));
    setWindowTitle(QApplication::applicationName());
    setWindowModality(Qt::ApplicationModal);
    auto* label = new QLabel(text, this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, total);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("count"));
    file_ = new QLabel(this);
    file_->setObjectName(QStringLiteral("file"));
    file_->setMinimumWidth(kFileWidth);
    // Shown once a command tells them; a move counts only.
    count_->hide();
    file_->hide();
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(bar_);
    layout->addWidget(count_);
    layout->addWidget(file_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

void RunProgressDlg::setValue(int done)
{
    bar_->setValue(done);
}

void RunProgressDlg::setProgress(int done, const std::string& path, double filesPerSecond)
{
    bar_->setValue(done);
    count_->setText(QStringLiteral("%1 von %2 Dateien, %3 Dateien/s")
                        .arg(done)
                        .arg(total_)
                        .arg(static_cast<qint64>(std::llround(filesPerSecond))));
    file_->setText(file_->fontMetrics().elidedText(QString::fromStdString(path), Qt::ElideMiddle, kFileWidth));
    count_->show();
    file_->show();
}

void RunProgressDlg::reject()
{
    cancelled_ = true;
}

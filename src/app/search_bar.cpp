#include "app/search_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

SearchBar::SearchBar(QWidget* parent) : QWidget(parent), line_(new QLineEdit(this))
{
    setObjectName(QStringLiteral("searchBar"));
    auto* label = new QLabel(QStringLiteral("Suche:"), this);
    label->setBuddy(line_);
    line_->setClearButtonEnabled(true);
    line_->installEventFilter(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(label);
    layout->addWidget(line_, 1);
    connect(line_, &QLineEdit::textChanged, this, &SearchBar::textChanged);
}

QString SearchBar::text() const
{
    return line_->text();
}

void SearchBar::showForTyping()
{
    show();
    line_->setFocus();
    line_->selectAll();
}

void SearchBar::clearAndHide()
{
    hide();
    const QSignalBlocker quiet(this);
    line_->clear();
}

bool SearchBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == line_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        emit escapePressed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

#include "app/messages_dock.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole;

QString textOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MessagesDock::MessagesDock(QWidget* parent) : QDockWidget(QStringLiteral("Meldungen"), parent), list_(new QListWidget)
{
    setObjectName(QStringLiteral("messages"));
    setFeatures(QDockWidget::DockWidgetClosable);
    setAllowedAreas(Qt::BottomDockWidgetArea);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setUniformItemSizes(true);
    auto* copyButton = new QPushButton(QStringLiteral("&Kopieren"));
    auto* clearButton = new QPushButton(QStringLiteral("&Leeren"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copyButton);
    buttons->addWidget(clearButton);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    setWidget(content);
    auto* copyKey = new QAction(list_);
    copyKey->setShortcuts(QKeySequence::Copy);
    copyKey->setShortcutContext(Qt::WidgetShortcut);
    list_->addAction(copyKey);
    connect(copyKey, &QAction::triggered, this, &MessagesDock::copy);
    connect(copyButton, &QPushButton::clicked, this, &MessagesDock::copy);
    connect(clearButton, &QPushButton::clicked, this, &MessagesDock::clear);
    connect(list_, &QListWidget::itemDoubleClicked, this, &MessagesDock::activated);
}

void MessagesDock::add(std::string_view path, std::string_view text)
{
    const QString file = textOf(path);
    QString line = textOf(text);
    // Every line names its file, as the CLI's messages do.
    if (!file.isEmpty() && !line.contains(file))
        line = QStringLiteral("'%1': %2").arg(file, line);
    // A message of several lines is one line here; the full text is its tooltip.
    auto* item = new QListWidgetItem(QString(line).replace(QLatin1Char('\n'), QLatin1Char(' ')), list_);
    item->setData(kPathRole, file);
    item->setToolTip(line);
    list_->scrollToItem(item);
    if (isHidden())
        show();
}

QStringList MessagesDock::texts() const
{
    QStringList lines;
    for (int row = 0; row < list_->count(); ++row)
        lines << list_->item(row)->text();
    return lines;
}

void MessagesDock::copy() const
{
    QStringList lines;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->isSelected())
            lines << list_->item(row)->text();
    }
    if (lines.isEmpty())
        lines = texts();
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void MessagesDock::clear()
{
    list_->clear();
}

void MessagesDock::activated(QListWidgetItem* item)
{
    emit fileActivated(item->data(kPathRole).toString(), item->toolTip());
}

#include "app/history_dlg.h"

#include "history/journal.h"
#include "history/journal_location.h"
#include "history/undo_state.h"
#include "platform/prompter.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum HistoryColumn { kNumber, kTime, kCommand, kFiles, kBytes, kUndone, kColumnCount };

constexpr int kNumberRole = Qt::UserRole;
constexpr int kUndoneRole = Qt::UserRole + 1;

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

CHistoryDlg::CHistoryDlg(UndoSet undoSet, QWidget* parent)
    : QDialog(parent), undoSet_(std::move(undoSet)), sets_(new QTableWidget(this))
{
    setWindowTitle(QStringLiteral("Änderungsverlauf"));
    sets_->setObjectName(QStringLiteral("sets"));
    sets_->setColumnCount(kColumnCount);
    sets_->setHorizontalHeaderLabels({QStringLiteral("Nr."), QStringLiteral("Zeit"), QStringLiteral("Befehl"),
                                      QStringLiteral("Dateien"), QStringLiteral("Bytes aufbewahrt"),
                                      QStringLiteral("Rückgängig gemacht")});
    sets_->setSelectionBehavior(QAbstractItemView::SelectRows);
    sets_->setSelectionMode(QAbstractItemView::SingleSelection);
    sets_->verticalHeader()->hide();
    sets_->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(this);
    undo_ = buttons->addButton(QStringLiteral("&Rückgängig machen"), QDialogButtonBox::ActionRole);
    undo_->setObjectName(QStringLiteral("undo"));
    buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sets_);
    layout->addWidget(buttons);
    connect(undo_, &QPushButton::clicked, this, &CHistoryDlg::onUndo);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(sets_, &QTableWidget::itemSelectionChanged, this, &CHistoryDlg::updateButton);
    resize(720, 400);
    fill();
}

void CHistoryDlg::fill()
{
    std::vector<std::string> notOwned;
    std::vector<history::ChangeSetRecord> journal = history::readJournal(history::dataDirectory(), &notOwned);
    for (const std::string& path : notOwned)
        platform::prompter().showMessage(history::notOwnedMessage(path));
    std::erase_if(journal, [](const auto& set) { return set.changes.empty(); });
    const history::UndoState state(journal);
    sets_->setRowCount(0);
    sets_->setRowCount(static_cast<int>(journal.size()));
    int row = 0;
    for (auto set = journal.rbegin(); set != journal.rend(); ++set, ++row) {
        const bool undone = state.isUndone(set->number);
        auto* number = cell(QString::number(set->number));
        number->setData(kNumberRole, set->number);
        number->setData(kUndoneRole, undone);
        sets_->setItem(row, kNumber, number);
        sets_->setItem(row, kTime,
                       cell(QDateTime::fromSecsSinceEpoch(set->time).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))));
        sets_->setItem(row, kCommand, cell(QString::fromStdString(set->command)));
        sets_->setItem(row, kFiles, cell(QString::number(history::filesChanged(*set))));
        sets_->setItem(row, kBytes, cell(QString::number(history::bytesKept(*set))));
        sets_->setItem(row, kUndone, cell(undone ? QStringLiteral("ja") : QStringLiteral("nein")));
    }
    sets_->resizeColumnsToContents();
    updateButton();
}

void CHistoryDlg::updateButton()
{
    const auto chosen = sets_->selectedItems();
    // A set undone already is given back by undoing its undo, further up.
    undo_->setEnabled(!chosen.isEmpty() && !sets_->item(chosen.first()->row(), kNumber)->data(kUndoneRole).toBool());
}

void CHistoryDlg::onUndo()
{
    const auto chosen = sets_->selectedItems();
    if (chosen.isEmpty())
        return;
    const int row = chosen.first()->row();
    undoSet_(sets_->item(row, kNumber)->data(kNumberRole).toInt(), sets_->item(row, kCommand)->text().toStdString());
    fill();
}

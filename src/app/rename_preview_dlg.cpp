#include "app/rename_preview_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using platform::RenameProposal;

QString noteOf(const RenameProposal& proposal)
{
    switch (proposal.mark) {
    case RenameProposal::Mark::Offered:
        return {};
    case RenameProposal::Mark::Taken:
        return QStringLiteral("Name schon vergeben");
    case RenameProposal::Mark::NotAllowed:
        return QStringLiteral("kein erlaubter Dateiname");
    case RenameProposal::Mark::MissingField:
        return QStringLiteral("%1 ist leer: der Name bleibt").arg(QString::fromStdString(proposal.missing));
    }
    return {};
}

}  // namespace

RenamePreviewDlg::RenamePreviewDlg(const std::vector<RenameProposal>& proposals, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this))
{
    setWindowTitle(QStringLiteral("Umbenennen"));
    list_->setObjectName(QStringLiteral("proposals"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({QStringLiteral("Alter Name"), QStringLiteral("Neuer Name"), QStringLiteral("Hinweis")});
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(proposals.size()));
    for (const RenameProposal& proposal : proposals) {
        const bool offered = proposal.mark == RenameProposal::Mark::Offered;
        // A name lacking a field is not offered at all: the file keeps its own.
        const std::string& shown =
            proposal.mark == RenameProposal::Mark::MissingField ? proposal.oldName : proposal.newName;
        auto* item = new QTreeWidgetItem(
            {QString::fromStdString(proposal.oldName), QString::fromStdString(shown), noteOf(proposal)});
        item->setCheckState(kOldName, offered && proposal.ticked ? Qt::Checked : Qt::Unchecked);
        for (int column = kOldName; column <= kNote; ++column)
            item->setToolTip(column, item->text(column));
        // A name that cannot be given cannot be ticked either.
        if (!offered)
            item->setFlags(item->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled));
        items.push_back(item);
    }
    list_->addTopLevelItems(items);
    for (int column = kOldName; column <= kNote; ++column)
        list_->resizeColumnToContents(column);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* rename = buttons->addButton(QStringLiteral("&Umbenennen"), QDialogButtonBox::AcceptRole);
    QPushButton* keep = buttons->addButton(QStringLiteral("&Nicht umbenennen"), QDialogButtonBox::ActionRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole);
    rename->setObjectName(QStringLiteral("rename"));
    keep->setObjectName(QStringLiteral("keep"));
    cancel->setObjectName(QStringLiteral("cancel"));
    rename->setDefault(true);
    connect(rename, &QPushButton::clicked, this, [this] { done(kRename); });
    connect(keep, &QPushButton::clicked, this, [this] { done(kKeepNames); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Diese Dateien erhalten neue Namen:"), this));
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    resize(760, 420);
}

std::vector<bool> RenamePreviewDlg::ticked() const
{
    std::vector<bool> ticks;
    ticks.reserve(static_cast<std::size_t>(list_->topLevelItemCount()));
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        ticks.push_back(list_->topLevelItem(i)->checkState(kOldName) == Qt::Checked);
    return ticks;
}

platform::Answer RenamePreviewDlg::answerOf(int result)
{
    switch (result) {
    case kRename:
        return platform::Answer::Yes;
    case kKeepNames:
        return platform::Answer::No;
    default:
        return platform::Answer::Cancel;
    }
}

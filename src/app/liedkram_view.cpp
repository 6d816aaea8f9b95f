#include "app/liedkram_view.h"

#include "app/command_table.h"
#include "app/entry_table_model.h"
#include "app/row_delegate.h"
#include "app/session_undo.h"
#include "app/shown_rows_model.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/profile.h"
#include "platform/prompter.h"
#include "platform/shell_open.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <utility>

CLiedkramView::CLiedkramView(CLiedkramDoc& document, platform::ShellOpener& shell, QWidget* parent)
    : QTableView(parent),
      document_(document),
      shell_(shell),
      model_(new EntryTableModel(document, this)),
      shown_(new ShownRowsModel(*model_, document, this))
{
    setModel(shown_);
    setItemDelegate(new RowDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setStretchLastSection(true);
    // The narrow flag and track columns are narrower than the style's minimum.
    horizontalHeader()->setMinimumSectionSize(10);
    for (const Column column : allColumns())
        setColumnWidth(columnNumber(column), EntryTableModel::columnWidth(column));
    restoreWidths();
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CLiedkramView::OnColumnClick);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { storeWidths(); });
    connect(model_, &QAbstractItemModel::rowsInserted, this, &CLiedkramView::forgetSortOrder);
    connect(model_, &QAbstractItemModel::modelReset, this, &CLiedkramView::forgetSortOrder);
}

void CLiedkramView::setCommandActions(std::map<int, QAction*> actions)
{
    actions_ = std::move(actions);
}

void CLiedkramView::selectRows(const std::vector<std::size_t>& rows)
{
    QItemSelection selection;
    QModelIndex first;
    for (const std::size_t row : rows) {
        const QModelIndex shown = shown_->mapFromSource(model_->index(static_cast<int>(row), 0));
        if (!shown.isValid())
            continue;
        if (!first.isValid())
            first = shown;
        selection.select(shown, shown);
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (first.isValid()) {
        selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        scrollTo(first);
    }
}

std::vector<int> CLiedkramView::selectedRows() const
{
    // Read from the selection's ranges: asking row by row costs a walk over
    // all ranges for every row.
    std::vector<int> shownRows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            shownRows.push_back(row);
    }
    std::sort(shownRows.begin(), shownRows.end());
    shownRows.erase(std::unique(shownRows.begin(), shownRows.end()), shownRows.end());
    std::vector<int> rows;
    rows.reserve(shownRows.size());
    for (const int row : shownRows)
        rows.push_back(shown_->mapToSource(shown_->index(row, 0)).row());
    return rows;
}

std::vector<const CLiedkramEntry*> CLiedkramView::selectedEntries() const
{
    std::vector<const CLiedkramEntry*> entries;
    for (const int row : selectedRows())
        entries.push_back(&std::as_const(document_).GetEntry(static_cast<std::size_t>(row)));
    return entries;
}

std::vector<const CLiedkramEntry*> CLiedkramView::selectedOrAllEntries() const
{
    std::vector<const CLiedkramEntry*> entries = selectedEntries();
    // Hidden rows belong to the list as well.
    return entries.empty() ? document_.Entries() : entries;
}

void CLiedkramView::showAll()
{
    shown_->showAll();
}

void CLiedkramView::showMatching(const QString& typed)
{
    shown_->showMatching(typed);
}

void CLiedkramView::showSimilar()
{
    shown_->showSimilar();
}

void CLiedkramView::OnToggleStateIcons()
{
    m_bStateIcons = !m_bStateIcons;
    if (const auto found = actions_.find(commands::kStateIcons); found != actions_.end())
        found->second->setChecked(m_bStateIcons);
}

void CLiedkramView::OnDeleteRows()
{
    if (selectedRows().empty())
        return;
    const platform::Answer answer =
        platform::prompter().askYesNo("Sollen die ausgewählten *.mp3's wirklich\naus der Liste entfernt werden?");
    if (answer != platform::Answer::Yes)
        return;
    const std::vector<int> rows = selectedRows();
    int firstShown = shown_->rowCount();
    for (const QItemSelectionRange& range : selectionModel()->selection())
        firstShown = std::min(firstShown, range.top());
    {
        const SessionStep step(session_, QStringLiteral("Einträge löschen"));
        document_.RemoveRows(std::vector<std::size_t>(rows.begin(), rows.end()));
    }
    document_.SetChanged();
    // The focus goes to the row that took the place of the first one removed.
    if (!currentIndex().isValid() && shown_->rowCount() > 0) {
        const int row = std::min(firstShown, shown_->rowCount() - 1);
        selectionModel()->setCurrentIndex(shown_->index(row, 0), QItemSelectionModel::NoUpdate);
    }
}

void CLiedkramView::OnPlay()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    const CLiedkramEntry& entry =
        std::as_const(document_).GetEntry(static_cast<std::size_t>(shown_->mapToSource(current).row()));
    const std::string path = entry.GetFullPath();
    if (!platform::fileExists(path) || !shell_.open(path, entry.m_szPath.str()))
        platform::prompter().showMessage("Can't open '" + path + "'");
}

void CLiedkramView::OnColumnClick(int section)
{
    // The selection and the focus follow their entries through the model.
    if (const auto column = ::columnAt(section)) {
        // A second click on the sorted column turns the order round.
        const bool reversed = section == sortedSection_ && !sortedReversed_;
        {
            const SessionStep step(session_, QStringLiteral("Sortieren nach ") + EntryTableModel::headerText(*column));
            document_.SortByColumn(*column, reversed);
        }
        sortedSection_ = section;
        sortedReversed_ = reversed;
        horizontalHeader()->setSortIndicatorShown(true);
        horizontalHeader()->setSortIndicator(section, reversed ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
}

void CLiedkramView::forgetSortOrder()
{
    sortedSection_ = -1;
    sortedReversed_ = false;
    horizontalHeader()->setSortIndicatorShown(false);
}

namespace {
const char* const kWidthsKey = "ColumnWidths";
constexpr int kWidestColumn = 4000;
}  // namespace

void CLiedkramView::restoreWidths()
{
    const QStringList stored = QString::fromStdString(platform::profile().getString(kWidthsKey, "")).split(',');
    if (stored.size() != kColumnCount)
        return;
    std::vector<int> widths;
    for (const QString& text : stored) {
        bool number = false;
        const int width = text.toInt(&number);
        // Anything else is no width this program stored: the built-in ones stay.
        if (!number || width < horizontalHeader()->minimumSectionSize() || width > kWidestColumn)
            return;
        widths.push_back(width);
    }
    for (int section = 0; section < kColumnCount; ++section)
        setColumnWidth(section, widths[static_cast<std::size_t>(section)]);
}

void CLiedkramView::storeWidths() const
{
    QStringList widths;
    for (int section = 0; section < kColumnCount; ++section)
        widths << QString::number(columnWidth(section));
    platform::profile().writeString(kWidthsKey, widths.join(',').toStdString());
}

QString CLiedkramView::pendingRepairs(std::uint32_t flags)
{
    static const std::pair<std::uint32_t, const char*> kRepairs[] = {
        {ENTRY_TAG_DIRTY, "ID3-Tag schreiben"}, {ENTRY_CUT_FRONT, "Anfang abschneiden"},
        {ENTRY_CUT_BACK, "Ende abschneiden"},   {ENTRY_HEADER_DIRTY, "Frame-Header ändern"},
        {ENTRY_RENAME, "umbenennen"},           {ENTRY_SCAN_ERROR, "Lesefehler: Frames nicht lesbar"},
    };
    QStringList named;
    for (const auto& [bit, text] : kRepairs) {
        if (flags & bit)
            named << QString::fromUtf8(text);
    }
    return named.isEmpty() ? QString() : QStringLiteral("Ausstehend: ") + named.join(QStringLiteral(", "));
}

QString CLiedkramView::toolTipFor(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    QStringList lines;
    const QString absent = index.data(Qt::ToolTipRole).toString();
    if (!absent.isEmpty())
        lines << absent;
    const QString text = index.data(Qt::DisplayRole).toString();
    if (cellText(fontMetrics(), text, columnWidth(index.column()), index.column()) != text)
        lines << text;
    const QString pending = pendingRepairs(index.data(EntryTableModel::FlagsRole).toUInt());
    if (!pending.isEmpty())
        lines << pending;
    return lines.join('\n');
}

bool CLiedkramView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = toolTipFor(indexAt(help->pos()));
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport());
    return true;
}

void CLiedkramView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Control) {
        m_bCtrlDown = true;
        QTableView::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (m_bCtrlDown)
            emit autoEditRequested();
        else
            emit manualEditRequested();
    } else if (key == Qt::Key_Delete) {
        OnDeleteRows();
    } else if (key == Qt::Key_A && m_bCtrlDown) {
        selectAll();
    }
    const bool ctrlA = key == Qt::Key_A && (event->modifiers() & Qt::ControlModifier);
    m_bCtrlDown = false;
    // Select-all belongs to the Ctrl memory above, not to the table's own shortcut.
    if (ctrlA)
        return;
    QTableView::keyPressEvent(event);
}

void CLiedkramView::keyReleaseEvent(QKeyEvent* event)
{
    m_bCtrlDown = false;
    QTableView::keyReleaseEvent(event);
}

void CLiedkramView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    for (const int id : contextMenu()) {
        const auto found = actions_.find(id);
        if (found == actions_.end())
            continue;
        QAction* shown = menu.addAction(QString::fromUtf8(findCommand(id)->contextText));
        shown->setEnabled(found->second->isEnabled());
        shown->setStatusTip(found->second->statusTip());
        connect(shown, &QAction::triggered, found->second, &QAction::trigger);
    }
    menu.exec(event->globalPos());
}

void CLiedkramView::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit manualEditRequested();
    QTableView::mouseDoubleClickEvent(event);
}

void CLiedkramView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid())
        return;
    // The focus frame goes round the whole row, not one cell. It is drawn
    // here, dotted in the text colour: styles draw theirs only after a Tab.
    QRect row = visualRect(shown_->index(current.row(), 0));
    row.setLeft(0);
    row.setRight(viewport()->width() - 1);
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Text), 1, Qt::DotLine));
    // A drawn rectangle reaches one pixel past its right and bottom edge.
    painter.drawRect(row.adjusted(0, 0, -1, -1));
}

void CLiedkramView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void CLiedkramView::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

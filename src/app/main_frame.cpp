#include "app/main_frame.h"

#include "app/about_dlg.h"
#include "app/collected_messages.h"
#include "app/command_table.h"
#include "app/edit_runs.h"
#include "app/entry_table_model.h"
#include "app/folder_files.h"
#include "app/history_dlg.h"
#include "app/liedkram_view.h"
#include "app/list_printer.h"
#include "app/messages_dock.h"
#include "app/move_run.h"
#include "app/options_dlg.h"
#include "app/path_run.h"
#include "app/recorded_changes.h"
#include "app/search_bar.h"
#include "app/session_undo.h"
#include "app/set_undo.h"
#include "app/shown_rows_model.h"
#include "app/toolbar_icons.h"
#include "document/liedkram_doc.h"
#include "document/list_edit.h"
#include "entry/liedkram_entry.h"
#include "platform/folder_walk.h"
#include "platform/prompter.h"
#include "platform/repair_settings.h"
#include "platform/settings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

using namespace commands;

namespace {

const QString kListFilter = QStringLiteral("M3L-Dateien (*.m3l)");
// Open also takes an MP3 file, which it adds to the list.
const QString kOpenFilter = QStringLiteral("M3L-Dateien (*.m3l);;Alle Dateien (*.*)");
const QString kAddFilter = QStringLiteral("MP3-Dateien (*.mp3);;MP3-Listen (*.m3l);;Alle Dateien (*)");
// How often files handed over wait for an open dialog to close.
constexpr int kWaitForDialogMs = 250;

std::vector<std::string> toPaths(const QStringList& files)
{
    std::vector<std::string> paths;
    for (const QString& file : files)
        paths.push_back(file.toStdString());
    return paths;
}

// Commands without a function are shown, but disabled.
bool isWithoutFunction(int id)
{
    return id == kCut || id == kCopy || id == kPaste;
}

}  // namespace

CMainFrame::CMainFrame(CLiedkramDoc& document, platform::ShellOpener& shell, QWidget* parent)
    : QMainWindow(parent),
      document_(document),
      shell_(shell),
      session_(new SessionUndo(document, this)),
      view_(new CLiedkramView(document, shell, this)),
      searchBar_(new SearchBar(this)),
      messages_(new MessagesDock(this))
{
    setAcceptDrops(true);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(searchBar_);
    layout->addWidget(view_, 1);
    searchBar_->hide();
    setCentralWidget(central);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createMessagesDock();
    connectCommands();
    view_->setCommandActions(actions_);
    view_->setSession(session_);
    session_->showRows = [this](const std::vector<std::size_t>& rows) { view_->selectRows(rows); };
    document_.askSavePath = [this] { return askListPath(); };
    resize(1000, 600);
    updateTitle();
}

CMainFrame::~CMainFrame()
{
    document_.askSavePath = nullptr;
    // The stack goes with the window's children, when this frame is no frame any more.
    disconnect(&session_->stack(), nullptr, this, nullptr);
}

QAction* CMainFrame::action(int id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::createActions()
{
    for (const CommandInfo& command : commandTable()) {
        const QString prompt = command.prompt ? QString::fromUtf8(command.prompt) : QString();
        const QString statusTip = prompt.section(QLatin1Char('\n'), 0, 0);
        const QString toolTip = prompt.contains(QLatin1Char('\n')) ? prompt.section(QLatin1Char('\n'), 1) : QString();
        QString text = command.menuText ? QString::fromUtf8(command.menuText) : toolTip;
        if (text.isEmpty() && command.contextText)
            text = QString::fromUtf8(command.contextText);
        // Undo and redo are the stack's own actions: they follow its steps.
        QAction* action = command.id == kUndo   ? session_->stack().createUndoAction(this)
                          : command.id == kRedo ? session_->stack().createRedoAction(this)
                                                : new QAction(this);
        action->setText(text);
        action->setStatusTip(statusTip);
        action->setToolTip(toolTip.isEmpty() ? text : toolTip);
        if (command.iconName)
            action->setIcon(toolbarIcon(QString::fromUtf8(command.iconName)));
        if (command.id != kUndo && command.id != kRedo)
            action->setEnabled(!isWithoutFunction(command.id));
        actions_[command.id] = action;
    }
    // A step is taken only once its files are found as it left them.
    // A step over many files tells its messages in the panel.
    actions_[kUndo]->disconnect(&session_->stack());
    connect(actions_[kUndo], &QAction::triggered, session_, [this] {
        const auto collected = collectMessages(true);
        session_->undo();
    });
    actions_[kRedo]->disconnect(&session_->stack());
    connect(actions_[kRedo], &QAction::triggered, session_, [this] {
        const auto collected = collectMessages(true);
        session_->redo();
    });
    // After the stack's own texts, which these replace.
    connect(&session_->stack(), &QUndoStack::undoTextChanged, this, &CMainFrame::updateUndoTexts);
    connect(&session_->stack(), &QUndoStack::redoTextChanged, this, &CMainFrame::updateUndoTexts);
    updateUndoTexts();
    actions_[kNew]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    actions_[kOpen]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actions_[kSave]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    actions_[kPrint]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    actions_[kUndo]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actions_[kRedo]->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    actions_[kFullTextSearch]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    actions_[kRefresh]->setShortcut(QKeySequence(Qt::Key_F5));
    for (const int id : {kToolbar, kStatusBar, kStateIcons, kMessages}) {
        actions_[id]->setCheckable(true);
        actions_[id]->setChecked(id != kStateIcons && id != kMessages);
    }
    actions_[kRecentFile]->setEnabled(false);
    recentPlaceholder_ = actions_[kRecentFile];
}

void CMainFrame::createMenus()
{
    for (const MenuInfo& info : mainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(info.title));
        if (!fileMenu_)
            fileMenu_ = menu;
        for (const int id : info.items) {
            if (id == kSeparator)
                menu->addSeparator();
            else
                menu->addAction(actions_.at(id));
        }
    }
    connect(fileMenu_, &QMenu::aboutToShow, this, &CMainFrame::updateRecentFiles);
    updateRecentFiles();
}

void CMainFrame::createToolBar()
{
    toolBar_ = addToolBar(QStringLiteral("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("toolbar128"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    for (const int id : toolbar()) {
        if (id == kSeparator)
            toolBar_->addSeparator();
        else
            toolBar_->addAction(actions_.at(id));
    }
}

void CMainFrame::createStatusBar()
{
    // Lock-key indicators are left out: the platform does not tell their state.
    statusBar()->showMessage(idleText());
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty())
            statusBar()->showMessage(idleText());
    });
    // The rows shown change with the list, also while searching; the list
    // may be told last of a change.
    for (const QAbstractItemModel* rows :
         {static_cast<QAbstractItemModel*>(&view_->shownRows()), static_cast<QAbstractItemModel*>(&view_->entries())}) {
        connect(rows, &QAbstractItemModel::rowsInserted, this, &CMainFrame::showIdleText);
        connect(rows, &QAbstractItemModel::rowsRemoved, this, &CMainFrame::showIdleText);
        connect(rows, &QAbstractItemModel::layoutChanged, this, &CMainFrame::showIdleText);
        connect(rows, &QAbstractItemModel::modelReset, this, &CMainFrame::showIdleText);
    }
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CMainFrame::showIdleText);
}

void CMainFrame::createMessagesDock()
{
    addDockWidget(Qt::BottomDockWidgetArea, messages_);
    messages_->hide();
    QAction* shown = actions_.at(kMessages);
    connect(shown, &QAction::toggled, messages_, &QWidget::setVisible);
    // The dock's own action follows the user, not a minimised window; the check mark follows it.
    connect(messages_->toggleViewAction(), &QAction::toggled, shown, &QAction::setChecked);
    connect(messages_, &MessagesDock::fileActivated, this, &CMainFrame::showFileOf);
}

std::unique_ptr<CollectedMessages> CMainFrame::collectMessages(bool severalFiles)
{
    return severalFiles ? std::make_unique<CollectedMessages>(*messages_) : nullptr;
}

void CMainFrame::showFileOf(const QString& path, const QString& text)
{
    // A message that names no file by itself may still hold its path: the
    // longest listed path in it is its file.
    std::optional<std::size_t> found;
    std::size_t foundLength = 0;
    const std::string named = path.toStdString();
    const std::string line = text.toStdString();
    for (std::size_t row = 0; row < document_.GetCount(); ++row) {
        const std::string full = std::as_const(document_).GetEntry(row).GetFullPath();
        const bool matches = named.empty() ? line.find(full) != std::string::npos : full == named;
        if (matches && full.size() > foundLength) {
            found = row;
            foundLength = full.size();
        }
    }
    if (found) {
        view_->selectRows({*found});
        view_->setFocus();
    }
}

void CMainFrame::connectCommands()
{
    const auto on = [this](int id, auto handler) { connect(actions_.at(id), &QAction::triggered, this, handler); };
    on(kNew, &CMainFrame::onNew);
    on(kOpen, &CMainFrame::onOpen);
    on(kSave, &CMainFrame::onSave);
    on(kSaveAs, &CMainFrame::onSaveAs);
    on(kAddMp3s, &CMainFrame::onAddMp3s);
    on(kAddFolder, &CMainFrame::onAddFolder);
    on(kSubtractMp3s, &CMainFrame::onSubtractMp3s);
    on(kOptions, &CMainFrame::onOptions);
    on(kAbout, &CMainFrame::onAbout);
    on(kPrint, &CMainFrame::onPrint);
    on(kPrintPreview, &CMainFrame::onPrintPreview);
    on(kPrintSetup, &CMainFrame::onPrintSetup);
    on(kManualEdit, &CMainFrame::onManualEdit);
    on(kAutoEdit, &CMainFrame::onAutoEdit);
    on(kHistory, &CMainFrame::onHistory);
    on(kMoveMp3s, &CMainFrame::onMoveMp3s);
    on(kFullTextSearch, &CMainFrame::onFullTextSearch);
    on(kSimilaritySearch, &CMainFrame::onSimilaritySearch);
    on(kReset, &CMainFrame::onReset);
    on(kRefresh, &CMainFrame::onRefresh);
    connect(searchBar_, &SearchBar::textChanged, view_, &CLiedkramView::showMatching);
    connect(searchBar_, &SearchBar::escapePressed, this, &CMainFrame::onReset);
    connect(view_, &CLiedkramView::manualEditRequested, this, &CMainFrame::onManualEdit);
    connect(view_, &CLiedkramView::autoEditRequested, this, &CMainFrame::onAutoEdit);
    connect(actions_.at(kExit), &QAction::triggered, this, &QWidget::close);
    connect(actions_.at(kToolbar), &QAction::toggled, toolBar_, &QWidget::setVisible);
    // The toolbar's own context menu hides it too; the check mark follows.
    connect(toolBar_, &QToolBar::visibilityChanged, actions_.at(kToolbar), &QAction::setChecked);
    connect(actions_.at(kStatusBar), &QAction::toggled, statusBar(), &QWidget::setVisible);
    connect(actions_.at(kStateIcons), &QAction::triggered, view_, &CLiedkramView::OnToggleStateIcons);
    connect(actions_.at(kPlay), &QAction::triggered, view_, &CLiedkramView::OnPlay);
    connect(actions_.at(kExportXls), &QAction::triggered, view_, &CLiedkramView::OnExportXls);
    connect(actions_.at(kExportM3u), &QAction::triggered, view_, &CLiedkramView::OnExportM3u);
    connect(actions_.at(kExportTxt), &QAction::triggered, view_, &CLiedkramView::OnExportTxt);
    connect(actions_.at(kStatistics), &QAction::triggered, view_, &CLiedkramView::OnStatistics);
    connect(actions_.at(kCdCover), &QAction::triggered, view_, &CLiedkramView::OnCdCover);
    connect(actions_.at(kDeleteRows), &QAction::triggered, view_, &CLiedkramView::OnDeleteRows);
    connect(&view_->entries(), &QAbstractItemModel::modelReset, this, &CMainFrame::updateTitle);
    connect(&view_->entries(), &EntryTableModel::documentTitleChanged, this, &CMainFrame::updateTitle);
}

void CMainFrame::updateTitle()
{
    setWindowTitle(QString::fromStdString(document_.GetTitle()) + QStringLiteral(" - Liedkram"));
}

void CMainFrame::updateRecentFiles()
{
    for (QAction* recent : recentActions_) {
        fileMenu_->removeAction(recent);
        recent->deleteLater();
    }
    recentActions_.clear();
    const QStringList files = recentFiles_.files();
    recentPlaceholder_->setVisible(files.isEmpty());
    int number = 0;
    for (const QString& file : files) {
        auto* recent = new QAction(QStringLiteral("&%1 %2").arg(++number).arg(file), this);
        recent->setStatusTip(QString::fromUtf8(findCommand(kRecentFile)->prompt));
        connect(recent, &QAction::triggered, this, [this, file] { openRecentFile(file); });
        fileMenu_->insertAction(recentPlaceholder_, recent);
        recentActions_ << recent;
    }
}

void CMainFrame::openFiles(const QStringList& paths)
{
    if (QApplication::activeModalWidget()) {
        // A command or a question is under way; the files must not change the list under it.
        QTimer::singleShot(kWaitForDialogMs, this, [this, paths] { openFiles(paths); });
        return;
    }
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    const auto collected = collectMessages(paths.size() > 1);
    for (const QString& path : paths)
        openDocument(path);
}

void CMainFrame::openRecentFile(const QString& path)
{
    // A file that is gone or cannot be read leaves the list once the failure
    // was told; a cancelled save question keeps it.
    if (!openDocument(path) && !QFileInfo(path).isReadable()) {
        recentFiles_.remove(path);
        updateRecentFiles();
    }
}

bool CMainFrame::openDocument(const QString& path)
{
    // Opening the list that is open already only shows it.
    if (!document_.GetPathName().empty() && path.toStdString() == document_.GetPathName())
        return true;
    if (QFileInfo(path).isDir()) {
        addFolder(path);
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool opened = false;
    {
        const SessionStep step(session_, QStringLiteral("MP3's hinzufügen"));
        // An MP3 file declined at the duplicate question gets the ".cop" name.
        const RecordedChanges changes(document_, "MP3's hinzufügen");
        opened = document_.OnOpenDocument(path.toStdString(), platform::readRepairSettings());
    }
    QApplication::restoreOverrideCursor();
    if (opened) {
        recentFiles_.add(path);
        onRefresh();
    }
    updateTitle();
    return opened;
}

void CMainFrame::addFolder(const QString& folder)
{
    {
        auto collected = collectMessages(true);
        const SessionStep step(session_, QStringLiteral("MP3's hinzufügen"));
        const platform::FolderWalk walk = walkFolder(folder);
        if (!walk.files.empty()) {
            runPathCommand(document_, PathCommand::Add, walk.files, this);
        } else if (!walk.backupFolder && walk.unreadable.empty()) {
            // One message about the folder, no run: a box as for any command.
            collected.reset();
            platform::prompter().showMessage(
                QStringLiteral("Im Ordner '%1' liegt keine *.mp3-Datei.").arg(folder).toStdString());
        }
    }
    updateTitle();
}

void CMainFrame::onAddFolder()
{
    QFileDialog dialog(this, QStringLiteral("Ordner hinzufügen"), QString::fromStdString(platform::readAddFolder()));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString folder = dialog.selectedFiles().first();
    platform::writeAddFolder(folder.toStdString());
    addFolder(folder);
}

void CMainFrame::onNew()
{
    document_.OnNewDocument();
    updateTitle();
}

void CMainFrame::onOpen()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kOpenFilter);
    if (!path.isEmpty())
        openDocument(path);
}

std::optional<std::string> CMainFrame::askListPath()
{
    QFileDialog dialog(this, QString(), QString(), kListFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("m3l"));
    dialog.selectFile(QString::fromStdString(document_.m_strPlainTitle));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

void CMainFrame::onSave()
{
    if (document_.DoSave())
        recentFiles_.add(QString::fromStdString(document_.GetPathName()));
    updateTitle();
}

void CMainFrame::onSaveAs()
{
    const auto path = askListPath();
    if (path && document_.OnSaveDocument(*path))
        recentFiles_.add(QString::fromStdString(*path));
    updateTitle();
}

void CMainFrame::onAddMp3s()
{
    const QStringList files = QFileDialog::getOpenFileNames(this, QString(), QString(), kAddFilter);
    if (!files.isEmpty()) {
        const auto collected = collectMessages(files.size() > 1);
        const SessionStep step(session_, QStringLiteral("MP3's hinzufügen"));
        runPathCommand(document_, PathCommand::Add, toPaths(files), this);
    }
    updateTitle();
}

void CMainFrame::onSubtractMp3s()
{
    const QStringList files = QFileDialog::getOpenFileNames(this, QString(), QString(), kAddFilter);
    if (!files.isEmpty()) {
        const auto collected = collectMessages(files.size() > 1);
        const SessionStep step(session_, QStringLiteral("MP3s subtrahieren"));
        runPathCommand(document_, PathCommand::Subtract, toPaths(files), this);
    }
    updateTitle();
}

void CMainFrame::onOptions()
{
    COptionsDlg dialog(this);
    dialog.exec();
}

void CMainFrame::onAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::onPrint()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>();
    QPrintDialog dialog(printer_.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        printList(document_, *printer_);
}

void CMainFrame::onPrintPreview()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>();
    QPrintPreviewDialog preview(printer_.get(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { printList(document_, *printer); });
    preview.exec();
}

void CMainFrame::onPrintSetup()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>();
    QPageSetupDialog dialog(printer_.get(), this);
    dialog.exec();
}

void CMainFrame::onManualEdit()
{
    {
        const SessionStep step(session_, QStringLiteral("Manuell bearbeiten"));
        runManualEdit(document_, view_->selectedRows(), shell_, this);
    }
    updateTitle();
}

void CMainFrame::updateUndoTexts()
{
    const QUndoStack& stack = session_->stack();
    const auto named = [](int id, const QString& word, const QString& step, const QString& keys) {
        return step.isEmpty() ? QString::fromUtf8(findCommand(id)->menuText)
                              : QStringLiteral("%1: %2\t%3").arg(word, step, keys);
    };
    actions_.at(kUndo)->setText(
        named(kUndo, QStringLiteral("&Rückgängig"), stack.undoText(), QStringLiteral("Strg+Z")));
    actions_.at(kRedo)->setText(
        named(kRedo, QStringLiteral("&Wiederherstellen"), stack.redoText(), QStringLiteral("Strg+Y")));
}

void CMainFrame::onHistory()
{
    CHistoryDlg dialog(
        [this](int number, const std::string& command) {
            // This window's step, so Ctrl+Z takes the undo back in turn.
            const auto collected = collectMessages(true);
            const SessionStep step(session_, QStringLiteral("Rückgängig: ") + QString::fromStdString(command));
            const SetUndo undone = undoJournalSet(number, "Rückgängig: " + command);
            reloadRestored(document_, undone.restored);
            if (undone.undoSet && document_.edits)
                document_.edits->addChangeSet(*undone.undoSet);
        },
        this);
    dialog.exec();
    updateTitle();
}

void CMainFrame::onMoveMp3s()
{
    {
        const std::vector<int> rows = view_->selectedRows();
        const auto collected = collectMessages(rows.size() > 1);
        const SessionStep step(session_, QStringLiteral("mp3's verschieben"));
        runMove(document_, rows, this);
    }
    updateTitle();
}

void CMainFrame::onRefresh()
{
    view_->entries().presence().check(document_);
}

void CMainFrame::onFullTextSearch()
{
    searchBar_->showForTyping();
    view_->showMatching(searchBar_->text());
}

void CMainFrame::onSimilaritySearch()
{
    searchBar_->hide();
    view_->showSimilar();
}

void CMainFrame::onReset()
{
    const bool searching = searchBar_->line()->hasFocus();
    searchBar_->clearAndHide();
    view_->showAll();
    if (searching)
        view_->setFocus();
}

QString CMainFrame::idleText() const
{
    QString shown = view_->shownRows().statusText();
    if (!shown.isEmpty())
        return shown;
    return QStringLiteral("%1 Einträge, %2 markiert").arg(document_.GetCount()).arg(view_->selectedRows().size());
}

void CMainFrame::showIdleText()
{
    statusBar()->showMessage(idleText());
}

void CMainFrame::onAutoEdit()
{
    {
        const std::vector<int> rows = view_->selectedRows();
        const auto collected = collectMessages(rows.size() > 1);
        const SessionStep step(session_, QStringLiteral("Automatisch bearbeiten"));
        runAutoEdit(document_, rows, this);
    }
    updateTitle();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!document_.CanCloseFrame()) {
        event->ignore();
        updateTitle();
        return;
    }
    document_.OnCloseDocument();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    activateWindow();
    const auto collected = collectMessages(event->mimeData()->urls().size() > 1);
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            openDocument(url.toLocalFile());
    }
    event->acceptProposedAction();
}

#pragma once

#include "app/recent_file_list.h"

#include <QMainWindow>

#include <map>
#include <memory>
#include <optional>
#include <string>

class CLiedkramDoc;
class CLiedkramView;
class CollectedMessages;
class MessagesDock;
class SearchBar;
class SessionUndo;
class QAction;
class QMenu;
class QPrinter;
class QToolBar;

namespace platform {
class ShellOpener;
}

// The main window: menu, toolbar, status bar and the list view; routes every
// command to the document, the view or a dialog.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CLiedkramDoc& document, platform::ShellOpener& shell, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CLiedkramView* view() const { return view_; }
    SearchBar* searchBar() const { return searchBar_; }
    QToolBar* toolBar() const { return toolBar_; }
    SessionUndo& session() const { return *session_; }
    MessagesDock* messages() const { return messages_; }
    QAction* action(int id) const;

    // The open path for the Open dialog, recent files, dropped files and the
    // command line: a list file replaces the list, an MP3 file is added, and
    // so are the MP3 files below a folder.
    bool openDocument(const QString& path);
    // Files named on the command line or handed over by a later start: the
    // window comes to the front and opens them one after the other, as
    // dropped files are. While a dialog is open they wait for it to close.
    void openFiles(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createMessagesDock();
    // A command over several files tells its messages in the panel.
    std::unique_ptr<CollectedMessages> collectMessages(bool severalFiles);
    // The row of the file a message names, selected and shown.
    void showFileOf(const QString& path, const QString& text);
    void connectCommands();
    void updateTitle();
    void updateRecentFiles();
    void openRecentFile(const QString& path);
    void addFolder(const QString& folder);
    void onNew();
    void onOpen();
    void onSave();
    void onSaveAs();
    void onAddMp3s();
    // "Ordner hinzufügen...": the MP3 files below a chosen folder, as a
    // dropped folder; the dialog starts at the folder chosen last.
    void onAddFolder();
    void onSubtractMp3s();
    void onOptions();
    void onAbout();
    void onPrint();
    void onPrintPreview();
    void onPrintSetup();
    void onManualEdit();
    void onAutoEdit();
    void onHistory();
    void onMoveMp3s();
    // Checks in the background whether the listed files are still there.
    void onRefresh();
    // The search line opens above the list and takes the keys.
    void onFullTextSearch();
    void onSimilaritySearch();
    // The whole list again; the search line goes.
    void onReset();
    // "<n> Einträge, <m> markiert", or what the view shows of the list while
    // it shows a part.
    QString idleText() const;
    void showIdleText();
    // "Rückgängig: <Befehl>" and "Wiederherstellen: <Befehl>" name the step they would take.
    void updateUndoTexts();
    std::optional<std::string> askListPath();

    CLiedkramDoc& document_;
    platform::ShellOpener& shell_;
    SessionUndo* session_;
    CLiedkramView* view_;
    SearchBar* searchBar_;
    MessagesDock* messages_;
    QToolBar* toolBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    std::map<int, QAction*> actions_;
    QList<QAction*> recentActions_;
    RecentFileList recentFiles_;
    std::unique_ptr<QPrinter> printer_;
};

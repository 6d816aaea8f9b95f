// The commands as the user reaches them: context menu, double click, the
// view toggles, the Open and export dialogs, statistics and the CD cover.

#include "app/cover_preview_dlg.h"
#include "window_fixture.h"

#include "app/command_table.h"
#include "app/manual_edit_dlg.h"
#include "app/messages_dock.h"
#include "app/search_bar.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFontDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <filesystem>

using apptest::WindowTest;
using namespace commands;

namespace {

// Opens the view's context menu over the row and does what the user does there.
void inContextMenu(CLiedkramView& view, int row, const std::function<void(QMenu&)>& user)
{
    QTimer::singleShot(0, [user] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        user(*menu);
    });
    const QPoint at = view.visualRect(view.model()->index(row, 0)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);
}

QStringList textsOf(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << action->text();
    return texts;
}

void clickItem(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
            return;
        }
    }
    ADD_FAILURE() << "no item " << text.toStdString();
    menu.close();
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST_F(WindowTest, TheContextMenuOffersTheRowCommandsAndRunsThem)
{
    addListed("a.mp3", "A", "T");
    addListed("b.mp3", "B", "T");
    select({1});
    prompter().scriptYesNoCancel({platform::Answer::Yes});
    QStringList texts;
    bool moveEnabled = false;
    inContextMenu(*view_, 1, [&](QMenu& menu) {
        texts = textsOf(menu);
        moveEnabled = menu.actions().at(6)->isEnabled();
        clickItem(menu, QStringLiteral("Einträge löschen"));
    });
    EXPECT_EQ(texts, (QStringList{"Manual Edit", "Auto Edit", "Einstellungen", "Abspielen", "Einträge löschen",
                                  "CD-Cover", "mp3's verschieben", "Eigenschaften"}));
    EXPECT_TRUE(moveEnabled);
    ASSERT_EQ(doc_.GetCount(), 1u);
    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "a.mp3");
}

TEST_F(WindowTest, PlayFromTheContextMenuOpensTheFocusedRow)
{
    const auto path = writeSong("a.mp3");
    addListed("a.mp3", "A", "T");
    view_->setCurrentIndex(view_->model()->index(0, 0));
    inContextMenu(*view_, 0, [](QMenu& menu) { clickItem(menu, QStringLiteral("Abspielen")); });
    EXPECT_EQ(shell_.opened, std::vector<std::string>{path});
}

TEST_F(WindowTest, ADoubleClickOpensTheManualEditOfTheSelection)
{
    addListed("a.mp3", "A", "T");
    addListed("b.mp3", "B", "T");
    QStringList captions;
    whenUp<CManualEditDlg>([&](CManualEditDlg& dialog) {
        captions << dialog.windowTitle();
        dialog.reject();
    });
    const QPoint at = view_->visualRect(view_->model()->index(1, 2)).center();
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view_->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(captions, QStringList{"Manuelles Editieren - [b.mp3]"});
    EXPECT_FALSE(doc_.m_bChanged);
}

TEST_F(WindowTest, TheToolbarCheckMarkFollowsTheToolbar)
{
    QAction* toolbar = frame_->action(kToolbar);
    ASSERT_TRUE(toolbar->isChecked());
    toolbar->trigger();
    EXPECT_FALSE(frame_->toolBar()->isVisible());
    toolbar->trigger();
    EXPECT_TRUE(frame_->toolBar()->isVisible());
    // Qt's own context menu over the toolbar uses the toolbar's toggle action.
    frame_->toolBar()->toggleViewAction()->trigger();
    EXPECT_FALSE(frame_->toolBar()->isVisible());
    EXPECT_FALSE(toolbar->isChecked());
    frame_->toolBar()->toggleViewAction()->trigger();
    EXPECT_TRUE(toolbar->isChecked());
}

TEST_F(WindowTest, TheStatusBarToggles)
{
    QAction* statusBar = frame_->action(kStatusBar);
    ASSERT_TRUE(statusBar->isChecked());
    statusBar->trigger();
    EXPECT_FALSE(frame_->statusBar()->isVisible());
    EXPECT_FALSE(statusBar->isChecked());
    statusBar->trigger();
    EXPECT_TRUE(frame_->statusBar()->isVisible());
}

TEST_F(WindowTest, TheFocusRowHasAFrameAfterKeyboardMoves)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        addListed(name, "", "");
    frame_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    view_->setFocus();
    view_->setCurrentIndex(view_->model()->index(0, 0));
    QTest::keyClick(view_, Qt::Key_Down);
    ASSERT_EQ(view_->currentIndex().row(), 1);
    view_->clearSelection();
    const QImage image = view_->viewport()->grab().toImage();
    const QRect row = view_->visualRect(view_->model()->index(1, 0));
    const QColor text = view_->palette().color(QPalette::Active, QPalette::Text);
    // In the last column, which takes the free width, right of its box where
    // nothing else is drawn: the frame's top and bottom edge, dotted.
    const int from = view_->horizontalHeader()->sectionViewportPosition(13) + 24;
    const int to = image.width() - 2;
    ASSERT_GT(to - from, 9);
    int framePixels = 0;
    for (int x = from; x < to; ++x) {
        framePixels += image.pixelColor(x, row.top()) == text;
        framePixels += image.pixelColor(x, row.bottom()) == text;
        EXPECT_NE(image.pixelColor(x, row.top() + row.height() / 2), text);
    }
    EXPECT_GE(framePixels, (to - from) / 2);
}

TEST_F(WindowTest, OpenCanPickAnMp3File)
{
    const auto path = writeSong("Band - Song.mp3");
    QStringList filters;
    whenUp<QFileDialog>([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        dialog.selectNameFilter(QStringLiteral("Alle Dateien (*.*)"));
        dialog.selectFile(QString::fromStdString(path));
        static_cast<QDialog&>(dialog).accept();
    });
    frame_->action(kOpen)->trigger();
    EXPECT_EQ(filters, (QStringList{"M3L-Dateien (*.m3l)", "Alle Dateien (*.*)"}));
    ASSERT_EQ(doc_.GetCount(), 1u);
    EXPECT_EQ(doc_.GetEntry(0).m_szTitle, "Song");
}

TEST_F(WindowTest, ARecentFileThatIsGoneLeavesTheList)
{
    addListed("a.mp3", "A", "B");
    const auto path = dir_.file("gone.m3l");
    ASSERT_TRUE(doc_.OnSaveDocument(path));
    frame_->action(kNew)->trigger();
    ASSERT_TRUE(frame_->openDocument(QString::fromStdString(path)));
    frame_->action(kNew)->trigger();
    std::filesystem::remove(path);
    QMenu* file = frame_->menuBar()->actions()[0]->menu();
    emit file->aboutToShow();
    const QString item = QStringLiteral("&1 ") + QString::fromStdString(path);
    QAction* recent = nullptr;
    for (QAction* action : file->actions())
        recent = action->text() == item ? action : recent;
    ASSERT_NE(recent, nullptr);
    recent->trigger();
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_NE(prompter().messages()[0].find("gone.m3l"), std::string::npos);
    emit file->aboutToShow();
    for (const QAction* action : file->actions())
        EXPECT_NE(action->text(), item);
    EXPECT_TRUE(frame_->action(kRecentFile)->isVisible());
}

TEST_F(WindowTest, AnExportIsNamedWithoutTheChangeMarker)
{
    addListed("a.mp3", "A", "T");
    doc_.SetChanged();
    select({0});
    QStringList offered;
    for (int dialogs = 0; dialogs < 2; ++dialogs) {
        whenUp<QFileDialog>([&](QFileDialog& dialog) {
            offered << QFileInfo(dialog.selectedFiles().value(0)).fileName();
            dialog.reject();
        });
    }
    frame_->action(kExportM3u)->trigger();
    frame_->action(kExportXls)->trigger();
    EXPECT_EQ(offered, (QStringList{"Untitled.m3u", "Untitled.xls"}));
}

TEST_F(WindowTest, ASelectionExportWithNothingSelectedSaysSoAndAsksNothing)
{
    addListed("a.mp3", "A", "T");
    view_->clearSelection();
    whenUp<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    for (const int id : {kExportM3u, kExportTxt})
        frame_->action(id)->trigger();
    EXPECT_EQ(dialogsMet(), 0);
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>(2, "Nichts zu exportieren: Erst Titel markieren, dann exportieren!"));
}

TEST_F(WindowTest, TheSpreadsheetAndTheStatisticsTakeTheWholeListWhenNothingIsSelected)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        addListed(name, "A", name).m_nLengthMs = 60000;
    // A search hides two rows; they belong to the list all the same.
    frame_->action(kFullTextSearch)->trigger();
    frame_->searchBar()->line()->setText(QStringLiteral("b.mp3"));
    ASSERT_EQ(view_->model()->rowCount(), 1);
    view_->clearSelection();
    const std::string out = dir_.file("Liste.xls");
    whenUp<QFileDialog>([&](QFileDialog& dialog) {
        dialog.selectFile(QString::fromStdString(out));
        static_cast<QDialog&>(dialog).accept();
    });
    frame_->action(kExportXls)->trigger();
    ASSERT_TRUE(std::filesystem::exists(out));
    const testsupport::Bytes bytes = testsupport::readFile(out);
    const std::string sheet(bytes.begin(), bytes.end());
    for (const char* title : {"a.mp3", "b.mp3", "c.mp3"})
        EXPECT_NE(sheet.find(title), std::string::npos) << title;

    frame_->action(kStatistics)->trigger();
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_EQ(prompter().messages()[0].rfind("Titel:\t3\n", 0), 0u) << prompter().messages()[0];
}

TEST_F(WindowTest, StatisticsSumUpTheSelection)
{
    CLiedkramEntry& a = addListed("a.mp3", "A", "T");
    CLiedkramEntry& b = addListed("b.mp3", "B", "T");
    addListed("c.mp3", "C", "T");
    a.m_nLengthMs = 60000;
    b.m_nLengthMs = 120000;
    select({0, 1});
    inContextMenu(*view_, 0, [](QMenu& menu) { clickItem(menu, QStringLiteral("Eigenschaften")); });
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_EQ(prompter().messages()[0].rfind("Titel:\t2\n", 0), 0u) << prompter().messages()[0];
    EXPECT_NE(prompter().messages()[0].find("Länge:\t0:03:00.0 h"), std::string::npos) << prompter().messages()[0];
}

TEST_F(WindowTest, TheCoverWritesNothingWhenADialogIsCancelled)
{
    const std::string folder = dir_.file("covers");
    std::filesystem::create_directory(folder);
    const auto before = filesIn(folder);
    for (const char* name : {"a.mp3", "b.mp3"})
        addListed(name, name, "T").m_nLengthMs = 185200;
    select({0, 1});

    whenUp<CoverPreviewDlg>([](CoverPreviewDlg& dialog) { dialog.reject(); });
    frame_->action(kCdCover)->trigger();
    EXPECT_EQ(dialogsMet(), 1);

    whenUp<CoverPreviewDlg>([](CoverPreviewDlg& dialog) { dialog.accept(); });
    QString offered;
    whenUp<QFileDialog>([&](QFileDialog& dialog) {
        offered = QFileInfo(dialog.selectedFiles().value(0)).fileName();
        dialog.reject();
    });
    frame_->action(kCdCover)->trigger();
    EXPECT_EQ(offered, QStringLiteral("cover.bmp"));
    EXPECT_EQ(filesIn(folder), before);
    EXPECT_TRUE(prompter().messages().empty());
}

TEST_F(WindowTest, TheCoverIsShownBeforeItIsSavedAndFollowsTheFontAndSizeChosenThere)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        addListed(name, name, "T").m_nLengthMs = 185200;
    select({0, 1, 2});
    const auto redIn = [](const QLabel& picture) {
        const QImage shown = picture.pixmap().toImage();
        int red = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                red += shown.pixelColor(x, y).red() > 200 && shown.pixelColor(x, y).green() < 80;
        return red;
    };
    QImage first;
    QImage larger;
    int drawings = 0;
    whenUp<CoverPreviewDlg>([&](CoverPreviewDlg& dialog) {
        ASSERT_FALSE(dialog.picture()->pixmap().isNull());
        EXPECT_GT(redIn(*dialog.picture()), 0) << "the red track numbers are drawn";
        first = dialog.picture()->pixmap().toImage();
        dialog.sizeBox()->setValue(dialog.sizeBox()->value() + 20);
        larger = dialog.picture()->pixmap().toImage();
        EXPECT_EQ(dialog.coverFont().pointSize(), dialog.sizeBox()->value());
        QFontComboBox* face = dialog.faceBox();
        face->setCurrentIndex((face->currentIndex() + 1) % face->count());
        EXPECT_EQ(dialog.coverFont().family(), face->currentFont().family());
        drawings = dialog.drawings();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("save")), Qt::LeftButton, {}, QPoint(5, 5));
    });
    const std::string path = dir_.file("mein cover.bmp");
    whenUp<QFileDialog>([&](QFileDialog& dialog) {
        dialog.selectFile(QString::fromStdString(path));
        static_cast<QDialog&>(dialog).accept();
    });
    frame_->action(kCdCover)->trigger();

    EXPECT_EQ(dialogsMet(), 2) << "the preview, then the save dialog";
    EXPECT_EQ(drawings, 3);
    EXPECT_NE(first, larger) << "a larger font fills the cover otherwise";
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 7597856u);
}

TEST_F(WindowTest, AFolderOnTheCommandLineAddsTheMp3FilesBelowIt)
{
    std::filesystem::create_directories(dir_.file("Album/CD 2"));
    writeSong("Album/Band - One.mp3");
    writeSong("Album/CD 2/Band - Two.MP3");
    dir_.write("Album/cover.jpg", {1, 2, 3});
    EXPECT_FALSE(frame_->openDocument(QString::fromStdString(dir_.file("Album"))));
    ASSERT_EQ(doc_.GetCount(), 2u);
    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "Band - One.mp3");
    EXPECT_EQ(doc_.GetEntry(1).m_szFileName, "Band - Two.MP3");
    EXPECT_EQ(frame_->windowTitle(), "Untitled * - Liedkram");

    std::filesystem::create_directory(dir_.file("Leer"));
    frame_->openDocument(QString::fromStdString(dir_.file("Leer")));
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"Im Ordner '" + dir_.file("Leer") + "' liegt keine *.mp3-Datei."});

    // "Ordner hinzufügen..." adds as a drop does, passing over hidden folders
    // and the kept originals, and starts at the folder chosen last.
    for (const char* folder : {"More/.cache", "More/.liedkram-backup-0/3", "More/Live"})
        std::filesystem::create_directories(dir_.file(folder));
    for (const char* name : {"More/.cache/Hidden.mp3", "More/.liedkram-backup-0/3/Kept.mp3", "More/Live/Three.mp3"})
        writeSong(name);
    prompter().clear();
    QString startedIn;
    for (int run = 0; run < 2; ++run) {
        whenUp<QFileDialog>([&](QFileDialog& dialog) {
            startedIn = dialog.directory().absolutePath();
            EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
            dialog.selectFile(QString::fromStdString(dir_.file("More")));
            static_cast<QDialog&>(dialog).accept();
        });
        frame_->action(kAddFolder)->trigger();
    }
    EXPECT_EQ(startedIn, QString::fromStdString(dir_.file("More")));
    // The second run met the first one's file at the duplicate question and added it again.
    ASSERT_EQ(doc_.GetCount(), 4u);
    EXPECT_EQ(doc_.GetEntry(2).m_szFileName, "Three.mp3");
    EXPECT_EQ(doc_.GetEntry(3).m_szFileName, "Three.mp3");
    EXPECT_TRUE(prompter().messages().empty());
}

TEST_F(WindowTest, MessagesOfManyFilesGoIntoThePanelInsteadOfABoxEach)
{
    const std::vector<std::string> junk = {dir_.write("junk 1.mp3", testsupport::Bytes(3000, 0x11)),
                                           dir_.write("junk 2.mp3", testsupport::Bytes(3000, 0x22))};
    const std::string good = writeSong("good.mp3");
    MessagesDock& messages = *frame_->messages();
    EXPECT_FALSE(messages.isVisible()) << "no message, no panel";
    frame_->openFiles({QString::fromStdString(junk[0]), QString::fromStdString(good), QString::fromStdString(junk[1])});
    EXPECT_EQ(doc_.GetCount(), 1u);
    EXPECT_TRUE(prompter().messages().empty()) << "no box stopped the adding";
    const QStringList told = messages.texts();
    ASSERT_EQ(told.size(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(told[i].contains(QString::fromStdString(junk[static_cast<std::size_t>(i)])))
            << told[i].toStdString();
    EXPECT_TRUE(messages.isVisible()) << "the first message opened it";
    EXPECT_TRUE(frame_->action(kMessages)->isChecked());

    messages.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), told.join(QLatin1Char('\n')));
    messages.list()->item(1)->setSelected(true);
    messages.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), told[1]);
    messages.clear();
    EXPECT_TRUE(messages.texts().isEmpty());
    frame_->action(kMessages)->trigger();
    EXPECT_FALSE(messages.isVisible());

    // One file is no run over many: its message is a box, as ever.
    frame_->openDocument(QString::fromStdString(junk[0]));
    EXPECT_EQ(prompter().messages().size(), 1u);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_FALSE(messages.isVisible());
}

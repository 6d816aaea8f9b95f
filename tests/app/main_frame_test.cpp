#include "platform/repair_settings.h"
#include "window_fixture.h"

#include "app/command_table.h"

#include "entry/liedkram_entry.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QUrl>

using apptest::WindowTest;
using namespace commands;

namespace {

// The menu's items as text, "-" for a separator.
QStringList itemsOf(const QMenu* menu)
{
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return items;
}

}  // namespace

TEST_F(WindowTest, TheMainMenuHoldsEveryCommandInItsPlace)
{
    const auto menus = frame_->menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[0]->text(), "&Datei");
    EXPECT_EQ(menus[4]->text(), "&?");
    EXPECT_EQ(itemsOf(menus[0]->menu()),
              (QStringList{"&Neu\tStrg+N", "Ö&ffnen...\tStrg+O", "O&rdner hinzufügen...", "S&peichern\tStrg+S",
                           "Speichern &unter...", "-", "*.XLS exportieren", "*.TXT exportieren", "*.M3U exportieren",
                           "-", "&Drucken...\tStrg+P", "Sei&tenansicht", "Drucker&einrichtung...", "-", "Letzte Datei",
                           "-", "&Beenden"}));
    EXPECT_EQ(itemsOf(menus[1]->menu()),
              (QStringList{"&Rückgängig\tStrg+Z", "&Wiederherstellen\tStrg+Y", "Änderungs&verlauf...", "-",
                           "&MP3's hinzufügen", "Ma&nuell bearbeiten", "-", "A&utomatisch bearbeiten", "&Einstellungen",
                           "CD-Cover erstellen", "mp3's verschieben"}));
    EXPECT_EQ(itemsOf(menus[2]->menu()),
              (QStringList{"&Toolbar", "&Status Bar", "&Meldungen", "-", "&Aktualisieren\tF5", "-", "State &Icons"}));
    EXPECT_EQ(itemsOf(menus[3]->menu()), (QStringList{"&Volltextsuche\tStrg+F", "Ä&hnlichkeitssuche", "-", "&Reset"}));
    EXPECT_EQ(itemsOf(menus[4]->menu()), QStringList{"Inf&o"});
}

TEST_F(WindowTest, TheToolbarHasTwentyPositions)
{
    const auto actions = frame_->toolBar()->actions();
    ASSERT_EQ(actions.size(), 20);
    int position = 0;
    for (const int id : toolbar()) {
        const QAction* shown = actions[position++];
        if (id == kSeparator)
            EXPECT_TRUE(shown->isSeparator()) << position;
        else
            EXPECT_EQ(shown, frame_->action(id)) << position;
    }
    EXPECT_FALSE(frame_->action(kSubtractMp3s)->icon().isNull());
}

TEST_F(WindowTest, CommandsWithoutAFunctionAreShownDisabled)
{
    for (const int id : {kCut, kCopy, kPaste})
        EXPECT_FALSE(frame_->action(id)->isEnabled()) << id;
    for (const int id : {kNew, kOpen, kSave, kSaveAs, kAddMp3s, kSubtractMp3s, kOptions, kAbout, kPlay, kDeleteRows,
                         kFullTextSearch, kSimilaritySearch, kReset, kMoveMp3s})
        EXPECT_TRUE(frame_->action(id)->isEnabled()) << id;
    EXPECT_EQ(frame_->action(kFullTextSearch)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
}

TEST_F(WindowTest, PromptsSplitIntoStatusTipAndToolTip)
{
    EXPECT_EQ(frame_->action(kNew)->statusTip(), "Erstellt eine neue MP3-Liste.");
    EXPECT_EQ(frame_->action(kNew)->toolTip(), "Neu");
    EXPECT_EQ(frame_->action(kExportTxt)->toolTip(), " Export Text");
    EXPECT_EQ(frame_->action(kCdCover)->statusTip(), "CD_Cover erstellen");
    EXPECT_EQ(frame_->action(kNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(frame_->action(kPrint)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
}

TEST_F(WindowTest, TheRecentFilesReplaceThePlaceholder)
{
    QMenu* file = frame_->menuBar()->actions()[0]->menu();
    EXPECT_TRUE(itemsOf(file).contains("Letzte Datei"));
    EXPECT_FALSE(frame_->action(kRecentFile)->isEnabled());
    addListed("a.mp3", "A", "B");
    const char* names[] = {"1.m3l", "2.m3l", "3.m3l", "4.m3l", "5.m3l"};
    for (const char* name : names)
        ASSERT_TRUE(doc_.OnSaveDocument(dir_.file(name)));
    for (const char* name : names)
        EXPECT_TRUE(frame_->openDocument(QString::fromStdString(dir_.file(name))));
    emit file->aboutToShow();
    const QStringList items = itemsOf(file);
    EXPECT_FALSE(items.contains("Letzte Datei"));
    EXPECT_TRUE(items.contains(QStringLiteral("&1 ") + QString::fromStdString(dir_.file("5.m3l"))));
    EXPECT_TRUE(items.contains(QStringLiteral("&4 ") + QString::fromStdString(dir_.file("2.m3l"))));
    EXPECT_FALSE(items.contains(QStringLiteral("&5 ") + QString::fromStdString(dir_.file("1.m3l"))));
    // The list lives in the settings store, beside the other settings.
    EXPECT_EQ(profile().getString("Recent File List/File1", ""), dir_.file("5.m3l"));
}

TEST_F(WindowTest, TheTitleShowsTheChangeMarker)
{
    EXPECT_EQ(frame_->windowTitle(), "Untitled - Liedkram");
    addListed("a.mp3", "A", "B");
    doc_.SetChanged();
    EXPECT_EQ(frame_->windowTitle(), "Untitled * - Liedkram");
}

TEST_F(WindowTest, ClosingAChangedListAsksFirst)
{
    addListed("a.mp3", "A", "B");
    doc_.SetChanged();
    prompter().scriptYesNoCancel({platform::Answer::Cancel, platform::Answer::No});
    EXPECT_FALSE(frame_->close());
    EXPECT_EQ(doc_.GetCount(), 1u);
    EXPECT_TRUE(frame_->close());
    EXPECT_EQ(prompter().prompts().size(), 2u);
    EXPECT_EQ(prompter().prompts()[0].text, "Save changes to Untitled?");
}

TEST_F(WindowTest, NewAsksForAChangedListAndClearsIt)
{
    addListed("a.mp3", "A", "B");
    doc_.SetChanged();
    prompter().scriptYesNoCancel({platform::Answer::No});
    frame_->action(kNew)->trigger();
    EXPECT_EQ(doc_.GetCount(), 0u);
    EXPECT_EQ(frame_->windowTitle(), "Untitled - Liedkram");
}

TEST_F(WindowTest, DroppedFilesTakeTheOpenPathOneByOne)
{
    const auto a = writeSong("Band - One.mp3");
    const auto b = writeSong("Band - Two.mp3");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)), QUrl::fromLocalFile(QString::fromStdString(b))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Delivered to the window directly: without a drag in progress the
    // application would not pass a drop on.
    static_cast<QObject*>(frame_.get())->event(&drop);
    ASSERT_EQ(doc_.GetCount(), 2u);
    EXPECT_EQ(doc_.GetEntry(1).m_szTitle, "Two");
    EXPECT_EQ(frame_->windowTitle(), "Untitled * - Liedkram");

    // A dropped list replaces the list.
    CLiedkramDoc other;
    other.OnAddMp3s({a, b}, platform::readRepairSettings());
    ASSERT_TRUE(other.OnSaveDocument(dir_.file("two.m3l")));
    addListed("c.mp3", "C", "D");
    QMimeData list;
    list.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir_.file("two.m3l")))});
    QDropEvent dropList(QPointF(10, 10), Qt::CopyAction, &list, Qt::LeftButton, Qt::NoModifier);
    prompter().scriptYesNoCancel({platform::Answer::No});
    static_cast<QObject*>(frame_.get())->event(&dropList);
    EXPECT_EQ(doc_.GetCount(), 2u);
}

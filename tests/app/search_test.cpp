// The full-text search, the similarity search and Reset, as the user
// reaches them; Qt's model tester watches the shown rows through every change.

#include "window_fixture.h"

#include "app/command_table.h"
#include "app/row_delegate.h"
#include "app/search_bar.h"
#include "app/shown_rows_model.h"
#include "entry/liedkram_entry.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

using apptest::WindowTest;
using namespace commands;

namespace {

class Search : public WindowTest {
protected:
    Search()
    {
        tester_ = std::make_unique<QAbstractItemModelTester>(view_->model(),
                                                             QAbstractItemModelTester::FailureReportingMode::Fatal);
        frame_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame_.get())) << "Ctrl+F needs the window active";
        view_->setFocus();
    }

    CLiedkramEntry& song(const std::string& name, const std::string& artist, const std::string& title,
                         int lengthMs = 200000)
    {
        CLiedkramEntry& entry = addListed(name, artist, title);
        entry.m_nLengthMs = lengthMs;
        return entry;
    }

    // The file names of the shown rows, top to bottom.
    QStringList shown() const
    {
        QStringList names;
        for (int row = 0; row < view_->model()->rowCount(); ++row)
            names << view_->model()->index(row, 0).data().toString();
        return names;
    }

    std::vector<std::string> selectedNames() const
    {
        std::vector<std::string> names;
        for (const CLiedkramEntry* entry : view_->selectedEntries())
            names.push_back(entry->m_szFileName.str());
        return names;
    }

    void selectShown(std::initializer_list<int> rows) { select(rows); }

    void type(const QString& text)
    {
        QTest::keyClick(frame_.get(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(frame_->searchBar()->line(), text);
    }

    QString status() const { return frame_->statusBar()->currentMessage(); }

    std::unique_ptr<QAbstractItemModelTester> tester_;
};

}  // namespace

TEST_F(Search, CtrlFOpensTheSearchLineAndTypingFilters)
{
    song("1.mp3", "The Beatles", "Help");
    song("2.mp3", "Bj\xF6rk", "Army of Me");
    song("3.mp3", "Beatles", "Yesterday");
    song("4.mp3", "Blur", "Song 2");
    EXPECT_FALSE(frame_->searchBar()->isVisible());
    type(QStringLiteral("beat"));
    EXPECT_TRUE(frame_->searchBar()->isVisible());
    EXPECT_TRUE(frame_->searchBar()->line()->hasFocus());
    EXPECT_EQ(shown(), (QStringList{"1.mp3", "3.mp3"}));
    EXPECT_EQ(status(), QStringLiteral("2 von 4 Einträgen"));
    QTest::keyClicks(frame_->searchBar()->line(), QStringLiteral(" yes"));
    EXPECT_EQ(shown(), QStringList{"3.mp3"});
    EXPECT_EQ(status(), QStringLiteral("1 von 4 Einträgen"));
    frame_->searchBar()->line()->setText(QStringLiteral("BJÖRK"));
    EXPECT_EQ(shown(), QStringList{"2.mp3"});
    frame_->searchBar()->line()->clear();
    EXPECT_EQ(shown().size(), 4);
}

TEST_F(Search, EscapeEndsTheSearchAndTheShownSelectionStays)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        song(name, name[0] == 'b' || name[0] == 'd' ? "Beatles" : "Stones", "T");
    select({0, 2});
    type(QStringLiteral("beatles"));
    ASSERT_EQ(shown(), (QStringList{"b.mp3", "d.mp3"}));
    // The hidden selected row a.mp3 is no longer selected; c.mp3 was not shown either.
    EXPECT_TRUE(selectedNames().empty());
    selectShown({1});
    EXPECT_EQ(selectedNames(), std::vector<std::string>{"d.mp3"});
    QTest::keyClick(frame_->searchBar()->line(), Qt::Key_Escape);
    EXPECT_FALSE(frame_->searchBar()->isVisible());
    EXPECT_TRUE(frame_->searchBar()->line()->text().isEmpty());
    EXPECT_EQ(shown(), (QStringList{"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
    EXPECT_EQ(selectedNames(), std::vector<std::string>{"d.mp3"});
    EXPECT_EQ(status(), QStringLiteral("4 Einträge, 1 markiert"));
}

TEST_F(Search, SelectionCommandsActOnTheShownRowsOnly)
{
    for (const char* name : {"keep1.mp3", "drop1.mp3", "keep2.mp3", "drop2.mp3"})
        song(name, "A", "T");
    type(QStringLiteral("drop"));
    view_->setFocus();
    QTest::keyClick(view_, Qt::Key_Control);
    QTest::keyClick(view_, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectedNames(), (std::vector<std::string>{"drop1.mp3", "drop2.mp3"}));
    prompter().scriptYesNoCancel({platform::Answer::Yes});
    QTest::keyClick(view_, Qt::Key_Delete);
    ASSERT_EQ(doc_.GetCount(), 2u);
    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "keep1.mp3");
    EXPECT_EQ(doc_.GetEntry(1).m_szFileName, "keep2.mp3");
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(status(), QStringLiteral("0 von 2 Einträgen"));
}

TEST_F(Search, RowsAddedOrSortedWhileSearchingFollowTheSearch)
{
    song("b.mp3", "Beatles", "B");
    song("x.mp3", "Other", "X");
    type(QStringLiteral("beatles"));
    song("a.mp3", "The Beatles", "A");
    song("y.mp3", "Other", "Y");
    EXPECT_EQ(shown(), (QStringList{"b.mp3", "a.mp3"}));
    view_->OnColumnClick(0);
    EXPECT_EQ(shown(), (QStringList{"a.mp3", "b.mp3"}));
    EXPECT_EQ(status(), QStringLiteral("2 von 4 Einträgen"));
    // An entry whose texts change is looked at again.
    ASSERT_EQ(doc_.GetEntry(2).m_szFileName, "x.mp3");
    doc_.GetEntry(2).m_szArtist = "Beatles";
    doc_.RefreshRow(2);
    EXPECT_EQ(shown().size(), 3);
}

TEST_F(Search, SimilarEntriesShowGroupByGroupShadedInTurn)
{
    song("1.mp3", "Queen", "Bohemian Rhapsody", 354000);
    song("2.mp3", "The Cure", "Lullaby", 250000);
    song("3.mp3", "Abba", "SOS", 200000);
    song("4.mp3", "Queen", "Bohemian Rhapsody (Live)", 356900);
    song("5.mp3", "Cure", "Lullaby [Remastered]", 247100);
    song("6.mp3", "Queen", "Bohemian Rhapsody [Mono]", 360000);
    frame_->action(kSimilaritySearch)->trigger();
    EXPECT_EQ(shown(), (QStringList{"2.mp3", "5.mp3", "1.mp3", "4.mp3"}));
    EXPECT_EQ(status(), QStringLiteral("2 Gruppen ähnlicher Einträge"));
    std::vector<bool> shaded;
    for (int row = 0; row < 4; ++row)
        shaded.push_back(view_->model()->index(row, 3).data(ShownRowsModel::ShadedRole).toBool());
    EXPECT_EQ(shaded, (std::vector<bool>{false, false, true, true}));
    // And so they are drawn.
    view_->clearSelection();
    view_->setCurrentIndex({});
    const QImage image = view_->viewport()->grab().toImage();
    const auto backgroundOf = [&](int row) {
        const QRect cell = view_->visualRect(view_->model()->index(row, 10));
        return image.pixelColor(cell.right() - 2, cell.center().y());
    };
    EXPECT_EQ(backgroundOf(0), backgroundOf(1));
    EXPECT_EQ(backgroundOf(2), backgroundOf(3));
    EXPECT_NE(backgroundOf(1), backgroundOf(2));
    EXPECT_EQ(backgroundOf(2).rgb(), RowDelegate::shadedBackground(view_->palette()).rgb());
}

TEST_F(Search, AGroupGoesWhenOneOfItsPairIsDeleted)
{
    song("1.mp3", "Queen", "Bohemian Rhapsody");
    song("2.mp3", "Cure", "Lullaby");
    song("3.mp3", "Queen", "Bohemian Rhapsody");
    song("4.mp3", "Cure", "Lullaby");
    frame_->action(kSimilaritySearch)->trigger();
    ASSERT_EQ(shown(), (QStringList{"2.mp3", "4.mp3", "1.mp3", "3.mp3"}));
    selectShown({1});
    prompter().scriptYesNoCancel({platform::Answer::Yes});
    view_->OnDeleteRows();
    // The groups are found again once the change is over.
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(), (QStringList{"1.mp3", "3.mp3"}));
    EXPECT_EQ(status(), QStringLiteral("1 Gruppe ähnlicher Einträge"));
    // A new twin makes a group again; rows added in one go are grouped once.
    ShownRowsModel& rows = view_->shownRows();
    int regroups = 0;
    QObject::connect(&rows, &QAbstractItemModel::layoutChanged, [&] { ++regroups; });
    song("5.mp3", "Cure", "Lullaby");
    song("6.mp3", "Abba", "SOS");
    song("7.mp3", "Abba", "SOS");
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(), (QStringList{"6.mp3", "7.mp3", "2.mp3", "5.mp3", "1.mp3", "3.mp3"}));
    EXPECT_EQ(regroups, 1);
}

TEST_F(Search, ResetShowsTheWholeListInListOrderWithTheSelection)
{
    song("1.mp3", "Queen", "Bohemian Rhapsody");
    song("2.mp3", "Abba", "SOS");
    song("3.mp3", "Cure", "Lullaby");
    song("4.mp3", "Queen", "Bohemian Rhapsody");
    song("5.mp3", "Cure", "Lullaby");
    frame_->action(kSimilaritySearch)->trigger();
    ASSERT_EQ(shown(), (QStringList{"3.mp3", "5.mp3", "1.mp3", "4.mp3"}));
    selectShown({1, 2});
    EXPECT_EQ(selectedNames(), (std::vector<std::string>{"5.mp3", "1.mp3"})) << "top to bottom as shown";
    frame_->action(kReset)->trigger();
    EXPECT_EQ(shown(), (QStringList{"1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3"}));
    EXPECT_EQ(selectedNames(), (std::vector<std::string>{"1.mp3", "5.mp3"}));
    EXPECT_EQ(status(), QStringLiteral("5 Einträge, 2 markiert"));
}

TEST_F(Search, TheSearchLineGivesWayToTheSimilaritySearch)
{
    song("1.mp3", "Cure", "Lullaby");
    song("2.mp3", "Cure", "Lullaby");
    song("3.mp3", "Other", "Song");
    type(QStringLiteral("other"));
    ASSERT_EQ(shown(), QStringList{"3.mp3"});
    frame_->action(kSimilaritySearch)->trigger();
    EXPECT_FALSE(frame_->searchBar()->isVisible());
    EXPECT_EQ(shown(), (QStringList{"1.mp3", "2.mp3"}));
    // Ctrl+F takes up the words typed before.
    QTest::keyClick(frame_.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(shown(), QStringList{"3.mp3"});
}

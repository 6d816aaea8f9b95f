// Deleting and sorting rows through the view, with Qt's model tester
// watching that every change is announced before it is made.

#include "platform/repair_settings.h"
#include "window_fixture.h"

#include "entry/liedkram_entry.h"

#include <QAbstractItemModelTester>
#include <QTest>

using apptest::WindowTest;

namespace {

class RowChanges : public WindowTest {
protected:
    RowChanges()
    {
        for (int i = 0; i < 8; ++i)
            addListed(std::to_string(i) + ".mp3", "Artist " + std::to_string(7 - i), "T");
        tester_ = std::make_unique<QAbstractItemModelTester>(view_->model(),
                                                             QAbstractItemModelTester::FailureReportingMode::Fatal);
        view_->setFocus();
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (std::size_t i = 0; i < doc_.GetCount(); ++i)
            result.push_back(doc_.GetEntry(i).m_szFileName.str());
        return result;
    }

    void pressDeleteAndAgree()
    {
        prompter().scriptYesNoCancel({platform::Answer::Yes});
        QTest::keyClick(view_, Qt::Key_Delete);
    }

    std::unique_ptr<QAbstractItemModelTester> tester_;
};

}  // namespace

TEST_F(RowChanges, DeletingTheLastTwoRowsRemovesBoth)
{
    select({6, 7});
    view_->selectionModel()->setCurrentIndex(view_->model()->index(7, 0), QItemSelectionModel::NoUpdate);
    pressDeleteAndAgree();
    EXPECT_EQ(names(), (std::vector<std::string>{"0.mp3", "1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3"}));
    EXPECT_EQ(view_->model()->rowCount(), 6);
    EXPECT_TRUE(view_->selectedRows().empty());
    ASSERT_TRUE(view_->currentIndex().isValid()) << "Play still has a row to act on";
    EXPECT_EQ(view_->currentIndex().row(), 5);
    EXPECT_EQ(frame_->windowTitle(), "Untitled * - Liedkram");
}

TEST_F(RowChanges, CtrlADeleteEmptiesTheList)
{
    QTest::keyClick(view_, Qt::Key_A, Qt::ControlModifier);
    pressDeleteAndAgree();
    EXPECT_EQ(doc_.GetCount(), 0u);
    EXPECT_EQ(view_->model()->rowCount(), 0);
    EXPECT_FALSE(view_->currentIndex().isValid());
}

TEST_F(RowChanges, DeletingScatteredRowsRemovesExactlyThose)
{
    select({0, 2, 3, 7});
    pressDeleteAndAgree();
    EXPECT_EQ(names(), (std::vector<std::string>{"1.mp3", "4.mp3", "5.mp3", "6.mp3"}));
    EXPECT_EQ(view_->model()->index(1, 0).data().toString(), "4.mp3");
}

TEST_F(RowChanges, DeletingManySeparateRunsRemovesExactlyThose)
{
    // More separate runs than the document removes one by one.
    for (int i = 0; i < 92; ++i)
        addListed("more" + std::to_string(i) + ".mp3", "A", "T");
    std::vector<std::string> expected;
    view_->clearSelection();
    for (int row = 0; row < 100; ++row) {
        if (row % 2 == 0)
            view_->selectionModel()->select(view_->model()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        else
            expected.push_back(doc_.GetEntry(static_cast<std::size_t>(row)).m_szFileName.str());
    }
    view_->selectionModel()->setCurrentIndex(view_->model()->index(10, 0), QItemSelectionModel::NoUpdate);
    pressDeleteAndAgree();
    EXPECT_EQ(names(), expected);
    EXPECT_EQ(view_->model()->rowCount(), 50);
    EXPECT_EQ(view_->model()->index(49, 0).data().toString(), QString::fromStdString(expected.back()));
    EXPECT_TRUE(view_->currentIndex().isValid());
}

TEST_F(RowChanges, SortingKeepsSelectionAndFocusOnTheirEntries)
{
    select({0, 1});
    view_->selectionModel()->setCurrentIndex(view_->model()->index(1, 3), QItemSelectionModel::NoUpdate);
    view_->OnColumnClick(3);
    // Artists ran from 7 down to 0, so the order is reversed.
    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "7.mp3");
    EXPECT_EQ(view_->selectedRows(), (std::vector<int>{6, 7}));
    EXPECT_EQ(view_->currentIndex().row(), 6);
    EXPECT_EQ(view_->currentIndex().column(), 3);
    EXPECT_EQ(view_->model()->index(6, 0).data().toString(), "1.mp3");
}

TEST_F(RowChanges, AddingAndClearingAreAnnounced)
{
    const auto path = writeSong("Band - Song.mp3");
    doc_.OnAddMp3s({path}, platform::readRepairSettings());
    EXPECT_EQ(view_->model()->rowCount(), 9);
    EXPECT_EQ(view_->model()->index(8, 0).data().toString(), "Band - Song.mp3");
    doc_.DeleteContents();
    EXPECT_EQ(view_->model()->rowCount(), 0);
}

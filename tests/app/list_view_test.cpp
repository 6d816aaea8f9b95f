#include "platform/repair_settings.h"
#include "window_fixture.h"

#include "app/entry_table_model.h"
#include "app/list_printer.h"
#include "app/row_delegate.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"

#include "support/mp3_builder.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <filesystem>
#include <memory>

using apptest::WindowTest;

namespace {

// Paints one cell of the view into an image.
QImage paintCell(CLiedkramView& view, int row, int column, bool selected)
{
    const QModelIndex index = view.model()->index(row, column);
    QImage image(120, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = image.rect();
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    option.state = QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
    view.itemDelegate()->paint(&painter, option, index);
    painter.end();
    return image;
}

bool hasColour(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

}  // namespace

TEST_F(WindowTest, RowsWithPendingWorkAreDrawnInRed)
{
    addListed("a.mp3", "Artist", "Title", ENTRY_CUT_BACK);
    addListed("b.mp3", "Artist", "Title", 0);
    EXPECT_TRUE(hasColour(paintCell(*view_, 0, 2, false), QColor(224, 0, 0)));
    EXPECT_TRUE(hasColour(paintCell(*view_, 0, 2, true), QColor(255, 112, 112)));
    EXPECT_FALSE(hasColour(paintCell(*view_, 1, 2, false), QColor(224, 0, 0)));
    const QColor highlight = view_->palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_EQ(paintCell(*view_, 1, 2, true).pixelColor(1, 1), highlight);
}

TEST_F(WindowTest, TheFlagColumnsShowTickedOrEmptyBoxes)
{
    CLiedkramEntry& entry = addListed("a.mp3", "A", "T");
    entry.m_dwHeader = 0x4490FBFF | (1u << 27);  // original and copyright set
    const QImage ticked = paintCell(*view_, 0, 13, false);
    entry.m_dwHeader = 0x4090FBFF;  // neither
    const QImage empty = paintCell(*view_, 0, 13, false);
    EXPECT_TRUE(hasColour(ticked, Qt::black));
    EXPECT_FALSE(hasColour(empty, Qt::black));
    EXPECT_TRUE(hasColour(empty, QColor(0x80, 0x80, 0x80)));
}

TEST_F(WindowTest, LongTextsAreCutWithTwoDots)
{
    const QFontMetrics metrics(view_->font());
    const QString text = QStringLiteral("A title far too long for its narrow column");
    EXPECT_EQ(fitText(metrics, text, 1000, 3), text);
    const QString cut = fitText(metrics, text, 80, 3);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("..")));
    EXPECT_LE(metrics.horizontalAdvance(cut) + 3, 80);
    EXPECT_GT(metrics.horizontalAdvance(fitText(metrics, text, 80 + metrics.horizontalAdvance(QStringLiteral("A")), 3)),
              metrics.horizontalAdvance(cut) - 1);
    EXPECT_EQ(fitText(metrics, text, 2, 3), QStringLiteral("A.."));
    EXPECT_EQ(fitText(metrics, QString(), 0, 3), QString());
}

TEST_F(WindowTest, CtrlASelectsAllButAAloneDoesNot)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        addListed(name, name, "T");
    view_->setFocus();
    QTest::keyClick(view_, Qt::Key_A);
    EXPECT_LT(view_->selectedRows().size(), 3u);
    QTest::keyClick(view_, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view_->selectedRows().size(), 3u);

    view_->clearSelection();
    QTest::keyPress(view_, Qt::Key_Control);
    QTest::keyRelease(view_, Qt::Key_X, Qt::ControlModifier);
    // Ctrl is still held: A comes with the modifier but without a new Ctrl press.
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"));
    QApplication::sendEvent(view_, &ctrlA);
    EXPECT_LT(view_->selectedRows().size(), 3u) << "the Ctrl memory was cleared by the key release";
}

TEST_F(WindowTest, EnterAndCtrlEnterAskForTheEdits)
{
    addListed("a.mp3", "A", "T");
    QSignalSpy manual(view_, &CLiedkramView::manualEditRequested);
    QSignalSpy automatic(view_, &CLiedkramView::autoEditRequested);
    QTest::keyClick(view_, Qt::Key_Return);
    QTest::keyClick(view_, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(manual.count(), 1);
    EXPECT_EQ(automatic.count(), 1);
}

TEST_F(WindowTest, DeleteAsksOnlyWithASelectionAndKeepsTheFiles)
{
    const auto path = writeSong("a.mp3");
    addListed("a.mp3", "A", "T");
    addListed("b.mp3", "B", "T");
    addListed("c.mp3", "C", "T");
    view_->clearSelection();
    QTest::keyClick(view_, Qt::Key_Delete);
    EXPECT_TRUE(prompter().prompts().empty());

    view_->selectionModel()->select(view_->model()->index(0, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view_->selectionModel()->select(view_->model()->index(2, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    prompter().scriptYesNoCancel({platform::Answer::No, platform::Answer::Yes});
    QTest::keyClick(view_, Qt::Key_Delete);
    EXPECT_EQ(doc_.GetCount(), 3u);
    QTest::keyClick(view_, Qt::Key_Delete);
    ASSERT_EQ(doc_.GetCount(), 1u);
    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "b.mp3");
    EXPECT_EQ(prompter().prompts()[0].kind, testsupport::ScriptedPrompter::Kind::YesNo);
    EXPECT_EQ(prompter().prompts()[0].text, "Sollen die ausgewählten *.mp3's wirklich\naus der Liste entfernt werden?");
    EXPECT_TRUE(doc_.m_bChanged);
    EXPECT_TRUE(platform::fileExists(path));
}

TEST_F(WindowTest, ASecondClickOnTheSortedHeaderReversesTheOrderAndTheArrowShowsIt)
{
    addListed("1.mp3", "Zappa", "T");
    addListed("2.mp3", "The Beatles", "T");
    addListed("3.mp3", "Abba", "T");
    view_->selectionModel()->select(view_->model()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QHeaderView* header = view_->horizontalHeader();
    EXPECT_FALSE(header->isSortIndicatorShown());
    const auto clickOn = [header](int section) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 5, 5));
    };
    const auto artists = [this] {
        std::vector<std::string> names;
        for (std::size_t row = 0; row < doc_.GetCount(); ++row)
            names.push_back(doc_.GetEntry(row).m_szArtist.str());
        return names;
    };
    const std::vector<std::string> ascending = {"Abba", "The Beatles", "Zappa"};
    const std::vector<std::string> reversed = {"Zappa", "The Beatles", "Abba"};
    const std::vector<std::pair<std::vector<std::string>, Qt::SortOrder>> clicks = {
        {ascending, Qt::AscendingOrder}, {reversed, Qt::DescendingOrder}, {ascending, Qt::AscendingOrder}};
    for (const auto& [order, arrow] : clicks) {
        clickOn(3);
        EXPECT_EQ(artists(), order);
        EXPECT_TRUE(header->isSortIndicatorShown());
        EXPECT_EQ(header->sortIndicatorSection(), 3);
        EXPECT_EQ(header->sortIndicatorOrder(), arrow);
    }
    clickOn(3);
    clickOn(0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder) << "another column starts ascending";
    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "1.mp3");
    ASSERT_EQ(view_->selectedRows(), std::vector<int>{1}) << "the selection stays with its entry";
    EXPECT_FALSE(doc_.m_bChanged);
    addListed("4.mp3", "Nena", "T");
    EXPECT_FALSE(header->isSortIndicatorShown()) << "a new row is not in the order";
}

TEST_F(WindowTest, PlayOpensTheRowWithTheFocus)
{
    const auto path = writeSong("a.mp3");
    addListed("a.mp3", "A", "T");
    addListed("gone.mp3", "B", "T");
    view_->OnPlay();
    EXPECT_TRUE(shell_.opened.empty());
    view_->setCurrentIndex(view_->model()->index(0, 0));
    view_->OnPlay();
    EXPECT_EQ(shell_.opened, std::vector<std::string>{path});
    view_->setCurrentIndex(view_->model()->index(1, 0));
    view_->OnPlay();
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Can't open '" + dir_.file("gone.mp3") + "'"});
}

TEST_F(WindowTest, TheViewShowsTheDocumentsRows)
{
    EXPECT_EQ(view_->model()->columnCount(), 14);
    EXPECT_EQ(view_->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Größe"));
    EXPECT_EQ(view_->columnWidth(0), 200);
    EXPECT_EQ(view_->columnWidth(10), 21);
    addListed("a.mp3", "A", "T");
    EXPECT_EQ(view_->model()->rowCount(), 1);
    EXPECT_EQ(view_->model()->index(0, 0).data().toString(), "a.mp3");
    doc_.GetEntry(0).m_szTitle = "New";
    doc_.RefreshRow(0);
    EXPECT_EQ(view_->model()->index(0, 2).data().toString(), "New");
    doc_.DeleteContents();
    EXPECT_EQ(view_->model()->rowCount(), 0);
}

TEST_F(WindowTest, EveryColumnIsShownDrawnAndPrintedAsItsRowOfTheColumnTableSays)
{
    addListed("a.mp3", "Abba", "A title far too long for its narrow column");
    ASSERT_EQ(view_->model()->columnCount(), kColumnCount);
    const CLiedkramEntry& entry = std::as_const(doc_).GetEntry(0);
    const QString printed = listHtml(doc_);
    const QString tooLong(40, QLatin1Char('W'));
    qsizetype printedUpTo = 0;
    for (const Column column : allColumns()) {
        const ColumnInfo& info = columnInfo(column);
        const int section = columnNumber(column);
        const QString header = QString::fromUtf8(info.header.data(), static_cast<qsizetype>(info.header.size()));
        SCOPED_TRACE(header.toStdString());
        EXPECT_EQ(view_->model()->headerData(section, Qt::Horizontal).toString(), header);
        EXPECT_EQ(view_->model()->index(0, section).data().toString().toStdString(), entry.GetColumnText(column));
        // The last column also takes the width the others leave.
        if (section + 1 < kColumnCount) {
            EXPECT_EQ(view_->columnWidth(section), info.width);
        }
        EXPECT_EQ(cellText(view_->fontMetrics(), tooLong, 20, section) == tooLong, info.flag)
            << "a check box is drawn whole, a text cut to its cell";
        const qsizetype at =
            printed.indexOf(QStringLiteral("<th align=\"left\">") + header.toHtmlEscaped() + "</th>", printedUpTo);
        EXPECT_EQ(at >= 0, info.printed) << "printed in column order, or not at all";
        printedUpTo = std::max(printedUpTo, at);
    }
}

TEST_F(WindowTest, AMissingFileIsGreyedAfterOpeningAndShownAgainOnceItIsBack)
{
    const std::string kept = writeSong("kept.mp3");
    const std::string gone = writeSong("gone.mp3");
    const testsupport::Bytes bytes = testsupport::readFile(gone);
    CLiedkramDoc other;
    document::DuplicatePolicy answer;
    for (const std::string& path : {kept, gone})
        other.AddEntry(std::make_unique<CLiedkramEntry>(path, platform::readRepairSettings()), false, answer);
    ASSERT_TRUE(other.OnSaveDocument(dir_.file("list.m3l")));
    std::filesystem::remove(gone);

    ASSERT_TRUE(frame_->openDocument(QString::fromStdString(dir_.file("list.m3l"))));
    ASSERT_EQ(doc_.GetCount(), 2u) << "the list opens at once";
    const auto absent = [this](int row) {
        return view_->model()->index(row, 0).data(EntryTableModel::AbsentRole).toBool();
    };
    QTRY_VERIFY(!view_->entries().presence().busy());
    EXPECT_FALSE(absent(0));
    EXPECT_TRUE(absent(1));
    EXPECT_EQ(view_->model()->index(1, 2).data(Qt::ToolTipRole).toString().toStdString(), "Die Datei fehlt: " + gone);
    const QColor grey = view_->palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_TRUE(hasColour(paintCell(*view_, 1, 0, false), grey));

    dir_.write("gone.mp3", bytes);
    QTest::keyClick(frame_.get(), Qt::Key_F5);
    QTRY_VERIFY(!view_->entries().presence().busy());
    EXPECT_FALSE(absent(1)) << "back again on the next check";
    EXPECT_FALSE(view_->model()->index(1, 2).data(Qt::ToolTipRole).isValid());
}

TEST_F(WindowTest, ColumnWidthsAreRememberedAcrossARestartAndTheLastColumnTakesTheFreeWidth)
{
    EXPECT_EQ(view_->columnWidth(2), 100);
    view_->horizontalHeader()->resizeSection(2, 173);
    view_->horizontalHeader()->resizeSection(0, 311);
    const int last = view_->horizontalHeader()->sectionViewportPosition(13) + view_->columnWidth(13);
    EXPECT_GE(last, view_->viewport()->width() - 1) << "no empty strip right of the last column";
    frame_.reset();

    CLiedkramDoc again;
    CLiedkramView restarted(again, shell_);
    EXPECT_EQ(restarted.columnWidth(2), 173);
    EXPECT_EQ(restarted.columnWidth(0), 311);
    EXPECT_EQ(restarted.columnWidth(1), 70);

    // Widths that this program never stored leave the built-in ones.
    for (const char* stored :
         {"1,2,3", "a,b,c,d,e,f,g,h,i,j,k,l,m,n", "0,70,100,100,100,60,60,50,40,100,21,30,21,21"}) {
        profile().writeString("ColumnWidths", stored);
        CLiedkramView fresh(again, shell_);
        EXPECT_EQ(fresh.columnWidth(0), 200) << stored;
        EXPECT_EQ(fresh.columnWidth(2), 100) << stored;
    }
}

TEST_F(WindowTest, ATooltipShowsACutCellWholeAndNamesTheRepairsARedRowWaitsFor)
{
    const std::string longTitle = "A title far too long for its narrow column";
    addListed("a.mp3", "Abba", longTitle, ENTRY_CUT_BACK | ENTRY_TAG_DIRTY | ENTRY_RENAME);
    addListed("b.mp3", "Abba", "Kurz", 0);
    const auto tip = [this](int row, int column) {
        return view_->toolTipFor(view_->model()->index(row, column)).toStdString();
    };
    EXPECT_EQ(tip(0, 2), longTitle + "\nAusstehend: ID3-Tag schreiben, Ende abschneiden, umbenennen");
    EXPECT_EQ(tip(0, 3), "Ausstehend: ID3-Tag schreiben, Ende abschneiden, umbenennen");
    EXPECT_EQ(tip(1, 2), "") << "a cell that fits and a row without work";
    view_->horizontalHeader()->resizeSection(2, 30);
    EXPECT_EQ(tip(1, 2), "Kurz");
    EXPECT_EQ(CLiedkramView::pendingRepairs(ENTRY_CUT_FRONT | ENTRY_HEADER_DIRTY | ENTRY_SCAN_ERROR).toStdString(),
              "Ausstehend: Anfang abschneiden, Frame-Header ändern, Lesefehler: Frames nicht lesbar");
}

TEST_F(WindowTest, TheStatusBarCountsTheEntriesAndTheMarkedOnes)
{
    const auto status = [this] { return frame_->statusBar()->currentMessage().toStdString(); };
    EXPECT_EQ(status(), "0 Einträge, 0 markiert");
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        addListed(name, "A", "T");
    EXPECT_EQ(status(), "3 Einträge, 0 markiert");
    select({0, 2});
    EXPECT_EQ(status(), "3 Einträge, 2 markiert");
    frame_->statusBar()->showMessage(QStringLiteral("Etwas anderes"));
    EXPECT_EQ(status(), "Etwas anderes");
    frame_->statusBar()->clearMessage();
    EXPECT_EQ(status(), "3 Einträge, 2 markiert");
}

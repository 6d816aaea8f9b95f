#include "app/duplicate_dlg.h"

#include "document/liedkram_doc.h"
#include "test_names.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <ostream>

#include <gtest/gtest.h>

namespace {

const QString kMessage = QStringLiteral(
    "Dieser Eintrag ist bereits in der MP3-Liste enthalten:\n/musik/a.mp3\n\t\"Künstler\"  -  \"Titel\"\n\n"
    "Soll folgender Eintrag hinzugefügt werden?:\n/neu/a.mp3\n\t\"Künstler\"  -  \"Titel\"");

QPushButton* button(const QDialog& dlg, int id)
{
    return dlg.findChild<QPushButton*>(QString::number(id));
}

// Runs the dialog modally, does what the user does once it is up, and
// returns what exec() returns.
platform::DuplicateChoice execWhile(CDuplicateDlg& dlg, const std::function<void()>& user)
{
    QTimer::singleShot(0, &dlg, user);
    return CDuplicateDlg::choiceOf(dlg.exec());
}

void showActive(CDuplicateDlg& dlg)
{
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
}

struct ButtonAnswer {
    int id;
    const char* text;
    platform::DuplicateChoice answer;
};

void PrintTo(const ButtonAnswer& row, std::ostream* out)
{
    *out << row.text;
}

class DuplicateDlgButtons : public ::testing::TestWithParam<ButtonAnswer> {};

// Enter after this many tabs from the first button.
struct EnterAnswer {
    const char* name;
    int tabs;
    Qt::Key key;
    platform::DuplicateChoice answer;
};

void PrintTo(const EnterAnswer& row, std::ostream* out)
{
    *out << row.name;
}

class DuplicateDlgEnter : public ::testing::TestWithParam<EnterAnswer> {};

}  // namespace

TEST(DuplicateDlgTest, ShowsCaptionAndMessage)
{
    CDuplicateDlg dlg(kMessage);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Titel bereits in der Liste!"));
    auto* text = dlg.findChild<QLabel*>("1056");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text(), kMessage);
    EXPECT_TRUE(text->wordWrap());
    EXPECT_EQ(text->focusPolicy() & Qt::TabFocus, 0);
}

TEST_P(DuplicateDlgButtons, EachButtonGivesItsAnswer)
{
    const ButtonAnswer& row = GetParam();
    CDuplicateDlg dlg(kMessage);
    QPushButton* pressed = button(dlg, row.id);
    ASSERT_TRUE(pressed);
    EXPECT_EQ(pressed->text(), QString::fromUtf8(row.text));
    EXPECT_EQ(execWhile(dlg, [pressed] { QTest::mouseClick(pressed, Qt::LeftButton); }), row.answer);
}

INSTANTIATE_TEST_SUITE_P(DuplicateDlgTest, DuplicateDlgButtons,
                         ::testing::Values(ButtonAnswer{1055, "JA, hinzufügen", platform::DuplicateChoice::Add},
                                           ButtonAnswer{3, "JA, ersetzen", platform::DuplicateChoice::Replace},
                                           ButtonAnswer{7, "NEIN", platform::DuplicateChoice::Skip},
                                           ButtonAnswer{5, "JA, alle hinzufügen", platform::DuplicateChoice::AddAll},
                                           ButtonAnswer{6, "JA, alle ersetzen", platform::DuplicateChoice::ReplaceAll},
                                           ButtonAnswer{2, "Abbrechen", platform::DuplicateChoice::Cancel}),
                         [](const auto& test) { return std::to_string(test.param.id); });

TEST(DuplicateDlgTest, EscapeAndCloseBoxCancel)
{
    CDuplicateDlg dlg(kMessage);
    EXPECT_EQ(execWhile(dlg, [&dlg] { QTest::keyClick(dlg.focusWidget(), Qt::Key_Escape); }),
              platform::DuplicateChoice::Cancel);
    EXPECT_EQ(execWhile(dlg, [&dlg] { dlg.close(); }), platform::DuplicateChoice::Cancel);
}

TEST(DuplicateDlgTest, NoButtonIsTheDefault)
{
    CDuplicateDlg dlg(kMessage);
    showActive(dlg);
    for (auto* each : dlg.findChildren<QPushButton*>()) {
        EXPECT_FALSE(each->isDefault());
        EXPECT_FALSE(each->autoDefault());
    }
    dlg.findChild<QLabel*>("1056")->setFocus();
    QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
}

TEST(DuplicateDlgTest, AClickIntoTheMessageLeavesEnterWithTheButton)
{
    CDuplicateDlg dlg(kMessage);
    // Ends the dialog when Enter did not.
    QTimer::singleShot(3000, &dlg, [&dlg] { dlg.done(0); });
    const platform::DuplicateChoice result = execWhile(dlg, [&dlg] {
        QTest::mouseClick(dlg.findChild<QLabel*>("1056"), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(result, platform::DuplicateChoice::Add);
}

TEST(DuplicateDlgTest, TabWalksTheButtonsInOrder)
{
    CDuplicateDlg dlg(kMessage);
    showActive(dlg);
    EXPECT_EQ(QApplication::focusWidget(), button(dlg, 1055));
    QStringList visited;
    for (int step = 0; step < 6; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, QStringList({"2", "3", "7", "5", "6", "1055"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), button(dlg, 6));
}

TEST_P(DuplicateDlgEnter, EnterPressesTheFocusedButton)
{
    const EnterAnswer& row = GetParam();
    CDuplicateDlg dlg(kMessage);
    const platform::DuplicateChoice result = execWhile(dlg, [&dlg, &row] {
        for (int step = 0; step < row.tabs; ++step)
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Tab);
        QTest::keyClick(dlg.focusWidget(), row.key);
    });
    EXPECT_EQ(result, row.answer);
}

INSTANTIATE_TEST_SUITE_P(
    DuplicateDlgTest, DuplicateDlgEnter,
    ::testing::Values(EnterAnswer{"first button, Return", 0, Qt::Key_Return, platform::DuplicateChoice::Add},
                      EnterAnswer{"Abbrechen, Return", 1, Qt::Key_Return, platform::DuplicateChoice::Cancel},
                      EnterAnswer{"JA, ersetzen, Enter", 2, Qt::Key_Enter, platform::DuplicateChoice::Replace},
                      EnterAnswer{"NEIN, Return", 3, Qt::Key_Return, platform::DuplicateChoice::Skip},
                      EnterAnswer{"JA, alle hinzufügen, Enter", 4, Qt::Key_Enter, platform::DuplicateChoice::AddAll},
                      EnterAnswer{"JA, alle ersetzen, Return", 5, Qt::Key_Return,
                                  platform::DuplicateChoice::ReplaceAll}),
    [](const auto& test) { return apptest::testName(test.param.name); });

#include "app/duplicate_dlg.h"

#include "dialog_suites.h"
#include "document/liedkram_doc.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

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
int execWhile(CDuplicateDlg& dlg, const std::function<void()>& user)
{
    QTimer::singleShot(0, &dlg, user);
    return dlg.exec();
}

}  // namespace

namespace dialogtest {

class DuplicateDlgTest : public QObject {
    Q_OBJECT

private:
    void showActive(CDuplicateDlg& dlg)
    {
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
    }

private slots:
    void showsCaptionAndMessage()
    {
        CDuplicateDlg dlg(kMessage);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Titel bereits in der Liste!"));
        auto* text = dlg.findChild<QLabel*>("1056");
        QVERIFY(text);
        QCOMPARE(text->text(), kMessage);
        QVERIFY(text->wordWrap());
        QCOMPARE(text->focusPolicy() & Qt::TabFocus, 0);
    }

    void eachButtonGivesItsAnswer_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("answer");
        QTest::newRow("1055") << 1055 << QStringLiteral("JA, hinzufügen") << DUP_ADD;
        QTest::newRow("3") << 3 << QStringLiteral("JA, ersetzen") << DUP_REPLACE;
        QTest::newRow("7") << 7 << QStringLiteral("NEIN") << DUP_SKIP;
        QTest::newRow("5") << 5 << QStringLiteral("JA, alle hinzufügen") << DUP_ADD_ALL;
        QTest::newRow("6") << 6 << QStringLiteral("JA, alle ersetzen") << DUP_REPLACE_ALL;
        QTest::newRow("2") << 2 << QStringLiteral("Abbrechen") << DUP_CANCEL;
    }

    void eachButtonGivesItsAnswer()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(int, answer);
        CDuplicateDlg dlg(kMessage);
        QPushButton* pressed = button(dlg, id);
        QVERIFY(pressed);
        QCOMPARE(pressed->text(), text);
        QCOMPARE(execWhile(dlg, [pressed] { QTest::mouseClick(pressed, Qt::LeftButton); }), answer);
    }

    void escapeAndCloseBoxCancel()
    {
        CDuplicateDlg dlg(kMessage);
        QCOMPARE(execWhile(dlg, [&dlg] { QTest::keyClick(dlg.focusWidget(), Qt::Key_Escape); }), DUP_CANCEL);
        QCOMPARE(execWhile(dlg, [&dlg] { dlg.close(); }), DUP_CANCEL);
    }

    void noButtonIsTheDefault()
    {
        CDuplicateDlg dlg(kMessage);
        showActive(dlg);
        for (auto* each : dlg.findChildren<QPushButton*>()) {
            QVERIFY(!each->isDefault());
            QVERIFY(!each->autoDefault());
        }
        dlg.findChild<QLabel*>("1056")->setFocus();
        QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
        QVERIFY(dlg.isVisible());
    }

    void aClickIntoTheMessageLeavesEnterWithTheButton()
    {
        CDuplicateDlg dlg(kMessage);
        // Ends the dialog when Enter did not.
        QTimer::singleShot(3000, &dlg, [&dlg] { dlg.done(0); });
        const int result = execWhile(dlg, [&dlg] {
            QTest::mouseClick(dlg.findChild<QLabel*>("1056"), Qt::LeftButton, {}, QPoint(5, 5));
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(result, DUP_ADD);
    }

    void tabWalksTheButtonsInOrder()
    {
        CDuplicateDlg dlg(kMessage);
        showActive(dlg);
        QCOMPARE(QApplication::focusWidget(), button(dlg, 1055));
        QStringList visited;
        for (int step = 0; step < 6; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, QStringList({"2", "3", "7", "5", "6", "1055"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), button(dlg, 6));
    }

    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::newRow("first button, Return") << 0 << int(Qt::Key_Return) << DUP_ADD;
        QTest::newRow("Abbrechen, Return") << 1 << int(Qt::Key_Return) << DUP_CANCEL;
        QTest::newRow("JA, ersetzen, Enter") << 2 << int(Qt::Key_Enter) << DUP_REPLACE;
        QTest::newRow("NEIN, Return") << 3 << int(Qt::Key_Return) << DUP_SKIP;
        QTest::newRow("JA, alle hinzufügen, Enter") << 4 << int(Qt::Key_Enter) << DUP_ADD_ALL;
        QTest::newRow("JA, alle ersetzen, Return") << 5 << int(Qt::Key_Return) << DUP_REPLACE_ALL;
    }

    void enterPressesTheFocusedButton()
    {
        QFETCH(int, tabs);
        QFETCH(int, key);
        QFETCH(int, answer);
        CDuplicateDlg dlg(kMessage);
        const int result = execWhile(dlg, [&dlg, tabs, key] {
            for (int step = 0; step < tabs; ++step)
                QTest::keyClick(dlg.focusWidget(), Qt::Key_Tab);
            QTest::keyClick(dlg.focusWidget(), Qt::Key(key));
        });
        QCOMPARE(result, answer);
    }
};

}  // namespace dialogtest

int runDuplicateDlgTests(int argc, char** argv)
{
    dialogtest::DuplicateDlgTest suite;
    return QTest::qExec(&suite, argc, argv);
}

#include "duplicate_dlg_test.moc"
